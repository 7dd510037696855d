#pragma once
// A palette image drawn pixel by pixel, and its encodings as an 8-bit BMP and a 4-bit icon.
//
// The encoders write no time stamps and no uninitialised padding, so the same image always gives
// the same bytes: the committed resource files can be compared byte for byte with a fresh drawing.

#include <cstdint>
#include <vector>

namespace ambrel::resgen {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

class IndexedImage {
public:
    // Every pixel starts as palette entry `fill`.
    IndexedImage(int width, int height, std::vector<Rgb> palette, std::uint8_t fill);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Rgb>& palette() const { return palette_; }

    // Out-of-range coordinates or indexes throw std::out_of_range: a drawing that strays off
    // the image is a mistake in the artwork, not something to clip silently.
    std::uint8_t index(int x, int y) const;
    Rgb colour(int x, int y) const { return palette_[index(x, y)]; }
    void set(int x, int y, std::uint8_t index);
    // Inclusive corners, the way the layout gives pixel ranges ("x 18 to 80").
    void fillRect(int left, int top, int right, int bottom, std::uint8_t index);

private:
    int width_;
    int height_;
    std::vector<Rgb> palette_;
    std::vector<std::uint8_t> pixels_;
};

// Windows BMP, BITMAPINFOHEADER, 8 bits per pixel, the palette padded to 256 entries.
std::vector<std::uint8_t> encodeBmp8(const IndexedImage& image);

// Windows icon file holding the one image at 4 bits per pixel with an all-zero AND mask
// (fully opaque). The palette must have at most 16 entries.
std::vector<std::uint8_t> encodeIcon4(const IndexedImage& image);

} // namespace ambrel::resgen
