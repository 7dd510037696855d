#pragma once
// A colour option of the options dialog: a radio button whose caption, a black square, is drawn
// in its colour. A themed radio button draws its caption in the theme's colour whatever
// WM_CTLCOLORSTATIC says, so the dialog paints the swatches itself, themed or not, and they
// look the same either way.

#include <windows.h>

namespace ambrel::win32 {

// The whole button into `bounds`, in the state that custom drawing reports (`itemState`).
void paintSwatch(HDC dc, HWND button, const RECT& bounds, UINT itemState, COLORREF colour, int dpi);

} // namespace ambrel::win32
