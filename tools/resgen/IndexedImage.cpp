#include "IndexedImage.h"

#include <stdexcept>
#include <string>

namespace ambrel::resgen {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
// 96 dots per inch, the resolution the layout is drawn for.
constexpr std::int32_t kPixelsPerMetre = 3780;

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Rows of a device-independent bitmap are padded to whole 32-bit words.
std::uint32_t rowStride(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

void writeInfoHeader(ByteWriter& out, int width, int storedHeight, int bitsPerPixel,
                     std::uint32_t imageSize, std::uint32_t coloursUsed) {
    out.u32(kInfoHeaderSize);
    out.i32(width);
    out.i32(storedHeight);
    out.u16(1); // planes
    out.u16(static_cast<std::uint16_t>(bitsPerPixel));
    out.u32(0); // BI_RGB
    out.u32(imageSize);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(coloursUsed);
    out.u32(0); // all colours important
}

void writePalette(ByteWriter& out, const std::vector<Rgb>& palette, std::size_t entries) {
    for (std::size_t i = 0; i < entries; ++i) {
        const Rgb c = i < palette.size() ? palette[i] : Rgb{};
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
        out.u8(0);
    }
}

} // namespace

IndexedImage::IndexedImage(int width, int height, std::vector<Rgb> palette, std::uint8_t fill)
    : width_(width), height_(height), palette_(std::move(palette)) {
    if (width <= 0 || height <= 0)
        throw std::out_of_range("image size must be positive");
    if (fill >= palette_.size())
        throw std::out_of_range("fill index outside the palette");
    pixels_.assign(static_cast<std::size_t>(width) * height, fill);
}

std::uint8_t IndexedImage::index(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") outside the image");
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void IndexedImage::set(int x, int y, std::uint8_t index) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") outside the image");
    if (index >= palette_.size())
        throw std::out_of_range("colour index outside the palette");
    pixels_[static_cast<std::size_t>(y) * width_ + x] = index;
}

void IndexedImage::fillRect(int left, int top, int right, int bottom, std::uint8_t index) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            set(x, y, index);
}

std::vector<std::uint8_t> encodeBmp8(const IndexedImage& image) {
    constexpr std::uint32_t kPaletteEntries = 256;
    const std::uint32_t stride = rowStride(image.width(), 8);
    const std::uint32_t imageSize = stride * image.height();
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteEntries * 4;

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(pixelOffset + imageSize);
    out.u32(0); // reserved
    out.u32(pixelOffset);
    writeInfoHeader(out, image.width(), image.height(), 8, imageSize, kPaletteEntries);
    writePalette(out, image.palette(), kPaletteEntries);
    // Bottom-up rows.
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x)
            out.u8(image.index(x, y));
        for (std::uint32_t pad = image.width(); pad < stride; ++pad)
            out.u8(0);
    }
    return out.take();
}

std::vector<std::uint8_t> encodeIcon4(const IndexedImage& image) {
    constexpr std::uint32_t kPaletteEntries = 16;
    if (image.palette().size() > kPaletteEntries)
        throw std::out_of_range("a 16-colour icon takes at most 16 palette entries");
    if (image.width() > 256 || image.height() > 256)
        throw std::out_of_range("icon larger than 256 pixels");
    const std::uint32_t colourStride = rowStride(image.width(), 4);
    const std::uint32_t maskStride = rowStride(image.width(), 1);
    const std::uint32_t colourSize = colourStride * image.height();
    const std::uint32_t maskSize = maskStride * image.height();
    const std::uint32_t dibSize = kInfoHeaderSize + kPaletteEntries * 4 + colourSize + maskSize;
    constexpr std::uint32_t kDirectorySize = 6 + 16;

    ByteWriter out;
    out.u16(0); // reserved
    out.u16(1); // icon, not cursor
    out.u16(1); // one image
    // A dimension of 256 is stored as 0.
    out.u8(static_cast<std::uint8_t>(image.width()));
    out.u8(static_cast<std::uint8_t>(image.height()));
    out.u8(static_cast<std::uint8_t>(kPaletteEntries));
    out.u8(0);
    out.u16(1); // planes
    out.u16(4); // bits per pixel
    out.u32(dibSize);
    out.u32(kDirectorySize);

    // The stored height covers the colour bits and the AND mask stacked.
    writeInfoHeader(out, image.width(), image.height() * 2, 4, colourSize + maskSize, 0);
    writePalette(out, image.palette(), kPaletteEntries);
    for (int y = image.height() - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < image.width(); x += 2, ++written) {
            const std::uint8_t hi = image.index(x, y);
            const std::uint8_t lo = x + 1 < image.width() ? image.index(x + 1, y) : 0;
            out.u8(static_cast<std::uint8_t>((hi << 4) | lo));
        }
        for (; written < colourStride; ++written)
            out.u8(0);
    }
    for (std::uint32_t i = 0; i < maskSize; ++i)
        out.u8(0);
    return out.take();
}

} // namespace ambrel::resgen
