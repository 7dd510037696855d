#include "app/win32/Fonts.h"

#include <cmath>
#include <string>

namespace ambrel::win32 {

namespace {

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    WindowDc screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &query, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Where the named face is missing, a proportional or fixed Gothic that has Japanese glyphs, so
// that the font mapper never falls back to a face without them.
const wchar_t* installedFace(const wchar_t* face) {
    if (faceInstalled(face)) {
        return face;
    }
    const bool proportional = std::wstring(face).find(L'Ｐ') != std::wstring::npos;
    static const wchar_t* const proportionalGothics[] = {L"MS PGothic",       L"IPAPGothic",
                                                         L"IPAexGothic",      L"VL PGothic",
                                                         L"Noto Sans CJK JP", L"Meiryo"};
    static const wchar_t* const fixedGothics[] = {L"MS Gothic", L"IPAGothic", L"VL Gothic",
                                                  L"Noto Sans Mono CJK JP"};
    if (proportional) {
        for (const wchar_t* candidate : proportionalGothics) {
            if (faceInstalled(candidate)) {
                return candidate;
            }
        }
    }
    for (const wchar_t* candidate : fixedGothics) {
        if (faceInstalled(candidate)) {
            return candidate;
        }
    }
    return face; // the mapper picks by character set
}

} // namespace

Font createJapaneseFont(const wchar_t* face, double points, int weight, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, installedFace(face), LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

} // namespace ambrel::win32
