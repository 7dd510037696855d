#include "options/win32/OptionsLayout.h"

#include "options/win32/OptionsControlIds.h"

namespace ambrel::win32 {

namespace {
constexpr OptionsFont kStd = OptionsFont::Standard;
constexpr OptionsFont kDef = OptionsFont::Default;
using Kind = ControlKind;
using FontKind = OptionsFont;
} // namespace

WindowKind windowKind(ControlKind kind) {
    // Every control starts an arrow-key group but the swatches, which share one.
    constexpr DWORD kGroup = WS_GROUP | WS_TABSTOP;
    switch (kind) {
    case ControlKind::Button:
        return {L"BUTTON", BS_PUSHBUTTON | kGroup, 0};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | kGroup, 0};
    case ControlKind::ScrollBar:
        return {L"SCROLLBAR", SBS_HORZ | kGroup, 0};
    case ControlKind::TextBox:
        return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | kGroup, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        // A caption never wraps: "WAVファイルの指定" is as wide as its label, and at 144 dpi
        // and above the rounding of the font makes it a pixel wider, which would push its last
        // character onto a second line below the label's bottom. Unwrapped, it may at most
        // touch the edge.
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 0};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
    case ControlKind::Swatch:
        // Only the selected swatch is a tab stop (updateSwatchTabStops), so that Tab enters
        // the group at its selection.
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    }
    return {L"STATIC", 0, 0};
}

const std::vector<ControlLayout>& optionsControls() {
    // The group boxes come after the controls they hold: they are no tab stops and name no
    // control, so their place matters to neither the tab order nor a screen reader.
    // clang-format off
    static const std::vector<ControlLayout> controls = {
        {IDC_OPTIONS_OK, Kind::Button, L"ＯＫ", {3840, 300, 1275, 400}, kStd},
        {IDC_OPTIONS_HELP, Kind::Button, L"ヘルプ", {3840, 720, 1275, 400}, kStd},
        {IDC_OPTIONS_KEEP_ON_TOP, Kind::CheckBox, L"常に手前に表示", {3660, 1320, 1755, 315}, kStd},
        {IDC_OPTIONS_ALARM_ON, Kind::CheckBox, L"ｱﾗｰﾑON", {1680, 360, 1335, 315}, FontKind::AlarmOnCheck},
        {IDC_OPTIONS_ALARM_TIME_LABEL, Kind::Label, L"時刻の指定", {300, 420, 1125, 255}, kStd},
        {IDC_OPTIONS_ALARM_HOUR_BAR, Kind::ScrollBar, L"", {960, 720, 2295, 315}, kDef, 0, L"時"},
        {IDC_OPTIONS_ALARM_MINUTE_BAR, Kind::ScrollBar, L"", {960, 1080, 2295, 315}, kDef, 0, L"分"},
        {IDC_OPTIONS_ALARM_SECOND_BAR, Kind::ScrollBar, L"", {960, 1440, 2295, 315}, kDef, 0, L"秒"},
        {IDC_OPTIONS_HOUR_UNIT, Kind::Label, L"時", {660, 780, 255, 255}, kStd},
        {IDC_OPTIONS_ALARM_HOUR, Kind::TextBox, L"", {300, 720, 345, 315}, kStd},
        {IDC_OPTIONS_MINUTE_UNIT, Kind::Label, L"分", {660, 1140, 255, 255}, kStd},
        {IDC_OPTIONS_ALARM_MINUTE, Kind::TextBox, L"", {300, 1080, 345, 315}, kStd},
        {IDC_OPTIONS_SECOND_UNIT, Kind::Label, L"秒", {660, 1500, 285, 255}, kStd},
        {IDC_OPTIONS_ALARM_SECOND, Kind::TextBox, L"", {300, 1440, 345, 315}, kStd},
        {IDC_OPTIONS_COUNTDOWN_LABEL, Kind::Label, L"時間の指定", {300, 2340, 1095, 315}, kStd},
        {IDC_OPTIONS_COUNTDOWN_BAR, Kind::ScrollBar, L"", {300, 2700, 2175, 255}, kDef, 0, L"分"},
        {IDC_OPTIONS_COUNTDOWN_UNIT, Kind::Label, L"分", {2220, 2340, 255, 255}, kStd},
        {IDC_OPTIONS_COUNTDOWN_MINUTES, Kind::TextBox, L"10", {1680, 2280, 495, 315}, kStd},
        {IDC_OPTIONS_START, Kind::Button, L"スタート", {2640, 2280, 975, 340}, kDef},
        {IDC_OPTIONS_STOP, Kind::Button, L"ストップ", {2640, 2630, 975, 340}, kDef, WS_DISABLED},
        {IDC_OPTIONS_COLOR_GREEN, Kind::Swatch, L"■", {4020, 2400, 550, 200}, kDef, WS_GROUP},
        {IDC_OPTIONS_COLOR_CYAN, Kind::Swatch, L"■", {4680, 2400, 550, 200}, kDef},
        {IDC_OPTIONS_COLOR_MAGENTA, Kind::Swatch, L"■", {4020, 2760, 550, 200}, kDef},
        {IDC_OPTIONS_COLOR_YELLOW, Kind::Swatch, L"■", {4680, 2760, 550, 200}, kDef},
        {IDC_OPTIONS_SOUND_FILE_LABEL, Kind::Label, L"WAVファイルの指定", {180, 3360, 1635, 315}, kStd},
        {IDC_OPTIONS_SOUND_FILE, Kind::TextBox, L"", {1920, 3300, 2115, 345}, kStd},
        {IDC_OPTIONS_BROWSE, Kind::Button, L"参照", {4020, 3300, 645, 345}, kDef},
        {IDC_OPTIONS_TEST, Kind::Button, L"ﾃｽﾄ", {4680, 3300, 645, 345}, kDef},
        {IDC_OPTIONS_COLOR_GROUP, Kind::GroupBox, L"時計の文字色", {3900, 2040, 1455, 1095}, kStd},
        {IDC_OPTIONS_ALARM_GROUP, Kind::GroupBox, L"アラーム", {120, 120, 3315, 1815}, kStd},
        {IDC_OPTIONS_TIMER_GROUP, Kind::GroupBox, L"タイマー", {120, 2040, 3675, 1095}, kStd},
        {IDC_OPTIONS_ALARM_MESSAGE_LABEL, Kind::Label, L"アラームメッセージ", {210, 3860, 1575, 300}, kDef},
        {IDC_OPTIONS_ALARM_MESSAGE, Kind::TextBox, L"", {1800, 3800, 3550, 330}, kDef},
        {IDC_OPTIONS_COUNTDOWN_MESSAGE_LABEL, Kind::Label, L"タイマーメッセージ", {210, 4240, 1575, 300}, kDef},
        {IDC_OPTIONS_COUNTDOWN_MESSAGE, Kind::TextBox, L"", {1800, 4180, 3550, 330}, kDef},
    };
    // clang-format on

    return controls;
}

} // namespace ambrel::win32
