#pragma once
// The last line of defence at the window procedure: no exception leaves it.

#include "app/RuntimeError.h"

#include <windows.h>

#include <new>
#include <utility>

namespace ambrel::win32 {

// Beeps, shows the generic error box with the number and ends the process.
[[noreturn]] void endAfterUntrappedError(int number);

template <class Handler> LRESULT guardedCall(Handler&& handler) {
    try {
        return std::forward<Handler>(handler)();
    } catch (const RuntimeError& error) {
        endAfterUntrappedError(error.number());
    } catch (const std::bad_alloc&) {
        endAfterUntrappedError(kOutOfMemory);
    } catch (...) {
        endAfterUntrappedError(kInternalError);
    }
}

} // namespace ambrel::win32
