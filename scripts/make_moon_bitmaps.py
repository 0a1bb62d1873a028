#!/usr/bin/env python3
"""Draws the full-moon pictures of the moon panel into resources/moon/.

The panel blackens the unlit part of the disc row by row, so every picture
puts its disc exactly where the shading expects it: the pixels of row
centre_y +- h from centre_x - round(sqrt(r^2 - h^2)) to centre_x +
round(sqrt(r^2 - h^2)), half-to-even rounding. Outside the disc the picture
is the black of the night sky. Only the standard library is used.

Usage: scripts/make_moon_bitmaps.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import sys
import zlib

# (file, width, height, centre x, centre y, radius)
PICTURES = [
    ("moon_large.png", 64, 64, 31, 28, 28),
    ("moon_small.png", 32, 32, 15, 14, 14),
    ("moon_tiny.png", 16, 16, 7, 7, 7),
]

SKY = (0, 0, 0)
HIGHLAND = (236, 232, 212)
MARE = (160, 158, 150)

# Dark plains as ellipses in disc units (x right, y down, radius 1):
# centre x, centre y, half width, half height, strength 0..1.
MARIA = [
    (-0.30, -0.42, 0.30, 0.22, 0.90),  # Imbrium
    (0.12, -0.33, 0.17, 0.16, 0.85),  # Serenitatis
    (0.30, -0.05, 0.22, 0.17, 0.85),  # Tranquillitatis
    (0.66, -0.22, 0.12, 0.10, 0.90),  # Crisium
    (-0.62, -0.05, 0.25, 0.45, 0.70),  # Procellarum
    (-0.22, 0.30, 0.20, 0.15, 0.75),  # Nubium
    (0.42, 0.28, 0.14, 0.14, 0.70),  # Fecunditatis
    (0.15, 0.18, 0.12, 0.10, 0.65),  # Nectaris
]


def inside(x, y, cx, cy, r):
    h = abs(y - cy)
    if h > r:
        return False
    return abs(x - cx) <= round(math.sqrt(r * r - h * h))


def mix(a, b, t):
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


def moon_pixel(x, y, cx, cy, r):
    # Sample the middle of the pixel in disc units.
    u = (x - cx) / (r + 0.5)
    v = (y - cy) / (r + 0.5)
    dark = 0.0
    for mx, my, ax, ay, strength in MARIA:
        d = ((u - mx) / ax) ** 2 + ((v - my) / ay) ** 2
        if d < 1.0:
            dark = max(dark, strength * (1.0 - d * d))
    colour = mix(HIGHLAND, MARE, dark)
    # A bright ray crater near the southern limb (Tycho).
    if (u + 0.10) ** 2 + (v - 0.62) ** 2 < 0.006:
        colour = (250, 248, 240)
    # Limb darkening.
    rho2 = min(1.0, u * u + v * v)
    shade = 0.80 + 0.20 * math.sqrt(1.0 - rho2)
    return tuple(int(c * shade) for c in colour)


def draw(width, height, cx, cy, r):
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            row.append(moon_pixel(x, y, cx, cy, r) if inside(x, y, cx, cy, r) else SKY)
        rows.append(row)
    return rows


def png_bytes(rows):
    height = len(rows)
    width = len(rows[0])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "moon")
    os.makedirs(folder, exist_ok=True)
    for name, width, height, cx, cy, r in PICTURES:
        path = os.path.join(folder, name)
        data = png_bytes(draw(width, height, cx, cy, r))
        temporary = path + ".tmp"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, path)
        print(path)


if __name__ == "__main__":
    main()
