#include "clock/tests/ClockTestSupport.h"

#include <string>

namespace ambrel::testing {
namespace {

const std::string kHint = "ダブルクリックすると表示形式が切り替わります";

using AlarmWatch = ClockTest;

TEST_F(AlarmWatch, FiresOnceInItsSecondAndRearmsAtTheNext) {
    armAlarm(10, 10, 10);
    settings().alarmMessage = "会議";
    tickSecond(10, 10, 9);
    EXPECT_EQ(plays(), 0);
    EXPECT_FALSE(noticeOpen());

    tickAt(10, 10, 10);
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(settings().alarmState == "ALOFF");
    EXPECT_TRUE(app.program.suspendedAlarm() == SavedAlarmState::Armed);
    ASSERT_TRUE(noticeOpen());
    EXPECT_EQ(app.noticeView().headline, "アラーム設定時刻 10時 10分 10秒を過ぎました。");
    EXPECT_EQ(app.noticeView().message, "会議");

    // Suspended for the rest of its second: no sound, and the tooltip lacks the alarm.
    for (int i = 0; i < 9; ++i) {
        tickAt(10, 10, 10);
    }
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(view().tooltip, kHint);

    tickAt(10, 10, 11);
    EXPECT_TRUE(settings().alarmState == "ALON");
    EXPECT_TRUE(app.program.suspendedAlarm() == SavedAlarmState::None);
    EXPECT_EQ(view().tooltip, kHint); // rebuilt before the re-arm, so one tick late
    tickAt(10, 10, 11);
    EXPECT_EQ(view().tooltip, "【アラーム設定 10時 10分 10秒】" + kHint);

    nextDay();
    tickSecond(10, 10, 9);
    tickSecond(10, 10, 10);
    tickSecond(10, 10, 11);
    EXPECT_EQ(plays(), 2);
    EXPECT_TRUE(settings().alarmState == "ALON");
}

TEST_F(AlarmWatch, AClosingWithinItsSecondSavesItArmed) {
    armAlarm(10, 10, 10);
    tickSecond(10, 10, 9);
    tickAt(10, 10, 10);
    ASSERT_TRUE(settings().alarmState == "ALOFF"); // suspended
    EXPECT_THROW(app.program.unloadClockWindow(), ProgramEnded);
    const std::string saved = app.files.files["AMBREL.SET"];
    EXPECT_NE(saved.find("\r\n10,10,10\r\n\"ALON\"\r\n"), std::string::npos) << saved;
}

TEST_F(AlarmWatch, AnAlarmSwitchedOffIsSavedOff) {
    armAlarm(10, 10, 10);
    settings().alarmState = "ALOFF";
    tickSecond(10, 10, 10);
    EXPECT_THROW(app.program.unloadClockWindow(), ProgramEnded);
    const std::string saved = app.files.files["AMBREL.SET"];
    EXPECT_NE(saved.find("\r\n10,10,10\r\n\"ALOFF\"\r\n"), std::string::npos) << saved;
}

TEST_F(AlarmWatch, HeadlineHasSignBlanksAndNoLeadingZeros) {
    armAlarm(7, 5, 9);
    tickAt(7, 5, 9);
    EXPECT_EQ(app.noticeView().headline, "アラーム設定時刻 7時 5分 9秒を過ぎました。");
}

TEST_F(AlarmWatch, ASecondNoTickFellIntoGivesItAtTheNextTickOnceAndASetBackMeetsItAgain) {
    armAlarm(10, 10, 10);
    tickAt(10, 10, 9);
    tickAt(10, 10, 12); // the tick was held back, or the system clock jumped past the alarm
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(app.noticeView().headline, "アラーム設定時刻 10時 10分 10秒を過ぎました。");
    tickSecond(10, 10, 13);
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(settings().alarmState == "ALON");

    tickAt(10, 9, 0); // the clock set back before the alarm
    EXPECT_EQ(plays(), 1);
    tickSecond(10, 10, 10);
    EXPECT_EQ(plays(), 2);
}

TEST_F(AlarmWatch, AsleepOverItsTimeAndMidnightItComesAtWakingButNotAtAStartAfterIt) {
    armAlarm(23, 59, 59);
    tickAt(23, 59, 58);
    nextDay();
    tickAt(0, 0, 5);
    EXPECT_EQ(plays(), 1);
    tickSecond(0, 0, 6);
    EXPECT_EQ(plays(), 1);

    TestProgram later; // started after the alarm's time: nothing before the next day
    later.startWithDefaults();
    later.settings().alarmState = "ALON";
    later.clock.set(10, 10, 11);
    later.program.clock().onTick();
    EXPECT_EQ(later.sound.count("play"), 0);
}

TEST_F(AlarmWatch, OffOrLowerCaseNeverFires) {
    for (const char* state : {"ALOFF", "alon", ""}) {
        settings().alarmState = state;
        tickAt(10, 10, 10); // the default file's alarm time
    }
    EXPECT_EQ(plays(), 0);
    EXPECT_FALSE(noticeOpen());
}

TEST_F(AlarmWatch, TimeOutsideTheDayNeverMatchesButStillShows) {
    armAlarm(24, 0, 0);
    for (int second = 0; second < 24 * 3600; ++second) {
        tickAt(second / 3600, second / 60 % 60, second % 60);
    }
    EXPECT_EQ(plays(), 0);
    EXPECT_EQ(view().tooltip, "【アラーム設定 24時 0分 0秒】" + kHint);
}

TEST_F(AlarmWatch, TakesTheOptionsDialogsSoundFieldAsTyped) {
    app.program.optionsWindow().createdOnUse(); // open, its field being edited
    app.optionsView().texts[0] = "D:\\edited.wav";
    armAlarm(8, 0, 0);
    tickAt(8, 0, 0);
    EXPECT_TRUE(settings().soundFile == "D:\\edited.wav");
    // The device keeps the file it opened: the watch does not reopen it.
    EXPECT_EQ(app.sound.count("open:D:\\edited.wav"), 0);
}

TEST_F(AlarmWatch, LoadsTheOptionsDialogHiddenForTheSoundField) {
    armAlarm(8, 0, 0);
    tickAt(8, 0, 0);
    ASSERT_TRUE(app.program.optionsWindow().isLoaded());
    EXPECT_FALSE(app.optionsView().visible);
    EXPECT_TRUE(settings().soundFile == "c:\\WINDOWS\\TADA.WAV");
}

using CountdownWatch = ClockTest;

TEST_F(CountdownWatch, FallsDueAtTheFirstTickOfItsMinuteAcrossMidnight) {
    runCountdown(10, 23, 55); // started at 23:55:30, due at 0:05 of the next day
    settings().timerMessage = "お茶";
    tickSecond(23, 55, 30); // not past 0:05 of the next day, though past 0:05 of the day
    tickSecond(23, 59, 59);
    nextDay();
    tickSecond(0, 4, 59);
    EXPECT_EQ(plays(), 0);

    tickAt(0, 5, 0);
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(countdown().state == TimerState::Off);
    EXPECT_EQ(countdown().infoText.toText(), "");
    ASSERT_TRUE(noticeOpen());
    EXPECT_EQ(app.noticeView().headline, "タイマー設定時間 10分を過ぎました。");
    EXPECT_EQ(app.noticeView().message, "お茶");

    tickSecond(0, 5, 1);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(view().tooltip, kHint);
}

TEST_F(CountdownWatch, ZeroMinutesFallsDueAtTheNextTickEvenInAMinutesLastTick) {
    runCountdown(0, 14, 20);
    tickAt(14, 20, 59);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(app.noticeView().headline, "タイマー設定時間 0分を過ぎました。");

    // Started in the last tick of 14:20, the next tick is already in 14:21.
    runCountdown(0, 14, 20);
    tickAt(14, 21, 0);
    EXPECT_EQ(plays(), 2);
}

TEST_F(CountdownWatch, ASleepThroughTheDueMinuteFallsDueAtWakingOnceAndNotTheNextDay) {
    runCountdown(5, 14, 0); // due at 14:05
    tickSecond(14, 4, 59);
    EXPECT_EQ(plays(), 0);
    tickAt(14, 15, 12); // the first tick after ten minutes asleep
    EXPECT_EQ(plays(), 1);
    EXPECT_TRUE(countdown().state == TimerState::Off);
    tickSecond(14, 15, 13);
    nextDay();
    tickSecond(14, 5, 0);
    EXPECT_EQ(plays(), 1);

    // Asleep across midnight, past a due time of the next day.
    runCountdown(10, 23, 55);
    nextDay();
    tickAt(7, 30, 0);
    EXPECT_EQ(plays(), 2);
}

TEST_F(CountdownWatch, AClockSetBackWaitsForTheAnnouncedTimeAgain) {
    runCountdown(5, 15, 0); // due at 15:05
    tickSecond(15, 0, 10);
    tickSecond(14, 5, 0); // the clock set back by 55 minutes
    tickSecond(15, 4, 59);
    EXPECT_EQ(plays(), 0);
    tickAt(15, 5, 0);
    EXPECT_EQ(plays(), 1);
}

TEST_F(CountdownWatch, ADateSetBackFallsDueAtTheAnnouncedHourAndMinuteOnce) {
    app.clock.time.day = 10;
    runCountdown(15, 10, 20); // announced for 10:35
    tickSecond(10, 21, 0);
    --app.clock.time.day; // the date set back a day, to a moment before the start
    tickSecond(10, 34, 59);
    EXPECT_EQ(plays(), 0);
    tickAt(10, 35, 0);
    EXPECT_EQ(plays(), 1);
    tickSecond(10, 35, 1);
    nextDay(); // the date set right again: the countdown has fallen due already
    tickSecond(10, 35, 0);
    EXPECT_EQ(plays(), 1);
}

TEST_F(CountdownWatch, ALongCountdownWaitsForItsDayNotOnlyItsTimeOfDay) {
    runCountdown(999, 12, 0); // 16 h 39 min: due at 4:39 of the next day
    tickSecond(12, 39, 0);
    tickSecond(23, 59, 59);
    nextDay();
    tickSecond(4, 38, 59);
    EXPECT_EQ(plays(), 0);
    tickAt(4, 39, 0);
    EXPECT_EQ(plays(), 1);
}

TEST_F(CountdownWatch, MinutesTypedAsDigitsAreReadAsTheirNumber) {
    runCountdown(0, 14, 20);
    countdown().minutes = "15";
    tickAt(14, 20, 0);
    EXPECT_EQ(app.noticeView().headline, "タイマー設定時間 15分を過ぎました。");
}

TEST_F(CountdownWatch, ResetsTheDialogsButtonsLoadingItHidden) {
    runCountdown(10, 14, 10);
    tickAt(14, 20, 0);
    ASSERT_TRUE(app.program.optionsWindow().isLoaded());
    EXPECT_FALSE(app.optionsView().visible);
    EXPECT_TRUE(app.optionsView().command5Enabled);
    EXPECT_FALSE(app.optionsView().command6Enabled);

    app.optionsView().command5Enabled = false; // as a later start leaves them
    app.optionsView().command6Enabled = true;
    runCountdown(10, 14, 20);
    tickAt(14, 30, 0);
    EXPECT_TRUE(app.optionsView().command5Enabled);
    EXPECT_FALSE(app.optionsView().command6Enabled);
    EXPECT_EQ(app.views.optionsCreated, 1);
}

TEST_F(CountdownWatch, MinutesThatAreNoNumberEndTheProgramWithErrorThirteen) {
    runCountdown(10, 14, 10);
    countdown().minutes = "abc";
    settings().timerMessage = "お茶";
    app.clock.set(14, 20, 0);
    EXPECT_THROW(form().onTick(), ProgramEnded);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "エラー ( 13) が発生しました、終了します。");
    EXPECT_EQ(app.beeper.beeps, 1);
    EXPECT_EQ(plays(), 1);
    // The notice was already open when the headline failed.
    ASSERT_TRUE(noticeOpen());
    EXPECT_EQ(app.noticeView().headline, "");
    EXPECT_EQ(app.noticeView().message, "");
}

using BothDue = ClockTest;

TEST_F(BothDue, AlarmFirstThenCountdownInOneNotice) {
    armAlarm(12, 0, 0);
    settings().alarmMessage = "昼";
    runCountdown(30, 11, 30);
    settings().timerMessage = "パスタ";
    tickAt(12, 0, 0);
    EXPECT_EQ(plays(), 2);
    EXPECT_EQ(app.views.noticesCreated, 1);
    EXPECT_EQ(app.noticeView().headline, "タイマー設定時間 30分を過ぎました。");
    EXPECT_EQ(app.noticeView().message, "パスタ");
    EXPECT_TRUE(settings().alarmState == "ALOFF");
    EXPECT_TRUE(countdown().state == TimerState::Off);
}

using NoticeFromWatch = ClockTest;

TEST_F(NoticeFromWatch, SecondNoticeReusesTheOpenWindowAndReplacesBothTexts) {
    runCountdown(5, 8, 55);
    settings().timerMessage = "前の知らせ";
    tickAt(9, 0, 0);
    FakeNoticeView* first = &app.noticeView();
    first->leftTwips = 42; // the user moved it
    first->topTwips = 43;

    armAlarm(9, 1, 0);
    settings().alarmMessage = ""; // an empty message empties the old one
    tickAt(9, 1, 0);
    EXPECT_EQ(&app.noticeView(), first);
    EXPECT_EQ(app.views.noticesCreated, 1);
    EXPECT_EQ(first->leftTwips, 42);
    EXPECT_EQ(first->topTwips, 43);
    EXPECT_EQ(first->headline, "アラーム設定時刻 9時 1分 0秒を過ぎました。");
    EXPECT_EQ(first->message, "");

    app.program.notice().onCloseClick();
    EXPECT_FALSE(noticeOpen());
    tickAt(9, 1, 1);
    armAlarm(9, 2, 0);
    tickAt(9, 2, 0);
    EXPECT_EQ(app.views.noticesCreated, 2);
    EXPECT_EQ(app.noticeView().leftTwips, 15360.0f / 2 - 3097); // centred afresh
    EXPECT_EQ(app.noticeView().topTwips, 11520.0f / 2 - 893);
    EXPECT_TRUE(app.noticeView().topmost);
}

} // namespace
} // namespace ambrel::testing
