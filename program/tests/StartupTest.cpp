// Start-up, the clock window's load with its error table, and the close that saves.

#include "program/tests/support/TestProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace ambrel::testing {
namespace {

const std::string kSet = "AMBREL.SET";
const std::string kBak = "AMBREL.BAK";

std::string settingsWithPosition(const std::string& left, const std::string& top,
                                 const std::string& onTop = "\"ON\"") {
    return "10\r\n" + left + "\r\n" + top + "\r\n" + onTop +
           "\r\n\"c:\\WINDOWS\\TADA.WAV\"\r\n10,10,10\r\n\"ALOFF\"\r\n\"D\"\r\n\"\"\r\n\"\"\r\n";
}

class StartupTest : public ::testing::Test {
protected:
    TestProgram t;

    // Runs Main and tells whether it ended the program.
    bool runMain() {
        try {
            t.program.main();
            return false;
        } catch (const ProgramEnded&) {
            return true;
        }
    }
    bool start(const std::string& settings) {
        t.files.files[kSet] = t.codePage.fromUtf8(settings);
        return runMain();
    }
};

TEST_F(StartupTest, FirstStartWritesTheDefaultFileAndShowsTheClockAtTheCorner) {
    t.sound.nextOpen = {263, "指定されたファイルが見つかりません。"};
    ASSERT_FALSE(runMain());

    EXPECT_EQ(t.files.files[kSet], std::string(kDefaultSettingsBytes));
    EXPECT_EQ(t.files.files[kSet].size(), 71u);
    EXPECT_EQ(t.beeper.beeps, 0);
    // The only box is the sound device's own warning.
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "指定されたファイルが見つかりません。");
    EXPECT_EQ(t.messages.shown[0].title, "Ambrel V2 エラー");
    EXPECT_EQ(t.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t.sound.commands.at(0), "open:c:\\WINDOWS\\TADA.WAV");

    FakeClockView& clock = t.clockView();
    EXPECT_TRUE(clock.visible);
    EXPECT_TRUE(clock.timerRunning);
    EXPECT_TRUE(clock.topmost);
    EXPECT_EQ(clock.leftTwips, 0);
    EXPECT_EQ(clock.topTwips, 0);

    const Settings& s = t.settings();
    EXPECT_EQ(s.textColorIndex, 10);
    EXPECT_TRUE(s.alarmState == "ALOFF");
    EXPECT_EQ(s.displayMode, "D");
    EXPECT_EQ(s.alarmHour * 10000 + s.alarmMinute * 100 + s.alarmSecond, 101010);
    EXPECT_TRUE(t.program.hintText() == "ダブルクリックすると表示形式が切り替わります");
    EXPECT_TRUE(t.program.suspendedAlarm() == SavedAlarmState::None);
    EXPECT_TRUE(t.program.countdown().minutes.isNumber());
    EXPECT_EQ(t.program.countdown().minutes.toNumber(), 10);
    EXPECT_EQ(t.program.screenSize().width.toNumber(), 15360);
    EXPECT_EQ(t.program.screenSize().height.toNumber(), 11520);
}

TEST_F(StartupTest, DamagedFilesAreKeptAsideReplacedByDefaultsAndEndTheProgram) {
    const std::string full(kDefaultSettingsBytes);
    for (const std::string& damaged : {std::string(), full.substr(0, 40), full.substr(0, 68)}) {
        TestProgram fresh;
        fresh.files.files[kSet] = damaged;
        bool ended = false;
        try {
            fresh.program.main();
        } catch (const ProgramEnded&) {
            ended = true;
        }
        SCOPED_TRACE(damaged.size());
        EXPECT_TRUE(ended);
        EXPECT_EQ(fresh.beeper.beeps, 1);
        ASSERT_EQ(fresh.messages.shown.size(), 1u);
        EXPECT_EQ(fresh.messages.shown[0].text,
                  "設定ファイルが壊れている可能性があります、Ambrel V2 を再起動して下さい。");
        EXPECT_EQ(fresh.messages.shown[0].title, "Ambrel エラー");
        EXPECT_EQ(fresh.messages.shown[0].icon, MessageIcon::Information);
        EXPECT_EQ(fresh.files.files[kSet], full);
        EXPECT_EQ(fresh.files.files[kBak], damaged);
        EXPECT_FALSE(fresh.clockView().visible);
    }
}

