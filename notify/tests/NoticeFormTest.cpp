#include "program/tests/support/TestProgram.h"

#include <gtest/gtest.h>

namespace ambrel::testing {
namespace {

class NoticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.screen.width = 15361; // an odd number of twips: the half twip is kept
        app.screen.height = 11520;
        app.startWithDefaults();
    }
    NoticeForm& notice() { return app.program.notice(); }
    bool open() { return app.program.noticeWindow().isLoaded(); }

    TestProgram app;
};

TEST_F(NoticeTest, OpensCentredTopmostAndVisibleWithBothTexts) {
    notice().notify("タイマー設定時間 10分を過ぎました。", "お茶");
    ASSERT_TRUE(open());
    EXPECT_EQ(app.noticeView().leftTwips, 4583.5f);
    EXPECT_EQ(app.noticeView().topTwips, 4867.0f);
    EXPECT_TRUE(app.noticeView().topmost);
    EXPECT_TRUE(app.noticeView().visible);
    EXPECT_EQ(app.noticeView().headline, "タイマー設定時間 10分を過ぎました。");
    EXPECT_EQ(app.noticeView().message, "お茶");
}

TEST_F(NoticeTest, ShowingAnOpenNoticeLeavesItWhereTheUserPutIt) {
    notice().show();
    app.noticeView().moveTo(10, 20);
    notice().show();
    notice().setTexts("二つ目", "");
    EXPECT_EQ(app.views.noticesCreated, 1);
    EXPECT_EQ(app.noticeView().leftTwips, 10.0f);
    EXPECT_EQ(app.noticeView().topTwips, 20.0f);
    EXPECT_EQ(app.noticeView().headline, "二つ目");
    EXPECT_EQ(app.noticeView().message, "");
}

TEST_F(NoticeTest, CloseDestroysAndTheNextNoticeIsCentredAgain) {
    notice().notify("一つ目", "a");
    app.noticeView().moveTo(10, 20);
    notice().onCloseClick();
    EXPECT_FALSE(open());
    EXPECT_EQ(app.sound.count("close"), 0); // the sound plays on

    notice().notify("二つ目", "b");
    EXPECT_EQ(app.views.noticesCreated, 2);
    EXPECT_EQ(app.noticeView().leftTwips, 4583.5f);
    EXPECT_EQ(app.noticeView().headline, "二つ目");
}

} // namespace
} // namespace ambrel::testing
