#include "options/win32/OptionsWindow.h"

#include "app/win32/Controls.h"
#include "app/win32/FatalError.h"
#include "app/win32/Fonts.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"
#include "options/ScrollRanges.h"
#include "options/win32/ColorSwatch.h"
#include "options/win32/OptionsControlIds.h"
#include "options/win32/OptionsControlMap.h"
#include "options/win32/OptionsLayout.h"
#include "resources/version.h"

#include <imm.h>

#include <algorithm>
#include <array>
#include <optional>
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

int textId(OptionsText box) {
    return controlId(kTextBoxes, box);
}
int checkId(OptionsCheck box) {
    return controlId(kCheckBoxes, box);
}
int scrollId(OptionsScroll bar) {
    return controlId(kScrollBars, bar);
}
int commandId(OptionsCommand button) {
    return controlId(kCommandButtons, button);
}

bool isDigitBox(int id) {
    const std::optional<OptionsText> box = partWithId(kTextBoxes, id);
    return box && std::find(kDigitBoxes.begin(), kDigitBoxes.end(), *box) != kDigitBoxes.end();
}

// Colour options count from 1, the swatches' rows from 0.
int optionOfSwatch(std::size_t swatch) {
    return static_cast<int>(swatch) + 1;
}
std::size_t swatchOfOption(int option) {
    return static_cast<std::size_t>(option - 1);
}
static_assert(kSwatchIds.size() == kSwatchColors.size());

bool isReturnOrEscape(const MSG& key) {
    return (key.message == WM_KEYDOWN || key.message == WM_CHAR) &&
           (key.wParam == VK_RETURN || key.wParam == VK_ESCAPE);
}

} // namespace

OptionsWindow::OptionsWindow(OptionsForm& form) : form_(form) {
    ensureCommonControls();
    // Created hidden: the clock's tick may create the dialog only to reach one of its controls.
    createDialog(AMBREL_OPTIONS_CLASS, kStyle, kExStyle, widen(AMBREL_PRODUCT_NAME).c_str());
}

void OptionsWindow::onCreate() {
    for (const ControlLayout& layout : optionsControls()) {
        const WindowKind kind = windowKind(layout.kind);
        HWND control =
            createControl(handle(),
                          {kind.className, layout.caption, kind.style | layout.extraStyle,
                           kind.exStyle, layout.at, layout.id, nullptr},
                          dpi());
        if (layout.spokenName != nullptr) {
            spokenNames_.name(control, layout.spokenName);
        }
        if (isDigitBox(layout.id)) {
            // What the input method composes is put into the box by the edit control itself,
            // past the digit filter; Japanese number fields have it switched off.
            ImmAssociateContextEx(control, nullptr, 0);
            late::SetWindowSubclass(control, &OptionsWindow::digitBoxProcedure,
                                    static_cast<UINT_PTR>(layout.id),
                                    reinterpret_cast<DWORD_PTR>(this));
        }
    }

    static_assert(kScrollBars.size() == kInitialPositions.size());
    for (std::size_t bar = 0; bar < kScrollBars.size(); ++bar) {
        const ScrollRange range = scrollRange(kScrollBars[bar].part);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        // No page size: the thumb keeps its fixed size and the bar reaches its maximum.
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = range.min;
        info.nMax = range.max;
        info.nPos = kInitialPositions[bar];
        SetScrollInfo(control(kScrollBars[bar].id), SB_CTL, &info, FALSE);
    }
    updateSwatchTabStops();

    layOut();
    // Centred on the work area, and laid out at the dpi of the monitor that holds it there.
    centreOnWorkArea();
    followMonitorDpi();
    centreOnWorkArea();
}

