#pragma once
// The ranges of the dialog's four scroll bars. The core needs them to tell a stored value the bar
// can show from one it cannot; the platform dialog sets its bars up from the same numbers.

#include "options/OptionsView.h"

namespace ambrel {

struct ScrollRange {
    int min = 0;
    int max = 0;
    constexpr bool contains(double value) const { return value >= min && value <= max; }
};

// The longest countdown the dialog can show, in minutes; Start refuses anything longer.
inline constexpr int kCountdownMaxMinutes = 999;
inline constexpr int kLastHour = 23;
inline constexpr int kLastMinuteOrSecond = 59;

constexpr ScrollRange scrollRange(OptionsScroll bar) {
    switch (bar) {
    case OptionsScroll::CountdownMinutesBar:
        return {0, kCountdownMaxMinutes};
    case OptionsScroll::AlarmHourBar:
        return {0, kLastHour};
    case OptionsScroll::AlarmMinuteBar:
    case OptionsScroll::AlarmSecondBar:
        return {0, kLastMinuteOrSecond};
    }
    return {};
}

// The text box each bar writes its value into.
constexpr OptionsText scrollTextBox(OptionsScroll bar) {
    switch (bar) {
    case OptionsScroll::CountdownMinutesBar:
        return OptionsText::CountdownMinutesBox;
    case OptionsScroll::AlarmHourBar:
        return OptionsText::AlarmHourBox;
    case OptionsScroll::AlarmMinuteBar:
        return OptionsText::AlarmMinuteBox;
    case OptionsScroll::AlarmSecondBar:
        return OptionsText::AlarmSecondBox;
    }
    return OptionsText::CountdownMinutesBox;
}

// The boxes a bar writes into hold whole numbers: only these filter the keys typed into them.
constexpr bool isNumberBox(OptionsText box) {
    for (const OptionsScroll bar : {OptionsScroll::CountdownMinutesBar, OptionsScroll::AlarmHourBar,
                                    OptionsScroll::AlarmMinuteBar, OptionsScroll::AlarmSecondBar}) {
        if (scrollTextBox(bar) == box) {
            return true;
        }
    }
    return false;
}

} // namespace ambrel
