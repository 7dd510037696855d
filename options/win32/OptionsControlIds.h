#pragma once
// The options dialog's window class and control ids. They stay fixed from release to release,
// because the end-to-end tests and accessibility tools find the dialog and its controls by them.
// Plain macros so that C, C++, resource scripts and the test harness can all read this header.

#define AMBREL_OPTIONS_CLASS L"AmbrelOptions"

// Push buttons: "ＯＫ", "参照", "ﾃｽﾄ", "ヘルプ", "スタート", "ストップ".
#define IDC_OPTIONS_OK 101
#define IDC_OPTIONS_BROWSE 102
#define IDC_OPTIONS_TEST 103
#define IDC_OPTIONS_HELP 104
#define IDC_OPTIONS_START 105
#define IDC_OPTIONS_STOP 106

// Text boxes: WAV file, alarm hour, minute, second, countdown minutes, the two messages.
#define IDC_OPTIONS_SOUND_FILE 201
#define IDC_OPTIONS_ALARM_HOUR 202
#define IDC_OPTIONS_ALARM_MINUTE 203
#define IDC_OPTIONS_ALARM_SECOND 204
#define IDC_OPTIONS_COUNTDOWN_MINUTES 205
#define IDC_OPTIONS_ALARM_MESSAGE 206
#define IDC_OPTIONS_COUNTDOWN_MESSAGE 207

// Check boxes: "常に手前に表示", "ｱﾗｰﾑON".
#define IDC_OPTIONS_KEEP_ON_TOP 301
#define IDC_OPTIONS_ALARM_ON 302

// Scroll bars: countdown minutes, alarm hour, minute, second.
#define IDC_OPTIONS_COUNTDOWN_BAR 401
#define IDC_OPTIONS_ALARM_HOUR_BAR 402
#define IDC_OPTIONS_ALARM_MINUTE_BAR 403
#define IDC_OPTIONS_ALARM_SECOND_BAR 404

// Colour swatches: green, cyan, magenta, yellow.
#define IDC_OPTIONS_COLOR_GREEN 501
#define IDC_OPTIONS_COLOR_CYAN 502
#define IDC_OPTIONS_COLOR_MAGENTA 503
#define IDC_OPTIONS_COLOR_YELLOW 504

// Group boxes: "時計の文字色", "タイマー", "アラーム".
#define IDC_OPTIONS_COLOR_GROUP 602
#define IDC_OPTIONS_TIMER_GROUP 603
#define IDC_OPTIONS_ALARM_GROUP 604

// Labels.
#define IDC_OPTIONS_ALARM_MESSAGE_LABEL 701
#define IDC_OPTIONS_COUNTDOWN_MESSAGE_LABEL 702
#define IDC_OPTIONS_SOUND_FILE_LABEL 704
#define IDC_OPTIONS_ALARM_TIME_LABEL 705
#define IDC_OPTIONS_HOUR_UNIT 706
#define IDC_OPTIONS_MINUTE_UNIT 707
#define IDC_OPTIONS_SECOND_UNIT 708
#define IDC_OPTIONS_COUNTDOWN_LABEL 709
#define IDC_OPTIONS_COUNTDOWN_UNIT 711
