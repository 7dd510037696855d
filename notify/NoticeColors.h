#pragma once
// The colours of the notice's two texts. The layout draws the headline black and the message
// blue, both on the system's face colour. A high-contrast theme wants its own text colour
// instead, and so does a face colour that the layout's would not stand out from (a dark theme's
// black face under the black headline): then both texts take the colour the system pairs with
// that face.

namespace ambrel {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

inline constexpr Rgb kHeadlineInk{0, 0, 0};
inline constexpr Rgb kMessageInk{0, 0, 255};

// How bright a colour looks, 0 (black) to 255 (white), weighing the channels as the eye does.
int brightness(const Rgb& colour);

// The colour a text of the notice is drawn in: its layout colour, or `themeText`.
Rgb noticeInk(const Rgb& layout, const Rgb& face, const Rgb& themeText, bool highContrast);

} // namespace ambrel
