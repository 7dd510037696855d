#include "clock/win32/BitmapGrid.h"

#include "app/RuntimeError.h"
#include "app/win32/Window.h"

namespace ambrel::win32 {

namespace {

// 32 bits per pixel, top row first: the layout of a PixelGrid.
BITMAPINFO topDownFormat(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

} // namespace

PixelGrid loadBitmapGrid(int resourceId) {
    const Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(resourceId),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap.get(), sizeof info, &info) == 0) {
        throw RuntimeError(kOutOfMemory);
    }
    PixelGrid grid(info.bmWidth, info.bmHeight);
    BITMAPINFO format = topDownFormat(grid.width(), grid.height());
    WindowDc screen(nullptr);
    GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(grid.height()), grid.pixels().data(),
              &format, DIB_RGB_COLORS);
    return grid;
}

Bitmap toBitmap(const PixelGrid& grid) {
    WindowDc screen(nullptr);
    Bitmap bitmap(CreateCompatibleBitmap(screen.get(), grid.width(), grid.height()));
    if (bitmap == nullptr) {
        throw RuntimeError(kOutOfMemory);
    }
    const BITMAPINFO format = topDownFormat(grid.width(), grid.height());
    SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(grid.height()), grid.pixels().data(),
              &format, DIB_RGB_COLORS);
    return bitmap;
}

} // namespace ambrel::win32
