#pragma once
// Local dates and times as whole minutes (or seconds) on one line that runs on across midnight,
// month ends and year ends, so that a moment of one day compares with any time of a later day:
// the countdown falls due at the first tick at or past its due moment, whatever day that is,
// and the alarm at the first tick at or past its time of day.

#include "app/Platform.h"

#include <cstdint>

namespace ambrel {

// Minutes since 0:00 on 1 January 1970 of the local calendar (Gregorian); the seconds dropped.
using LocalMinute = int64_t;

LocalMinute localMinute(const LocalTime& time);

// Seconds since 0:00:00 on 1 January 1970 of the local calendar.
using LocalSecond = int64_t;

LocalSecond localSecond(const LocalTime& time);

// The last moment at or before `now` whose time of day is hour:minute:second (0-23, 0-59, 0-59).
LocalSecond latestTimeOfDay(LocalSecond now, int hour, int minute, int second);

// The hour (0-23) and minute (0-59) of the day in which `moment` lies.
int hourOfDay(LocalMinute moment);
int minuteOfHour(LocalMinute moment);

} // namespace ambrel
