#include "clock/tests/ClockTestSupport.h"

#include "app/Messages.h"

#include <string>

namespace ambrel::testing {
namespace {

const std::string kHint = "ダブルクリックすると表示形式が切り替わります";

using TickTooltip = ClockTest;

TEST_F(TickTooltip, HintAloneWithoutAlarmOrCountdown) {
    tickAt(9, 0, 0);
    EXPECT_EQ(view().tooltip, kHint);
}

TEST_F(TickTooltip, CountdownThenAlarmThenHint) {
    armAlarm(10, 10, 10);
    tickAt(9, 0, 0);
    EXPECT_EQ(view().tooltip, "【アラーム設定 10時 10分 10秒】" + kHint);

    countdown().infoText = "【タイマー設定 15分】";
    tickAt(9, 0, 1);
    EXPECT_EQ(view().tooltip, "【タイマー設定 15分】【アラーム設定 10時 10分 10秒】" + kHint);

    settings().alarmState = "ALOFF";
    tickAt(9, 0, 2);
    EXPECT_EQ(view().tooltip, "【タイマー設定 15分】" + kHint);
}

TEST_F(TickTooltip, RebuiltFromTheSettingsOnEveryTick) {
    armAlarm(7, 5, 0);
    tickAt(6, 0, 0);
    EXPECT_EQ(view().tooltip, "【アラーム設定 7時 5分 0秒】" + kHint);
    settings().alarmHour = -3;
    tickAt(6, 0, 0);
    EXPECT_EQ(view().tooltip, "【アラーム設定-3時 5分 0秒】" + kHint);
}

using TickDisplay = ClockTest;

TEST_F(TickDisplay, TicksThatChangeNothingLeaveTheWindowAlone) {
    armAlarm(10, 10, 10);
    settings().displayMode = "T";
    tickAt(9, 5, 7);
    const int afterFirst = view().textsSet;
    for (int i = 0; i < 9; ++i) {
        tickAt(9, 5, 7);
    }
    EXPECT_EQ(view().textsSet, afterFirst);

    tickAt(9, 5, 8); // a new second: the texts, not the tooltip
    EXPECT_EQ(view().secondText, "08sec");
    EXPECT_EQ(view().textsSet, afterFirst + 2);

    // Whatever the tooltip is made of shows at the next tick, in the same second.
    countdown().infoText = "【タイマー設定 15分】";
    tickAt(9, 5, 8);
    EXPECT_EQ(view().tooltip, "【タイマー設定 15分】【アラーム設定 10時 10分 10秒】" + kHint);
    settings().alarmSecond = 11;
    tickAt(9, 5, 8);
    EXPECT_EQ(view().tooltip, "【タイマー設定 15分】【アラーム設定 10時 10分 11秒】" + kHint);
    settings().displayMode = "D";
    tickAt(9, 5, 8);
    EXPECT_EQ(view().secondText, "09:05");
}

TEST_F(TickDisplay, ShowsTheCurrentFormatInThePaletteColour) {
    app.clock.time.month = 12;
    app.clock.time.day = 28;
    app.clock.time.weekday = 6;
    tickAt(9, 5, 7); // the default file's format D and colour 10
    EXPECT_EQ(view().mainText, "12/28(土)");
    EXPECT_EQ(view().secondText, "09:05");
    EXPECT_EQ(view().color, (Rgb{0, 255, 0}));

    settings().displayMode = "T";
    settings().textColorIndex = 13;
    tickAt(9, 5, 8);
    EXPECT_EQ(view().mainText, "09 : 05");
    EXPECT_EQ(view().secondText, "08sec");
    EXPECT_EQ(view().color, (Rgb{255, 0, 255}));
}

TEST_F(TickDisplay, ColourIsSetOnEveryTickEvenUnchanged) {
    tickAt(9, 0, 0);
    view().color = Rgb{1, 2, 3}; // as if someone else had painted the labels
    tickAt(9, 0, 0);
    EXPECT_EQ(view().color, (Rgb{0, 255, 0}));
}

TEST_F(TickDisplay, DoubleClickSwitchesFormatAtTheNextTick) {
    tickAt(9, 5, 7);
    EXPECT_EQ(settings().displayMode, "D");
    form().onDisplayDoubleClick();
    EXPECT_EQ(settings().displayMode, "T");
    EXPECT_EQ(view().secondText, "09:05"); // nothing changes before the tick
    tickAt(9, 5, 7);
    EXPECT_EQ(view().secondText, "07sec");
    form().onDisplayDoubleClick();
    EXPECT_EQ(settings().displayMode, "D");
}

TEST_F(TickDisplay, UnknownFormatKeepsTheLabelsForOneTickThenShowsT) {
    settings().displayMode = "t"; // a hand-edited file
    const std::string mainText = view().mainText;
    const std::string secondText = view().secondText;
    tickAt(9, 5, 7);
    EXPECT_EQ(view().mainText, mainText);
    EXPECT_EQ(view().secondText, secondText);
    EXPECT_EQ(settings().displayMode, "T");
    tickAt(9, 5, 7);
    EXPECT_EQ(view().mainText, "09 : 05");

    settings().displayMode = "x";
    form().onDisplayDoubleClick(); // anything but "T" switches to T
    EXPECT_EQ(settings().displayMode, "T");
}

TEST_F(TickDisplay, MidnightShowsTheNewDate) {
    app.clock.time.month = 12;
    app.clock.time.day = 31;
    app.clock.time.weekday = 5;
    tickAt(23, 59, 59);
    EXPECT_EQ(view().mainText, "12/31(金)");
    app.clock.time.month = 1;
    app.clock.time.day = 1;
    app.clock.time.weekday = 6;
    tickAt(0, 0, 0);
    EXPECT_EQ(view().mainText, "1/1(土)");
    EXPECT_EQ(view().secondText, "00:00");
}

class TickFailure : public ClockTest, public ::testing::WithParamInterface<int> {};

TEST_P(TickFailure, ColourOutOfRangeReportsErrorFiveOnceAndEndsWithoutSaving) {
    const std::string fileBefore = app.files.files.at("AMBREL.SET");
    const int replacesBefore = app.files.replaceCount;
    const std::string mainText = view().mainText;
    settings().textColorIndex = static_cast<int16_t>(GetParam());
    settings().windowLeft = 555; // a change that must not reach the file

    int ticksBehindTheBox = 0;
    app.messages.whileOpen = [&] {
        // A real modal box lets the timer run on.
        ++ticksBehindTheBox;
        tickAt(9, 0, 1);
        tickAt(9, 0, 2);
    };
    app.clock.set(9, 0, 0);
    EXPECT_THROW(form().onTick(), ProgramEnded);

    EXPECT_EQ(ticksBehindTheBox, 1);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "エラー ( 5) が発生しました、終了します。");
    EXPECT_EQ(app.messages.shown[0].title, "Ambrel V2 エラー");
    EXPECT_EQ(app.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(app.beeper.beeps, 1);
    EXPECT_EQ(app.exit.ends, 1);
    EXPECT_EQ(app.files.replaceCount, replacesBefore);
    EXPECT_EQ(app.files.files.at("AMBREL.SET"), fileBefore);
    EXPECT_EQ(view().mainText, mainText); // the texts come after the colour
}

INSTANTIATE_TEST_SUITE_P(OutOfPalette, TickFailure, ::testing::Values(16, -1));

TEST_F(ClockTest, WatchRunsBeforeTheColourFails) {
    armAlarm(9, 0, 0);
    settings().textColorIndex = 16;
    app.clock.set(9, 0, 0);
    EXPECT_THROW(form().onTick(), ProgramEnded);
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(noticeOpen());
    EXPECT_EQ(app.messages.shown.size(), 1u);
}

} // namespace
} // namespace ambrel::testing
