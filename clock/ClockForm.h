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

    // The tick timer: every 100 ms.
    void onTick();

    // The display: the area over the two texts.
    void onDisplayDoubleClick();
    void onDisplayMouseDown(float x, float y);
    void onDisplayMouseMove(float x, float y);
    void onDisplayMouseUp(float x, float y);

    void onOptionsButtonDown();
    void onOptionsButtonUp();
    void onExitButtonDown();
    void onExitButtonUp();

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
