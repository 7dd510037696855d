#include "options/tests/OptionsFixture.h"

#include "app/Messages.h"
#include "app/SettingsFile.h"

#include <string>
#include <vector>

namespace ambrel {
namespace {

using testing::FakeOptionsView;
using testing::OptionsFixture;

constexpr auto soundFileBox = OptionsText::SoundFileBox;
constexpr auto hourBox = OptionsText::AlarmHourBox;
constexpr auto minuteBox = OptionsText::AlarmMinuteBox;
constexpr auto secondBox = OptionsText::AlarmSecondBox;

constexpr const char* kEmptyAlarm = "アラーム時刻指定欄が空白です。";
constexpr const char* kAlarmRange = "アラーム時刻の指定が、時間の範囲を超えています。";
constexpr const char* kNoSoundFile = "WAVファイルが指定されていません。";
constexpr const char* kCheckError = "エラー発生、オプション設定の入力に間違いの可能性があります。"
                                    "再試行で復帰、キャンセルで終了します。";

class OptionsCloseTest : public OptionsFixture {
protected:
    void SetUp() override {
        OptionsFixture::SetUp();
        view = &open();
        app.sound.commands.clear();
    }
    void setAlarm(const char* hour, const char* minute, const char* second) {
        view->setText(hourBox, hour);
        view->setText(minuteBox, minute);
        view->setText(secondBox, second);
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : app.messages.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }
    void expectAlarm(int hour, int minute, int second) {
        EXPECT_EQ(settings().alarmHour, hour);
        EXPECT_EQ(settings().alarmMinute, minute);
        EXPECT_EQ(settings().alarmSecond, second);
    }

    FakeOptionsView* view = nullptr;
};

TEST_F(OptionsCloseTest, AcceptedCloseCommitsEveryControlThenReopensTheSound) {
    view->setChecked(OptionsCheck::KeepOnTopCheck, false);
    view->setChecked(OptionsCheck::AlarmOnCheck, true);
    view->setText(soundFileBox, "D:\\bell.wav");
    setAlarm("7", "5", "007");
    view->setText(OptionsText::CountdownMinutesBox, "30"); // typed without Start: dropped
    view->setText(OptionsText::AlarmMessageBox, "起きる時間です");
    view->setText(OptionsText::CountdownMessageBox, "");
    const int topmostCalls = app.clockView().topmostCalls;

    form().requestClose();

    EXPECT_FALSE(dialogLoaded());
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(settings().alwaysOnTop.sameAs(DynamicValue("OFF")));
    EXPECT_TRUE(settings().alarmState.sameAs(DynamicValue("ALON")));
    EXPECT_TRUE(settings().soundFile.sameAs(DynamicValue("D:\\bell.wav")));
    expectAlarm(7, 5, 7);
    EXPECT_TRUE(settings().alarmMessage.sameAs(DynamicValue("起きる時間です")));
    EXPECT_TRUE(settings().timerMessage.sameAs(DynamicValue("")));
    EXPECT_TRUE(countdown().minutes.sameAs(DynamicValue(10)));
    EXPECT_EQ(app.sound.commands, (std::vector<std::string>{"close", "open:D:\\bell.wav"}));
    EXPECT_EQ(app.clockView().topmostCalls, topmostCalls + 1);
    EXPECT_FALSE(app.clockView().topmost);

    // The next opening loads afresh from the record.
    const FakeOptionsView& again = open();
    EXPECT_EQ(app.views.optionsCreated, 2);
    EXPECT_EQ(again.text(OptionsText::CountdownMinutesBox), "10");
    EXPECT_EQ(again.text(secondBox), "7");
}

TEST_F(OptionsCloseTest, ASoundFileThatCannotOpenIsReportedButTheDialogCloses) {
    view->setText(soundFileBox, "D:\\missing.wav");
    app.sound.nextOpen = {275, "ファイルが見つかりません"};
    form().requestClose();
    EXPECT_FALSE(dialogLoaded());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].title, kErrorTitle);
    EXPECT_TRUE(app.clockView().topmost);
}

