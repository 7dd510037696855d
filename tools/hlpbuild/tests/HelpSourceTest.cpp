#include "HelpSource.h"
#include "Cp932.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

using Kind = HelpParagraph::Kind;

TEST(HelpSourceTest, ReadsTitleTopicsHeadingsAndParagraphs) {
    const HelpDocument doc = parseHelpSource("; a comment\r\n"
                                             "@title Ambrel V2 ヘルプ\r\n"
                                             "\r\n"
                                             "# 概要\r\n"
                                             "\r\n"
                                             "時計を表示します。\r\n"
                                             "## 表示形式\r\n"
                                             "ダブルクリックで切り替わります。   \r\n"
                                             "\r\n"
                                             "\r\n"
                                             "# 設定ファイル\n"
                                             "十行です。\n");
    EXPECT_EQ(doc.title, "Ambrel V2 ヘルプ");
    ASSERT_EQ(doc.topics.size(), 2u);
    EXPECT_EQ(doc.topics[0].title, "概要");
    ASSERT_EQ(doc.topics[0].paragraphs.size(), 3u);
    EXPECT_EQ(doc.topics[0].paragraphs[0].kind, Kind::Body);
    EXPECT_EQ(doc.topics[0].paragraphs[0].text, "時計を表示します。");
    EXPECT_EQ(doc.topics[0].paragraphs[1].kind, Kind::Heading);
    EXPECT_EQ(doc.topics[0].paragraphs[1].text, "表示形式");
    EXPECT_EQ(doc.topics[0].paragraphs[2].text, "ダブルクリックで切り替わります。");
    ASSERT_EQ(doc.topics[1].paragraphs.size(), 1u);
    EXPECT_EQ(doc.topics[1].paragraphs[0].text, "十行です。");
}

TEST(HelpSourceTest, KeepsEmptyLinesInsideATopicOnly) {
    const HelpDocument doc = parseHelpSource("\xEF\xBB\xBF@title T\n# A\n\n\none\n\ntwo\n\n");
    ASSERT_EQ(doc.topics.size(), 1u);
    const auto& p = doc.topics[0].paragraphs;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].text, "one");
    EXPECT_EQ(p[1].kind, Kind::Blank);
    EXPECT_EQ(p[2].text, "two");
}

TEST(HelpSourceTest, RejectsMalformedSourcesNamingTheLine) {
    const char* const bad[] = {
        "@title T\ntext before a topic\n",
        "@title T\n## heading before a topic\n",
        "@title T\n#\n",
        "@title T\n# A\n##   \n",
        "@title T\n# A\n@title again\n",
        "@title T\n@font x\n# A\n",
        "# A\nno title anywhere\n",
        "@title T\n; no topic\n",
    };
    for (const char* source : bad) {
        EXPECT_THROW(parseHelpSource(source), HelpSourceError) << source;
    }
    try {
        parseHelpSource("@title T\n# A\n@bogus\n");
        FAIL();
    } catch (const HelpSourceError& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
    }
}

TEST(Cp932Test, RoundTripsTheCharactersOfTheProgram) {
    // Full-width letters, half-width katakana, symbols and the Windows extensions of
    // Shift-JIS all occur in the help text.
    const std::string text = "ＯＫ ｱﾗｰﾑON ﾃｽﾄ 【アラーム設定 7時】（通知）■ ～ ① 常に手前に表示";
    const std::string sjis = utf8ToCp932(text);
    EXPECT_EQ(sjis.substr(0, 4), "\x82\x6E\x82\x6A"); // ＯＫ
    EXPECT_EQ(sjis.substr(5, 4), "\xB1\xD7\xB0\xD1"); // ｱﾗｰﾑ, one byte each
    EXPECT_EQ(utf8ToCp932("～"), "\x81\x60");         // the Windows mapping
    EXPECT_EQ(cp932ToUtf8(sjis), text);
}

TEST(Cp932Test, RefusesWhatShiftJisCannotHold) {
    EXPECT_THROW(utf8ToCp932("時計 \xF0\x9F\x98\x80"), CodePageError); // an emoji
    EXPECT_THROW(utf8ToCp932("\xE6\x99"), CodePageError);              // cut UTF-8
    EXPECT_THROW(cp932ToUtf8("\x82"), CodePageError);                  // half a character
}

} // namespace
} // namespace ambrel
