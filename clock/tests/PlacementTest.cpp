// Where the clock bar may stand: on or near a monitor, and the bar lost off every one, at start-up
// and when the monitors change while the clock runs.

#include "clock/Placement.h"
#include "clock/tests/ClockTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace ambrel::testing {
namespace {

// 1024 x 768 pixels at 15 twips a pixel.
constexpr TwipsArea kPrimary{0, 0, 15360, 11520};

struct Position {
    double left;
    double top;
    bool lost;
};

void expectLost(const std::vector<TwipsArea>& monitors, const std::vector<Position>& positions) {
    for (const Position& p : positions) {
        EXPECT_EQ(isLost(p.left, p.top, monitors), p.lost) << p.left << "," << p.top;
    }
}

TEST(Placement, OneScreenKeepsTheMarginsOfRightAndBottomAndFindsABarLostLeftOrAbove) {
    expectLost({kPrimary}, {
                               {16000, 500, false},
                               {17360, 12120, false},
                               {20000, 500, true},
                               {17361, 0, true},
                               {500, 12121, true},
                               {-300, -45, false},
                               // The right edge 2000 twips left of the screen: still kept.
                               {-4100, 0, false},
                               {-4101, 0, true},
                               // The bottom edge 600 twips above the screen: still kept.
                               {0, -870, false},
                               {0, -871, true},
                               {1500.5, -20000, true},
                           });
}

TEST(Placement, ASecondMonitorOnTheRightHoldsTheBarSavedThere) {
    // The second monitor right of the primary, 1280 x 1024 pixels, its top at the primary's.
    const TwipsArea right{15360, 0, 15360 + 19200, 15360};
    expectLost({kPrimary, right}, {
                                      {20000, 500, false},
                                      {34000, 14000, false},
                                      {36560, 15960, false},
                                      {36561, 0, true},
                                      {0, 15961, true},
                                  });
}

TEST(Placement, AMonitorLeftOrAboveThePrimaryHasNegativeCoordinates) {
    const TwipsArea left{-19200, 0, 0, 15360};
    expectLost({left, kPrimary}, {{-15000, 3000, false}, {-23300, 0, false}, {-23301, 0, true}});
    const TwipsArea above{0, -11520, 15360, 0};
    expectLost({kPrimary, above}, {{300, -9000, false}, {0, -12390, false}, {0, -12391, true}});
}

TEST(Placement, ABarOnAMonitorThatWasRemovedIsLost) {
    const TwipsArea left{-19200, 0, 0, 15360};
    expectLost({left, kPrimary}, {{-15000, 3000, false}});
    expectLost({kPrimary}, {{-15000, 3000, true}});
}

TEST(Placement, BetweenMonitorsOfUnequalSizeOnlyTheMonitorsAndTheirMarginsCount) {
    // Side by side: 1920 x 1080 pixels, and 1280 x 720 right of it, their tops level. The corner
    // below the smaller one lies in the rectangle around both, yet no monitor shows it.
    const TwipsArea large{0, 0, 28800, 16200};
    expectLost({large, {28800, 0, 48000, 10800}}, {
                                                      {37500, 13500, true},
                                                      {40000, 5000, false},
                                                      {40000, 11400, false},
                                                      {40000, 11401, true},
                                                      {30800, 13500, false},
                                                      {30801, 13500, true},
                                                  });
    // Stacked: 1280 x 720 above the left part of the same primary.
    expectLost({large, {0, -10800, 19200, 0}}, {
                                                   {25000, -5000, true},
                                                   {21200, -5000, false},
                                                   {25000, -870, false},
                                                   {25000, -871, true},
                                               });
}

TEST(Placement, WithoutMonitorsFromTheSystemThePrimaryScreenIsTheOnlyOne) {
    FakeScreen screen;
    screen.monitors.clear();
    const std::vector<TwipsArea> monitors = monitorsOf(screen);
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].left, 0);
    EXPECT_EQ(monitors[0].top, 0);
    EXPECT_EQ(monitors[0].right, 15360);
    EXPECT_EQ(monitors[0].bottom, 11520);
}

class DisplayChangeTest : public ClockTest {};

TEST_F(DisplayChangeTest, AMonitorRemovedWhileTheClockRunsBringsItsBarBack) {
    // The bar stands on a monitor right of the primary.
    app.screen.monitors = {kPrimary, {15360, 0, 34560, 15360}};
    view().moveTo(25000, 3000);
    form().onDisplayChange();
    EXPECT_EQ(view().leftTwips, 25000);
    EXPECT_EQ(view().topTwips, 3000);

    // That monitor is gone, and the primary has a new size.
    app.screen.monitors = {{0, 0, 19200, 15360}};
    app.screen.width = 19200;
    app.screen.height = 15360;
    form().onDisplayChange();
    EXPECT_EQ(view().leftTwips, 10);
    EXPECT_EQ(view().topTwips, 10);
    // The notice is centred on the primary screen's new size.
    EXPECT_EQ(app.program.screenSize().width.toNumber(), 19200);
    EXPECT_EQ(app.program.screenSize().height.toNumber(), 15360);
}

TEST_F(DisplayChangeTest, ABarStillOnTheDesktopStaysWhereItIs) {
    view().moveTo(-300, -45);
    app.screen.monitors = {{0, 0, 12000, 9000}};
    form().onDisplayChange();
    EXPECT_EQ(view().leftTwips, -300);
    EXPECT_EQ(view().topTwips, -45);
}

} // namespace
} // namespace ambrel::testing
