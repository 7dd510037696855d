"""Time as the program meets it, on a clock the suite sets (harness.clock): the program reads
the controlled clock; midnight and the new year in both formats; the daily alarm on two nights;
a second the clock passes while no tick runs; countdowns across midnight, slept through and on a
clock set back; a close within the alarm's second."""
import shutil
from datetime import datetime

import pytest

from harness import audio
from harness.paths import SAMPLE_EXE, HarnessError, windows_path

from test_clock_bar import labels, wait_labels

CLOCK = "AmbrelClock"


def settings(sound, mode="T", alarm=(10, 10, 10), state="ALOFF", alarm_message="",
             timer_message=""):
    h, m, s = alarm
    return ["10", "1500", "1500", '"ON"', f'"{sound}"', f"{h},{m},{s}", f'"{state}"',
            f'"{mode}"', f'"{alarm_message}"', f'"{timer_message}"']


def start_at(ambrel, program_clock, when, frozen=True, **fields):
    """The clock bar started on a clock standing at `when` (running on from it when not
    frozen), with a tone as its sound file; returns the app, its clock and the bar's hwnd."""
    app = ambrel(run=False)
    wav = audio.write_tone(app.folder / "tone.wav", 880, 1.0)
    app.write_settings(settings(windows_path(wav), **fields))
    clock = program_clock(app, when, frozen=frozen)
    clock.start_program()
    bar = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    return app, clock, bar


def time_texts(when):
    return f"{when:%H} : {when:%M}", f"{when:%S}sec"


def shows(driver, bar, texts, timeout=20.0):
    """Waits until the bar shows exactly these two texts (the tick of that moment ran)."""
    return wait_labels(driver, bar, lambda *t: t == texts, timeout=timeout)


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

    # Running on, it goes on from where it stood.
    clock.run()
    shows(driver, bar, ("06 : 07", "09sec"))
    assert clock.now() >= datetime(2031, 3, 1, 6, 7, 9)


def test_a_program_whose_clock_cannot_be_controlled_fails_the_start(ambrel, program_clock):
    # The harness's sample program reads no time of day: there is nothing to redirect, and the
    # start must say so rather than let a program run on the real clock.
    app = ambrel(run=False)
    shutil.copy2(SAMPLE_EXE, app.exe)
    clock = program_clock(app, datetime(2031, 2, 28, 23, 59, 58))
    with pytest.raises(HarnessError, match="imports no GetLocalTime"):
        clock.start_program()
