"""The clock on a desktop of two monitors of unequal size: a 1024 x 768 primary and a 1024 x 600
monitor right of it, their tops level. The corner below the smaller monitor lies in the
rectangle around both, yet on neither.

The rest of the suite has one monitor, and wine reads the monitors only when a prefix's desktop
starts; so this module replaces the session's display, wine and driver with its own for its
tests: a display of 2048 x 768 split into the two monitors (RandR 1.5 monitors, which the
server also reports through Xinerama), and a prefix of its own whose X11 driver reads them
through Xinerama (UseXRandR "N": through XRandR wine would see the one output of the screen)."""
import pytest

from harness.driver import Driver
from harness.paths import DRIVER_EXE, require_file
from harness.wine import Wine
from harness.xvfb import Xvfb
from test_startup import CLOCK, start_quietly

PRIMARY = (1024, 768, 0, 0)  # width, height, left, top in pixels
RIGHT = (1024, 600, 1024, 0)


@pytest.fixture(scope="module")
def xvfb(state_dir):
    server = Xvfb(state_dir, size="2048x768x24", name="xvfb-monitors").start()
    try:
        server.split_into_monitors(PRIMARY, RIGHT)
        yield server
    finally:
        server.stop()


@pytest.fixture(scope="module")
def wine(state_dir, xvfb, pulse):
    w = Wine(state_dir / "wineprefix-monitors", state_dir, xvfb.display, pulse.client_env(),
             x11_settings={"UseXRandR": "N"})
    try:
        w.start()
        yield w
    finally:
        w.stop()


@pytest.fixture(scope="module")
def driver(wine, state_dir):
    d = Driver(wine, require_file(DRIVER_EXE, "ambrel-e2e-driver.exe"),
               state_dir / "driver-monitors.log").start()
    try:
        monitors = d.dpi()["monitor_rects"]
        assert monitors == [[x, y, x + w, y + h] for w, h, x, y in (PRIMARY, RIGHT)], monitors
        yield d
    finally:
        d.stop()


def test_a_clock_saved_on_the_right_hand_monitor_starts_and_is_saved_there(ambrel, driver):
    app = start_quietly(ambrel, left="22500", top="4500")
    clock = app.wait_window(cls=CLOCK, visible=True)
    assert clock["rect"][:2] == [1500, 300]
    driver.close(clock["hwnd"])
    app.wait_exit(60)
    assert app.settings_lines()[1:3] == ["22500", "4500"]


def test_a_clock_saved_below_the_smaller_monitor_on_neither_comes_back(ambrel):
    # 476 pixels right of the primary and 100 below the right-hand monitor: beyond the margins
    # of both (2000 twips right, 600 below), so the bar is put back at (10, 10) twips.
    app = start_quietly(ambrel, left="22500", top="10500")
    clock = app.wait_window(cls=CLOCK, visible=True)
    assert clock["rect"][:2] == [1, 1]
