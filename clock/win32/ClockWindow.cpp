#include "clock/win32/ClockWindow.h"

#include "app/Messages.h"
#include "app/RuntimeError.h"
#include "app/win32/Controls.h"
#include "app/win32/Fonts.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/Twips.h"
#include "app/win32/WideText.h"
#include "clock/DisplayText.h"
#include "resources/resource.h"

#include <algorithm>
#include <commctrl.h>
#include <vector>
#include <windowsx.h>

namespace ambrel::win32 {

namespace {

constexpr int kClientWidth = 2100;
constexpr int kClientHeight = 270;
constexpr TwipsRect kDisplay{300, 0, 1500, 255};
constexpr TwipsRect kMainText{220, 60, 1020, 165};
constexpr TwipsRect kSecondText{1230, 60, 645, 165};
constexpr TwipsRect kOptionsButton{0, 0, 240, 270};
constexpr TwipsRect kExitButton{1860, 0, 240, 270};
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 100;
constexpr int kMainTextId = 1;
constexpr int kSecondTextId = 4;
constexpr UINT_PTR kDisplayToolId = 2;
constexpr UINT_PTR kOptionsButtonToolId = 12;
constexpr UINT_PTR kExitButtonToolId = 11;
// Posted by WM_CREATE: the tooltip is made once the bar is on screen.
constexpr UINT kCreateTooltipMessage = WM_APP + 1;

Bitmap loadBitmap(int id) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// Which lines along one axis may take the scale's remainder, given for each whether it repeats
// the line before. Those are the lines of runs of equal lines (the faces), except the first and
// last runs, which are the bar's outer edges; every other line is an edge or a divider.
std::vector<bool> stretchable(const std::vector<bool>& repeats) {
    const int n = static_cast<int>(repeats.size());
    int first = 1;
    while (first < n && repeats[first]) {
        ++first;
    }
    int last = n - 1;
    while (last > 0 && repeats[last]) {
        --last;
    }
    std::vector<bool> flat(repeats.size());
    for (int i = first; i < last; ++i) {
        flat[i] = repeats[i] || repeats[i + 1];
    }
    return flat;
}

// Source pixels for each target pixel along one axis. Scaling every pixel alike by 1.25 or 1.5
// makes some one-pixel lines one pixel wide and others two. So each edge line gets the whole
// part of the scale, the same for all, and the faces take up what is left, spread evenly.
// Rounding the scale up instead would thicken the edges at 1.5 until the panels were too low
// for their text.
std::vector<int> axisMap(const std::vector<bool>& repeats, int target) {
    const std::vector<bool> flat = stretchable(repeats);
    const int n = static_cast<int>(flat.size());
    const int flats = static_cast<int>(std::count(flat.begin(), flat.end(), true));
    const int edge = std::max(1, target / n);
    const int extra = target - edge * (n - flats);
    std::vector<int> map;
    if (flats == 0 || extra < flats) {
        for (int i = 0; i < target; ++i) {
            map.push_back(i * n / target);
        }
        return map;
    }
    for (int i = 0, f = 0; i < n; ++i) {
        const int width = flat[i] ? (f + 1) * extra / flats - f * extra / flats : edge;
        f += flat[i] ? 1 : 0;
        map.insert(map.end(), width, i);
    }
    return map;
}

// Draws the part `source` of a bitmap into `target`; at 96 dpi the two are the same size.
void drawBitmap(HDC dc, HBITMAP bitmap, RECT source, const RECT& target) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) {
        return;
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight; // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * info.bmWidth + x]; };
    const auto sameColumns = [&](int a, int b) {
        for (int y = source.top; y < source.bottom; ++y) {
            if (at(a, y) != at(b, y)) {
                return false;
            }
        }
        return true;
    };
    const auto sameRows = [&](int a, int b) {
        for (int x = source.left; x < source.right; ++x) {
            if (at(x, a) != at(x, b)) {
                return false;
            }
        }
        return true;
    };
    std::vector<bool> repeatedColumns, repeatedRows;
    for (int x = source.left; x < source.right; ++x) {
        repeatedColumns.push_back(x > source.left && sameColumns(x, x - 1));
    }
    for (int y = source.top; y < source.bottom; ++y) {
        repeatedRows.push_back(y > source.top && sameRows(y, y - 1));
    }
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    const std::vector<int> columns = axisMap(repeatedColumns, width);
    const std::vector<int> rows = axisMap(repeatedRows, height);
    std::vector<DWORD> scaled;
    scaled.reserve(static_cast<size_t>(width) * height);
    for (int row : rows) {
        for (int column : columns) {
            scaled.push_back(at(source.left + column, source.top + row));
        }
    }
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    SetDIBitsToDevice(dc, target.left, target.top, width, height, 0, 0, 0, height, scaled.data(),
                      &format, DIB_RGB_COLORS);
}

void drawBitmap(HDC dc, HBITMAP bitmap, const RECT& target) {
    BITMAP info{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof info, &info) != 0) {
        drawBitmap(dc, bitmap, {0, 0, info.bmWidth, info.bmHeight}, target);
    }
}

