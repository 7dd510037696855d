#include "options/win32/ColorSwatch.h"

#include "app/win32/Handles.h"
#include "app/win32/LateLibraries.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

namespace ambrel::win32 {

void paintSwatch(HDC dc, HWND button, const RECT& bounds, UINT itemState, COLORREF colour,
                 int dpi) {
    const bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool disabled = !IsWindowEnabled(button);
    const bool pressed = (itemState & CDIS_SELECTED) != 0 ||
                         (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool hot = (itemState & CDIS_HOT) != 0;
    HTHEME theme = late::GetWindowTheme(button);

    const int themeState = (checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL) +
                           (disabled  ? RBS_UNCHECKEDDISABLED - RBS_UNCHECKEDNORMAL
                            : pressed ? RBS_UNCHECKEDPRESSED - RBS_UNCHECKEDNORMAL
                            : hot     ? RBS_UNCHECKEDHOT - RBS_UNCHECKEDNORMAL
                                      : 0);
    SIZE glyph{MulDiv(13, dpi, 96), MulDiv(13, dpi, 96)};
    if (theme != nullptr) {
        RECT area = bounds; // the declaration wants a writable rectangle
        late::DrawThemeParentBackground(button, dc, &area);
        late::GetThemePartSize(theme, dc, BP_RADIOBUTTON, themeState, nullptr, TS_DRAW, &glyph);
    } else {
        FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
    }
    RECT glyphRect{bounds.left, bounds.top + (bounds.bottom - bounds.top - glyph.cy) / 2,
                   bounds.left + glyph.cx, 0};
    glyphRect.bottom = glyphRect.top + glyph.cy;
    if (theme != nullptr) {
        late::DrawThemeBackground(theme, dc, BP_RADIOBUTTON, themeState, &glyphRect, nullptr);
    } else {
        DrawFrameControl(dc, &glyphRect, DFC_BUTTON,
                         DFCS_BUTTONRADIO | (checked ? DFCS_CHECKED : 0) |
                             (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
    }

    wchar_t caption[8] = L"";
    GetWindowTextW(button, caption, 8);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    ScopedSelect selectFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : colour);
    RECT textRect{glyphRect.right + MulDiv(4, dpi, 96), bounds.top, bounds.right, bounds.bottom};
    constexpr UINT kTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    DrawTextW(dc, caption, -1, &textRect, kTextFormat);

    const bool focusHidden = (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if ((itemState & CDIS_FOCUS) != 0 && !focusHidden) {
        RECT extent = textRect;
        DrawTextW(dc, caption, -1, &extent, kTextFormat | DT_CALCRECT);
        const int textHeight = extent.bottom - extent.top;
        RECT focus{textRect.left - 1,
                   textRect.top + (textRect.bottom - textRect.top - textHeight) / 2,
                   std::min(extent.right + 1, bounds.right), 0};
        focus.bottom = std::min<LONG>(focus.top + textHeight, bounds.bottom);
        focus.top = std::max<LONG>(focus.top, bounds.top);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace ambrel::win32
