"""The clock bar at 120 and 144 dpi: the window keeps the layout's size in inches, and the
bitmaps' edge lines each keep one width along their length and among themselves, rather than
the one- or two-pixel mix of plain nearest-neighbour scaling. A bar told that it has come to a
monitor of another scale is laid out as one started at that dpi, and saves its place in twips of
the system's dpi as before.

Wine takes the screen's dpi from LogPixels under HKCU\\Control Panel\\Desktop when a process
starts. The suite's prefix is shared, so the value is set only while this module runs and put
back afterwards; the clock reads the dpi at its start, so each start sees the value of then."""
import subprocess
from datetime import datetime

import pytest

from harness import slowness
from harness.ids import OPTIONS as C
from harness.ids import OPTIONS_BUTTON_TWIPS, OPTIONS_CLASS
from harness.paths import STATE, ensure_dir
from harness.proc import wait_until

from test_clock_bar import (BLACK, FACE, GREEN, GREY, count_colour, held_still, screen_pixels,
                            start_bar)
from test_startup import CLOCK

DESKTOP = r"HKCU\Control Panel\Desktop"


def twips(value, dpi):
    return (value * dpi + 720) // 1440


def reg(wine, *args):
    return subprocess.run(["wine", "reg", *args], env=wine.env, capture_output=True,
                          encoding="cp932", errors="replace", timeout=slowness.deadline(120),
                          stdin=subprocess.DEVNULL)


def log_pixels(wine):
    """The value now set, or None."""
    for line in reg(wine, "query", DESKTOP, "/v", "LogPixels").stdout.splitlines():
        if line.split()[:2] == ["LogPixels", "REG_DWORD"]:
            return int(line.split()[2], 16)
    return None


