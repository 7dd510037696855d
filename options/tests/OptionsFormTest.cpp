#include "options/tests/OptionsFixture.h"

#include "app/Messages.h"

namespace ambrel {
namespace {

using testing::FakeOptionsView;
using testing::OptionsFixture;
using testing::ShownMessage;

constexpr auto soundFileBox = OptionsText::SoundFileBox;
constexpr auto hourBox = OptionsText::AlarmHourBox;
constexpr auto minuteBox = OptionsText::AlarmMinuteBox;
constexpr auto secondBox = OptionsText::AlarmSecondBox;
constexpr auto minutesBox = OptionsText::CountdownMinutesBox;
constexpr auto countdownBar = OptionsScroll::CountdownMinutesBar;
constexpr auto hourBar = OptionsScroll::AlarmHourBar;
constexpr auto minuteBar = OptionsScroll::AlarmMinuteBar;
constexpr auto secondBar = OptionsScroll::AlarmSecondBar;
constexpr auto startButton = OptionsCommand::StartButton;
constexpr auto stopButton = OptionsCommand::StopButton;

// --- Load ---------------------------------------------------------------------------------

using OptionsLoadTest = OptionsFixture;

TEST_F(OptionsLoadTest, DefaultSettingsFillEveryControl) {
    settings().alarmMessage = "起きて";
    settings().timerMessage = "お茶";
    const FakeOptionsView& view = open();

    EXPECT_EQ(view.selectedColorOption(), 1);
    EXPECT_TRUE(view.isChecked(OptionsCheck::KeepOnTopCheck));
    EXPECT_FALSE(view.isChecked(OptionsCheck::AlarmOnCheck));
    EXPECT_TRUE(view.isEnabled(startButton));
    EXPECT_FALSE(view.isEnabled(stopButton));
    EXPECT_EQ(view.texts, (std::array<std::string, 7>{"c:\\WINDOWS\\TADA.WAV", "10", "10", "10",
                                                      "10", "起きて", "お茶"}));
    EXPECT_EQ(view.scrolls, (std::array<int, 4>{10, 10, 10, 10}));
    EXPECT_TRUE(view.visible);
}

TEST_F(OptionsLoadTest, OddRecordsAreNormalised) {
    settings().textColorIndex = 12;
    settings().alwaysOnTop = "on";
    settings().alarmState = "ALON";
    const FakeOptionsView& view = open();

    EXPECT_EQ(view.selectedColorOption(), 0);
    EXPECT_EQ(settings().textColorIndex, 12);
    EXPECT_FALSE(view.isChecked(OptionsCheck::KeepOnTopCheck));
    EXPECT_TRUE(settings().alwaysOnTop.sameAs(DynamicValue("OFF")));
    EXPECT_TRUE(view.isChecked(OptionsCheck::AlarmOnCheck));
    EXPECT_TRUE(settings().alarmState.sameAs(DynamicValue("ALON")));

    closeDialog();
    settings().textColorIndex = 14;
    settings().alarmState = DynamicValue();
    const FakeOptionsView& again = open();
    EXPECT_EQ(again.selectedColorOption(), 4);
    EXPECT_FALSE(again.isChecked(OptionsCheck::AlarmOnCheck));
    EXPECT_TRUE(settings().alarmState.sameAs(DynamicValue("ALOFF")));
}

TEST_F(OptionsLoadTest, CountdownButtonsFollowTheTimerState) {
    struct Case {
        TimerState state;
        bool startEnabled, stopEnabled;
    };
    const Case cases[] = {{TimerState::On, false, true},
                          {TimerState::Off, true, false},
                          {TimerState::Unset, true, false}};
    for (const Case& c : cases) {
        countdown().state = c.state;
        const FakeOptionsView& view = open();
        EXPECT_EQ(view.isEnabled(startButton), c.startEnabled) << static_cast<int>(c.state);
        EXPECT_EQ(view.isEnabled(stopButton), c.stopEnabled) << static_cast<int>(c.state);
        closeDialog();
    }
}

TEST_F(OptionsLoadTest, MidnightAlarmPutsTheBarsAtTheLeftEnd) {
    settings().alarmHour = 0;
    settings().alarmMinute = 0;
    settings().alarmSecond = 0;
    const FakeOptionsView& view = open();
    EXPECT_EQ(view.text(hourBox), "0");
    EXPECT_EQ(view.text(minuteBox), "0");
    EXPECT_EQ(view.text(secondBox), "0");
    EXPECT_EQ(view.scrollValue(hourBar), 0);
    EXPECT_EQ(view.scrollValue(minuteBar), 0);
    EXPECT_EQ(view.scrollValue(secondBar), 0);
}

TEST_F(OptionsLoadTest, OnlyABarThatMovesRewritesItsBox) {
    countdown().minutes = "015";
    const FakeOptionsView& view = open();
    EXPECT_EQ(view.text(minutesBox), "15");
    EXPECT_EQ(view.scrollValue(countdownBar), 15);

    closeDialog();
    countdown().minutes = "01";
    const FakeOptionsView& again = open();
    EXPECT_EQ(again.text(minutesBox), "01");
    EXPECT_EQ(again.scrollValue(countdownBar), 1); // the layout's position: no change, no rewrite
}

TEST_F(OptionsLoadTest, ValuesABarCannotShowClampItAndKeepTheText) {
    struct Case {
        DynamicValue minutes;
        int bar;
    };
    // "99999" does not even convert to a 16-bit integer; the load must still succeed.
    const Case cases[] = {{"1500", 999}, {"99999", 999}, {DynamicValue(70000.0), 999}};
    for (const Case& c : cases) {
        countdown().minutes = c.minutes;
        const FakeOptionsView& view = open();
        EXPECT_EQ(view.text(minutesBox), c.minutes.toText());
        EXPECT_EQ(view.scrollValue(countdownBar), c.bar) << c.minutes.toText();
        closeDialog();
    }

    settings().alarmHour = 30;
    settings().alarmMinute = -5;
    settings().alarmSecond = 60;
    const FakeOptionsView& view = open();
    EXPECT_EQ(view.text(hourBox), "30");
    EXPECT_EQ(view.text(minuteBox), "-5");
    EXPECT_EQ(view.text(secondBox), "60");
    EXPECT_EQ(view.scrollValue(hourBar), 23);
    EXPECT_EQ(view.scrollValue(minuteBar), 0);
    EXPECT_EQ(view.scrollValue(secondBar), 59);
}

TEST_F(OptionsLoadTest, ShowingAgainDoesNotReload) {
    FakeOptionsView& view = open();
    view.setText(hourBox, "5");
    open();
    EXPECT_EQ(app.views.optionsCreated, 1);
    EXPECT_EQ(view.shows, 2);
    EXPECT_EQ(view.text(hourBox), "5");
}

TEST_F(OptionsLoadTest, DialogCreatedHiddenByTheClockIsShownAsItWas) {
    countdown().state = TimerState::On;
    EXPECT_EQ(form().soundFileText(), "c:\\WINDOWS\\TADA.WAV");
    FakeOptionsView& view = app.optionsView();
    EXPECT_FALSE(view.visible);
    EXPECT_FALSE(view.isEnabled(startButton)); // loaded as running

    countdown().state = TimerState::Off;
    form().resetCountdownButtons();
    view.setText(soundFileBox, "typed but not stored");
    open();
    EXPECT_EQ(app.views.optionsCreated, 1);
    EXPECT_TRUE(view.visible);
    EXPECT_TRUE(view.isEnabled(startButton));
    EXPECT_FALSE(view.isEnabled(stopButton));
    EXPECT_EQ(form().soundFileText(), "typed but not stored");
}

TEST_F(OptionsLoadTest, ResetOfTheButtonsCreatesTheDialogToo) {
    countdown().state = TimerState::On;
    form().resetCountdownButtons();
    ASSERT_TRUE(dialogLoaded());
    EXPECT_FALSE(app.optionsView().visible);
    EXPECT_TRUE(app.optionsView().isEnabled(startButton));
    EXPECT_FALSE(app.optionsView().isEnabled(stopButton));
}

// --- Controls -----------------------------------------------------------------------------

using OptionsControlsTest = OptionsFixture;

TEST_F(OptionsControlsTest, DigitFilterPassesDigitsAndBackspaceOnly) {
    open();
    for (const int code : {int{'0'}, int{'5'}, int{'9'}, 8}) {
        EXPECT_EQ(form().onKeyPress(minutesBox, code), code);
    }
    EXPECT_EQ(app.beeper.beeps, 0);

    // Letter, minus, space, full-width 1, Enter, Escape, Ctrl+C, Ctrl+V, Ctrl+X, '/', ':'.
    const int dropped[] = {'a', '-', ' ', 0xFF11, 13, 27, 3, 22, 24, '/', ':'};
    for (const int code : dropped) {
        EXPECT_EQ(form().onKeyPress(hourBox, code), 0) << code;
    }
    EXPECT_EQ(app.beeper.beeps, static_cast<int>(std::size(dropped)));

    // The message and sound-file boxes take any character.
    const int beeps = app.beeper.beeps;
    for (const OptionsText box : {OptionsText::AlarmMessageBox, OptionsText::CountdownMessageBox,
                                  OptionsText::SoundFileBox}) {
        EXPECT_EQ(form().onKeyPress(box, 'a'), 'a');
        EXPECT_EQ(form().onKeyPress(box, 0xFF11), 0xFF11);
    }
    EXPECT_EQ(app.beeper.beeps, beeps);
}

TEST_F(OptionsControlsTest, EachBarWritesItsOwnBox) {
    FakeOptionsView& view = open();
    form().onScrollChange(countdownBar, 120);
    form().onScrollChange(hourBar, 7);
    form().onScrollChange(minuteBar, 0);
    form().onScrollChange(secondBar, 59);
    EXPECT_EQ(view.text(minutesBox), "120");
    EXPECT_EQ(view.text(hourBox), "7");
    EXPECT_EQ(view.text(minuteBox), "0");
    EXPECT_EQ(view.text(secondBox), "59");
}

TEST_F(OptionsControlsTest, ColourOptionsStoreTheirIndexAtOnce) {
    open();
    const int16_t indexes[] = {10, 11, 13, 14};
    for (int option = 4; option >= 1; --option) {
        form().onColorOptionClick(option);
        EXPECT_EQ(settings().textColorIndex, indexes[option - 1]);
    }
}

TEST_F(OptionsControlsTest, BrowseAsksForAWaveFileAndKeepsTheBoxOnFailure) {
    FakeOptionsView& view = open();
    app.fileDialog.chosen = "D:\\音\\ベル.wav";
    form().onBrowseClick();
    EXPECT_EQ(view.text(soundFileBox), "D:\\音\\ベル.wav");
    ASSERT_EQ(app.fileDialog.requests.size(), 1u);
    const FileOpenRequest& request = app.fileDialog.requests[0];
    EXPECT_EQ(request.title, "アラームサウンドの指定");
    EXPECT_EQ(request.filter, "WAVファイル (*.WAV)|*.WAV|全てのファイル (*.*)|*.*|");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_EQ(request.defaultExtension, "WAV");
    EXPECT_TRUE(request.hideReadOnly);

    for (const int error :
         {static_cast<int>(kDialogCancelled), static_cast<int>(kInvalidArgument)}) {
        app.fileDialog.failWith = error;
        app.fileDialog.chosen = "E:\\other.wav";
        form().onBrowseClick();
        EXPECT_EQ(view.text(soundFileBox), "D:\\音\\ベル.wav");
    }
    EXPECT_TRUE(settings().soundFile.sameAs(DynamicValue("c:\\WINDOWS\\TADA.WAV")));
}

TEST_F(OptionsControlsTest, SoundTestStoresThePathAndPlaysFromTheStart) {
    FakeOptionsView& view = open();
    view.setText(soundFileBox, "D:\\bell.wav");
    app.sound.commands.clear();
    form().onTestClick();
    EXPECT_TRUE(settings().soundFile.sameAs(DynamicValue("D:\\bell.wav")));
    EXPECT_EQ(app.sound.commands, (std::vector<std::string>{"close", "open:D:\\bell.wav", "play"}));

    // An empty path is stored too; the failed open is reported and the play still sent.
    view.setText(soundFileBox, "");
    app.sound.nextOpen = {263, "デバイスを開けません"};
    app.sound.commands.clear();
    form().onTestClick();
    EXPECT_TRUE(settings().soundFile.sameAs(DynamicValue("")));
    EXPECT_EQ(app.sound.commands, (std::vector<std::string>{"close", "open:", "play"}));
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "デバイスを開けません");
}

TEST_F(OptionsControlsTest, HelpShowsTheFileBesideTheExecutable) {
    open();
    app.files.folderPath = "C:\\Program Files\\Ambrel";
    form().onHelpClick();
    EXPECT_EQ(app.help.shown, (std::vector<std::string>{"C:\\Program Files\\Ambrel\\AMBREL.HLP"}));
    EXPECT_FALSE(app.program.helpWindow().isLoaded());
}

TEST_F(OptionsControlsTest, WithoutAViewerHelpShowsTheOwnWindowOnceAndBringsItToTheFront) {
    open();
    app.help.viewer = false;
    form().onHelpClick();
    form().onHelpClick();
    EXPECT_TRUE(app.help.shown.empty());
    EXPECT_EQ(app.views.helpsCreated, 1);
    EXPECT_EQ(app.views.help->shownInFront, 2);

    // Closed, it is made afresh the next time.
    app.program.help().onClose();
    EXPECT_FALSE(app.program.helpWindow().isLoaded());
    form().onHelpClick();
    EXPECT_EQ(app.views.helpsCreated, 2);
}

// --- Countdown start and stop ---------------------------------------------------------------

using OptionsCountdownTest = OptionsFixture;

TEST_F(OptionsCountdownTest, StartStoresTheTypedLengthAndTheDueTime) {
    FakeOptionsView& view = open();
    app.clock.set(10, 20, 45);
    view.setText(minutesBox, "15");
    form().onStartClick();
    EXPECT_TRUE(countdown().state == TimerState::On);
    EXPECT_TRUE(countdown().minutes.sameAs(DynamicValue("15"))); // the text, not a number
    EXPECT_EQ(countdown().dueHour, 10);
    EXPECT_EQ(countdown().dueMinute, 35);
    LocalTime due = app.clock.time;
    due.hour = 10;
    due.minute = 35;
    EXPECT_EQ(countdown().dueMoment, localMinute(due)); // the start's date at 10:35
    EXPECT_EQ(countdown().startMoment, countdown().dueMoment - 15);
    EXPECT_FALSE(view.isEnabled(startButton));
    EXPECT_TRUE(view.isEnabled(stopButton));
    EXPECT_EQ(countdown().infoText.toText(), "【タイマー設定 15分 （ 10時 35分に通知）】");

    app.clock.set(23, 50, 0);
    form().onStartClick();
    EXPECT_EQ(countdown().infoText.toText(), "【タイマー設定 15分 （ 0時 5分に通知）】");

    app.clock.set(10, 20, 0);
    view.setText(minutesBox, "007");
    form().onStartClick();
    EXPECT_TRUE(countdown().minutes.sameAs(DynamicValue("007")));
    EXPECT_EQ(countdown().infoText.toText(), "【タイマー設定 7分 （ 10時 27分に通知）】");

    view.setText(minutesBox, "0");
    form().onStartClick();
    EXPECT_EQ(countdown().dueHour, 10);
    EXPECT_EQ(countdown().dueMinute, 20);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(OptionsCountdownTest, StopThenStartRecomputesFromTheCurrentTime) {
    FakeOptionsView& view = open();
    app.clock.set(10, 20, 0);
    form().onStartClick();
    form().onStopClick();
    EXPECT_TRUE(countdown().state == TimerState::Off);
    EXPECT_EQ(countdown().infoText.toText(), "");
    EXPECT_TRUE(view.isEnabled(startButton));
    EXPECT_FALSE(view.isEnabled(stopButton));
    EXPECT_EQ(countdown().dueMinute, 30); // kept after the stop

    app.clock.set(11, 0, 0);
    form().onStartClick();
    EXPECT_EQ(countdown().dueHour, 11);
    EXPECT_EQ(countdown().dueMinute, 10);
}

TEST_F(OptionsCountdownTest, EmptyBoxWarnsAndPutsBackTen) {
    FakeOptionsView& view = open();
    view.setText(minutesBox, "");
    form().onStartClick();
    ASSERT_EQ(app.messages.shown.size(), 1u);
    const ShownMessage& box = app.messages.shown[0];
    EXPECT_EQ(box.text, "タイマー時間指定欄が空白です。");
    EXPECT_EQ(box.title, kOptionsErrorTitle);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(view.text(minutesBox), "10");
    EXPECT_TRUE(countdown().state == TimerState::Unset);
    EXPECT_TRUE(countdown().minutes.sameAs(DynamicValue(10)));
    EXPECT_TRUE(view.isEnabled(startButton));
    EXPECT_FALSE(view.isEnabled(stopButton));
}

TEST_F(OptionsCountdownTest, LengthsTheDialogCannotShowAreRefused) {
    FakeOptionsView& view = open();
    app.clock.set(10, 20, 0);
    for (const char* pasted : {"1000", "99999", "1.5", "-5", "abc", "１５"}) {
        app.messages.shown.clear();
        view.setText(minutesBox, pasted);
        form().onStartClick();
        ASSERT_EQ(app.messages.shown.size(), 1u) << pasted;
        EXPECT_EQ(app.messages.shown[0].text,
                  "タイマー時間は 0 から 999 分の範囲で指定して下さい。");
        EXPECT_EQ(app.messages.shown[0].title, kOptionsErrorTitle);
        EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(view.text(minutesBox), pasted);
        EXPECT_TRUE(countdown().state == TimerState::Unset);
        EXPECT_TRUE(countdown().minutes.sameAs(DynamicValue(10)));
        EXPECT_TRUE(view.isEnabled(startButton));
    }
    view.setText(minutesBox, "999");
    form().onStartClick();
    EXPECT_TRUE(countdown().state == TimerState::On);
}

} // namespace
} // namespace ambrel
