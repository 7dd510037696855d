#include "clock/win32/ClockWindow.h"

#include "app/Messages.h"
#include "app/win32/Controls.h"
#include "app/win32/Fonts.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"
#include "clock/BarLayout.h"
#include "clock/DisplayText.h"
#include "clock/win32/BitmapGrid.h"
#include "clock/win32/ClockWindowIds.h"
#include "resources/resource.h"

namespace ambrel::win32 {

namespace {

constexpr int kClientWidth = bar::kWidthTwips;
constexpr int kClientHeight = bar::kHeightTwips;
constexpr TwipsRect kDisplay{300, 0, 1500, 255};
constexpr TwipsRect kMainText{220, 60, 1020, 165};
constexpr TwipsRect kSecondText{1230, 60, 645, 165};
constexpr TwipsRect kOptionsButton{bar::kOptionsButtonLeftTwips, 0, bar::kButtonWidthTwips,
                                   kClientHeight};
constexpr TwipsRect kExitButton{bar::kExitButtonLeftTwips, 0, bar::kButtonWidthTwips,
                                kClientHeight};
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 100;
// Posted by WM_CREATE: the tooltip is made once the bar is on screen.
constexpr UINT kCreateTooltipMessage = WM_APP + 1;

// A bitmap resource at the window's dpi, its edges kept even.
Bitmap loadScaledBitmap(int id, SIZE size) {
    return toBitmap(scaleKeepingLines(loadBitmapGrid(id), size.cx, size.cy));
}

void blit(HDC dc, HBITMAP bitmap, const RECT& target) {
    MemoryDc source(CreateCompatibleDC(dc));
    ScopedSelect select(source.get(), bitmap);
    BitBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
           source.get(), 0, 0, SRCCOPY);
}

SIZE sizeOf(const RECT& r) {
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

ClockWindow::ClockWindow(ClockForm& form, std::function<void()> close)
    : form_(form), close_(std::move(close)) {
    create(AMBREL_CLOCK_CLASS, CS_DBLCLKS, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, L"Ambrel",
           nullptr, nullptr);
}

void ClockWindow::onCreate() {
    // The labels are transparent to the mouse, so the display area that lies over
    // them receives the clicks and drags.
    auto makeLabel = [this](int id, const std::string& text) {
        return createControl(
            handle(), {ownerDrawnLabelClass(), widen(text).c_str(), 0, 0, {}, id, nullptr}, dpi());
    };
    secondLabel_ = makeLabel(IDC_CLOCK_SECOND_TEXT, secondText_);
    mainLabel_ = makeLabel(IDC_CLOCK_MAIN_TEXT, mainText_);
    tooltipText_ = widen(kHintText);
    layOut();

    // A tooltip needs comctl32, whose loading would hold up the showing of the bar by a third
    // of its start-up; no tip can show before the mouse has rested on the bar, so it is made
    // right after the bar appears. The post goes before the first tick, which may rewrite it.
    PostMessageW(handle(), kCreateTooltipMessage, 0, 0);
}

void ClockWindow::layOut() {
    // Scaled to the window's dpi here, once for each dpi; painting only copies them.
    background_ = scaledBackground();
    optionsButton_ = loadScaledBitmap(IDB_OPTIONS_BUTTON, sizeOf(toPixels(kOptionsButton, dpi())));
    exitButton_ = loadScaledBitmap(IDB_EXIT_BUTTON, sizeOf(toPixels(kExitButton, dpi())));
    Font font = createJapaneseFont(kProportionalGothic, 9, FW_BOLD, dpi());
    setClientSize(kClientWidth, kClientHeight);
    placeControl(secondLabel_, kSecondText, font.get(), dpi());
    placeControl(mainLabel_, kMainText, font.get(), dpi());
    labelFont_ = std::move(font); // the labels have let go of the old one
    displayRect_ = toPixels(kDisplay, dpi());
    if (tooltip_) {
        tooltip_->setPart(IDT_CLOCK_DISPLAY, displayRect_);
        tooltip_->setPart(IDT_CLOCK_OPTIONS_BUTTON, toPixels(kOptionsButton, dpi()));
        tooltip_->setPart(IDT_CLOCK_EXIT_BUTTON, toPixels(kExitButton, dpi()));
    }
    InvalidateRect(handle(), nullptr, FALSE);
}

void ClockWindow::onDpiChanged(WPARAM wParam, LPARAM lParam) {
    const int before = dpi();
    followDpiChange(wParam, lParam);
    if (pressed_ == Part::Display) {
        // A drag that takes the bar to a monitor of another scale goes on holding the same point
        // of the bar, which has grown or shrunk around it.
        pressedAt_ = {MulDiv(pressedAt_.x, dpi(), before), MulDiv(pressedAt_.y, dpi(), before)};
        notifyForm(Part::Display, Press::Down, pressedAt_.x, pressedAt_.y);
    }
}

void ClockWindow::createTooltip() {
    tooltip_.emplace(handle());
    tooltip_->addTool(IDT_CLOCK_DISPLAY, displayRect_, tooltipText_);
    tooltip_->addTool(IDT_CLOCK_OPTIONS_BUTTON, toPixels(kOptionsButton, dpi()),
                      widen("オプションダイアログの表示"));
    tooltip_->addTool(IDT_CLOCK_EXIT_BUTTON, toPixels(kExitButton, dpi()), widen(kExitTitle));
    // Long enough for the alarm and countdown pieces on one line.
    tooltip_->setMaxWidth(1000);
}

float ClockWindow::left() const {
    RECT r{};
    GetWindowRect(handle(), &r);
    return pixelsToTwips(r.left, screenDpi());
}

float ClockWindow::top() const {
    RECT r{};
    GetWindowRect(handle(), &r);
    return pixelsToTwips(r.top, screenDpi());
}

void ClockWindow::moveTo(float leftTwips, float topTwips) {
    moveToTwips(leftTwips, topTwips);
}

void ClockWindow::setTopmost(bool topmost) {
    setTopmostGroup(topmost);
}

void ClockWindow::setTextColor(Rgb color) {
    const COLORREF colour = RGB(color.red, color.green, color.blue);
    if (colour == labelColor_) {
        return;
    }
    labelColor_ = colour;
    InvalidateRect(mainLabel_, nullptr, FALSE);
    InvalidateRect(secondLabel_, nullptr, FALSE);
}

void ClockWindow::setLabelText(HWND label, std::string& current, const std::string& text) {
    if (text == current) {
        return;
    }
    current = text;
    SetWindowTextW(label, widen(text).c_str());
}

void ClockWindow::setMainText(const std::string& text) {
    setLabelText(mainLabel_, mainText_, text);
}

void ClockWindow::setSecondText(const std::string& text) {
    setLabelText(secondLabel_, secondText_, text);
}

void ClockWindow::setTooltip(const std::string& text) {
    std::wstring wide = widen(text);
    if (wide == tooltipText_) {
        return;
    }
    tooltipText_ = std::move(wide);
    if (tooltip_) { // else it is made with the latest text
        tooltip_->setText(IDT_CLOCK_DISPLAY, tooltipText_);
    }
}

void ClockWindow::setImageTop(ImageButton button, int topTwips) {
    int& top = button == ImageButton::Exit ? exitButtonTop_ : optionsButtonTop_;
    if (top == topTwips) {
        return;
    }
    const RECT before = imageRect(button);
    top = topTwips;
    const RECT after = imageRect(button);
    InvalidateRect(handle(), &before, FALSE);
    InvalidateRect(handle(), &after, FALSE);
}

void ClockWindow::startTimer() {
    SetTimer(handle(), kTickTimer, kTickMilliseconds, nullptr);
}

void ClockWindow::show() {
    followMonitorDpi();
    showInGroup();
    UpdateWindow(handle());
}

RECT ClockWindow::imageRect(ImageButton button) const {
    TwipsRect layout = button == ImageButton::Exit ? kExitButton : kOptionsButton;
    layout.top = button == ImageButton::Exit ? exitButtonTop_ : optionsButtonTop_;
    return toPixels(layout, dpi());
}

LRESULT ClockWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case kCreateTooltipMessage:
        createTooltip();
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimer) {
            form_.onTick();
        }
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting covers every pixel
    case WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        close_();
        return 0;
    case WM_DISPLAYCHANGE:
        form_.onDisplayChange();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(wParam, lParam);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // the settings are saved when the session really ends
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            form_.onSessionEnd(); // does not return
        }
        return 0;
    default:
        // The mouse has a dispatch of its own (ClockWindowMouse.cpp).
        return onMouseMessage(message, lParam) ? 0 : defaultHandling(message, wParam, lParam);
    }
}

