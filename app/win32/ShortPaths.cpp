#include "app/win32/ShortPaths.h"

#include "app/win32/WideText.h"

#include <windows.h>

namespace ambrel::win32 {

std::optional<std::wstring> shortPathOf(const std::wstring& path) {
    // The first call tells the length the short form needs, terminator included.
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::nullopt;
    }
    std::wstring shortPath(needed, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (written == 0 || written >= needed) {
        return std::nullopt;
    }
    shortPath.resize(written);
    return shortPath;
}

std::optional<std::string> ShortPaths::shortPathOf(const std::string& path) const {
    const std::optional<std::wstring> shortPath = win32::shortPathOf(widen(path));
    if (!shortPath) {
        return std::nullopt;
    }
    return narrow(*shortPath);
}

} // namespace ambrel::win32
