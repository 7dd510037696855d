#pragma once
// The clock bar's behaviour: the 100 ms tick with its display texts and tooltip, the alarm and
// countdown watch that the tick runs, the format switch, dragging and the two image buttons.

#include "clock/ClockView.h"

#include <cstdint>

namespace ambrel {

class Program;

class ClockForm {
public:
    explicit ClockForm(Program& program) : program_(program) {}
    ClockForm(const ClockForm&) = delete;
    ClockForm& operator=(const ClockForm&) = delete;

    // Timer1: every 100 ms.
    void onTick();

    // Label2: the display.
    void onLabel2DblClick();
    void onLabel2MouseDown(float x, float y);
    void onLabel2MouseMove(float x, float y);
    void onLabel2MouseUp(float x, float y);

    // Image2: the options button; Image1: the exit button.
    void onImage2MouseDown();
    void onImage2MouseUp();
    void onImage1MouseDown();
    void onImage1MouseUp();

    // The Windows session ends (log-off, shut-down): saved as on closing, ended without a box.
    void onSessionEnd();

private:
    Program& program_;
    int16_t dragActive_ = 0;
    float dragStartX_ = 0;
    float dragStartY_ = 0;
    bool failing_ = false; // a failure report is open; later ticks must not act
};

} // namespace ambrel
