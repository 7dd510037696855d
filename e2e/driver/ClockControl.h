// The driver's side of the controlled clock: which program's wall clock the probe redirects,
// and where that clock stands. See ClockProbe.h.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace ambrel::e2e {

struct ClockStatus {
    std::wstring exe;
    SYSTEMTIME now{}; // the controlled local time
    bool frozen = false;
    DWORD processId = 0; // the last process whose clock was redirected; 0 for none yet
    LONG reads = 0;      // its reads of the controlled clock
    std::optional<SYSTEMTIME> lastRead; // what it read last
    std::wstring failure;
};

// From now on the program at `exe` (a full Windows path) reads `localTime`, standing still when
// `frozen`, running on from it otherwise; starts the hook that redirects the program's clock
// when it makes its first window. Another program's control ends.
void controlClock(const std::wstring& exe, const SYSTEMTIME& localTime, bool frozen);
// Where the controlled clock stands now (frozen or running); it keeps its program.
void setClock(const SYSTEMTIME& localTime);
void moveClock(LONGLONG seconds);
void freezeClock();
void runClock(); // on from where it stands
ClockStatus clockStatus();
// No program's clock is controlled any more, and the hook ends. A program already redirected
// keeps the clock where it stands.
void releaseClock();

} // namespace ambrel::e2e