// The boxes for a file the folder does not let the program write: the number as ever, and a
// second line with the file and what the user can do.
const std::string kUnwritableLine =
    " に書き込めません。ambrel.exe のフォルダは書き込みができる必要があります。";

TEST_F(StartupTest, ADamagedFileWhoseCopyCannotBeKeptIsReportedByNameAndStillReplaced) {
    t.files.replaceError = 75;
    t.files.failingName = kBak;
    EXPECT_TRUE(start("10\r\n0\r\n"));
    EXPECT_EQ(t.files.files.count(kBak), 0u);
    // The next start runs with the defaults instead of meeting the same file again.
    EXPECT_EQ(t.files.files[kSet], kDefaultSettingsBytes);
    EXPECT_EQ(t.beeper.beeps, 1);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text,
              "エラー ( 75) が発生しました、終了します。\nC:\\Ambrel\\AMBREL.BAK" +
                  kUnwritableLine);
    EXPECT_EQ(t.messages.shown[0].title, "Ambrel V2 エラー");
    EXPECT_EQ(t.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(t.exit.ends, 1);
    EXPECT_FALSE(t.clockView().visible);
}

TEST_F(StartupTest, OtherLoadErrorsShowTheirNumberAndLeaveTheFile) {
    struct Case {
        std::string settings;
        std::string text;
    };
    const Case cases[] = {
        {settingsWithPosition("\"abc\"", "0"), "エラー ( 13) が発生しました、終了します。"},
        {settingsWithPosition("0", "\"abc\""), "エラー ( 13) が発生しました、終了します。"},
        {"40000\r\n" + settingsWithPosition("0", "0").substr(4),
         "エラー ( 6) が発生しました、終了します。"},
    };
    for (const Case& c : cases) {
        TestProgram fresh;
        const std::string bytes = fresh.codePage.fromUtf8(c.settings);
        fresh.files.files[kSet] = bytes;
        EXPECT_THROW(fresh.program.main(), ProgramEnded);
        EXPECT_EQ(fresh.beeper.beeps, 1);
        ASSERT_EQ(fresh.messages.shown.size(), 1u);
        EXPECT_EQ(fresh.messages.shown[0].text, c.text);
        EXPECT_EQ(fresh.messages.shown[0].title, "Ambrel V2 エラー");
        EXPECT_EQ(fresh.messages.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(fresh.files.files[kSet], bytes);
        EXPECT_EQ(fresh.files.replaceCount, 0);
        EXPECT_FALSE(fresh.clockView().visible);
    }
}

TEST_F(StartupTest, AFailingDefaultFileIsReportedOnceByNameAndEnds) {
    t.files.replaceError = 75;
    t.files.folderPath = "C:\\Program Files\\Ambrel";
    EXPECT_TRUE(runMain());
    EXPECT_EQ(t.files.replaceCount, 1);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text,
              "エラー ( 75) が発生しました、終了します。\nC:\\Program Files\\Ambrel\\AMBREL.SET" +
                  kUnwritableLine);
    EXPECT_EQ(t.files.files.count(kSet), 0u);
}

// A folder that accepts the default file but never keeps it.
class ForgetfulStore : public MemoryFileStore {
public:
    void replace(const std::string&, std::string_view) override { ++replaceCount; }
};

TEST(StartupMissingFile, AFileStillMissingAfterTheDefaultIsWrittenEndsWithItsOwnMessage) {
    BasicTestProgram<ForgetfulStore> t;
    EXPECT_THROW(t.program.main(), ProgramEnded);
    EXPECT_EQ(t.files.replaceCount, 1);
    EXPECT_EQ(t.beeper.beeps, 1);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "設定ファイルが見つかりません、終了します。");
    EXPECT_EQ(t.messages.shown[0].title, "Ambrel V2 エラー");
    EXPECT_EQ(t.exit.ends, 1);
}

