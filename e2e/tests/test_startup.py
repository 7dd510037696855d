"""Start-up and shutdown of the real clock: the settings file created, read, refused and
written back, the saved position and its fall-back, the z-order word, one instance only."""
from harness import audio, ids
from harness.paths import windows_path
from harness.proc import wait_until

CLOCK = ids.CLOCK_CLASS
DEFAULT_FILE = (b'10\r\n0\r\n0\r\n"ON"\r\n"c:\\WINDOWS\\TADA.WAV"\r\n10,10,10\r\n'
                b'"ALOFF"\r\n"D"\r\n""\r\n""\r\n')
ERROR_TITLE = "Ambrel V2 エラー"
DEFAULT_SOUND = "c:\\WINDOWS\\TADA.WAV"


def settings(left="0", top="0", on_top='"ON"', sound='""'):
    return ["10", left, top, on_top, sound, "10,10,10", '"ALOFF"', '"D"', '""', '""']


def start_quietly(ambrel, **fields):
    """The clock with a real WAV file, so that no sound warning stands in the way."""
    app = ambrel(run=False)
    tone = audio.write_tone(app.folder / "tone.wav")
    app.write_settings(settings(sound=f'"{windows_path(tone)}"', **fields))
    app.start()
    return app


def pixels(twips):
    return int(twips / 15 + (0.5 if twips >= 0 else -0.5))


def test_first_start_writes_the_default_file_and_shows_the_clock_at_the_corner(ambrel, driver,
                                                                              record):
    # The default names c:\WINDOWS\TADA.WAV, which Windows keeps as Media\tada.wav: no box.
    app = ambrel()
    clock = app.wait_window(cls=CLOCK, visible=True)
    assert clock["title"] == "Ambrel"
    assert clock["rect"] == [0, 0, 140, 18]
    assert clock["topmost"] is True
    driver.settle(clock["hwnd"], 0.5)
    assert not app.msgboxes()
    assert app.read_settings() == DEFAULT_FILE
    assert len(DEFAULT_FILE) == 71

    # ﾃｽﾄ with the default's name in the box plays the Windows folder's fanfare.
    driver.click(clock["hwnd"], *ids.OPTIONS_BUTTON)
    dialog = app.wait_window(timeout=20, cls=ids.OPTIONS_CLASS, visible=True)["hwnd"]
    assert driver.text(driver.child(dialog, ids.OPTIONS.SOUND_FILE)["hwnd"]) == DEFAULT_SOUND
    recording = record("fanfare.wav")
    driver.press(dialog, ids.OPTIONS.TEST)
    recording.wait_sound_end(timeout=30)
    assert not audio.analyse(recording.stop()).silent, "nothing was played"
    assert not app.msgboxes()


def test_without_either_fanfare_the_first_start_warns_of_the_defaults_file(ambrel, driver, wine):
    fanfare = wine.windows_fanfare
    aside = fanfare.with_name("tada.wav.aside")
    fanfare.rename(aside)
    try:
        app = ambrel()
        # The device's own text warns of the file before the clock shows.
        box = app.wait_msgbox(title=ERROR_TITLE)
        assert box["text"].strip()
        assert box["icon"] is True
        assert not app.windows(cls=CLOCK, visible=True)
        driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
        app.wait_window(cls=CLOCK, visible=True)
        assert app.read_settings() == DEFAULT_FILE
    finally:
        aside.rename(fanfare)


def test_an_empty_file_is_kept_aside_replaced_by_defaults_and_ends(ambrel, driver):
    app = ambrel(settings=b"")
    box = app.wait_msgbox(title="Ambrel エラー")
    assert box["text"] == "設定ファイルが壊れている可能性があります、Ambrel V2 を再起動して下さい。"
    driver.answer("OK", title="Ambrel エラー", exe=app.exe_name)
    app.wait_exit(60)
    assert app.read_settings() == DEFAULT_FILE
    assert (app.folder / "AMBREL.BAK").read_bytes() == b""
    assert not app.windows(cls=CLOCK)


