// The committed bitmaps and icon are what the generator draws, and they show what the clock
// window's layout relies on: edges, dividers and panels where the labels and buttons sit, and
// button glyphs that meet their flat copies one pixel lower and to the right.
//
// Pixels are read back from the committed files, not from the drawing, so that the encoders'
// row order and palette layout are checked too.

#include "Artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ambrel::resgen {

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "RGB(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

namespace {

using Bytes = std::vector<std::uint8_t>;

const Rgb kBlack{0, 0, 0};
const Rgb kGrey{128, 128, 128};
const Rgb kFace{64, 64, 64};
const Rgb kGreen{0, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kWhite{255, 255, 255};

Bytes readResource(const std::string& name) {
    std::ifstream in(std::string(AMBREL_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
std::int32_t signed32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}

Rgb paletteEntry(const Bytes& b, std::size_t paletteAt, unsigned index) {
    const std::size_t at = paletteAt + 4 * index;
    return {b.at(at + 2), b.at(at + 1), b.at(at)};
}

// An 8-bit BMP file as the resource loader reads it: bottom-up rows padded to 4 bytes.
struct Bmp8 {
    Bytes bytes;
    int width() const { return signed32(bytes, 18); }
    int height() const { return signed32(bytes, 22); }
    Rgb at(int x, int y) const {
        const std::size_t stride = (width() + 3) / 4 * 4;
        const std::size_t row = le32(bytes, 10) + (height() - 1 - y) * stride;
        return paletteEntry(bytes, 14 + 40, bytes.at(row + x));
    }
};

// The one 4-bit image of an icon file.
struct Icon4 {
    Bytes bytes;
    std::size_t dib() const { return le32(bytes, 18); }
    Rgb at(int x, int y) const {
        const int width = signed32(bytes, dib() + 4);
        const int height = signed32(bytes, dib() + 8) / 2;
        const std::size_t stride = (width * 4 + 31) / 32 * 4;
        const std::size_t pixels = dib() + 40 + 16 * 4;
        const std::uint8_t pair = bytes.at(pixels + (height - 1 - y) * stride + x / 2);
        return paletteEntry(bytes, dib() + 40, x % 2 == 0 ? pair >> 4 : pair & 0x0F);
    }
};

TEST(ArtworkFiles, CommittedFilesAreWhatTheGeneratorDraws) {
    for (const auto& file : renderResourceFiles()) {
        SCOPED_TRACE(file.name);
        const Bytes committed = readResource(file.name);
        ASSERT_EQ(committed.size(), file.bytes.size())
            << "regenerate with: cmake --build --preset native --target regenerate_resources";
        std::size_t firstDifference = 0;
        while (firstDifference < committed.size() &&
               committed[firstDifference] == file.bytes[firstDifference])
            ++firstDifference;
        EXPECT_EQ(firstDifference, committed.size()) << "first differing byte";
    }
}

TEST(ArtworkFiles, BitmapsAre256ColourAtTheLayoutSizes) {
    const struct {
        const char* name;
        int width;
    } bitmaps[] = {
        {"clock_background.bmp", 140}, {"options_button.bmp", 16}, {"exit_button.bmp", 16}};
    for (const auto& expected : bitmaps) {
        SCOPED_TRACE(expected.name);
        const Bmp8 bmp{readResource(expected.name)};
        ASSERT_GE(bmp.bytes.size(), 54u + 1024u);
        EXPECT_EQ(bmp.bytes[0], 'B');
        EXPECT_EQ(bmp.bytes[1], 'M');
        EXPECT_EQ(le32(bmp.bytes, 2), bmp.bytes.size());
        EXPECT_EQ(bmp.width(), expected.width);
        EXPECT_EQ(bmp.height(), 18);
        EXPECT_EQ(le16(bmp.bytes, 28), 8u);   // bits per pixel
        EXPECT_EQ(le32(bmp.bytes, 30), 0u);   // uncompressed
        EXPECT_EQ(le32(bmp.bytes, 46), 256u); // palette entries
        EXPECT_EQ(le32(bmp.bytes, 10), 54u + 1024u);
    }
}

TEST(ClockBackground, RaisedBarWithDividersAndSunkenPanels) {
    const Bmp8 bar{readResource("clock_background.bmp")};
    for (int x : {2, 16, 70, 122, 136}) {
        SCOPED_TRACE("x " + std::to_string(x));
        EXPECT_EQ(bar.at(x, 0), kGrey);
        EXPECT_EQ(bar.at(x, 1), kGrey);
        EXPECT_EQ(bar.at(x, 16), kBlack);
        EXPECT_EQ(bar.at(x, 17), kBlack);
    }
    for (int y = 2; y <= 15; ++y) {
        SCOPED_TRACE("y " + std::to_string(y));
        EXPECT_EQ(bar.at(0, y), kGrey);
        EXPECT_EQ(bar.at(1, y), kGrey);
        EXPECT_EQ(bar.at(138, y), kBlack);
        EXPECT_EQ(bar.at(139, y), kBlack);
        EXPECT_EQ(bar.at(15, y), kBlack) << "options divider";
        EXPECT_EQ(bar.at(124, y), kGrey) << "exit divider";
        for (int x : {16, 17, 81, 82, 122, 123})
            EXPECT_EQ(bar.at(x, y), kFace) << "face at x " << x;
    }
    // The dark edge takes the corners where the two bevels meet.
    EXPECT_EQ(bar.at(139, 0), kBlack);
    EXPECT_EQ(bar.at(0, 17), kBlack);
    EXPECT_EQ(bar.at(0, 0), kGrey);

    const struct { int left, right; } panels[] = {{18, 80}, {83, 121}};
    for (const auto& panel : panels) {
        SCOPED_TRACE("panel at x " + std::to_string(panel.left));
        const int middle = (panel.left + panel.right) / 2;
        EXPECT_EQ(bar.at(middle, 3), kBlack);
        EXPECT_EQ(bar.at(panel.left, 9), kBlack);
        EXPECT_EQ(bar.at(panel.right, 9), kGrey);
        EXPECT_EQ(bar.at(middle, 15), kGrey);
        EXPECT_EQ(bar.at(middle, 2), kFace) << "above the panel";
        EXPECT_EQ(bar.at(panel.left - 1, 9), kFace) << "left of the panel";
        EXPECT_EQ(bar.at(panel.right + 1, 9), kFace) << "right of the panel";
        // The labels draw their text on the whole interior: nothing else may show there.
        for (int y = 4; y <= 14; ++y)
            for (int x = panel.left + 1; x < panel.right; ++x)
                ASSERT_EQ(bar.at(x, y), kFace) << "interior at " << x << ", " << y;
    }
}

// Pixels of `colour` inside the rectangle, relative to (originX, originY).
std::vector<std::pair<int, int>> glyphPixels(const Bmp8& bmp, Rgb colour, int left, int right,
                                             int originX, int originY) {
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = left; x <= right; ++x)
            if (bmp.at(x, y) == colour)
                found.emplace_back(x - originX, y - originY);
    return found;
}

TEST(ImageButtons, RaisedFaceWithTheGlyphOnePixelAboveAndLeftOfTheFlatCell) {
    const Bmp8 bar{readResource("clock_background.bmp")};
    const struct {
        const char* name;
        int barX;
        Rgb glyph;
        int cellLeft, cellRight;
    } buttons[] = {{"options_button.bmp", 0, kGreen, 2, 14},
                   {"exit_button.bmp", 124, kRed, 125, 137}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.name);
        const Bmp8 img{readResource(button.name)};
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(img.at(i, 1), i < 14 ? kGrey : kBlack) << "top bevel at x " << i;
            EXPECT_EQ(img.at(i, 16), i < 1 ? kGrey : kBlack) << "bottom bevel at x " << i;
        }
        for (int y = 2; y <= 15; ++y) {
            EXPECT_EQ(img.at(0, y), kGrey);
            EXPECT_EQ(img.at(1, y), kGrey);
            EXPECT_EQ(img.at(14, y), kBlack);
            EXPECT_EQ(img.at(15, y), kBlack);
            EXPECT_EQ(img.at(2, y), kFace);
            EXPECT_EQ(img.at(13, y), kFace);
        }

        const auto raised = glyphPixels(img, button.glyph, 0, 15, 0, 0);
        const auto flat =
            glyphPixels(bar, button.glyph, button.barX, button.barX + 15, button.barX + 1, 1);
        ASSERT_GT(raised.size(), 20u);
        EXPECT_EQ(raised, flat) << "the flat glyph is the raised one moved by (1, 1)";
        // Nowhere else on the bar does that colour appear.
        EXPECT_EQ(glyphPixels(bar, button.glyph, 0, 139, 0, 0).size(), flat.size());
        for (const auto& [x, y] : flat) {
            EXPECT_GE(x + 1 + button.barX, button.cellLeft);
            EXPECT_LE(x + 1 + button.barX, button.cellRight);
        }
    }
}

TEST(ProgramIcon, OneOpaque16ColourImageOf32Pixels) {
    const Icon4 icon{readResource("ambrel.ico")};
    ASSERT_EQ(icon.bytes.size(), 6u + 16u + 40u + 64u + 512u + 128u);
    EXPECT_EQ(le16(icon.bytes, 0), 0u);
    EXPECT_EQ(le16(icon.bytes, 2), 1u); // icon
    EXPECT_EQ(le16(icon.bytes, 4), 1u); // one image
    EXPECT_EQ(icon.bytes[6], 32);
    EXPECT_EQ(icon.bytes[7], 32);
    EXPECT_EQ(icon.bytes[8], 16); // colours
    EXPECT_EQ(le16(icon.bytes, 12), 4u);
    EXPECT_EQ(le32(icon.bytes, 14), icon.bytes.size() - 22);
    EXPECT_EQ(icon.dib(), 22u);
    EXPECT_EQ(signed32(icon.bytes, 22 + 8), 64); // colour bits and mask stacked
    EXPECT_EQ(le16(icon.bytes, 22 + 14), 4u);
    for (std::size_t i = icon.bytes.size() - 128; i < icon.bytes.size(); ++i)
        ASSERT_EQ(icon.bytes[i], 0) << "AND mask byte " << i << " would make a pixel see-through";

    const std::vector<Rgb> classic = classicPalette();
    for (unsigned i = 0; i < 16; ++i)
        EXPECT_EQ(paletteEntry(icon.bytes, 22 + 40, i), classic[i]) << "palette entry " << i;
}

TEST(ProgramIcon, WindowWithClockDisplayAndSmallWindow) {
    const Icon4 icon{readResource("ambrel.ico")};
    EXPECT_EQ(icon.at(8, 1), kBlue) << "title bar";
    EXPECT_EQ(icon.at(31, 20), kGrey) << "right edge";
    EXPECT_EQ(icon.at(20, 31), kGrey) << "bottom edge";
    EXPECT_EQ(icon.at(28, 24), kWhite) << "window body";

    // The display lies in the upper half; its shadow is black and outside it, right and below.
    int greenLeft = 32, greenRight = -1, greenTop = 32, greenBottom = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (icon.at(x, y) == kGreen) {
                greenLeft = std::min(greenLeft, x);
                greenRight = std::max(greenRight, x);
                greenTop = std::min(greenTop, y);
                greenBottom = std::max(greenBottom, y);
            }
    EXPECT_LT(greenBottom, 16);
    EXPECT_GT(greenRight - greenLeft, 12) << "four digits and a colon";
    EXPECT_EQ(icon.at(greenRight + 3, greenTop), kBlack) << "shadow on the right";
    EXPECT_EQ(icon.at(greenLeft + 4, greenBottom + 3), kBlack) << "shadow below";
    EXPECT_NE(icon.at(greenRight + 1, greenTop), kBlack) << "display face around the digits";

    // Grey text lines on white in the lower half.
    int textLines = 0;
    for (int y = 16; y < 31; ++y)
        if (icon.at(7, y) == kGrey && icon.at(7, y - 1) == kWhite && icon.at(7, y + 1) == kWhite)
            ++textLines;
    EXPECT_GE(textLines, 2);
}

TEST(ImageEncoders, PadRowsAndStoreThemBottomUp) {
    IndexedImage img(3, 2, classicPalette(), 0);
    img.set(0, 0, 1);
    img.set(2, 0, 2);
    img.set(1, 1, 15);

    const Bytes bmp = encodeBmp8(img);
    const std::size_t pixels = le32(bmp, 10);
    ASSERT_EQ(bmp.size(), pixels + 2 * 4);
    EXPECT_EQ(Bytes(bmp.begin() + pixels, bmp.end()), (Bytes{0, 15, 0, 0, 1, 0, 2, 0}));

    const Bytes ico = encodeIcon4(img);
    const std::size_t colours = 22 + 40 + 64;
    ASSERT_EQ(ico.size(), colours + 2 * 4 + 2 * 4);
    EXPECT_EQ(Bytes(ico.begin() + colours, ico.begin() + colours + 8),
              (Bytes{0x0F, 0x00, 0, 0, 0x10, 0x20, 0, 0}));

    EXPECT_THROW(encodeIcon4(IndexedImage(2, 2, barPalette(), 0)), std::out_of_range);
}

} // namespace
} // namespace ambrel::resgen
