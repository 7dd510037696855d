#include "app/win32/SystemCodePage.h"

#include "app/win32/WideText.h"

#include <windows.h>

namespace ambrel::win32 {

std::string SystemCodePage::toUtf8(std::string_view ansi) const {
    if (ansi.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return narrow(wide);
}

std::string SystemCodePage::fromUtf8(std::string_view utf8) const {
    const std::wstring wide = widen(utf8);
    if (wide.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}

} // namespace ambrel::win32
