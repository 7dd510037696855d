// The driver's side of the probe library: hooks that load it into the program under test.
#pragma once

#include <windows.h>

#include <string>

namespace ambrel::e2e {

// The probe library, loaded into the driver, and one of its hook procedures by name.
HMODULE probeModule();
HOOKPROC probeHookProc(const char* name);

// From now on no process can create a window of this class (its creation fails as if the
// system had refused it); an empty name lifts the refusal.
void refuseWindowClass(const std::wstring& className);

struct ComposeResult {
    bool hadContext = false; // the window had an input context
    bool completed = false;  // the input method completed the text into its result
};

// Composes `text` with the input method in `window`, on the window's own thread, as a user
// converting and confirming it would (or, `pending`, still converting it); returns once that
// thread has done it.
ComposeResult composeInWindow(HWND window, const std::wstring& text, bool pending);

// Hands `window` WM_DPICHANGED for `dpi` with the `suggested` rectangle in its own process's
// memory, posted on its own thread as the system would send it; returns once the window's
// thread has taken it, before the window has handled it.
void postDpiChange(HWND window, int dpi, const RECT& suggested);

} // namespace ambrel::e2e
