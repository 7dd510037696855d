#include "clock/Watch.h"

#include "app/NumberRules.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "notify/NoticeForm.h"
#include "options/Countdown.h"
#include "options/OptionsForm.h"

#include <string>

namespace ambrel {

namespace {

bool alarmTimeCame(const Settings& settings, LocalSecond previousTick, const LocalTime& now) {
    const int hour = settings.alarmHour;
    const int minute = settings.alarmMinute;
    const int second = settings.alarmSecond;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return false;
    }
    return latestTimeOfDay(localSecond(now), hour, minute, second) > previousTick;
}

} // namespace

void alarmWatch(const WatchTargets& targets, LocalSecond previousTick, const LocalTime& now) {
    Settings& settings = targets.settings;
    if (!settings.alarmState.isArmed() || !alarmTimeCame(settings, previousTick, now)) {
        return;
    }
    // The field as it stands, committed or not: the dialog may be open and being edited.
    settings.soundFile = targets.options.soundFileText();
    targets.sound.playSound();
    targets.suspendedAlarm = SavedAlarmState::Armed;
    settings.alarmState = AlarmSwitch::of(false);

    targets.notice.notify("アラーム設定時刻" + numberText(settings.alarmHour) + "時" +
                              numberText(settings.alarmMinute) + "分" +
                              numberText(settings.alarmSecond) + "秒を過ぎました。",
                          settings.alarmMessage.toText());
}

void alarmRearm(Settings& settings, SavedAlarmState& suspendedAlarm, int second) {
    if (suspendedAlarm == SavedAlarmState::Armed && second != settings.alarmSecond) {
        settings.alarmState = AlarmSwitch::of(true);
        suspendedAlarm = SavedAlarmState::None;
    }
}

void countdownWatch(const WatchTargets& targets, const LocalTime& now) {
    const Settings& settings = targets.settings;
    CountdownState& countdown = targets.countdown;
    if (!countdownFallsDue(countdown, now)) {
        return;
    }
    targets.sound.playSound();
    countdown.state = TimerState::Off;

    NoticeForm& notice = targets.notice;
    notice.show();
    // The buttons are reset after the notice opens and before its texts are written, so a
    // countdown length that is no number still leaves the notice open, only without texts.
    targets.options.resetCountdownButtons();
    notice.setTexts("タイマー設定時間" + numberText(countdown.minutes.toNumber()) +
                        "分を過ぎました。",
                    settings.timerMessage.toText());
    countdown.infoText = "";
}

} // namespace ambrel
