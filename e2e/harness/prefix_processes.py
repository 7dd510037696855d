"""The Linux processes of one wine prefix, found by the WINEPREFIX in their environment and
ended by process id: never by name, since other work on the machine may run wine too.

Under qemu every 32-bit wine process is a qemu-i386 process with the same id and the same
environment, so the one scan finds the program and its wrapper alike. A stalled `wineboot`
leaves processes that `wineserver -k` does not end (its server may be gone, or the prefix
folder made anew under it, which gives a new server): only their ids reach them."""
import os
import signal
import time
from pathlib import Path

from . import slowness
from .paths import HarnessError


def _own_line():
    """This process and its ancestors, which a cleanup must never end."""
    pids, pid = set(), os.getpid()
    while pid > 1:
        pids.add(pid)
        try:
            pid = int(Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[1])
        except (OSError, ValueError, IndexError):
            break
    return pids


def _names(prefix, within):
    wanted = b"WINEPREFIX=" + os.fsencode(str(Path(prefix)))
    if within:
        return lambda var: var == wanted or var.startswith(wanted + b"/")
    return lambda var: var == wanted


def processes_of(prefix, within=False) -> dict:
    """{pid: command line} of every live process whose environment names this prefix (with
    `within`, also any prefix in a folder below it)."""
    names = _names(prefix, within)
    own, found = _own_line(), {}
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) in own:
            continue
        try:
            # A zombie's environment reads empty: it has ended and needs no signal.
            if not any(names(var) for var in (entry / "environ").read_bytes().split(b"\0")):
                continue
            cmdline = (entry / "cmdline").read_bytes().replace(b"\0", b" ").strip()
        except OSError:
            continue  # gone meanwhile, or not ours to read
        found[int(entry.name)] = cmdline.decode(errors="replace")
    return found


def end_processes_of(prefix, within=False, timeout=30.0) -> dict:
    """Kills every process of the prefix and waits until none is left; returns what it
    ended. Raises HarnessError naming the processes that outlive SIGKILL."""
    ended = {}
    deadline = time.monotonic() + slowness.deadline(timeout)
    while True:
        alive = processes_of(prefix, within)
        if not alive:
            return ended
        if time.monotonic() > deadline:
            listing = "; ".join(f"{pid} {cmd}" for pid, cmd in sorted(alive.items()))
            raise HarnessError(f"processes of the wine prefix {prefix} outlive SIGKILL: {listing}")
        for pid, cmd in alive.items():
            ended.setdefault(pid, cmd)
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        time.sleep(0.1)


def main(argv):
    """`python3 -m harness.prefix_processes FOLDER...`: ends what the wine prefixes in these
    folders left running, says so, and exits 1 when anything had been left."""
    leftovers = False
    for prefix in argv:
        ended = end_processes_of(prefix, within=True)
        for pid, cmd in sorted(ended.items()):
            print(f"e2e: ended process {pid} left running in {prefix}: {cmd}")
        leftovers = leftovers or bool(ended)
    return 1 if leftovers else 0


if __name__ == "__main__":
    import sys
    sys.exit(main(sys.argv[1:]))
