#include "Artwork.h"

#include "clock/BarLayout.h"
#include "clock/ClassicPalette.h"

#include <algorithm>

namespace ambrel::resgen {

namespace {

constexpr int kBarWidth = bar::pixelsAt96Dpi(bar::kWidthTwips);
constexpr int kBarHeight = bar::pixelsAt96Dpi(bar::kHeightTwips);
constexpr int kButtonWidth = bar::pixelsAt96Dpi(bar::kButtonWidthTwips);
constexpr int kEdge = 2; // width of the raised bevels of bar and buttons

// Where the image buttons lie on the bar.
constexpr int kOptionsButtonX = bar::pixelsAt96Dpi(bar::kOptionsButtonLeftTwips);
constexpr int kExitButtonX = bar::pixelsAt96Dpi(bar::kExitButtonLeftTwips);

// Glyph top-left corners inside a raised button; the flat copy sits one pixel lower and right.
constexpr int kOptionsGlyphX = 5, kOptionsGlyphY = 4;
constexpr int kExitGlyphX = 4, kExitGlyphY = 5;

// Raised bevel of `edge` pixels inside the rectangle: light along the top and left, dark along
// the bottom and right. Where the two meet (top-right and bottom-left corners) the dark side
// wins on the diagonal and below it, as in the classic 3-D look.
void raisedBevel(IndexedImage& img, int left, int top, int right, int bottom, int edge,
                 Colour light, Colour dark) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const int nearLight = std::min(x - left, y - top);
            const int nearDark = std::min(right - x, bottom - y);
            if (nearLight >= edge && nearDark >= edge)
                continue;
            img.set(x, y, nearLight < nearDark ? light : dark);
        }
    }
}

// One-pixel sunken frame: black top and left, grey right and bottom (the corners as above).
void sunkenPanel(IndexedImage& img, int left, int top, int right, int bottom) {
    raisedBevel(img, left, top, right, bottom, 1, Black, Grey);
}

// A green upright rectangle with a dark green rim on its shaded sides: 6 x 10.
void optionsGlyph(IndexedImage& img, int left, int top) {
    constexpr int w = 6, h = 10;
    img.fillRect(left, top, left + w - 1, top + h - 1, Green);
    img.fillRect(left + w - 1, top + 1, left + w - 1, top + h - 1, DarkGreen);
    img.fillRect(left + 1, top + h - 1, left + w - 1, top + h - 1, DarkGreen);
}

// A red X two pixels wide, 8 x 7, symmetric both ways.
void exitGlyph(IndexedImage& img, int left, int top) {
    constexpr int h = 7;
    for (int r = 0; r < h; ++r) {
        img.set(left + r, top + r, Red);
        img.set(left + r + 1, top + r, Red);
        img.set(left + h - 1 - r, top + r, Red);
        img.set(left + h - r, top + r, Red);
    }
}

// A seven-segment digit in a 4 x 7 cell, bright green. At this size the segments run into each
// other at the corners; open corners would make the 1 a dotted line.
void sevenSegmentDigit(IndexedImage& img, int left, int top, int digit) {
    // Segments a (top) clockwise to f, then g (middle), as bits 0..6.
    static const unsigned kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                           0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const unsigned on = kSegments[digit];
    const int right = left + 3, middle = top + 3, bottom = top + 6;
    if (on & 0x01)
        img.fillRect(left, top, right, top, Green);
    if (on & 0x02)
        img.fillRect(right, top, right, middle, Green);
    if (on & 0x04)
        img.fillRect(right, middle, right, bottom, Green);
    if (on & 0x08)
        img.fillRect(left, bottom, right, bottom, Green);
    if (on & 0x10)
        img.fillRect(left, middle, left, bottom, Green);
    if (on & 0x20)
        img.fillRect(left, top, left, middle, Green);
    if (on & 0x40)
        img.fillRect(left, middle, right, middle, Green);
}

IndexedImage raisedButton() {
    IndexedImage img(kButtonWidth, kBarHeight, barPalette(), Face);
    raisedBevel(img, 0, 0, kButtonWidth - 1, kBarHeight - 1, kEdge, Grey, Black);
    return img;
}

} // namespace

