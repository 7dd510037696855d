#pragma once
// Titles and texts of the message boxes that more than one part of the program shows.

#include <string>

namespace ambrel {

// The program's name, as the notice's title shows it.
inline constexpr const char* kProgramName = "Ambrel V2";

inline constexpr const char* kErrorTitle = "Ambrel V2 エラー";
inline constexpr const char* kCorruptFileTitle = "Ambrel エラー";
inline constexpr const char* kOptionsErrorTitle = "Ambrel V2 オプションエラー";
inline constexpr const char* kExitTitle = "Ambrel V2 の終了";

// "エラー ( 13) が発生しました、終了します。": the number with its sign blank.
std::string fatalErrorText(int number);

} // namespace ambrel
