#pragma once
// The titles of the program's message boxes and the texts that name the program, each whole as
// the user reads it.

#include <string>

namespace ambrel {

// The program's name, as the notice's title shows it.
inline constexpr const char* kProgramName = "Ambrel V2";

inline constexpr const char* kErrorTitle = "Ambrel V2 エラー";
inline constexpr const char* kCorruptFileTitle = "Ambrel エラー";
inline constexpr const char* kOptionsErrorTitle = "Ambrel V2 オプションエラー";
inline constexpr const char* kExitTitle = "Ambrel V2 の終了";

// The exit button's question.
inline constexpr const char* kExitQuestion = "Ambrel V2 を終了します";
// Start-up's boxes when the settings file cannot be read.
inline constexpr const char* kSettingsMissingText = "設定ファイルが見つかりません、終了します。";
inline constexpr const char* kSettingsCorruptText =
    "設定ファイルが壊れている可能性があります、Ambrel V2 を再起動して下さい。";

// "エラー ( 13) が発生しました、終了します。": the number with its sign blank. When the failure
// was a file of the program's folder that could not be written, a second line names the file
// and says that its folder must be writable.
std::string fatalErrorText(int number, const std::string& unwritablePath = {});

} // namespace ambrel
