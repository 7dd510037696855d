"""The options dialog: its layout as the user sees it, the digit filter, the
checks on closing with their messages in order, the error box whose Cancel ends the program,
the commit of the z-order and of the alarm into the settings file, the countdown start and
stop seen in the clock's tooltip, and the help viewer with the whole help."""
import subprocess
from datetime import datetime

from harness import audio, slowness
from harness.ids import (CLOCK_CLASS, DISPLAY_TOOL, HELP_CLASS, HELP_TEXT, NOTICE_CLASS,
                         OPTIONS_BUTTON, OPTIONS_CLASS, PRODUCT_NAME)
from harness.ids import OPTIONS as C
from harness.paths import REPO, STATE, ensure_dir, windows_path
from harness.proc import wait_until

CLOCK, OPTIONS = CLOCK_CLASS, OPTIONS_CLASS
TITLE = PRODUCT_NAME
ERROR_TITLE = "Ambrel V2 オプションエラー"
HINT = "ダブルクリックすると表示形式が切り替わります"

OK, HELP, START, STOP, BROWSE = C.OK, C.HELP, C.START, C.STOP, C.BROWSE
CHOOSER_TITLE = "アラームサウンドの指定"
SOUND, HOUR, MINUTE, SECOND = C.SOUND_FILE, C.ALARM_HOUR, C.ALARM_MINUTE, C.ALARM_SECOND
MINUTES, ALARM_MESSAGE, TIMER_MESSAGE = C.COUNTDOWN_MINUTES, C.ALARM_MESSAGE, C.COUNTDOWN_MESSAGE
ON_TOP, ALARM_ON = C.KEEP_ON_TOP, C.ALARM_ON
BM_GETCHECK = 0x00F0

EMPTY_BOX = "アラーム時刻指定欄が空白です。"
OUT_OF_RANGE = "アラーム時刻の指定が、時間の範囲を超えています。"
NO_SOUND = "WAVファイルが指定されていません。"
CONVERSION = ("エラー発生、オプション設定の入力に間違いの可能性があります。"
              "再試行で復帰、キャンセルで終了します。")

# The dialog as designed: id -> (caption, left, top, width, height), in twips of the client
# area (controls inside a group box are given by the box's corner plus their own offset).
FRAME4, FRAME3, FRAME2 = (120, 120), (120, 2040), (3900, 2040)


def inside(frame, left, top, width, height):
    return frame[0] + left, frame[1] + top, width, height


