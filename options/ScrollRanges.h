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

constexpr ScrollRange scrollRange(OptionsScroll bar) {
    switch (bar) {
    case OptionsScroll::HScroll1:
        return {0, kCountdownMaxMinutes};
    case OptionsScroll::HScroll2:
        return {0, 23};
    case OptionsScroll::HScroll3:
    case OptionsScroll::HScroll4:
        return {0, 59};
    }
    return {};
}

// The text box each bar writes its value into.
constexpr OptionsText scrollTextBox(OptionsScroll bar) {
    switch (bar) {
    case OptionsScroll::HScroll1:
        return OptionsText::Text5;
    case OptionsScroll::HScroll2:
        return OptionsText::Text2;
    case OptionsScroll::HScroll3:
        return OptionsText::Text3;
    case OptionsScroll::HScroll4:
        return OptionsText::Text4;
    }
    return OptionsText::Text5;
}

} // namespace ambrel
