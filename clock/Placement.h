#pragma once
// Where the clock bar may stand: on or near one of the monitors, and the rule that brings back a
// bar that no monitor would ever show again. The bar has no title bar, no task-bar button and no
// Alt+Tab entry, so a bar left where no monitor shows it could only be found again by editing the
// settings file.

#include "app/Platform.h"
#include "clock/BarLayout.h"

#include <vector>

namespace ambrel {

class Screen;

// The bar's size as its layout gives it.
inline constexpr double kClockWidthTwips = bar::kWidthTwips;
inline constexpr double kClockHeightTwips = bar::kHeightTwips;
// Where a lost bar is put back: near the primary monitor's top left corner.
inline constexpr int kRecoveredEdgeTwips = 10;

// Every monitor as the system reports them now; the primary screen's (0, 0, width, height) alone
// when the system names none.
std::vector<TwipsArea> monitorsOf(const Screen& screen);

// True when the bar at (left, top) lies far off every monitor. Near a monitor means: its left edge
// at most 2000 twips beyond the monitor's right edge and its top at most 600 below the monitor's
// bottom, and, for a bar lost to the left or above (a monitor unplugged since), its right edge at
// most 2000 twips left of the monitor's left edge and its bottom at most 600 above its top. So a
// bar partly off its monitor stays where it is, while one in the gap beside a smaller monitor,
// which the rectangle around all monitors would still hold, is lost.
bool isLost(double left, double top, const std::vector<TwipsArea>& monitors);

} // namespace ambrel
