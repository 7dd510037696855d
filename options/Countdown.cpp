#include "options/Countdown.h"

#include "app/NumberRules.h"
#include "options/ScrollRanges.h"

namespace ambrel {

std::optional<int> countdownLength(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        // Checked per digit so that a long pasted number cannot overflow the sum.
        if (value > kCountdownMaxMinutes) {
            return std::nullopt;
        }
    }
    return value;
}

CountdownDue countdownDue(int minutes, const LocalTime& start) {
    const LocalMinute moment = localMinute(start) + minutes;
    return {static_cast<int16_t>(hourOfDay(moment)), static_cast<int16_t>(minuteOfHour(moment)),
            moment};
}

bool countdownFallsDue(const CountdownState& countdown, const LocalTime& now) {
    if (countdown.state != TimerState::On) {
        return false;
    }
    const LocalMinute moment = localMinute(now);
    if (moment >= countdown.dueMoment) {
        return true;
    }
    return moment < countdown.startMoment && now.hour == countdown.dueHour &&
           now.minute == countdown.dueMinute;
}

std::string timerInfoText(int minutes, CountdownDue due) {
    return "【タイマー設定" + numberText(minutes) + "分 （" + numberText(due.hour) + "時" +
           numberText(due.minute) + "分に通知）】";
}

} // namespace ambrel
