"""The alarm and the countdown: arming, the notice with its texts, place and z-order, the sound
that is played, the re-arm after the alarm's second, the one notice that later events reuse,
the alarm state saved within the alarm's second, and a missing sound file.

Each program runs on a clock that the suite sets (harness.clock): it stands still before the
alarm's second until the test is ready, and then in that second, so that nothing depends on how
fast the program starts or the harness acts."""
from datetime import datetime, timedelta

from harness import audio, ids
from harness.paths import windows_path
from harness.proc import wait_until

CLOCK, NOTICE, OPTIONS = ids.CLOCK_CLASS, ids.NOTICE_CLASS, ids.OPTIONS_CLASS
ERROR_TITLE = "Ambrel V2 エラー"
HINT = "ダブルクリックすると表示形式が切り替わります"
DISPLAY_TOOL = ids.DISPLAY_TOOL
# Controls of the notice.
CLOSE_BUTTON, MESSAGE, HEADLINE = ids.NOTICE.CLOSE, ids.NOTICE.MESSAGE, ids.NOTICE.HEADLINE
# Controls of the options dialog.
OK_BUTTON, START, STOP, TEST = (ids.OPTIONS.OK, ids.OPTIONS.START, ids.OPTIONS.STOP,
                                ids.OPTIONS.TEST)
ALARM_HOUR, ALARM_MINUTE, ALARM_SECOND = (ids.OPTIONS.ALARM_HOUR, ids.OPTIONS.ALARM_MINUTE,
                                          ids.OPTIONS.ALARM_SECOND)
TIMER_MINUTES = ids.OPTIONS.COUNTDOWN_MINUTES
ALARM_ON = ids.OPTIONS.ALARM_ON
# The bar's options button, in client pixels.
OPTIONS_BUTTON = ids.OPTIONS_BUTTON
# The notice centres a 6194 x 1786 twips box on the 1024 x 768 screen (15 twips a pixel).
NOTICE_LEFT = round((1024 * 15 / 2 - 3097) / 15)
NOTICE_TOP = round((768 * 15 / 2 - 893) / 15)

ALARM_MESSAGE = "起きる時間です"
TIMER_MESSAGE = "お茶が入りました"


# The moment each test's clock stands at first, a little before the alarms it sets.
BEFORE = datetime(2026, 12, 9, 7, 4, 50)
ALARM = (7, 5, 0)


def at(h, m, s):
    return BEFORE.replace(hour=h, minute=m, second=s)


def number(n):
    return f" {n}" if n >= 0 else str(n)


def alarm_piece(h, m, s):
    return f"【アラーム設定{number(h)}時{number(m)}分{number(s)}秒】"


def alarm_headline(h, m, s):
    return f"アラーム設定時刻{number(h)}時{number(m)}分{number(s)}秒を過ぎました。"


def settings(sound, alarm=(10, 10, 10), state='"ALOFF"', alarm_message="",
             timer_message=""):
    h, m, s = alarm
    return ["10", "1500", "1500", '"ON"', f'"{sound}"', f"{h},{m},{s}", state, '"D"',
            f'"{alarm_message}"', f'"{timer_message}"']


def start_clock(ambrel, program_clock, alarm=(10, 10, 10), state='"ALOFF"', sound=True,
                seconds=1.0, **fields):
    """The clock with a tone of 880 Hz as its sound file (or a missing file), started on a
    clock standing at BEFORE; returns the app and its clock."""
    app = ambrel(run=False)
    wav = audio.write_tone(app.folder / "tone.wav", 880, seconds)
    path = windows_path(wav) if sound else app.windows_path("missing.wav")
    app.write_settings(settings(path, alarm, state, **fields))
    clock = program_clock(app, BEFORE)
    clock.start_program()
    return app, clock


