#pragma once
// The clock bar's window class and the ids of its labels and tooltip tools. They stay fixed,
// because the end-to-end tests find the bar and read its tooltip by them. Plain macros so that
// C, C++ and the test harness can all read this header.

#define AMBREL_CLOCK_CLASS L"AmbrelClock"

// Labels: the hour and minute (or the date), and the seconds (or the time) beside them.
#define IDC_CLOCK_MAIN_TEXT 1
#define IDC_CLOCK_SECOND_TEXT 4

// Tooltip tools: the display with the hint and the alarm and countdown pieces, and the two
// image buttons.
#define IDT_CLOCK_DISPLAY 2
#define IDT_CLOCK_EXIT_BUTTON 11
#define IDT_CLOCK_OPTIONS_BUTTON 12