@pytest.fixture(scope="module")
def set_dpi(wine):
    before = log_pixels(wine)

    def set_to(dpi):
        r = reg(wine, "add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        assert r.returncode == 0 and log_pixels(wine) == dpi, r.stdout

    yield set_to
    if before is None:
        reg(wine, "delete", DESKTOP, "/v", "LogPixels", "/f")
    else:
        set_to(before)
    assert log_pixels(wine) == before


def text_height(px):
    """Rows from the top of the texts' ink (the palette's green) to its bottom."""
    rows = [y for y, row in enumerate(px) if GREEN in row]
    return rows[-1] - rows[0] + 1


def test_a_bar_told_of_a_new_dpi_is_laid_out_as_one_started_at_it_and_keeps_its_twips(
        set_dpi, ambrel, driver, xvfb, program_clock):
    # The same moment for both bars, so that they show the same texts.
    at = datetime(2026, 12, 28, 9, 5, 7)
    xvfb.xdotool("mousemove", 1020, 764)  # no tooltip over either
    set_dpi(144)
    app, clock = start_bar(ambrel, program_clock=program_clock, at=at)
    started = held_still(driver, clock["hwnd"],
                         lambda p: count_colour(p, GREEN, 0, 209, 0, 26) > 100,
                         "the texts at 144 dpi")
    rect = clock["rect"]
    app.kill()

    set_dpi(96)
    app, clock = start_bar(ambrel, program_clock=program_clock, at=at)
    before = held_still(driver, clock["hwnd"],
                        lambda p: count_colour(p, GREEN, 0, 139, 0, 17) > 50,
                        "the texts at 96 dpi")
    driver.dpi_change(clock["hwnd"], 144, rect)
    wait_until(lambda: driver.info(clock["hwnd"])["rect"] == rect, 10,
               what=f"the bar at the suggested {rect}")
    # Bitmaps, texts and their places as the bar started at 144 dpi has them.
    after = wait_until(lambda: (lambda p: p if p == started else None)(
        screen_pixels(driver, clock["hwnd"])), 10, what="the bar drawn as at 144 dpi")
    # 1.5 times as tall, but for each scale's rounding of the ink's edges to whole pixels (11
    # rows at 96 dpi, 18 at 144 with wine's fonts).
    assert abs(text_height(after) - 1.5 * text_height(before)) <= 2

    # Saved while the bar has a scale other than the system's, its place is twips of the
    # system's dpi, and the next start puts it on the same pixel.
    driver.close(clock["hwnd"])
    app.wait_exit(60)
    assert app.settings_lines()[1:3] == ["2250", "2250"]
    app.start()
    assert app.wait_window(cls=CLOCK, visible=True)["rect"] == [150, 150, 290, 168]
    app.kill()


def rows_of(px, x0, x1, y0, y1):
    """The set of colours in the box (inclusive)."""
    return {px[y][x] for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


@pytest.mark.parametrize("dpi", [120, 144])
def test_the_bar_scales_with_uniform_edges_and_its_text_inside_the_panels(
        dpi, set_dpi, ambrel, driver, xvfb):
    set_dpi(dpi)
    app, clock = start_bar(ambrel)
    left, top = twips(1500, dpi), twips(1500, dpi)
    width, height = twips(2100, dpi), twips(270, dpi)
    assert clock["rect"] == [left, top, left + width, top + height]
    px = wait_until(lambda: (lambda p: p if count_colour(p, GREEN, 25, width - 25, 4, height - 4)
                             > 30 else None)(screen_pixels(driver, clock["hwnd"])),
                    10, what="text in the palette colour")
    shot = xvfb.screenshot(ensure_dir(STATE / "high-dpi") / f"screen-{dpi}.png")
    subprocess.run(["convert", str(shot), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                    "-scale", "800%", str(shot.with_name(f"bar-{dpi}.png"))], check=True)
    assert len(px) == height and all(len(row) == width for row in px)

    # Every edge line of the 96-dpi bitmaps is `e` pixels wide, the whole part of the scale.
    e = dpi // 96
    W, H = width - 1, height - 1
    b2, b1 = twips(240, dpi), twips(1860, dpi)  # the image buttons' inner edges
    # The raised edges: two lines of grey at the top and left, of black at the bottom and right.
    assert rows_of(px, b2, b1 - 1, 0, 2 * e - 1) == {GREY}
    assert GREY not in rows_of(px, b2, b1 - 1, 2 * e, 2 * e)
    # (The grey divider at the exit button reaches into the bottom edge's first line.)
    assert rows_of(px, 2 * e, b1 - 1, H - 2 * e + 1, H) == rows_of(px, b1 + e, W, H - 2 * e + 1,
                                                                    H) == {BLACK}
    assert BLACK not in rows_of(px, b2, b1 - 1, H - 2 * e, H - 2 * e)
    assert rows_of(px, 0, 2 * e - 1, 2 * e, H - 2 * e) == {GREY}
    assert GREY not in rows_of(px, 2 * e, 2 * e, 2 * e, H - 2 * e)
    assert rows_of(px, W - 2 * e + 1, W, 2 * e, H) == {BLACK}
    assert BLACK not in rows_of(px, W - 2 * e, W - 2 * e, 2 * e, H - 2 * e)
    # The buttons' inner edges, two lines each, with the face beside them.
    assert rows_of(px, b2 - 2 * e, b2 - 1, 2 * e, H - 2 * e) == {BLACK}
    assert BLACK not in rows_of(px, b2 - 2 * e - 1, b2 - 2 * e - 1, 2 * e, H - 2 * e)
    assert rows_of(px, b1, b1 + 2 * e - 1, 2 * e, H - 2 * e) == {GREY}
    assert GREY not in rows_of(px, b1 + 2 * e, b1 + 2 * e, 2 * e, H - 2 * e)
    assert rows_of(px, b2, b2, 2 * e, H - 2 * e) == rows_of(px, b1 - 1, b1 - 1, 2 * e,
                                                            H - 2 * e) == {FACE}
    # The first panel's sunken edges: black at the top and left, grey at the bottom, each
    # `e` wide, whatever the text below them.
    panel = b2 + 2 * e
    assert rows_of(px, panel, panel + 40, 3 * e, 4 * e - 1) == {BLACK}
    assert BLACK not in rows_of(px, panel + e, panel + 40, 4 * e, 4 * e)
    assert rows_of(px, panel, panel + 40, H - 3 * e + 1, H - 2 * e) == {GREY}
    assert GREY not in rows_of(px, panel + e, panel + 40, H - 3 * e, H - 3 * e)
    assert rows_of(px, panel, panel + e - 1, 3 * e, H - 3 * e) == {BLACK}
    assert FACE in rows_of(px, panel + e, panel + e, 4 * e, H - 3 * e)
    # The texts in the palette colour, only inside the panels.
    ink = count_colour(px, GREEN, b2, b1 - 1, 0, H)
    assert ink > 30 * e * e
    assert ink == count_colour(px, GREEN, panel + e, b1 - 1, 4 * e, H - 3 * e)
    app.kill()


# The options dialog's labels at every scale: (point size of their font, one-line captions).
LABEL_POINTS = {C.ALARM_TIME_LABEL: 9.75, C.HOUR_UNIT: 9.75, C.MINUTE_UNIT: 9.75,
                C.SECOND_UNIT: 9.75, C.COUNTDOWN_LABEL: 9.75, C.COUNTDOWN_UNIT: 9.75,
                C.SOUND_FILE_LABEL: 9.75, C.ALARM_MESSAGE_LABEL: 9.0,
                C.COUNTDOWN_MESSAGE_LABEL: 9.0}
WAV_LABEL = C.SOUND_FILE_LABEL  # "WAVファイルの指定", whose text is as wide as the label itself


def ink_box(px):
    """Rows and columns (first, last) of what is not the label's background, its most common
    colour; None for a blank label. Pixels that are None (covered by another control) are
    left out."""
    counts = {}
    for row in px:
        for c in row:
            if c is not None:
                counts[c] = counts.get(c, 0) + 1
    background = max(counts, key=counts.get)
    ink = [[c is not None and c != background for c in row] for row in px]
    rows = [y for y, row in enumerate(ink) if any(row)]
    cols = [x for x in range(len(px[0])) if any(row[x] for row in ink)]
    return (rows[0], rows[-1], cols[0], cols[-1]) if rows else None


BS_TYPEMASK, BS_GROUPBOX = 0x0F, 0x07


def uncovered(px, label, siblings):
    """The label's pixels with those that another control overlaps (the layout lets rows of
    controls touch, and at high dpi rounding may make them overlap by a pixel) set to None;
    group boxes, which hold the label, cover nothing."""
    left, top = label["rect"][0], label["rect"][1]
    for other in siblings:
        if other["hwnd"] == label["hwnd"] or not other["visible"]:
            continue
        if other["class"].lower() == "button" and other["style"] & BS_TYPEMASK == BS_GROUPBOX:
            continue
        l, t, r, b = other["rect"]
        for y in range(max(t - top, 0), min(b - top, len(px))):
            for x in range(max(l - left, 0), min(r - left, len(px[0]))):
                px[y][x] = None
    return px


def painted_text(driver, label, siblings):
    """The label's pixels once it shows text and two readings in a row agree: under emulation
    a dialog is painted slowly enough to be read half done."""
    readings = []

    def settled():
        readings.append(uncovered(screen_pixels(driver, label["hwnd"]), label, siblings))
        last = readings[-1]
        return last if len(readings) > 1 and last == readings[-2] and ink_box(last) else None
    return wait_until(settled, 20, what=f"the text of {label['text']}")


@pytest.mark.parametrize("dpi", [96, 120, 144, 192])
def test_every_label_of_the_options_dialog_keeps_its_caption_whole_on_one_line(
        dpi, set_dpi, ambrel, driver, xvfb):
    set_dpi(dpi)
    app, clock = start_bar(ambrel)
    driver.click(clock["hwnd"], *(twips(t, dpi) for t in OPTIONS_BUTTON_TWIPS))
    dialog = app.wait_window(timeout=20, cls=OPTIONS_CLASS, visible=True)["hwnd"]
    # The pointer rests on the options button, whose tooltip would show over the dialog after
    # a moment: it leaves the bar, and the labels are read once no tip is on the screen.
    xvfb.xdotool("mousemove", 1020, 764)
    wait_until(lambda: not app.windows(cls="tooltips_class32", visible=True), 10,
               what="no tooltip on the screen")
    controls = driver.children(dialog)
    labels = {c["id"]: c for c in controls if c["id"] in LABEL_POINTS}
    assert set(labels) == set(LABEL_POINTS)
    xvfb.screenshot(ensure_dir(STATE / "high-dpi") / f"options-{dpi}.png")
    for label_id, points in LABEL_POINTS.items():
        label = labels[label_id]
        em = points * dpi / 72
        px = painted_text(driver, label, controls)
        top, bottom, left, right = ink_box(px)
        # One line: a second one would add at least its top rows below the first.
        assert bottom - top < em + 2, (label["text"], dpi, top, bottom, em)
        if label_id == WAV_LABEL:
            # Its last character is there: the text reaches the label's right end.
            assert right >= len(px[0]) - em / 2, (label["text"], dpi, right, len(px[0]), em)
    app.kill()
