#include "app/LocalMinutes.h"

namespace ambrel {

namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;

// Days from 1 January 1970 to the given date: the year is counted from 1 March, so that the
// leap day is the last day of its year and every month's start follows from one formula.
int64_t daysFromCivil(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t minuteOfDay(LocalMinute moment) {
    const int64_t rest = moment % kMinutesPerDay;
    return rest < 0 ? rest + kMinutesPerDay : rest;
}

} // namespace

LocalMinute localMinute(const LocalTime& time) {
    return daysFromCivil(time.year, time.month, time.day) * kMinutesPerDay + time.hour * 60 +
           time.minute;
}

int hourOfDay(LocalMinute moment) {
    return static_cast<int>(minuteOfDay(moment) / 60);
}

int minuteOfHour(LocalMinute moment) {
    return static_cast<int>(minuteOfDay(moment) % 60);
}

} // namespace ambrel
