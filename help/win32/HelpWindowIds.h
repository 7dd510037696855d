#pragma once
// The help window's class and its text's control id. They stay fixed, because the end-to-end
// tests find the window and read its text by them. Plain macros so that C, C++ and the test
// harness can all read this header.

#define AMBREL_HELP_CLASS L"AmbrelHelp"

// The read-only edit control that holds the whole help.
#define IDC_HELP_TEXT 1
