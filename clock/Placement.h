#pragma once
// Where the clock bar may stand: the desktop that all monitors make together, and the rule that
// brings back a bar that no monitor would ever show again. The bar has no title bar, no
// task-bar button and no Alt+Tab entry, so a bar left far off every monitor could only be
// found again by editing the settings file.

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

// The smallest rectangle that holds every monitor (the virtual screen); the primary monitor's
// (0, 0, width, height) when the platform names none.
TwipsArea desktopOf(const std::vector<TwipsArea>& monitors, double primaryWidth,
                    double primaryHeight);
TwipsArea desktopOf(const Screen& screen);

// True when the bar at (left, top) lies far off the desktop: its left edge more than 2000 twips
// beyond the desktop's right edge, its top more than 600 below the bottom, or, for a bar lost to
// the left or above (a monitor unplugged since), its right edge more than 2000 twips left of
// the desktop's left edge or its bottom more than 600 above the desktop's top. A bar merely
// partly off the desktop stays where it is.
bool isLost(double left, double top, const TwipsArea& desktop);

} // namespace ambrel
