#pragma once
// The program-wide settings record: the persisted settings and the run-time state of the alarm,
// the countdown and the clock's tooltip. It is the only state the windows share.

#include "app/DynamicValue.h"
#include "app/LocalMinutes.h"
#include "app/SettingsWords.h"

#include <cstdint>
#include <string>

namespace ambrel {

// Run-time states that never reach the file, so they need no words.
enum class TimerState {
    Unset, // no countdown since start-up
    On,    // running
    Off,   // stopped, or fallen due
};
// What the alarm watch keeps while the alarm is suspended for the second in which it fell due.
enum class SavedAlarmState {
    None,
    Armed, // alarmState was armed and is armed again once the second has passed
};

struct Settings {
    // Persisted, in the order of the settings file.
    int16_t textColorIndex = 0;
    DynamicValue windowLeft;
    DynamicValue windowTop;
    KeepOnTopSwitch alwaysOnTop;
    DynamicValue soundFile;
    int16_t alarmHour = 0;
    int16_t alarmMinute = 0;
    int16_t alarmSecond = 0;
    AlarmSwitch alarmState;
    DisplayFormat displayMode;
    DynamicValue alarmMessage;
    DynamicValue timerMessage;

    // Run-time only.
    DynamicValue timerMinutes;
    int16_t timerDueHour = 0;
    int16_t timerDueMinute = 0;
    // The date and time at or after which the running countdown falls due; timerDueHour and
    // timerDueMinute are its time of day, as the tooltip announces it.
    LocalMinute timerDueMoment = 0;
    TimerState timerState = TimerState::Unset;
    DynamicValue screenWidth;  // twips, a 32-bit float
    DynamicValue screenHeight; // twips, a 32-bit float
    DynamicValue hintText;
    DynamicValue timerInfoText;
    SavedAlarmState savedAlarmState = SavedAlarmState::None;
};

// The alarm state the file keeps: an alarm suspended for the second in which it fell due is
// still the alarm the user armed, so a close within that second saves it armed.
inline AlarmSwitch alarmStateToSave(const Settings& settings) {
    return settings.savedAlarmState == SavedAlarmState::Armed ? AlarmSwitch::of(true)
                                                              : settings.alarmState;
}

} // namespace ambrel
