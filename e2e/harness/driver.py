"""The Python side of ambrel-e2e-driver.exe: one driver process in "serve" mode for the
whole session, commands as tab-separated lines, answers as JSON lines."""
import json
import queue
import subprocess
import sys
import threading
import time
from pathlib import Path

from . import pace, slowness
from .paths import HarnessError
from .proc import stop, wait_until
from .wine import emulator_failure_in


class DriverError(RuntimeError):
    """The driver ran the command and reports that it could not do it."""


class Driver:
    def __init__(self, wine, exe: Path, log: Path):
        self.wine = wine
        self.exe = exe
        self.log = log
        self.proc = None
        self.lines = queue.Queue()
        self.lock = threading.Lock()
        self.told_slowness = 1.0  # the factor the driver scales its own deadlines by
        self.lost_to_emulator = None  # the emulator's line about a driver already replaced

    # Under qemu on a busy machine the emulator now and then breaks a starting driver's link
    # to the wine server ("wine client error"); such a driver never answers, and a fresh one
    # starts fine.
    START_ATTEMPTS = 3

    def start(self, timeout=180.0):
        for attempt in range(1, self.START_ATTEMPTS + 1):
            self.log_start = self.log.stat().st_size if self.log.exists() else 0
            self.lines = queue.Queue()
            self.proc = self.wine.popen([self.exe, "serve"], log=self.log,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE)
            threading.Thread(target=self._read, args=(self.proc, self.lines), daemon=True).start()
            first = self._first_answer(timeout)
            if first is not None:
                if not first.get("ready"):
                    raise HarnessError(f"driver did not start: {first}")
                return self
            failure = emulator_failure_in(self.log, self.log_start)
            stop(self.proc, timeout=10)
            print(f"\ne2e: the emulator failed under the starting driver ({failure}); "
                  f"attempt {attempt} of {self.START_ATTEMPTS}", file=sys.stderr)
        raise HarnessError(f"the driver did not start in {self.START_ATTEMPTS} attempts; see "
                           f"{self.log}")

    def _first_answer(self, timeout):
        """The driver's first answer, or None once the emulator said in the driver's log that
        it failed under it."""
        limit = slowness.deadline(timeout)
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            try:
                raw = self.lines.get(timeout=1.0)
            except queue.Empty:
                if emulator_failure_in(self.log, self.log_start):
                    return None
                continue
            if raw is None and emulator_failure_in(self.log, self.log_start):
                return None
            return self._parse(raw)
        raise HarnessError(f"driver gave no answer to its start in {limit:.1f} s ({timeout:g} s "
                           f"x slowness {limit / timeout:.2f})")

    def emulator_failure(self):
        """The line in which the emulator said that it failed under a driver that has ended
        since the last question (also one already replaced by another), or None."""
        failure, self.lost_to_emulator = self.lost_to_emulator, None
        if failure is None and self.proc is not None and self.proc.poll() is not None:
            failure = emulator_failure_in(self.log, self.log_start)
        return failure

    def forget_emulator_failure(self):
        """What ended a driver before now belongs to no later test."""
        self.lost_to_emulator = None

    def restart(self):
        """Another driver in place of one that has ended; why that one ended stays for
        `emulator_failure`."""
        if self.proc is not None and self.proc.poll() is not None:
            self.lost_to_emulator = (self.lost_to_emulator or
                                     emulator_failure_in(self.log, self.log_start))
        self.told_slowness = 1.0
        return self.start()

    @staticmethod
    def _read(proc, lines):
        for raw in proc.stdout:
            lines.put(raw)
        lines.put(None)

    def _next(self, timeout, what):
        """The driver's next answer, within `timeout` seconds of a quiet machine."""
        limit = slowness.deadline(timeout)
        try:
            raw = self.lines.get(timeout=limit)
        except queue.Empty:
            # Its answer, were it to come later, would be read as the next command's: this
            # driver is ended, and the next command starts a fresh one.
            running = self.proc.poll() is None
            stop(self.proc, timeout=10)
            raise HarnessError(f"driver gave no answer to {what} in {limit:.1f} s ({timeout:g} s "
                               f"x slowness {limit / timeout:.2f}); it was "
                               f"{'still running' if running else 'gone'} and is ended, and "
                               f"the next command starts another") from None
        return self._parse(raw)

    def _parse(self, raw):
        if raw is None:
            raise HarnessError(f"driver ended; see {self.log}")
        text = raw.decode("utf-8", errors="replace").strip()
        try:
            return json.loads(text)
        except ValueError:
            raise HarnessError(f"driver printed no JSON: {text!r}") from None

    def call(self, *args, timeout=30.0, check=True):
        """Runs one command; returns its JSON objects (a list, maybe empty). With
        check=False a refused command returns None instead of raising DriverError."""
        words = [str(a) for a in args]
        if any("\t" in w or "\n" in w for w in words):
            raise ValueError("driver arguments cannot hold tabs or line breaks")
        if pace.delay():
            time.sleep(pace.delay())
        with self.lock:
            if self.proc.poll() is not None:
                # Ended (by the emulator, or above for an answer that never came): the rest of
                # the session needs a driver all the same.
                print(f"\ne2e: the driver had ended (exit {self.proc.returncode}); starting "
                      f"another for {words[0]}", file=sys.stderr)
                self.restart()
            factor = slowness.factor()
            if abs(factor - self.told_slowness) > 0.1:
                self._exchange(["slowness", f"{factor:.2f}"], timeout, check=True)
                self.told_slowness = factor
            return self._exchange(words, timeout, check)

    def _exchange(self, words, timeout, check):
        self.proc.stdin.write(("\t".join(words) + "\n").encode("utf-8"))
        self.proc.stdin.flush()
        results = []
        while True:
            obj = self._next(timeout, words[0])
            if obj.get("done"):
                if obj.get("ok"):
                    return results
                if check:
                    raise DriverError(f"{words[0]}: {obj.get('error')}")
                return None
            results.append(obj)

    def one(self, *args, **kwargs):
        results = self.call(*args, **kwargs)
        if results is None:
            return None
        if len(results) != 1:
            raise DriverError(f"{args[0]}: expected one answer, got {len(results)}")
        return results[0]

    # -- commands -------------------------------------------------------------------------

    def acp(self):
        return self.one("acp")["acp"]

    def dpi(self):
        return self.one("dpi")

    def windows(self, cls=None, title=None, title_contains=None, pid=None, exe=None,
                visible=False):
        args = ["windows"]
        for flag, value in (("--class", cls), ("--title", title),
                            ("--title-contains", title_contains), ("--pid", pid),
                            ("--exe", exe)):
            if value is not None:
                args += [flag, value]
        if visible:
            args.append("--visible")
        return self.call(*args)

    def info(self, hwnd):
        return self.one("info", hwnd)

    def children(self, hwnd):
        return self.call("children", hwnd)

    def child(self, hwnd, control_id):
        for c in self.children(hwnd):
            if c["id"] == control_id:
                return c
        raise DriverError(f"window {hwnd} has no control {control_id}")

    def text(self, hwnd):
        return self.one("text", hwnd)["text"]

    def settext(self, hwnd, text):
        return self.one("settext", hwnd, text)

    def msgboxes(self, **filters):
        return self.call("msgbox", *_filter_args(filters))

    def press(self, hwnd, button, send=False):
        return self.one("press", hwnd, button, *(["--send"] if send else []))

    def answer(self, button, **filters):
        """Presses a button (OK, Cancel, Retry, Yes, No, ...) of the one message box that
        matches; returns the box as it was."""
        return self.one("answer", "--button", button, *_filter_args(filters))["box"]

    def tooltip(self, hwnd):
        """The texts of the tooltip tools for a window: a list of tools."""
        return self.call("tooltip", hwnd)

    def click(self, hwnd, x, y, button="left", count=1):
        return self.one("click", hwnd, x, y, "--button", button, "--count", count)

    def drag(self, hwnd, x1, y1, x2, y2, steps=5):
        return self.one("drag", hwnd, x1, y1, x2, y2, "--steps", steps)

    def key(self, *virtual_keys):
        return self.one("key", *virtual_keys)

    def type(self, text):
        return self.one("type", text)

    def message(self, hwnd, msg, wparam=0, lparam=0, post=False):
        r = self.one("message", hwnd, msg, wparam, lparam, *(["--post"] if post else []))
        return r.get("result", r.get("posted"))

    def close(self, hwnd):
        return self.one("close", hwnd)

    def foreground(self):
        return self.one("foreground")

    def procs(self, exe=None):
        return self.call("procs", *(["--exe", exe] if exe else []))

    def kill(self, pid):
        return self.one("kill", pid)

    def pixels(self, hwnd, x=None, y=None, w=None, h=None, dump=False):
        args = ["pixels", hwnd] + [v for v in (x, y, w, h) if v is not None]
        return self.one(*args, *(["--dump"] if dump else []))

    def version(self, windows_path):
        return self.one("version", windows_path)

    def sys_colors(self, colours):
        """colours: COLOR_ index -> "rrggbb" to set, or None to read only. Returns each
        index's colour before the change ("#rrggbb"); the change is made as a theme change
        makes it, for the programs started from now on."""
        args = [f"{i}" if v is None else f"{i}={v}" for i, v in colours.items()]
        return {line["index"]: line["rgb"] for line in self.call("syscolors", *args)}

    def dpi_change(self, hwnd, dpi, rect):
        """The window receives WM_DPICHANGED for `dpi` with `rect` ([left, top, right, bottom])
        as the rectangle the system suggests, as on coming to a monitor of that scale."""
        return self.one("dpichange", hwnd, dpi, *rect)

    # -- waiting --------------------------------------------------------------------------

    def wait_window(self, timeout=60.0, seen=None, **filters):
        """The first top-level window that matches (visible ones unless visible=False)."""
        filters.setdefault("visible", True)
        found = wait_until(lambda: self.windows(**filters), timeout, interval=0.1,
                           what=f"a window {filters}",
                           seen=seen or (lambda: self.describe(filters.get("exe"),
                                                               filters.get("pid"))))
        return found[0]

    def wait_msgbox(self, timeout=60.0, seen=None, **filters):
        found = wait_until(lambda: self.msgboxes(**filters), timeout, interval=0.1,
                           what=f"a message box {filters}",
                           seen=seen or (lambda: self.describe(filters.get("exe"),
                                                               filters.get("pid"))))
        return found[0]

    def wait_gone(self, hwnd, timeout=30.0):
        def gone():
            r = self.call("info", hwnd, check=False)
            return r is None or not r[0]["visible"]
        wait_until(gone, timeout, what=f"window {hwnd} to close",
                   seen=lambda: self.describe(pid=self.info(hwnd)["pid"]))

    def describe(self, exe=None, pid=None):
        """What a program (the clock unless named) shows now, for a timeout's message: its
        Windows processes, their windows, whether the thread of each answers a sent message, the
        clock that the suite controls, and the other Windows processes running."""
        if exe is None and pid is None:
            exe = "ambrel.exe"
        before = self.one("clock", "status")["reads"]
        processes = [p["pid"] for p in self.procs(exe)] if exe else [pid]
        windows = self.windows(exe=exe, pid=pid)
        lines = [f"{w['class']} {w['title']!r} {w['hwnd']}"
                 f"{'' if w['visible'] else ' hidden'}{'' if w['enabled'] else ' disabled'}"
                 for w in windows]
        for tid in sorted({w["tid"] for w in windows}):
            hwnd = next(w["hwnd"] for w in windows if w["tid"] == tid)
            answers = self.call("message", hwnd, 0, check=False) is not None  # WM_NULL
            lines.append(f"thread {tid} {'answers' if answers else 'does not answer'}")
        clock = self.one("clock", "status")
        if clock["exe"]:
            lines.append(f"the controlled clock {'stands' if clock['frozen'] else 'runs'} at "
                         f"{clock['now']}, read {clock['reads']} times ({clock['reads'] - before}"
                         f" while looking), last as {clock['read']}")
        # A program waiting on one of wine's own processes (the services, the device host)
        # shows that one missing here.
        others = sorted(p["exe"] for p in self.procs() if p["pid"] not in processes)
        return (f"Windows processes {processes or 'none'} of {exe or pid}, their windows: " +
                ("; ".join(lines) or "none") + f"; the other Windows processes: {', '.join(others)}")

    def settle(self, hwnd, seconds=1.0):
        """Gives the program `seconds` to act, then proves that the window's thread has caught
        up: a sent message is answered only when that thread retrieves messages, and the
        second one only after the first retrieval has handed out whatever timer message had
        fallen due meanwhile. What the program would do in that time it has done (or it is
        inside the message box it opened) when this returns, however slowly it runs."""
        time.sleep(seconds)
        for _ in range(2):
            self.message(hwnd, 0)  # WM_NULL

    def stop(self):
        if self.proc:
            try:
                self.proc.stdin.write(b"quit\n")
                self.proc.stdin.flush()
                self.proc.wait(10)
            except (OSError, subprocess.TimeoutExpired):
                stop(self.proc)
            self.proc = None


def _filter_args(filters):
    args = []
    for key, value in filters.items():
        if value is None or value is False:
            continue
        flag = "--" + ("class" if key == "cls" else key.replace("_", "-"))
        args += [flag] if value is True else [flag, value]
    return args
