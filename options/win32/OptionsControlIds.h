#pragma once
// Control ids of the options dialog. They stay fixed from release to release, because the
// end-to-end tests and accessibility tools find the dialog's controls by them. Plain macros so
// that C, C++ and resource scripts can all read this header.

// Push buttons: "ＯＫ", "参照", "ﾃｽﾄ", "ヘルプ", "スタート", "ストップ".
#define IDC_OPTIONS_COMMAND1 101
#define IDC_OPTIONS_COMMAND2 102
#define IDC_OPTIONS_COMMAND3 103
#define IDC_OPTIONS_COMMAND4 104
#define IDC_OPTIONS_COMMAND5 105
#define IDC_OPTIONS_COMMAND6 106

// Text boxes: WAV file, alarm hour, minute, second, countdown minutes, the two messages.
#define IDC_OPTIONS_TEXT1 201
#define IDC_OPTIONS_TEXT2 202
#define IDC_OPTIONS_TEXT3 203
#define IDC_OPTIONS_TEXT4 204
#define IDC_OPTIONS_TEXT5 205
#define IDC_OPTIONS_TEXT6 206
#define IDC_OPTIONS_TEXT7 207

// Check boxes: "常に手前に表示", "ｱﾗｰﾑON".
#define IDC_OPTIONS_CHECK1 301
#define IDC_OPTIONS_CHECK2 302

// Scroll bars: countdown minutes, alarm hour, minute, second.
#define IDC_OPTIONS_HSCROLL1 401
#define IDC_OPTIONS_HSCROLL2 402
#define IDC_OPTIONS_HSCROLL3 403
#define IDC_OPTIONS_HSCROLL4 404

// Colour swatches: green, cyan, magenta, yellow.
#define IDC_OPTIONS_OPTION1 501
#define IDC_OPTIONS_OPTION2 502
#define IDC_OPTIONS_OPTION3 503
#define IDC_OPTIONS_OPTION4 504

// Group boxes: "時計の文字色", "タイマー", "アラーム".
#define IDC_OPTIONS_FRAME2 602
#define IDC_OPTIONS_FRAME3 603
#define IDC_OPTIONS_FRAME4 604

// Labels (Label3 and Label10 do not exist).
#define IDC_OPTIONS_LABEL1 701
#define IDC_OPTIONS_LABEL2 702
#define IDC_OPTIONS_LABEL4 704
#define IDC_OPTIONS_LABEL5 705
#define IDC_OPTIONS_LABEL6 706
#define IDC_OPTIONS_LABEL7 707
#define IDC_OPTIONS_LABEL8 708
#define IDC_OPTIONS_LABEL9 709
#define IDC_OPTIONS_LABEL11 711
