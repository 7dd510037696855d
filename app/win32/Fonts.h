#pragma once
// The program's Japanese fonts, with a Japanese Gothic stand-in where the named face is missing.

#include "app/win32/Handles.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace ambrel::win32 {

// `face` at `points` (e.g. 9.75) and `weight` in the Shift-JIS character set, for `dpi`.
Font createJapaneseFont(const wchar_t* face, double points, int weight, int dpi);

// The faces the layouts name: proportional and fixed-pitch.
inline constexpr const wchar_t* kProportionalGothic = L"ＭＳ Ｐゴシック";
inline constexpr const wchar_t* kGothic = L"ＭＳ ゴシック";

struct FontChoice {
    const wchar_t* face;
    double points;
    int weight;
};

// The fonts of one window, made for its dpi (and made anew when that changes), and found by the
// window's own enum of kinds, whose values are the places of their choices in the list.
template <class Kind> class FontSet {
public:
    FontSet() = default;
    FontSet(std::initializer_list<FontChoice> choices, int dpi) {
        for (const FontChoice& choice : choices) {
            fonts_.push_back(createJapaneseFont(choice.face, choice.points, choice.weight, dpi));
        }
    }
    HFONT operator[](Kind kind) const { return fonts_[static_cast<std::size_t>(kind)].get(); }

private:
    std::vector<Font> fonts_;
};

} // namespace ambrel::win32
