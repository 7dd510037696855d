#pragma once
// A tooltip over parts of one window, with a text for each part (tool).
//
// The tip is no child of the window and has no owner: wine keeps a window whose owned popups are
// topmost out of the topmost group itself. So the object owns it and destroys it when it goes.

#include "app/win32/Handles.h"

#include <string>

namespace ambrel::win32 {

class Tooltip {
public:
    // Loads comctl32 if it is not loaded yet; a tip that cannot be made is error 7.
    explicit Tooltip(HWND window);

    void addTool(UINT_PTR id, const RECT& part, const std::wstring& text);
    void setText(UINT_PTR id, const std::wstring& text);
    // The part of the window that the tool covers, when the window's layout changes.
    void setPart(UINT_PTR id, const RECT& part);
    // Longer texts are wrapped.
    void setMaxWidth(int pixels);

private:
    HWND window_;
    CreatedWindow tip_;
};

} // namespace ambrel::win32
