"""The suite's own 32-bit wine prefix with the Japanese locale, its persistent wineserver,
and starting Windows programs in it."""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

from . import slowness
from .paths import REPO, HarnessError, ensure_dir
from .prefix_processes import end_processes_of, processes_of
from .proc import wait_until

# Bump when the prefix's preparation changes, so that an old prefix is made anew.
PREFIX_RECIPE = "3"

BASE_ENV = {
    "WINEARCH": "win32",
    # ja_JP.UTF-8 makes wine's ANSI code page 932, as on a Japanese Windows.
    "LC_ALL": "ja_JP.UTF-8",
    "LANG": "ja_JP.UTF-8",
    "WINEDEBUG": "-all",
    # No Mono or Gecko installer prompts, no desktop menu entries: none is needed here
    # and each costs seconds.
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}


# What wine under qemu writes when the emulation, not the program, fails: qemu's own fatal
# signal, or wine's unix side finding its stack or its pipe to the server corrupted. A fault of
# a Windows program itself is an exception that wine reports, never one of these.
EMULATOR_FAILURES = ("qemu: uncaught target signal", "stack smashing detected",
                     "wine client error")


def emulator_failure_in(log: Path, start=0):
    """The first line of a process's log (from byte `start` on) in which the emulator said
    that it failed, or None."""
    if not log.exists():
        return None
    text = log.read_bytes()[start:].decode(errors="replace")
    return next((line.strip() for line in text.splitlines()
                 if any(failure in line for failure in EMULATOR_FAILURES)), None)


def wine32_environment(out_dir: Path) -> dict:
    """Makes 32-bit programs runnable (see e2e/wine32/setup.sh); returns the variables
    that wine's processes and server need for it (none on a kernel that runs them)."""
    script = REPO / "e2e" / "wine32" / "setup.sh"
    r = subprocess.run(["bash", str(script), str(out_dir)], capture_output=True, text=True,
                       timeout=slowness.deadline(120), stdin=subprocess.DEVNULL)
    if r.returncode != 0:
        raise HarnessError("32-bit wine cannot run here: " + r.stderr.strip())
    return dict(line.split("=", 1) for line in r.stdout.splitlines() if "=" in line)


X11_DRIVER = r"HKCU\Software\Wine\X11 Driver"


