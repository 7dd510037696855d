#include "WinHelpWriter.h"
#include "HlpReader.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

using Kind = HelpParagraph::Kind;

HelpDocument sampleDocument() {
    HelpDocument doc;
    doc.title = "Sample help";
    doc.topics.push_back({"Overview",
                          {{Kind::Body, "The clock shows the time."},
                           {Kind::Heading, "Formats"},
                           {Kind::Body, std::string(300, 'x')}, // needs the long length forms
                           {Kind::Blank, ""},
                           {Kind::Body, "Double-click to switch."}}});
    doc.topics.push_back({"Options", {{Kind::Body, "OK closes the dialog."}}});
    doc.topics.push_back({"Empty topic", {}});
    return doc;
}

WinHelpOptions sampleOptions() {
    WinHelpOptions options;
    options.fontName = "Face";
    return options;
}

class WinHelpWriterTest : public ::testing::Test {
protected:
    const std::vector<std::uint8_t> bytes = buildWinHelpFile(sampleDocument(), sampleOptions());
    const hlp::HelpFile file = hlp::readHelpFile(bytes);
    const std::vector<std::uint8_t>& data(const std::string& name) {
        return file.files.at(name).data;
    }
};

TEST_F(WinHelpWriterTest, HasTheHeaderAndTheInternalFilesAViewerNeeds) {
    EXPECT_EQ(file.magic, 0x00035F3Fu);
    EXPECT_EQ(file.declaredSize, bytes.size());
    EXPECT_EQ(file.directory, (std::vector<std::string>{"|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC"}));
    // Internal files follow one another without gaps or overlaps, the directory last.
    std::uint32_t expected = 16;
    for (const std::string& name : file.directory) {
        EXPECT_EQ(file.files.at(name).offset, expected) << name;
        expected += file.files.at(name).reserved;
    }
    EXPECT_EQ(file.directoryStart, expected);
}

TEST_F(WinHelpWriterTest, SystemNamesTitleContentsAndCharacterSet) {
    const hlp::SystemInfo system = hlp::readSystem(data("|SYSTEM"));
    EXPECT_EQ(system.magic, 0x036C);
    EXPECT_EQ(system.minor, 21);
    EXPECT_EQ(system.major, 1);
    EXPECT_EQ(system.flags, 0); // uncompressed
    EXPECT_EQ(system.title, "Sample help");
    EXPECT_EQ(system.charset, 128);
    EXPECT_EQ(system.macros, std::vector<std::string>{"BrowseButtons()"});
    const hlp::TopicWalk walk = hlp::readTopics(data("|TOPIC"));
    EXPECT_EQ(system.contents, walk.topics.at(0).topicOffset);
}

TEST_F(WinHelpWriterTest, TopicsReadBackInOrderWithTheirFonts) {
    const hlp::TopicWalk walk = hlp::readTopics(data("|TOPIC"));
    ASSERT_EQ(walk.topics.size(), 3u);
    EXPECT_EQ(walk.blocks, 1u);
    EXPECT_EQ(topicBlockCount(sampleDocument()), 1u);

    const hlp::FontTable fonts = hlp::readFonts(data("|FONT"));
    EXPECT_EQ(fonts.faceNames, std::vector<std::string>{"Face"});
    const HelpDocument doc = sampleDocument();
    for (std::size_t t = 0; t < doc.topics.size(); ++t) {
        const hlp::Topic& topic = walk.topics[t];
        EXPECT_EQ(topic.title, doc.topics[t].title);
        // The title is shown as the first paragraph, in a larger bold font than the text.
        ASSERT_EQ(topic.paragraphs.size(), doc.topics[t].paragraphs.size() + 1) << t;
        EXPECT_EQ(topic.paragraphs[0].text, doc.topics[t].title);
        const hlp::FontDescriptor& titleFont = fonts.descriptors.at(topic.paragraphs[0].font);
        EXPECT_TRUE(titleFont.bold);
        for (std::size_t p = 0; p < doc.topics[t].paragraphs.size(); ++p) {
            const HelpParagraph& source = doc.topics[t].paragraphs[p];
            const hlp::Paragraph& read = topic.paragraphs[p + 1];
            EXPECT_EQ(read.text, source.text) << t << "/" << p;
            const hlp::FontDescriptor& font = fonts.descriptors.at(read.font);
            EXPECT_EQ(font.bold, source.kind == Kind::Heading) << t << "/" << p;
            EXPECT_LT(font.halfPoints, titleFont.halfPoints);
        }
    }
}

TEST_F(WinHelpWriterTest, TopicsFormOneBrowseSequence) {
    const hlp::TopicWalk walk = hlp::readTopics(data("|TOPIC"));
    ASSERT_EQ(walk.topics.size(), 3u);
    EXPECT_EQ(walk.topics[0].browseBack, 0xFFFFFFFFu);
    EXPECT_EQ(walk.topics[0].browseForward, walk.topics[1].topicOffset);
    EXPECT_EQ(walk.topics[1].browseBack, walk.topics[0].topicOffset);
    EXPECT_EQ(walk.topics[1].browseForward, walk.topics[2].topicOffset);
    EXPECT_EQ(walk.topics[2].browseForward, 0xFFFFFFFFu);
    EXPECT_LT(walk.topics[0].topicOffset, walk.topics[1].topicOffset);
}

