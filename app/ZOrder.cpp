#include "app/ZOrder.h"

#include "app/Settings.h"

namespace ambrel {

void applyClockZOrder(const Settings& settings, ZOrderedWindow& clockWindow) {
    clockWindow.setTopmost(settings.alwaysOnTop.isOn());
}

void applyNotificationTopmost(ZOrderedWindow& noticeWindow) {
    noticeWindow.setTopmost(true);
}

} // namespace ambrel
