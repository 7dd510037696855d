"""The clock bar as the user meets it: its picture on the screen, the two display formats and
their switch, the display's tooltip, dragging, the exit button, the tick's failure report and
the executable's version strings."""
import datetime

from harness import audio
from harness.headers import defines
from harness.paths import windows_path
from harness.proc import wait_until

from test_startup import CLOCK, ERROR_TITLE, settings

WEEKDAYS = "月火水木金土日"  # datetime.weekday(): Monday is 0
HINT = "ダブルクリックすると表示形式が切り替わります"
EXIT_TITLE = "Ambrel V2 の終了"
GREY, BLACK, FACE = 0x808080, 0x000000, 0x404040
GREEN, MAGENTA = 0x00FF00, 0xFF00FF


def start_bar(ambrel, color="10", alarm="10,10,10", alarm_state='"ALOFF"', mode='"D"',
              left="1500", top="1500", program_clock=None, at=None):
    """The clock at (100, 100) pixels with a real WAV file, so that no warning comes first;
    on a clock the suite sets to `at` (frozen) when given."""
    app = ambrel(run=False)
    tone = audio.write_tone(app.folder / "tone.wav")
    lines = settings(left=left, top=top, sound=f'"{windows_path(tone)}"')
    lines[0], lines[5], lines[6], lines[7] = color, alarm, alarm_state, mode
    app.write_settings(lines)
    if at is None:
        app.start()
    else:
        program_clock(app, at).start_program()
    return app, app.wait_window(cls=CLOCK, visible=True)


def labels(driver, hwnd):
    texts = {c["id"]: c["text"] for c in driver.children(hwnd)}
    return texts[1], texts[4]


def wait_labels(driver, hwnd, accept, timeout=10.0):
    """The two texts once `accept(label1, label4)` holds for them."""
    return wait_until(lambda: (lambda t: t if accept(*t) else None)(labels(driver, hwnd)),
                      timeout, what="the clock's texts")


def date_texts(now):
    return f"{now.month}/{now.day}({WEEKDAYS[now.weekday()]})", f"{now:%H:%M}"


def time_texts(now):
    return f"{now:%H} : {now:%M}", f"{now:%S}sec"


def screen_pixels(driver, hwnd):
    """The bar's client area as it is on the screen: rows of 0xRRGGBB integers."""
    rows = driver.pixels(hwnd, dump=True)["rows"]
    return [[int(row[i:i + 6], 16) for i in range(0, len(row), 6)] for row in rows]


def count_colour(px, colour, x0, x1, y0, y1):
    return sum(px[y][x] == colour for y in range(y0, y1 + 1) for x in range(x0, x1 + 1))


def held_still(driver, hwnd, enough, what):
    """The window's pixels once `enough(pixels)` holds and the screen holds still: two captures
    alike, since one taken while wine copies a repaint to the display may show a part of it."""
    previous = [None]

    def settled():
        px = screen_pixels(driver, hwnd)
        still, previous[0] = px == previous[0], px
        return px if still and enough(px) else None
    return wait_until(settled, 10, what=what)


def painted_pixels(driver, hwnd, ink):
    """The bar's pixels once the first tick has recoloured its texts (before it the main text
    is cyan) and the screen holds still."""
    return held_still(driver, hwnd, lambda px: count_colour(px, ink, 18, 121, 3, 15) > 20,
                      "the texts in the palette colour, held still")


