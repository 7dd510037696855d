"""One e2e session at a time per work tree: sessions share the prefix, the wineserver and
the sound server's socket, and the end of one (wineserver -k) would kill the other's
programs. A second session waits for the first."""
import fcntl
import os
import sys
import time
from pathlib import Path

from .paths import HarnessError


class SessionLock:
    def __init__(self, path: Path):
        self.path = path
        self.file = None

    def acquire(self, timeout=1800.0):
        self.file = open(self.path, "a+")
        deadline = time.monotonic() + timeout
        announced = False
        while True:
            try:
                fcntl.flock(self.file, fcntl.LOCK_EX | fcntl.LOCK_NB)
                break
            except BlockingIOError:
                if not announced:
                    self.file.seek(0)
                    holder = self.file.read().strip() or "unknown"
                    print(f"\ne2e: waiting for another session ({holder}) to end",
                          file=sys.stderr, flush=True)
                    announced = True
                if time.monotonic() > deadline:
                    raise HarnessError(f"another e2e session holds {self.path}")
                time.sleep(1)
        self.file.seek(0)
        self.file.truncate()
        self.file.write(f"pid {os.getpid()}\n")
        self.file.flush()
        return self

    def release(self):
        if self.file:
            fcntl.flock(self.file, fcntl.LOCK_UN)
            self.file.close()
            self.file = None
