#include "options/win32/OptionsWindow.h"

#include "app/win32/Controls.h"
#include "app/win32/FatalError.h"
#include "app/win32/Fonts.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"
#include "options/ScrollRanges.h"
#include "options/win32/OptionsControlIds.h"
#include "resources/version.h"

#include <imm.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <array>
#include <utility>

namespace ambrel::win32 {

namespace {

constexpr int kClientWidth = 5490;
constexpr int kClientHeight = 4695;
// No WS_CLIPCHILDREN: a group box paints only its frame and caption, so the dialog has to paint
// the face inside it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// Its own task-bar button although the clock bar is open: the dialog has no owner.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;

enum class FontKind { Standard, Check2, Default };

enum class Kind { Button, CheckBox, ScrollBar, TextBox, Label, GroupBox, Swatch };

struct ControlLayout {
    int id;
    Kind kind;
    const wchar_t* caption;
    TwipsRect at; // client coordinates, also for the controls inside a group box
    FontKind font;
    DWORD extraStyle = 0;
};

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKind(Kind kind) {
    // Every control starts an arrow-key group but the swatches, which share one.
    constexpr DWORD kGroup = WS_GROUP | WS_TABSTOP;
    switch (kind) {
    case Kind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | kGroup, 0};
    case Kind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | kGroup, 0};
    case Kind::ScrollBar:
        return {L"SCROLLBAR", SBS_HORZ | kGroup, 0};
    case Kind::TextBox:
        return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | kGroup, WS_EX_CLIENTEDGE};
    case Kind::Label:
        // A caption never wraps: "WAVファイルの指定" is as wide as its label, and at 144 dpi
        // and above the rounding of the font makes it a pixel wider, which would push its last
        // character onto a second line below the label's bottom. Unwrapped, it may at most
        // touch the edge.
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 0};
    case Kind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
    case Kind::Swatch:
        // Only the selected swatch is a tab stop (updateSwatchTabStops), so that Tab enters
        // the group at its selection.
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    }
    return {L"STATIC", 0, 0};
}

constexpr FontKind kStd = FontKind::Standard;
constexpr FontKind kDef = FontKind::Default;