// The controls without a font of their own take the dialog's, which is the Japanese system's
// usual dialog font; the stock GUI font may lack Japanese glyphs outside Japan.
void OptionsWindow::layOut() {
    FontSet<OptionsFont> fonts({{kProportionalGothic, 9.75, FW_NORMAL},
                                {kProportionalGothic, 11.25, FW_NORMAL},
                                {kProportionalGothic, 9, FW_NORMAL}},
                               dpi());
    setClientSize(kClientWidth, kClientHeight);
    for (const ControlLayout& layout : optionsControls()) {
        placeControl(control(layout.id), layout.at, fonts[layout.font], dpi());
        if (isDigitBox(layout.id)) {
            // A Japanese font brings wide margins, which leave the narrow number boxes room for
            // one digit only; a new font brings them again.
            SendMessageW(control(layout.id), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        }
    }
    fonts_ = std::move(fonts); // the controls have let go of the old ones
}

void OptionsWindow::centreOnWorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer{};
    GetWindowRect(handle(), &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    for (std::size_t i = 0; i < kSwatchIds.size(); ++i) {
        SendMessageW(control(kSwatchIds[i]), BM_SETCHECK,
                     optionOfSwatch(i) == option ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    updateSwatchTabStops();
}

int OptionsWindow::selectedColorOption() const {
    for (std::size_t i = 0; i < kSwatchIds.size(); ++i) {
        if (SendMessageW(control(kSwatchIds[i]), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            return optionOfSwatch(i);
        }
    }
    return 0;
}

void OptionsWindow::show() {
    ShowWindow(handle(), IsIconic(handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(handle());
}

int OptionsWindow::colorOptionOf(HWND control) const {
    if (GetParent(control) != handle()) {
        return 0;
    }
    const auto swatch = std::find(kSwatchIds.begin(), kSwatchIds.end(), GetDlgCtrlID(control));
    return swatch == kSwatchIds.end()
               ? 0
               : optionOfSwatch(static_cast<std::size_t>(swatch - kSwatchIds.begin()));
}

void OptionsWindow::updateSwatchTabStops() {
    const int selected = selectedColorOption();
    for (std::size_t i = 0; i < kSwatchIds.size(); ++i) {
        HWND swatch = control(kSwatchIds[i]);
        const LONG_PTR style = GetWindowLongPtrW(swatch, GWL_STYLE);
        const bool tabStop = optionOfSwatch(i) == (selected == 0 ? 1 : selected);
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
    case IDC_OPTIONS_OK:
        form_.requestClose(); // may destroy this window
        return;
    case IDC_OPTIONS_BROWSE:
        form_.onBrowseClick();
        return;
    case IDC_OPTIONS_TEST:
        form_.onTestClick();
        return;
    case IDC_OPTIONS_HELP:
        form_.onHelpClick();
        return;
    case IDC_OPTIONS_START:
        form_.onStartClick();
        return;
    case IDC_OPTIONS_STOP:
        form_.onStopClick();
        return;
    case IDC_OPTIONS_COLOR_GREEN:
    case IDC_OPTIONS_COLOR_CYAN:
    case IDC_OPTIONS_COLOR_MAGENTA:
    case IDC_OPTIONS_COLOR_YELLOW:
        // A click on the swatch that is already selected changes nothing.
        if (SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
            updateSwatchTabStops();
            form_.onColorOptionClick(colorOptionOf(control(id)));
        }
        return;
    default:
        return;
    }
}

void OptionsWindow::onHorizontalScroll(HWND bar, int code) {
    const std::optional<OptionsScroll> part =
        bar == nullptr ? std::nullopt : partWithId(kScrollBars, GetDlgCtrlID(bar));
    if (!part) {
        return;
    }
    const OptionsScroll which = *part;
    const ScrollRange range = scrollRange(which);
    const int pageStep = kPageSteps[static_cast<std::size_t>(which)];
    const std::optional<int> value =
        moveScrollThumb(bar, code, {kArrowStep, pageStep, range.min, range.max});
    if (value) {
        form_.onScrollChange(which, *value);
    }
}

LRESULT OptionsWindow::onControlColor(UINT message, HDC dc, HWND control) {
    if (const int option = colorOptionOf(control)) {
        // Where the swatch is not custom drawn (classic look without common controls 6), the
        // caption's text colour is the swatch.
        SetTextColor(dc, kSwatchColors[swatchOfOption(option)]);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return defaultHandling(message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control));
}

LRESULT OptionsWindow::onSwatchCustomDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage != CDDS_PREPAINT) {
        return CDRF_DODEFAULT;
    }
    paintSwatch(draw.hdc, draw.hdr.hwndFrom, draw.rc, draw.uItemState,
                kSwatchColors[swatchOfOption(colorOptionOf(draw.hdr.hwndFrom))], dpi());
    return CDRF_SKIPDEFAULT;
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
        const OptionsText boxName = *partWithId(kTextBoxes, static_cast<int>(id));
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
    case WM_DPICHANGED:
        followDpiChange(wParam, lParam);
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
