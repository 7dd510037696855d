#!/usr/bin/env python3
"""Writes a short two-note chime as a WAV file (16-bit mono PCM, 22,050 Hz): the sound the
clock plays from a fresh wine prefix, where its default sound file would otherwise be
missing.

    tools/chime/make_chime.py OUT.wav

The notes are bell-like: a fundamental with two softer overtones, a quick attack and an
exponential decay, the second note entering while the first fades. Same bytes every run."""
import math
import sys
import wave
from array import array

RATE = 22050
SECONDS = 0.9
# (start in seconds, frequency in Hz): E6 then C6.
NOTES = ((0.0, 1318.5), (0.25, 1046.5))
OVERTONES = ((1.0, 1.0), (2.0, 0.35), (3.0, 0.12))  # (multiple, relative amplitude)
DECAY = 6.0  # per second
ATTACK = 0.005  # seconds


def sample(t):
    value = 0.0
    for start, frequency in NOTES:
        local = t - start
        if local < 0:
            continue
        envelope = math.exp(-DECAY * local) * min(1.0, local / ATTACK)
        for multiple, amplitude in OVERTONES:
            value += amplitude * envelope * math.sin(2 * math.pi * frequency * multiple * local)
    return value


def main(path):
    values = [sample(i / RATE) for i in range(int(SECONDS * RATE))]
    scale = 0.6 * 32767 / max(abs(v) for v in values)
    # The last few milliseconds fade to nothing, so the end makes no click.
    fade = int(0.01 * RATE)
    for i in range(fade):
        values[-1 - i] *= i / fade
    pcm = array("h", (int(round(v * scale)) for v in values))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(pcm.tobytes())


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_chime.py OUT.wav")
    main(sys.argv[1])