// In tab order: the dialog manager walks the controls in the order they were created. Some group
// boxes come before labels they hold, so no control clips its siblings: a label below a group
// box in the z-order would not be drawn at all.
// clang-format off
const ControlLayout kControls[] = {
    {IDC_OPTIONS_COMMAND1, Kind::Button, L"ＯＫ", {3840, 300, 1275, 400}, kStd},
    {IDC_OPTIONS_COMMAND4, Kind::Button, L"ヘルプ", {3840, 720, 1275, 400}, kStd},
    {IDC_OPTIONS_CHECK1, Kind::CheckBox, L"常に手前に表示", {3660, 1320, 1755, 315}, kStd},
    {IDC_OPTIONS_CHECK2, Kind::CheckBox, L"ｱﾗｰﾑON", {1680, 360, 1335, 315}, FontKind::Check2},
    {IDC_OPTIONS_HSCROLL2, Kind::ScrollBar, L"", {960, 720, 2295, 315}, kDef},
    {IDC_OPTIONS_HSCROLL3, Kind::ScrollBar, L"", {960, 1080, 2295, 315}, kDef},
    {IDC_OPTIONS_HSCROLL4, Kind::ScrollBar, L"", {960, 1440, 2295, 315}, kDef},
    {IDC_OPTIONS_TEXT2, Kind::TextBox, L"", {300, 720, 345, 315}, kStd},
    {IDC_OPTIONS_TEXT3, Kind::TextBox, L"", {300, 1080, 345, 315}, kStd},
    {IDC_OPTIONS_TEXT4, Kind::TextBox, L"", {300, 1440, 345, 315}, kStd},
    {IDC_OPTIONS_HSCROLL1, Kind::ScrollBar, L"", {300, 2700, 2175, 255}, kDef},
    {IDC_OPTIONS_TEXT5, Kind::TextBox, L"10", {1680, 2280, 495, 315}, kStd},
    {IDC_OPTIONS_COMMAND5, Kind::Button, L"スタート", {2640, 2280, 975, 340}, kDef},
    {IDC_OPTIONS_COMMAND6, Kind::Button, L"ストップ", {2640, 2630, 975, 340}, kDef, WS_DISABLED},
    {IDC_OPTIONS_OPTION1, Kind::Swatch, L"■", {4020, 2400, 550, 200}, kDef, WS_GROUP},
    {IDC_OPTIONS_OPTION2, Kind::Swatch, L"■", {4680, 2400, 550, 200}, kDef},
    {IDC_OPTIONS_OPTION3, Kind::Swatch, L"■", {4020, 2760, 550, 200}, kDef},
    {IDC_OPTIONS_OPTION4, Kind::Swatch, L"■", {4680, 2760, 550, 200}, kDef},
    {IDC_OPTIONS_TEXT1, Kind::TextBox, L"", {1920, 3300, 2115, 345}, kStd},
    {IDC_OPTIONS_COMMAND2, Kind::Button, L"参照", {4020, 3300, 645, 345}, kDef},
    {IDC_OPTIONS_COMMAND3, Kind::Button, L"ﾃｽﾄ", {4680, 3300, 645, 345}, kDef},
    {IDC_OPTIONS_FRAME2, Kind::GroupBox, L"時計の文字色", {3900, 2040, 1455, 1095}, kStd},
    {IDC_OPTIONS_FRAME4, Kind::GroupBox, L"アラーム", {120, 120, 3315, 1815}, kStd},
    {IDC_OPTIONS_LABEL5, Kind::Label, L"時刻の指定", {300, 420, 1125, 255}, kStd},
    {IDC_OPTIONS_LABEL6, Kind::Label, L"時", {660, 780, 255, 255}, kStd},
    {IDC_OPTIONS_LABEL7, Kind::Label, L"分", {660, 1140, 255, 255}, kStd},
    {IDC_OPTIONS_LABEL8, Kind::Label, L"秒", {660, 1500, 285, 255}, kStd},
    {IDC_OPTIONS_LABEL4, Kind::Label, L"WAVファイルの指定", {180, 3360, 1635, 315}, kStd},
    {IDC_OPTIONS_FRAME3, Kind::GroupBox, L"タイマー", {120, 2040, 3675, 1095}, kStd},
    {IDC_OPTIONS_LABEL9, Kind::Label, L"時間の指定", {300, 2340, 1095, 315}, kStd},
    {IDC_OPTIONS_LABEL11, Kind::Label, L"分", {2220, 2340, 255, 255}, kStd},
    {IDC_OPTIONS_LABEL1, Kind::Label, L"アラームメッセージ", {210, 3860, 1575, 300}, kDef},
    {IDC_OPTIONS_TEXT6, Kind::TextBox, L"", {1800, 3800, 3550, 330}, kDef},
    {IDC_OPTIONS_LABEL2, Kind::Label, L"タイマーメッセージ", {210, 4240, 1575, 300}, kDef},
    {IDC_OPTIONS_TEXT7, Kind::TextBox, L"", {1800, 4180, 3550, 330}, kDef},
};
// clang-format on

// HScroll1..HScroll4: the step of a click beside the thumb, and the position before Load.
constexpr std::array<int, 4> kPageSteps{10, 2, 5, 5};
constexpr std::array<int, 4> kInitialPositions{1, 0, 1, 1};
constexpr int kArrowStep = 1;

// Option1..Option4: green, cyan, magenta and yellow squares.
constexpr std::array<COLORREF, 4> kSwatchColors{RGB(0, 192, 0), RGB(0, 255, 255), RGB(255, 0, 255),
                                                RGB(255, 255, 0)};

int textId(OptionsText box) {
    return IDC_OPTIONS_TEXT1 + static_cast<int>(box);
}
int checkId(OptionsCheck box) {
    return IDC_OPTIONS_CHECK1 + static_cast<int>(box);
}
int scrollId(OptionsScroll bar) {
    return IDC_OPTIONS_HSCROLL1 + static_cast<int>(bar);
}
int commandId(OptionsCommand button) {
    return button == OptionsCommand::Command5 ? IDC_OPTIONS_COMMAND5 : IDC_OPTIONS_COMMAND6;
}

