#include "clock/Palette.h"

#include "app/RuntimeError.h"
#include "clock/ClassicPalette.h"

namespace ambrel {

Rgb paletteColor(int index) {
    if (index < 0 || index >= static_cast<int>(kClassicPalette.size())) {
        throw RuntimeError(kInvalidArgument);
    }
    const PaletteEntry& entry = kClassicPalette[static_cast<size_t>(index)];
    return {entry.red, entry.green, entry.blue};
}

} // namespace ambrel
