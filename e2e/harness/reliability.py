"""What the reliability tests share: their short and long forms, the seed that makes a run
reproducible, the figures they leave for the README, damaged settings files made from a
seed, a small file system of the test's own, and the memory of a running program."""
import contextlib
import json
import os
import random
import subprocess
from pathlib import Path

from . import slowness
from .paths import STATE, HarnessError, ensure_dir, env_flag
from .proc import wait_until

# scripts/reliability.sh sets it: hundreds of trials instead of the test command's tens.
LONG = env_flag("AMBREL_RELIABILITY_LONG")
FIGURES = STATE / "reliability"


def scale(short, long):
    return long if LONG else short


def run_seed():
    """AMBREL_RELIABILITY_SEED when set (to replay a failure), otherwise a new one; each test
    names it in its figures and in every failure message."""
    text = os.environ.get("AMBREL_RELIABILITY_SEED", "")
    return int(text) if text else random.SystemRandom().randrange(1, 2**31)


def record_figures(name, **figures):
    """Leaves a test's figures where scripts/reliability.sh collects them."""
    figures = {"form": "long" if LONG else "short", **figures}
    ensure_dir(FIGURES)
    (FIGURES / f"{name}.json").write_text(json.dumps(figures, ensure_ascii=False, indent=1) + "\n",
                                          encoding="utf-8")
    print(f"\n{name}: {json.dumps(figures, ensure_ascii=False)}")
    return figures


# -- damaged settings files -------------------------------------------------------------------

# Shift-JIS lead bytes: a text that ends on one has lost the second byte of its character.
_LEAD_BYTES = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))


def _flip(rng, data):
    data = bytearray(data)
    for _ in range(rng.randint(1, 6)):
        if data:
            data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
    return bytes(data)


def _truncate(rng, data):
    return data[:rng.randrange(len(data) + 1)]


def _huge_line(rng, data):
    lines = data.split(b"\r\n")
    fill = rng.choice([b"9", b"x", b",", b" ", b'"', "漢".encode("cp932")])
    huge = fill * (rng.randint(64, 1024) * 1024 // len(fill))
    at = rng.randrange(len(lines) + 1)
    return b"\r\n".join(lines[:at] + [huge] + lines[at:])


def _insert(data, at, piece):
    return data[:at] + piece + data[at:]


def _nul_bytes(rng, data):
    for _ in range(rng.randint(1, 8)):
        data = _insert(data, rng.randrange(len(data) + 1), b"\0" * rng.randint(1, 3))
    return data


def _broken_double_byte(rng, data):
    # A lead byte right before a quote, a comma, a line end or the end of the file.
    stops = [i for i, b in enumerate(data) if b in b'",\r\n'] + [len(data)]
    for _ in range(rng.randint(1, 4)):
        data = _insert(data, rng.choice(stops), bytes([rng.choice(_LEAD_BYTES)]))
        stops = [i for i, b in enumerate(data) if b in b'",\r\n'] + [len(data)]
    return data


def _bare_line_ends(rng, data):
    ends = data.split(b"\r\n")
    out = ends[0]
    for piece in ends[1:]:
        out += rng.choice([b"\r\n", b"\r", b"\n", b"\n\r"]) + piece
    return out


def _junk(rng, data):
    junk = bytes(rng.randrange(256) for _ in range(rng.randint(1, 512)))
    if rng.random() < 0.3:
        return junk
    at = rng.randrange(len(data) + 1)
    return data[:at] + junk + data[at + rng.randint(0, len(junk)):]


DAMAGES = {
    "flipped bytes": _flip,
    "truncated": _truncate,
    "huge line": _huge_line,
    "NUL bytes": _nul_bytes,
    "broken double-byte": _broken_double_byte,
    "bare CR or LF": _bare_line_ends,
    "binary junk": _junk,
}


def damaged_files(seed, count, base: bytes):
    """count damaged variants of base, the same for the same seed: each is (kinds, bytes),
    one to three kinds of damage applied in turn. The kinds take turns as the first damage,
    so that even a short run meets each of them."""
    rng = random.Random(seed)
    names = list(DAMAGES)
    for i in range(count):
        kinds = [names[i % len(names)]]
        kinds += rng.sample(names, rng.randint(0, 2))
        data = base
        for kind in kinds:
            data = DAMAGES[kind](rng, data)
        yield kinds, data


# -- a small file system ----------------------------------------------------------------------

@contextlib.contextmanager
def small_disk(path: Path, size="2m"):
    """A tmpfs of `size` mounted at path for the block (the tests run as root). Whatever
    ran from it must have ended before the block ends; the unmount is then waited for, and
    a mount that stays busy is detached anyway and reported."""
    path.mkdir(parents=True, exist_ok=True)
    r = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size},mode=0755", "tmpfs",
                        str(path)], capture_output=True, text=True, timeout=slowness.deadline(30))
    if r.returncode != 0:
        raise HarnessError(f"cannot mount a tmpfs at {path}: {r.stderr.strip()}")
    try:
        yield path
    finally:
        _unmount(path)


def _unmount(path: Path):
    def unmounted():
        return (subprocess.run(["umount", str(path)], capture_output=True,
                               timeout=slowness.deadline(30)).returncode == 0
                or not os.path.ismount(path))
    try:
        wait_until(unmounted, 30, interval=0.2, what=f"{path} to be unmounted")
    except TimeoutError:
        subprocess.run(["umount", "-l", str(path)], capture_output=True,
                       timeout=slowness.deadline(30))
        raise HarnessError(f"{path} stayed busy; detached it lazily")


def fill_up(folder: Path, name="FILLER"):
    """Writes into folder until its file system is full; returns the filler's path."""
    filler = folder / name
    with open(filler, "wb", buffering=0) as f:
        for chunk in (1 << 16, 1 << 12, 1):
            try:
                while True:
                    f.write(b"\0" * chunk)
            except OSError:
                pass
    return filler


# -- memory of a running program --------------------------------------------------------------

def resident_kib(pid, guest_base=None):
    """Resident memory of a Linux process (wine's process of the program), in KiB.

    Under qemu (`guest_base`, QEMU_GUEST_BASE) only the emulated 32-bit address space counts:
    the emulator keeps its own memory beside it, above all the code it translates, which grows
    each time the program loads a library or plays a sound anew (measured: 12 MB over 100
    notices, against 60 KB for the whole address space the program sees)."""
    if guest_base is None:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
        raise HarnessError(f"no VmRSS for process {pid}")
    low = int(guest_base, 0)
    high = low + (1 << 32)
    total, inside = 0, False
    for line in Path(f"/proc/{pid}/smaps").read_text().splitlines():
        head = line.split(" ", 1)[0]
        if "-" in head and ":" not in head:
            start = int(head.split("-")[0], 16)
            inside = low <= start < high
        elif inside and line.startswith("Rss:"):
            total += int(line.split()[1])
    return total


def wait_process_gone(driver, exe="ambrel.exe", timeout=90.0):
    """Until wine's server no longer lists a process of exe. Once it does not, the handles
    it held (the single-instance mutex, open files) are closed."""
    wait_until(lambda: not driver.procs(exe=exe), timeout, what=f"no {exe} process")

