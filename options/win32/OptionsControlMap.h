#pragma once
// Which control of the options dialog stands for which part of the options view. Each table
// lists the view's enum in its order with the control's id; the compiler checks that order, so
// that an enum reordered or extended without its table fails the build instead of reaching
// another control.

#include "options/OptionsView.h"
#include "options/win32/OptionsControlIds.h"

#include <array>
#include <cstddef>
#include <optional>

namespace ambrel::win32 {

template <typename Part> struct ControlOf {
    Part part;
    int id;
};

template <typename Part, std::size_t N> using ControlTable = std::array<ControlOf<Part>, N>;

// True when row i holds the enum's value i and the table ends at `last`.
template <typename Part, std::size_t N>
constexpr bool inEnumOrder(const ControlTable<Part, N>& table, Part last) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(table[i].part) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(last) + 1 == N;
}

inline constexpr ControlTable<OptionsText, 7> kTextBoxes{{
    {OptionsText::SoundFileBox, IDC_OPTIONS_SOUND_FILE},
    {OptionsText::AlarmHourBox, IDC_OPTIONS_ALARM_HOUR},
    {OptionsText::AlarmMinuteBox, IDC_OPTIONS_ALARM_MINUTE},
    {OptionsText::AlarmSecondBox, IDC_OPTIONS_ALARM_SECOND},
    {OptionsText::CountdownMinutesBox, IDC_OPTIONS_COUNTDOWN_MINUTES},
    {OptionsText::AlarmMessageBox, IDC_OPTIONS_ALARM_MESSAGE},
    {OptionsText::CountdownMessageBox, IDC_OPTIONS_COUNTDOWN_MESSAGE},
}};
static_assert(inEnumOrder(kTextBoxes, OptionsText::CountdownMessageBox));

inline constexpr ControlTable<OptionsCheck, 2> kCheckBoxes{{
    {OptionsCheck::KeepOnTopCheck, IDC_OPTIONS_KEEP_ON_TOP},
    {OptionsCheck::AlarmOnCheck, IDC_OPTIONS_ALARM_ON},
}};
static_assert(inEnumOrder(kCheckBoxes, OptionsCheck::AlarmOnCheck));

// In the order of kPageSteps and kInitialPositions.
inline constexpr ControlTable<OptionsScroll, 4> kScrollBars{{
    {OptionsScroll::CountdownMinutesBar, IDC_OPTIONS_COUNTDOWN_BAR},
    {OptionsScroll::AlarmHourBar, IDC_OPTIONS_ALARM_HOUR_BAR},
    {OptionsScroll::AlarmMinuteBar, IDC_OPTIONS_ALARM_MINUTE_BAR},
    {OptionsScroll::AlarmSecondBar, IDC_OPTIONS_ALARM_SECOND_BAR},
}};
static_assert(inEnumOrder(kScrollBars, OptionsScroll::AlarmSecondBar));

inline constexpr ControlTable<OptionsCommand, 2> kCommandButtons{{
    {OptionsCommand::StartButton, IDC_OPTIONS_START},
    {OptionsCommand::StopButton, IDC_OPTIONS_STOP},
}};
static_assert(inEnumOrder(kCommandButtons, OptionsCommand::StopButton));

// The colour swatches, colour option 1 first, in the order of kSwatchColors.
inline constexpr std::array<int, 4> kSwatchIds{IDC_OPTIONS_COLOR_GREEN, IDC_OPTIONS_COLOR_CYAN,
                                               IDC_OPTIONS_COLOR_MAGENTA, IDC_OPTIONS_COLOR_YELLOW};

// The boxes that take digits only.
inline constexpr std::array<OptionsText, 4> kDigitBoxes{
    OptionsText::AlarmHourBox, OptionsText::AlarmMinuteBox, OptionsText::AlarmSecondBox,
    OptionsText::CountdownMinutesBox};

template <typename Part, std::size_t N>
constexpr int controlId(const ControlTable<Part, N>& table, Part part) {
    return table[static_cast<std::size_t>(part)].id;
}

// The part whose control has this id; nothing for a control of another kind.
template <typename Part, std::size_t N>
constexpr std::optional<Part> partWithId(const ControlTable<Part, N>& table, int id) {
    for (const ControlOf<Part>& row : table) {
        if (row.id == id) {
            return row.part;
        }
    }
    return std::nullopt;
}

} // namespace ambrel::win32
