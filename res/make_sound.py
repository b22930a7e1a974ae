#!/usr/bin/env python3
"""Writes sound.wav: the shutter sound played after every scan.

Two short clicks, the blades opening and closing: bursts of filtered noise with a fast
decay and a little low thump under each. 22.05 kHz, 16-bit mono, 0.22 s. The random
generator is seeded, so the file comes out the same every time.
"""
import math
import os
import random
import struct
import wave

RATE = 22050


def burst(length_s, decay, thump_hz, gain):
    rng = random.Random(1953)
    n = int(RATE * length_s)
    out, last = [], 0.0
    for i in range(n):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        last = 0.55 * last + 0.45 * noise  # a gentle low-pass takes the hiss off
        envelope = math.exp(-t * decay)
        thump = 0.5 * math.sin(2 * math.pi * thump_hz * t) * math.exp(-t * decay * 0.6)
        out.append(gain * envelope * (0.8 * last + thump))
    return out


def main():
    silence = [0.0] * int(RATE * 0.06)
    samples = burst(0.05, 90, 180, 0.9) + silence + burst(0.11, 55, 140, 0.75)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sound.wav")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32000)) for s in samples))


if __name__ == "__main__":
    main()
