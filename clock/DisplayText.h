#pragma once
// The texts the clock bar shows: the two display formats, the weekday character and the pieces
// of the display's tooltip. Pure functions of their inputs, so each tick composes them afresh.

#include "app/Platform.h"
#include "app/SettingsWords.h"

#include <string>
#include <string_view>

namespace ambrel {

class DynamicValue;

struct DisplayTexts {
    std::string mainText;
    std::string secondText;
};

// "日" for Sunday (0) ... "土" for Saturday (6); "" outside 0-6, which no clock delivers.
std::string_view weekdayCharacter(int weekday);

// The time format: "09 : 05" and "07sec".
DisplayTexts timeFormatTexts(const LocalTime& time);
// The date format: "12/28(土)" and "09:05".
DisplayTexts dateFormatTexts(const LocalTime& time);

// "【アラーム設定 7時 5分 0秒】" when the alarm is armed, otherwise "".
std::string alarmInfoText(const AlarmSwitch& alarmState, int hour, int minute, int second);

// The last piece of the display's tooltip, and the whole of it until the first tick.
inline constexpr const char* kHintText = "ダブルクリックすると表示形式が切り替わります";

// The display's tooltip: the three pieces joined without separators.
std::string tooltipText(const DynamicValue& timerInfo, const DynamicValue& alarmInfo,
                        const DynamicValue& hint);

} // namespace ambrel
