#include "clock/Palette.h"

#include "app/RuntimeError.h"

#include <array>

namespace ambrel {

namespace {

constexpr std::array<Rgb, 16> kPalette{{
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

} // namespace

Rgb paletteColor(int index) {
    if (index < 0 || index >= static_cast<int>(kPalette.size())) {
        throw RuntimeError(kInvalidArgument);
    }
    return kPalette[index];
}

} // namespace ambrel
