#pragma once
// Sync clients and virus scanners open a file for a moment, and while they hold it the file
// cannot be replaced. A replace that meets such a holder is tried again for a short while.

#include <functional>

namespace ambrel {

class SteadyClock;

// How long a held file is waited for, from the first attempt, and the pause between attempts.
inline constexpr int kHeldFileDeadlineMs = 2000;
inline constexpr int kHeldFileRetryPauseMs = 50;

// Runs `attempt`; while it raises FileHeld, runs it again after a pause, until the deadline has
// passed, and then lets the last FileHeld through. Any other error comes through at once.
void retryWhileHeld(SteadyClock& clock, const std::function<void()>& attempt);

} // namespace ambrel