def test_the_bar_on_the_screen_shows_its_edges_panels_buttons_and_coloured_text(ambrel, driver,
                                                                               program_clock):
    for color, ink, other in (("10", GREEN, MAGENTA), ("13", MAGENTA, GREEN)):
        # A clock standing still: no new minute repaints the texts while they are looked at.
        app, clock = start_bar(ambrel, color=color, program_clock=program_clock,
                               at=datetime.datetime(2026, 12, 9, 21, 26, 0))
        assert clock["rect"] == [100, 100, 240, 118]
        px = painted_pixels(driver, clock["hwnd"], ink)
        assert len(px) == 18 and all(len(row) == 140 for row in px)
        # Raised edges: two grey lines at the top and left, two black ones at the bottom
        # and right (the image buttons at the ends carry them on).
        for x in range(16, 124):
            assert px[0][x] == px[1][x] == GREY and px[16][x] == px[17][x] == BLACK, x
        for y in range(2, 16):
            assert px[y][0] == px[y][1] == GREY and px[y][138] == px[y][139] == BLACK, y
        # The dividers: black at x 15, grey at x 124.
        for y in range(2, 16):
            assert px[y][15] == BLACK and px[y][124] == GREY, y
        # The face beside the dividers and between the panels (the second text, centred
        # on its wider label, may reach past its panel's right edge).
        for x in (16, 17, 81, 82):
            assert all(px[y][x] == FACE for y in range(2, 16)), (x, [hex(px[y][x]) for y in
                                                                     range(2, 16)])
        assert px[2][122] == px[2][123] == px[15][122] == FACE
        # The sunken panels: black top edges, grey right and bottom edges; the first one's
        # black left edge (the second text may reach over the second one's).
        for x in list(range(18, 80)) + list(range(83, 121)):
            assert px[3][x] == BLACK and px[15][x + 1] == GREY, x
        for y in range(4, 15):
            assert px[y][18] == BLACK and px[y][80] == GREY, y
        # The raised button faces at both ends.
        assert count_colour(px, FACE, 2, 13, 2, 15) > 40
        assert count_colour(px, FACE, 126, 137, 2, 15) > 40
        # The texts in the palette colour inside the panels, none on the edges, and no other
        # ink there (the options glyph at the left end is green whatever the texts are).
        assert count_colour(px, ink, 19, 79, 4, 15) > 20
        assert count_colour(px, ink, 84, 120, 4, 15) > 10
        assert count_colour(px, ink, 16, 123, 0, 17) == count_colour(px, ink, 16, 123, 3, 15)
        assert count_colour(px, other, 16, 123, 0, 17) == 0
        app.kill()


def test_double_clicks_on_the_display_switch_between_date_and_time(ambrel, driver, xvfb,
                                                                    program_clock):
    now = datetime.datetime(2026, 12, 28, 9, 5, 7)  # a Monday
    app, clock = start_bar(ambrel, program_clock=program_clock, at=now)
    hwnd = clock["hwnd"]

    def shows(expected_of):
        return wait_labels(driver, hwnd, lambda *texts: texts == expected_of(now))

    shows(date_texts)
    xvfb.pointer_on_window(150, 109, "Ambrel")
    xvfb.xdotool("mousemove", 150, 109, "click", "--repeat", 2, "--delay", 80, 1)
    shows(time_texts)
    assert driver.info(hwnd)["rect"] == [100, 100, 240, 118]
    xvfb.xdotool("mousemove", 210, 105, "click", "--repeat", 2, "--delay", 80, 1)
    shows(date_texts)
    assert driver.info(hwnd)["rect"] == [100, 100, 240, 118]


def test_the_display_tooltip_names_an_armed_alarm_before_the_hint(ambrel, driver):
    def tools(app, clock):
        # Nothing until the bar has made its tooltip, right after it shows.
        return {t["id"]: t["text"] for t in driver.call("tooltip", clock["hwnd"], check=False)
                or []}

    app, clock = start_bar(ambrel)
    # The tooltip is made right after the bar shows, before its first tick: three tools.
    found = wait_until(lambda: (lambda t: t if len(t) == 3 else None)(tools(app, clock)), 10,
                       what="the bar's tooltip")
    assert found[2] == HINT
    assert sorted(found.values()) == sorted([HINT, "オプションダイアログの表示", EXIT_TITLE])
    driver.settle(clock["hwnd"], 0.5)  # a few ticks: the text they build is the same
    assert tools(app, clock)[2] == HINT
    app.kill()

    app, clock = start_bar(ambrel, alarm="7,5,0", alarm_state='"ALON"')
    armed = "【アラーム設定 7時 5分 0秒】" + HINT
    assert wait_until(lambda: tools(app, clock).get(2) == armed, 10, what="the alarm's tooltip")