def tone_frequency(wav, sound):
    """The tone's frequency from the median period between upward zero crossings of the
    sounding part: a playback drop-out (wine under emulation has a few) lengthens one period
    without moving the median, where a count of crossings over the whole span would drop."""
    rate, samples = audio.read_samples(wav)
    start = int(sound.onset * rate)
    part = samples[start:start + int(sound.duration * rate)]
    crossings = [i - 1 + (-part[i - 1]) / (part[i] - part[i - 1])
                 for i in range(1, len(part)) if part[i - 1] < 0 <= part[i]]
    periods = sorted(b - a for a, b in zip(crossings, crossings[1:]))
    return rate / periods[len(periods) // 2] if periods else 0.0


def assert_tone(wav, frequency=880, seconds=1.0):
    sound = audio.analyse(wav)
    assert not sound.silent, "nothing was played"
    assert abs(tone_frequency(wav, sound) - frequency) < frequency * 0.02, sound
    # What sounds is the whole file once. Drop-outs (wine under emulation has a few, a busy
    # machine many) stretch the span, never to a second playing; the sound server's rewinds
    # after them may show a few milliseconds twice on its monitor.
    assert abs(sound.sounding - seconds) < max(0.15, 0.1 * seconds), sound
    assert seconds - 0.15 < sound.duration < 2 * seconds, sound


def display_tip(driver, clock):
    """The display's tooltip text, or None before the bar has made its tooltip (right after
    it shows)."""
    tools = driver.call("tooltip", clock, check=False) or []
    return next((t["text"] for t in tools if t["id"] == DISPLAY_TOOL), None)


def texts(driver, notice):
    by_id = {c["id"]: c["text"] for c in driver.children(notice)}
    return by_id[HEADLINE], by_id[MESSAGE]


def wait_notice(app, timeout):
    return app.wait_window(timeout=timeout, cls=NOTICE, visible=True)


def open_options(app, driver, clock):
    driver.click(clock, *OPTIONS_BUTTON)
    options = app.wait_window(timeout=20, cls=OPTIONS, visible=True)["hwnd"]
    return options, {c["id"]: c for c in driver.children(options)}


def arm_through_options(app, driver, clock, alarm=ALARM):
    """Opens the options dialog, sets the alarm, ticks "ｱﾗｰﾑON" and presses "ＯＫ"; returns
    the alarm time."""
    options, controls = open_options(app, driver, clock)
    h, m, s = alarm
    for control, value in ((ALARM_HOUR, h), (ALARM_MINUTE, m), (ALARM_SECOND, s)):
        driver.settext(controls[control]["hwnd"], str(value))
    check = controls[ALARM_ON]
    assert check["enabled"]
    driver.click(check["hwnd"], 6, (check["rect"][3] - check["rect"][1]) // 2)
    wait_until(lambda: driver.message(check["hwnd"], 0x00F0) == 1, 5,  # BM_GETCHECK
               what="ｱﾗｰﾑON to be ticked")
    driver.press(options, OK_BUTTON)
    wait_until(lambda: not app.windows(cls=OPTIONS, visible=True), 10,
               what="the options dialog to close")
    return h, m, s


def test_the_road_of_one_alarm(ambrel, driver, record, program_clock):
    app, time = start_clock(ambrel, program_clock, alarm_message=ALARM_MESSAGE)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    wait_until(lambda: display_tip(driver, clock) == HINT, 10, what="the bar's tooltip")

    alarm = arm_through_options(app, driver, clock)
    piece = alarm_piece(*alarm)
    wait_until(lambda: display_tip(driver, clock) == piece + HINT, 10,
               what="the alarm piece in the tooltip")
    time.set(at(7, 4, 59))
    driver.settle(clock, 0.5)
    assert not app.windows(cls=NOTICE), "the notice opened before the alarm fell due"

    recording = record("alarm.wav")
    time.set(at(*alarm))
    notice = app.wait_window(timeout=30, cls=NOTICE, visible=True)
    assert notice["title"] == "Ambrel V2"
    assert abs(notice["rect"][0] - NOTICE_LEFT) <= 1, notice["rect"]
    assert abs(notice["rect"][1] - NOTICE_TOP) <= 1, notice["rect"]
    assert notice["topmost"] is True
    assert texts(driver, notice["hwnd"]) == (alarm_headline(*alarm), ALARM_MESSAGE)
    # Suspended for the alarm's second: the tooltip lacks its piece...
    wait_until(lambda: display_tip(driver, clock) == HINT, 10,
               what="the tooltip without the alarm in its second")
    # ...and has it back once the second has passed: armed again for the next day.
    time.set(at(7, 5, 1))
    wait_until(lambda: display_tip(driver, clock) == piece + HINT, 10,
               what="the alarm piece back after its second")

    recording.wait_sound_end(timeout=30)
    assert_tone(recording.stop())
    # One notice only, the same window.
    assert [w["hwnd"] for w in app.windows(cls=NOTICE)] == [notice["hwnd"]]


def start_countdown(app, driver, clock, minutes="0"):
    """Sets the countdown's minutes in the options dialog and presses "スタート"; returns
    the dialog and its controls."""
    options, controls = open_options(app, driver, clock)
    driver.settext(controls[TIMER_MINUTES]["hwnd"], minutes)
    wait_until(lambda: driver.text(controls[TIMER_MINUTES]["hwnd"]) == minutes, 5,
               what="the minutes in the box")
    driver.press(options, START)
    return options, controls


def test_a_countdown_of_no_minutes_falls_due_at_once(ambrel, driver, program_clock):
    app, _ = start_clock(ambrel, program_clock, timer_message=TIMER_MESSAGE)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    options, controls = start_countdown(app, driver, clock)

    notice = wait_notice(app, timeout=20)
    assert notice["topmost"] is True
    assert texts(driver, notice["hwnd"]) == ("タイマー設定時間 0分を過ぎました。", TIMER_MESSAGE)
    # The dialog stays open, its buttons back to the look of a stopped countdown.
    assert driver.info(options)["visible"]
    assert driver.info(controls[START]["hwnd"])["enabled"] is True
    assert driver.info(controls[STOP]["hwnd"])["enabled"] is False
    wait_until(lambda: display_tip(driver, clock) == HINT, 3,
               what="the tooltip without the countdown")


def test_the_alarm_is_heard_on_two_nights_of_one_run(ambrel, driver, record, program_clock):
    # Each playback ends at the end of the file: the next night's plays it from its start.
    app, time = start_clock(ambrel, program_clock, alarm=ALARM, state='"ALON"')
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    piece = alarm_piece(*ALARM)
    wait_until(lambda: display_tip(driver, clock) == piece + HINT, 10,
               what="the alarm piece in the tooltip")
    for night in range(2):
        day = BEFORE + timedelta(days=night)
        recording = record(f"night{night + 1}.wav")
        time.set(day.replace(hour=ALARM[0], minute=ALARM[1], second=ALARM[2]))
        notice = wait_notice(app, timeout=30)
        recording.wait_sound_end(timeout=30)
        assert_tone(recording.stop())
        driver.press(notice["hwnd"], CLOSE_BUTTON)
        driver.wait_gone(notice["hwnd"], 10)
        time.set(day.replace(hour=ALARM[0], minute=ALARM[1], second=ALARM[2] + 1))
        wait_until(lambda: display_tip(driver, clock) == piece + HINT, 10,
                   what="the alarm armed again for the next night")


def test_a_countdown_after_the_sound_test_is_heard(ambrel, driver, record, program_clock):
    app, _ = start_clock(ambrel, program_clock)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    options, controls = open_options(app, driver, clock)
    tested = record("test.wav")
    driver.press(options, TEST)
    tested.wait_sound_end(timeout=30)
    assert_tone(tested.stop())

    # In the same dialog: a countdown of no minutes, due at the next tick.
    counted = record("countdown.wav")
    driver.settext(controls[TIMER_MINUTES]["hwnd"], "0")
    driver.press(options, START)
    wait_notice(app, timeout=20)
    counted.wait_sound_end(timeout=30)
    assert_tone(counted.stop())


def test_a_notice_while_one_is_open_is_reused_in_place_and_centred_when_new(ambrel, driver,
                                                                             program_clock):
    app, time = start_clock(ambrel, program_clock, alarm_message=ALARM_MESSAGE,
                            timer_message=TIMER_MESSAGE)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    alarm = arm_through_options(app, driver, clock)
    time.set(at(*alarm))
    notice = wait_notice(app, timeout=30)
    assert texts(driver, notice["hwnd"]) == (alarm_headline(*alarm), ALARM_MESSAGE)

    # Moving it by its title bar is left out: with no window manager on the test display,
    # wine's own move loop ends the program with an X error (BadWindow).
    placed = driver.info(notice["hwnd"])["rect"]

    start_countdown(app, driver, clock)
    wait_until(lambda: texts(driver, notice["hwnd"])[0].startswith("タイマー"), 10,
               what="the countdown's texts in the notice")
    assert texts(driver, notice["hwnd"]) == ("タイマー設定時間 0分を過ぎました。", TIMER_MESSAGE)
    assert [w["hwnd"] for w in app.windows(cls=NOTICE)] == [notice["hwnd"]]
    assert driver.info(notice["hwnd"])["rect"] == placed

    # Closed and opened afresh, it is centred again.
    driver.press(notice["hwnd"], CLOSE_BUTTON)
    driver.wait_gone(notice["hwnd"], 10)
    options = app.wait_window(cls=OPTIONS, visible=True)["hwnd"]
    driver.press(options, START)
    again = wait_notice(app, timeout=10)
    assert abs(again["rect"][0] - NOTICE_LEFT) <= 1, again["rect"]
    assert abs(again["rect"][1] - NOTICE_TOP) <= 1, again["rect"]


def test_closing_the_clock_within_the_alarms_second_keeps_the_alarm_armed(ambrel, driver,
                                                                          program_clock):
    # Suspended for its second, the alarm is still the one the user armed: the file keeps it
    # on for the next start.
    app, time = start_clock(ambrel, program_clock, alarm=ALARM, state='"ALON"')
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    wait_until(lambda: display_tip(driver, clock) == alarm_piece(*ALARM) + HINT, 10,
               what="the alarm piece in the tooltip")
    time.set(at(*ALARM))  # and it stands in the alarm's second until the program has ended
    wait_notice(app, timeout=30)
    wait_until(lambda: display_tip(driver, clock) == HINT, 10,
               what="the alarm suspended in its second")
    driver.close(clock)
    app.wait_exit(30)
    assert app.settings_lines()[6] == '"ALON"'


def test_a_missing_sound_file_warns_at_start_and_the_alarm_comes_silently(ambrel, driver,
                                                                           record, program_clock):
    alarm = ALARM
    app = ambrel(run=False)
    app.write_settings(settings(app.windows_path("missing.wav"), alarm, '"ALON"',
                                alarm_message=ALARM_MESSAGE))
    time = program_clock(app, BEFORE)
    # The warning comes before the clock window, whose tick is the first to read the time.
    app.start()
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"].strip()
    assert box["icon"] is True
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    wait_until(lambda: display_tip(driver, clock) == alarm_piece(*alarm) + HINT, 3,
               what="the alarm piece in the tooltip")

    assert time.status()["reads"] > 0, "the program does not read the controlled clock"
    recording = record("silence.wav")
    time.set(at(*alarm))
    notice = wait_notice(app, timeout=30)
    assert texts(driver, notice["hwnd"]) == (alarm_headline(*alarm), ALARM_MESSAGE)
    recording.wait_recorded(2.0)
    assert audio.analyse(recording.stop()).silent
    assert not app.msgboxes(), "a second warning came with the alarm"


def test_the_notices_close_box_closes_it_and_leaves_the_sound_playing(ambrel, driver, record,
                                                                       close_box, program_clock):
    # Long enough that the close comes while it plays however much the harness lags: finding
    # the close box takes it a driver command per pixel tried.
    seconds = 12.0
    app, time = start_clock(ambrel, program_clock, alarm=ALARM, state='"ALON"', seconds=seconds)
    app.wait_window(cls=CLOCK, visible=True)

    recording = record("alarm.wav")
    time.set(at(*ALARM))
    notice = wait_notice(app, timeout=30)
    close_box(notice["hwnd"])
    driver.wait_gone(notice["hwnd"], 10)
    closed_at = recording.seconds()
    assert not app.windows(cls=NOTICE)
    recording.wait_sound_end(timeout=30)
    wav = recording.stop()
    sound = audio.analyse(wav)
    assert sound.onset + sound.duration > closed_at + 0.5, "the sound ended with the notice"
    assert_tone(wav, seconds=seconds)
