"""Test tones and what a recording holds: when the sound starts, how long it lasts and its
dominant frequency."""
import math
import re
import struct
import subprocess
import wave
from array import array
from dataclasses import dataclass
from pathlib import Path

from . import slowness


def write_tone(path: Path, frequency=880.0, seconds=1.0, rate=22050, amplitude=0.5):
    """A pure sine tone, 16-bit mono PCM, the kind of WAV the MCI wave device plays."""
    n = int(seconds * rate)
    peak = int(32767 * amplitude)
    samples = array("h", (int(peak * math.sin(2 * math.pi * frequency * i / rate))
                          for i in range(n)))
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(samples.tobytes())
    return path


@dataclass
class Sound:
    rate: int
    total: float        # length of the whole recording, seconds
    onset: float        # first sounding moment, seconds from the start of the recording
    duration: float     # from the first to the last sounding moment, seconds
    fill: float         # share of that span that sounds (drop-outs lower it)
    frequency: float    # dominant frequency from zero crossings, Hz (0 when silent)
    peak: float         # largest absolute sample, 0..1
    # How long a tone sounded: its periods counted over the span, by the frequency. A
    # drop-out (an underrun of a busy machine) breaks no period in two, where it turns two
    # 10 ms windows into sounding ones, however little of them sounds.
    sounding: float = 0.0

    @property
    def silent(self):
        return self.duration == 0


def read_samples(path: Path):
    with wave.open(str(path), "rb") as w:
        rate, channels, width = w.getframerate(), w.getnchannels(), w.getsampwidth()
        frames = w.readframes(w.getnframes())
    if width != 2:
        raise ValueError(f"{path}: {8 * width}-bit samples, 16 expected")
    samples = array("h")
    samples.frombytes(frames[: len(frames) // 2 * 2])
    if channels > 1:
        samples = samples[::channels]
    return rate, samples


def read_growing(path: Path):
    """The samples of a 16-bit mono WAV file that a recorder is still writing: its header
    does not give the final sizes yet, so the data chunk runs to the end of the file."""
    data = Path(path).read_bytes()
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return 0, array("h")
    rate, pos = 0, 12
    while pos + 8 <= len(data):
        chunk, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        if chunk == b"fmt " and pos + 16 <= len(data):
            rate = struct.unpack_from("<I", data, pos + 12)[0]
        if chunk == b"data":
            body = data[pos + 8:]
            samples = array("h")
            samples.frombytes(body[: len(body) // 2 * 2])
            return rate, samples
        pos += 8 + size + (size & 1)
    return rate, array("h")


def loud_windows(samples, rate, threshold=0.02, window_ms=10):
    """One flag per 10 ms window: whether its RMS is above threshold (a share of full
    scale)."""
    window = max(1, rate * window_ms // 1000)
    limit = threshold * 32768
    loud = []
    for start in range(0, len(samples) - window + 1, window):
        chunk = samples[start:start + window]
        loud.append(math.sqrt(sum(s * s for s in chunk) / window) > limit)
    return loud


def analyse(path: Path, threshold=0.02, window_ms=10):
    """Finds the sounding part of a recording (10 ms windows whose RMS is above threshold,
    as a share of full scale) and measures it."""
    rate, samples = read_samples(path)
    window = max(1, rate * window_ms // 1000)
    loud = loud_windows(samples, rate, threshold, window_ms)
    total = len(samples) / rate
    if not any(loud):
        return Sound(rate, total, 0.0, 0.0, 0.0, 0.0, 0.0)
    first = loud.index(True)
    last = len(loud) - 1 - loud[::-1].index(True)
    span = loud[first:last + 1]
    part = samples[first * window:(last + 1) * window]
    # The median over 50 ms blocks: a drop-out in the playback (an underrun when the
    # machine is busy) then shifts no estimate, where one count over the whole span would.
    block = 5 * window
    estimates = sorted(
        f for f in (_crossing_frequency(samples[i:i + block], rate)
                    for i in range(first * window, (last + 1) * window - block + 1, block)
                    if all(loud[i // window:(i + block) // window]))
        if f > 0)
    frequency = (estimates[len(estimates) // 2] if estimates
                 else _crossing_frequency(part, rate))
    periods = sum(1 for i in range(1, len(part)) if part[i - 1] < 0 <= part[i])
    return Sound(rate=rate, total=total, onset=first * window / rate,
                 duration=len(span) * window / rate, fill=sum(span) / len(span),
                 frequency=frequency, peak=max(abs(s) for s in part) / 32768,
                 sounding=periods / frequency if frequency else 0.0)


def _crossing_frequency(samples, rate):
    """Upward zero crossings, interpolated between samples, give the period of a tone."""
    crossings = []
    for i in range(1, len(samples)):
        a, b = samples[i - 1], samples[i]
        if a < 0 <= b:
            crossings.append(i - 1 + (-a) / (b - a))
    if len(crossings) < 3:
        return 0.0
    return (len(crossings) - 1) * rate / (crossings[-1] - crossings[0])


def sox_stat(path: Path):
    """sox's own view of a file ("sox f.wav -n stat"): length, RMS, rough frequency..."""
    r = subprocess.run(["sox", str(path), "-n", "stat"], capture_output=True, text=True,
                       timeout=slowness.deadline(30))
    stats = {}
    for line in r.stderr.splitlines():
        m = re.match(r"^(.+?):\s+(-?[\d.]+)\s*$", line)
        if m:
            stats[m.group(1).strip()] = float(m.group(2))
    return stats
