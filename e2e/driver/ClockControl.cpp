#include "ClockControl.h"

#include "ClockProbe.h"
#include "Commands.h"
#include "JsonLine.h"
#include "ProbeClient.h"
#include "SharedMapping.h"

#include <cwchar>

namespace ambrel::e2e {
namespace {

constexpr LONGLONG kTicksPerSecond = 10000000; // FILETIME counts 100 ns

ClockShared& shared() {
    return sharedMapping<ClockShared>(kClockMappingName, "clock's");
}

HHOOK clockHook = nullptr;

LONGLONG realLocalCount() {
    SYSTEMTIME real{};
    GetLocalTime(&real);
    FILETIME count{};
    SystemTimeToFileTime(&real, &count);
    return fileTimeCount(count);
}

LONGLONG countOf(const SYSTEMTIME& time) {
    FILETIME count{};
    if (!SystemTimeToFileTime(&time, &count))
        throw CommandError("not a valid date and time");
    return fileTimeCount(count);
}

// The clock stands at `count` from now on, frozen or running on from there.
void standAt(ClockShared& s, LONGLONG count, bool frozen) {
    if (frozen) {
        s.frozenAt.store(count);
    } else {
        s.offset.store(count - realLocalCount());
        s.frozenAt.store(0);
    }
}

ClockShared& controlled() {
    ClockShared& s = shared();
    if (s.exe[0] == L'\0')
        throw CommandError("no program's clock is controlled");
    return s;
}

} // namespace

void controlClock(const std::wstring& exe, const SYSTEMTIME& localTime, bool frozen) {
    if (exe.empty() || exe.size() >= MAX_PATH)
        throw CommandError("no usable program path");
    const LONGLONG count = countOf(localTime);
    ClockShared& s = shared();
    s.exe[0] = L'\0'; // no program matches while the fields change
    InterlockedExchange(&s.processId, 0);
    InterlockedExchange(&s.reads, 0);
    s.lastRead.store(0);
    InterlockedExchange(&s.failed, 0);
    s.failure[0] = L'\0';
    standAt(s, count, frozen);
    if (!fileIndexOf(exe.c_str(), s.fileIndexHigh, s.fileIndexLow))
        throw CommandError("cannot read the program's file: " + toUtf8(exe));
    std::wcscpy(s.exe, exe.c_str());
    if (clockHook == nullptr) {
        clockHook = SetWindowsHookExW(WH_CBT, probeHookProc("probeClockHook"), probeModule(), 0);
        if (clockHook == nullptr)
            throw CommandError("SetWindowsHookEx(WH_CBT) failed for the clock");
    }
}

void setClock(const SYSTEMTIME& localTime) {
    ClockShared& s = controlled();
    standAt(s, countOf(localTime), s.frozenAt.load() != 0);
}

void moveClock(LONGLONG seconds) {
    ClockShared& s = controlled();
    const LONGLONG frozen = s.frozenAt.load();
    if (frozen != 0) {
        s.frozenAt.store(frozen + seconds * kTicksPerSecond);
    } else {
        s.offset.store(s.offset.load() + seconds * kTicksPerSecond);
    }
}

void freezeClock() {
    ClockShared& s = controlled();
    if (s.frozenAt.load() == 0)
        standAt(s, controlledLocalTime(s, realLocalCount()), true);
}

void runClock() {
    ClockShared& s = controlled();
    const LONGLONG frozen = s.frozenAt.load();
    if (frozen != 0)
        standAt(s, frozen, false);
}

ClockStatus clockStatus() {
    ClockShared& s = shared();
    ClockStatus status;
    status.exe = s.exe;
    const FILETIME now = fileTimeOf(controlledLocalTime(s, realLocalCount()));
    FileTimeToSystemTime(&now, &status.now);
    status.frozen = s.frozenAt.load() != 0;
    status.processId = static_cast<DWORD>(s.processId);
    status.reads = s.reads;
    if (const LONGLONG read = s.lastRead.load(); read != 0) {
        const FILETIME count = fileTimeOf(read);
        status.lastRead.emplace();
        FileTimeToSystemTime(&count, &*status.lastRead);
    }
    if (s.failed != 0)
        status.failure = s.failure;
    return status;
}

void releaseClock() {
    ClockShared& s = shared();
    s.exe[0] = L'\0';
    if (clockHook != nullptr)
        UnhookWindowsHookEx(clockHook);
    clockHook = nullptr;
}

} // namespace ambrel::e2e
