#include "clock/tests/ClockTestSupport.h"

#include <array>
#include <string>

namespace ambrel::testing {
namespace {

using ClockSoak = ClockTest;

// A week of ticks at 100 ms on the settable clock (6,048,000 ticks): an alarm armed every day
// and a countdown started at the top of every hour. Each falls due exactly once, the notice is
// closed after each, and nothing accumulates: one options dialog, a notice created per event and
// destroyed at its close.
TEST_F(ClockSoak, SevenDaysOfTicks) {
    constexpr int kDays = 7;
    armAlarm(7, 5, 0);
    settings().displayMode = "T";
    const std::string alarmHeadline = "アラーム設定時刻 7時 5分 0秒を過ぎました。";
    const std::string countdownHeadline = "タイマー設定時間 30分を過ぎました。";

    std::array<int, kDays> alarmsPerDay{};
    std::array<std::array<int, 24>, kDays> countdownsPerHour{};
    LocalTime& time = app.clock.time;

    for (int day = 0; day < kDays; ++day) {
        for (int secondOfDay = 0; secondOfDay < 24 * 3600; ++secondOfDay) {
            time.hour = secondOfDay / 3600;
            time.minute = secondOfDay / 60 % 60;
            time.second = secondOfDay % 60;
            if (time.minute == 0 && time.second == 0) {
                runCountdown(30, time.hour, 0);
            }
            for (int tenth = 0; tenth < 10; ++tenth) {
                form().onTick();
                if (noticeOpen()) {
                    const std::string& headline = app.noticeView().headline;
                    if (headline == alarmHeadline) {
                        ++alarmsPerDay[day];
                    } else if (headline == countdownHeadline) {
                        ++countdownsPerHour[day][time.hour];
                    } else {
                        ADD_FAILURE() << headline;
                    }
                    app.program.notice().onCloseClick();
                }
            }
        }
        nextDay();
    }

    for (int day = 0; day < kDays; ++day) {
        EXPECT_EQ(alarmsPerDay[day], 1) << "day " << day;
        for (int hour = 0; hour < 24; ++hour) {
            EXPECT_EQ(countdownsPerHour[day][hour], 1) << "day " << day << " hour " << hour;
        }
    }
    const int events = kDays + kDays * 24;
    EXPECT_EQ(plays(), events);
    EXPECT_EQ(app.views.noticesCreated, events);
    EXPECT_FALSE(noticeOpen());
    EXPECT_EQ(app.views.optionsCreated, 1);
    EXPECT_TRUE(settings().alarmState == "ALON");
    EXPECT_EQ(view().tooltip,
              "【アラーム設定 7時 5分 0秒】ダブルクリックすると表示形式が切り替わります");
    EXPECT_EQ(view().mainText, "23 : 59");
    EXPECT_EQ(view().secondText, "59sec");
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace ambrel::testing
