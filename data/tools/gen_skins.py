#!/usr/bin/env python3
"""Draws the skins shipped in data/skins/.

    python3 data/tools/gen_skins.py

"Slate LCD" is a digital skin: seven-segment digits (digits.bmp, ten 14-pixel
cells and a 6-pixel colon cell) and a letter grid (alphas.bmp, 16 x 14 cells
of 12 x 24 pixels from character 32 on) in mint on slate; the slate is the
transparent colour of both strips and the clock's background.

"Daylight Dial" is an analogue skin: clkface.png, a 160-pixel dial with a
30-row strip of hands below it (hour, minute and seconds bands of 10 rows,
each hand pointing right from column 80), transparent around the dial.

Everything is drawn here from numbers; the outputs are committed.
"""

import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skins")

# ---------------------------------------------------------------- file writers


def write_bmp(path, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row_bytes = (width * 3 + 3) // 4 * 4
    image = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        image += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def write_png(path, width, height, pixel):
    """8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a) with y from the top."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_ini(path, text):
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("ascii"))


# ------------------------------------------------------------------- Slate LCD

SLATE = (30, 42, 51)
UNLIT = (40, 56, 66)
MINT = (120, 230, 200)

# A 5 x 7 letter font: rows from the top, "#" is ink.
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    ",": [".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."],
    ":": [".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."],
    ";": [".....", ".##..", ".##..", ".....", ".##..", "..#..", ".#..."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    "=": [".....", ".....", "#####", ".....", "#####", ".....", "....."],
    "/": ["....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."],
    "\\": ["#....", "#....", ".#...", "..#..", "...#.", "....#", "....#"],
    "'": ["..#..", "..#..", ".#...", ".....", ".....", ".....", "....."],
    '"': [".#.#.", ".#.#.", ".#.#.", ".....", ".....", ".....", "....."],
    "(": ["...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."],
    ")": [".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."],
    "[": [".###.", ".#...", ".#...", ".#...", ".#...", ".#...", ".###."],
    "]": [".###.", "...#.", "...#.", "...#.", "...#.", "...#.", ".###."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    "_": [".....", ".....", ".....", ".....", ".....", ".....", "#####"],
    "^": ["..#..", ".#.#.", "#...#", ".....", ".....", ".....", "....."],
    "*": [".....", "#.#.#", ".###.", "#####", ".###.", "#.#.#", "....."],
    "%": ["##..#", "##..#", "...#.", "..#..", ".#...", "#..##", "#..##"],
    "&": [".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"],
    "$": ["..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."],
    "#": [".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."],
    "@": [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".###."],
    "<": ["...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."],
    ">": [".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."],
}

LETTER_W, LETTER_H = 12, 24
# The glyph is drawn twice its size, from this corner of its cell.
GLYPH_X, GLYPH_Y, GLYPH_SCALE = 1, 5, 2


def glyph_for(code):
    ch = chr(code)
    if ch in FONT:
        return FONT[ch]
    if ch.upper() in FONT:
        return FONT[ch.upper()]
    return None


def letter_pixel(x, y):
    column, row = x // LETTER_W, y // LETTER_H
    code = 32 + row * 16 + column
    glyph = glyph_for(code) if code < 128 else None
    if not glyph:
        return SLATE
    gx = (x % LETTER_W - GLYPH_X) // GLYPH_SCALE
    gy = (y % LETTER_H - GLYPH_Y) // GLYPH_SCALE
    if 0 <= gx < 5 and 0 <= gy < 7 and (x % LETTER_W) >= GLYPH_X and (y % LETTER_H) >= GLYPH_Y:
        return MINT if glyph[gy][gx] == "#" else SLATE
    return SLATE


DIGIT_W, DIGIT_H, COLON_W = 14, 24, 6
# Segments a to g of each digit.
SEGMENTS = {
    0: "abcdef", 1: "bc", 2: "abdeg", 3: "abcdg", 4: "bcfg",
    5: "acdfg", 6: "acdefg", 7: "abc", 8: "abcdefg", 9: "abcdfg",
}


def segment_at(x, y):
    """The segment a pixel of a digit cell belongs to, or None."""
    left, right, top, middle, bottom, t = 2, 11, 2, 11, 20, 2
    horizontal = left + 1 <= x <= right - 1
    if horizontal and top <= y < top + t:
        return "a"
    if horizontal and middle <= y < middle + t:
        return "g"
    if horizontal and bottom <= y < bottom + t:
        return "d"
    upper = top + 1 <= y <= middle
    lower = middle + t - 1 <= y <= bottom + t - 1
    if left <= x < left + t and upper:
        return "f"
    if right - t + 1 <= x <= right and upper:
        return "b"
    if left <= x < left + t and lower:
        return "e"
    if right - t + 1 <= x <= right and lower:
        return "c"
    return None


def digit_pixel(x, y):
    if x >= 10 * DIGIT_W:
        cx = x - 10 * DIGIT_W
        dot = 2 <= cx <= 3 and (7 <= y <= 8 or 15 <= y <= 16)
        return MINT if dot else SLATE
    segment = segment_at(x % DIGIT_W, y)
    if segment is None:
        return SLATE
    return MINT if segment in SEGMENTS[x // DIGIT_W] else UNLIT


def make_slate_lcd():
    folder = os.path.join(ROOT, "Slate LCD")
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, "digits.bmp"), 10 * DIGIT_W + COLON_W, DIGIT_H, digit_pixel)
    write_bmp(os.path.join(folder, "alphas.bmp"), 16 * LETTER_W, 14 * LETTER_H, letter_pixel)
    write_ini(os.path.join(folder, "skin.ini"),
              "; Seven-segment digits and a small letter grid, mint on slate.\n"
              "[font]\nalign=center\n[border]\nenabled=0\n")


# --------------------------------------------------------------- Daylight Dial

FACE_W = 160
BAND = 10
STRIP = 3 * BAND
AROUND = (232, 238, 242)   # transparent; the clock's background colour
DIAL = (250, 246, 235)
RIM = (34, 48, 78)
TICK = (34, 48, 78)
HOUR_HAND = (34, 48, 78)
MINUTE_HAND = (52, 70, 108)
SECONDS_HAND = (206, 48, 40)
# The pivot: column W / 2, and row W / 2 counted from the face's bottom.
CX, CY = FACE_W / 2, FACE_W - 1 - FACE_W / 2


def coverage(inside, x, y, n=4):
    hits = 0
    for i in range(n):
        for j in range(n):
            if inside(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / (n * n)


def dial_colour(px, py):
    """Colour and alpha of a face pixel (sample point px, py)."""
    dx, dy = px - (CX + 0.5), py - (CY + 0.5)
    r = math.hypot(dx, dy)
    if r > 76:
        return None
    if r > 72:
        return RIM
    angle = math.degrees(math.atan2(dx, -dy)) % 360
    nearest = round(angle / 6) * 6
    off = abs(angle - nearest) * math.pi / 180 * r
    if nearest % 30 == 0:
        if 58 <= r <= 69 and off <= 1.6:
            return TICK
    elif 64 <= r <= 69 and off <= 0.6:
        return TICK
    return DIAL


def face_pixel(x, y):
    n = 4
    total = [0.0, 0.0, 0.0]
    hits = 0
    for i in range(n):
        for j in range(n):
            c = dial_colour(x + (i + 0.5) / n, y + (j + 0.5) / n)
            if c is not None:
                hits += 1
                for k in range(3):
                    total[k] += c[k]
    if hits == 0:
        return AROUND + (0,)
    return tuple(int(round(t / hits)) for t in total) + (int(round(255 * hits / (n * n))),)


def hand_pixel(x, y):
    """The hand strip: y counts rows below the face, hour band first."""
    band, row = divmod(y, BAND)
    centre = BAND // 2 - 1         # the band's pivot row (bottom-up: band + D / 6)
    pivot = FACE_W // 2
    if band == 0:
        tail, tip, half, colour = 10, 44, 2, HOUR_HAND
    elif band == 1:
        tail, tip, half, colour = 12, 64, 1, MINUTE_HAND
    else:
        tail, tip, half, colour = 16, 70, 0, SECONDS_HAND
    if pivot - tail <= x <= pivot + tip and abs(row - centre) <= half:
        # Tapered tips: the last pixels lose their outer rows.
        if half and x > pivot + tip - 3 and abs(row - centre) == half:
            return (0, 0, 0, 0)
        return colour + (255,)
    if band == 2 and abs(x - pivot) <= 2 and abs(row - centre) <= 2:
        return colour + (255,)
    return (0, 0, 0, 0)


def make_daylight_dial():
    folder = os.path.join(ROOT, "Daylight Dial")
    os.makedirs(folder, exist_ok=True)

    def pixel(x, y):
        return face_pixel(x, y) if y < FACE_W else hand_pixel(x, y - FACE_W)

    write_png(os.path.join(folder, "clkface.png"), FACE_W, FACE_W + STRIP, pixel)
    write_ini(os.path.join(folder, "skin.ini"),
              "; A cream dial with navy hands and a red seconds hand.\n"
              "[font]\ncolor=0x22304E\n[clock]\nangle=0\nface24h=0\naxis_ofs_x=0\naxis_ofs_y=0\n")


if __name__ == "__main__":
    make_slate_lcd()
    make_daylight_dial()