std::vector<Rgb> classicPalette() {
    std::vector<Rgb> palette;
    for (const PaletteEntry& entry : kClassicPalette) {
        palette.push_back({entry.red, entry.green, entry.blue});
    }
    return palette;
}

std::vector<Rgb> barPalette() {
    std::vector<Rgb> palette = classicPalette();
    palette.push_back({64, 64, 64});
    return palette;
}

IndexedImage drawClockBackground() {
    IndexedImage img(kBarWidth, kBarHeight, barPalette(), Face);
    raisedBevel(img, 0, 0, kBarWidth - 1, kBarHeight - 1, kEdge, Grey, Black);
    const int faceTop = kEdge, faceBottom = kBarHeight - 1 - kEdge;

    // Left end: the options cell (x 2..14) and its black divider.
    optionsGlyph(img, kOptionsButtonX + kOptionsGlyphX + 1, kOptionsGlyphY + 1);
    img.fillRect(15, faceTop, 15, faceBottom, Black);

    // The two panels behind the main and the second text.
    sunkenPanel(img, 18, 3, 80, 15);
    sunkenPanel(img, 83, 3, 121, 15);

    // Right end: grey divider and the exit cell (x 125..137).
    img.fillRect(124, faceTop, 124, faceBottom, Grey);
    exitGlyph(img, kExitButtonX + kExitGlyphX + 1, kExitGlyphY + 1);
    return img;
}

IndexedImage drawOptionsButton() {
    IndexedImage img = raisedButton();
    optionsGlyph(img, kOptionsGlyphX, kOptionsGlyphY);
    return img;
}

IndexedImage drawExitButton() {
    IndexedImage img = raisedButton();
    exitGlyph(img, kExitGlyphX, kExitGlyphY);
    return img;
}

IndexedImage drawIcon() {
    IndexedImage img(32, 32, classicPalette(), White);

    // The big window fills the icon: title bar on top, shaded right and bottom edge.
    img.fillRect(0, 0, 30, 3, Blue);
    img.fillRect(31, 0, 31, 31, Grey);
    img.fillRect(0, 31, 31, 31, Grey);

    // The digital display in front of the window's upper half, casting a shadow down and right.
    constexpr int left = 2, top = 5, right = 26, bottom = 15;
    img.fillRect(left + 1, bottom + 1, right + 1, bottom + 1, Black);
    img.fillRect(right + 1, top + 1, right + 1, bottom + 1, Black);
    img.fillRect(left, top, right, bottom, LightGrey);
    img.fillRect(left + 1, top + 1, right - 1, bottom - 1, Grey);
    const int digitTop = top + 2;
    sevenSegmentDigit(img, left + 2, digitTop, 1);
    sevenSegmentDigit(img, left + 7, digitTop, 0);
    img.set(left + 12, digitTop + 2, Green);
    img.set(left + 12, digitTop + 4, Green);
    sevenSegmentDigit(img, left + 14, digitTop, 2);
    sevenSegmentDigit(img, left + 19, digitTop, 8);

    // The small window below, with lines of text.
    constexpr int wl = 4, wt = 18, wr = 21, wb = 29;
    img.fillRect(wl, wt, wr, wb, Grey);
    img.fillRect(wl + 1, wt + 1, wr - 1, wb - 1, White);
    img.fillRect(wl + 1, wt + 1, wr - 1, wt + 2, Blue);
    img.fillRect(wl + 2, wt + 5, wr - 3, wt + 5, Grey);
    img.fillRect(wl + 2, wt + 7, wr - 2, wt + 7, Grey);
    img.fillRect(wl + 2, wt + 9, wr - 6, wt + 9, Grey);
    return img;
}

std::vector<ResourceFile> renderResourceFiles() {
    return {
        {"clock_background.bmp", encodeBmp8(drawClockBackground())},
        {"options_button.bmp", encodeBmp8(drawOptionsButton())},
        {"exit_button.bmp", encodeBmp8(drawExitButton())},
        {"ambrel.ico", encodeIcon4(drawIcon())},
    };
}

} // namespace ambrel::resgen