def drag(xvfb, x, y, dx, dy, button):
    xvfb.drag(x, y, dx, dy, button, name="Ambrel")


def test_dragging_moves_the_bar_with_the_mouse_and_the_exit_button_saves_where_it_is(
        ambrel, driver, xvfb):
    app, clock = start_bar(ambrel)
    hwnd = clock["hwnd"]
    drag(xvfb, 130, 108, 57, 31, 1)
    wait_until(lambda: driver.info(hwnd)["rect"] == [157, 131, 297, 149], 5,
               what="the left-button drag")
    drag(xvfb, 180, 140, -43, 75, 3)
    wait_until(lambda: driver.info(hwnd)["rect"] == [114, 206, 254, 224], 5,
               what="the right-button drag")

    # The exit button asks on its release; Cancel leaves everything as it was.
    xvfb.pointer_on_window(114 + 131, 206 + 9, "Ambrel")
    xvfb.xdotool("mousemove", 114 + 131, 206 + 9, "click", 1)
    box = app.wait_msgbox(title=EXIT_TITLE)
    assert box["text"] == "Ambrel V2 を終了します"
    assert sorted(b["id"] for b in box["buttons"]) == [1, 2]  # IDOK, IDCANCEL
    assert [b["id"] for b in box["buttons"] if b["default"]] == [1]
    assert box["icon"] is True
    driver.answer("Cancel", title=EXIT_TITLE, exe=app.exe_name)
    driver.wait_gone(box["hwnd"], timeout=10)
    driver.settle(hwnd, 0.5)
    assert app.running()
    assert not app.msgboxes()
    assert driver.info(hwnd)["rect"] == [114, 206, 254, 224]

    xvfb.pointer_on_window(114 + 131, 206 + 9, "Ambrel")
    xvfb.xdotool("mousemove", 114 + 131, 206 + 9, "click", 1)
    app.wait_msgbox(title=EXIT_TITLE)
    driver.answer("OK", title=EXIT_TITLE, exe=app.exe_name)
    app.wait_exit(60)
    assert app.settings_lines()[1:3] == [str(114 * 15), str(206 * 15)]


def test_a_colour_index_past_the_palette_ends_with_one_error_box(ambrel, driver):
    app, clock = start_bar(ambrel, color="16")
    before = app.read_settings()
    box = app.wait_msgbox(title=ERROR_TITLE)
    assert box["text"] == "エラー ( 5) が発生しました、終了します。"
    assert box["icon"] is False
    assert [b["id"] for b in box["buttons"]] == [1]
    driver.settle(clock["hwnd"], 1.0)  # ten more ticks' time behind the box
    assert len(app.msgboxes()) == 1
    driver.answer("OK", title=ERROR_TITLE, exe=app.exe_name)
    app.wait_exit(60)
    assert app.read_settings() == before


def test_the_executable_carries_its_japanese_version_strings(ambrel, driver):
    app = ambrel(run=False)
    info = driver.version(app.windows_path("ambrel.exe"))
    assert info["translation"] == ["041104B0"]
    table = info["strings"]["041104B0"]
    version = defines("resources/version.h")
    assert table["FileVersion"] == table["ProductVersion"] == version["AMBREL_VERSION_TEXT"]
    assert table["ProductName"] == version["AMBREL_PRODUCT_NAME"]
    assert table["FileDescription"] == table["Comments"] == version["AMBREL_DESCRIPTION"]
    assert table["InternalName"] == version["AMBREL_INTERNAL_NAME"]
    assert table["OriginalFilename"] == version["AMBREL_ORIGINAL_FILENAME"]
    major, minor, patch, build = (version[f"AMBREL_VERSION_{part}"]
                                  for part in ("MAJOR", "MINOR", "PATCH", "BUILD"))
    assert info["file_version"] == info["product_version"] == f"{major}.{minor}.{patch}.{build}"
