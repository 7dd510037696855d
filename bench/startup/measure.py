"""Start to visible window under wine: the clock, run from the unpacked release zip, beside a
bare window of its size (bench/startup/bare_window.cpp) that opens the same WAV through MCI
before it shows, and beside the same bare window without the WAV. The three start in turn, in
a rotating order, on a warm wineserver; the figures are medians.

Start is the moment the wine process is spawned; visible is the moment the X server maps the
program's 140 by 18 pixel window, as xev on the root window reports it (an observed event, no
polling). Each program is ended before the next starts.

usage: measure.py [ROUNDS [EXE]]   (default 7; after `cmake --build --preset win32 --target package`)
EXE: another build of ambrel.exe (an older one, say), run from the same folder with the same
settings as a fourth program, for a before and after.
AMBREL_E2E_STATE picks the state folder (default /tmp/ambrel-bench, shared with the other
benchmarks; a new one costs a wine prefix).
"""
import os
import queue
import re
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
os.environ.setdefault("AMBREL_E2E_STATE", "/tmp/ambrel-bench")
sys.path.insert(0, str(REPO / "e2e"))

from harness import audio  # noqa: E402
from harness.app import settings_bytes  # noqa: E402
from harness.package import unpack_release  # noqa: E402
from harness.paths import (STATE, WIN32_BUILD, ensure_dir, require_file,  # noqa: E402
                           require_tools, windows_path)
from harness.proc import stop  # noqa: E402
from harness.pulse import PulseServer  # noqa: E402
from harness.wine import Wine  # noqa: E402
from harness.xvfb import Xvfb  # noqa: E402

BARE_EXE = WIN32_BUILD / "bench" / "bare-window.exe"
SIZE = (140, 18)  # the clock bar at 96 dpi, and the bare window
WARMUP_ROUNDS = 2


class MapWatcher:
    """xev on the root window: every window created, resized and mapped on the display. Maps of
    a window of SIZE arrive in a queue with the time they were read."""

    _create = re.compile(r"^CreateNotify event.* window (0x[0-9a-f]+), .*width (\d+), height (\d+)")
    _configure = re.compile(r"^ConfigureNotify event.* window (0x[0-9a-f]+), .*width (\d+), "
                            r"height (\d+)")
    _map = re.compile(r"^MapNotify event.* window (0x[0-9a-f]+),")
    _destroy = re.compile(r"^DestroyNotify event.* event 0x[0-9a-f]+, window (0x[0-9a-f]+)$")

    def __init__(self, display):
        self.maps = queue.Queue()
        self.destroyed = queue.Queue()
        self.sizes = {}
        env = dict(os.environ, DISPLAY=display)
        # Line-buffered, so that each event is read the moment xev writes it.
        self.proc = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                     env=env, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        # xev writes an empty line before each event and the lines of the event after it; the
        # window an event is about is the last one named. An event counts the moment the line
        # that completes it arrives.
        event, counted = "", False
        for line in self.proc.stdout:
            now = time.monotonic()
            if not line.strip():
                event, counted = "", False
                continue
            event += " " + line.strip() if event else line.strip()
            if not counted:
                counted = self._handle(event, now)

    def _handle(self, event, now):
        for pattern in (self._create, self._configure):
            m = pattern.match(event)
            if m:
                self.sizes[m.group(1)] = (int(m.group(2)), int(m.group(3)))
        m = self._map.match(event)
        if m and self.sizes.get(m.group(1)) == SIZE:
            self.maps.put((now, m.group(1)))
            return True
        m = self._destroy.match(event)
        if m:
            self.destroyed.put(m.group(1))
            return True
        return False

    def drain(self):
        for q in (self.maps, self.destroyed):
            while not q.empty():
                q.get_nowait()

    def stop(self):
        stop(self.proc)


def prepare(state, wine):
    """The clock unpacked from the release zip with its settings and a WAV, and the bare window,
    both in the prefix's drive C:."""
    base = wine.prefix / "drive_c" / "bench"
    clock_folder = unpack_release(base / "clock")
    tone = audio.write_tone(base / "tone.wav")
    (clock_folder / "AMBREL.SET").write_bytes(settings_bytes(
        ["10", "1500", "1500", '"ON"', f'"{windows_path(tone)}"', "10,10,10", '"ALOFF"', '"T"',
         '""', '""']))
    bare = ensure_dir(base / "bare") / BARE_EXE.name
    bare.write_bytes(require_file(BARE_EXE, BARE_EXE.name).read_bytes())
    return clock_folder / "ambrel.exe", bare, tone


