"""Fixtures of the end-to-end suite.

Session (started once, stopped at the end, in this order): `xvfb` (a virtual display),
`pulse` (a sound server with a null sink), `wine` (the suite's prefix with its persistent
wineserver), `driver` (ambrel-e2e-driver.exe in serve mode).
Per test: `ambrel` (a factory: the release zip unpacked into a fresh folder in the prefix's
drive C:, a prepared AMBREL.SET, started under wine), `sample` (the same for the harness's own
sample program), `tone` and `record` (test sounds and recordings of what wine plays).

Nothing here skips: a missing tool or executable is an error of the run.
"""
import re
import shutil
import time

import pytest
from _pytest.runner import runtestprotocol

from harness import audio, slowness
from harness.app import App, make_folder
from harness.clock import ProgramClock
from harness.driver import Driver
from harness.lock import SessionLock
from harness.package import unpack_release
from harness.paths import (DRIVER_EXE, SAMPLE_EXE, STATE, ensure_dir, require_file,
                           require_tools)
from harness.proc import set_witness
from harness.pulse import PulseServer
from harness.wine import Wine
from harness.xvfb import Xvfb

TIMINGS = {}


def _timed(name, start):
    TIMINGS[name] = time.monotonic() - start


@pytest.fixture(scope="session")
def state_dir():
    require_tools()
    state = ensure_dir(STATE)
    lock = SessionLock(state / "session.lock").acquire()
    slowness.measure()
    yield state
    lock.release()


@pytest.fixture(scope="session")
def xvfb(state_dir):
    t = time.monotonic()
    server = Xvfb(state_dir).start()
    _timed("Xvfb start", t)
    yield server
    server.stop()


@pytest.fixture(scope="session")
def pulse(state_dir):
    t = time.monotonic()
    server = PulseServer(state_dir / "pulse").start()
    _timed("PulseAudio start", t)
    yield server
    server.stop()


@pytest.fixture(scope="session")
def wine(state_dir, xvfb, pulse):
    t = time.monotonic()
    w = Wine(state_dir / "wineprefix", state_dir, xvfb.display, pulse.client_env())
    try:
        w.start()
        _timed("wine prefix and server" + (" (prefix created)" if w.prefix_seconds else ""), t)
        if w.boot_shortfall:
            SHORTFALLS.append(w.boot_shortfall)
        yield w
    finally:
        w.stop()


@pytest.fixture(scope="session")
def driver(wine, state_dir):
    exe = require_file(DRIVER_EXE, "ambrel-e2e-driver.exe")
    t = time.monotonic()
    d = Driver(wine, exe, state_dir / "driver.log").start()
    _timed("driver start", t)
    set_witness(d.describe)
    DRIVERS.append(d)
    yield d
    DRIVERS.remove(d)
    set_witness(None)
    d.stop()


RERUNS = []
DRIVERS = []
SHORTFALLS = []


def _emulator_failure(item):
    """Why the emulator, not the test, failed under a program the test started or under the
    driver (qemu's word in its log: harness.wine.EMULATOR_FAILURES), or None. A driver that
    has ended is replaced at the next command it is given."""
    for app in getattr(item, "apps", ()):
        if failure := app.emulator_failure():
            return failure
    for driver in DRIVERS:
        if failure := driver.emulator_failure():
            return f"the driver: {failure}"
    return None


@pytest.hookimpl(tryfirst=True)
def pytest_runtest_protocol(item, nextitem):
    """Runs a test as pytest does, and once more when it failed after the emulator failed under
    a program it started or under the driver. Only the last run is reported; the closing lines
    name every test run twice and why."""
    item.ihook.pytest_runtest_logstart(nodeid=item.nodeid, location=item.location)
    for driver in DRIVERS:
        driver.forget_emulator_failure()
    reports = runtestprotocol(item, nextitem=nextitem, log=False)
    failure = _emulator_failure(item) if any(r.failed for r in reports) else None
    if failure:
        failed = next(r for r in reports if r.failed).longreprtext.strip().splitlines() or ["?"]
        RERUNS.append(f"{item.nodeid}: {failure}; it had failed with {failed[-1]}")
        item.apps = []
        reports = runtestprotocol(item, nextitem=nextitem, log=False)
    for report in reports:
        item.ihook.pytest_runtest_logreport(report=report)
    item.ihook.pytest_runtest_logfinish(nodeid=item.nodeid, location=item.location)
    return True


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "rep_" + report.when, report)


def _failure_name(test_name):
    return test_name.replace("/", "_").replace("[", "_").replace("]", "")


def pytest_runtest_logreport(report):
    """A failure's report is kept beside its screenshot as it happens: pytest prints it only at
    the session's end, which a run that is stopped (or one whose every test fails after its
    deadline) may not reach."""
    if report.failed:
        name = _failure_name(report.nodeid.split("::")[-1])
        with open(ensure_dir(STATE / "failures") / f"{name}.txt", "a", encoding="utf-8") as out:
            out.write(f"== {report.nodeid} ({report.when})\n{report.longreprtext}\n\n")


def _keep_failure_screenshot(request, xvfb):
    rep = getattr(request.node, "rep_call", None)
    if rep is not None and rep.failed:
        folder = ensure_dir(STATE / "failures")
        name = _failure_name(request.node.name)
        try:
            xvfb.screenshot(folder / f"{name}.png")
        except Exception:  # a screenshot is a help, never a second failure
            pass


