// The bar's pictures at the screen's dpi: every edge and divider line as wide as every other,
// none lost, and the faces taking up the rest. The pictures are the real ones, as the
// resource generator draws them.

#include "clock/BitmapScaling.h"

#include "Artwork.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

namespace ambrel {
namespace {

// The window's layout converts twips at the screen's dpi, rounding to the nearest pixel.
int pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

PixelGrid gridOf(const resgen::IndexedImage& image) {
    PixelGrid grid(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            grid.set(x, y, image.index(x, y));
        }
    }
    return grid;
}

PixelGrid transposed(const PixelGrid& grid) {
    PixelGrid turned(grid.height(), grid.width());
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x) {
            turned.set(y, x, grid.at(x, y));
        }
    }
    return turned;
}

bool sameColumns(const PixelGrid& grid, int a, int b) {
    for (int y = 0; y < grid.height(); ++y) {
        if (grid.at(a, y) != grid.at(b, y)) {
            return false;
        }
    }
    return true;
}

// The widths of the runs of equal columns, left to right.
std::vector<int> columnRuns(const PixelGrid& grid) {
    std::vector<int> runs;
    for (int x = 0; x < grid.width(); ++x) {
        if (x > 0 && sameColumns(grid, x, x - 1)) {
            ++runs.back();
        } else {
            runs.push_back(1);
        }
    }
    return runs;
}

// One column of each run: what the picture shows, whatever its scale.
PixelGrid collapsedColumns(const PixelGrid& grid) {
    std::vector<int> kept;
    for (int x = 0; x < grid.width(); ++x) {
        if (x == 0 || !sameColumns(grid, x, x - 1)) {
            kept.push_back(x);
        }
    }
    PixelGrid collapsed(static_cast<int>(kept.size()), grid.height());
    for (int y = 0; y < grid.height(); ++y) {
        for (std::size_t i = 0; i < kept.size(); ++i) {
            collapsed.set(static_cast<int>(i), y, grid.at(kept[i], y));
        }
    }
    return collapsed;
}

PixelGrid collapsed(const PixelGrid& grid) {
    return transposed(collapsedColumns(transposed(collapsedColumns(grid))));
}

// Along the columns: nothing lost, added or reordered; each line that differs from both of its
// neighbours (an edge or a divider) and the outer runs are `edge` lines per source line; each
// face is at least that wide.
void expectColumnsKept(const PixelGrid& source, const PixelGrid& scaled, int edge) {
    ASSERT_EQ(collapsed(scaled), collapsed(source));
    const std::vector<int> before = columnRuns(source);
    const std::vector<int> after = columnRuns(scaled);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t run = 0; run < before.size(); ++run) {
        const bool outer = run == 0 || run + 1 == before.size();
        if (outer || before[run] == 1) {
            EXPECT_EQ(after[run], before[run] * edge) << "run " << run;
        } else {
            EXPECT_GE(after[run], before[run] * edge) << "run " << run;
        }
    }
}

void expectLinesKept(const PixelGrid& source, const PixelGrid& scaled, int edge) {
    SCOPED_TRACE("columns");
    expectColumnsKept(source, scaled, edge);
    SCOPED_TRACE("rows");
    expectColumnsKept(transposed(source), transposed(scaled), edge);
}

// The bar's background, scaled the way the clock window scales it: its two ends, which lie
// under the image buttons, apart from the middle.
const std::vector<int> kBarCuts{0, 16, 124, 140};

std::vector<int> barTargetCuts(int dpi) {
    return {0, pixels(240, dpi), pixels(1860, dpi), pixels(2100, dpi)};
}

PixelGrid scaledBar(int dpi) {
    return scaleBandsKeepingLines(gridOf(resgen::drawClockBackground()), kBarCuts,
                                  barTargetCuts(dpi), pixels(270, dpi));
}

// Widths along one axis of runs of lines, built into the `repeats` that lineMap takes.
std::vector<bool> repeatsOfRuns(const std::vector<int>& runs) {
    std::vector<bool> repeats;
    for (int run : runs) {
        repeats.push_back(false);
        repeats.insert(repeats.end(), run - 1, true);
    }
    return repeats;
}

class AtEveryDpi : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(BitmapScaling, AtEveryDpi, ::testing::Values(96, 120, 144, 192));

