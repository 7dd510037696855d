#pragma once
// What the clock bar's core needs of the platform window: its labels, tooltip, image buttons,
// position and timer. Positions are in twips; the platform converts with the real dpi.

#include "app/ZOrder.h"

#include <cstdint>
#include <string>

namespace ambrel {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(Rgb a, Rgb b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

enum class ImageButton { Exit, Options };

class ClockView : public ZOrderedWindow {
public:
    // Left and top edge of the window in twips (float, like the mouse positions).
    virtual float left() const = 0;
    virtual float top() const = 0;
    // Moves the window; its size stays as designed.
    virtual void moveTo(float leftTwips, float topTwips) = 0;

    // The main text and the second text share one colour. Setting a value equal to the
    // current one must not repaint anything.
    virtual void setTextColor(Rgb color) = 0;
    virtual void setMainText(const std::string& text) = 0;
    virtual void setSecondText(const std::string& text) = 0;
    virtual void setTooltip(const std::string& text) = 0; // the display's tooltip

    // Top edge of an image button in twips: 0 raised, 300 pressed (moved out of sight).
    virtual void setImageTop(ImageButton button, int topTwips) = 0;

    // Starts the tick timer (100 ms); ticks arrive as ClockForm::onTick.
    virtual void startTimer() = 0;
    virtual void show() = 0;
};

} // namespace ambrel
