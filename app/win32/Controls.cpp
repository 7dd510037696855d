#include "app/win32/Controls.h"

#include "app/RuntimeError.h"
#include "app/win32/Window.h"

namespace ambrel::win32 {

HWND createControl(HWND parent, const ChildControl& child, int dpi) {
    const RECT r = toPixels(child.at, dpi);
    HWND control = CreateWindowExW(
        child.exStyle, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style, r.left,
        r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance(), nullptr);
    if (control == nullptr) {
        throw RuntimeError(kOutOfMemory); // a window without its controls is of no use
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(child.font), FALSE);
    return control;
}

} // namespace ambrel::win32
