#!/usr/bin/env python3
"""Makes the default background picture: hills fading into an evening mist
under a soft glow, with a faint grain so the gradients do not band.

Usage: background.py OUT.jpg [WIDTH HEIGHT]
Pure Python writes the pixels (no imaging library needed); cjpeg compresses
them. The grain comes from a fixed-seed generator: same output on every run.
"""
import math
import os
import subprocess
import sys
import tempfile


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(p, q, t) for p, q in zip(c1, c2))


def smooth(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


SKY_TOP = (46, 62, 92)       # slate blue
SKY_LOW = (150, 160, 172)    # misty grey near the horizon
GLOW = (236, 196, 160)       # a low, warm light behind the mist
# Hills from far to near: colour, mean height (fraction of the picture from the
# top), and two slow waves (amplitude, cycles across the picture, phase).
HILLS = [
    ((112, 126, 146), 0.58, ((0.030, 1.3, 0.4), (0.012, 3.7, 1.9))),
    ((78, 94, 118), 0.68, ((0.035, 0.9, 2.2), (0.015, 2.9, 0.3))),
    ((50, 64, 88), 0.80, ((0.040, 0.6, 4.0), (0.012, 2.1, 5.1))),
]
GLOW_AT = (0.68, 0.50)


def pixels(width, height, seed=20240611):
    state = seed
    aspect = width / height
    edge = 2.5 / height  # soft hill edges, a few pixels wide
    tops = [[mean + sum(a * math.sin(2 * math.pi * f * x / width + p) for a, f, p in waves)
             for x in range(width)] for _, mean, waves in HILLS]
    out = bytearray(width * height * 3)
    i = 0
    for y in range(height):
        v = y / height
        sky = mix(SKY_TOP, SKY_LOW, smooth(0.0, 0.62, v) ** 1.3)
        dy = (v - GLOW_AT[1])
        for x in range(width):
            u = x / width
            dx = (u - GLOW_AT[0]) * aspect
            g = 0.55 * math.exp(-(dx * dx + dy * dy) / 0.045)
            c = mix(sky, GLOW, g)
            for k, (colour, _, _) in enumerate(HILLS):
                t = smooth(tops[k][x] - edge, tops[k][x] + edge, v)
                if t > 0.0:
                    # Each hill is veiled by mist that thins towards its foot.
                    veil = 0.35 * (1 - smooth(tops[k][x], tops[k][x] + 0.25, v)) + g * 0.4
                    c = mix(c, mix(colour, SKY_LOW, veil), t)
            # xorshift32: a faint grain of about one level either way
            state ^= (state << 13) & 0xFFFFFFFF
            state ^= state >> 17
            state ^= (state << 5) & 0xFFFFFFFF
            n = ((state & 0xFF) / 255.0 - 0.5) * 3.0
            out[i] = min(255, max(0, int(c[0] + n + 0.5)))
            out[i + 1] = min(255, max(0, int(c[1] + n + 0.5)))
            out[i + 2] = min(255, max(0, int(c[2] + n + 0.5)))
            i += 3
    return out


def main(argv):
    out = argv[1]
    width, height = (int(argv[2]), int(argv[3])) if len(argv) > 3 else (1920, 1080)
    data = pixels(width, height)
    fd, ppm = tempfile.mkstemp(suffix=".ppm")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (width, height))
            f.write(data)
        tmp = out + ".part"
        subprocess.run(["cjpeg", "-quality", "90", "-optimize", "-outfile", tmp, ppm], check=True)
        os.replace(tmp, out)
    finally:
        os.remove(ppm)


if __name__ == "__main__":
    main(sys.argv)