TEST_F(WinHelpWriterTest, ContextsLeadToEveryTopic) {
    const hlp::TopicWalk walk = hlp::readTopics(data("|TOPIC"));
    const auto contexts = hlp::readContexts(data("|CONTEXT"));
    ASSERT_EQ(contexts.size(), walk.topics.size());
    for (std::size_t t = 0; t < walk.topics.size(); ++t) {
        const auto hash = static_cast<std::int32_t>(contextHash(topicContextId(t)));
        ASSERT_EQ(contexts.count(hash), 1u) << topicContextId(t);
        EXPECT_EQ(contexts.at(hash), walk.topics[t].topicOffset);
    }
}

TEST(WinHelpContextHashTest, FollowsTheViewersHash) {
    // Two ids that WinHelp itself is known to confuse: the help compilers refuse this pair.
    EXPECT_EQ(contextHash("M359HPEHGW"), contextHash("Y5VQEXZQVJ"));
    EXPECT_NE(contextHash("M359HPEHGW"), contextHash("M359HPEHGX"));
    EXPECT_EQ(contextHash(""), 1u);
    EXPECT_EQ(contextHash("idh_contents"), contextHash("IDH_CONTENTS"));
    EXPECT_EQ(contextHash("A"), 0x11u);
    EXPECT_EQ(contextHash("A0"), 0x11u * 43 + 0x0A);
    EXPECT_EQ(contextHash("Z_."), (0x2Au * 43 + 0x0D) * 43 + 0x0C);
    EXPECT_THROW(contextHash("two words"), std::invalid_argument);
}

TEST(WinHelpWriterBlocksTest, TextOfManyTopicBlocksReadsBackAcrossEveryBoundary) {
    HelpDocument doc;
    doc.title = "Long";
    for (int t = 0; t < 6; ++t) {
        HelpTopic topic{"Topic " + std::to_string(t), {}};
        for (int p = 0; p < 4; ++p) {
            topic.paragraphs.push_back({Kind::Body, std::string(700, 'a' + (t * 4 + p) % 26)});
        }
        doc.topics.push_back(std::move(topic));
    }
    // Longer than a block: one block has no link that starts in it.
    doc.topics[3].paragraphs.push_back({Kind::Body, std::string(5000, 'z')});

    const hlp::HelpFile file = hlp::readHelpFile(buildWinHelpFile(doc, sampleOptions()));
    const hlp::TopicWalk walk = hlp::readTopics(file.files.at("|TOPIC").data);
    EXPECT_EQ(walk.blocks, topicBlockCount(doc));
    EXPECT_GE(walk.blocks, 6u);
    EXPECT_GE(walk.linksAcrossBlocks, 3u);
    ASSERT_EQ(walk.topics.size(), doc.topics.size());

    const auto contexts = hlp::readContexts(file.files.at("|CONTEXT").data);
    EXPECT_EQ(hlp::readSystem(file.files.at("|SYSTEM").data).contents, walk.topics[0].topicOffset);
    for (std::size_t t = 0; t < doc.topics.size(); ++t) {
        const hlp::Topic& topic = walk.topics[t];
        ASSERT_EQ(topic.paragraphs.size(), doc.topics[t].paragraphs.size() + 1) << t;
        for (std::size_t p = 0; p < doc.topics[t].paragraphs.size(); ++p) {
            EXPECT_EQ(topic.paragraphs[p + 1].text, doc.topics[t].paragraphs[p].text) << t;
        }
        const auto hash = static_cast<std::int32_t>(contextHash(topicContextId(t)));
        EXPECT_EQ(contexts.at(hash), topic.topicOffset) << t;
        EXPECT_EQ(topic.browseForward,
                  t + 1 < walk.topics.size() ? walk.topics[t + 1].topicOffset : 0xFFFFFFFFu);
    }
    EXPECT_GE(walk.topics.back().topicOffset, 0x8000u) << "the last topic lies in a later block";
}

TEST(WinHelpWriterLimitsTest, RefusesAnEmptyDocumentAnOverlongFontNameAndAnOverlongTopic) {
    HelpDocument empty;
    empty.title = "T";
    EXPECT_THROW(buildWinHelpFile(empty, sampleOptions()), HelpLayoutError);
    WinHelpOptions options;
    options.fontName = std::string(32, 'F');
    EXPECT_THROW(buildWinHelpFile(sampleDocument(), options), HelpLayoutError);
    HelpDocument huge;
    huge.title = "T";
    huge.topics.push_back({"Huge", {{Kind::Body, std::string(0x8000, 'h')}}});
    EXPECT_THROW(buildWinHelpFile(huge, sampleOptions()), HelpLayoutError);
}

} // namespace
} // namespace ambrel
