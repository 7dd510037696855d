#pragma once
// The countdown's arithmetic: when a countdown started now falls due, and the tooltip line that
// describes it. The seconds of the start are dropped, so N minutes fall due within the N-th
// minute after the start.

#include "app/DynamicValue.h"
#include "app/LocalMinutes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambrel {

enum class TimerState {
    Unset, // no countdown since start-up
    On,    // running
    Off,   // stopped, or fallen due
};

// The countdown's run-time state, owned by the program and never saved. The options dialog's
// start and stop buttons write it; the watch writes state and infoText when it falls due.
struct CountdownState {
    TimerState state = TimerState::Unset; // writers: start/stop buttons, the watch's due
    // The minutes box's text as the start button took it; the program's start-up sets the
    // number offered first. Writers: the start button and Program::main.
    DynamicValue minutes;
    // The due moment's time of day, as the tooltip announces it. Writer: the start button.
    int16_t dueHour = 0;
    int16_t dueMinute = 0;
    // The date and time at or after which the running countdown falls due, and the moment it
    // was started at (the seconds dropped). Writer: the start button.
    LocalMinute dueMoment = 0;
    LocalMinute startMoment = 0;
    // The countdown's tooltip piece. Writers: the start and stop buttons, the watch's due.
    DynamicValue infoText;
};

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

// Whether a running countdown falls due at `now`: at or past its due moment, so that one whose
// minute no tick fell into (the machine slept, the clock was set forward) falls due at once.
// While the clock reads a moment before the start (the date or time set back), the due moment
// lies further ahead than announced: the countdown then falls due at the hour and minute the
// tooltip announced.
bool countdownFallsDue(const CountdownState& countdown, const LocalTime& now);

// "【タイマー設定 15分 （ 10時 35分に通知）】": each number after its sign blank.
std::string timerInfoText(int minutes, CountdownDue due);

} // namespace ambrel
