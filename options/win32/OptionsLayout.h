#pragma once
// The options dialog as the layout gives it: every control with its kind, caption, place and
// font, in tab order, and the facts of its scroll bars and colour swatches.

#include "app/win32/Twips.h"

#include <windows.h>

#include <array>
#include <vector>

namespace ambrel::win32 {

// The fonts of the dialog: the layout's standard one, the larger one of "ｱﾗｰﾑON", and the
// dialog's own, for the controls that carry none.
enum class OptionsFont { Standard, AlarmOnCheck, Default };

enum class ControlKind { Button, CheckBox, ScrollBar, TextBox, Label, GroupBox, Swatch };

struct ControlLayout {
    int id;
    ControlKind kind;
    const wchar_t* caption;
    TwipsRect at; // client coordinates, also for the controls inside a group box
    OptionsFont font;
    DWORD extraStyle = 0;
    // What a screen reader calls a control that no label before it names (SpokenNames).
    const wchar_t* spokenName = nullptr;
};

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKind(ControlKind kind);

// In the order they are created, which is the z-order: the dialog manager walks the tab stops
// in it, and each label stands right before the control it names, since a screen reader names
// a control after the static text just before it. Labels are no tab stops, so their places leave
// the tab order alone. The tab order puts the alarm's three scroll bars before its three boxes,
// so a row's unit label can stand before one of them only: before the box, which the user types
// into; the bars are named by their spokenName.
const std::vector<ControlLayout>& optionsControls();

// Countdown, hour, minute and second bars: the step of a click beside the thumb, and the position
// before Load.
inline constexpr std::array<int, 4> kPageSteps{10, 2, 5, 5};
inline constexpr std::array<int, 4> kInitialPositions{1, 0, 1, 1};
inline constexpr int kArrowStep = 1;

// The colour swatches: green, cyan, magenta and yellow squares.
inline constexpr std::array<COLORREF, 4> kSwatchColors{RGB(0, 192, 0), RGB(0, 255, 255),
                                                       RGB(255, 0, 255), RGB(255, 255, 0)};

} // namespace ambrel::win32
