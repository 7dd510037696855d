"""Time as the program meets it, on a clock the suite sets (harness.clock): the program reads
the controlled clock; midnight and the new year in both formats; the daily alarm on two nights;
a second the clock passes while no tick runs; countdowns across midnight, slept through and on a
clock set back. (A close within the alarm's second is in test_alarm.py.)"""
import os
import shutil
import signal
from contextlib import contextmanager
from datetime import datetime

import pytest

from harness import audio, ids
from harness.paths import SAMPLE_EXE, HarnessError, windows_path
from harness.proc import wait_until

from test_alarm import (CLOSE_BUTTON, HINT, NOTICE, alarm_headline, alarm_piece, display_tip,
                        start_countdown, texts)
from test_clock_bar import labels, wait_labels

CLOCK = ids.CLOCK_CLASS


def settings(sound, mode="T", alarm=(10, 10, 10), state="ALOFF", alarm_message="",
             timer_message=""):
    """The settings file's lines; format T, so that the bar shows the second of every tick."""
    h, m, s = alarm
    return ["10", "1500", "1500", '"ON"', f'"{sound}"', f"{h},{m},{s}", f'"{state}"',
            f'"{mode}"', f'"{alarm_message}"', f'"{timer_message}"']


def start_at(ambrel, program_clock, when, **fields):
    """The clock bar started on a clock standing still at `when`, with a tone as its sound
    file; returns the app, its clock and the bar's hwnd."""
    app = ambrel(run=False)
    wav = audio.write_tone(app.folder / "tone.wav", 880, 1.0)
    app.write_settings(settings(windows_path(wav), **fields))
    clock = program_clock(app, when)
    clock.start_program()
    bar = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    return app, clock, bar


def time_texts(when):
    return f"{when:%H} : {when:%M}", f"{when:%S}sec"


def shows(driver, bar, expected, timeout=20.0):
    """Waits until the bar shows exactly these two texts (the tick of that moment ran)."""
    return wait_labels(driver, bar, lambda *t: t == expected, timeout=timeout)


def test_the_program_reads_the_clock_the_suite_sets_and_nothing_else(ambrel, driver,
                                                                     program_clock):
    # A day the machine's clock is not on: what the bar shows can only come from the suite.
    when = datetime(2031, 2, 28, 23, 59, 58)
    app, clock, bar = start_at(ambrel, program_clock, when)
    shows(driver, bar, time_texts(when))
    status = clock.status()
    assert status["frozen"] is True
    assert status["pid"] in {w["pid"] for w in app.windows(cls=CLOCK)}

    # Frozen, it stands; moved, the bar follows; set, it jumps.
    driver.settle(bar, 1.5)
    assert labels(driver, bar) == time_texts(when)
    clock.move(1)
    shows(driver, bar, ("23 : 59", "59sec"))
    clock.move(-60)
    shows(driver, bar, ("23 : 58", "59sec"))
    clock.set(datetime(2031, 3, 1, 6, 7, 8))
    shows(driver, bar, ("06 : 07", "08sec"))

    # Running on, it goes on from where it stood (a slow harness may see a later second).
    clock.run()
    wait_labels(driver, bar, lambda main, second: main == "06 : 07" and second != "08sec",
                timeout=20)
    assert clock.now() >= datetime(2031, 3, 1, 6, 7, 9)


def test_a_program_whose_clock_cannot_be_controlled_fails_the_start(ambrel, program_clock):
    # The harness's sample program reads no time of day: there is nothing to redirect, and the
    # start must say so rather than let a program run on the real clock.
    app = ambrel(run=False)
    shutil.copy2(SAMPLE_EXE, app.exe)
    clock = program_clock(app, datetime(2031, 2, 28, 23, 59, 58))
    with pytest.raises(HarnessError, match="imports no GetLocalTime"):
        clock.start_program()


# -- midnight and the new year ------------------------------------------------------------------

@pytest.mark.parametrize("mode, before, after", [
    ("D", ("12/31(木)", "23:59"), ("1/1(金)", "00:00")),
    ("T", ("23 : 59", "59sec"), ("00 : 00", "00sec")),
])
def test_midnight_into_the_new_year_shows_the_new_date_and_time(ambrel, driver, program_clock,
                                                                mode, before, after):
    app, clock, bar = start_at(ambrel, program_clock, datetime(2026, 12, 31, 23, 59, 59),
                               mode=mode)
    shows(driver, bar, before)
    clock.move(1)
    shows(driver, bar, after)


# -- the daily alarm -----------------------------------------------------------------------------

def close_notice(app, driver):
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)["hwnd"]
    driver.press(notice, CLOSE_BUTTON)
    driver.wait_gone(notice, 10)


def test_the_daily_alarm_falls_due_one_night_and_again_the_next(ambrel, driver, program_clock):
    alarm = (23, 59, 30)
    night = datetime(2026, 12, 9, 23, 59, 29)
    app, clock, bar = start_at(ambrel, program_clock, night, alarm=alarm, state="ALON")
    piece = alarm_piece(*alarm) + HINT
    wait_until(lambda: display_tip(driver, bar) == piece, 10, what="the alarm piece")

    clock.set(night.replace(second=30))
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)["hwnd"]
    assert texts(driver, notice)[0] == alarm_headline(*alarm)
    close_notice(app, driver)
    clock.set(night.replace(second=31))
    wait_until(lambda: display_tip(driver, bar) == piece, 10, what="the alarm armed again")

    # The next night: nothing a second before, the notice in its second.
    clock.set(datetime(2026, 12, 10, 23, 59, 29))
    shows(driver, bar, ("23 : 59", "29sec"))
    driver.settle(bar, 1.0)
    assert not app.windows(cls=NOTICE)
    clock.set(datetime(2026, 12, 10, 23, 59, 30))
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)["hwnd"]
    assert texts(driver, notice)[0] == alarm_headline(*alarm)


