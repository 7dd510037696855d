"""The wall clock of one program under test, set by the suite.

The driver's probe library redirects the program's imports of GetLocalTime, GetSystemTime and
GetSystemTimeAsFileTime to a clock of the suite's own when the program makes its first window,
so before its first tick; the machine's clock and every other process keep the real time. The
clock either stands still (frozen) or runs on at the real pace from where it was set.

Tests that depend on a moment freeze the clock there, observe the program at that moment (the
display shows its second), and only then move on, so that no test depends on how fast the
program starts or the harness acts. `start_program` fails loudly when the program does not
read the controlled clock; it never runs on the real one."""
from datetime import datetime

from .paths import HarnessError
from .proc import wait_until


def _stamp(when: datetime):
    return when.strftime("%Y-%m-%d"), when.strftime("%H:%M:%S")


class ProgramClock:
    def __init__(self, driver, app):
        self.driver = driver
        self.app = app

    def _call(self, *args):
        return self.driver.one("clock", *args)

    def control(self, when: datetime, frozen=True):
        """From the program's next start on, its clock shows `when`: standing still there when
        frozen, running on from it otherwise. Called before the program starts."""
        return self._call("control", self.app.windows_path(self.app.exe_name), *_stamp(when),
                          *(["--frozen"] if frozen else []))

    def set(self, when: datetime):
        """The clock shows `when` from now on; frozen or running as it was."""
        return self._call("set", *_stamp(when))

    def move(self, seconds):
        return self._call("move", int(seconds))

    def freeze(self):
        return self._call("freeze")

    def run(self):
        return self._call("run")

    def status(self):
        return self._call("status")

    def now(self) -> datetime:
        return datetime.fromisoformat(self.status()["now"])

    def start_program(self, timeout=120.0):
        """Starts the program and returns once it has read the controlled clock; raises
        HarnessError when the probe met it but could not redirect its clock, and TimeoutError
        when it never read it."""
        self.app.start()

        def redirected():
            status = self.status()
            if status["failure"]:
                raise HarnessError(f"the program's clock could not be controlled: "
                                   f"{status['failure']}")
            if not self.app.running():
                raise HarnessError("the program ended before it read the controlled clock")
            return status["pid"] and status["reads"] > 0
        wait_until(redirected, timeout, what="the program to read the controlled clock",
                   seen=lambda: f"the clock's status {self.status()}")

    def release(self):
        self.driver.call("clock", "off")


