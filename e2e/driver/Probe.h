// What the driver and its probe library (ambrel-e2e-probe.dll) share. The library is loaded
// into the program under test by window hooks and does there what only the program's own
// thread can do: refuse the creation of a window of a given class, compose text with the
// input method in a window, and hand a window a dpi change as the system does.
#pragma once

#include <windows.h>

namespace ambrel::e2e {

// A named file mapping that both processes open.
inline constexpr const wchar_t* kProbeMappingName = L"AmbrelE2eProbe";
// Posted to the window that is to receive the composed text.
inline constexpr const wchar_t* kComposeMessageName = L"AmbrelE2eCompose";
// Posted to the window that is to receive a dpi change; it receives WM_DPICHANGED instead.
inline constexpr const wchar_t* kDpiChangeMessageName = L"AmbrelE2eDpiChange";
// Set by the probe once it has done what one of the two messages asked.
inline constexpr const wchar_t* kProbeDoneEventName = L"AmbrelE2eProbeDone";

struct ProbeShared {
    wchar_t refusedClass[64]; // window class whose creation the hook refuses; empty for none
    wchar_t compose[64];      // text to compose
    LONG pending;             // leave the composition open instead of completing it
    LONG hadContext;          // the window had an input context to compose in
    LONG completed;           // the input method took the text and completed it
    LONG dpi;                 // the new dpi of a dpi change
    RECT suggested;           // and the rectangle it suggests for the window, in screen pixels
};

} // namespace ambrel::e2e
