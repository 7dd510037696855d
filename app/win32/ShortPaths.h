#pragma once
// The short (8.3) names of files, for the names that the ANSI code page cannot hold: the short
// form is plain ASCII wherever the file system makes one.

#include "app/Platform.h"

#include <optional>
#include <string>

namespace ambrel::win32 {

// nullopt when the file system gives no short form (or the file does not exist).
std::optional<std::wstring> shortPathOf(const std::wstring& path);

class ShortPaths : public FileNames {
public:
    std::optional<std::string> shortPathOf(const std::string& path) const override;
};

} // namespace ambrel::win32