def _apps_of(request):
    """The programs the test started, kept on the test for the check after it."""
    if not hasattr(request.node, "apps"):
        request.node.apps = []
    return request.node.apps


@pytest.fixture
def ambrel(request, wine, driver, xvfb):
    """start(settings=None|bytes|[lines], run=True) -> App. The folder is what a user gets who
    unpacks the release zip into C:\\e2e\\<test>\\<folder_name> (or into `folder`, a path of
    the test's choosing), plus AMBREL.SET when given."""
    apps = _apps_of(request)
    test_folder = wine.prefix / "drive_c" / "e2e" / re.sub(r"[^\w.-]", "_", request.node.name)

    def start(settings=None, run=True, folder_name="app", folder=None):
        folder = unpack_release(folder or test_folder / folder_name)
        app = App(wine, driver, folder, "ambrel.exe")
        if settings is not None:
            app.write_settings(settings)
        apps.append(app)
        # Any wait of the test, also one for a recording, then reports how the program's
        # processes ended (an exit code that wine gives an exception, say).
        set_witness(lambda: "; ".join(a.describe() for a in apps))
        if run:
            app.start()
        return app

    yield start
    set_witness(driver.describe)
    _keep_failure_screenshot(request, xvfb)
    for app in apps:
        app.kill()
    rep = getattr(request.node, "rep_call", None)
    if rep is not None and rep.passed:
        shutil.rmtree(test_folder, ignore_errors=True)


@pytest.fixture
def sample(request, tmp_path, wine, driver, xvfb):
    """start(*args) -> App running the harness's sample program (e2e-sample.exe)."""
    apps = _apps_of(request)

    def start(*args):
        exe = require_file(SAMPLE_EXE, "e2e-sample.exe")
        app = App(wine, driver, make_folder(tmp_path / "sample", exe), exe.name)
        apps.append(app)
        app.start(*args)
        return app

    yield start
    _keep_failure_screenshot(request, xvfb)
    for app in apps:
        app.kill()


@pytest.fixture
def program_clock(driver):
    """program_clock(app, when, frozen=True) -> ProgramClock: from its next start on, the
    program of `app` reads a wall clock of the suite's own, standing at `when` (or running on
    from it); `.start_program()` starts it and fails unless it reads that clock. One program
    at a time; released after the test."""
    clocks = []

    def control(app, when, frozen=True):
        clock = ProgramClock(driver, app)
        clock.control(when, frozen)
        clocks.append(clock)
        return clock

    yield control
    if clocks:
        clocks[-1].release()


@pytest.fixture
def tone(tmp_path):
    """tone(name="tone.wav", frequency=880, seconds=1.0) -> path of a new sine WAV."""
    def make(name="tone.wav", frequency=880.0, seconds=1.0, rate=22050):
        return audio.write_tone(tmp_path / name, frequency, seconds, rate)
    return make


@pytest.fixture
def record(tmp_path, pulse):
    """record(name) -> a running Recording of the sink; .stop() returns the WAV path."""
    recordings = []

    def start(name="recording.wav"):
        r = pulse.record(tmp_path / name)
        recordings.append(r)
        return r

    yield start
    for r in recordings:
        r.stop()


def pytest_terminal_summary(terminalreporter):
    if TIMINGS:
        terminalreporter.write_sep("-", "e2e harness timings")
        for name, seconds in TIMINGS.items():
            terminalreporter.write_line(f"{name}: {seconds:.1f} s")
        terminalreporter.write_line(f"slowness factor: {slowness.summary()}")
    for rerun in RERUNS:
        terminalreporter.write_line(f"run again after the emulator failed: {rerun}")
    for shortfall in SHORTFALLS:
        terminalreporter.write_line(shortfall)


WM_NCHITTEST, HTCLOSE = 0x0084, 20


@pytest.fixture
def close_box(driver, xvfb):
    """close_box(hwnd): clicks the real close box of a window's title bar with X input, at a
    point where the window itself answers WM_NCHITTEST with HTCLOSE."""
    def click(hwnd):
        info = driver.info(hwnd)
        left, top, right, _ = info["rect"]
        y = (top + info["client"][1]) // 2  # the middle of the title bar
        for x in range(right - 1, max(left, right - 100), -1):
            if driver.message(hwnd, WM_NCHITTEST, 0, (y << 16) | x) == HTCLOSE:
                # The box's right edge: a few pixels in from it is well inside.
                xvfb.pointer_on_window(x - 4, y, info["title"])
                xvfb.xdotool("mousemove", x - 4, y, "click", 1)
                return
        raise AssertionError(f"window {hwnd} has no close box in its title bar")
    return click


@pytest.fixture
def windows_version(wine):
    """windows_version("win10"): the Windows version that wine reports to ambrel.exe from its
    next start on (wine's per-program setting); the setting goes after the test."""
    key = r"HKCU\Software\Wine\AppDefaults\ambrel.exe"

    def tell(version):
        assert wine.run(["reg", "add", key, "/v", "Version", "/d", version, "/f"]) == 0

    yield tell
    wine.run(["reg", "delete", key, "/f"])
