#include "options/OptionsForm.h"

#include "app/Messages.h"
#include "app/NumberRules.h"
#include "app/Platform.h"
#include "app/ProgramLifetime.h"
#include "app/RuntimeError.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "app/StorableText.h"
#include "help/HelpForm.h"
#include "options/Countdown.h"
#include "options/DigitFilter.h"
#include "options/ScrollRanges.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace ambrel {

namespace {

constexpr const char* kBrowseTitle = "アラームサウンドの指定";
constexpr const char* kBrowseFilter = "WAVファイル (*.WAV)|*.WAV|全てのファイル (*.*)|*.*|";
constexpr const char* kBrowseExtension = "WAV";
constexpr const char* kHelpFileName = "AMBREL.HLP";

constexpr const char* kTimerEmptyText = "タイマー時間指定欄が空白です。";
constexpr const char* kTimerLengthText = "タイマー時間は 0 から 999 分の範囲で指定して下さい。";
constexpr const char* kDefaultTimerText = "10";
constexpr const char* kAlarmEmptyText = "アラーム時刻指定欄が空白です。";
constexpr const char* kAlarmRangeText = "アラーム時刻の指定が、時間の範囲を超えています。";
constexpr const char* kSoundFileEmptyText = "WAVファイルが指定されていません。";
constexpr const char* kLostCharactersText = "設定ファイルに保存できない文字があります: ";
constexpr const char* kSoundFileRenameText =
    "\nWAVファイルの名前を変えるか、別のファイルを指定して下さい。";
constexpr const char* kCheckErrorText =
    "エラー発生、オプション設定の入力に間違いの可能性があります。"
    "再試行で復帰、キャンセルで終了します。";

// The four colour swatches, in order, stand for these palette indexes.
constexpr std::array<int16_t, 4> kColorIndexes{10, 11, 13, 14};

int colorOptionFor(int16_t textColorIndex) {
    const auto found = std::find(kColorIndexes.begin(), kColorIndexes.end(), textColorIndex);
    return found == kColorIndexes.end() ? 0 : static_cast<int>(found - kColorIndexes.begin()) + 1;
}

// The value a bar is loaded with: exact when the bar can show it; otherwise (out of its range, or
// a countdown length beyond a 16-bit integer) the number to clamp the bar to, if there is one.
struct BarValue {
    std::optional<int> exact;   // in the bar's range
    std::optional<double> near; // outside it: the number to clamp, if there is one
};

BarValue barValue(OptionsScroll bar, double number) {
    if (scrollRange(bar).contains(number)) {
        return {static_cast<int>(number), std::nullopt};
    }
    return {std::nullopt, number};
}

BarValue timerBarValue(const DynamicValue& timerMinutes) {
    try {
        return barValue(OptionsScroll::CountdownMinutesBar, toInt16(timerMinutes));
    } catch (const RuntimeError&) {
        // "99999" overflows the 16-bit conversion; a text that is no number has nothing to
        // clamp to and leaves the bar where it stands.
        if (timerMinutes.isText()) {
            if (const auto number = parseDecimal(timerMinutes.text())) {
                return {std::nullopt, *number};
            }
            return {};
        }
        return {std::nullopt, timerMinutes.toNumber()};
    }
}

} // namespace

void OptionsForm::load(OptionsView& view) {
    Settings& settings = needs_.settings;
    const CountdownState& countdown = needs_.countdown;

    const int option = colorOptionFor(settings.textColorIndex);
    view.selectColorOption(option);
    if (option != 0) {
        onColorOptionClick(option);
    }

    const bool onTop = settings.alwaysOnTop.isOn();
    view.setChecked(OptionsCheck::KeepOnTopCheck, onTop);
    settings.alwaysOnTop = KeepOnTopSwitch::of(onTop);

    const bool alarmOn = settings.alarmState.isArmed();
    view.setChecked(OptionsCheck::AlarmOnCheck, alarmOn);
    settings.alarmState = AlarmSwitch::of(alarmOn);

    if (countdown.state != TimerState::Unset) {
        enableCountdownButtons(view, countdown.state == TimerState::On);
    }

    view.setText(OptionsText::SoundFileBox, settings.soundFile.toText());
    view.setText(OptionsText::AlarmHourBox, decimalText(settings.alarmHour));
    view.setText(OptionsText::AlarmMinuteBox, decimalText(settings.alarmMinute));
    view.setText(OptionsText::AlarmSecondBox, decimalText(settings.alarmSecond));
    view.setText(OptionsText::CountdownMinutesBox, countdown.minutes.toText());
    view.setText(OptionsText::AlarmMessageBox, settings.alarmMessage.toText());
    view.setText(OptionsText::CountdownMessageBox, settings.timerMessage.toText());

    const std::array<std::pair<OptionsScroll, BarValue>, 4> bars{{
        {OptionsScroll::CountdownMinutesBar, timerBarValue(countdown.minutes)},
        {OptionsScroll::AlarmHourBar, barValue(OptionsScroll::AlarmHourBar, settings.alarmHour)},
        {OptionsScroll::AlarmMinuteBar,
         barValue(OptionsScroll::AlarmMinuteBar, settings.alarmMinute)},
        {OptionsScroll::AlarmSecondBar,
         barValue(OptionsScroll::AlarmSecondBar, settings.alarmSecond)},
    }};
    for (const auto& [bar, value] : bars) {
        if (value.exact) {
            // Only a bar that moves reports a change, so "01" against the layout's 1 stays "01".
            if (*value.exact != view.scrollValue(bar)) {
                view.setScrollValue(bar, *value.exact);
                onScrollChange(bar, *value.exact);
            }
        } else if (value.near) {
            // A bar cannot show this value: it goes to its nearer end, and the box keeps the
            // stored value so that the user sees what is actually set.
            const ScrollRange range = scrollRange(bar);
            view.setScrollValue(bar, *value.near < range.min ? range.min : range.max);
        }
    }
}

