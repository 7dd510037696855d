#pragma once
// Child controls of the program's windows, placed by their layout in twips.

#include "app/win32/Twips.h"

#include <windows.h>

namespace ambrel::win32 {

struct ChildControl {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    TwipsRect at; // in the parent's client area
    int id;
    HFONT font;
};

HWND createControl(HWND parent, const ChildControl& child, int dpi);

} // namespace ambrel::win32