def start_to_visible(wine, watcher, exe, args=(), timeout=60.0):
    """Milliseconds from spawning the program to the map of its window; the program is ended
    and its window gone before this returns."""
    watcher.drain()
    started = time.monotonic()
    proc = wine.popen([exe, *args], cwd=exe.parent, log=exe.parent / "wine.log")
    try:
        mapped, window = watcher.maps.get(timeout=timeout)
    except queue.Empty:
        stop(proc)
        raise SystemExit(f"{exe.name} showed no {SIZE[0]}x{SIZE[1]} window in {timeout:.0f} s "
                         f"(exit code {proc.poll()}); see {exe.parent}/wine.log")
    stop(proc, timeout=10)
    # Gone from the screen and from the wineserver before the next start: the clock is a
    # single instance.
    while watcher.destroyed.get(timeout=timeout) != window:
        pass
    return (mapped - started) * 1000.0


def measure(wine, display, rounds=7, other_clock=None):
    """Medians in ms of start to visible for the programs, and the ratios of the clock's."""
    clock, bare, tone = prepare(STATE, wine)
    runs = {
        "bare window opening the WAV": (bare, [windows_path(tone)]),
        "ambrel.exe": (clock, []),
        "bare window": (bare, []),
    }
    if other_clock is not None:
        other = clock.parent / "ambrel-compared.exe"
        other.write_bytes(Path(other_clock).read_bytes())
        runs[f"ambrel.exe from {other_clock}"] = (other, [])
    times = {name: [] for name in runs}
    watcher = MapWatcher(display)
    try:
        names = list(runs)
        for round_number in range(WARMUP_ROUNDS + rounds):
            # A rotating order, so that none always follows the same one.
            shift = round_number % len(names)
            for name in names[shift:] + names[:shift]:
                exe, args = runs[name]
                ms = start_to_visible(wine, watcher, exe, args)
                if round_number >= WARMUP_ROUNDS:
                    times[name].append(ms)
    finally:
        watcher.stop()
    medians = {name: statistics.median(values) for name, values in times.items()}
    return {
        "rounds": rounds,
        "medians": medians,
        "times": times,
        "ratio_mci": medians["ambrel.exe"] / medians["bare window opening the WAV"],
        "ratio_bare": medians["ambrel.exe"] / medians["bare window"],
    }


def report(result):
    print(f"Start to visible window, median of {result['rounds']} rotating starts "
          f"(after {WARMUP_ROUNDS} rounds of warm-up), warm wineserver:")
    for name, ms in result["medians"].items():
        spread = ", ".join(f"{t:.0f}" for t in sorted(result["times"][name]))
        print(f"  {name:28s} {ms:6.1f} ms   ({spread})")
    bare_mci = result["medians"]["bare window opening the WAV"]
    for name, ms in result["medians"].items():
        if name.startswith("ambrel.exe"):
            print(f"  ratio {name} / bare window opening the WAV: {ms / bare_mci:.2f}")
    print(f"  ratio ambrel.exe / bare window: {result['ratio_bare']:.2f}")


class Session:
    """The display, sound server and wine prefix that the benchmarks run in."""

    def __enter__(self):
        require_tools(("wine", "wineserver", "Xvfb", "xev", "stdbuf", "pulseaudio"))
        state = ensure_dir(STATE)
        self.xvfb = Xvfb(state).start()
        self.pulse = PulseServer(state / "pulse").start()
        self.wine = Wine(state / "wineprefix", state, self.xvfb.display, self.pulse.client_env())
        self.wine.start()
        return self

    def __exit__(self, *exc):
        self.wine.stop()
        self.pulse.stop()
        self.xvfb.stop()


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    other_clock = sys.argv[2] if len(sys.argv) > 2 else None
    with Session() as session:
        result = measure(session.wine, session.xvfb.display, rounds, other_clock)
    report(result)


if __name__ == "__main__":
    main()
