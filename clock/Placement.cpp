#include "clock/Placement.h"

#include <algorithm>

namespace ambrel {

namespace {
// How far the bar may lie off the desktop, in twips, before it counts as lost.
constexpr double kSideMarginTwips = 2000;
constexpr double kVerticalMarginTwips = 600;
} // namespace

TwipsArea desktopOf(const std::vector<TwipsArea>& monitors, double primaryWidth,
                    double primaryHeight) {
    if (monitors.empty()) {
        return {0, 0, primaryWidth, primaryHeight};
    }
    TwipsArea desktop = monitors.front();
    for (const TwipsArea& monitor : monitors) {
        desktop.left = std::min(desktop.left, monitor.left);
        desktop.top = std::min(desktop.top, monitor.top);
        desktop.right = std::max(desktop.right, monitor.right);
        desktop.bottom = std::max(desktop.bottom, monitor.bottom);
    }
    return desktop;
}

TwipsArea desktopOf(const Screen& screen) {
    return desktopOf(screen.monitorsTwips(), screen.widthTwips(), screen.heightTwips());
}

bool isLost(double left, double top, const TwipsArea& desktop) {
    const bool farRight = left > desktop.right + kSideMarginTwips;
    const bool farBelow = top > desktop.bottom + kVerticalMarginTwips;
    const bool farLeft = left + kClockWidthTwips < desktop.left - kSideMarginTwips;
    const bool farAbove = top + kClockHeightTwips < desktop.top - kVerticalMarginTwips;
    return farRight || farBelow || farLeft || farAbove;
}

} // namespace ambrel
