"""CPU time of the running clock beside two minimal 100 ms timer windows, each under wine for
the same stretch: one that repaints on every tick, and the floor, one that reads the time on
every tick and repaints only when the second has changed (the least a clock with seconds can
do). Each runs on the e2e suite's display, sound server and kind of prefix (a state folder of
its own). Start-up is left out: the figures cover only the measured stretch after a warm-up.

usage: measure.py [SECONDS [WARMUP_SECONDS [EXE]]]   (default 60 and 10)
EXE, another build of ambrel.exe (an older commit's build/win32/ambrel.exe, say), is measured
beside them for a before and after.
"""
import os
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
os.environ.setdefault("AMBREL_E2E_STATE", "/tmp/ambrel-cpu-bench")
sys.path.insert(0, str(REPO / "e2e"))

from harness import audio  # noqa: E402
from harness.app import settings_bytes  # noqa: E402
from harness.paths import (AMBREL_EXE, STATE, WIN32_BUILD, ensure_dir, require_file,  # noqa: E402
                           require_tools, windows_path)
from harness.proc import stop  # noqa: E402
from harness.pulse import PulseServer  # noqa: E402
from harness.wine import Wine  # noqa: E402
from harness.xvfb import Xvfb  # noqa: E402

# The yardsticks: a bare window of the bar's size that repaints all of it every 100 ms, and
# one that repaints only when the second changes (the floor).
BARE_EXE = WIN32_BUILD / "bench" / "bare-window.exe"
REPAINT = ["--repaint"]
SECONDS = ["--seconds"]
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """utime + stime of one process (under qemu-user: the whole emulated program)."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def wineserver_pid(prefix):
    """Our prefix's wineserver, which does part of every program's work (timers, messages)."""
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if b"wineserver" not in (entry / "cmdline").read_bytes():
                continue
            env = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if f"WINEPREFIX={prefix}".encode() in env:
            return int(entry.name)
    return None


def prepare_clock(folder, source=AMBREL_EXE):
    """ambrel.exe with a real WAV, so that no sound warning box waits in front of the clock."""
    folder = ensure_dir(folder)
    exe = folder / "ambrel.exe"
    exe.write_bytes(require_file(source, "ambrel.exe").read_bytes())
    tone = audio.write_tone(folder / "tone.wav")
    (folder / "AMBREL.SET").write_bytes(settings_bytes(
        ["10", "1500", "1500", '"ON"', f'"{windows_path(tone)}"', "10,10,10", '"ALOFF"', '"T"',
         '""', '""']))
    return exe


def measure(wine, exe, seconds, warmup, args=()):
    proc = wine.popen([exe, *args], cwd=exe.parent, log=exe.parent / "wine.log")
    server = wineserver_pid(wine.prefix)
    try:
        time.sleep(warmup)
        if proc.poll() is not None:
            raise SystemExit(f"{exe.name} ended during the warm-up; see {exe.parent}/wine.log")
        start, server_start = cpu_seconds(proc.pid), server and cpu_seconds(server)
        wall = time.monotonic()
        time.sleep(seconds)
        used, wall = cpu_seconds(proc.pid) - start, time.monotonic() - wall
        server_used = server and cpu_seconds(server) - server_start
        if proc.poll() is not None:
            raise SystemExit(f"{exe.name} ended while measured; see {exe.parent}/wine.log")
    finally:
        stop(proc, timeout=10)
    return used, server_used, wall


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 60.0
    warmup = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    other = Path(sys.argv[3]).resolve() if len(sys.argv) > 3 else None
    require_tools()
    require_file(BARE_EXE, BARE_EXE.name)
    state = ensure_dir(STATE)
    xvfb = Xvfb(state).start()
    pulse = PulseServer(state / "pulse").start()
    wine = Wine(state / "wineprefix", state, xvfb.display, pulse.client_env())
    try:
        wine.start()
        minimal_folder = ensure_dir(state / "bench-minimal")
        minimal = minimal_folder / BARE_EXE.name
        minimal.write_bytes(BARE_EXE.read_bytes())
        clock = prepare_clock(state / "bench-clock")
        runs = [("minimal timer window", minimal, REPAINT),
                ("once-a-second window", minimal, SECONDS),
                ("ambrel.exe (format T)", clock, ())]
        if other is not None:
            runs.append((f"{other.parent.name}/{other.name}",
                         prepare_clock(state / "bench-other", other), ()))
        results = {}
        for name, exe, args in runs:
            results[name] = measure(wine, exe, seconds, warmup, args)
    finally:
        wine.stop()
        pulse.stop()
        xvfb.stop()

    print(f"CPU time over {seconds:.0f} s of wall time each (after {warmup:.0f} s warm-up), "
          f"utime+stime of the wine process; wineserver beside it:")
    for name, (used, server_used, wall) in results.items():
        server_text = f"{server_used:7.2f} s" if server_used is not None else "    n/a"
        print(f"  {name:24s} {used:7.2f} s  ({100 * used / wall:5.1f} % of a core)"
              f"   wineserver {server_text}")
    (minimal, _, _), (floor, floor_server, _) = list(results.values())[:2]
    for name, (clock, clock_server, _) in list(results.items())[2:]:
        print(f"  {name}: ratio to the minimal window {ratio(clock, minimal):.2f}, "
              f"to the once-a-second window {ratio(clock, floor):.2f}"
              + (f" (with the wineserver: "
                 f"{ratio(clock + clock_server, floor + floor_server):.2f})"
                 if clock_server is not None and floor_server is not None else ""))


def ratio(a, b):
    return a / b if b > 0 else float("inf")


if __name__ == "__main__":
    main()
