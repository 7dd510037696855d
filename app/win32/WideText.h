#pragma once
// The one pair of conversions between the core's UTF-8 and the W APIs' UTF-16, on top of the
// conversion between any code page and UTF-16 that the settings file's ANSI text also uses.

#include <string>
#include <string_view>

namespace ambrel::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// Bytes in the given Windows code page (CP_ACP, CP_UTF8, 932) to UTF-16 and back.
std::wstring toUtf16(unsigned codePage, std::string_view bytes);
std::string fromUtf16(unsigned codePage, std::wstring_view utf16);

} // namespace ambrel::win32
