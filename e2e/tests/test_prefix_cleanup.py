"""The harness leaves nothing of a wine prefix running: not after an attempt to prepare it
that stalled, nor after the session's end.

The stall is made on purpose: each attempt starts a program in a new prefix, waits until the
prefix's own service processes run beside it, and gives up there, as `wineboot -i` now and
then stalls under qemu. Beside the program stands a process of the prefix that its wineserver
does not know (as a qemu wrapper stuck before it reached the server): `wineserver -k` cannot
end it, only its process id can."""
import shutil
import subprocess

import pytest

from harness import slowness
from harness.paths import STATE, HarnessError
from harness.proc import wait_until
from harness.wine import Wine

# The program, the wineserver and at least one process the prefix's start-up spawned.
STALLED_PROCESSES = 3


class StallingWine(Wine):
    PREFIX_ATTEMPTS = 2

    def __init__(self, *args):
        super().__init__(*args)
        self.left_at_attempt = []  # what each attempt found still running when it began
        self.stalled = []  # what each attempt left running when it gave up
        self.strays = []

    def abandon_processes(self):
        self.popen(["notepad"], log=self.state_dir / "abandoned.log")
        self.strays.append(subprocess.Popen(["sleep", "600"], env=self.env))
        return wait_until(lambda: len(self.processes()) >= STALLED_PROCESSES + 1 and
                          self.processes(), 600, what="the prefix's processes to start")

    def _prepare_prefix(self):
        self.left_at_attempt.append(self.processes())
        self.stalled.append(self.abandon_processes())
        return False


@pytest.fixture
def stalling_wine(xvfb, pulse):
    folder = STATE / "stalling"
    shutil.rmtree(folder, ignore_errors=True)
    w = StallingWine(folder / "wineprefix", folder, xvfb.display, pulse.client_env())
    yield w
    w.end_processes()
    for stray in w.strays:
        stray.wait(slowness.deadline(10))
    shutil.rmtree(folder, ignore_errors=True)


def test_stalled_attempts_and_the_sessions_end_leave_no_process_of_the_prefix(stalling_wine):
    w = stalling_wine
    with pytest.raises(HarnessError, match="did not finish"):
        w.start()
    assert len(w.stalled) == StallingWine.PREFIX_ATTEMPTS
    # The second attempt began with nothing of the first left: only its own new server.
    first = set(w.stalled[0])
    assert not first & set(w.left_at_attempt[1]), (w.stalled[0], w.left_at_attempt[1])
    assert not w.processes()
    assert all(stray.poll() is not None for stray in w.strays)

    # A session whose programs were abandoned: its end leaves none of them.
    w._start_server()
    w.abandon_processes()
    w.stop()
    assert not w.processes()
    assert w.strays[-1].poll() is not None
