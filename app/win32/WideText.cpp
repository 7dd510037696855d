#include "app/win32/WideText.h"

#include <windows.h>

namespace ambrel::win32 {

std::wstring toUtf16(unsigned codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    // The first call measures, the second converts.
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, result.data(), length);
    return result;
}

std::string fromUtf16(unsigned codePage, std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(codePage, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, utf16.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::wstring widen(std::string_view utf8) {
    return toUtf16(CP_UTF8, utf8);
}

std::string narrow(std::wstring_view utf16) {
    return fromUtf16(CP_UTF8, utf16);
}

} // namespace ambrel::win32
