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

CountdownDue countdownDue(int minutes, int hour, int minute) {
    const int dueTotal = minutes + hour * 60 + minute;
    int dueHour = dueTotal / 60;
    const int dueMinute = dueTotal - 60 * dueHour;
    if (dueHour >= 24) {
        dueHour -= 24;
    }
    return {static_cast<int16_t>(dueHour), static_cast<int16_t>(dueMinute)};
}

std::string timerInfoText(int minutes, CountdownDue due) {
    return "【タイマー設定" + numberText(minutes) + "分 （" + numberText(due.hour) + "時" +
           numberText(due.minute) + "分に通知）】";
}

} // namespace ambrel
