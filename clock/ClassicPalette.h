#pragma once
// The sixteen colours that textColorIndex selects from, as red, green and blue bytes. Plain data
// without other includes, so that the program and the artwork generator share one table.

#include <array>
#include <cstdint>

namespace ambrel {

struct PaletteEntry {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr std::array<PaletteEntry, 16> kClassicPalette{{
    {0, 0, 0},       // black
    {0, 0, 128},     // dark blue
    {0, 128, 0},     // dark green
    {0, 128, 128},   // dark cyan
    {128, 0, 0},     // dark red
    {128, 0, 128},   // dark magenta
    {128, 128, 0},   // dark yellow
    {192, 192, 192}, // light grey
    {128, 128, 128}, // grey
    {0, 0, 255},     // blue
    {0, 255, 0},     // green
    {0, 255, 255},   // cyan
    {255, 0, 0},     // red
    {255, 0, 255},   // magenta
    {255, 255, 0},   // yellow
    {255, 255, 255}, // white
}};

} // namespace ambrel
