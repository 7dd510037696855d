"""The end of the Windows session and the failures of the platform: the settings saved at
log-off, an empty sound path, a settings file that cannot be read, a damaged file that cannot
be kept aside (named, and replaced all the same), and windows that the system refuses to create."""
import os
from datetime import datetime

import pytest

from harness import audio, ids
from harness.paths import windows_path
from harness.proc import wait_until

CLOCK, OPTIONS, NOTICE = ids.CLOCK_CLASS, ids.OPTIONS_CLASS, ids.NOTICE_CLASS
ERROR_TITLE = "Ambrel V2 エラー"
OPTIONS_BUTTON = ids.OPTIONS_BUTTON  # the bar's options button, client pixels
# Controls of the options dialog.
OK, SOUND, TEST, ALARM_ON = (ids.OPTIONS.OK, ids.OPTIONS.SOUND_FILE, ids.OPTIONS.TEST,
                             ids.OPTIONS.ALARM_ON)
BM_GETCHECK = 0x00F0

WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016
ENDSESSION_LOGOFF = 0x80000000
MCIERR_FILENAME_REQUIRED = 256 + 48


def settings(left="1500", top="1500", sound='""', mode='"D"', alarm="10,10,10",
             alarm_state='"ALOFF"'):
    return ["10", left, top, '"ON"', sound, alarm, alarm_state, mode, '""', '""']


def start_quietly(ambrel, **fields):
    """The clock with a real WAV file, so that no sound warning stands in the way."""
    app = ambrel(run=False)
    tone = audio.write_tone(app.folder / "tone.wav", 880, 0.3)
    app.write_settings(settings(sound=f'"{windows_path(tone)}"', **fields))
    app.start()
    return app


def fatal_text(number):
    return f"エラー ( {number}) が発生しました、終了します。"


def end_session(driver, clock):
    """What Windows does at log-off: asks every window, then tells it the session ends. The
    answer to the second message may never come, since the program ends while handling it."""
    answer = driver.message(clock, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)
    driver.call("message", clock, WM_ENDSESSION, 1, ENDSESSION_LOGOFF, check=False)
    return answer


def label1(driver, clock):
    return next(c["text"] for c in driver.children(clock) if c["id"] == 1)


def test_log_off_saves_where_the_clock_was_dragged_and_its_display_format(ambrel, driver,
                                                                          xvfb):
    app = start_quietly(ambrel, left="1500", top="1500", mode='"D"')
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    before = app.read_settings()
    # The date format shows a weekday in its first text, the time format hours and minutes.
    wait_until(lambda: "(" in label1(driver, clock), 10, what="the date format")
    xvfb.pointer_on_window(150, 109, "Ambrel")
    xvfb.xdotool("mousemove", 150, 109, "click", "--repeat", 2, "--delay", 80, 1)
    wait_until(lambda: ":" in label1(driver, clock), 10, what="the time format")
    xvfb.drag(100 + 50, 100 + 9, 57, 31, name="Ambrel")
    wait_until(lambda: driver.info(clock)["rect"][:2] == [157, 131], 10,
               what="the clock at its new place")
    # The alarm switched on through the options dialog.
    driver.click(clock, *OPTIONS_BUTTON)
    dialog = app.wait_window(timeout=20, cls=OPTIONS, visible=True)["hwnd"]
    check = driver.child(dialog, ALARM_ON)
    driver.click(check["hwnd"], 6, (check["rect"][3] - check["rect"][1]) // 2)
    wait_until(lambda: driver.message(check["hwnd"], BM_GETCHECK) == 1, 5,
               what="ｱﾗｰﾑON to be ticked")
    driver.press(dialog, OK)
    driver.wait_gone(dialog, 10)
    assert app.read_settings() == before

    assert end_session(driver, clock) == 1  # yes to the query
    app.wait_exit(60)
    lines = app.settings_lines()
    assert lines[1:3] == [str(157 * 15), str(131 * 15)]
    assert lines[6:8] == ['"ALON"', '"T"']


def test_a_save_that_fails_at_log_off_ends_quietly_and_keeps_the_old_file(ambrel, driver,
                                                                           xvfb):
    app = start_quietly(ambrel)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    before = app.read_settings()
    # The new file is written beside the old one first; a folder in its way fails the save.
    (app.folder / "AMBREL.SET.new").mkdir()
    xvfb.drag(100 + 50, 100 + 9, 57, 31, name="Ambrel")
    wait_until(lambda: driver.info(clock)["rect"][:2] == [157, 131], 10,
               what="the clock at its new place")
    assert end_session(driver, clock) == 1
    # Nobody answers a box at log-off: the program has to end without one.
    app.wait_exit(60)
    assert app.read_settings() == before


def test_an_empty_sound_path_warns_with_the_devices_text_at_start_and_on_test(ambrel, driver):
    expected = driver.one("mcierror", MCIERR_FILENAME_REQUIRED)["text"]
    assert expected.strip()
    app = ambrel(settings=settings(sound='""'))
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"] == expected
    assert box["icon"] is True
    assert not app.windows(cls=CLOCK, visible=True)
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]

    # "ﾃｽﾄ" after the path box was cleared opens the empty path.
    driver.click(clock, *OPTIONS_BUTTON)
    dialog = app.wait_window(timeout=20, cls=OPTIONS, visible=True)["hwnd"]
    box_hwnd = driver.child(dialog, SOUND)["hwnd"]
    driver.settext(box_hwnd, "")
    driver.press(dialog, TEST)
    box = app.wait_msgbox(timeout=20, title=ERROR_TITLE)
    assert box["text"] == expected
    assert box["icon"] is True


