#!/usr/bin/env python3
"""Draws buttons.png, the map window's button atlas.

    python3 data/tools/gen_buttons.py

128 x 256, 8-bit RGBA. Rectangles are given from the lower left corner of
the picture, as the map reads them. The lower half (rows 0 to 127 from the
bottom) holds the hovered look of every button, the upper half the idle look
of the same rectangle 128 rows higher.

Navigation pad cells (32 x 32): zoom out (0, 0), tilt down (32, 0), turn left
(0, 32), home (32, 32), turn right (64, 32), zoom in (0, 64), tilt up (32, 64).
Photo buttons: page down 9 x 32 at (64, 0), page up 9 x 19 at (64, 64), add
photo 100 x 24 at (0, 96).
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_skins import coverage, write_png  # noqa: E402

W, H = 128, 256
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "buttons.png")

FACE = {False: (40, 52, 70, 170), True: (70, 110, 160, 220)}  # idle, hovered
RIM = {False: (150, 170, 196, 210), True: (210, 230, 255, 255)}
MARK = {False: (225, 232, 242, 255), True: (255, 255, 200, 255)}


def tri(ax, ay, bx, by, cx, cy):
    def inside(x, y):
        d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by)
        d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy)
        d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay)
        neg = d1 < 0 or d2 < 0 or d3 < 0
        pos = d1 > 0 or d2 > 0 or d3 > 0
        return not (neg and pos)
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


# Marks in a cell's own coordinates, y upward, 0..w x 0..h.
def arrow(direction, w, h):
    cx, cy = w / 2, h / 2
    s = min(w, h) * 0.3
    pts = {
        "up": (cx, cy + s, cx - s, cy - s * 0.6, cx + s, cy - s * 0.6),
        "down": (cx, cy - s, cx - s, cy + s * 0.6, cx + s, cy + s * 0.6),
        "left": (cx - s, cy, cx + s * 0.6, cy - s, cx + s * 0.6, cy + s),
        "right": (cx + s, cy, cx - s * 0.6, cy - s, cx - s * 0.6, cy + s),
    }[direction]
    return tri(*pts)


def plus(cx, cy, s, t):
    return union(rect(cx - s, cy - t, cx + s, cy + t), rect(cx - t, cy - s, cx + t, cy + s))


def home(w, h):
    return union(tri(w / 2, h * 0.8, w * 0.2, h * 0.5, w * 0.8, h * 0.5), rect(w * 0.3, h * 0.2, w * 0.7, h * 0.5))


def add_photo(w, h):
    body = rect(8, 5, 30, 19)
    lens_hole = circle(19, 12, 4)
    camera = lambda x, y: body(x, y) and not lens_hole(x, y) or circle(19, 12, 2)(x, y)
    return union(camera, rect(12, 19, 18, 21), plus(60, 12, 8, 2))


BUTTONS = [
    # atlas x, y (lower left), w, h, mark
    (0, 0, 32, 32, lambda w, h: rect(w * 0.25, h / 2 - 2, w * 0.75, h / 2 + 2)),
    (32, 0, 32, 32, lambda w, h: arrow("down", w, h)),
    (0, 32, 32, 32, lambda w, h: arrow("left", w, h)),
    (32, 32, 32, 32, home),
    (64, 32, 32, 32, lambda w, h: arrow("right", w, h)),
    (0, 64, 32, 32, lambda w, h: plus(w / 2, h / 2, w * 0.25, 2)),
    (32, 64, 32, 32, lambda w, h: arrow("up", w, h)),
    (64, 0, 9, 32, lambda w, h: arrow("down", w, h)),
    (64, 64, 9, 19, lambda w, h: arrow("up", w, h)),
    (0, 96, 100, 24, add_photo),
]


def in_round_rect(x, y, w, h, r):
    if x < 0 or y < 0 or x >= w or y >= h:
        return False
    cx = min(max(x, r), w - r)
    cy = min(max(y, r), h - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def blend(under, over, a):
    return tuple(round(u * (1 - a) + o * a) for u, o in zip(under, over))


def build():
    pixels = [[(0, 0, 0, 0)] * W for _ in range(H)]  # [row from the bottom][x]
    for ax, ay, w, h, mark_of in BUTTONS:
        r = min(w, h) / 2.5
        mark = mark_of(w, h)
        for hovered, base in ((True, 0), (False, 128)):
            for y in range(h):
                for x in range(w):
                    face = coverage(lambda px, py: in_round_rect(px, py, w, h, r), x, y)
                    rim = face - coverage(lambda px, py: in_round_rect(px - 1, py - 1, w - 2, h - 2, max(r - 1, 0.5)),
                                          x, y)
                    m = coverage(mark, x, y)
                    colour = (0, 0, 0, 0)
                    if face > 0:
                        c = FACE[hovered]
                        colour = (c[0], c[1], c[2], round(c[3] * face))
                    if rim > 0:
                        colour = blend(colour, RIM[hovered], rim)
                    if m > 0:
                        colour = blend(colour, MARK[hovered], m)
                    pixels[base + ay + y][ax + x] = colour
    return pixels


def main():
    pixels = build()
    write_png(OUT, W, H, lambda x, y: pixels[H - 1 - y][x])
    return 0


if __name__ == "__main__":
    sys.exit(main())
