#pragma once
// Layouts are written in twips (1/1440 inch); the screen counts pixels at its real dpi.
//
// Monitors may each have a scale of their own, and then two numbers are at work. A window's
// layout (its size, controls, fonts and bitmaps) follows the dpi of the monitor the window stands
// on, its own. Places on the desktop (a window's position, the monitors, the screen's size, how
// far the mouse has moved) are pixels of one desktop whatever the monitor, and convert through
// the system's dpi alone: so a position saved in twips comes back to the same pixel whichever
// monitor's scale the window had, and on a desktop of one scale twips mean what they always did.

#include <windows.h>

namespace ambrel::win32 {

// The system's dpi (96 unless the user has set larger text), through which places on the
// desktop convert.
int screenDpi();

// The dpi of the monitor that the window stands on; the system's where Windows knows no other.
int windowDpi(HWND window);

inline int twipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
inline int twipsToPixels(float twips, int dpi) {
    // A window dragged or saved far away still lands on a coordinate the system can hold.
    constexpr float kFarthest = 1 << 24;
    float pixels = twips * static_cast<float>(dpi) / 1440.0f;
    pixels = pixels < -kFarthest ? -kFarthest : (pixels > kFarthest ? kFarthest : pixels);
    return static_cast<int>(pixels < 0 ? pixels - 0.5f : pixels + 0.5f);
}
inline float pixelsToTwips(int pixels, int dpi) {
    return static_cast<float>(pixels) * 1440.0f / static_cast<float>(dpi);
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

inline RECT toPixels(const TwipsRect& r, int dpi) {
    // Edges rather than sizes are converted, so that neighbouring controls stay flush.
    return RECT{twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi),
                twipsToPixels(r.left + r.width, dpi), twipsToPixels(r.top + r.height, dpi)};
}

} // namespace ambrel::win32
