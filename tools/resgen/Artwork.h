#pragma once
// The clock window's pictures and the program icon, drawn pixel by pixel.
//
// The two button images and the flat cells of the background share their glyph positions, so
// that hiding a button (its pressed look) uncovers the same glyph one pixel lower and to the right.

#include "IndexedImage.h"

#include <string>
#include <vector>

namespace ambrel::resgen {

// Palette indexes: the sixteen classic colours in the order of the clock's text colour table,
// then the bar's face colour, which only the 256-colour bitmaps carry.
enum Colour : std::uint8_t {
    Black,
    DarkBlue,
    DarkGreen,
    DarkCyan,
    DarkRed,
    DarkMagenta,
    DarkYellow,
    LightGrey,
    Grey,
    Blue,
    Green,
    Cyan,
    Red,
    Magenta,
    Yellow,
    White,
    Face, // RGB(64, 64, 64)
};

std::vector<Rgb> classicPalette(); // the sixteen colours
std::vector<Rgb> barPalette();     // the sixteen colours and Face

IndexedImage drawClockBackground(); // 140 x 18
IndexedImage drawOptionsButton();   // 16 x 18, over bar x 0..15
IndexedImage drawExitButton();      // 16 x 18, over bar x 124..139
IndexedImage drawIcon();            // 32 x 32, sixteen colours

struct ResourceFile {
    std::string name; // file name inside resources/
    std::vector<std::uint8_t> bytes;
};

// Every generated file, encoded as it is committed.
std::vector<ResourceFile> renderResourceFiles();

} // namespace ambrel::resgen
