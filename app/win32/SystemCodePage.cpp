#include "app/win32/SystemCodePage.h"

#include "app/win32/WideText.h"

#include <windows.h>

namespace ambrel::win32 {

std::string SystemCodePage::toUtf8(std::string_view ansi) const {
    return narrow(toUtf16(CP_ACP, ansi));
}

std::string SystemCodePage::fromUtf8(std::string_view utf8) const {
    return fromUtf16(CP_ACP, widen(utf8));
}

bool ansiCodePageHolds(std::wstring_view text) {
    return toUtf16(CP_ACP, fromUtf16(CP_ACP, text)) == text;
}

} // namespace ambrel::win32
