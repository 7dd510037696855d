#include "notify/win32/NoticeWindow.h"

#include "app/Messages.h"
#include "app/win32/Controls.h"
#include "app/win32/Fonts.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"
#include "notify/NoticeColors.h"
#include "notify/win32/NoticeControlIds.h"

namespace ambrel::win32 {

namespace {

constexpr int kClientWidth = 6075;
constexpr int kClientHeight = 1260;
// Client coordinates of the controls inside the group box (60, 0).
constexpr TwipsRect kGroupBox{60, 0, 5955, 1125};
constexpr TwipsRect kCloseButton{4980, 180, 915, 435};
constexpr TwipsRect kHeadline{240, 300, 4635, 255};
constexpr TwipsRect kMessage{240, 720, 5715, 255};
// No WS_CLIPCHILDREN: the group box paints only its frame, so its inside is the window's to paint.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

Rgb rgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF colorRefOf(const Rgb& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

bool highContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A label's text colour on the face colour, asked anew at each paint, so that a theme chosen
// while the notice is open applies at once.
COLORREF inkOf(const Rgb& layout) {
    return colorRefOf(noticeInk(layout, rgbOf(GetSysColor(COLOR_BTNFACE)),
                                rgbOf(GetSysColor(COLOR_BTNTEXT)), highContrastOn()));
}

} // namespace

NoticeWindow::NoticeWindow(NoticeForm& form) : form_(form) {
    ensureCommonControls();
    // A dialog to the window manager, as the options dialog is: a screen reader announces a
    // dialog's texts when it appears, where it would read only the title and the focused
    // button of a window of any other class. Its default handling paints the background in
    // the face colour and answers for the default button.
    createDialog(AMBREL_NOTICE_CLASS, kStyle, WS_EX_DLGMODALFRAME, widen(kProgramName).c_str());
}

void NoticeWindow::onCreate() {
    auto make = [this](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
        return createControl(handle(), {cls, text, style, 0, {}, id, nullptr}, dpi());
    };
    // Created in tab order: the button is the one control that takes the focus.
    groupBox_ = make(L"BUTTON", L"", BS_GROUPBOX, 0);
    closeButton_ =
        make(L"BUTTON", widen("閉じる").c_str(), BS_DEFPUSHBUTTON | WS_TABSTOP, IDC_NOTICE_CLOSE);
    // One line each, never wrapped: a wrapped line would fall below the label's bottom, where
    // nothing of it shows, while a text wider than its label at a large dpi loses at most what
    // passes the right edge.
    headline_ = make(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, IDC_NOTICE_HEADLINE);
    mainLabel_ = make(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, IDC_NOTICE_MESSAGE);
    layOut();
}

void NoticeWindow::layOut() {
    FontSet<FontKind> fonts({{kGothic, 9, FW_NORMAL},
                             {kProportionalGothic, 9.75, FW_NORMAL},
                             {kProportionalGothic, 9.75, FW_BOLD}},
                            dpi());
    setClientSize(kClientWidth, kClientHeight);
    placeControl(groupBox_, kGroupBox, fonts[FontKind::Frame], dpi());
    placeControl(closeButton_, kCloseButton, fonts[FontKind::Button], dpi());
    placeControl(headline_, kHeadline, fonts[FontKind::Label], dpi());
    placeControl(mainLabel_, kMessage, fonts[FontKind::Label], dpi());
    fonts_ = std::move(fonts); // the controls have let go of the old ones
}

void NoticeWindow::moveTo(float leftTwips, float topTwips) {
    moveToTwips(leftTwips, topTwips);
}

void NoticeWindow::setTopmost(bool topmost) {
    setTopmostGroup(topmost);
}

void NoticeWindow::setHeadline(const std::string& text) {
    SetWindowTextW(headline_, widen(text).c_str());
}

void NoticeWindow::setMessage(const std::string& text) {
    SetWindowTextW(mainLabel_, widen(text).c_str());
}

void NoticeWindow::show() {
    followMonitorDpi();
    showInGroup();
    SetFocus(closeButton_);
}

LRESULT NoticeWindow::onControlColor(HDC dc, HWND control) {
    if (control == headline_) {
        // The headline lies transparently on the group box.
        SetTextColor(dc, inkOf(kHeadlineInk));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    if (control == mainLabel_) {
        SetTextColor(dc, inkOf(kMessageInk));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return defaultHandling(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control));
}

LRESULT NoticeWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DPICHANGED:
        followDpiChange(wParam, lParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        return onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // A theme changed: the labels are drawn again in its colours.
        RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return defaultHandling(message, wParam, lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NOTICE_CLOSE || LOWORD(wParam) == IDCANCEL) {
            form_.onCloseClick(); // destroys this window
        }
        return 0;
    case WM_CLOSE:
        // The close box does what "閉じる" does.
        form_.onCloseClick();
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace ambrel::win32
