// The test driver's commands. Each one takes its arguments (already split, without the
// command's own name), prints zero or more JSON lines through `out` and throws
// CommandError when it cannot do what was asked.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ambrel::e2e {

class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Args = std::vector<std::wstring>;
using Output = std::function<void(const std::string& jsonLine)>;

// Runs one command by name; returns false when the name is unknown.
bool runCommand(const std::wstring& name, const Args& args, const Output& out);

// The usage text, one command a line.
const char* usage();

} // namespace ambrel::e2e
