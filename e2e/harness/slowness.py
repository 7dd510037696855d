"""How slow this machine is right now, and the deadlines that fit it.

Every deadline of the suite is written for a quiet machine on which 32-bit wine runs through
qemu. On a machine shared with other work each process of the suite gets only a share of a
processor, and what takes a program 3 s on a quiet machine takes it 3 s divided by that share.
The share is measured, not guessed: the harness's thread does a fixed amount of work (a set
amount of its own processor time) and the wall clock says how long that took; the ratio is
the slowness factor, never below 1. It is measured at the session's start, again when a
deadline is set and the last measurement is older than a few seconds, and once more when a
wait runs out, so that a machine that got busier during the wait gives that wait more time.

`deadline(seconds)` is the one place where a quiet machine's seconds become this machine's."""
import statistics
import time

PROBE_CPU_SECONDS = 0.05
FRESH_SECONDS = 15.0

_last = None  # (when, factor)
_measured = []


def probe():
    """The factor now: the wall time of a fixed amount of this thread's processor time."""
    wall, cpu = time.monotonic(), time.thread_time()
    x = 0
    while time.thread_time() - cpu < PROBE_CPU_SECONDS:
        for i in range(10000):
            x = (x * 31 + i) & 0xFFFF
    return max(1.0, (time.monotonic() - wall) / (time.thread_time() - cpu))


def measure():
    """Probes now; keeps the factor for the deadlines of the next few seconds."""
    global _last
    measured = probe()
    _last = (time.monotonic(), measured)
    _measured.append(measured)
    return measured


def factor():
    """The factor measured within the last few seconds (measured now when there is none)."""
    if _last is None or time.monotonic() - _last[0] > FRESH_SECONDS:
        return measure()
    return _last[1]


def deadline(seconds):
    """`seconds` of a quiet machine, in this machine's seconds now."""
    return seconds * factor()


def summary():
    """The factors measured so far, for the session's closing lines."""
    if not _measured:
        return "not measured"
    return (f"{len(_measured)} measurements, median {statistics.median(_measured):.2f}, "
            f"max {max(_measured):.2f}")
