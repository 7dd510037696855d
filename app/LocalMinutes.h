#pragma once
// Local dates and times as whole minutes on one line that runs on across midnight, month ends
// and year ends, so that a moment of one day compares with any time of a later day: the
// countdown falls due at the first tick at or past its due moment, whatever day that is.

#include "app/Platform.h"

#include <cstdint>

namespace ambrel {

// Minutes since 0:00 on 1 January 1970 of the local calendar (Gregorian); the seconds dropped.
using LocalMinute = int64_t;

LocalMinute localMinute(const LocalTime& time);

// The hour (0-23) and minute (0-59) of the day in which `moment` lies.
int hourOfDay(LocalMinute moment);
int minuteOfHour(LocalMinute moment);

} // namespace ambrel
