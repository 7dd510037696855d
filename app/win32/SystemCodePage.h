#pragma once
// The system's ANSI code page, the one the settings file is kept in.

#include "app/Platform.h"

#include <string_view>

namespace ambrel::win32 {

class SystemCodePage : public AnsiCodePage {
public:
    std::string toUtf8(std::string_view ansi) const override;
    std::string fromUtf8(std::string_view utf8) const override;
};

// True when every character of the text comes back unchanged through the ANSI code page.
bool ansiCodePageHolds(std::wstring_view text);

} // namespace ambrel::win32