void OptionsForm::show() {
    window_.createdOnUse().show();
}

std::string OptionsForm::soundFileText() {
    return storableSoundFile(window_.createdOnUse().text(OptionsText::SoundFileBox));
}

std::string OptionsForm::storableSoundFile(const std::string& boxText) const {
    const std::string path = unquotedPath(boxText);
    return storablePath(path, needs_.codePage, needs_.fileNames).value_or(path);
}

void OptionsForm::resetCountdownButtons() {
    enableCountdownButtons(window_.createdOnUse(), false);
}

void OptionsForm::enableCountdownButtons(OptionsView& view, bool running) {
    if (running) {
        view.setEnabled(OptionsCommand::StartButton, false);
        view.setEnabled(OptionsCommand::StopButton, true);
    } else {
        view.setEnabled(OptionsCommand::StopButton, false);
        view.setEnabled(OptionsCommand::StartButton, true);
    }
}

void OptionsForm::onColorOptionClick(int option) {
    if (option >= 1 && option <= static_cast<int>(kColorIndexes.size())) {
        needs_.settings.textColorIndex = kColorIndexes[option - 1];
    }
}

void OptionsForm::onScrollChange(OptionsScroll bar, int value) {
    window_.createdOnUse().setText(scrollTextBox(bar), std::to_string(value));
}

int OptionsForm::onKeyPress(OptionsText box, int charCode) {
    if (!isNumberBox(box) || passesDigitFilter(charCode)) {
        return charCode;
    }
    needs_.beeper.beep();
    return 0;
}

void OptionsForm::onBrowseClick() {
    FileOpenRequest request;
    request.title = kBrowseTitle;
    request.filter = kBrowseFilter;
    request.filterIndex = 1;
    request.defaultExtension = kBrowseExtension;
    request.hideReadOnly = true;
    try {
        const std::string path = needs_.fileDialog.openFile(request);
        window_.createdOnUse().setText(OptionsText::SoundFileBox, path);
    } catch (const RuntimeError&) {
        // Cancelled or failed: the box keeps the path it had.
    }
}

void OptionsForm::onTestClick() {
    needs_.settings.soundFile = soundFileText();
    // Closing first makes the test play from the start of the file every time.
    SoundPlayer& sound = needs_.sound;
    sound.closeSound();
    sound.openSound();
    sound.playSound();
}

void OptionsForm::onHelpClick() {
    if (!needs_.help.available()) {
        needs_.helpWindow.show();
        return;
    }
    needs_.help.showContents(needs_.files.pathOf(kHelpFileName));
}

void OptionsForm::onStartClick() {
    CountdownState& countdown = needs_.countdown;
    OptionsView& view = window_.createdOnUse();

    const LocalTime now = needs_.clock.now();
    const std::string text = view.text(OptionsText::CountdownMinutesBox);
    if (text.empty()) {
        needs_.messages.show(kTimerEmptyText, kOptionsErrorTitle, MessageButtons::Ok,
                             MessageIcon::Warning);
        view.setText(OptionsText::CountdownMinutesBox, kDefaultTimerText);
        return;
    }
    // Pasted text bypasses the digit filter; a length the bar cannot show, or one that is no
    // number at all, would start a countdown the dialog could not show again, so it is refused.
    const std::optional<int> minutes = countdownLength(text);
    if (!minutes) {
        needs_.messages.show(kTimerLengthText, kOptionsErrorTitle, MessageButtons::Ok,
                             MessageIcon::Warning);
        return;
    }

    const CountdownDue due = countdownDue(*minutes, now);
    countdown.state = TimerState::On;
    countdown.minutes = text;
    countdown.dueHour = due.hour;
    countdown.dueMinute = due.minute;
    countdown.dueMoment = due.moment;
    countdown.startMoment = localMinute(now);
    enableCountdownButtons(view, true);
    countdown.infoText = timerInfoText(*minutes, due);
}