// A bitmap of `size` with what `draw` paints into it.
template <class Draw> Bitmap renderBitmap(SIZE size, Draw draw) {
    WindowDc screen(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen.get()));
    Bitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        ScopedSelect select(dc.get(), bitmap.get());
        draw(dc.get());
    }
    return bitmap;
}

// A bitmap resource at the screen's dpi, its edges kept even (drawBitmap).
Bitmap loadScaledBitmap(int id, SIZE size) {
    const Bitmap original = loadBitmap(id);
    return renderBitmap(size, [&](HDC dc) {
        drawBitmap(dc, original.get(), {0, 0, size.cx, size.cy});
    });
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

bool contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

ClockWindow::ClockWindow(ClockForm& form, std::function<void()> close)
    : form_(form), close_(std::move(close)), dpi_(screenDpi()) {
    create(L"AmbrelClock", CS_DBLCLKS, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, L"Ambrel",
           nullptr, nullptr);
}

void ClockWindow::onCreate() {
    // Scaled to the screen's dpi once here; painting only copies them.
    background_ = scaledBackground();
    optionsButton_ = loadScaledBitmap(IDB_OPTIONS_BUTTON, sizeOf(toPixels(kOptionsButton, dpi_)));
    exitButton_ = loadScaledBitmap(IDB_EXIT_BUTTON, sizeOf(toPixels(kExitButton, dpi_)));
    labelFont_ = createJapaneseFont(L"ＭＳ Ｐゴシック", 9, FW_BOLD, dpi_);

    setClientSize(kClientWidth, kClientHeight, dpi_);

    // The labels are transparent to the mouse, so the display area that lies over
    // them receives the clicks and drags.
    auto makeLabel = [this](int id, const TwipsRect& layout, const std::string& text) {
        return createControl(
            handle(),
            {ownerDrawnLabelClass(), widen(text).c_str(), 0, 0, layout, id, labelFont_.get()},
            dpi_);
    };
    secondLabel_ = makeLabel(kSecondTextId, kSecondText, secondText_);
    mainLabel_ = makeLabel(kMainTextId, kMainText, mainText_);
    displayRect_ = toPixels(kDisplay, dpi_);
    tooltipText_ = widen(kHintText);

    // A tooltip needs comctl32, whose loading would hold up the showing of the bar by a third
    // of its start-up; no tip can show before the mouse has rested on the bar, so it is made
    // right after the bar appears. The post goes before the first tick, which may rewrite it.
    PostMessageW(handle(), kCreateTooltipMessage, 0, 0);
}

void ClockWindow::createTooltip() {
    ensureCommonControls();
    // Not owned by the bar: wine keeps a window whose owned popups are topmost out of the
    // topmost group itself. The bar destroys it when it goes.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, instance(), nullptr);
    if (tooltip_ == nullptr) {
        throw RuntimeError(kOutOfMemory);
    }
    auto addTool = [this](UINT_PTR id, const RECT& rect, const std::wstring& text) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = handle();
        tool.uId = id;
        tool.rect = rect;
        tool.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    addTool(kDisplayToolId, displayRect_, tooltipText_);
    addTool(kOptionsButtonToolId, toPixels(kOptionsButton, dpi_),
            widen("オプションダイアログの表示"));
    addTool(kExitButtonToolId, toPixels(kExitButton, dpi_), widen(kExitTitle));
    // Long enough for the alarm and countdown pieces on one line.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 1000);
}

float ClockWindow::left() const {
    RECT r{};
    GetWindowRect(handle(), &r);
    return pixelsToTwips(r.left, dpi_);
}

float ClockWindow::top() const {
    RECT r{};
    GetWindowRect(handle(), &r);
    return pixelsToTwips(r.top, dpi_);
}

void ClockWindow::moveTo(float leftTwips, float topTwips) {
    SetWindowPos(handle(), nullptr, twipsToPixels(leftTwips, dpi_), twipsToPixels(topTwips, dpi_),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ClockWindow::setTopmost(bool topmost) {
    topmost_ = topmost;
    // Before the bar shows, the group is given with the showing (show): wine would not move
    // a hidden window between the groups, and the call would cost the start-up some
    // milliseconds for nothing.
    if (IsWindowVisible(handle())) {
        SetWindowPos(handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    }
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
    if (tooltip_ == nullptr) {
        return; // made with the latest text
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = handle();
    tool.uId = kDisplayToolId;
    tool.lpszText = tooltipText_.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
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
    // Wine leaves the z-order group of a window that is not yet visible as it was, so the group
    // chosen during the load is given again with the showing.
    SetWindowPos(handle(), topmost_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(handle());
}

RECT ClockWindow::imageRect(ImageButton button) const {
    TwipsRect layout = button == ImageButton::Exit ? kExitButton : kOptionsButton;
    layout.top = button == ImageButton::Exit ? exitButtonTop_ : optionsButtonTop_;
    return toPixels(layout, dpi_);
}

ClockWindow::Part ClockWindow::partAt(int x, int y) const {
    // The display lies above the labels; the image buttons lie beside it.
    if (contains(displayRect_, x, y)) {
        return Part::Display;
    }
    if (contains(imageRect(ImageButton::Options), x, y)) {
        return Part::OptionsButton;
    }
    if (contains(imageRect(ImageButton::Exit), x, y)) {
        return Part::ExitButton;
    }
    return Part::None;
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
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        onMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        onDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // Only the left button double-clicks; a quick second press of another is a press.
        onMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        onMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        onCaptureLost();
        return 0;
    case WM_CLOSE:
        close_();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // the settings are saved when the session really ends
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            form_.onSessionEnd(); // does not return
        }
        return 0;
    case WM_DESTROY:
        DestroyWindow(tooltip_);
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
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
    const RECT client = toPixels({0, 0, kClientWidth, kClientHeight}, dpi_);
    const Bitmap original = loadBitmap(IDB_CLOCK_BACKGROUND);
    return renderBitmap(sizeOf(client), [&](HDC dc) {
        // The window's own colour lies under the bitmap, which covers it exactly.
        FillRect(dc, &client, windowColor_.get());
        // The background is drawn in three parts, so that its ends stay under the image
        // buttons whatever the scale does between them. It is made for 96 dpi, one pixel per
        // 15 twips.
        const int left = kOptionsButton.left + kOptionsButton.width;
        const RECT middle = toPixels({left, 0, kExitButton.left - left, kClientHeight}, dpi_);
        const RECT source = toPixels({left, 0, kExitButton.left - left, kClientHeight}, 96);
        BITMAP info{};
        GetObjectW(original.get(), sizeof info, &info);
        drawBitmap(dc, original.get(), {0, 0, source.left, info.bmHeight},
                   {client.left, client.top, middle.left, client.bottom});
        drawBitmap(dc, original.get(), source, middle);
        drawBitmap(dc, original.get(), {source.right, 0, info.bmWidth, info.bmHeight},
                   {middle.right, client.top, client.right, client.bottom});
    });
}

void ClockWindow::paint(HDC dc) const {
    blit(dc, background_.get(), toPixels({0, 0, kClientWidth, kClientHeight}, dpi_));
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

void ClockWindow::onMouseDown(int x, int y) {
    if (pressed_ != Part::None) {
        return; // a second button while one is held changes nothing
    }
    pressed_ = partAt(x, y);
    if (pressed_ == Part::None) {
        return;
    }
    SetCapture(handle());
    switch (pressed_) {
    case Part::Display:
        form_.onDisplayMouseDown(pixelsToTwips(x - displayRect_.left, dpi_),
                                 pixelsToTwips(y - displayRect_.top, dpi_));
        break;
    case Part::OptionsButton:
        form_.onOptionsButtonDown();
        break;
    case Part::ExitButton:
        form_.onExitButtonDown();
        break;
    case Part::None:
        break;
    }
}

void ClockWindow::onMouseMove(int x, int y) {
    if (pressed_ == Part::Display) {
        form_.onDisplayMouseMove(pixelsToTwips(x - displayRect_.left, dpi_),
                                 pixelsToTwips(y - displayRect_.top, dpi_));
    }
}

void ClockWindow::onMouseUp(int x, int y) {
    const Part released = pressed_;
    pressed_ = Part::None;
    if (GetCapture() == handle()) {
        ReleaseCapture();
    }
    switch (released) {
    case Part::Display:
        form_.onDisplayMouseUp(pixelsToTwips(x - displayRect_.left, dpi_),
                               pixelsToTwips(y - displayRect_.top, dpi_));
        break;
    case Part::OptionsButton:
        form_.onOptionsButtonUp();
        break;
    case Part::ExitButton:
        form_.onExitButtonUp();
        break;
    case Part::None:
        break;
    }
}

void ClockWindow::onDoubleClick(int x, int y) {
    if (contains(displayRect_, x, y)) {
        form_.onDisplayDoubleClick();
        // The second press of a double-click is no press: the release that follows ends nothing.
        return;
    }
    onMouseDown(x, y);
}

void ClockWindow::onCaptureLost() {
    // Another window took the mouse (a dialog opened by the press): the press is over, but it was
    // not released on the button, so only the look is restored.
    const Part lost = pressed_;
    pressed_ = Part::None;
    if (lost == Part::OptionsButton) {
        form_.onOptionsButtonUp();
    } else if (lost == Part::ExitButton) {
        setImageTop(ImageButton::Exit, 0);
    } else if (lost == Part::Display) {
        form_.onDisplayMouseUp(0, 0);
    }
}

} // namespace ambrel::win32
