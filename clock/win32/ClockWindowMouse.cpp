// The clock bar's mouse: presses and releases on the display (dragging, the double-click) and on
// the two image buttons, with the mouse captured from press to release.

#include "app/win32/Twips.h"
#include "clock/win32/ClockWindow.h"

#include <windowsx.h>

namespace ambrel::win32 {

bool ClockWindow::onMouseMessage(UINT message, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    // Only the left button double-clicks; a quick second press of another is a press.
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        onMouseDown(x, y);
        return true;
    case WM_LBUTTONDBLCLK:
        onDoubleClick(x, y);
        return true;
    case WM_MOUSEMOVE:
        onMouseMove(x, y);
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        onMouseUp(x, y);
        return true;
    case WM_CAPTURECHANGED:
        onCaptureLost();
        return true;
    default:
        return false;
    }
}

ClockWindow::Part ClockWindow::partAt(int x, int y) const {
    // The display lies above the labels; the image buttons lie beside it.
    const POINT point{x, y};
    const RECT options = imageRect(ImageButton::Options);
    const RECT exit = imageRect(ImageButton::Exit);
    if (PtInRect(&displayRect_, point)) {
        return Part::Display;
    }
    if (PtInRect(&options, point)) {
        return Part::OptionsButton;
    }
    if (PtInRect(&exit, point)) {
        return Part::ExitButton;
    }
    return Part::None;
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
    pressedAt_ = {x, y};
    notifyForm(pressed_, Press::Down, x, y);
}

void ClockWindow::onMouseMove(int x, int y) {
    if (pressed_ == Part::Display) {
        form_.onDisplayMouseMove(pixelsToTwips(x - displayRect_.left, screenDpi()),
                                 pixelsToTwips(y - displayRect_.top, screenDpi()));
    }
}

void ClockWindow::onMouseUp(int x, int y) {
    const Part released = pressed_;
    pressed_ = Part::None;
    if (GetCapture() == handle()) {
        ReleaseCapture();
    }
    notifyForm(released, Press::Up, x, y);
}

void ClockWindow::notifyForm(Part part, Press press, int x, int y) {
    const bool down = press == Press::Down;
    // The mouse's way is measured as the window's moves are: on the desktop, whose twips are
    // the system's whatever the monitor, so that the grabbed point stays under the pointer.
    const float xTwips = pixelsToTwips(x - displayRect_.left, screenDpi());
    const float yTwips = pixelsToTwips(y - displayRect_.top, screenDpi());
    switch (part) {
    case Part::Display:
        down ? form_.onDisplayMouseDown(xTwips, yTwips) : form_.onDisplayMouseUp(xTwips, yTwips);
        break;
    case Part::OptionsButton:
        down ? form_.onOptionsButtonDown() : form_.onOptionsButtonUp();
        break;
    case Part::ExitButton:
        down ? form_.onExitButtonDown() : form_.onExitButtonUp();
        break;
    case Part::None:
        break;
    }
}

void ClockWindow::onDoubleClick(int x, int y) {
    if (PtInRect(&displayRect_, POINT{x, y})) {
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
    if (lost == Part::ExitButton) {
        setImageTop(ImageButton::Exit, 0); // a release there would ask the exit question
    } else {
        notifyForm(lost, Press::Up, displayRect_.left, displayRect_.top);
    }
}

} // namespace ambrel::win32
