"""The clock on desktops unlike the test screen: a place saved on a monitor that is gone, a sound
file whose name the settings file's code page cannot hold, a close that reaches the program
while it still reads its settings, what a screen reader is given to read, and a dark theme."""
import pytest

from harness import audio
from harness.ids import NOTICE as N
from harness.ids import OPTIONS as C
from harness.ids import OPTIONS_CLASS
from harness.paths import windows_path
from harness.proc import wait_until
from test_alarm import (BEFORE, NOTICE, TIMER_MESSAGE, arm_through_options, at, open_options,
                        start_clock, start_countdown, tone_frequency, wait_notice)
from test_options import ALARM_MESSAGE, BROWSE, CHOOSER_TITLE, OK, SOUND
from test_startup import CLOCK, DEFAULT_FILE, ERROR_TITLE, pixels, settings, start_quietly

DM_GETDEFID, DC_HASDEFID = 0x0400, 0x534B
ROLE_SYSTEM_TEXT = 42
# The file dialog's file name box (a combo box with an edit) and its open button.
FILE_NAME_BOX, OPEN_BUTTON = 0x047C, 1

# Each label of the options dialog and the control it names, the one right after it in z-order.
LABEL_BEFORE = {
    C.HOUR_UNIT: C.ALARM_HOUR,  # "時": the hour box
    C.MINUTE_UNIT: C.ALARM_MINUTE,  # "分": the minute box
    C.SECOND_UNIT: C.ALARM_SECOND,  # "秒": the second box
    C.COUNTDOWN_UNIT: C.COUNTDOWN_MINUTES,  # "分": the countdown's minutes box
    C.ALARM_TIME_LABEL: C.ALARM_HOUR_BAR,  # "時刻の指定": the hour bar
    C.COUNTDOWN_LABEL: C.COUNTDOWN_BAR,  # "時間の指定": the countdown bar
    C.SOUND_FILE_LABEL: C.SOUND_FILE,  # "WAVファイルの指定": the sound file's path
    C.ALARM_MESSAGE_LABEL: C.ALARM_MESSAGE,  # "アラームメッセージ"
    C.COUNTDOWN_MESSAGE_LABEL: C.COUNTDOWN_MESSAGE,  # "タイマーメッセージ"
}
BOXES = (C.ALARM_HOUR, C.ALARM_MINUTE, C.ALARM_SECOND, C.COUNTDOWN_MINUTES, C.SOUND_FILE,
         C.ALARM_MESSAGE, C.COUNTDOWN_MESSAGE)


def test_a_clock_lost_left_or_above_comes_back_and_one_partly_off_stays(ambrel, driver):
    # The screen is 1024 x 768 pixels; the bar 2100 x 270 twips. Its right edge more than 2000
    # twips left of the screen, or its bottom more than 600 above it: brought back to (10, 10).
    for left, top, expected in ((-5000, 500, (10, 10)), (500, -1000, (10, 10)),
                                (-300, -45, (-300, -45)), (-4000, -800, (-4000, -800))):
        app = start_quietly(ambrel, left=str(left), top=str(top))
        clock = app.wait_window(cls=CLOCK, visible=True)
        assert clock["rect"][:2] == [pixels(expected[0]), pixels(expected[1])], (left, top)
        app.kill()


def close_during_box(app, driver, title):
    """Posts WM_CLOSE to the hidden clock window while the start-up box is open, as the task
    list or another program may; the program ends without anyone answering the box."""
    box = app.wait_msgbox(title=title)
    clock = [w for w in app.windows(cls=CLOCK) if not w["visible"]]
    assert len(clock) == 1, clock
    driver.close(clock[0]["hwnd"])
    app.wait_exit(60)
    return box


def test_a_close_while_the_settings_are_read_leaves_the_file_as_the_box_would(ambrel, driver):
    # Error 13 in line 2, error 6 in line 1 (every field still empty): the file stays as it was.
    for lines, number in ((settings(left='"abc"'), 13), (["40000"] + settings()[1:], 6)):
        app = ambrel(settings=lines)
        before = app.read_settings()
        box = close_during_box(app, driver, ERROR_TITLE)
        assert box["text"] == f"エラー ( {number}) が発生しました、終了します。"
        assert app.read_settings() == before, number
        assert not (app.folder / "AMBREL.BAK").exists()

    # A damaged file: kept aside, and the default file in its place, as after the box's OK.
    damaged = DEFAULT_FILE[:40]
    app = ambrel(settings=damaged)
    close_during_box(app, driver, "Ambrel エラー")
    assert (app.folder / "AMBREL.BAK").read_bytes() == damaged
    assert app.read_settings() == DEFAULT_FILE


