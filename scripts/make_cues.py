#!/usr/bin/env python3
"""Writes the program's built-in sound cues as RIFF WAVE files.

Every cue is mono PCM, 8-bit ("PAS" 16-bit), between 8000 and 22050 Hz and
between 0.08 and 0.64 s long, small enough to live inside the executable.
The output is deterministic, so running this again gives the same bytes.

    python3 scripts/make_cues.py [output folder]   (default: resources/sounds)
"""

import math
import os
import struct
import sys
import wave

RATE = 22050


def tone(freq, start, length, peak, decay, attack=0.004, partials=((1.0, 1.0),), glide=None):
    """One voice: a sum of sine partials under a soft attack and an
    exponential decay. `glide` (end frequency) bends the pitch over the
    voice's length. Returns (start sample, list of floats)."""
    n = int(length * RATE)
    out = []
    phase = [0.0] * len(partials)
    for i in range(n):
        t = i / RATE
        f = freq if glide is None else freq * (glide / freq) ** (t / length)
        env = peak * math.exp(-t / decay)
        if t < attack:
            env *= math.sin(0.5 * math.pi * t / attack)
        v = 0.0
        for k, (ratio, amp) in enumerate(partials):
            phase[k] += 2.0 * math.pi * f * ratio / RATE
            v += amp * math.sin(phase[k])
        out.append(env * v)
    return int(start * RATE), out


def mix(length, voices):
    # An even sample count keeps every chunk of the file word-aligned.
    n = int(length * RATE) // 2 * 2
    buf = [0.0] * n
    for start, samples in voices:
        for i, v in enumerate(samples):
            if start + i < n:
                buf[start + i] += v
    # A short fade at the end so that no cue stops with a click.
    fade = int(0.012 * RATE)
    for i in range(fade):
        buf[n - 1 - i] *= i / fade
    return buf


BELL = ((1.0, 0.75), (2.0, 0.18), (3.0, 0.07))
SOFT = ((1.0, 0.9), (2.0, 0.1))
PURE = ((1.0, 1.0),)


def cue_ope():
    # Opening: a rising two-note chime (E5, A5).
    return mix(0.36, [tone(659.3, 0.0, 0.36, 0.45, 0.10, partials=BELL),
                      tone(880.0, 0.09, 0.27, 0.50, 0.10, partials=BELL)])


def cue_clo():
    # Closing: the same chime falling (A5, E5).
    return mix(0.36, [tone(880.0, 0.0, 0.36, 0.45, 0.10, partials=BELL),
                      tone(659.3, 0.09, 0.27, 0.50, 0.10, partials=BELL)])


def cue_sav():
    # Save: a bright quick confirm, a rising major arpeggio ending high.
    return mix(0.32, [tone(1046.5, 0.0, 0.32, 0.35, 0.05, partials=BELL),
                      tone(1318.5, 0.05, 0.27, 0.35, 0.05, partials=BELL),
                      tone(1568.0, 0.10, 0.22, 0.45, 0.08, partials=BELL)])


def cue_del():
    # Delete: a low soft thud gliding down.
    return mix(0.26, [tone(330.0, 0.0, 0.26, 0.85, 0.07, attack=0.003, partials=SOFT, glide=90.0)])


def cue_cop():
    # Copy: a quick double tick.
    tick = ((1.0, 0.8), (1.5, 0.2))
    return mix(0.15, [tone(2200.0, 0.0, 0.04, 0.6, 0.008, attack=0.001, partials=tick),
                      tone(2600.0, 0.07, 0.04, 0.6, 0.008, attack=0.001, partials=tick)])


def cue_c1():
    # A short click.
    return mix(0.09, [tone(1500.0, 0.0, 0.05, 0.7, 0.006, attack=0.0007, partials=((1.0, 0.7), (2.7, 0.3)))])


def cue_pop():
    # A light bubble pop: a quick upward sweep.
    return mix(0.11, [tone(350.0, 0.0, 0.09, 0.75, 0.03, attack=0.002, partials=PURE, glide=1400.0)])


def cue_pas():
    # Password prompt: a gentle three-note rise (C5, E5, G5), soft attacks.
    return mix(0.60, [tone(523.3, 0.00, 0.60, 0.30, 0.20, attack=0.015, partials=SOFT),
                      tone(659.3, 0.13, 0.47, 0.30, 0.20, attack=0.015, partials=SOFT),
                      tone(784.0, 0.26, 0.34, 0.32, 0.16, attack=0.015, partials=SOFT)])


def cue_rml():
    # Mail result: a ding-dong mail chime (B5, G5) with bell overtones.
    return mix(0.56, [tone(987.8, 0.0, 0.56, 0.45, 0.16, partials=BELL),
                      tone(784.0, 0.16, 0.40, 0.45, 0.16, partials=BELL)])


# name, generator, bits per sample
CUES = [
    ("OPE", cue_ope, 8),
    ("CLO", cue_clo, 8),
    ("SAV", cue_sav, 8),
    ("DEL", cue_del, 8),
    ("COP", cue_cop, 8),
    ("C1", cue_c1, 8),
    ("POP", cue_pop, 8),
    ("PAS", cue_pas, 16),
    ("RML", cue_rml, 8),
]


def encode(samples, bits):
    if bits == 8:
        # 8-bit PCM is unsigned with silence at 128.
        return bytes(max(0, min(255, 128 + round(v * 127))) for v in samples)
    return b"".join(struct.pack("<h", max(-32768, min(32767, round(v * 32767)))) for v in samples)


def write_cue(folder, name, samples, bits):
    path = os.path.join(folder, name + ".wav")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(bits // 8)
        w.setframerate(RATE)
        w.writeframes(encode(samples, bits))
    return path


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "sounds")
    folder = os.path.normpath(folder)
    os.makedirs(folder, exist_ok=True)
    for name, make, bits in CUES:
        samples = make()
        peak = max(abs(v) for v in samples)
        if peak > 1.0:
            raise SystemExit(f"{name}: clipped (peak {peak:.2f})")
        print(write_cue(folder, name, samples, bits))


if __name__ == "__main__":
    main()
