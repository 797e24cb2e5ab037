#!/usr/bin/env python3
"""Draws the Umbrafen application icon and writes res/Umbrafen.ico.

A monitor on a stand whose screen is half covered by a shadow: the program
blanks monitors. Standard library only, so anyone can regenerate the icon:

    python3 res/icon/draw_icon.py [--preview DIR]

The .ico holds 16, 32 and 48 px images as 32-bit BGRA DIBs (with the AND mask
that old readers expect) and the 256 px image as PNG, as Windows does it.
--preview also writes every size as PNG (the small ones enlarged 8x) to DIR.
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)

# Colours, straight RGB.
BEZEL_TOP = (0x5B, 0x63, 0x70)
BEZEL_BOTTOM = (0x33, 0x38, 0x41)
OUTLINE = (0x1B, 0x1E, 0x23)
SCREEN_LIGHT = (0x8F, 0xD0, 0xFF)
SCREEN_DEEP = (0x1E, 0x6C, 0xD8)
SHADOW_TOP = (0x1A, 0x1D, 0x24)
SHADOW_BOTTOM = (0x06, 0x07, 0x0A)
GLINT = (0xFF, 0xFF, 0xFF)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def sd_round_rect(px, py, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_half_plane(px, py, ax, ay, bx, by):
    """Signed distance to the line a-b; negative on its left (screen coords)."""
    dx, dy = bx - ax, by - ay
    n = math.hypot(dx, dy)
    return ((px - ax) * dy - (py - ay) * dx) / n


def coverage(d, px_size):
    """Anti-aliased coverage of a pixel whose centre is at signed distance d."""
    return clamp(0.5 - d / px_size)


class Geometry:
    """Shape positions in a unit square, tuned per size so edges land on pixels."""

    def __init__(self, size):
        s = float(size)
        if size <= 16:
            # Placed by hand on the 16 px grid: at this size the general
            # proportions blur the stand and the bezel into one another.
            u = 1.0 / s
            self.bezel = (0.5 * u, 1.5 * u, 15.5 * u, 11.5 * u, 1.5 * u)
            self.screen = (2 * u, 3 * u, 14 * u, 10 * u, 0.5 * u)
            self.neck = (6.5 * u, 11 * u, 9.5 * u, 13.5 * u, 0.0)
            self.base = (3.5 * u, 13.5 * u, 12.5 * u, 15 * u, 0.75 * u)
            self.outline = 1.0 * u
        else:
            self.bezel = (0.04, 0.12, 0.96, 0.74, 0.07)
            self.screen = (0.10, 0.18, 0.90, 0.67, 0.025)
            self.neck = (0.42, 0.72, 0.58, 0.85, 0.0)
            self.base = (0.24, 0.84, 0.76, 0.93, 0.04)
            self.outline = max(1.0 / s, 0.012)
            if size < 256:
                # Snap to whole pixels so the small images keep crisp edges.
                def snap(v):
                    return round(v * s) / s
                self.bezel, self.screen, self.neck, self.base = (
                    tuple(snap(v) for v in shape[:4]) + shape[4:]
                    for shape in (self.bezel, self.screen, self.neck, self.base))
        # The shadow's edge runs slightly slanted across the middle of the screen.
        sx0, sy0, sx1, sy1, _ = self.screen
        self.shadow_edge = (0.56 * sx1 + 0.44 * sx0, sy0, 0.44 * sx1 + 0.56 * sx0, sy1)
        # Where there are pixels to spare, the shadow gets a soft penumbra.
        self.penumbra = 0.02 if size >= 256 else 1.0 / s


def over(dst, src, a):
    """Composites colour src with opacity a over the straight-alpha pixel dst."""
    r, g, b, da = dst
    oa = a + da * (1 - a)
    if oa <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    k = da * (1 - a)
    return ((src[0] * a + r * k) / oa, (src[1] * a + g * k) / oa,
            (src[2] * a + b * k) / oa, oa)


def render(size):
    """Returns rows of (r, g, b, a) byte tuples, top row first."""
    g = Geometry(size)
    px = 1.0 / size
    rows = []
    for j in range(size):
        row = []
        y = (j + 0.5) * px
        for i in range(size):
            x = (i + 0.5) * px
            c = (0.0, 0.0, 0.0, 0.0)

            # Stand: base first, then the neck, both in the bezel's colour.
            for shape in (g.base, g.neck):
                d = sd_round_rect(x, y, *shape)
                a_out = coverage(d, px)
                if a_out > 0:
                    c = over(c, OUTLINE, a_out)
                    a_in = coverage(d + g.outline, px)
                    t = clamp((y - shape[1]) / max(shape[3] - shape[1], px))
                    c = over(c, lerp(BEZEL_TOP, BEZEL_BOTTOM, t), a_in)

            # Bezel: a dark outline with a top-lit fill inside it.
            d = sd_round_rect(x, y, *g.bezel)
            a_out = coverage(d, px)
            if a_out > 0:
                c = over(c, OUTLINE, a_out)
                t = clamp((y - g.bezel[1]) / (g.bezel[3] - g.bezel[1]))
                c = over(c, lerp(BEZEL_TOP, BEZEL_BOTTOM, t), coverage(d + g.outline, px))

            # Screen: lit glass on the left, the shadow over the right.
            d = sd_round_rect(x, y, *g.screen)
            a_scr = coverage(d, px)
            if a_scr > 0:
                x0, y0, x1, y1, _ = g.screen
                t = clamp(((x - x0) / (x1 - x0) + (y - y0) / (y1 - y0)) / 2)
                c = over(c, lerp(SCREEN_LIGHT, SCREEN_DEEP, t), a_scr)
                # A soft diagonal glint across the lit part, only where it stays visible.
                if size >= 32:
                    gl = sd_half_plane(x, y, x0, y0 + 0.62 * (y1 - y0), x0 + 0.75 * (x1 - x0), y0)
                    c = over(c, GLINT, 0.18 * a_scr * coverage(-gl, px))
                ex0, ey0, ex1, ey1 = g.shadow_edge
                # Extend the edge beyond the screen so the cut is a straight line.
                dy = ey1 - ey0
                a_sh = coverage(-sd_half_plane(x, y, ex0 - (ex1 - ex0) * 2, ey0 - dy * 2,
                                               ex1 + (ex1 - ex0) * 2, ey1 + dy * 2), g.penumbra)
                ts = clamp((y - y0) / (y1 - y0))
                c = over(c, lerp(SHADOW_TOP, SHADOW_BOTTOM, ts), a_scr * a_sh)

            row.append(tuple(int(round(v)) for v in c[:3]) + (int(round(c[3] * 255)),))
        rows.append(row)
    return rows


def png_bytes(rows):
    h, w = len(rows), len(rows[0])

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib_bytes(rows):
    """32-bit BGRA DIB as an icon image: doubled height, pixels bottom-up, then the AND mask."""
    h, w = len(rows), len(rows[0])
    xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for i, p in enumerate(row):
            if p[3] == 0:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rows). 256 px goes in as PNG, smaller ones as DIBs."""
    blobs = [(size, png_bytes(rows) if size >= 256 else dib_bytes(rows)) for size, rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, blob in blobs)


def enlarge(rows, k):
    return [[p for p in row for _ in range(k)] for row in rows for _ in range(k)]


def main(argv):
    preview = None
    if len(argv) == 3 and argv[1] == "--preview":
        preview = argv[2]
    elif len(argv) != 1:
        sys.stderr.write(__doc__)
        return 2
    images = [(size, render(size)) for size in SIZES]
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(os.path.dirname(here), "Umbrafen.ico")
    with open(target, "wb") as f:
        f.write(ico_bytes(images))
    if preview:
        os.makedirs(preview, exist_ok=True)
        for size, rows in images:
            big = rows if size >= 256 else enlarge(rows, 8)
            with open(os.path.join(preview, "icon%d.png" % size), "wb") as f:
                f.write(png_bytes(big))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
