#include "clock/BitmapScaling.h"

#include <algorithm>
#include <stdexcept>

namespace ambrel {

namespace {

// Which lines may take the scale's remainder: those of runs of equal lines (the faces), except
// the first and last runs, which are the outer edges. Every other line is an edge or a divider.
std::vector<bool> stretchable(const std::vector<bool>& repeats) {
    const int n = static_cast<int>(repeats.size());
    int first = 1;
    while (first < n && repeats[first]) {
        ++first;
    }
    int last = n - 1;
    while (last > 0 && repeats[last]) {
        --last;
    }
    std::vector<bool> flat(repeats.size());
    for (int i = first; i < last; ++i) {
        flat[i] = repeats[i] || repeats[i + 1];
    }
    return flat;
}

// For each column (or row), whether it equals the one before it.
std::vector<bool> repeatedLines(const PixelGrid& grid, bool columns) {
    const int lines = columns ? grid.width() : grid.height();
    const int length = columns ? grid.height() : grid.width();
    const auto at = [&](int line, int i) { return columns ? grid.at(line, i) : grid.at(i, line); };
    std::vector<bool> repeats(static_cast<std::size_t>(lines));
    for (int line = 1; line < lines; ++line) {
        bool same = true;
        for (int i = 0; i < length && same; ++i) {
            same = at(line, i) == at(line - 1, i);
        }
        repeats[static_cast<std::size_t>(line)] = same;
    }
    return repeats;
}

} // namespace

PixelGrid::PixelGrid(int width, int height, std::uint32_t fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(std::max(width, 0)) *
                                                  static_cast<std::size_t>(std::max(height, 0)),
                                              fill) {
    if (width < 0 || height < 0) {
        throw std::invalid_argument("a picture's size cannot be negative");
    }
}

PixelGrid columnsOf(const PixelGrid& grid, int left, int right) {
    PixelGrid part(right - left, grid.height());
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = left; x < right; ++x) {
            part.set(x - left, y, grid.at(x, y));
        }
    }
    return part;
}

std::vector<int> lineMap(const std::vector<bool>& repeats, int target) {
    const std::vector<bool> flat = stretchable(repeats);
    const int n = static_cast<int>(flat.size());
    std::vector<int> map;
    if (n == 0) {
        return map;
    }
    const int flats = static_cast<int>(std::count(flat.begin(), flat.end(), true));
    const int edge = std::max(1, target / n);
    const int extra = target - edge * (n - flats);
    if (flats == 0 || extra < flats) {
        for (int i = 0; i < target; ++i) {
            map.push_back(i * n / target);
        }
        return map;
    }
    for (int i = 0, f = 0; i < n; ++i) {
        const int width = flat[i] ? (f + 1) * extra / flats - f * extra / flats : edge;
        f += flat[i] ? 1 : 0;
        map.insert(map.end(), width, i);
    }
    return map;
}

PixelGrid scaleKeepingLines(const PixelGrid& source, int width, int height) {
    const std::vector<int> columnMap = lineMap(repeatedLines(source, true), width);
    const std::vector<int> rowMap = lineMap(repeatedLines(source, false), height);
    PixelGrid scaled(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            scaled.set(x, y, source.at(columnMap[x], rowMap[y]));
        }
    }
    return scaled;
}

PixelGrid scaleBandsKeepingLines(const PixelGrid& source, const std::vector<int>& sourceCuts,
                                 const std::vector<int>& targetCuts, int height) {
    if (sourceCuts.size() != targetCuts.size() || sourceCuts.size() < 2 ||
        sourceCuts.front() != 0 || sourceCuts.back() != source.width() || targetCuts.front() != 0) {
        throw std::invalid_argument("the bands do not cover the picture");
    }
    PixelGrid scaled(targetCuts.back(), height);
    for (std::size_t band = 0; band + 1 < sourceCuts.size(); ++band) {
        const int left = targetCuts[band];
        const PixelGrid part =
            scaleKeepingLines(columnsOf(source, sourceCuts[band], sourceCuts[band + 1]),
                              targetCuts[band + 1] - left, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < part.width(); ++x) {
                scaled.set(left + x, y, part.at(x, y));
            }
        }
    }
    return scaled;
}

} // namespace ambrel
