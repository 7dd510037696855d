#include "notify/NoticeColors.h"

#include <cstdlib>

namespace ambrel {

namespace {

// The least difference of brightness between a text and its ground that stays readable (the
// W3C's evaluation and repair techniques for colour contrast).
constexpr int kReadableDifference = 125;

} // namespace

int brightness(const Rgb& colour) {
    return (299 * colour.red + 587 * colour.green + 114 * colour.blue) / 1000;
}

Rgb noticeInk(const Rgb& layout, const Rgb& face, const Rgb& themeText, bool highContrast) {
    const bool readable = std::abs(brightness(layout) - brightness(face)) >= kReadableDifference;
    return highContrast || !readable ? themeText : layout;
}

} // namespace ambrel
