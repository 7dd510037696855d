#include "help/win32/HelpWindow.h"

#include "app/win32/Controls.h"
#include "app/win32/Fonts.h"
#include "app/win32/Twips.h"
#include "help/win32/HelpWindowIds.h"
#include "resources/resource.h"

#include <string>
#include <string_view>

namespace ambrel::win32 {

namespace {

// The first size, in twips of the client area; the user may make it any other.
constexpr int kClientWidth = 9000;
constexpr int kClientHeight = 7500;
constexpr double kTextPoints = 10.5;
constexpr int kTextMarginPixelsAt96Dpi = 8;

struct HelpText {
    std::wstring_view title;
    const wchar_t* text = L"";
};

// The title and the text that the build keeps in the executable, each ended by a NUL.
HelpText builtInHelp() {
    HRSRC found = FindResourceW(instance(), MAKEINTRESOURCEW(IDR_HELP_TEXT), RT_RCDATA);
    HGLOBAL loaded = found != nullptr ? LoadResource(instance(), found) : nullptr;
    const auto* data =
        static_cast<const wchar_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data == nullptr) {
        return {};
    }
    const std::wstring_view title(data);
    return {title, data + title.size() + 1};
}

} // namespace

HelpWindow::HelpWindow(HelpForm& form) : form_(form) {
    // A window of the dialog manager, so that Escape closes it: a multi-line edit control of a
    // dialog hands Escape to its parent as WM_CLOSE.
    const std::wstring title(builtInHelp().title);
    createDialog(AMBREL_HELP_CLASS, WS_OVERLAPPEDWINDOW, 0, title.c_str());
}

void HelpWindow::onCreate() {
    // Sized by the window's WM_SIZE; no horizontal scroll bar, so the control wraps the lines.
    text_ = createControl(handle(),
                          {L"EDIT", builtInHelp().text,
                           ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                           TwipsRect{0, 0, 0, 0}, IDC_HELP_TEXT, nullptr},
                          dpi());
    layOut();
    // The first size only: the user may make it any other, and a change of monitor scales it.
    setClientSize(kClientWidth, kClientHeight);
    SetFocus(text_);
}

void HelpWindow::layOut() {
    Font font = createJapaneseFont(kProportionalGothic, kTextPoints, FW_NORMAL, dpi());
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font); // the control has let go of the old one
    // A little room between the text and the window's edges, as a page has; set after the font,
    // which brings margins of its own.
    const int margin = MulDiv(kTextMarginPixelsAt96Dpi, dpi(), 96);
    SendMessageW(text_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
}

void HelpWindow::showInFront() {
    followMonitorDpi();
    ShowWindow(handle(), IsIconic(handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(handle());
}

void HelpWindow::onSize(int width, int height) {
    if (text_ != nullptr) {
        MoveWindow(text_, 0, 0, width, height, TRUE);
    }
}

LRESULT HelpWindow::onControlColor(HDC dc, HWND control) {
    if (control != text_) {
        return defaultHandling(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(control));
    }
    // A read-only edit is drawn as a label, on the face colour; this one is a page to read.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

LRESULT HelpWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DPICHANGED:
        followDpiChange(wParam, lParam);
        return 0;
    case WM_SIZE:
        onSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            form_.onClose(); // destroys this window
        }
        return 0;
    case WM_CLOSE:
        form_.onClose();
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace ambrel::win32