TEST_F(OptionsCloseTest, EveryFailingCheckReportsAndTheLaterOnesStillRun) {
    setAlarm("", "", "");
    view->setText(soundFileBox, "");
    form().requestClose();
    EXPECT_TRUE(dialogLoaded());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{kEmptyAlarm, kNoSoundFile}));
    for (const auto& box : app.messages.shown) {
        EXPECT_EQ(box.title, kOptionsErrorTitle);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.icon, MessageIcon::Warning);
    }
    EXPECT_TRUE(app.sound.commands.empty());
}

TEST_F(OptionsCloseTest, OneEmptyAlarmBoxConvertsNoneOfThem) {
    setAlarm("7", "", "30");
    form().requestClose();
    EXPECT_TRUE(dialogLoaded());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{kEmptyAlarm}));
    expectAlarm(10, 10, 10);
}

TEST_F(OptionsCloseTest, OutOfRangeTimesAreStoredButRefused) {
    struct Case {
        const char *hour, *minute, *second;
        int storedHour, storedMinute, storedSecond;
    };
    const Case cases[] = {
        {"24", "0", "0", 24, 0, 0},    {"23", "60", "0", 23, 60, 0}, {"23", "59", "60", 23, 59, 60},
        {"-1", "0", "0", -1, 0, 0}, // a pasted minus sign could never fall due
        {"0", "-0", "-30", 0, 0, -30},
    };
    for (const Case& c : cases) {
        app.messages.shown.clear();
        setAlarm(c.hour, c.minute, c.second);
        form().requestClose();
        ASSERT_TRUE(dialogLoaded()) << c.hour << ":" << c.minute << ":" << c.second;
        EXPECT_EQ(shownTexts(), (std::vector<std::string>{kAlarmRange}));
        expectAlarm(c.storedHour, c.storedMinute, c.storedSecond);
    }
    // The check runs on the stored fields, so the edge values themselves pass.
    setAlarm("23", "59", "59");
    form().requestClose();
    EXPECT_FALSE(dialogLoaded());
}

TEST_F(OptionsCloseTest, RetryGoesOnWithTheStepAfterTheFailedConversion) {
    for (const OptionsText failing : {hourBox, minuteBox, secondBox}) {
        settings().alarmHour = settings().alarmMinute = settings().alarmSecond = 10;
        app.messages.shown.clear();
        setAlarm("5", "6", "7");
        view->setText(failing, "99999");
        view->setText(soundFileBox, "");
        form().requestClose();

        ASSERT_TRUE(dialogLoaded());
        ASSERT_EQ(shownTexts(), (std::vector<std::string>{kCheckError, kNoSoundFile}));
        EXPECT_EQ(app.messages.shown[0].buttons, MessageButtons::RetryCancel);
        EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(app.messages.shown[0].title, kOptionsErrorTitle);
        expectAlarm(failing == hourBox ? 10 : 5, failing == minuteBox ? 10 : 6,
                    failing == secondBox ? 10 : 7);
    }
    EXPECT_EQ(app.exit.ends, 0);
}

TEST_F(OptionsCloseTest, TheTrapStaysArmedAndTheRangeCheckStillRuns) {
    setAlarm("99999", "abc", "75");
    form().requestClose();
    EXPECT_TRUE(dialogLoaded());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{kCheckError, kCheckError, kAlarmRange}));
    expectAlarm(10, 10, 75);

    // Once corrected, the next close goes through.
    app.messages.shown.clear();
    setAlarm("6", "30", "0");
    form().requestClose();
    EXPECT_FALSE(dialogLoaded());
    expectAlarm(6, 30, 0);
}

TEST_F(OptionsCloseTest, CancelOnTheErrorBoxEndsTheProgramWithNothingSaved) {
    const std::string fileBefore = app.files.files.at(kSettingsFileName);
    view->setChecked(OptionsCheck::KeepOnTopCheck, false);
    setAlarm("99999", "20", "30");
    app.messages.script = {MessageAnswer::Cancel};

    EXPECT_THROW(form().requestClose(), ProgramEnded);

    EXPECT_EQ(app.exit.ends, 1);
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{kCheckError})); // no check after it
    EXPECT_EQ(settings().alarmMinute, 10);
    EXPECT_TRUE(settings().alwaysOnTop.sameAs(DynamicValue("ON")));
    EXPECT_TRUE(app.sound.commands.empty());
    EXPECT_EQ(app.files.files.at(kSettingsFileName), fileBefore);
}

} // namespace
} // namespace ambrel
