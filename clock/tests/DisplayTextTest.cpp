#include "clock/DisplayText.h"

#include "app/DynamicValue.h"
#include "app/NumberRules.h"
#include "app/RuntimeError.h"
#include "clock/Palette.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

LocalTime at(int month, int day, int weekday, int hour, int minute, int second) {
    LocalTime time;
    time.month = month;
    time.day = day;
    time.weekday = weekday;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

TEST(DisplayFormats, TimeFormatHasTwoDigitFieldsAndSeconds) {
    const DisplayTexts saturday = timeFormatTexts(at(12, 28, 6, 9, 5, 7));
    EXPECT_EQ(saturday.mainText, "09 : 05");
    EXPECT_EQ(saturday.secondText, "07sec");

    const DisplayTexts midnight = timeFormatTexts(at(1, 1, 0, 0, 0, 0));
    EXPECT_EQ(midnight.mainText, "00 : 00");
    EXPECT_EQ(midnight.secondText, "00sec");

    const DisplayTexts last = timeFormatTexts(at(12, 31, 5, 23, 59, 59));
    EXPECT_EQ(last.mainText, "23 : 59");
    EXPECT_EQ(last.secondText, "59sec");
}

TEST(DisplayFormats, DateFormatHasNoLeadingZerosInTheDate) {
    const DisplayTexts december = dateFormatTexts(at(12, 28, 6, 9, 5, 7));
    EXPECT_EQ(december.mainText, "12/28(土)");
    EXPECT_EQ(december.secondText, "09:05");

    const DisplayTexts january = dateFormatTexts(at(1, 5, 0, 0, 0, 0));
    EXPECT_EQ(january.mainText, "1/5(日)");
    EXPECT_EQ(january.secondText, "00:00");

    EXPECT_EQ(dateFormatTexts(at(10, 1, 3, 23, 59, 0)).mainText, "10/1(水)");
}

TEST(DisplayFormats, EveryWeekdayHasItsCharacter) {
    const char* expected[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int weekday = 0; weekday < 7; ++weekday) {
        EXPECT_EQ(weekdayCharacter(weekday), expected[weekday]);
        EXPECT_EQ(dateFormatTexts(at(3, weekday + 1, weekday, 8, 0, 0)).mainText,
                  std::to_string(3) + "/" + std::to_string(weekday + 1) + "(" + expected[weekday] +
                      ")");
    }
}

TEST(TooltipPieces, AlarmInfoWritesEachNumberAfterItsSignPlace) {
    EXPECT_EQ(alarmInfoText("ALON", 7, 5, 0), "【アラーム設定 7時 5分 0秒】");
    EXPECT_EQ(alarmInfoText("ALON", 10, 10, 10), "【アラーム設定 10時 10分 10秒】");
    // Only a hand-edited file holds these; they are shown as they are.
    EXPECT_EQ(alarmInfoText("ALON", -1, 24, -59), "【アラーム設定-1時 24分-59秒】");
}

TEST(TooltipPieces, AlarmInfoNumbersMatchTheProgramsNumberText) {
    for (int value = -32768; value <= 32767; ++value) {
        ASSERT_EQ(alarmInfoText("ALON", value, 0, value),
                  "【アラーム設定" + numberText(value) + "時 0分" + numberText(value) + "秒】");
    }
}

TEST(TooltipPieces, AlarmInfoIsEmptyUnlessExactlyArmed) {
    EXPECT_EQ(alarmInfoText("ALOFF", 7, 5, 0), "");
    EXPECT_EQ(alarmInfoText("alon", 7, 5, 0), "");
    EXPECT_EQ(alarmInfoText(DynamicValue(), 7, 5, 0), "");
    EXPECT_EQ(alarmInfoText(DynamicValue(1), 7, 5, 0), "");
}

TEST(TooltipPieces, JoinedInOrderWithoutSeparators) {
    EXPECT_EQ(tooltipText("A", "B", "C"), "ABC");
    EXPECT_EQ(tooltipText(DynamicValue(), DynamicValue(), "ヒント"), "ヒント");
    EXPECT_EQ(tooltipText(DynamicValue(15), DynamicValue(), "ヒント"), "15ヒント");
}

TEST(TextPalette, SixteenClassicColours) {
    EXPECT_EQ(paletteColor(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(paletteColor(7), (Rgb{192, 192, 192}));
    EXPECT_EQ(paletteColor(8), (Rgb{128, 128, 128}));
    EXPECT_EQ(paletteColor(10), (Rgb{0, 255, 0}));
    EXPECT_EQ(paletteColor(11), (Rgb{0, 255, 255}));
    EXPECT_EQ(paletteColor(13), (Rgb{255, 0, 255}));
    EXPECT_EQ(paletteColor(14), (Rgb{255, 255, 0}));
    EXPECT_EQ(paletteColor(15), (Rgb{255, 255, 255}));
    for (int index : {-1, 16, 32767}) {
        try {
            paletteColor(index);
            ADD_FAILURE() << index;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), kInvalidArgument) << index;
        }
    }
}

} // namespace
} // namespace ambrel
