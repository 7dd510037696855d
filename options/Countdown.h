#pragma once
// The countdown's arithmetic: when a countdown started now falls due, and the tooltip line that
// describes it. The seconds of the start are dropped, so N minutes fall due within the N-th
// minute after the start.

#include "app/LocalMinutes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambrel {

struct CountdownDue {
    int16_t hour = 0;       // 0-23
    int16_t minute = 0;     // 0-59
    LocalMinute moment = 0; // the date and time itself, for the watch
};

// The length that the minutes box spells, when the countdown can run it: ASCII digits only (a
// pasted "1.5", "-3" or "１５" is no length) and at most kCountdownMaxMinutes. Leading zeros are
// fine: "007" is 7. nullopt otherwise, also for an empty box.
std::optional<int> countdownLength(std::string_view text);

// The due moment of a countdown of `minutes` (0-999) started at `start`: the start's date and
// time with the seconds dropped, plus the minutes, so 23:55:30 plus 10 minutes is 0:05 of the
// next day.
CountdownDue countdownDue(int minutes, const LocalTime& start);

// "【タイマー設定 15分 （ 10時 35分に通知）】": each number after its sign blank.
std::string timerInfoText(int minutes, CountdownDue due);

} // namespace ambrel