def choose_file(app, driver, dialog, path):
    """"参照", the path typed into the file dialog's name box, and its open button."""
    driver.press(dialog, BROWSE)
    chooser = app.wait_window(timeout=60, title=CHOOSER_TITLE, visible=True)["hwnd"]
    driver.settext(driver.child(chooser, FILE_NAME_BOX)["hwnd"], path)
    driver.press(chooser, OPEN_BUTTON)
    driver.wait_gone(chooser, 20)


def drive_c_path(wine, path):
    """The path through the prefix's drive C:, where wine gives files short names."""
    return "C:\\" + str(path.relative_to(wine.prefix / "drive_c")).replace("/", "\\")


def test_a_sound_file_named_beyond_the_code_page_plays_after_a_restart(ambrel, driver, record,
                                                                        wine, program_clock):
    app = start_quietly(ambrel)
    folder = app.folder / "Café 𠮷"
    folder.mkdir()
    wav = drive_c_path(wine, audio.write_tone(folder / "Señal.wav", 660, 1.0))
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]

    dialog, controls = open_options(app, driver, clock)
    choose_file(app, driver, dialog, wav)
    wait_until(lambda: driver.text(controls[SOUND]["hwnd"]) == wav, 10,
               what="the chosen path in the sound-file box")
    driver.press(dialog, OK)
    driver.wait_gone(dialog, 20)
    # The device opened the file at the commit: no warning.
    driver.settle(clock, 0.5)
    assert not app.msgboxes()

    driver.close(clock)
    app.wait_exit(60)
    stored = app.settings_lines()[4]
    # The short form: plain ASCII, so the file holds it as it is.
    assert stored.isascii() and "~" in stored and stored.upper().endswith('.WAV"'), stored

    app.procs.clear()
    # The restarted clock stands still before the alarm until the recording is live.
    time = program_clock(app, BEFORE)
    time.start_program()
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    driver.settle(clock, 0.5)
    assert not app.msgboxes(), "the sound file was not found after the restart"

    alarm = arm_through_options(app, driver, clock)
    recording = record("alarm.wav")
    time.set(at(*alarm))
    wait_notice(app, 30)
    recording.wait_sound_end(timeout=30)
    wav_file = recording.stop()
    sound = audio.analyse(wav_file)
    assert not sound.silent, "nothing was played"
    assert abs(tone_frequency(wav_file, sound) - 660) < 660 * 0.02, sound


def test_a_sound_path_without_a_storable_form_is_refused_and_the_dialog_stays(ambrel, driver):
    app = start_quietly(ambrel)
    folder = app.folder / "Café 𠮷"
    folder.mkdir()
    # Through the Z: drive wine gives no short names: nothing the settings file could hold.
    wav = windows_path(audio.write_tone(folder / "Señal.wav", 660, 1.0))
    assert driver.call("shortpath", wav) == [{"short": None}]
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    before = app.read_settings()

    dialog, controls = open_options(app, driver, clock)
    driver.settext(controls[SOUND]["hwnd"], wav)
    driver.press(dialog, OK)
    box = app.wait_msgbox(title="Ambrel V2 オプションエラー")
    assert box["text"] == ("WAVファイルの指定欄に設定ファイルに保存できない文字があります: é𠮷ñ"
                           "\nWAVファイルの名前を変えるか、別のファイルを指定して下さい。")
    assert box["icon"] is True
    driver.answer("OK", title="Ambrel V2 オプションエラー", exe=app.exe_name)
    driver.wait_gone(box["hwnd"], 10)
    driver.settle(dialog, 0.5)
    assert app.windows(cls=OPTIONS_CLASS, visible=True)
    assert not app.msgboxes()

    driver.close(clock)
    app.wait_exit(60)
    assert app.read_settings() == before


def test_a_message_the_file_cannot_hold_is_named_at_the_commit(ambrel, driver):
    app = start_quietly(ambrel)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    dialog, controls = open_options(app, driver, clock)
    driver.settext(controls[ALARM_MESSAGE]["hwnd"], "Café ♪① の時間")
    driver.press(dialog, OK)
    box = app.wait_msgbox(title="Ambrel V2 オプションエラー")
    assert box["text"] == "アラームメッセージに設定ファイルに保存できない文字があります: é"
    driver.answer("OK", title="Ambrel V2 オプションエラー", exe=app.exe_name)
    driver.wait_gone(box["hwnd"], 10)
    # Without the é the dialog closes, and ♪ and ① reach the file.
    driver.settext(controls[ALARM_MESSAGE]["hwnd"], "Cafe ♪① の時間")
    driver.press(dialog, OK)
    driver.wait_gone(dialog, 20)
    driver.close(clock)
    app.wait_exit(60)
    assert app.settings_lines()[8] == '"Cafe ♪① の時間"'


