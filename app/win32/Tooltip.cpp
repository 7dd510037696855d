#include "app/win32/Tooltip.h"

#include "app/win32/LateLibraries.h"
#include "app/win32/Window.h"

#include <commctrl.h>

namespace ambrel::win32 {

namespace {

TTTOOLINFOW toolInfo(HWND window, UINT_PTR id, const std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = id;
    // The tip copies the text.
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

} // namespace

Tooltip::Tooltip(HWND window) : window_(window) {
    ensureCommonControls();
    tip_ = createSystemWindow(WS_EX_TOPMOST, TOOLTIPS_CLASSW, WS_POPUP | TTS_ALWAYSTIP);
}

void Tooltip::addTool(UINT_PTR id, const RECT& part, const std::wstring& text) {
    TTTOOLINFOW tool = toolInfo(window_, id, text);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = part;
    SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::setText(UINT_PTR id, const std::wstring& text) {
    TTTOOLINFOW tool = toolInfo(window_, id, text);
    SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::setPart(UINT_PTR id, const RECT& part) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = id;
    tool.rect = part;
    SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltip::setMaxWidth(int pixels) {
    SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, pixels);
}

} // namespace ambrel::win32
