#include "clock/Watch.h"

#include "app/NumberRules.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "notify/NoticeForm.h"
#include "options/OptionsForm.h"

#include <string>

namespace ambrel {

void alarmWatch(const WatchTargets& targets, int hour, int minute, int second) {
    Settings& settings = targets.settings;
    if (!settings.alarmState.isArmed() || hour != settings.alarmHour ||
        minute != settings.alarmMinute || second != settings.alarmSecond) {
        return;
    }
    // The field as it stands, committed or not: the dialog may be open and being edited.
    settings.soundFile = targets.options.soundFileText();
    targets.sound.playSound();
    settings.savedAlarmState = SavedAlarmState::Armed;
    settings.alarmState = AlarmSwitch::of(false);

    targets.notice.notify("アラーム設定時刻" + numberText(settings.alarmHour) + "時" +
                              numberText(settings.alarmMinute) + "分" +
                              numberText(settings.alarmSecond) + "秒を過ぎました。",
                          settings.alarmMessage.toText());
}

void alarmRearm(Settings& settings, int second) {
    if (settings.savedAlarmState == SavedAlarmState::Armed && second != settings.alarmSecond) {
        settings.alarmState = AlarmSwitch::of(true);
        settings.savedAlarmState = SavedAlarmState::None;
    }
}

void countdownWatch(const WatchTargets& targets, const LocalTime& now) {
    Settings& settings = targets.settings;
    if (settings.timerState != TimerState::On || localMinute(now) < settings.timerDueMoment) {
        return;
    }
    targets.sound.playSound();
    settings.timerState = TimerState::Off;

    NoticeForm& notice = targets.notice;
    notice.show();
    // The buttons are reset after the notice opens and before its texts are written, so a
    // timerMinutes that is no number still leaves the notice open, only without texts.
    targets.options.resetCountdownButtons();
    notice.setTexts("タイマー設定時間" + numberText(settings.timerMinutes.toNumber()) +
                        "分を過ぎました。",
                    settings.timerMessage.toText());
    settings.timerInfoText = "";
}

} // namespace ambrel
