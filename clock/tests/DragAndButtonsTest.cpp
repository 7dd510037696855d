#include "clock/tests/ClockTestSupport.h"

#include "app/Messages.h"

#include <string>

namespace ambrel::testing {
namespace {

using Dragging = ClockTest;

TEST_F(Dragging, GrabbedPointStaysUnderThePointer) {
    view().moveTo(1000, 500);
    form().onLabel2MouseDown(30, 40);
    // The pointer moves to 1050.5, 545 on the screen; x and y are relative to the label, which
    // moves with the window.
    form().onLabel2MouseMove(1050.5f - 1000, 545 - 500);
    EXPECT_EQ(view().leftTwips, 1020.5f);
    EXPECT_EQ(view().topTwips, 505.0f);
    form().onLabel2MouseMove(900 - 1020.5f, -100 - 505.0f); // off the top of the screen
    EXPECT_EQ(view().leftTwips, 870.0f);
    EXPECT_EQ(view().topTwips, -140.0f);
    form().onLabel2MouseUp(0, 0);
    form().onLabel2MouseMove(500, 500);
    EXPECT_EQ(view().leftTwips, 870.0f);
    EXPECT_EQ(view().topTwips, -140.0f);
}

TEST_F(Dragging, SinglePrecisionWithEdgeAndPointerAddedFirst) {
    // 2^24 + 1 is not a float: the sum rounds to 2^24 before the start is taken off. In double,
    // or with the start taken off first, the window would stay at 2^24.
    view().moveTo(16777216.0f, 0);
    form().onLabel2MouseDown(1, 0);
    form().onLabel2MouseMove(1, 0);
    EXPECT_EQ(view().leftTwips, 16777215.0f);
}

TEST_F(Dragging, PressAndReleaseWithoutMovementLeavesTheWindow) {
    view().moveTo(1234.5f, 678);
    form().onLabel2MouseDown(7, 8);
    form().onLabel2MouseUp(7, 8);
    form().onLabel2DblClick();
    EXPECT_EQ(view().leftTwips, 1234.5f);
    EXPECT_EQ(view().topTwips, 678.0f);

    form().onLabel2MouseMove(20, 20); // hovering after the release
    EXPECT_EQ(view().leftTwips, 1234.5f);
}

TEST_F(Dragging, MoveWithoutPressDoesNothing) {
    view().moveTo(300, 300);
    form().onLabel2MouseMove(50, 60);
    EXPECT_EQ(view().leftTwips, 300.0f);
    EXPECT_EQ(view().topTwips, 300.0f);
}

using OptionsButton = ClockTest;

TEST_F(OptionsButton, OpensTheDialogOnThePress) {
    form().onImage2MouseDown();
    EXPECT_EQ(view().image2Top, 300);
    ASSERT_TRUE(app.program.optionsWindow().isLoaded());
    EXPECT_TRUE(app.optionsView().visible);
    form().onImage2MouseUp();
    EXPECT_EQ(view().image2Top, 0);

    form().onImage2MouseDown(); // already open: brought forward, not loaded again
    form().onImage2MouseUp();
    EXPECT_EQ(app.views.optionsCreated, 1);
}

using ExitButton = ClockTest;

TEST_F(ExitButton, AsksAfterTheButtonIsRaisedAndOkSavesAndEnds) {
    form().onImage1MouseDown();
    EXPECT_EQ(view().image1Top, 300);
    EXPECT_TRUE(app.messages.shown.empty()); // the press alone asks nothing

    view().moveTo(4500, 3000);
    settings().displayMode = "T";
    int topWhileAsking = -1;
    app.messages.whileOpen = [&] { topWhileAsking = view().image1Top; };
    EXPECT_THROW(form().onImage1MouseUp(), ProgramEnded);

    EXPECT_EQ(topWhileAsking, 0);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "Ambrel V2 を終了します");
    EXPECT_EQ(app.messages.shown[0].title, "Ambrel V2 の終了");
    EXPECT_EQ(app.messages.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.exit.ends, 1);
    EXPECT_EQ(app.sound.count("close"), 1);
    const std::string saved = app.codePage.toUtf8(app.files.files.at("AMBREL.SET"));
    EXPECT_NE(saved.find("4500\r\n3000\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"T\""), std::string::npos) << saved;
}

TEST_F(ExitButton, CancelChangesNothing) {
    const std::string fileBefore = app.files.files.at("AMBREL.SET");
    const int replacesBefore = app.files.replaceCount;
    app.messages.script.push_back(MessageAnswer::Cancel);
    form().onImage1MouseDown();
    form().onImage1MouseUp();
    EXPECT_EQ(view().image1Top, 0);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.exit.ends, 0);
    EXPECT_EQ(app.sound.count("close"), 0);
    EXPECT_EQ(app.files.replaceCount, replacesBefore);
    EXPECT_EQ(app.files.files.at("AMBREL.SET"), fileBefore);
    tickAt(9, 0, 0); // still running
    EXPECT_EQ(view().label4, "09:00");
}

} // namespace
} // namespace ambrel::testing