LAYOUT = {
    C.ALARM_GROUP: ("アラーム", 120, 120, 3315, 1815),
    C.ALARM_TIME_LABEL: ("時刻の指定", *inside(FRAME4, 180, 300, 1125, 255)),
    C.ALARM_ON: ("ｱﾗｰﾑON", *inside(FRAME4, 1560, 240, 1335, 315)),
    C.ALARM_HOUR: (None, *inside(FRAME4, 180, 600, 345, 315)),
    C.HOUR_UNIT: ("時", *inside(FRAME4, 540, 660, 255, 255)),
    C.ALARM_HOUR_BAR: (None, *inside(FRAME4, 840, 600, 2295, 315)),
    C.ALARM_MINUTE: (None, *inside(FRAME4, 180, 960, 345, 315)),
    C.MINUTE_UNIT: ("分", *inside(FRAME4, 540, 1020, 255, 255)),
    C.ALARM_MINUTE_BAR: (None, *inside(FRAME4, 840, 960, 2295, 315)),
    C.ALARM_SECOND: (None, *inside(FRAME4, 180, 1320, 345, 315)),
    C.SECOND_UNIT: ("秒", *inside(FRAME4, 540, 1380, 285, 255)),
    C.ALARM_SECOND_BAR: (None, *inside(FRAME4, 840, 1320, 2295, 315)),
    C.OK: ("ＯＫ", 3840, 300, 1275, 400),
    C.HELP: ("ヘルプ", 3840, 720, 1275, 400),
    C.KEEP_ON_TOP: ("常に手前に表示", 3660, 1320, 1755, 315),
    C.TIMER_GROUP: ("タイマー", 120, 2040, 3675, 1095),
    C.COUNTDOWN_LABEL: ("時間の指定", *inside(FRAME3, 180, 300, 1095, 315)),
    C.COUNTDOWN_MINUTES: ("10", *inside(FRAME3, 1560, 240, 495, 315)),
    C.COUNTDOWN_UNIT: ("分", *inside(FRAME3, 2100, 300, 255, 255)),
    C.START: ("スタート", *inside(FRAME3, 2520, 240, 975, 340)),
    C.STOP: ("ストップ", *inside(FRAME3, 2520, 590, 975, 340)),
    C.COUNTDOWN_BAR: (None, *inside(FRAME3, 180, 660, 2175, 255)),
    C.COLOR_GROUP: ("時計の文字色", 3900, 2040, 1455, 1095),
    C.COLOR_GREEN: ("■", *inside(FRAME2, 120, 360, 550, 200)),
    C.COLOR_CYAN: ("■", *inside(FRAME2, 780, 360, 550, 200)),
    C.COLOR_MAGENTA: ("■", *inside(FRAME2, 120, 720, 550, 200)),
    C.COLOR_YELLOW: ("■", *inside(FRAME2, 780, 720, 550, 200)),
    C.SOUND_FILE_LABEL: ("WAVファイルの指定", 180, 3360, 1635, 315),
    C.SOUND_FILE: (None, 1920, 3300, 2115, 345),
    C.BROWSE: ("参照", 4020, 3300, 645, 345),
    C.TEST: ("ﾃｽﾄ", 4680, 3300, 645, 345),
    C.ALARM_MESSAGE_LABEL: ("アラームメッセージ", 210, 3860, 1575, 300),
    C.ALARM_MESSAGE: ("", 1800, 3800, 3550, 330),
    C.COUNTDOWN_MESSAGE_LABEL: ("タイマーメッセージ", 210, 4240, 1575, 300),
    C.COUNTDOWN_MESSAGE: ("", 1800, 4180, 3550, 330),
}
SWATCHES = {C.COLOR_GREEN: (0, 192, 0), C.COLOR_CYAN: (0, 255, 255), C.COLOR_MAGENTA: (255, 0, 255),
            C.COLOR_YELLOW: (255, 255, 0)}


def px(twips):
    return int(twips / 15 + 0.5)


def settings(sound, alarm=(10, 10, 10), on_top='"ON"', state='"ALOFF"', color="10"):
    h, m, s = alarm
    return [color, "1500", "1500", on_top, f'"{sound}"', f"{h},{m},{s}", state, '"D"',
            '""', '""']


def start_clock(ambrel, program_clock=None, at=None, **fields):
    """The clock with a real WAV file as its sound, so no sound warning stands in the way,
    on a clock the suite sets to `at` (frozen) when given; returns the app, the clock's
    handle and the sound's Windows path."""
    app = ambrel(run=False)
    sound = windows_path(audio.write_tone(app.folder / "tone.wav", 880, 0.3))
    app.write_settings(settings(sound, **fields))
    if at is None:
        app.start()
    else:
        program_clock(app, at).start_program()
    clock = app.wait_window(cls=CLOCK, visible=True)["hwnd"]
    return app, clock, sound


def open_options(app, driver, clock):
    driver.click(clock, *OPTIONS_BUTTON)
    dialog = app.wait_window(timeout=20, cls=OPTIONS, visible=True)["hwnd"]
    return dialog, controls(driver, dialog)


def controls(driver, dialog):
    return {c["id"]: c for c in driver.children(dialog)}


def hwnd_of(driver, dialog, control_id):
    return driver.child(dialog, control_id)["hwnd"]


