#pragma once
// The classic 16-colour palette that textColorIndex selects from.

#include "clock/ClockView.h"

namespace ambrel {

// The colour for index 0-15; RuntimeError(5) for any other index, which only a hand-edited
// settings file can hold.
Rgb paletteColor(int index);

} // namespace ambrel
