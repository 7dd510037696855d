#pragma once
// The daily alarm and the countdown timer. Neither has a timer of its own: the clock's tick calls
// the three steps below on every tick, in this order, with the current time of day.
//
// Alarm: armed -> suspended when it falls due (alarmState off, suspended alarm Armed) -> armed
// again at the first tick of a later second, so it fires once a day although ten ticks fall into
// its second. Countdown: running (countdown state On) -> idle when it falls due.

#include "app/LocalMinutes.h"
#include "app/SettingsWords.h"

namespace ambrel {

// What the alarm watch keeps while the alarm is suspended for the second in which it fell due.
// Never saved; the watch is its one writer (the program's load starts it at None).
enum class SavedAlarmState {
    None,
    Armed, // alarmState was armed and is armed again once the second has passed
};

// The alarm state the file keeps: an alarm suspended for the second in which it fell due is
// still the alarm the user armed, so a close within that second saves it armed.
inline AlarmSwitch alarmStateToSave(const AlarmSwitch& alarmState, SavedAlarmState suspended) {
    return suspended == SavedAlarmState::Armed ? AlarmSwitch::of(true) : alarmState;
}

struct CountdownState;
struct LocalTime;
class NoticeForm;
class OptionsForm;
class SoundPlayer;
struct Settings;

// What the watch acts on when the alarm or the countdown falls due.
struct WatchTargets {
    Settings& settings;
    CountdownState& countdown;       // the watch stops it when it falls due
    SavedAlarmState& suspendedAlarm; // the watch's own: written only by alarmWatch and alarmRearm
    SoundPlayer& sound;
    OptionsForm& options; // its sound-file box and its start and stop buttons
    NoticeForm& notice;
};

// Due when alarmState is armed and the alarm's time of day came since the tick before: after
// `previousTick` and at or before `now`. A tick in the alarm's second finds it, and so does the
// first tick after a second that no tick fell into (a busy machine that held the tick back, a
// clock set forward, a machine asleep), so an alarm is never lost for the day; a clock set back
// before it meets it again. A time outside the day (24:00:00, a 60th second) never comes. When
// due: takes the options dialog's sound-file field into soundFile, plays the sound, suspends the
// alarm and shows the notice with the alarm's headline and message.
void alarmWatch(const WatchTargets& targets, LocalSecond previousTick, const LocalTime& now);

// Arms a suspended alarm again once the second has moved on from alarmSecond.
void alarmRearm(Settings& settings, SavedAlarmState& suspendedAlarm, int second);

// Due when countdownFallsDue: plays the sound, stops the countdown, shows the notice, resets the
// options dialog's start and stop buttons and writes the countdown's headline and message.
// RuntimeError(13) when its minutes do not read as a number.
void countdownWatch(const WatchTargets& targets, const LocalTime& now);

} // namespace ambrel
