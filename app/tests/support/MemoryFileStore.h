#pragma once
// A FileStore in memory, for tests: files are a map from name to bytes, and failures of reading
// or replacing can be switched on to check what the callers do with them.

#include "app/Platform.h"
#include "app/RuntimeError.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ambrel {

class MemoryFileStore : public FileStore {
public:
    std::map<std::string, std::string> files;
    // When set, every read throws RuntimeError with this number (75 in the real store).
    std::optional<int> readError;
    // When set, every replace throws RuntimeError with this number and changes nothing, as the
    // real store's atomic replace leaves the old file.
    std::optional<int> replaceError;
    // Only this file fails, when not empty; all others work.
    std::string failingName;
    // While it answers true, every replace finds the file held by another program.
    std::function<bool()> held;
    std::string folderPath = "C:\\Ambrel";

    int readCount = 0;
    int replaceCount = 0;

    std::optional<std::string> read(const std::string& name) override {
        ++readCount;
        if (readError && fails(name)) {
            throw RuntimeError(*readError);
        }
        const auto found = files.find(name);
        if (found == files.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    void replace(const std::string& name, std::string_view bytes) override {
        ++replaceCount;
        if (held && held()) {
            throw FileHeld();
        }
        if (replaceError && fails(name)) {
            throw RuntimeError(*replaceError);
        }
        files[name] = std::string(bytes);
    }

    std::string pathOf(const std::string& name) const override { return folderPath + "\\" + name; }

private:
    bool fails(const std::string& name) const { return failingName.empty() || failingName == name; }
};

} // namespace ambrel
