#!/usr/bin/env python3
"""Remakes resources/harp.aif, the sound played when a filtered movie is done:
a rising arpeggio of plucked strings (Karplus-Strong synthesis), 16-bit mono
AIFF at 44.1 kHz. Deterministic: the same bytes every run."""
import math
import random
import struct
import sys
from pathlib import Path

RATE = 44100
LENGTH = 1.6  # seconds
NOTES = [261.63, 329.63, 392.00, 523.25, 659.25, 783.99, 1046.50]  # C major, two octaves
STEP = 0.07  # seconds between plucks


def pluck(frequency, samples, rng):
    period = max(2, round(RATE / frequency))
    line = [rng.uniform(-1, 1) for _ in range(period)]
    out = []
    for i in range(samples):
        value = line[i % period]
        following = line[(i + 1) % period]
        # Averaging neighbours damps the high harmonics first, as a string does.
        line[i % period] = 0.996 * 0.5 * (value + following)
        out.append(value)
    return out


def extended(value):
    """An IEEE 754 80-bit extended float, as AIFF stores the sample rate."""
    exponent = int(math.floor(math.log2(value)))
    mantissa = int(value / 2 ** exponent * (1 << 63))
    return struct.pack(">HQ", exponent + 16383, mantissa)


def main():
    rng = random.Random(1969)
    total = int(RATE * LENGTH)
    mix = [0.0] * total
    for n, frequency in enumerate(NOTES):
        start = int(n * STEP * RATE)
        for i, value in enumerate(pluck(frequency, total - start, rng)):
            mix[start + i] += value
    # A short fade keeps the end free of a click.
    fade = int(0.2 * RATE)
    for i in range(fade):
        mix[total - fade + i] *= 1 - i / fade
    peak = max(abs(v) for v in mix)
    frames = b"".join(struct.pack(">h", int(v / peak * 0.7 * 32767)) for v in mix)
    common = struct.pack(">hIh", 1, total, 16) + extended(RATE)
    sound = struct.pack(">II", 0, 0) + frames
    body = b"AIFF" + b"COMM" + struct.pack(">I", len(common)) + common + b"SSND" + struct.pack(">I", len(sound)) + sound
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "harp.aif"
    target.write_bytes(b"FORM" + struct.pack(">I", len(body)) + body)


main()
