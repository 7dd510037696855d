#pragma once
// The program-wide settings record: what the settings file holds, in its order. The run-time
// state that never reaches the file lives with its owner: the countdown's in options/Countdown.h,
// the suspended alarm in clock/Watch.h, the screen size in notify/NoticeForm.h and the tooltip's
// hint with the program's load.

#include "app/DynamicValue.h"
#include "app/SettingsWords.h"

#include <cstdint>
#include <string>

namespace ambrel {

struct Settings {
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
};

} // namespace ambrel
