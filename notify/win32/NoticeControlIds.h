#pragma once
// The notice's window class and control ids. They stay fixed, because the end-to-end tests find
// the notice and read its texts by them. Plain macros so that C, C++ and the test harness can
// all read this header.

#define AMBREL_NOTICE_CLASS L"AmbrelNotice"

// "閉じる", the one control that takes the focus.
#define IDC_NOTICE_CLOSE 1
// The user's message, and the headline above it that says what fell due.
#define IDC_NOTICE_MESSAGE 11
#define IDC_NOTICE_HEADLINE 12