def tick(driver, check):
    """Clicks a check box as the user does and waits until its state has flipped."""
    before = driver.message(check["hwnd"], BM_GETCHECK)
    driver.click(check["hwnd"], 6, (check["rect"][3] - check["rect"][1]) // 2)
    wait_until(lambda: driver.message(check["hwnd"], BM_GETCHECK) != before, 5,
               what=f"check box {check['id']} to change")


def close_dialog(app, driver, dialog):
    driver.press(dialog, OK)
    wait_until(lambda: not app.windows(cls=OPTIONS, visible=True), 10,
               what="the options dialog to close")


def next_box(app, driver, after=None):
    """The next message box of the checks; `after` is the box answered before, which must be
    gone first so that the same box is never taken twice."""
    if after is not None:
        driver.wait_gone(after["hwnd"], timeout=10)
    return app.wait_msgbox(timeout=15, title=ERROR_TITLE)


def no_more_boxes(app, driver, last, dialog):
    """The box answered last goes, and no other box of the checks follows it once the
    dialog's thread has caught up with the answer."""
    driver.wait_gone(last["hwnd"], timeout=10)
    driver.settle(dialog, 0.5)
    assert not app.msgboxes(title=ERROR_TITLE)


def display_tip(driver, clock):
    """The display's tooltip text, or None before the bar has made its tooltip (right after
    it shows)."""
    tools = driver.call("tooltip", clock, check=False) or []
    return next((t["text"] for t in tools if t["id"] == DISPLAY_TOOL), None)


def screen_colours(png, x, y, w, h):
    """The set of RGB colours in a rectangle of a screenshot (ImageMagick's text dump)."""
    out = subprocess.run(["convert", str(png), "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                          "-depth", "8", "txt:-"], check=True, capture_output=True,
                         text=True, timeout=slowness.deadline(30)).stdout
    colours = set()
    for line in out.splitlines()[1:]:
        # "0,0: (0,192,0)  #00C000  srgb(0,192,0)"
        rgb = line.split("(", 1)[1].split(")", 1)[0].split(",")[:3]
        colours.add(tuple(int(float(v)) for v in rgb))
    return colours


def test_the_options_button_opens_the_dialog_as_designed(ambrel, driver, xvfb):
    app, clock, sound = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    info = driver.info(dialog)
    assert info["title"] == TITLE
    left, top, right, bottom = info["client"]
    assert (right - left, bottom - top) == (366, 313)

    for control_id, (caption, x, y, w, h) in LAYOUT.items():
        assert control_id in found, f"control {control_id} is missing"
        c = found[control_id]
        expected = [px(x), px(y), px(x + w), px(y + h)]
        assert all(abs(a - b) <= 1 for a, b in zip(c["rect"], expected)), \
            (control_id, c["rect"], expected)
        if caption is not None:
            assert c["text"] == caption, control_id
        assert c["visible"], control_id
        assert c["enabled"] is (control_id != STOP), control_id
    # What the settings file holds: the sound, the alarm time, the z-order word.
    assert found[SOUND]["text"] == sound
    assert [found[i]["text"] for i in (HOUR, MINUTE, SECOND)] == ["10", "10", "10"]
    assert driver.message(found[ON_TOP]["hwnd"], BM_GETCHECK) == 1
    assert driver.message(found[ALARM_ON]["hwnd"], BM_GETCHECK) == 0
    # Colour index 10 selects the green swatch only.
    assert [driver.message(found[i]["hwnd"], BM_GETCHECK) for i in SWATCHES] == [1, 0, 0, 0]

    shot = xvfb.screenshot(ensure_dir(STATE / "screens") / "options_dialog.png")
    for control_id, colour in SWATCHES.items():
        x1, y1, x2, y2 = found[control_id]["rect"]
        near = screen_colours(shot, left + x1, top + y1, x2 - x1, y2 - y1)
        assert colour in near, (control_id, colour)
        others = set(SWATCHES.values()) - {colour}
        assert not near & others, (control_id, near & others)
    # The face of the dialog is not one of the swatch colours.
    face = screen_colours(shot, left + 2, top + bottom - top - 4, 4, 2)
    assert not face & set(SWATCHES.values())


def test_the_number_boxes_take_digits_only(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    box = found[HOUR]
    driver.settext(box["hwnd"], "")
    driver.click(box["hwnd"], 5, (box["rect"][3] - box["rect"][1]) // 2)
    driver.type("a-1 ５b2")
    # Input arrives in order: once the last digit is there, every character before it
    # has been filtered.
    text = wait_until(lambda: (t := driver.text(box["hwnd"])).endswith("2") and t, 5,
                      what="the typed digits")
    assert text == "12"


def test_the_checks_on_closing_show_their_messages_in_order(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    driver.settext(found[HOUR]["hwnd"], "")
    driver.settext(found[SOUND]["hwnd"], "")
    driver.press(dialog, OK)

    first = next_box(app, driver)
    assert first["text"] == EMPTY_BOX
    assert [b["text"] for b in first["buttons"]] == ["OK"]
    assert first["icon"] is True
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    second = next_box(app, driver, after=first)
    assert second["text"] == NO_SOUND
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    no_more_boxes(app, driver, second, dialog)
    assert driver.info(dialog)["visible"]

    # An hour of 24 passes the first check and fails the range.
    driver.settext(found[HOUR]["hwnd"], "24")
    driver.settext(found[SOUND]["hwnd"], "x.wav")
    driver.press(dialog, OK)
    box = next_box(app, driver)
    assert box["text"] == OUT_OF_RANGE
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    no_more_boxes(app, driver, box, dialog)
    assert driver.info(dialog)["visible"]


def test_a_number_too_large_offers_retry_and_cancel_ends_without_saving(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    before = app.read_settings()
    dialog, found = open_options(app, driver, clock)
    driver.settext(found[HOUR]["hwnd"], "99999")
    driver.settext(found[SOUND]["hwnd"], "")
    driver.press(dialog, OK)
    box = next_box(app, driver)
    assert box["text"] == CONVERSION
    assert [b["id"] for b in box["buttons"]] == [4, 2]  # IDRETRY, IDCANCEL
    assert box["icon"] is True
    # Retry goes on with the checks after the failed conversion: the sound file's comes next.
    driver.answer("Retry", title=ERROR_TITLE, exe=app.exe_name)
    box = next_box(app, driver, after=box)
    assert box["text"] == NO_SOUND
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    no_more_boxes(app, driver, box, dialog)
    assert driver.info(dialog)["visible"]

    driver.press(dialog, OK)
    box = next_box(app, driver)
    assert box["text"] == CONVERSION
    driver.answer("Cancel", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(30)
    assert app.read_settings() == before


def test_clearing_always_on_top_leaves_the_topmost_group_at_once(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    assert driver.info(clock)["topmost"] is True
    dialog, found = open_options(app, driver, clock)
    tick(driver, found[ON_TOP])
    close_dialog(app, driver, dialog)
    assert driver.info(clock)["topmost"] is False

    dialog, found = open_options(app, driver, clock)
    assert driver.message(found[ON_TOP]["hwnd"], BM_GETCHECK) == 0
    tick(driver, found[ON_TOP])
    close_dialog(app, driver, dialog)
    assert driver.info(clock)["topmost"] is True


def test_a_committed_alarm_and_messages_reach_the_settings_file(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    for control_id, value in ((HOUR, "7"), (MINUTE, "5"), (SECOND, "9"),
                              (ALARM_MESSAGE, "朝会です"), (TIMER_MESSAGE, "お茶の時間")):
        driver.settext(found[control_id]["hwnd"], value)
    tick(driver, found[ALARM_ON])
    close_dialog(app, driver, dialog)
    driver.close(clock)
    app.wait_exit(30)
    lines = app.settings_lines()
    assert len(lines) == 10
    assert lines[5] == "7,5,9"
    assert lines[6] == '"ALON"'
    assert lines[8:10] == ['"朝会です"', '"お茶の時間"']
    raw = app.read_settings()
    assert '"朝会です"\r\n"お茶の時間"\r\n'.encode("cp932") in raw


def test_the_countdown_start_and_stop_write_the_tooltip_piece(ambrel, driver, program_clock):
    # Started at 23:50:45 for 15 minutes: due at 0:05, the seconds dropped.
    app, clock, _ = start_clock(ambrel, program_clock, at=datetime(2026, 12, 9, 23, 50, 45))
    dialog, found = open_options(app, driver, clock)
    driver.settext(found[MINUTES]["hwnd"], "15")
    driver.press(dialog, START)
    wait_until(lambda: not driver.child(dialog, START)["enabled"], 5,
               what="スタート to be disabled")
    tip = wait_until(lambda: (t := display_tip(driver, clock)) != HINT and t, 5,
                     what="the countdown piece in the tooltip")
    assert tip == "【タイマー設定 15分 （ 0時 5分に通知）】" + HINT
    now = controls(driver, dialog)
    assert now[START]["enabled"] is False
    assert now[STOP]["enabled"] is True

    driver.press(dialog, STOP)
    wait_until(lambda: display_tip(driver, clock) == HINT, 5,
               what="the countdown piece to go")
    now = controls(driver, dialog)
    assert now[START]["enabled"] is True
    assert now[STOP]["enabled"] is False


HELP_SOURCE = REPO / "resources" / "help" / "ambrel_help.txt"
TOPIC_BLOCK_TEXT = 4096 - 12  # bytes of one topic block of AMBREL.HLP after its header


def help_paragraphs():
    """Every title, heading and paragraph of the help's source, in order."""
    lines = HELP_SOURCE.read_text(encoding="utf-8").splitlines()
    return [line.lstrip("#").strip() for line in lines
            if line.strip() and not line.startswith((";", "@"))]


def without_spaces(text):
    return "".join(text.split())


def test_help_shows_the_whole_text_in_the_help_viewer_across_its_topic_blocks(ambrel, driver,
                                                                             windows_version):
    windows_version("win7")
    paragraphs = help_paragraphs()
    # More text than one topic block holds: the viewer must read on into the next.
    assert len("".join(paragraphs).encode("cp932")) > TOPIC_BLOCK_TEXT
    app, clock, _ = start_clock(ambrel)
    assert (app.folder / "AMBREL.HLP").is_file(), "the help file was not built"
    dialog, _ = open_options(app, driver, clock)
    assert not driver.windows(cls="MS_WINHELP")
    driver.press(dialog, HELP)
    viewer = driver.wait_window(timeout=60, cls="MS_WINHELP", visible=True)["hwnd"]
    assert driver.info(viewer)["pid"] != driver.info(dialog)["pid"]

    def page():
        return next((c["text"] for c in driver.children(viewer)
                     if c["class"].startswith("RichEdit") and c["text"].startswith(paragraphs[0])),
                    None)

    # Every paragraph of the source in its order, the last ones from the second block.
    assert_in_order(wait_until(page, 30, what="the help's page"), paragraphs)
    assert not app.windows(cls=HELP_CLASS)


def assert_in_order(text, paragraphs):
    text, at = without_spaces(text), 0
    for paragraph in paragraphs:
        at = text.find(without_spaces(paragraph), at)
        assert at >= 0, paragraph


ES_MULTILINE, ES_READONLY, WS_VSCROLL, WS_THICKFRAME = 0x0004, 0x0800, 0x00200000, 0x00040000
ROLE_SYSTEM_TEXT = 42


def test_without_a_viewer_help_opens_a_window_of_its_own_with_the_whole_text(
        ambrel, driver, windows_version, close_box):
    windows_version("win10")
    app, clock, _ = start_clock(ambrel)
    dialog, _ = open_options(app, driver, clock)
    driver.press(dialog, HELP)
    window = app.wait_window(timeout=20, cls=HELP_CLASS, visible=True)
    help_window = window["hwnd"]
    title, *paragraphs = [line[len("@title "):] for line in
                          HELP_SOURCE.read_text(encoding="utf-8").splitlines()
                          if line.startswith("@title ")] + help_paragraphs()
    assert window["title"] == title
    assert window["style"] & WS_THICKFRAME, "the window cannot be resized"
    text = driver.child(help_window, HELP_TEXT)
    assert text["class"].lower() == "edit"
    assert text["style"] & (ES_MULTILINE | ES_READONLY | WS_VSCROLL) == \
        ES_MULTILINE | ES_READONLY | WS_VSCROLL
    assert_in_order(text["text"], paragraphs)
    assert "■" + paragraphs[0] in text["text"]  # the topic's title set off as a heading
    assert driver.call("accessible", text["hwnd"])[0]["role"] == ROLE_SYSTEM_TEXT
    driver.settle(help_window)
    assert not driver.windows(cls="MS_WINHELP")
    assert not driver.procs(exe="winhlp32.exe")

    # Asked again, the same window comes to the front.
    driver.call("activate", dialog)
    wait_until(lambda: driver.foreground()["hwnd"] == dialog, 10, what="the dialog in front")
    driver.press(dialog, HELP)
    wait_until(lambda: driver.foreground()["hwnd"] == help_window, 10,
               what="the help window in front")
    assert [w["hwnd"] for w in app.windows(cls=HELP_CLASS)] == [help_window]

    # Escape closes it, from its text; so does its close box.
    driver.click(text["hwnd"], 20, 20)
    driver.key(VK_ESCAPE)
    driver.wait_gone(help_window, timeout=10)
    driver.press(dialog, HELP)
    help_window = app.wait_window(timeout=20, cls=HELP_CLASS, visible=True)["hwnd"]
    close_box(help_window)
    driver.wait_gone(help_window, timeout=10)
    assert app.windows(cls=OPTIONS, visible=True), "the dialog went with the help"


VK_RETURN, VK_ESCAPE, VK_END = 0x0D, 0x1B, 0x23
EM_GETSEL = 0x00B0
BS_TYPEMASK, BS_DEFPUSHBUTTON = 0x0F, 0x01


def focus_at_end(driver, box):
    """Clicks into the box and puts the caret at its end; returns once the box has the focus
    and the caret stands there. The click and the key wait in the program's input queue, behind
    any posted message (the input method's composition, say) that would otherwise be handled
    first and go to the box that had the focus before."""
    hwnd = box["hwnd"]
    driver.click(hwnd, 5, (box["rect"][3] - box["rect"][1]) // 2)
    driver.key(VK_END)
    end = len(driver.text(hwnd))
    wait_until(lambda: driver.info(hwnd)["focus"] == hwnd and
               driver.message(hwnd, EM_GETSEL) == end | end << 16, 10,
               what="the focus and the caret at the end of the box")


def typed_after(app, driver, dialog, box, text):
    """Types `text` and waits until the box ends with it, or the dialog has gone: keys arrive
    in order, so every key before has then been handled."""
    driver.type(text)
    wait_until(lambda: not app.windows(cls=OPTIONS, visible=True) or
               driver.text(box["hwnd"]).endswith(text), 10, what=f"{text!r} in the box")
    assert driver.info(dialog)["visible"], "the dialog closed"
    return driver.text(box["hwnd"])


def test_return_and_escape_are_dropped_in_the_number_boxes_and_do_nothing_elsewhere(
        ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    # No default button, so nothing answers Return on its behalf.
    assert found[OK]["style"] & BS_TYPEMASK != BS_DEFPUSHBUTTON

    for box_id in (HOUR, MINUTE, SECOND, MINUTES):
        box = found[box_id]
        driver.settext(box["hwnd"], "1")
        focus_at_end(driver, box)
        driver.key(VK_RETURN, VK_ESCAPE)
        assert typed_after(app, driver, dialog, box, "2") == "12", box_id

    # Elsewhere they neither close the dialog nor commit: the cleared "常に手前に表示" would
    # take the clock out of the topmost group at once.
    tick(driver, found[ON_TOP])
    message = found[ALARM_MESSAGE]
    focus_at_end(driver, message)
    driver.key(VK_ESCAPE, VK_RETURN)
    assert typed_after(app, driver, dialog, message, "x") == "x"
    assert driver.info(clock)["topmost"] is True


def test_the_input_method_composes_in_the_message_boxes_but_not_in_the_number_boxes(
        ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    message = found[ALARM_MESSAGE]
    focus_at_end(driver, message)
    composed = driver.one("compose", message["hwnd"], "朝会")
    assert composed == {"context": True, "completed": True}
    wait_until(lambda: driver.text(message["hwnd"]) == "朝会", 10,
               what="the composed text in the message box")

    for box_id in (HOUR, MINUTE, SECOND, MINUTES):
        box = found[box_id]
        driver.settext(box["hwnd"], "")
        focus_at_end(driver, box)
        # While it is being converted the edit control shows the composition in the box
        # itself, past the digit filter: full-width digits would stand in the box.
        composed = driver.one("compose", box["hwnd"], "１２", "--pending")
        assert typed_after(app, driver, dialog, box, "3") == "3", box_id
        assert composed["context"] is False, box_id


def test_the_close_box_checks_and_commits_as_ok_does(ambrel, driver, close_box):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    driver.settext(found[HOUR]["hwnd"], "")
    close_box(dialog)
    box = next_box(app, driver)
    assert box["text"] == EMPTY_BOX
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    no_more_boxes(app, driver, box, dialog)
    assert driver.info(dialog)["visible"]

    for control_id, value in ((HOUR, "7"), (MINUTE, "5"), (SECOND, "9"),
                              (ALARM_MESSAGE, "朝会です")):
        driver.settext(found[control_id]["hwnd"], value)
    tick(driver, found[ALARM_ON])
    close_box(dialog)
    wait_until(lambda: not app.windows(cls=OPTIONS, visible=True), 10,
               what="the options dialog to close")
    driver.close(clock)
    app.wait_exit(30)
    lines = app.settings_lines()
    assert lines[5:7] == ["7,5,9", '"ALON"']
    assert lines[8] == '"朝会です"'


def test_browse_opens_the_file_dialog_and_cancelling_it_keeps_the_path(ambrel, driver):
    app, clock, sound = start_clock(ambrel)
    dialog, _ = open_options(app, driver, clock)
    driver.press(dialog, BROWSE)
    chooser = app.wait_window(timeout=60, title=CHOOSER_TITLE, visible=True)["hwnd"]
    driver.close(chooser)  # the dialog's Cancel
    wait_until(lambda: not app.windows(title=CHOOSER_TITLE, visible=True), 20,
               what="the file dialog to close")
    assert driver.text(hwnd_of(driver, dialog, SOUND)) == sound
    assert app.windows(cls=OPTIONS, visible=True)


VK_TAB, VK_SPACE = 0x09, 0x20
TEST = C.TEST
# Where Tab goes from ＯＫ: the layout's tab order without the labels and group boxes, without
# the disabled ストップ, and into the colours at the selected swatch only.
TAB_ORDER = [HELP, ON_TOP, ALARM_ON, C.ALARM_HOUR_BAR, C.ALARM_MINUTE_BAR, C.ALARM_SECOND_BAR, HOUR,
             MINUTE, SECOND, C.COUNTDOWN_BAR, MINUTES, START, C.COLOR_GREEN, SOUND, BROWSE, TEST,
             ALARM_MESSAGE, TIMER_MESSAGE, OK]


def test_tab_walks_the_tab_order_and_the_focus_follows_start_and_stop(ambrel, driver):
    app, clock, _ = start_clock(ambrel)
    dialog, found = open_options(app, driver, clock)
    ids = {c["hwnd"]: i for i, c in found.items()}

    def focus():
        return ids.get(driver.info(dialog)["focus"])

    wait_until(lambda: focus() == OK, 5, what="the focus on ＯＫ")
    walked = []
    for _ in TAB_ORDER:
        before = focus()
        driver.key(VK_TAB)
        walked.append(wait_until(lambda: (f := focus()) != before and f, 5,
                                 what="the focus to move on"))
    assert walked == TAB_ORDER

    # The button that is disabled hands the focus to its partner, so the keyboard stays alive.
    driver.click(found[START]["hwnd"], 10, 5)
    wait_until(lambda: focus() == STOP, 5, what="the focus to pass to ストップ")
    # Return presses no button that the mouse or the hand-over focused; the space bar does.
    driver.key(VK_RETURN, VK_SPACE)
    wait_until(lambda: focus() == START, 5, what="the focus to pass back to スタート")
    assert driver.child(dialog, STOP)["enabled"] is False

    # Away and back: the dialog gives the focus back to the control that had it.
    driver.call("activate", clock)
    wait_until(lambda: driver.info(dialog)["focus"] == clock, 5, what="the clock to take the focus")
    driver.call("activate", dialog)
    wait_until(lambda: focus() == START, 5, what="the focus back on スタート")


def test_a_countdown_falling_due_behind_the_notice_hands_the_focus_to_start(ambrel, driver,
                                                                           program_clock):
    app, clock, _ = start_clock(ambrel, program_clock, at=datetime(2026, 12, 9, 12, 0, 59))
    dialog, found = open_options(app, driver, clock)
    ids = {c["hwnd"]: i for i, c in found.items()}
    # A countdown of no minutes falls due at the next tick, which brings up the notice: the
    # dialog is in the background when its buttons change.
    driver.settext(found[MINUTES]["hwnd"], "0")
    driver.click(found[START]["hwnd"], 10, 5)
    notice = app.wait_window(timeout=20, cls=NOTICE_CLASS, visible=True)["hwnd"]
    wait_until(lambda: driver.child(dialog, START)["enabled"], 5, what="スタート to be enabled")
    driver.close(notice)
    driver.wait_gone(notice)
    driver.call("activate", dialog)
    wait_until(lambda: ids.get(driver.info(dialog)["focus"]) == START, 5,
               what="the focus on スタート")
