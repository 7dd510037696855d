#pragma once
// A started program on fakes with the clock bar's handlers at hand, for the clock's tests.

#include "options/Countdown.h"
#include "program/tests/support/TestProgram.h"

#include <gtest/gtest.h>

namespace ambrel::testing {

class ClockTest : public ::testing::Test {
protected:
    // Started over the default file: format "D", colour 10, alarm 10:10:10 off, at 0:00:00 on
    // Saturday 1 January 2000.
    void SetUp() override { app.startWithDefaults(); }

    ClockForm& form() { return app.program.clock(); }
    Settings& settings() { return app.settings(); }
    CountdownState& countdown() { return app.program.countdown(); }
    FakeClockView& view() { return app.clockView(); }

    void tickAt(int hour, int minute, int second) {
        app.clock.set(hour, minute, second);
        form().onTick();
    }
    // The ten ticks that fall into one second.
    void tickSecond(int hour, int minute, int second) {
        for (int i = 0; i < 10; ++i) {
            tickAt(hour, minute, second);
        }
    }
    // The next day at the same time of the fake clock.
    void nextDay() {
        ++app.clock.time.day;
        app.clock.time.weekday = (app.clock.time.weekday + 1) % 7;
    }

    void armAlarm(int hour, int minute, int second) {
        settings().alarmState = "ALON";
        settings().alarmHour = static_cast<int16_t>(hour);
        settings().alarmMinute = static_cast<int16_t>(minute);
        settings().alarmSecond = static_cast<int16_t>(second);
    }
    // A countdown as the start button leaves it when pressed at startHour:startMinute of the
    // fake clock's day.
    void runCountdown(int minutes, int startHour, int startMinute) {
        LocalTime start = app.clock.time;
        start.hour = startHour;
        start.minute = startMinute;
        const CountdownDue due = countdownDue(minutes, start);
        countdown().minutes = minutes;
        countdown().dueHour = due.hour;
        countdown().dueMinute = due.minute;
        countdown().dueMoment = due.moment;
        countdown().startMoment = localMinute(start);
        countdown().state = TimerState::On;
        countdown().infoText = "【タイマー】";
    }

    int plays() const { return app.sound.count("play"); }
    bool noticeOpen() { return app.program.noticeWindow().isLoaded(); }

    TestProgram app;
};

} // namespace ambrel::testing
