#include "app/win32/Controls.h"

#include "app/win32/Window.h"

namespace ambrel::win32 {

HWND createControl(HWND parent, const ControlSpec& spec, int dpi) {
    const RECT r = toPixels(spec.at, dpi);
    HWND control = CreateWindowExW(spec.exStyle, spec.className, spec.text,
                                   WS_CHILD | WS_VISIBLE | spec.style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                   instance(), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(spec.font), FALSE);
    return control;
}

} // namespace ambrel::win32