def test_a_quoted_position_ends_with_error_13_and_leaves_the_file(ambrel, driver):
    app = ambrel(settings=settings(left='"abc"'))
    before = app.read_settings()
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"] == "エラー ( 13) が発生しました、終了します。"
    assert box["icon"] is False
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)
    assert app.read_settings() == before


def test_saved_positions_stay_unless_far_off_the_screen(ambrel, driver):
    # The screen is 1024 x 768 pixels: 15360 x 11520 twips.
    for left, top, expected in ((16000, 500, (16000, 500)), (-300, -45, (-300, -45)),
                                (20000, 500, (10, 10))):
        app = start_quietly(ambrel, left=str(left), top=str(top))
        clock = app.wait_window(cls=CLOCK, visible=True)
        assert clock["rect"][:2] == [pixels(expected[0]), pixels(expected[1])], (left, top)
        app.kill()


def test_only_the_exact_word_on_keeps_the_clock_on_top(ambrel):
    app = start_quietly(ambrel, on_top='"on"')
    clock = app.wait_window(cls=CLOCK, visible=True)
    assert clock["topmost"] is False


def test_a_second_start_ends_silently_and_leaves_the_first_alone(ambrel, driver):
    app = start_quietly(ambrel, left="1500", top="1500")
    clock = app.wait_window(cls=CLOCK, visible=True)
    before = app.read_settings()
    second = app.start()
    assert app.wait_exit(60, proc=second) == 0
    assert [w["hwnd"] for w in app.windows(cls=CLOCK)] == [clock["hwnd"]]
    assert not app.msgboxes()
    assert app.read_settings() == before
    assert driver.info(clock["hwnd"])["rect"][:2] == [100, 100]


def test_closing_writes_the_settings_with_the_windows_position(ambrel, driver):
    app = start_quietly(ambrel, left="1500", top="3000")
    clock = app.wait_window(cls=CLOCK, visible=True)
    driver.close(clock["hwnd"])
    app.wait_exit(60)
    lines = app.settings_lines()
    assert lines[1:3] == ["1500", "3000"]
    assert lines[3] == '"ON"'
    assert len(lines) == 10


def test_the_position_saved_is_where_the_window_stands(ambrel, driver):
    # The far-off position falls back to (10, 10) twips, which the screen rounds to one pixel:
    # what is saved is the window's own place, 15 twips, not the corrected field.
    app = start_quietly(ambrel, left="20000", top="500")
    clock = app.wait_window(cls=CLOCK, visible=True)
    assert clock["rect"][:2] == [1, 1]
    driver.close(clock["hwnd"])
    app.wait_exit(60)
    assert app.settings_lines()[1:3] == ["15", "15"]


def test_a_file_another_program_holds_is_read_and_saved_once_it_is_let_go(ambrel, driver):
    # A sync client holds AMBREL.SET open for reading and writing, sharing both but not its
    # deletion, from before the start until a moment after the save has written its new file
    # beside it: the start reads it all the same, and the save, which cannot replace a held
    # file, waits and lands once it is let go.
    app = ambrel(run=False)
    tone = audio.write_tone(app.folder / "tone.wav")
    app.write_settings(settings(left="20000", top="500", sound=f'"{windows_path(tone)}"'))
    held = driver.one("hold", app.windows_path("AMBREL.SET"), "--write",
                      "--until-created", app.windows_path("AMBREL.SET.new"), "--then", 300)
    try:
        app.start()
        clock = app.wait_window(cls=CLOCK, visible=True)
        assert not app.msgboxes()
        driver.close(clock["hwnd"])
        assert app.wait_exit(60) == 0
    finally:
        released = driver.one("release", held["hold"])
    assert released["trigger_seen"], "the save never began while the file was held"
    assert app.settings_lines()[1:3] == ["15", "15"]
