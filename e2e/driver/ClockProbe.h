// What the driver and the probe library share to control the wall clock of one program under
// test. The probe redirects that program's imports of the time-of-day functions to a clock
// that runs at an offset from the real one or stands still; the machine's clock and every
// other process keep the real time.
#pragma once

#include <windows.h>

#include <atomic>

namespace ambrel::e2e {

// A named file mapping that both processes open.
inline constexpr const wchar_t* kClockMappingName = L"AmbrelE2eClock";

struct ClockShared {
    wchar_t exe[MAX_PATH]; // the program whose clock is controlled, a full path; empty for none
    // That file's identity: wine names one file C:\... or Z:\... depending on how it was
    // started, so the probe compares files, not names.
    DWORD fileIndexHigh;
    DWORD fileIndexLow;
    // Times are local FILETIME counts (100 ns units) in atomics, since the two processes race
    // on them. Their loads write nothing (an interlocked compare-exchange, the usual way to read
    // 64 bits on x86-32, stores what it read: under qemu, in a program with one thread, not in
    // one step with the load, so that a read could undo the harness's setting of the clock).
    std::atomic<LONGLONG> offset;   // added to the real local time while the clock runs
    std::atomic<LONGLONG> frozenAt; // the time at which the clock stands; 0 while it runs
    LONG processId;                 // the last process whose clock the probe redirected
    LONG reads;                     // that program's reads of the controlled clock so far
    std::atomic<LONGLONG> lastRead; // the time that program read last; 0 before its first read
    LONG failed;                    // the probe met the program but could not redirect its clock
    wchar_t failure[128];
};
static_assert(std::atomic<LONGLONG>::is_always_lock_free, "shared between processes");

// The controlled local time: the frozen time, or the real one moved by the offset.
inline LONGLONG controlledLocalTime(ClockShared& shared, LONGLONG realLocalTime) {
    const LONGLONG frozen = shared.frozenAt.load();
    if (frozen != 0)
        return frozen;
    return realLocalTime + shared.offset.load();
}

// The file index of a file (its inode under wine); false when it cannot be read.
inline bool fileIndexOf(const wchar_t* path, DWORD& high, DWORD& low) {
    HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    high = info.nFileIndexHigh;
    low = info.nFileIndexLow;
    return read;
}

inline LONGLONG fileTimeCount(const FILETIME& time) {
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                 time.dwLowDateTime);
}

inline FILETIME fileTimeOf(LONGLONG count) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(count);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(count) >> 32);
    return time;
}

} // namespace ambrel::e2e
