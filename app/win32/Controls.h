#pragma once
// Child controls of the program's windows, placed by their layout in twips.

#include "app/win32/Twips.h"

#include <windows.h>

#include <optional>

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
// Puts a control at its layout's place for `dpi` and gives it `font`, when its window comes to a
// monitor of another dpi.
void placeControl(HWND control, const TwipsRect& at, HFONT font, int dpi);

struct ScrollSteps {
    int arrow; // a click on an arrow
    int page;  // a click beside the thumb
    int min;
    int max;
};

// Moves a scroll bar's thumb where its notification `code` asks, within min to max: by a step,
// to the track position while it is dragged, or to an end. Returns the new position, or nothing
// when the thumb stays where it was.
std::optional<int> moveScrollThumb(HWND bar, int code, const ScrollSteps& steps);

// The class of a label that its parent draws, as an SS_OWNERDRAW static: each paint comes to the
// parent as WM_DRAWITEM, a new text repaints it, and the mouse goes through it to the parent.
// It is the program's own class because the manifest redirects the system's STATIC to comctl32,
// whose loading would hold up the first window that has a label.
const wchar_t* ownerDrawnLabelClass();

} // namespace ambrel::win32