void ClockWindow::onPaint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(handle(), &ps);
    RECT client{};
    GetClientRect(handle(), &client);
    // Drawn off screen first, so that a pressed button never flickers through the background.
    MemoryDc buffer(CreateCompatibleDC(dc));
    Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
    {
        ScopedSelect select(buffer.get(), canvas.get());
        paint(buffer.get());
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.get(), ps.rcPaint.left, ps.rcPaint.top,
               SRCCOPY);
    }
    EndPaint(handle(), &ps);
}

Bitmap ClockWindow::scaledBackground() const {
    // The background is scaled in three bands, so that its ends stay under the image buttons
    // whatever the scale does between them. It is made for 96 dpi, one pixel per 15 twips.
    const int left = kOptionsButton.left + kOptionsButton.width;
    const TwipsRect middle{left, 0, kExitButton.left - left, kClientHeight};
    const RECT source = toPixels(middle, 96);
    const RECT target = toPixels(middle, dpi());
    const RECT client = toPixels({0, 0, kClientWidth, kClientHeight}, dpi());
    const PixelGrid original = loadBitmapGrid(IDB_CLOCK_BACKGROUND);
    return toBitmap(
        scaleBandsKeepingLines(original, {0, source.left, source.right, original.width()},
                               {0, target.left, target.right, client.right}, client.bottom));
}