bool isDigitBox(int id) {
    return id >= IDC_OPTIONS_TEXT2 && id <= IDC_OPTIONS_TEXT5;
}

bool isReturnOrEscape(const MSG& key) {
    return (key.message == WM_KEYDOWN || key.message == WM_CHAR) &&
           (key.wParam == VK_RETURN || key.wParam == VK_ESCAPE);
}

} // namespace

OptionsWindow::OptionsWindow(OptionsForm& form) : form_(form), dpi_(screenDpi()) {
    ensureCommonControls();
    // Created hidden: the clock's tick may create the dialog only to reach one of its controls.
    createDialog(L"AmbrelOptions", kStyle, kExStyle, widen(AMBREL_PRODUCT_NAME).c_str());
}

void OptionsWindow::onCreate() {
    standardFont_ = createJapaneseFont(L"ＭＳ Ｐゴシック", 9.75, FW_NORMAL, dpi_);
    check2Font_ = createJapaneseFont(L"ＭＳ Ｐゴシック", 11.25, FW_NORMAL, dpi_);
    // The controls without a font of their own take the dialog's, which is the Japanese
    // system's usual dialog font; the stock GUI font may lack Japanese glyphs outside Japan.
    defaultFont_ = createJapaneseFont(L"ＭＳ Ｐゴシック", 9, FW_NORMAL, dpi_);

    const SIZE outer = setClientSize(kClientWidth, kClientHeight, dpi_);
    const int width = outer.cx;
    const int height = outer.cy;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ControlLayout& layout : kControls) {
        const WindowKind kind = windowKind(layout.kind);
        const HFONT font = layout.font == FontKind::Standard ? standardFont_.get()
                           : layout.font == FontKind::Check2 ? check2Font_.get()
                                                             : defaultFont_.get();
        HWND control =
            createControl(handle(),
                          {kind.className, layout.caption, kind.style | layout.extraStyle,
                           kind.exStyle, layout.at, layout.id, font},
                          dpi_);
        if (isDigitBox(layout.id)) {
            // A Japanese font brings wide margins, which leave the narrow number boxes room for
            // one digit only.
            SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
            // What the input method composes is put into the box by the edit control itself,
            // past the digit filter; Japanese number fields have it switched off.
            ImmAssociateContextEx(control, nullptr, 0);
            late::SetWindowSubclass(control, &OptionsWindow::digitBoxProcedure,
                                    static_cast<UINT_PTR>(layout.id),
                                    reinterpret_cast<DWORD_PTR>(this));
        }
    }

    for (int bar = 0; bar < 4; ++bar) {
        const ScrollRange range = scrollRange(static_cast<OptionsScroll>(bar));
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        // No page size: the thumb keeps its fixed size and the bar reaches its maximum.
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = range.min;
        info.nMax = range.max;
        info.nPos = kInitialPositions[bar];
        SetScrollInfo(control(IDC_OPTIONS_HSCROLL1 + bar), SB_CTL, &info, FALSE);
    }
    updateSwatchTabStops();
}

std::string OptionsWindow::text(OptionsText box) const {
    HWND edit = control(textId(box));
    const int length = GetWindowTextLengthW(edit);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(copied, 0)));
    return narrow(buffer);
}

void OptionsWindow::setText(OptionsText box, const std::string& text) {
    SetWindowTextW(control(textId(box)), widen(text).c_str());
}

