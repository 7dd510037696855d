#include "PlainText.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

using Lines = std::vector<std::string>;

TEST(PlainTextTest, CountsHalfWidthCharactersOneColumnAndOthersTwo) {
    EXPECT_EQ(textColumns("AMBREL.SET"), 10);
    EXPECT_EQ(textColumns("ｱﾗｰﾑON"), 6);
    EXPECT_EQ(textColumns("時計（ＯＫ）"), 12);
}

TEST(PlainTextTest, WrapsFullWidthTextAtTheWidthAndKeepsShortTextOnOneLine) {
    EXPECT_EQ(wrapParagraph("時計を表示します。", 40), Lines{"時計を表示します。"});
    EXPECT_EQ(wrapParagraph("あいうえおかきくけこ", 8), (Lines{"あいうえ", "おかきく", "けこ"}));
}

TEST(PlainTextTest, NeverBreaksInsideAnAsciiRunThatFitsAndBreaksAtSpaces) {
    EXPECT_EQ(wrapParagraph("あいうAMBREL.SET", 12), (Lines{"あいう", "AMBREL.SET"}));
    EXPECT_EQ(wrapParagraph("abc def ghi", 7), (Lines{"abc def", "ghi"}));
    // A word wider than a line is cut where the line ends.
    EXPECT_EQ(wrapParagraph("c:\\WINDOWS\\TADA.WAV", 8), (Lines{"c:\\WINDO", "WS\\TADA.", "WAV"}));
}

TEST(PlainTextTest, SentenceMarksHangOverTheEdgeAndOpeningBracketsMoveDown) {
    EXPECT_EQ(wrapParagraph("あいうえ。かき", 8), (Lines{"あいうえ。", "かき"}));
    EXPECT_EQ(wrapParagraph("あいう「えお」", 8), (Lines{"あいう", "「えお」"}));
}

TEST(PlainTextTest, ContinuationLinesOfAListItemAreIndented) {
    EXPECT_EQ(wrapParagraph("・あいうえおか", 8, 2), (Lines{"・あいう", "  えおか"}));
}

TEST(PlainTextTest, RendersTitleTopicsHeadingsAndParagraphsWithTheLineEndGiven) {
    HelpDocument doc;
    doc.title = "題";
    doc.topics.push_back({"使い方",
                          {{HelpParagraph::Kind::Body, "本文"},
                           {HelpParagraph::Kind::Heading, "見出し"},
                           {HelpParagraph::Kind::Blank, ""},
                           {HelpParagraph::Kind::Body, "・項目"}}});
    EXPECT_EQ(renderPlainText(doc, 8, "\r\n"), "＝＝＝＝\r\n"
                                               "題\r\n"
                                               "＝＝＝＝\r\n"
                                               "\r\n"
                                               "■使い方\r\n"
                                               "────\r\n"
                                               "本文\r\n"
                                               "\r\n"
                                               "◆見出し\r\n"
                                               "\r\n"
                                               "・項目\r\n");
    // Unwrapped, for a window that wraps by itself: the rules as wide as their texts.
    doc.topics[0].paragraphs.push_back({HelpParagraph::Kind::Body, "とても長い一つの段落です"});
    EXPECT_EQ(renderPlainText(doc, 0, "\n"), "＝\n題\n＝\n\n■使い方\n────\n本文\n\n◆見出し\n\n"
                                             "・項目\nとても長い一つの段落です\n");
    // Without a title the text starts with the first topic.
    doc.title.clear();
    EXPECT_EQ(renderPlainText(doc, 0, "\n").rfind("■使い方\n", 0), 0u);
}

} // namespace
} // namespace ambrel
