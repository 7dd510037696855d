#pragma once
// The clock bar's size and the place of its image buttons, in twips as the layout gives them.
// The window scales them to the screen's dpi; the artwork is drawn at 96 dpi, one pixel to 15
// twips, and the end-to-end tests aim at the buttons by them. Plain numbers, so that the test
// harness can read them from this header.

namespace ambrel::bar {

inline constexpr int kWidthTwips = 2100;
inline constexpr int kHeightTwips = 270;
// Both image buttons span the bar's height, one at each end.
inline constexpr int kButtonWidthTwips = 240;
inline constexpr int kOptionsButtonLeftTwips = 0;
inline constexpr int kExitButtonLeftTwips = 1860;
static_assert(kExitButtonLeftTwips + kButtonWidthTwips == kWidthTwips,
              "the exit button ends the bar");

inline constexpr int kTwipsPerPixelAt96Dpi = 15;

constexpr int pixelsAt96Dpi(int twips) {
    return twips / kTwipsPerPixelAt96Dpi;
}

static_assert(kWidthTwips % kTwipsPerPixelAt96Dpi == 0 &&
                  kHeightTwips % kTwipsPerPixelAt96Dpi == 0 &&
                  kButtonWidthTwips % kTwipsPerPixelAt96Dpi == 0,
              "the artwork's pixels fall on whole twips");

} // namespace ambrel::bar
