#pragma once
// The clock bar's behaviour: the 100 ms tick with its display texts and tooltip, the alarm and
// countdown watch that the tick runs, the format switch, dragging and the two image buttons.

#include "app/FormSlot.h"
#include "clock/ClockView.h"
#include "clock/Watch.h"

#include <cstdint>

namespace ambrel {

class Clock;
class MessageBoxes;
class ProgramLifetime;

// What the clock bar's behaviour uses besides its own window.
struct ClockNeeds {
    WatchTargets watch; // the settings record, the sound, the options dialog and the notice
    Clock& clock;
    MessageBoxes& messages;
    ProgramLifetime& lifetime; // closing, a failed tick and the session's end end the program
};

class ClockForm {
public:
    ClockForm(ClockNeeds needs, FormSlot<ClockView>& window) : needs_(needs), window_(window) {}
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

    // The window is asked to close from outside (the task list, another program): as after the
    // exit button's confirmation, the settings are saved and the program ends.
    void onCloseRequest();
    // The Windows session ends (log-off, shut-down): saved as on closing, ended without a box.
    void onSessionEnd();

private:
    ClockNeeds needs_;
    FormSlot<ClockView>& window_;
    bool dragging_ = false;
    float dragStartX_ = 0;
    float dragStartY_ = 0;
    bool failing_ = false; // a failure report is open; later ticks must not act
};

} // namespace ambrel