def test_a_second_the_clock_passes_while_no_tick_runs_gives_the_alarm_at_the_next_tick_once(
        ambrel, driver, program_clock):
    alarm = (10, 10, 10)
    app, clock, bar = start_at(ambrel, program_clock, datetime(2026, 12, 9, 10, 10, 9),
                               alarm=alarm, state="ALON")
    shows(driver, bar, ("10 : 10", "09sec"))
    # The clock jumps over the alarm's second (set forward, or the machine held the tick back).
    clock.move(2)
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)["hwnd"]
    assert texts(driver, notice)[0] == alarm_headline(*alarm)
    close_notice(app, driver)
    # Once: armed again for the next day, and no second notice meanwhile.
    wait_until(lambda: display_tip(driver, bar) == alarm_piece(*alarm) + HINT, 10,
               what="the alarm armed again")
    driver.settle(bar, 1.0)
    assert not app.windows(cls=NOTICE), "the alarm fell due a second time"


# -- countdowns ----------------------------------------------------------------------------------

@contextmanager
def asleep(app):
    """The program stopped, as on a machine that sleeps: no tick runs until it wakes."""
    os.kill(app.proc.pid, signal.SIGSTOP)
    try:
        yield
    finally:
        os.kill(app.proc.pid, signal.SIGCONT)


def countdown_piece(minutes, hour, minute):
    return f"【タイマー設定 {minutes}分 （ {hour}時 {minute}分に通知）】" + HINT


def start_countdown_at(ambrel, driver, program_clock, when, minutes):
    """The bar on a clock standing at `when`, a countdown of `minutes` started from the options
    dialog; returns the app, its clock, the bar and the tooltip the countdown gave it."""
    app, clock, bar = start_at(ambrel, program_clock, when, timer_message="お茶")
    start_countdown(app, driver, bar, str(minutes))
    tip = wait_until(lambda: (t := display_tip(driver, bar)) and t != HINT and t, 10,
                     what="the countdown piece in the tooltip")
    return app, clock, bar, tip


def assert_one_countdown_notice(app, driver, bar, minutes):
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)["hwnd"]
    assert texts(driver, notice) == (f"タイマー設定時間 {minutes}分を過ぎました。", "お茶")
    wait_until(lambda: display_tip(driver, bar) == HINT, 10, what="the countdown piece to go")
    close_notice(app, driver)


def test_a_countdown_across_midnight_falls_due_at_its_minute_not_early(ambrel, driver,
                                                                      program_clock):
    app, clock, bar, tip = start_countdown_at(ambrel, driver, program_clock,
                                              datetime(2026, 12, 9, 23, 50, 10), 10)
    assert tip == countdown_piece(10, 0, 0)
    clock.set(datetime(2026, 12, 9, 23, 59, 59))
    shows(driver, bar, ("23 : 59", "59sec"))
    driver.settle(bar, 1.0)
    assert not app.windows(cls=NOTICE), "the countdown fell due before its minute"
    clock.move(1)
    assert_one_countdown_notice(app, driver, bar, 10)


def test_a_machine_asleep_through_a_countdown_gives_the_notice_at_waking_once(ambrel, driver,
                                                                               program_clock):
    app, clock, bar, tip = start_countdown_at(ambrel, driver, program_clock,
                                              datetime(2026, 12, 9, 14, 0, 10), 5)
    assert tip == countdown_piece(5, 14, 5)
    with asleep(app):
        clock.set(datetime(2026, 12, 9, 14, 15, 12))  # ten minutes past the due time
    assert_one_countdown_notice(app, driver, bar, 5)
    # Not again: neither later that day nor at the due minute of the next.
    clock.set(datetime(2026, 12, 10, 14, 5, 0))
    shows(driver, bar, ("14 : 05", "00sec"))
    driver.settle(bar, 1.0)
    assert not app.windows(cls=NOTICE), "the countdown fell due a second time"


def test_a_countdown_across_midnight_slept_through_falls_due_at_waking(ambrel, driver,
                                                                        program_clock):
    app, clock, bar, tip = start_countdown_at(ambrel, driver, program_clock,
                                              datetime(2026, 12, 9, 23, 55, 30), 10)
    assert tip == countdown_piece(10, 0, 5)
    # 23:55 lies before 0:05 of the next day: nothing yet.
    driver.settle(bar, 1.0)
    assert not app.windows(cls=NOTICE), "the countdown fell due at once"
    with asleep(app):
        clock.set(datetime(2026, 12, 10, 7, 30, 0))
    assert_one_countdown_notice(app, driver, bar, 10)


def test_a_clock_set_back_waits_for_the_announced_time(ambrel, driver, program_clock):
    app, clock, bar, tip = start_countdown_at(ambrel, driver, program_clock,
                                              datetime(2026, 12, 9, 15, 0, 10), 5)
    assert tip == countdown_piece(5, 15, 5)
    for earlier in (datetime(2026, 12, 9, 14, 5, 0), datetime(2026, 12, 9, 15, 4, 59)):
        clock.set(earlier)
        shows(driver, bar, time_texts(earlier))
        driver.settle(bar, 1.0)
        assert not app.windows(cls=NOTICE), f"the countdown fell due at {earlier:%H:%M:%S}"
    clock.set(datetime(2026, 12, 9, 15, 5, 0))
    assert_one_countdown_notice(app, driver, bar, 5)
