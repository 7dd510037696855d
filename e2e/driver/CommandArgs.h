// A command's arguments: positional values and --options, and their conversions to numbers
// and windows, each failing the command with a message that names what was wrong.
#pragma once

#include "Commands.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ambrel::e2e {

// Another process may be stuck in a modal loop or busy; a hung target must fail the
// command, not freeze the whole test session. The deadlines are a quiet machine's, scaled by
// the slowness that the harness measured and passed on (`slowness FACTOR`).
void setSlowness(double factor);
double slowness();
// 3 s of a quiet machine for a sent message to be answered.
UINT sendTimeoutMs();

class ArgReader {
public:
    explicit ArgReader(const Args& args);
    const std::wstring& at(size_t i, const char* what) const;
    size_t count() const { return positional_.size(); }
    std::optional<std::wstring> option(const wchar_t* name) const;
    bool flag(const wchar_t* name) const { return options_.count(name) != 0; }

private:
    std::vector<std::wstring> positional_;
    std::map<std::wstring, std::wstring> options_;
};

long long number(const std::wstring& text, const char* what);
int intArg(const std::wstring& text, const char* what);
// A window handle given as a number; the window must exist.
HWND windowArg(const std::wstring& text);
// A handle as the JSON lines give it: a plain number.
long long handleNumber(const void* handle);

} // namespace ambrel::e2e
