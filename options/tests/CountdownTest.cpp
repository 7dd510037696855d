#include "options/Countdown.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

LocalTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    LocalTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

TEST(CountdownTest, DueTimeDropsTheSecondsAndWrapsPastMidnight) {
    struct Case {
        int minutes, hour, minute, dueHour, dueMinute;
    };
    const Case cases[] = {
        {15, 10, 20, 10, 35},  // the everyday case
        {15, 23, 50, 0, 5},    // due hour 24 wraps to 0
        {60, 23, 0, 0, 0},     // exactly midnight
        {0, 10, 20, 10, 20},   // falls due at the next tick
        {45, 9, 30, 10, 15},   // carries into the next hour
        {999, 23, 59, 16, 38}, // the longest length from the last minute of the day
    };
    for (const Case& c : cases) {
        const CountdownDue due = countdownDue(c.minutes, at(2026, 6, 15, c.hour, c.minute, 45));
        EXPECT_EQ(due.hour, c.dueHour) << c.minutes << " at " << c.hour << ":" << c.minute;
        EXPECT_EQ(due.minute, c.dueMinute) << c.minutes << " at " << c.hour << ":" << c.minute;
    }
}

TEST(CountdownTest, DueMomentIsADateAndTimeAcrossDaysMonthsAndYears) {
    struct Case {
        const char* what;
        int minutes;
        LocalTime start, due;
    };
    const Case cases[] = {
        {"next day", 10, at(2026, 12, 9, 23, 55, 30), at(2026, 12, 10, 0, 5)},
        {"leap day", 2, at(2028, 2, 28, 23, 59, 59), at(2028, 2, 29, 0, 1)},
        {"no leap day", 2, at(2027, 2, 28, 23, 59), at(2027, 3, 1, 0, 1)},
        {"century without leap day", 1, at(2100, 2, 28, 23, 59), at(2100, 3, 1, 0, 0)},
        {"leap day of a 400th year", 1, at(2000, 2, 28, 23, 59), at(2000, 2, 29, 0, 0)},
        {"year end", 1, at(2026, 12, 31, 23, 59, 59), at(2027, 1, 1, 0, 0)},
        {"999 minutes over the year end", 999, at(2026, 12, 31, 23, 59), at(2027, 1, 1, 16, 38)},
        {"999 minutes from the leap day", 999, at(2028, 2, 29, 8, 1), at(2028, 3, 1, 0, 40)},
    };
    for (const Case& c : cases) {
        const CountdownDue due = countdownDue(c.minutes, c.start);
        EXPECT_EQ(due.moment, localMinute(c.due)) << c.what;
        EXPECT_EQ(due.hour, c.due.hour) << c.what;
        EXPECT_EQ(due.minute, c.due.minute) << c.what;
    }
    // Days count on: the first of a month follows the last of the one before it.
    EXPECT_EQ(localMinute(at(2026, 5, 1, 0, 0)) - localMinute(at(2026, 4, 30, 23, 59)), 1);
    EXPECT_EQ(localMinute(at(1970, 1, 1, 0, 0)), 0);
}

TEST(CountdownTest, InfoTextPutsASignBlankBeforeEachNumber) {
    EXPECT_EQ(timerInfoText(15, {10, 35}), "【タイマー設定 15分 （ 10時 35分に通知）】");
    EXPECT_EQ(timerInfoText(15, {0, 5}), "【タイマー設定 15分 （ 0時 5分に通知）】");
    EXPECT_EQ(timerInfoText(7, {10, 27}), "【タイマー設定 7分 （ 10時 27分に通知）】");
}

TEST(CountdownTest, LengthIsPlainDigitsUpToTheBarsMaximum) {
    EXPECT_EQ(countdownLength("15"), 15);
    EXPECT_EQ(countdownLength("007"), 7);
    EXPECT_EQ(countdownLength("0"), 0);
    EXPECT_EQ(countdownLength("999"), 999);
    EXPECT_EQ(countdownLength("0000000000000000000000015"), 15);
    for (const char* refused : {"", "1000", "99999999999999999999999", "1.5", "-3", "+3", " 5",
                                "5 ", "1E2", "abc", "１５"}) {
        EXPECT_EQ(countdownLength(refused), std::nullopt) << '"' << refused << '"';
    }
}

} // namespace
} // namespace ambrel
