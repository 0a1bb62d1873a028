#!/usr/bin/env python3
"""Draws the application icon, a daisy, into resources/icons/.

One geometry gives both forms: a scalable SVG and PNGs of 16, 32, 48, 64,
128 and 256 pixels, each rendered from the same shapes with 4 x 4 samples per
pixel. Only the standard library is used, and the output is the same on every
run, byte for byte.

Usage: scripts/make_icon.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import sys
import zlib

SIZES = [16, 32, 48, 64, 128, 256]
SAMPLES = 4

# In units of the icon's width (0..1, y down).
CENTRE = (0.5, 0.5)
PETALS = 16
PETAL_DISTANCE = 0.255  # from the centre to the middle of a petal
PETAL_LENGTH = 0.225  # half the petal's length
PETAL_WIDTH = 0.072  # half the petal's width
HEART_RADIUS = 0.16

PETAL = (255, 255, 255)
PETAL_EDGE = (196, 206, 222)
HEART = (250, 196, 30)
HEART_EDGE = (214, 140, 10)
EDGE = 0.012  # width of the outlines


def petal_axes(index):
    angle = 2 * math.pi * index / PETALS
    return angle, math.cos(angle), math.sin(angle)


def inside_petal(x, y, index, grow=0.0):
    _, c, s = petal_axes(index)
    px = CENTRE[0] + c * PETAL_DISTANCE
    py = CENTRE[1] + s * PETAL_DISTANCE
    dx, dy = x - px, y - py
    along = dx * c + dy * s
    across = -dx * s + dy * c
    a = PETAL_LENGTH + grow
    b = PETAL_WIDTH + grow
    return (along / a) ** 2 + (across / b) ** 2 <= 1.0


def colour_at(x, y):
    """The colour at a point, or None where the icon is transparent."""
    r = math.hypot(x - CENTRE[0], y - CENTRE[1])
    if r <= HEART_RADIUS - EDGE:
        return HEART
    if r <= HEART_RADIUS:
        return HEART_EDGE
    # Later petals lie on earlier ones, as in the SVG's drawing order.
    for index in reversed(range(PETALS)):
        if inside_petal(x, y, index, -EDGE):
            return PETAL
        if inside_petal(x, y, index):
            return PETAL_EDGE
    return None


def render(size):
    rows = []
    step = 1.0 / (size * SAMPLES)
    for row in range(size):
        line = bytearray([0])  # filter type: none
        for column in range(size):
            red = green = blue = alpha = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (column * SAMPLES + sx + 0.5) * step
                    y = (row * SAMPLES + sy + 0.5) * step
                    colour = colour_at(x, y)
                    if colour is not None:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        alpha += 1
            if alpha:
                line += bytes(
                    (
                        round(red / alpha),
                        round(green / alpha),
                        round(blue / alpha),
                        round(255 * alpha / (SAMPLES * SAMPLES)),
                    )
                )
            else:
                line += bytes(4)
        rows.append(bytes(line))
    return png(size, size, b"".join(rows))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, raw):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def hex_colour(colour):
    return "#%02x%02x%02x" % colour


def svg():
    unit = 256
    parts = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        "  <title>Hinagiku</title>",
    ]
    for index in range(PETALS):
        angle, c, s = petal_axes(index)
        cx = (CENTRE[0] + c * PETAL_DISTANCE) * unit
        cy = (CENTRE[1] + s * PETAL_DISTANCE) * unit
        parts.append(
            '  <ellipse cx="%.3f" cy="%.3f" rx="%.3f" ry="%.3f" transform="rotate(%.3f %.3f %.3f)"'
            ' fill="%s" stroke="%s" stroke-width="%.3f"/>'
            % (
                cx,
                cy,
                (PETAL_LENGTH - EDGE / 2) * unit,
                (PETAL_WIDTH - EDGE / 2) * unit,
                math.degrees(angle),
                cx,
                cy,
                hex_colour(PETAL),
                hex_colour(PETAL_EDGE),
                EDGE * unit,
            )
        )
    parts.append(
        '  <circle cx="%.3f" cy="%.3f" r="%.3f" fill="%s" stroke="%s" stroke-width="%.3f"/>'
        % (
            CENTRE[0] * unit,
            CENTRE[1] * unit,
            (HEART_RADIUS - EDGE / 2) * unit,
            hex_colour(HEART),
            hex_colour(HEART_EDGE),
            EDGE * unit,
        )
    )
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "icons")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "hinagiku.svg"), "w", encoding="utf-8", newline="\n") as f:
        f.write(svg())
    for size in SIZES:
        with open(os.path.join(folder, "hinagiku_%d.png" % size), "wb") as f:
            f.write(render(size))


if __name__ == "__main__":
    main()
