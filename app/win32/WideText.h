#pragma once
// The one pair of conversions between the core's UTF-8 and the W APIs' UTF-16.

#include <string>
#include <string_view>

namespace ambrel::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace ambrel::win32
