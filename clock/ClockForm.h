#pragma once
// The clock bar's behaviour: the 100 ms tick with its display texts and tooltip, the alarm and
// countdown watch that the tick runs, the format switch, dragging and the two image buttons.

#include "app/DynamicValue.h"
#include "app/FormSlot.h"
#include "app/Platform.h"
#include "app/SettingsWords.h"
#include "clock/ClockView.h"
#include "clock/Watch.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ambrel {

class Clock;
struct CountdownState;
struct ScreenTwips;
class MessageBoxes;
struct Settings;
class ProgramLifetime;
class Screen;

// What the clock bar's behaviour uses besides its own window.
struct ClockNeeds {
    WatchTargets watch; // the record, the countdown, the suspended alarm, sound, dialog, notice
    Clock& clock;
    MessageBoxes& messages;
    ProgramLifetime& lifetime; // closing, a failed tick and the session's end end the program
    Screen& screen;            // read again when the monitors change
    ScreenTwips& screenSize;   // the notice centres on it; written again on a monitor change
    // The tooltip's hint. Writer: the program's load (Program::placeAndStart).
    const DynamicValue& hint;
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
    // The monitors or their sizes changed: the screen's size is read again, and a bar that no
    // monitor shows any more is brought back as at start-up.
    void onDisplayChange();

private:
    // What the tooltip is composed from.
    struct TooltipInputs {
        DynamicValue timerInfo;
        AlarmSwitch alarmState;
        int16_t alarmHour = 0;
        int16_t alarmMinute = 0;
        int16_t alarmSecond = 0;
        DynamicValue hint;
        bool sameAs(const Settings& settings, const DynamicValue& countdownInfo,
                    const DynamicValue& currentHint) const;
    };
    // What the display texts are composed from.
    struct DisplayInputs {
        LocalTime time;
        DisplayFormat mode;
        bool sameAs(const LocalTime& now, const DisplayFormat& displayMode) const;
    };

    // The steps of one tick, in their order; a RuntimeError leaves the rest of them undone.
    void tick(ClockView& view);
    void showTooltip(ClockView& view);
    void showTexts(ClockView& view, const LocalTime& now);

    ClockNeeds needs_;
    FormSlot<ClockView>& window_;
    bool dragging_ = false;
    float dragStartX_ = 0;
    float dragStartY_ = 0;
    bool failing_ = false;                    // a failure report is open; later ticks must not act
    std::optional<LocalSecond> previousTick_; // when the last tick read the clock
    // What the last tick composed the tooltip and the texts from. Nine ticks in ten change
    // neither: those leave the window alone instead of composing texts for it to compare.
    std::optional<TooltipInputs> tooltipFrom_;
    std::optional<DisplayInputs> textsFrom_;
};

} // namespace ambrel
