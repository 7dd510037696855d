#include "notify/NoticeColors.h"

#include <gtest/gtest.h>

namespace ambrel {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kClassicFace{240, 240, 240};

TEST(NoticeColorsTest, BrightnessWeighsGreenMostAndBlueLeast) {
    EXPECT_EQ(brightness(kBlack), 0);
    EXPECT_EQ(brightness(kWhite), 255);
    EXPECT_EQ(brightness(kMessageInk), 29);
    EXPECT_GT(brightness(Rgb{0, 255, 0}), brightness(Rgb{255, 0, 0}));
}

TEST(NoticeColorsTest, TheLayoutsBlackAndBlueStayOnAnOrdinaryFace) {
    for (const Rgb& face : {kClassicFace, kWhite, Rgb{212, 208, 200}}) {
        EXPECT_EQ(noticeInk(kHeadlineInk, face, kBlack, false), kHeadlineInk);
        EXPECT_EQ(noticeInk(kMessageInk, face, kBlack, false), kMessageInk);
    }
}

TEST(NoticeColorsTest, AHighContrastThemeOrADarkFaceGivesBothTextsTheThemesColour) {
    // High Contrast #1: yellow text on a black face; the theme is on.
    EXPECT_EQ(noticeInk(kHeadlineInk, kBlack, kYellow, true), kYellow);
    EXPECT_EQ(noticeInk(kMessageInk, kBlack, kYellow, true), kYellow);
    // A white high-contrast face keeps nothing of the layout either: the theme decides.
    EXPECT_EQ(noticeInk(kMessageInk, kWhite, kBlack, true), kBlack);
    // A dark face without the flag: the black headline and the blue message would vanish.
    EXPECT_EQ(noticeInk(kHeadlineInk, kBlack, kWhite, false), kWhite);
    EXPECT_EQ(noticeInk(kMessageInk, Rgb{32, 32, 32}, kWhite, false), kWhite);
}

} // namespace
} // namespace ambrel