def test_a_settings_file_that_cannot_be_read_is_the_access_failure_and_stays(ambrel, driver):
    app = ambrel(run=False)
    # Opens like any file; reading it fails with an I/O error.
    os.symlink("/proc/self/mem", app.settings_path)
    app.start()
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"] == fatal_text(75)
    assert box["icon"] is False
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)
    assert os.readlink(app.settings_path) == "/proc/self/mem"
    assert not (app.folder / "AMBREL.BAK").exists()
    assert not app.windows(cls=CLOCK)


def test_a_damaged_file_that_cannot_be_kept_aside_is_named_and_replaced_all_the_same(ambrel,
                                                                                       driver):
    app = ambrel(run=False)
    app.write_settings(b"10\r\n0\r\n")
    (app.folder / "AMBREL.BAK").mkdir()  # the copy cannot take its place
    app.start()
    box = app.wait_msgbox(title=ERROR_TITLE)
    first, second = box["text"].split("\n")
    assert first == fatal_text(75)
    assert second.endswith(f"\\{app.folder.name}\\AMBREL.BAK に書き込めません。"
                           "ambrel.exe のフォルダは書き込みができる必要があります。"), second
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)
    # The next start runs, with the defaults.
    assert app.settings_lines()[3:5] == ['"ON"', '"c:\\WINDOWS\\TADA.WAV"']
    assert not app.msgboxes()


@pytest.fixture
def refuse_window(driver):
    """refuse_window(cls): no process can create a window of that class until the test ends."""
    def refuse(cls):
        driver.one("refuse-window", cls)
    yield refuse
    driver.one("refuse-window")


def test_a_clock_window_that_cannot_be_made_is_reported_and_the_next_start_runs(
        ambrel, driver, refuse_window):
    refuse_window(CLOCK)
    app = start_quietly(ambrel)
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"] == fatal_text(7)
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    assert app.wait_exit(60) != 0

    # The program that failed holds the single-instance lock no more.
    driver.one("refuse-window")
    app.start()
    app.wait_window(cls=CLOCK, visible=True)


def test_an_options_dialog_that_cannot_be_made_is_reported_and_ends(ambrel, driver,
                                                                   refuse_window):
    app = start_quietly(ambrel)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    refuse_window(OPTIONS)
    driver.click(clock, *OPTIONS_BUTTON)
    box = app.wait_msgbox(timeout=20, title=ERROR_TITLE)
    assert box["text"] == fatal_text(7)
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)


def test_a_notice_that_cannot_be_made_is_reported_and_ends(ambrel, driver, refuse_window,
                                                          program_clock):
    refuse_window(NOTICE)
    app = ambrel(run=False)
    tone = audio.write_tone(app.folder / "tone.wav", 880, 0.3)
    app.write_settings(settings(sound=f'"{windows_path(tone)}"', alarm="10,10,10",
                                alarm_state='"ALON"'))
    # The clock stands in the alarm's second: the first tick finds it due.
    program_clock(app, datetime(2026, 12, 9, 10, 10, 10)).start_program()
    box = app.wait_msgbox(timeout=30, title=ERROR_TITLE)
    assert box["text"] == fatal_text(7)
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)
