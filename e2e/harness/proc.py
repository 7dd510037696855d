"""Small process helpers: every wait has a deadline, nothing is killed by name."""
import os
import signal
import subprocess
import time


def wait_until(predicate, timeout, interval=0.1, what="condition"):
    """Polls predicate until it returns something truthy; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def stop(proc: subprocess.Popen, sig=signal.SIGTERM, timeout=5.0):
    """Ends one process we started (and only it): the signal, then SIGKILL if needed."""
    if proc.poll() is not None:
        return proc.returncode
    try:
        proc.send_signal(sig)
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        return proc.wait(timeout)


def stop_group(proc: subprocess.Popen, timeout=5.0):
    """Ends a process started with start_new_session=True together with its children."""
    if proc.poll() is not None:
        return proc.returncode
    try:
        os.killpg(proc.pid, signal.SIGTERM)
        return proc.wait(timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        return proc.wait(timeout)
    except ProcessLookupError:
        return proc.wait(timeout)