TEST_F(StartupTest, OnlyAPositionFarOffTheScreenFallsBack) {
    struct Case {
        const char* left;
        const char* top;
        float expectedLeft;
        float expectedTop;
    };
    // 1024 x 768 pixels: 15360 x 11520 twips; the margins are 2000 and 600 twips, beyond the
    // right and bottom edges for the bar's top left corner, beyond the left and top edges for
    // its bottom right one (the bar is 2100 x 270 twips).
    const Case cases[] = {
        {"16000", "500", 16000, 500},
        {"20000", "500", 10, 10},
        {"-300", "-45", -300, -45},
        {"17360", "12120", 17360, 12120},
        {"17361", "0", 10, 10},
        {"0", "12121", 10, 10},
        {"1500.5", "-870", 1500.5f, -870},
        {"1500.5", "-20000", 10, 10},
        {"-4100", "0", -4100, 0},
        {"-4101", "0", 10, 10},
        // Beyond a window edge's range, and far off every screen: brought back, not an overflow.
        {"-1E+300", "0", 10, 10},
        {"0", "1E+300", 10, 10},
    };
    for (const Case& c : cases) {
        TestProgram fresh;
        fresh.start(settingsWithPosition(c.left, c.top));
        SCOPED_TRACE(std::string(c.left) + "," + c.top);
        EXPECT_EQ(fresh.clockView().leftTwips, c.expectedLeft);
        EXPECT_EQ(fresh.clockView().topTwips, c.expectedTop);
        EXPECT_TRUE(fresh.clockView().visible);
    }
}

TEST_F(StartupTest, APositionIsCheckedAgainstEveryMonitor) {
    // A smaller monitor right of the primary: the bar saved on it stays, one saved below it, in
    // the corner that no monitor shows, comes back; once that monitor is gone, a bar saved far
    // left of the remaining one comes back too.
    for (const auto& [top, expectedTop] : {std::pair{"500", 500}, std::pair{"10500", 10}}) {
        TestProgram twoScreens;
        twoScreens.screen.monitors = {{0, 0, 15360, 11520}, {15360, 0, 30720, 9000}};
        twoScreens.start(settingsWithPosition("25000", top));
        EXPECT_EQ(twoScreens.clockView().topTwips, expectedTop);
        EXPECT_EQ(twoScreens.program.screenSize().width.toNumber(), 15360);
    }

    TestProgram oneScreen;
    oneScreen.start(settingsWithPosition("-20000", "500"));
    EXPECT_EQ(oneScreen.clockView().leftTwips, 10);
    EXPECT_EQ(oneScreen.clockView().topTwips, 10);
}

TEST_F(StartupTest, OnlyTheExactWordOnKeepsTheClockOnTop) {
    for (const char* value : {"\"on\"", "\"OFF\"", "", "1"}) {
        TestProgram fresh;
        fresh.start(settingsWithPosition("0", "0", value));
        EXPECT_FALSE(fresh.clockView().topmost) << value;
        EXPECT_EQ(fresh.clockView().topmostCalls, 1);
    }
}

TEST_F(StartupTest, ASecondInstanceEndsWithoutATrace) {
    t.instance.running = true;
    EXPECT_TRUE(runMain());
    EXPECT_EQ(t.views.clock, nullptr);
    EXPECT_EQ(t.files.readCount, 0);
    EXPECT_EQ(t.files.replaceCount, 0);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_TRUE(t.sound.commands.empty());
}

