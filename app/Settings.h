#pragma once
// The program-wide settings record: the persisted settings and the run-time state of the alarm,
// the countdown and the clock's tooltip. It is the only state the windows share.

#include "app/DynamicValue.h"

#include <cstdint>
#include <string>

namespace ambrel {

struct Settings {
    // Persisted, in the order of the settings file.
    int16_t textColorIndex = 0;
    DynamicValue windowLeft;
    DynamicValue windowTop;
    DynamicValue alwaysOnTop;
    DynamicValue soundFile;
    int16_t alarmHour = 0;
    int16_t alarmMinute = 0;
    int16_t alarmSecond = 0;
    DynamicValue alarmState;
    std::string displayMode;
    DynamicValue alarmMessage;
    DynamicValue timerMessage;

    // Run-time only.
    DynamicValue timerMinutes;
    int16_t timerDueHour = 0;
    int16_t timerDueMinute = 0;
    DynamicValue timerState;
    DynamicValue screenWidth;  // twips, a 32-bit float
    DynamicValue screenHeight; // twips, a 32-bit float
    DynamicValue hintText;
    DynamicValue timerInfoText;
    DynamicValue alarmInfoText;
    DynamicValue savedAlarmState;
};

} // namespace ambrel