bool OptionsWindow::isChecked(OptionsCheck box) const {
    return SendMessageW(control(checkId(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionsWindow::setChecked(OptionsCheck box, bool checked) {
    SendMessageW(control(checkId(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int OptionsWindow::scrollValue(OptionsScroll bar) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    GetScrollInfo(control(scrollId(bar)), SB_CTL, &info);
    return info.nPos;
}

void OptionsWindow::setScrollValue(OptionsScroll bar, int value) {
    const ScrollRange range = scrollRange(bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = std::clamp(value, range.min, range.max);
    SetScrollInfo(control(scrollId(bar)), SB_CTL, &info, TRUE);
}

bool OptionsWindow::isEnabled(OptionsCommand button) const {
    return IsWindowEnabled(control(commandId(button))) != FALSE;
}

void OptionsWindow::setEnabled(OptionsCommand button, bool enabled) {
    HWND target = control(commandId(button));
    EnableWindow(target, enabled ? TRUE : FALSE);
    if (!enabled) {
        return;
    }
    // A disabled control keeps no focus, and the keyboard would go dead: the handlers that
    // disable the focused button of the pair enable the other one next, which takes the focus
    // over. Not by WM_NEXTDLGCTL, which would make it the default button that Return presses.
    if (GetActiveWindow() != handle()) {
        // The dialog manager gives the focus back when the dialog is activated again, but not
        // to a control disabled meanwhile: then this one takes it (WM_SETFOCUS).
        handOver_ = IsWindowVisible(handle()) ? target : nullptr;
        return;
    }
    HWND focus = GetFocus();
    if (focus == nullptr || focus == handle() || !IsWindowEnabled(focus)) {
        SetFocus(target);
    }
}

void OptionsWindow::selectColorOption(int option) {
    for (int i = 1; i <= 4; ++i) {
        SendMessageW(control(IDC_OPTIONS_OPTION1 + i - 1), BM_SETCHECK,
                     i == option ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    updateSwatchTabStops();
}

int OptionsWindow::selectedColorOption() const {
    for (int i = 1; i <= 4; ++i) {
        if (SendMessageW(control(IDC_OPTIONS_OPTION1 + i - 1), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return i;
        }
    }
    return 0;
}

void OptionsWindow::show() {
    ShowWindow(handle(), IsIconic(handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(handle());
}

int OptionsWindow::colorOptionOf(HWND control) const {
    const int id = GetDlgCtrlID(control);
    return GetParent(control) == handle() && id >= IDC_OPTIONS_OPTION1 && id <= IDC_OPTIONS_OPTION4
               ? id - IDC_OPTIONS_OPTION1 + 1
               : 0;
}

void OptionsWindow::updateSwatchTabStops() {
    const int selected = selectedColorOption();
    for (int i = 1; i <= 4; ++i) {
        HWND swatch = control(IDC_OPTIONS_OPTION1 + i - 1);
        const LONG_PTR style = GetWindowLongPtrW(swatch, GWL_STYLE);
        const bool tabStop = i == (selected == 0 ? 1 : selected);
        SetWindowLongPtrW(swatch, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void OptionsWindow::onCommand(int id, int code) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
        // Return and Escape, from the dialog manager: the dialog has no default and no cancel
        // button, so neither closes it. In the number boxes the digit filter drops them.
        return;
    default:
        break;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case IDC_OPTIONS_COMMAND1:
        form_.requestClose(); // may destroy this window
        return;
    case IDC_OPTIONS_COMMAND2:
        form_.onBrowseClick();
        return;
    case IDC_OPTIONS_COMMAND3:
        form_.onTestClick();
        return;
    case IDC_OPTIONS_COMMAND4:
        form_.onHelpClick();
        return;
    case IDC_OPTIONS_COMMAND5:
        form_.onStartClick();
        return;
    case IDC_OPTIONS_COMMAND6:
        form_.onStopClick();
        return;
    case IDC_OPTIONS_OPTION1:
    case IDC_OPTIONS_OPTION2:
    case IDC_OPTIONS_OPTION3:
    case IDC_OPTIONS_OPTION4:
        // A click on the swatch that is already selected changes nothing.
        if (SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            updateSwatchTabStops();
            form_.onColorOptionClick(id - IDC_OPTIONS_OPTION1 + 1);
        }
        return;
    default:
        return;
    }
}

void OptionsWindow::onHorizontalScroll(HWND bar, int code) {
    const int index = GetDlgCtrlID(bar) - IDC_OPTIONS_HSCROLL1;
    if (bar == nullptr || index < 0 || index > 3) {
        return;
    }
    const auto which = static_cast<OptionsScroll>(index);
    const ScrollRange range = scrollRange(which);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(bar, SB_CTL, &info);

    int value = info.nPos;
    switch (code) {
    case SB_LINELEFT:
        value -= kArrowStep;
        break;
    case SB_LINERIGHT:
        value += kArrowStep;
        break;
    case SB_PAGELEFT:
        value -= kPageSteps[index];
        break;
    case SB_PAGERIGHT:
        value += kPageSteps[index];
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The 32-bit track position rather than the message's 16-bit one.
        value = info.nTrackPos;
        break;
    case SB_LEFT:
        value = range.min;
        break;
    case SB_RIGHT:
        value = range.max;
        break;
    default: // SB_ENDSCROLL
        return;
    }
    value = std::clamp(value, range.min, range.max);
    if (value == info.nPos) {
        return;
    }
    info.fMask = SIF_POS;
    info.nPos = value;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    form_.onScrollChange(which, value);
}

LRESULT OptionsWindow::onControlColor(UINT message, HDC dc, HWND control) {
    if (const int option = colorOptionOf(control)) {
        // Where the swatch is not custom drawn (classic look without common controls 6), the
        // caption's text colour is the swatch.
        SetTextColor(dc, kSwatchColors[option - 1]);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return defaultHandling(message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control));
}

LRESULT OptionsWindow::onSwatchCustomDraw(const NMCUSTOMDRAW& draw) {
    // A themed radio button draws its caption in the theme's colour whatever WM_CTLCOLORSTATIC
    // says, so the swatches draw themselves, themed or not, and look the same either way.
    if (draw.dwDrawStage != CDDS_PREPAINT) {
        return CDRF_DODEFAULT;
    }
    paintSwatch(draw.hdc, draw.hdr.hwndFrom, draw.rc, draw.uItemState,
                colorOptionOf(draw.hdr.hwndFrom));
    return CDRF_SKIPDEFAULT;
}

void OptionsWindow::paintSwatch(HDC dc, HWND button, const RECT& bounds, UINT itemState,
                                int option) const {
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
    SIZE glyph{MulDiv(13, dpi_, 96), MulDiv(13, dpi_, 96)};
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
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : kSwatchColors[option - 1]);
    RECT textRect{glyphRect.right + MulDiv(4, dpi_, 96), bounds.top, bounds.right, bounds.bottom};
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

LRESULT CALLBACK OptionsWindow::digitBoxProcedure(HWND box, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Return and Escape go to the box as characters, for the filter to drop, instead of
        // being taken by the dialog manager.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && isReturnOrEscape(*key)) {
            return late::DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
        }
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            return 0; // only their characters count; the edit control does nothing of its own
        }
        break;
    case WM_CHAR:
    case WM_IME_CHAR: { // a character composed in the IME arrives here, one UTF-16 unit each
        auto* window = reinterpret_cast<OptionsWindow*>(self);
        const auto boxName = static_cast<OptionsText>(static_cast<int>(id) - IDC_OPTIONS_TEXT1);
        const LRESULT code = guardedCall(
            [&] { return LRESULT{window->form_.onKeyPress(boxName, static_cast<int>(wParam))}; });
        if (code == 0) {
            return 0;
        }
        wParam = static_cast<WPARAM>(code);
        break;
    }
    case WM_NCDESTROY:
        late::RemoveWindowSubclass(box, &OptionsWindow::digitBoxProcedure, id);
        break;
    default:
        break;
    }
    return late::DefSubclassProc(box, message, wParam, lParam);
}

LRESULT OptionsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam)); // may destroy this window
        return 0;
    case WM_HSCROLL:
        onHorizontalScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.code == NM_CUSTOMDRAW && colorOptionOf(header.hwndFrom) != 0) {
            return onSwatchCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
        }
        return defaultHandling(message, wParam, lParam);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return onControlColor(message, reinterpret_cast<HDC>(wParam),
                              reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            handOver_ = nullptr;
        }
        return defaultHandling(message, wParam, lParam);
    case WM_SETFOCUS:
        // The dialog itself has the focus when the dialog manager could not give it back.
        if (handOver_ != nullptr && IsWindowEnabled(handOver_)) {
            SetFocus(std::exchange(handOver_, nullptr));
            return 0;
        }
        return defaultHandling(message, wParam, lParam);
    case WM_CLOSE:
        // The close box takes the same way as "ＯＫ": the checks may keep the dialog open.
        form_.requestClose(); // may destroy this window
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace ambrel::win32