TEST_F(StartupTest, ClosingSavesTheWindowsCurrentPositionAfterClosingTheSound) {
    ASSERT_FALSE(start(settingsWithPosition("300", "450")));
    t.clockView().moveTo(-1234.5f, 6000);
    t.settings().alarmMessage = "朝会, 9時";
    EXPECT_THROW(t.program.unloadClockWindow(), ProgramEnded);

    EXPECT_EQ(t.sound.commands.back(), "close");
    EXPECT_EQ(t.codePage.toUtf8(t.files.files[kSet]),
              "10\r\n-1234.5\r\n6000\r\n\"ON\"\r\n\"c:\\WINDOWS\\TADA.WAV\"\r\n10,10,10\r\n"
              "\"ALOFF\"\r\n\"D\"\r\n\"朝会, 9時\"\r\n\"\"\r\n");
    EXPECT_EQ(t.exit.ends, 1);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(StartupTest, TheEndOfTheSessionClosesTheSoundAndSavesWithoutABox) {
    ASSERT_FALSE(start(settingsWithPosition("300", "450")));
    t.clockView().moveTo(4500, 750);
    t.settings().displayMode = "T";
    t.settings().alarmState = "ALON";
    EXPECT_THROW(t.program.endSession(), ProgramEnded);

    EXPECT_EQ(t.sound.commands.back(), "close");
    const std::string saved = t.codePage.toUtf8(t.files.files[kSet]);
    EXPECT_EQ(saved, "10\r\n4500\r\n750\r\n\"ON\"\r\n\"c:\\WINDOWS\\TADA.WAV\"\r\n10,10,10\r\n"
                     "\"ALON\"\r\n\"T\"\r\n\"\"\r\n\"\"\r\n");
    EXPECT_EQ(t.exit.ends, 1);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(t.beeper.beeps, 0);
}

TEST_F(StartupTest, AFailedSaveAtTheEndOfTheSessionEndsQuietlyAndKeepsTheOldFile) {
    ASSERT_FALSE(start(settingsWithPosition("300", "450")));
    const std::string before = t.files.files[kSet];
    t.clockView().moveTo(900, 900);
    for (const int number : {75, 61}) {
        t.files.replaceError = number;
        EXPECT_THROW(t.program.endSession(), ProgramEnded);
        EXPECT_EQ(t.files.files[kSet], before);
        EXPECT_TRUE(t.messages.shown.empty());
        EXPECT_EQ(t.beeper.beeps, 0);
    }
    EXPECT_EQ(t.exit.ends, 2);
}

TEST_F(StartupTest, TheSessionEndingDuringTheLoadSavesNothing) {
    // The sound warning is the load's last box; the session ends while it waits for an answer.
    t.sound.nextOpen = {263, "指定されたファイルが見つかりません。"};
    t.messages.whileOpen = [this] { t.program.endSession(); };
    const std::string half = settingsWithPosition("300", "450");
    EXPECT_TRUE(start(half));
    EXPECT_EQ(t.files.replaceCount, 0);
    EXPECT_EQ(t.exit.ends, 1);
}

TEST_F(StartupTest, AClosingDuringTheLoadsBoxesSavesNothingOfTheHalfReadRecord) {
    // The close reaches the hidden clock window while the box waits for its answer.
    const std::string errorFiles[] = {
        settingsWithPosition("0", "\"abc\""),                   // error 13 in line 3
        "40000\r\n" + settingsWithPosition("0", "0").substr(4), // error 6 in line 1
    };
    for (const std::string& settings : errorFiles) {
        TestProgram fresh;
        const std::string bytes = fresh.codePage.fromUtf8(settings);
        fresh.files.files[kSet] = bytes;
        fresh.messages.whileOpen = [&fresh] { fresh.program.unloadClockWindow(); };
        EXPECT_THROW(fresh.program.main(), ProgramEnded);
        EXPECT_EQ(fresh.files.files[kSet], bytes);
        EXPECT_EQ(fresh.files.replaceCount, 0);
        EXPECT_EQ(fresh.files.files.count(kBak), 0u);
        EXPECT_EQ(fresh.exit.ends, 1);
        EXPECT_TRUE(fresh.sound.commands.empty());
    }
}

TEST_F(StartupTest, AClosingDuringTheDamagedFilesBoxLeavesWhatThatBoxLeaves) {
    const std::string damaged = std::string(kDefaultSettingsBytes).substr(0, 40);
    t.files.files[kSet] = damaged;
    t.messages.whileOpen = [this] { t.program.unloadClockWindow(); };
    EXPECT_TRUE(runMain());
    EXPECT_EQ(t.files.files[kBak], damaged);
    EXPECT_EQ(t.files.files[kSet], std::string(kDefaultSettingsBytes));
    EXPECT_EQ(t.exit.ends, 1);
}

TEST_F(StartupTest, AClosingDuringTheSoundWarningOfTheLoadSavesNothing) {
    t.sound.nextOpen = {263, "指定されたファイルが見つかりません。"};
    t.messages.whileOpen = [this] { t.program.unloadClockWindow(); };
    EXPECT_TRUE(start(settingsWithPosition("20000", "450")));
    EXPECT_EQ(t.files.replaceCount, 0);
    EXPECT_EQ(t.exit.ends, 1);
}

TEST_F(StartupTest, AFailingSaveIsReportedAndLeavesTheOldFileWhole) {
    ASSERT_FALSE(start(settingsWithPosition("300", "450")));
    const std::string before = t.files.files[kSet];
    t.clockView().moveTo(900, 900);
    t.files.replaceError = 61;
    EXPECT_THROW(t.program.unloadClockWindow(), ProgramEnded);
    EXPECT_EQ(t.files.files[kSet], before);
    EXPECT_EQ(t.beeper.beeps, 1);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text,
              "エラー ( 61) が発生しました、終了します。\nC:\\Ambrel\\AMBREL.SET" +
                  kUnwritableLine);
    EXPECT_EQ(t.exit.ends, 1);
}

} // namespace
} // namespace ambrel::testing