TEST_P(AtEveryDpi, LineMapGivesEdgesTheWholeScaleAndSpreadsTheRestEvenlyOverTheFaces) {
    const int dpi = GetParam();
    const int edge = dpi / 96;
    // Like the bar from left to right: outer edge, cell, divider, edges, panels, outer edge.
    const std::vector<int> runs{2, 13, 1, 2, 1, 61, 1, 1, 1, 38, 1, 2, 1, 13, 2};
    const int lines = std::accumulate(runs.begin(), runs.end(), 0);
    const int target = pixels(lines * 15, dpi);
    const std::vector<int> map = lineMap(repeatsOfRuns(runs), target);
    ASSERT_EQ(static_cast<int>(map.size()), target);

    std::vector<int> widths(static_cast<std::size_t>(lines));
    for (std::size_t i = 0; i < map.size(); ++i) {
        ASSERT_TRUE(i == 0 ? map[i] == 0 : map[i] == map[i - 1] || map[i] == map[i - 1] + 1)
            << "target line " << i << " comes from " << map[i];
        ++widths[static_cast<std::size_t>(map[i])];
    }
    int line = 0;
    int narrowestFace = target;
    int widestFace = 0;
    for (std::size_t run = 0; run < runs.size(); ++run) {
        const bool face = run != 0 && run + 1 != runs.size() && runs[run] > 1;
        for (int i = 0; i < runs[run]; ++i, ++line) {
            const int width = widths[static_cast<std::size_t>(line)];
            if (face) {
                narrowestFace = std::min(narrowestFace, width);
                widestFace = std::max(widestFace, width);
            } else {
                EXPECT_EQ(width, edge) << "line " << line;
            }
        }
    }
    EXPECT_GE(narrowestFace, edge);
    EXPECT_LE(widestFace - narrowestFace, 1);
    if (dpi == 96) {
        std::vector<int> identity(static_cast<std::size_t>(lines));
        std::iota(identity.begin(), identity.end(), 0);
        EXPECT_EQ(map, identity);
    }
}

TEST_P(AtEveryDpi, TheBarKeepsEveryEdgeAndDividerAtOneWidthAndStretchesItsFaces) {
    const int dpi = GetParam();
    const PixelGrid source = gridOf(resgen::drawClockBackground());
    const PixelGrid scaled = scaledBar(dpi);
    ASSERT_EQ(scaled.width(), pixels(2100, dpi));
    ASSERT_EQ(scaled.height(), pixels(270, dpi));
    const std::vector<int> targetCuts = barTargetCuts(dpi);
    for (std::size_t band = 0; band + 1 < kBarCuts.size(); ++band) {
        SCOPED_TRACE("band " + std::to_string(band));
        expectLinesKept(columnsOf(source, kBarCuts[band], kBarCuts[band + 1]),
                        columnsOf(scaled, targetCuts[band], targetCuts[band + 1]), dpi / 96);
    }
    // The black divider after the options cell ends where the options button does.
    const int face = scaled.height() / 2;
    const int divider = targetCuts[1] - 1;
    EXPECT_EQ(scaled.at(divider, face), resgen::Black);
    EXPECT_NE(scaled.at(divider - dpi / 96, face), resgen::Black);
    // The grey one before the exit cell starts where the exit button does.
    EXPECT_EQ(scaled.at(targetCuts[2], face), resgen::Grey);
    EXPECT_NE(scaled.at(targetCuts[2] + dpi / 96, face), resgen::Grey);
}

TEST_P(AtEveryDpi, TheButtonsKeepEveryEdgeAtOneWidthAndFillTheirPlace) {
    const int dpi = GetParam();
    for (const auto& button : {resgen::drawOptionsButton(), resgen::drawExitButton()}) {
        const PixelGrid source = gridOf(button);
        const PixelGrid scaled = scaleKeepingLines(source, pixels(240, dpi), pixels(270, dpi));
        ASSERT_EQ(scaled.width(), pixels(240, dpi));
        ASSERT_EQ(scaled.height(), pixels(270, dpi));
        expectLinesKept(source, scaled, dpi / 96);
    }
}

TEST(BitmapScaling, At96DpiEveryPictureIsUnchanged) {
    const PixelGrid bar = gridOf(resgen::drawClockBackground());
    EXPECT_EQ(scaledBar(96), bar);
    for (const auto& button : {resgen::drawOptionsButton(), resgen::drawExitButton()}) {
        const PixelGrid grid = gridOf(button);
        EXPECT_EQ(scaleKeepingLines(grid, grid.width(), grid.height()), grid);
    }
}

TEST(BitmapScaling, WithoutRoomForTheEdgesEveryLineIsScaledAlike) {
    // Four distinct lines in six: no face can take the remainder.
    EXPECT_EQ(lineMap(repeatsOfRuns({1, 1, 1, 1}), 6), (std::vector<int>{0, 0, 1, 2, 2, 3}));
    // Fewer target lines than source lines: some are dropped, none invented.
    EXPECT_EQ(lineMap(repeatsOfRuns({2, 4, 2}), 4), (std::vector<int>{0, 2, 4, 6}));
    EXPECT_TRUE(lineMap({}, 5).empty());
}

TEST(BitmapScaling, BandsMustCoverThePicture) {
    const PixelGrid grid(10, 2);
    EXPECT_THROW(scaleBandsKeepingLines(grid, {0, 5, 9}, {0, 6, 12}, 2), std::invalid_argument);
    EXPECT_THROW(scaleBandsKeepingLines(grid, {0, 10}, {0, 6, 12}, 2), std::invalid_argument);
    EXPECT_THROW(PixelGrid(-1, 2), std::invalid_argument);
}

} // namespace
} // namespace ambrel