def test_each_label_of_the_options_dialog_stands_right_before_what_it_names(ambrel, driver):
    app = start_quietly(ambrel)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    dialog, _ = open_options(app, driver, clock)
    # The driver lists the controls in z-order, which a screen reader reads the labels in.
    found = [c for c in driver.children(dialog) if c["parent"] == dialog]
    order = [c["id"] for c in found]
    for label, control in LABEL_BEFORE.items():
        assert order[order.index(control) - 1] == label, (label, control, order)

    # Wine's oleacc names an edit after the static text before it: each box is read out under
    # its label, the alarm's minute and second boxes included. Its scroll bars it answers as
    # plain clients without a name, and it has no annotation service, which names them on
    # Windows: that much only Windows shows.
    text = {c["id"]: c["text"] for c in found}
    hwnd = {c["id"]: c["hwnd"] for c in found}
    named = {control: label for label, control in LABEL_BEFORE.items()}
    for box in BOXES:
        answer = driver.one("accessible", hwnd[box])
        assert answer["role"] == ROLE_SYSTEM_TEXT, (box, answer)
        assert answer["name"] == text[named[box]], (box, answer)
    assert driver.one("accessible", hwnd[SOUND])["name"] == "WAVファイルの指定"
    assert [text[named[box]] for box in BOXES[:4]] == ["時", "分", "秒", "分"]


COLOR_BTNFACE, COLOR_BTNTEXT = 15, 18


@pytest.fixture
def dark_theme(driver):
    """A theme of white text on a black face for the programs started from now on, set as a
    theme change sets it (a high-contrast black theme gives these); the colours before it
    come back after the test."""
    before = driver.sys_colors({COLOR_BTNFACE: "000000", COLOR_BTNTEXT: "ffffff"})
    yield
    driver.sys_colors({index: rgb.lstrip("#") for index, rgb in before.items()})


def notice_text_colours(ambrel, driver, program_clock):
    """The notice's face (the colour most of the headline shows) and the colours that its
    headline and message show, each a set of "#rrggbb"."""
    app, _ = start_clock(ambrel, program_clock, timer_message=TIMER_MESSAGE)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    start_countdown(app, driver, clock)
    notice = wait_notice(app, 60)["hwnd"]
    message = driver.child(notice, N.MESSAGE)["hwnd"]
    wait_until(lambda: driver.text(message) == TIMER_MESSAGE, 10, what="the notice's message")
    driver.settle(notice, 0.5)
    ranked = [[c["rgb"] for c in driver.pixels(driver.child(notice, label)["hwnd"])["colors"]]
              for label in (N.HEADLINE, N.MESSAGE)]
    app.kill()
    return ranked[0][0], set(ranked[0]), set(ranked[1])


def test_the_notices_texts_take_the_themes_colour_where_the_layouts_would_vanish(
        ambrel, driver, program_clock, request):
    # The layout's colours on an ordinary face: a black headline, a blue message.
    _, headline, message = notice_text_colours(ambrel, driver, program_clock)
    assert "#000000" in headline and "#0000ff" in message, (headline, message)
    # On a black face both would vanish: the theme's white instead.
    request.getfixturevalue("dark_theme")
    face, headline, message = notice_text_colours(ambrel, driver, program_clock)
    assert face == "#000000", f"the program was started after the theme change yet drew {face}"
    assert "#ffffff" in headline and "#ffffff" in message, (headline, message)
    assert "#0000ff" not in message


def test_the_notice_is_a_dialog_whose_default_button_is_close(ambrel, driver):
    app = start_quietly(ambrel)
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    start_countdown(app, driver, clock)
    notice = wait_notice(app, 60)["hwnd"]
    # Only a dialog's own handling answers for its default button: "閉じる", id 1.
    assert driver.message(notice, DM_GETDEFID) == (DC_HASDEFID << 16) | 1


def test_the_read_me_beside_the_program_describes_the_refusals_and_these_cases(ambrel):
    app = ambrel(run=False)
    # Its lines are wrapped for Notepad: a phrase may run across a line end.
    readme = (app.folder / "README.TXT").read_bytes().decode("cp932").replace("\r\n", "")
    for words in ("0～999の分数", "範囲外なら動きません", "マイナスの値", "どのモニターからも",
                  "モニターの構成が変わったとき", "短い名前(8.3形式)", "その文字を示します",
                  "読み終わる前に終了したときは書き込みません"):
        assert words in readme, words
