#!/usr/bin/env python3
"""Draws tbuttons.png, the timer panel's buttons.

    python3 data/tools/gen_tbuttons.py

Three 34 x 22 cells side by side (reset, stop, start) in two rows (released,
pressed), 8-bit RGBA; the cells are wide enough for the labels drawn under them. The top-left pixel is the panel's own background, so the
corners of every cell are left in that colour; the panel fills itself with it.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_skins import coverage, write_png  # noqa: E402

CELL_W = 34
CELL_H = 22
# The marks are drawn in a 22-pixel square in the middle of the cell.
MARK_X = (CELL_W - CELL_H) // 2
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tbuttons.png")

PANEL = (38, 46, 58, 208)
FACE = ((84, 104, 128), (56, 70, 88))  # released, pressed
RIM = (150, 170, 196)
MARK = (240, 244, 250)


def in_round_rect(x, y, inset, radius):
    if x < inset or x >= CELL_W - inset or y < inset or y >= CELL_H - inset:
        return False
    cx = min(max(x, inset + radius), CELL_W - inset - radius)
    cy = min(max(y, inset + radius), CELL_H - inset - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_mark(kind, x, y):
    if kind == 0:  # reset: a bar and a triangle pointing left
        bar = 6 <= x < 8.5 and 6 <= y < 16
        tri = 9 <= x < 16 and abs(y - 11) <= (x - 9) * 5 / 7
        return bar or tri
    if kind == 1:  # stop: two bars
        return 6 <= y < 16 and (7 <= x < 10 or 12 <= x < 15)
    return 7 <= x < 16 and abs(y - 11) <= (16 - x) * 5 / 9  # start: a triangle pointing right


def blend(a, b, t):
    return tuple(round(p * (1 - t) + q * t) for p, q in zip(a, b))


def cell_pixel(kind, pressed, x, y):
    outer = coverage(lambda u, v: in_round_rect(u, v, 1, 5), x, y)
    if outer == 0:
        return PANEL
    inner = coverage(lambda u, v: in_round_rect(u, v, 2, 4), x, y)
    colour = blend(RIM, FACE[pressed], inner)
    shift = 1 if pressed else 0
    mark = coverage(lambda u, v: in_mark(kind, u - MARK_X - shift, v - shift), x, y)
    colour = blend(colour, MARK, mark)
    colour = blend(PANEL[:3], colour, outer)
    alpha = round(PANEL[3] + (255 - PANEL[3]) * outer)
    return colour + (alpha,)


def pixel(x, y):
    return cell_pixel(x // CELL_W, y // CELL_H, x % CELL_W, y % CELL_H)


if __name__ == "__main__":
    write_png(OUT, 3 * CELL_W, 2 * CELL_H, pixel)
