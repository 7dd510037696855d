#include "app/LocalMinutes.h"

namespace ambrel {

namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;
constexpr int64_t kSecondsPerDay = kMinutesPerDay * 60;

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

// The part of `moment` after the start of its day, for days of `length` units.
int64_t ofDay(int64_t moment, int64_t length) {
    const int64_t rest = moment % length;
    return rest < 0 ? rest + length : rest;
}

int64_t minuteOfDay(LocalMinute moment) {
    return ofDay(moment, kMinutesPerDay);
}

} // namespace

LocalMinute localMinute(const LocalTime& time) {
    return daysFromCivil(time.year, time.month, time.day) * kMinutesPerDay + time.hour * 60 +
           time.minute;
}

LocalSecond localSecond(const LocalTime& time) {
    return localMinute(time) * 60 + time.second;
}

LocalSecond latestTimeOfDay(LocalSecond now, int hour, int minute, int second) {
    const LocalSecond sameDay =
        now - ofDay(now, kSecondsPerDay) + hour * 3600 + minute * 60 + second;
    return sameDay <= now ? sameDay : sameDay - kSecondsPerDay;
}

int hourOfDay(LocalMinute moment) {
    return static_cast<int>(minuteOfDay(moment) / 60);
}

int minuteOfHour(LocalMinute moment) {
    return static_cast<int>(minuteOfDay(moment) % 60);
}

} // namespace ambrel