class Wine:
    """One prefix and its wineserver; every wine process of the suite goes through here.

    `x11_settings` are values of the prefix's X11 driver key beyond the suite's own (Managed
    "N"), set when the prefix is made; a prefix made with others is made anew."""

    def __init__(self, prefix: Path, state_dir: Path, display: str, pulse_env: dict,
                 x11_settings=None):
        self.prefix = prefix
        self.x11_settings = dict(x11_settings or {})
        self.state_dir = ensure_dir(state_dir)
        self.env = dict(os.environ)
        for name in ("WINELOADER", "WINESERVER", "WINEDLLPATH"):
            self.env.pop(name, None)
        self.env.update(BASE_ENV)
        self.env.update(pulse_env)
        self.env["WINEPREFIX"] = str(prefix)
        self.env["DISPLAY"] = display
        self.env.update(wine32_environment(state_dir / "wine32"))
        self.server_started = False

    # -- processes ------------------------------------------------------------------------

    def popen(self, args, cwd=None, log: Path = None, **kwargs):
        """Starts a wine process. Its output goes to a file, never to a pipe that the
        prefix's own service processes could inherit and hold open."""
        out = open(log, "ab") if log else subprocess.DEVNULL
        try:
            return subprocess.Popen(["wine", *map(str, args)], env=self.env, cwd=cwd,
                                    stdin=kwargs.pop("stdin", subprocess.DEVNULL),
                                    stdout=kwargs.pop("stdout", out), stderr=out, **kwargs)
        finally:
            if log:
                out.close()

    def run(self, args, timeout=120, cwd=None):
        log = self.state_dir / "wine-run.log"
        proc = self.popen(args, cwd=cwd, log=log)
        limit = slowness.deadline(timeout)
        try:
            return proc.wait(limit)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            raise HarnessError(f"wine {' '.join(map(str, args))} did not end in {limit:.0f} s")

    def wineserver(self, *args, timeout=60):
        return subprocess.run(["wineserver", *args], env=self.env,
                              timeout=slowness.deadline(timeout), stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    # -- prefix and server ----------------------------------------------------------------

    def _stamp(self):
        version = subprocess.run(["wine", "--version"], env=self.env, capture_output=True,
                                 text=True, timeout=slowness.deadline(60)).stdout.strip()
        settings = "".join(f" {name}={value}" for name, value in sorted(self.x11_settings.items()))
        return f"{version} recipe {PREFIX_RECIPE}{settings}\n"

    # Under qemu, wineboot now and then stalls for good while it sets a prefix up (no CPU
    # used, its window saying that it is updating the prefix); a fresh attempt then goes
    # through in well under a minute.
    PREFIX_ATTEMPTS = 3
    PREFIX_SECONDS = 240

    def start(self):
        """Prepares the prefix when it is missing or stale, and keeps a wineserver running
        for the whole session (a process start then costs about a third)."""
        stamp_file = self.prefix / ".e2e-ready"
        stamp = self._stamp()
        fresh = not (stamp_file.is_file() and stamp_file.read_text() == stamp)
        # What a session that was killed left running: its server would refuse to be
        # replaced, and its programs would hold the prefix.
        self.end_processes()
        self.prefix_seconds = 0.0
        self.boot_shortfall = None
        self._give_windows_fanfare()
        if not fresh:
            self._start_server()
            self._boot_session()
            return self
        started = time.monotonic()
        for attempt in range(1, self.PREFIX_ATTEMPTS + 1):
            if self.prefix.exists():
                shutil.rmtree(self.prefix)
            ensure_dir(self.prefix)
            self._start_server()
            if self._prepare_prefix():
                self._give_windows_fanfare()
                stamp_file.write_text(stamp)
                self.prefix_seconds = time.monotonic() - started
                # The desktop that wineboot started read the display's monitors before the
                # settings were in place: the server ends (saving them), and the session's own
                # starts the desktop anew.
                self.stop()
                self._start_server()
                self._boot_session()
                return self
            print(f"\ne2e: preparing the wine prefix stalled (attempt {attempt}); starting afresh",
                  file=sys.stderr)
            self.end_processes()
        raise HarnessError(f"wineboot -i did not finish in {self.PREFIX_ATTEMPTS} attempts; see " +
                           str(self.state_dir / "wine-run.log"))

    @property
    def windows_fanfare(self) -> Path:
        """Where Windows keeps its fanfare, the sound the default settings' c:\\WINDOWS\\TADA.WAV
        stands for."""
        return self.prefix / "drive_c" / "windows" / "Media" / "tada.wav"

    def _give_windows_fanfare(self):
        """Our chime there, as every Windows since XP has a tada.wav; made at each session's
        start, so that a test that took it away cannot leave the prefix without it."""
        if self.prefix.joinpath("drive_c", "windows").is_dir():
            ensure_dir(self.windows_fanfare.parent)
            make_chime = REPO / "tools" / "chime" / "make_chime.py"
            subprocess.run([sys.executable, str(make_chime), str(self.windows_fanfare)],
                           check=True, timeout=slowness.deadline(60))

    def _prepare_prefix(self):
        try:
            if self.run(["wineboot", "-i"], timeout=self.PREFIX_SECONDS) != 0:
                return False
            # Unmanaged windows: without a window manager a managed dialog waits about
            # two seconds for one before it closes.
            for name, value in {"Managed": "N", **self.x11_settings}.items():
                self.run(["reg", "add", X11_DRIVER, "/v", name, "/d", value, "/f"], timeout=120)
            return True
        except HarnessError:
            return False

    def _start_server(self):
        # -p: persistent until killed at the end of the session.
        if subprocess.run(["wineserver", "-p"], env=self.env, timeout=slowness.deadline(60),
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode != 0:
            raise HarnessError("wineserver did not start")
        self.server_started = True

    BOOT_ATTEMPTS = 3
    # What a booted session runs: the service manager, and the services that programs later
    # call on (device notifications go to plugplay, drives and devices to the device host).
    SESSION_SERVICES = ("services.exe", "plugplay.exe", "winedevice.exe")

    def _boot_session(self):
        """A new server's first Windows process makes wine boot the session (wineboot --init,
        which starts services.exe and the services). Under qemu a program started while that
        boot runs crashes in the emulator more often than not (measured: 6 of 6 driver starts
        during the boot, 0 of 4 after it), so a command of wine's own sets the boot going and
        the session waits until it is over. The boot can fail itself: a service that the
        emulator crashed as it started is missing for the whole session, and a program that
        calls on it later waits for ever (seen: the start of a sound, without plugplay.exe).
        Such a boot is ended and done again on a fresh server."""
        log = self.state_dir / "wine-run.log"
        for attempt in range(1, self.BOOT_ATTEMPTS + 1):
            start = log.stat().st_size if log.exists() else 0

            def booted():
                if any("wineboot.exe" in c for c in self.processes().values()):
                    return None
                if not self._missing_services():
                    return "booted"
                # wineboot waits until the services have started, so once it has gone a
                # missing one is lost when the emulator said that it failed meanwhile (the
                # boot's processes write to this log). Such lines are common in a boot under
                # qemu that goes well, so only a missing service makes one count.
                return emulator_failure_in(log, start)

            # Its own end says nothing: the emulator may fail under it as well.
            self.run(["cmd", "/c", "exit"], timeout=120)
            try:
                outcome = wait_until(booted, 120, interval=0.2, what="wine's boot of the session")
            except TimeoutError:
                outcome = f"running only {sorted(set(self.processes().values()))}"
            if outcome == "booted":
                return
            if attempt == self.BOOT_ATTEMPTS:
                break
            print(f"\ne2e: wine's boot of the session failed ({outcome}); attempt {attempt} of "
                  f"{self.BOOT_ATTEMPTS}, the server started afresh", file=sys.stderr)
            self.end_processes()
            self._start_server()
        # A loaded machine can fail every boot; most tests pass without a service (only some
        # of wine's calls wait on one), so the session goes on, and says so.
        missing = self._missing_services()
        self.boot_shortfall = (f"wine's boot of the session lost {', '.join(missing) or 'nothing'} "
                               f"in all {self.BOOT_ATTEMPTS} attempts (last: {outcome}); "
                               f"the session went on without")
        print(f"\ne2e: {self.boot_shortfall}", file=sys.stderr)

    def _missing_services(self):
        commands = " ".join(self.processes().values())
        return [name for name in self.SESSION_SERVICES if name not in commands]

    def processes(self) -> dict:
        """{pid: command line} of every process of this prefix still running."""
        return processes_of(self.prefix)

    def end_processes(self) -> dict:
        """Ends the prefix's server and every process of the prefix, also those the server
        no longer knows (a stalled attempt's, a killed session's); returns those that had to
        be killed by id. Raises HarnessError when any is left."""
        if self.processes():
            try:
                self.wineserver("-k", timeout=30)
            except subprocess.TimeoutExpired:
                pass  # what it did not end is killed by id below
        self.server_started = False
        return end_processes_of(self.prefix)

    def stop(self):
        """Ends the session's server and everything of the prefix, then checks that none is
        left (HarnessError otherwise)."""
        if self.server_started:
            self.wineserver("-k")
            try:
                wait_until(lambda: self.wineserver("-w", timeout=30) == 0, 30,
                           what="the wineserver to end")
            except (TimeoutError, subprocess.TimeoutExpired):
                pass
        for pid, cmd in sorted(self.end_processes().items()):
            print(f"\ne2e: ended process {pid} that outlived the wineserver: {cmd}",
                  file=sys.stderr)
