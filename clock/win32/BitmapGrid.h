#pragma once
// The clock's bitmaps to and from the portable pixel grid that the scaling rule works on.

#include "app/win32/Handles.h"
#include "clock/BitmapScaling.h"

namespace ambrel::win32 {

// A bitmap resource of the executable, one packed 0x00RRGGBB value per pixel.
PixelGrid loadBitmapGrid(int resourceId);

// A bitmap for the screen that shows `grid`.
Bitmap toBitmap(const PixelGrid& grid);

} // namespace ambrel::win32
