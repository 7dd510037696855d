#include "app/win32/Twips.h"

namespace ambrel::win32 {

int screenDpi() {
    // Read once: the program is declared dpi aware and lays itself out for the dpi it starts at.
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

} // namespace ambrel::win32
