#include "clock/Placement.h"

#include <algorithm>

namespace ambrel {

namespace {

// How far the bar may lie off a monitor, in twips, before it counts as lost there.
constexpr double kSideMarginTwips = 2000;
constexpr double kVerticalMarginTwips = 600;

bool isNear(double left, double top, const TwipsArea& monitor) {
    return left <= monitor.right + kSideMarginTwips &&
           top <= monitor.bottom + kVerticalMarginTwips &&
           left + kClockWidthTwips >= monitor.left - kSideMarginTwips &&
           top + kClockHeightTwips >= monitor.top - kVerticalMarginTwips;
}

} // namespace

std::vector<TwipsArea> monitorsOf(const Screen& screen) {
    std::vector<TwipsArea> monitors = screen.monitorsTwips();
    if (monitors.empty()) {
        monitors.push_back({0, 0, screen.widthTwips(), screen.heightTwips()});
    }
    return monitors;
}

bool isLost(double left, double top, const std::vector<TwipsArea>& monitors) {
    return std::none_of(monitors.begin(), monitors.end(),
                        [&](const TwipsArea& monitor) { return isNear(left, top, monitor); });
}

} // namespace ambrel
