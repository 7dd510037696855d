#pragma once
// How the bar's pictures, drawn for 96 dpi, are scaled to the screen's dpi.
//
// Scaling every pixel alike by 1.25 or 1.5 would make some one-pixel lines one pixel wide and
// others two. So every edge and divider line gets the whole part of the scale, the same for all,
// and only the faces (runs of equal lines) take up what is left, spread evenly. Rounding the
// scale up instead would thicken the edges at 1.5 until the panels were too low for their text.

#include <cstdint>
#include <vector>

namespace ambrel {

// A picture as pixel values, top row first. Only the equality of two values matters here, so
// a value may be a palette index or a packed colour.
class PixelGrid {
public:
    PixelGrid(int width, int height, std::uint32_t fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint32_t value) { pixels_[index(x, y)] = value; }
    // The rows one after another, as a top-down device-independent bitmap holds them.
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::vector<std::uint32_t>& pixels() { return pixels_; }

    bool operator==(const PixelGrid& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    bool operator!=(const PixelGrid& other) const { return !(*this == other); }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

// The columns from `left` up to `right` of a picture.
PixelGrid columnsOf(const PixelGrid& grid, int left, int right);

// The source line for each of `target` lines along one axis, given for each source line whether
// it repeats the line before it. The first and last runs are the picture's outer edges and are
// not stretched. Where the faces cannot take the remainder (fewer target lines than the edges
// need), every line is scaled alike.
std::vector<int> lineMap(const std::vector<bool>& repeats, int target);

// `source` at `width` by `height`, its columns and rows mapped by lineMap.
PixelGrid scaleKeepingLines(const PixelGrid& source, int width, int height);

// `source` scaled in bands of columns side by side: the columns from sourceCuts[i] up to
// sourceCuts[i + 1] go to those from targetCuts[i] up to targetCuts[i + 1], each band scaled by
// itself, so that a band's ends stay where the cuts put them. Both cut lists start at 0 and end
// at their picture's width; the target's height is `height`.
PixelGrid scaleBandsKeepingLines(const PixelGrid& source, const std::vector<int>& sourceCuts,
                                 const std::vector<int>& targetCuts, int height);

} // namespace ambrel
