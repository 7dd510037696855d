// Checks the AMBREL.HLP that the build made from ambrel_help.txt: what the help viewer needs to
// open it, and that every paragraph of the source arrives in Shift-JIS and reads back intact.

#include "Cp932.h"
#include "HelpSource.h"
#include "HlpReader.h"
#include "PlainText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace ambrel {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class HelpFileTest : public ::testing::Test {
protected:
    const hlp::Bytes bytes = hlp::readBinaryFile(AMBREL_HELP_FILE);
    const hlp::HelpFile file = hlp::readHelpFile(bytes);
    const HelpDocument source = parseHelpSource(readText(AMBREL_HELP_SOURCE));
};

TEST_F(HelpFileTest, IsAWinHelp31FileWithTheInternalFilesTheViewerOpens) {
    EXPECT_EQ(file.magic, 0x00035F3Fu);
    for (const char* name : {"|SYSTEM", "|FONT", "|CONTEXT", "|TOPIC"}) {
        EXPECT_EQ(file.files.count(name), 1u) << name;
    }
    const hlp::SystemInfo system = hlp::readSystem(file.files.at("|SYSTEM").data);
    EXPECT_EQ(system.minor, 21);
    EXPECT_EQ(system.flags, 0) << "the topic text must be stored uncompressed";
    EXPECT_EQ(system.charset, 128) << "Shift-JIS";
    EXPECT_EQ(cp932ToUtf8(system.title), "Ambrel V2 ヘルプ");
    const hlp::FontTable fonts = hlp::readFonts(file.files.at("|FONT").data);
    EXPECT_EQ(cp932ToUtf8(fonts.faceNames.at(0)), "ＭＳ Ｐゴシック");
}

TEST_F(HelpFileTest, EveryParagraphRoundTripsFromShiftJisThroughTheTopicBlocks) {
    const hlp::TopicWalk walk = hlp::readTopics(file.files.at("|TOPIC").data);
    ASSERT_EQ(walk.topics.size(), source.topics.size());
    const hlp::SystemInfo system = hlp::readSystem(file.files.at("|SYSTEM").data);
    EXPECT_EQ(system.contents, walk.topics[0].topicOffset);
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        const HelpTopic& expected = source.topics[t];
        const hlp::Topic& read = walk.topics[t];
        EXPECT_EQ(cp932ToUtf8(read.title), expected.title);
        ASSERT_EQ(read.paragraphs.size(), expected.paragraphs.size() + 1) << expected.title;
        for (std::size_t p = 0; p < expected.paragraphs.size(); ++p) {
            EXPECT_EQ(cp932ToUtf8(read.paragraphs[p + 1].text), expected.paragraphs[p].text);
        }
    }
}

TEST_F(HelpFileTest, ExplainsEveryControlOfTheOptionsDialogAndTheSettingsFile) {
    std::string all;
    for (const HelpTopic& topic : source.topics) {
        all += topic.title + "\n";
        for (const HelpParagraph& p : topic.paragraphs) {
            all += p.text + "\n";
        }
    }
    // The captions exactly as the program shows them, half-width and full-width forms included.
    for (const char* term :
         {"アラーム", "ｱﾗｰﾑON", "時刻の指定", "常に手前に表示", "タイマー", "時間の指定",
          "スタート", "ストップ", "時計の文字色", "WAVファイルの指定", "参照", "ﾃｽﾄ",
          "アラームメッセージ", "タイマーメッセージ", "ＯＫ", "ヘルプ", "閉じる", "AMBREL.SET",
          "AMBREL.BAK", "ダブルクリック", "アラーム時刻指定欄が空白です。",
          "WAVファイルが指定されていません。", "タイマー時間指定欄が空白です。",
          // The refusals, the place on several monitors, the names that
          // the settings file cannot hold, and a close while it is read.
          "0～999", "範囲外なら動きません", "マイナスの値", "モニター", "短い名前(8.3形式)",
          "保存できない文字", "読み終わる前に終了したときは書き込みません",
          // Beside other programs, where the program can live, and paths in quotes.
          "2秒まで待って", "書き込みのできるフォルダ", "パスのコピー"}) {
        EXPECT_NE(all.find(term), std::string::npos) << term;
    }
}

// The read-me is what users of Windows without a WinHelp viewer read instead of AMBREL.HLP.
TEST_F(HelpFileTest, TheReadmeIsShiftJisWithCrLfAndCarriesEveryParagraphOfTheHelp) {
    const std::string bytes = readText(AMBREL_README_FILE);
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare LF at byte " << i;
    }
    const std::string text = cp932ToUtf8(bytes);
    EXPECT_NE(text.find("AMBREL.HLP"), std::string::npos);
    // Wrapped lines joined again give each paragraph back whole, in the order of the source;
    // spaces do not count, since a break at a space drops it.
    std::string joined;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        std::string line = text.substr(at, end - at);
        line.erase(0, line.find_first_not_of(' '));
        joined += line;
    }
    const auto withoutSpaces = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
        return s;
    };
    joined = withoutSpaces(joined);
    std::size_t from = 0;
    for (const HelpTopic& topic : source.topics) {
        for (const HelpParagraph& p : topic.paragraphs) {
            const std::size_t at = joined.find(withoutSpaces(p.text), from);
            ASSERT_NE(at, std::string::npos) << p.text;
            from = at;
        }
    }
}

// Where no WinHelp viewer exists, the program shows this text in a window of its own.
TEST_F(HelpFileTest, TheHelpWindowsTextIsTheTitleThenEveryParagraphWholeInUtf16) {
    const std::string bytes = readText(AMBREL_HELP_WINDOW_FILE);
    const std::string nul = utf8ToUtf16le(std::string(1, '\0'));
    ASSERT_EQ(bytes.rfind(utf8ToUtf16le(source.title) + nul, 0), 0u);
    ASSERT_EQ(bytes.substr(bytes.size() - 4), utf8ToUtf16le("\n") + nul);
    // Each paragraph unwrapped, in the order of the source: the window wraps its text itself.
    std::size_t from = 0;
    for (const HelpTopic& topic : source.topics) {
        for (const HelpParagraph& p : topic.paragraphs) {
            const std::string wide = utf8ToUtf16le(p.text + "\r\n");
            do {
                from = bytes.find(wide, from + 1);
            } while (from != std::string::npos && from % 2 != 0);
            ASSERT_NE(from, std::string::npos) << p.text;
        }
    }
}

} // namespace
} // namespace ambrel
