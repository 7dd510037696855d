"""A program under test in a scratch folder of its own: a copy of the executable (and its
help file), a prepared settings file, the process and what it leaves behind."""
import shutil
import subprocess
import time
from pathlib import Path

from . import slowness
from .paths import AMBREL_EXE, WIN32_BUILD, require_file, windows_path
from .proc import stop, thread_waits
from .wine import emulator_failure_in

SETTINGS_NAME = "AMBREL.SET"
HELP_NAME = "AMBREL.HLP"


def settings_bytes(lines):
    """The bytes of a settings file from text lines: CP932, each line ended by CR LF."""
    return "".join(line + "\r\n" for line in lines).encode("cp932")


# Wine ends a process that an exception ended with the exception's code, of which Linux keeps
# the low byte: the codes a crash gives, by that byte.
CRASH_CODES = {3: "abort() or 0x80000003 breakpoint", 5: "0xC0000005 access violation",
               9: "0xC0000409 stack buffer overrun", 29: "0xC000001D illegal instruction",
               253: "0xC00000FD stack overflow"}


def exit_meaning(code):
    return f"{code} ({CRASH_CODES[code]})" if code in CRASH_CODES else str(code)


class App:
    """One program started from a scratch folder. The process is wine's own loader process
    (the Windows program itself), so killing it ends the program."""

    def __init__(self, wine, driver, folder: Path, exe_name: str):
        self.wine = wine
        self.driver = driver
        self.folder = folder
        self.exe_name = exe_name
        self.procs = []

    @property
    def exe(self):
        return self.folder / self.exe_name

    @property
    def settings_path(self):
        return self.folder / SETTINGS_NAME

    def write_settings(self, content):
        """content: bytes as they are, or a list of text lines (CP932, CR LF)."""
        data = content if isinstance(content, bytes) else settings_bytes(content)
        self.settings_path.write_bytes(data)

    def read_settings(self):
        """The settings file's bytes, or None when there is none."""
        return self.settings_path.read_bytes() if self.settings_path.exists() else None

    def settings_lines(self):
        data = self.read_settings()
        if data is None:
            return None
        text = data.decode("cp932")
        assert text.endswith("\r\n") or text == "", f"settings file not CR LF ended: {data!r}"
        return text.split("\r\n")[:-1]

    def windows_path(self, name=""):
        return windows_path(self.folder / name) if name else windows_path(self.folder)

    def start(self, *args):
        """Starts the program (another instance when called again)."""
        proc = self.wine.popen([self.exe, *args], cwd=self.folder,
                               log=self.folder / "wine.log")
        self.procs.append(proc)
        return proc

    @property
    def proc(self):
        return self.procs[0] if self.procs else None

    def running(self, proc=None):
        proc = proc or self.proc
        return proc is not None and proc.poll() is None

    def wait_exit(self, timeout=60.0, proc=None):
        """The exit code once the process has ended (raises TimeoutExpired otherwise)."""
        return (proc or self.proc).wait(slowness.deadline(timeout))

    def windows(self, **filters):
        return self.driver.windows(exe=self.exe_name, **filters)

    def wait_window(self, timeout=60.0, **filters):
        return self.driver.wait_window(timeout=timeout, seen=self.describe, exe=self.exe_name,
                                       **filters)

    def msgboxes(self, **filters):
        return self.driver.msgboxes(exe=self.exe_name, **filters)

    def wait_msgbox(self, timeout=60.0, **filters):
        return self.driver.wait_msgbox(timeout=timeout, seen=self.describe, exe=self.exe_name,
                                       **filters)

    def describe(self):
        """For a timeout's message: how the processes started here stand, and what the driver
        sees of the program."""
        started = ", ".join(f"{p.pid} " + (f"running (its threads: {thread_waits(p.pid)})"
                                           if p.poll() is None else
                                           f"ended with {exit_meaning(p.returncode)}")
                            for p in self.procs)
        return f"started here: {started or 'nothing'}; {self.driver.describe(self.exe_name)}"

    def emulator_failure(self):
        """The line in which the emulator said that it failed under a process of this program
        that has ended, or None."""
        if all(p.poll() is None for p in self.procs):
            return None
        return emulator_failure_in(self.folder / "wine.log")

    def screenshot(self, xvfb, name="screen.png"):
        return xvfb.screenshot(self.folder / name)

    def kill(self):
        for proc in self.procs:
            stop(proc, timeout=10)
        # Windows processes that the program started itself (a help viewer, say).
        for p in self.driver.procs():
            if p["exe"].lower() in _SPAWNED:
                self.driver.call("kill", p["pid"], check=False)


# Programs a product test may leave running besides the program under test.
_SPAWNED = {"winhlp32.exe", "notepad.exe", "winedbg.exe"}


def make_folder(base: Path, exe: Path, extra=()):
    base.mkdir(parents=True, exist_ok=True)
    shutil.copy2(exe, base / exe.name)
    for f in extra:
        if f.is_file():
            shutil.copy2(f, base / f.name)
    return base


def ambrel_folder(base: Path):
    exe = require_file(AMBREL_EXE, "ambrel.exe")
    return make_folder(base, exe, extra=[WIN32_BUILD / HELP_NAME])