void ClockWindow::paint(HDC dc) const {
    blit(dc, background_.get(), toPixels({0, 0, kClientWidth, kClientHeight}, dpi()));
    blit(dc, optionsButton_.get(), imageRect(ImageButton::Options));
    blit(dc, exitButton_.get(), imageRect(ImageButton::Exit));
}

void ClockWindow::onDrawItem(const DRAWITEMSTRUCT& item) {
    RECT bounds{};
    GetWindowRect(item.hwndItem, &bounds);
    MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&bounds), 2);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    // The label shows the bar behind it, then its text: drawn together off screen, so that a
    // changing text never leaves the old one behind.
    MemoryDc buffer(CreateCompatibleDC(item.hDC));
    Bitmap canvas(CreateCompatibleBitmap(item.hDC, width, height));
    {
        ScopedSelect select(buffer.get(), canvas.get());
        SetViewportOrgEx(buffer.get(), -bounds.left, -bounds.top, nullptr);
        paint(buffer.get());
        drawLabel(buffer.get(), item.hwndItem, bounds);
        SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
        BitBlt(item.hDC, 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
    }
}

void ClockWindow::drawLabel(HDC dc, HWND label, const RECT& bounds) const {
    const std::wstring text = widen(label == mainLabel_ ? mainText_ : secondText_);
    ScopedSelect font(dc, labelFont_.get());
    SetBkMode(dc, TRANSPARENT);
    // Black until the first tick colours it, as the layout has it for the second text.
    SetTextColor(dc, label == secondLabel_ && secondText_.empty() ? RGB(0, 0, 0) : labelColor_);
    RECT r = bounds;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace ambrel::win32
