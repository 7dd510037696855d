"""Small process helpers: every wait has a deadline, nothing is killed by name."""
import os
import signal
import subprocess
import time
from collections import Counter
from pathlib import Path

from . import slowness


class WaitTimeout(TimeoutError):
    """A wait ran out: says what it waited for, its deadline and what it saw instead."""


# What the session shows of the program under test, for a timeout's message; set by the
# driver's fixture (Driver.describe), since a wait of a test knows only its own condition.
_witness = None


def set_witness(describe):
    global _witness
    _witness = describe


def _seen(describe):
    describe = describe or _witness
    if describe is None:
        return "nothing more"
    try:
        return describe()
    except Exception as error:  # the message of a timeout must not become another failure
        return f"nothing more ({type(error).__name__}: {error})"


def wait_until(predicate, timeout, interval=0.1, what="condition", seen=None):
    """Polls predicate until it returns something truthy; returns that value. `timeout` is a
    quiet machine's seconds, scaled by this machine's slowness; when they have passed, the
    slowness is measured once more, and a machine that got busier meanwhile gives the wait the
    longer deadline. The timeout's message says what `seen()` (by default what the session
    sees of the program) reports."""
    started = time.monotonic()
    factor = slowness.factor()
    while True:
        value = predicate()
        if value:
            return value
        waited = time.monotonic() - started
        if waited > timeout * factor:
            factor = max(factor, slowness.measure())
            if waited > timeout * factor:
                raise WaitTimeout(
                    f"waited {waited:.1f} s for {what}: deadline {timeout:g} s x slowness "
                    f"{factor:.2f}; saw {_seen(seen)}")
        time.sleep(interval)


# The x86-64 system calls a waiting thread sits in; under qemu a program's threads are the
# emulator's host threads, so these are the same calls.
_WAITING_CALLS = {0: "read", 7: "poll", 23: "select", 34: "pause", 35: "nanosleep", 45: "recvfrom",
                  47: "recvmsg", 61: "wait4", 128: "rt_sigtimedwait", 130: "rt_sigsuspend",
                  202: "futex", 230: "clock_nanosleep", 232: "epoll_wait", 270: "pselect6",
                  271: "ppoll", 281: "epoll_pwait"}


def thread_waits(pid) -> str:
    """Where the Linux threads of a process are, as counts ("futex 5, read 2, running 1"), for a
    timeout's report: a program hung on a lock of its own process (futex) reads apart from one
    waiting on wine's server (read) or on the machine."""
    counts = Counter()
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return "not readable"
    for tid in tasks:
        try:
            first = Path(f"/proc/{pid}/task/{tid}/syscall").read_text().split()[0]
        except (OSError, IndexError):
            continue
        if first == "running":
            counts["running"] += 1
        elif first == "-1":
            counts["outside a system call"] += 1
        else:
            counts[_WAITING_CALLS.get(int(first), f"system call {first}")] += 1
    return ", ".join(f"{name} {n}" for name, n in counts.most_common()) or "not readable"


def stop(proc: subprocess.Popen, sig=signal.SIGTERM, timeout=5.0):
    """Ends one process we started (and only it): the signal, then SIGKILL if needed."""
    if proc.poll() is not None:
        return proc.returncode
    try:
        proc.send_signal(sig)
        return proc.wait(slowness.deadline(timeout))
    except subprocess.TimeoutExpired:
        proc.kill()
        return proc.wait(slowness.deadline(timeout))


def stop_group(proc: subprocess.Popen, timeout=5.0):
    """Ends a process started with start_new_session=True together with its children."""
    if proc.poll() is not None:
        return proc.returncode
    try:
        os.killpg(proc.pid, signal.SIGTERM)
        return proc.wait(slowness.deadline(timeout))
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        return proc.wait(slowness.deadline(timeout))
    except ProcessLookupError:
        return proc.wait(slowness.deadline(timeout))
