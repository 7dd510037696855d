#include "ClockControl.h"
#include "CommandHandlers.h"
#include "JsonLine.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cwchar>

namespace ambrel::e2e {

namespace {

// "2026-12-31" and "23:59:58": a local date and time as the clock is to show it.
SYSTEMTIME localTimeArg(const std::wstring& date, const std::wstring& time) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::swscanf(date.c_str(), L"%d-%d-%d", &year, &month, &day) != 3 ||
        std::swscanf(time.c_str(), L"%d:%d:%d", &hour, &minute, &second) != 3) {
        throw CommandError("a date and time is YYYY-MM-DD HH:MM:SS");
    }
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

void changeClock(const ArgReader& a, const std::wstring& action) {
    if (action == L"control") {
        controlClock(a.at(1, "exe"), localTimeArg(a.at(2, "date"), a.at(3, "time")),
                     a.flag(L"frozen"));
    } else if (action == L"set") {
        setClock(localTimeArg(a.at(1, "date"), a.at(2, "time")));
    } else if (action == L"move") {
        moveClock(number(a.at(1, "seconds"), "seconds"));
    } else if (action == L"freeze") {
        freezeClock();
    } else if (action == L"run") {
        runClock();
    } else if (action == L"off") {
        releaseClock();
    } else if (action != L"status") {
        throw CommandError("clock control|set|move|freeze|run|status|off");
    }
}

std::wstring isoText(const SYSTEMTIME& t) {
    std::array<wchar_t, 32> text{};
    std::swprintf(text.data(), text.size(), L"%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear,
                  t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text.data();
}

} // namespace

void cmdClock(const ArgReader& a, const Output& out) {
    changeClock(a, a.at(0, "action"));
    const ClockStatus s = clockStatus();
    out(JsonLine()
            .add("exe", s.exe)
            .add("now", isoText(s.now))
            .add("frozen", s.frozen)
            .add("pid", s.processId)
            .add("reads", s.reads)
            .add("read", s.lastRead ? isoText(*s.lastRead) : std::wstring())
            .add("failure", s.failure)
            .str());
}

} // namespace ambrel::e2e
