#include "options/Countdown.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

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
        const CountdownDue due = countdownDue(c.minutes, c.hour, c.minute);
        EXPECT_EQ(due.hour, c.dueHour) << c.minutes << " at " << c.hour << ":" << c.minute;
        EXPECT_EQ(due.minute, c.dueMinute) << c.minutes << " at " << c.hour << ":" << c.minute;
    }
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
