#pragma once
// The program's Japanese fonts, with a Japanese Gothic stand-in where the named face is missing.

#include "app/win32/Handles.h"

namespace ambrel::win32 {

// `face` at `points` (e.g. 9.75) and `weight` in the Shift-JIS character set, for `dpi`.
Font createJapaneseFont(const wchar_t* face, double points, int weight, int dpi);

} // namespace ambrel::win32
