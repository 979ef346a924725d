#!/usr/bin/env python3
"""Draws PoseBridge's icons: a coordinate frame (three arrows, X red, Y green,
Z blue, right-handed with Z up) on a light rounded tile.

Writes posebridge.ico (48 x 48 and 32 x 32) and posebridge_small.ico (16 x 16)
beside this script, as 256-colour (8 bits per pixel) images with a
transparency mask. Uses only the Python standard library, so it runs anywhere:

    python3 resources/draw_icons.py
"""

import math
import os
import struct

SUPERSAMPLE = 4

TILE = (232, 238, 244)
BORDER = (90, 107, 125)
RED = (208, 49, 45)
GREEN = (46, 158, 68)
BLUE = (47, 95, 208)
ORIGIN = (50, 56, 64)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def in_triangle(px, py, a, b, c):
    def side(p1, p2):
        return (px - p2[0]) * (p1[1] - p2[1]) - (p1[0] - p2[0]) * (py - p2[1])

    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def in_rounded_square(px, py, left, top, right, bottom, radius):
    cx = min(max(px, left + radius), right - radius)
    cy = min(max(py, top + radius), bottom - radius)
    return math.hypot(px - cx, py - cy) <= radius


class Arrow:
    """A shaft from the origin to the tip, with a triangular head."""

    def __init__(self, origin, tip, width, head_length, head_width, colour):
        self.colour = colour
        ox, oy = origin
        tx, ty = tip
        length = math.hypot(tx - ox, ty - oy)
        ux, uy = (tx - ox) / length, (ty - oy) / length
        nx, ny = -uy, ux
        bx, by = tx - ux * head_length, ty - uy * head_length
        self.shaft = (ox, oy, bx + ux * 0.5, by + uy * 0.5)
        self.radius = width / 2
        self.head = (
            (tx, ty),
            (bx + nx * head_width / 2, by + ny * head_width / 2),
            (bx - nx * head_width / 2, by - ny * head_width / 2),
        )

    def covers(self, px, py):
        return (segment_distance(px, py, *self.shaft) <= self.radius
                or in_triangle(px, py, *self.head))


def shapes_for(size):
    """The drawing in pixel coordinates of an icon of the given size."""
    s = float(size)
    bold = 1.0 if size > 16 else 1.35
    width = max(1.7, s * 0.085 * bold)
    head_length = max(4.0, s * 0.24)
    head_width = max(4.2, s * 0.24 * bold)
    origin = (s * 0.30, s * 0.70)
    arrows = [
        # Y points into the picture, drawn up and to the right; drawn first so
        # X and Z lie over it.
        Arrow(origin, (s * 0.78, s * 0.28), width, head_length * 0.9, head_width * 0.9, GREEN),
        Arrow(origin, (s * 0.92, s * 0.70), width, head_length, head_width, RED),
        Arrow(origin, (s * 0.30, s * 0.08), width, head_length, head_width, BLUE),
    ]
    return arrows, origin, width * 0.85


def render(size):
    """Returns rows of (r, g, b) or None for transparent pixels."""
    arrows, origin, origin_radius = shapes_for(size)
    margin = 0.5
    radius = size * 0.18
    border_width = max(1.0, size / 24)
    pixels = []
    n = SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            inside = 0
            total = [0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    px = x + (sx + 0.5) / n
                    py = y + (sy + 0.5) / n
                    if not in_rounded_square(px, py, margin, margin, size - margin,
                                             size - margin, radius):
                        continue
                    inside += 1
                    colour = TILE
                    if not in_rounded_square(px, py, margin + border_width,
                                             margin + border_width,
                                             size - margin - border_width,
                                             size - margin - border_width,
                                             max(0.5, radius - border_width)):
                        colour = BORDER
                    for arrow in arrows:
                        if arrow.covers(px, py):
                            colour = arrow.colour
                    if math.hypot(px - origin[0], py - origin[1]) <= origin_radius:
                        colour = ORIGIN
                    for i in range(3):
                        total[i] += colour[i]
            if inside * 2 < n * n:
                row.append(None)
            else:
                row.append(tuple(int(round(c / inside)) for c in total))
        pixels.append(row)
    return pixels


def palette_of(pixels):
    colours = sorted({p for row in pixels for p in row if p is not None})
    if len(colours) > 256:
        raise SystemExit("more than 256 colours: %d" % len(colours))
    return colours + [(0, 0, 0)] * (256 - len(colours))


def dib(pixels):
    """A BITMAPINFOHEADER, 256-entry palette, 8-bit image and 1-bit mask."""
    size = len(pixels)
    palette = palette_of(pixels)
    index = {colour: i for i, colour in enumerate(palette)}
    colour_row_bytes = (size + 3) // 4 * 4
    mask_row_bytes = ((size + 31) // 32) * 4
    image = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray(colour_row_bytes)
        bits = bytearray(mask_row_bytes)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x] = index[p]
        image += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                         len(image) + len(mask), 0, 0, 256, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + table + bytes(image) + bytes(mask)


def write_icon(path, sizes):
    images = [dib(render(size)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        # A colour count of 0 means 256 colours.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, "posebridge.ico"), [48, 32])
    write_icon(os.path.join(here, "posebridge_small.ico"), [16])


if __name__ == "__main__":
    main()
