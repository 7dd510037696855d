#include "clock/tests/ClockTestSupport.h"

#include "app/Messages.h"

#include <string>

namespace ambrel::testing {
namespace {

using Dragging = ClockTest;

TEST_F(Dragging, GrabbedPointStaysUnderThePointer) {
    view().moveTo(1000, 500);
    form().onDisplayMouseDown(30, 40);
    // The pointer moves to 1050.5, 545 on the screen; x and y are relative to the label, which
    // moves with the window.
    form().onDisplayMouseMove(1050.5f - 1000, 545 - 500);
    EXPECT_EQ(view().leftTwips, 1020.5f);
    EXPECT_EQ(view().topTwips, 505.0f);
    form().onDisplayMouseMove(900 - 1020.5f, -100 - 505.0f); // off the top of the screen
    EXPECT_EQ(view().leftTwips, 870.0f);
    EXPECT_EQ(view().topTwips, -140.0f);
    form().onDisplayMouseUp(0, 0);
    form().onDisplayMouseMove(500, 500);
    EXPECT_EQ(view().leftTwips, 870.0f);
    EXPECT_EQ(view().topTwips, -140.0f);
}

TEST_F(Dragging, SinglePrecisionWithEdgeAndPointerAddedFirst) {
    // 2^24 + 1 is not a float: the sum rounds to 2^24 before the start is taken off. In double,
    // or with the start taken off first, the window would stay at 2^24.
    view().moveTo(16777216.0f, 0);
    form().onDisplayMouseDown(1, 0);
    form().onDisplayMouseMove(1, 0);
    EXPECT_EQ(view().leftTwips, 16777215.0f);
}

TEST_F(Dragging, PressAndReleaseWithoutMovementLeavesTheWindow) {
    view().moveTo(1234.5f, 678);
    form().onDisplayMouseDown(7, 8);
    form().onDisplayMouseUp(7, 8);
    form().onDisplayDoubleClick();
    EXPECT_EQ(view().leftTwips, 1234.5f);
    EXPECT_EQ(view().topTwips, 678.0f);

    form().onDisplayMouseMove(20, 20); // hovering after the release
    EXPECT_EQ(view().leftTwips, 1234.5f);
}

TEST_F(Dragging, MoveWithoutPressDoesNothing) {
    view().moveTo(300, 300);
    form().onDisplayMouseMove(50, 60);
    EXPECT_EQ(view().leftTwips, 300.0f);
    EXPECT_EQ(view().topTwips, 300.0f);
}

using OptionsButton = ClockTest;

TEST_F(OptionsButton, OpensTheDialogOnThePress) {
    form().onOptionsButtonDown();
    EXPECT_EQ(view().optionsButtonTop, 300);
    ASSERT_TRUE(app.program.optionsWindow().isLoaded());
    EXPECT_TRUE(app.optionsView().visible);
    form().onOptionsButtonUp();
    EXPECT_EQ(view().optionsButtonTop, 0);

    form().onOptionsButtonDown(); // already open: brought forward, not loaded again
    form().onOptionsButtonUp();
    EXPECT_EQ(app.views.optionsCreated, 1);
}

using ExitButton = ClockTest;

TEST_F(ExitButton, AsksAfterTheButtonIsRaisedAndOkSavesAndEnds) {
    form().onExitButtonDown();
    EXPECT_EQ(view().exitButtonTop, 300);
    EXPECT_TRUE(app.messages.shown.empty()); // the press alone asks nothing

    view().moveTo(4500, 3000);
    settings().displayMode = "T";
    int topWhileAsking = -1;
    app.messages.whileOpen = [&] { topWhileAsking = view().exitButtonTop; };
    EXPECT_THROW(form().onExitButtonUp(), ProgramEnded);

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
    form().onExitButtonDown();
    form().onExitButtonUp();
    EXPECT_EQ(view().exitButtonTop, 0);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.exit.ends, 0);
    EXPECT_EQ(app.sound.count("close"), 0);
    EXPECT_EQ(app.files.replaceCount, replacesBefore);
    EXPECT_EQ(app.files.files.at("AMBREL.SET"), fileBefore);
    tickAt(9, 0, 0); // still running
    EXPECT_EQ(view().secondText, "09:00");
}

} // namespace
} // namespace ambrel::testing
