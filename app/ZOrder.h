#pragma once
// Which z-order group a window belongs to: the topmost group or the normal one.

namespace ambrel {

struct Settings;

class ZOrderedWindow {
public:
    virtual ~ZOrderedWindow() = default;
    // Moves the window into the topmost or the normal group, keeping its position and size and
    // activating it (SetWindowPos with SWP_NOMOVE | SWP_NOSIZE and nothing else).
    virtual void setTopmost(bool topmost) = 0;
};

// Topmost exactly when the keep-on-top switch is on; a hand-edited "on" is not.
void applyClockZOrder(const Settings& settings, ZOrderedWindow& clockWindow);
void applyNotificationTopmost(ZOrderedWindow& noticeWindow);

} // namespace ambrel
