#pragma once
// The key filter of the four numeric boxes: it sees typed characters only, so pasted text and
// keys without a character (arrows, Delete) pass it by.

namespace ambrel {

inline constexpr int kBackspace = 8;

// True for the characters the numeric boxes accept: Backspace and the ASCII digits. Every other
// code, control characters and full-width digits included, is dropped by the caller.
constexpr bool passesDigitFilter(int charCode) {
    return charCode == kBackspace || (charCode >= '0' && charCode <= '9');
}

} // namespace ambrel