void OptionsForm::onStopClick() {
    CountdownState& countdown = needs_.countdown;
    OptionsView& view = window_.createdOnUse();
    countdown.state = TimerState::Off;
    enableCountdownButtons(view, false);
    countdown.infoText = "";
}

void OptionsForm::requestClose() {
    if (!queryUnload()) {
        return;
    }
    commit();
    window_.unload();
}

bool OptionsForm::queryUnload() {
    const OptionsView& view = window_.createdOnUse();
    // Both checks run and show their boxes; either one keeps the dialog open.
    const bool alarmTimeFine = checkAlarmTime(view);
    const bool textsFine = checkStorableTexts(view);
    return alarmTimeFine && textsFine;
}

void OptionsForm::refuseClose(const std::string& text) {
    needs_.messages.show(text, kOptionsErrorTitle, MessageButtons::Ok, MessageIcon::Warning);
}

bool OptionsForm::checkAlarmTime(const OptionsView& view) {
    Settings& settings = needs_.settings;
    bool fine = true;
    // A conversion that fails offers Retry, which refuses the close and goes on with the next
    // step, or Cancel, which ends the program on the spot with nothing saved.
    const auto convert = [&](OptionsText box, int16_t& field) {
        try {
            field = toInt16(view.text(box));
        } catch (const RuntimeError&) {
            const MessageAnswer answer =
                needs_.messages.show(kCheckErrorText, kOptionsErrorTitle,
                                     MessageButtons::RetryCancel, MessageIcon::Warning);
            if (answer != MessageAnswer::Retry) {
                needs_.lifetime.endProgram();
            }
            fine = false;
        }
    };

    if (!view.text(OptionsText::AlarmHourBox).empty() &&
        !view.text(OptionsText::AlarmMinuteBox).empty() &&
        !view.text(OptionsText::AlarmSecondBox).empty()) {
        // Stored at once, even if a later check refuses the close: the clock's alarm watch
        // uses the new time from its next tick.
        convert(OptionsText::AlarmHourBox, settings.alarmHour);
        convert(OptionsText::AlarmMinuteBox, settings.alarmMinute);
        convert(OptionsText::AlarmSecondBox, settings.alarmSecond);
    } else {
        refuseClose(kAlarmEmptyText);
        fine = false;
    }

    // A pasted minus sign gets past the digit filter; a negative time would never fall due.
    const bool outOfRange =
        !scrollRange(OptionsScroll::AlarmHourBar).contains(settings.alarmHour) ||
        !scrollRange(OptionsScroll::AlarmMinuteBar).contains(settings.alarmMinute) ||
        !scrollRange(OptionsScroll::AlarmSecondBar).contains(settings.alarmSecond);
    if (outOfRange) {
        refuseClose(kAlarmRangeText);
        fine = false;
    }
    return fine;
}

bool OptionsForm::checkStorableTexts(const OptionsView& view) {
    bool fine = true;
    const std::string soundFile = unquotedPath(view.text(OptionsText::SoundFileBox));
    if (soundFile.empty()) {
        refuseClose(kSoundFileEmptyText);
        fine = false;
    } else if (!storablePath(soundFile, needs_.codePage, needs_.fileNames)) {
        // Stored as it is, the path would read back as another file after the next start, and
        // every alarm would be silent: the user renames the file or picks another.
        refuseClose("WAVファイルの指定欄に" + std::string(kLostCharactersText) +
                    charactersLost(needs_.codePage, soundFile) + kSoundFileRenameText);
        fine = false;
    }

    // The messages are named in a box rather than changed silently by the save.
    const std::pair<OptionsText, const char*> messages[] = {
        {OptionsText::AlarmMessageBox, "アラームメッセージに"},
        {OptionsText::CountdownMessageBox, "タイマーメッセージに"},
    };
    for (const auto& [box, name] : messages) {
        const std::string lost = charactersLost(needs_.codePage, view.text(box));
        if (!lost.empty()) {
            refuseClose(name + std::string(kLostCharactersText) + lost);
            fine = false;
        }
    }
    return fine;
}

void OptionsForm::commit() {
    Settings& settings = needs_.settings;
    const OptionsView& view = window_.createdOnUse();

    settings.alwaysOnTop = KeepOnTopSwitch::of(view.isChecked(OptionsCheck::KeepOnTopCheck));
    settings.alarmState = AlarmSwitch::of(view.isChecked(OptionsCheck::AlarmOnCheck));
    settings.soundFile = storableSoundFile(view.text(OptionsText::SoundFileBox));
    settings.alarmMessage = view.text(OptionsText::AlarmMessageBox);
    settings.timerMessage = view.text(OptionsText::CountdownMessageBox);

    needs_.sound.closeSound();
    needs_.sound.openSound();
    needs_.applyClockZOrder();
}

} // namespace ambrel
