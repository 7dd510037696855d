#include "app/win32/Controls.h"

#include "app/RuntimeError.h"
#include "app/win32/Window.h"

#include <algorithm>

namespace ambrel::win32 {

std::optional<int> moveScrollThumb(HWND bar, int code, const ScrollSteps& steps) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(bar, SB_CTL, &info);
    int value = info.nPos;
    switch (code) {
    case SB_LINELEFT:
        value -= steps.arrow;
        break;
    case SB_LINERIGHT:
        value += steps.arrow;
        break;
    case SB_PAGELEFT:
        value -= steps.page;
        break;
    case SB_PAGERIGHT:
        value += steps.page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The 32-bit track position rather than the message's 16-bit one.
        value = info.nTrackPos;
        break;
    case SB_LEFT:
        value = steps.min;
        break;
    case SB_RIGHT:
        value = steps.max;
        break;
    default: // SB_ENDSCROLL
        return std::nullopt;
    }
    value = std::clamp(value, steps.min, steps.max);
    if (value == info.nPos) {
        return std::nullopt;
    }
    info.fMask = SIF_POS;
    info.nPos = value;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    return value;
}

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

void placeControl(HWND control, const TwipsRect& at, HFONT font, int dpi) {
    const RECT r = toPixels(at, dpi);
    // Nothing of the old picture is kept: it is of the old size and font.
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

namespace {

LRESULT CALLBACK ownerDrawnLabelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND:
        return 1; // the parent's drawing covers the label
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, FALSE);
        return result;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(label));
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = label;
        item.hDC = BeginPaint(label, &ps);
        GetClientRect(label, &item.rcItem);
        SendMessageW(GetParent(label), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        EndPaint(label, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(label, message, wParam, lParam);
    }
}

} // namespace

const wchar_t* ownerDrawnLabelClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW label{};
        label.cbSize = sizeof label;
        label.lpfnWndProc = &ownerDrawnLabelProcedure;
        label.hInstance = instance();
        label.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        label.lpszClassName = L"AmbrelOwnerDrawnLabel";
        RegisterClassExW(&label);
        return label.lpszClassName;
    }();
    return name;
}

} // namespace ambrel::win32
