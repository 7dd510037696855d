#include "app/HeldFileRetry.h"

#include "app/Platform.h"
#include "app/RuntimeError.h"

namespace ambrel {

void retryWhileHeld(SteadyClock& clock, const std::function<void()>& attempt) {
    const int64_t start = clock.milliseconds();
    for (;;) {
        try {
            attempt();
            return;
        } catch (const FileHeld&) {
            if (clock.milliseconds() - start >= kHeldFileDeadlineMs) {
                throw;
            }
        }
        clock.sleep(kHeldFileRetryPauseMs);
    }
}

} // namespace ambrel
