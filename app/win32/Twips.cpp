#include "app/win32/Twips.h"

#include "app/win32/LateLibraries.h"

namespace ambrel::win32 {

int screenDpi() {
    // Read once: the system's dpi changes only with a new log-on.
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int windowDpi(HWND window) {
    const UINT dpi = late::GetDpiForWindow(window);
    return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

} // namespace ambrel::win32
