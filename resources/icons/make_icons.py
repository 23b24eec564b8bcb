#!/usr/bin/env python3
"""Draws the suite's pictures: the alarm log's icons (alarm bell, reminder
clock, log list), the news page's arrows, the news window's and the world
window's icon as 16x16 and 32x32 32-bit icons, the desktop clocks' hand
cursor, the timer button's monochrome bitmap and the news window's two
toolbar pictures (20x20, on the mask colour). Run from this folder; writes the
.ico, .cur and .bmp files."""
import math
import struct


def bell(x, y, s):
    # A bell: a rounded dome over a flared rim, a clapper below.
    cx, u = s / 2.0, s / 16.0
    if abs(x + 0.5 - cx) <= 1.2 * u and 1.0 * u <= y < 2.5 * u:
        return (40, 40, 40)
    top, rim = 2.5 * u, 11.5 * u
    if top <= y + 0.5 <= rim:
        t = (y + 0.5 - top) / (rim - top)
        half = (3.0 + 3.2 * t * t) * u
        if abs(x + 0.5 - cx) <= half:
            return (235, 180, 30) if abs(x + 0.5 - cx) < half - u else (150, 100, 10)
    if rim < y + 0.5 <= rim + 1.5 * u and abs(x + 0.5 - cx) <= 7.0 * u:
        return (150, 100, 10)
    if math.hypot(x + 0.5 - cx, y + 0.5 - 14.0 * u) <= 1.5 * u:
        return (150, 100, 10)
    return None


def clock(x, y, s):
    # A clock face with two hands: the reminder comes before the alarm.
    c, u = s / 2.0, s / 16.0
    d = math.hypot(x + 0.5 - c, y + 0.5 - c)
    if d > 7.5 * u:
        return None
    if d > 6.2 * u:
        return (30, 90, 170)
    px, py = x + 0.5 - c, y + 0.5 - c
    if abs(px) <= 0.7 * u and -5.0 * u <= py <= 0:
        return (20, 20, 20)
    if abs(py) <= 0.7 * u and 0 <= px <= 3.5 * u:
        return (20, 20, 20)
    return (250, 250, 250)


def log_list(x, y, s):
    # A sheet with lines of text, the first one marked.
    u = s / 16.0
    if not (2 * u <= x + 0.5 <= 14 * u and 1 * u <= y + 0.5 <= 15 * u):
        return None
    if x + 0.5 <= 2.9 * u or x + 0.5 >= 13.1 * u or y + 0.5 <= 1.9 * u or y + 0.5 >= 14.1 * u:
        return (90, 90, 90)
    row = (y + 0.5 - 3 * u) / (3 * u)
    if row >= 0 and (y + 0.5 - 3 * u) % (3 * u) < 1.3 * u and 4 * u <= x + 0.5 <= 12 * u:
        return (200, 40, 40) if row < 1 else (60, 60, 120)
    return (255, 255, 255)


def arrow(up):
    # A thick arrow: a triangle head over a shaft, pointing up or down.
    def draw(x, y, s):
        u = s / 16.0
        px, py = x + 0.5, (y + 0.5 if up else s - (y + 0.5))
        cx = s / 2.0
        if 2 * u <= py <= 8 * u and abs(px - cx) <= (py - 2 * u) * 1.0 + 0.5 * u:
            return (30, 110, 40)
        if 8 * u < py <= 14 * u and abs(px - cx) <= 2 * u:
            return (30, 110, 40)
        return None
    return draw


def newspaper(x, y, s):
    # A folded page with a headline bar and lines of text.
    u = s / 16.0
    px, py = x + 0.5, y + 0.5
    if not (1 * u <= px <= 15 * u and 2 * u <= py <= 14 * u):
        return None
    if px <= 1.9 * u or px >= 14.1 * u or py <= 2.9 * u or py >= 13.1 * u:
        return (70, 70, 70)
    if 4 * u <= py <= 6 * u and 3 * u <= px <= 13 * u:
        return (200, 110, 20)
    if py > 7 * u and (py - 7 * u) % (2 * u) < 0.9 * u and 3 * u <= px <= 13 * u:
        return (90, 90, 90)
    return (255, 255, 250)


def hand(x, y, s):
    # A pointing hand for clickable clocks: the index finger up, the palm below.
    u = s / 16.0
    px, py = x + 0.5, y + 0.5
    finger = 5 * u <= px <= 8 * u and 1 * u <= py <= 9 * u
    knuckles = 8 * u <= px <= 13 * u and 6 * u <= py <= 9 * u
    palm = 3 * u <= px <= 13 * u and 9 * u <= py <= 15 * u
    thumb = 2 * u <= px <= 5 * u and 8 * u <= py <= 12 * u
    inside = finger or knuckles or palm or thumb
    if not inside:
        return None
    edge = not all(((5 * u <= qx <= 8 * u and 1 * u <= qy <= 9 * u) or
                    (8 * u <= qx <= 13 * u and 6 * u <= qy <= 9 * u) or
                    (3 * u <= qx <= 13 * u and 9 * u <= qy <= 15 * u) or
                    (2 * u <= qx <= 5 * u and 8 * u <= qy <= 12 * u))
                   for qx, qy in ((px - u, py), (px + u, py), (px, py - u), (px, py + u)))
    return (0, 0, 0) if edge else (255, 255, 255)


def image(draw, s):
    pixels = bytearray()
    mask_row = ((s + 31) // 32) * 4
    mask = bytearray()
    for y in range(s - 1, -1, -1):  # bottom-up rows
        row = bytearray(mask_row)
        for x in range(s):
            c = draw(x, y, s)
            if c is None:
                pixels += b"\0\0\0\0"
                row[x // 8] |= 0x80 >> (x % 8)
            else:
                pixels += bytes((c[2], c[1], c[0], 255))
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def write_icon(name, draw):
    images = [image(draw, s) for s in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(name, "wb") as f:
        f.write(out)


def write_cursor(name, draw, s, hotspot):
    # A two-colour cursor: black and white on a transparent ground (AND mask
    # set where the cursor is not drawn).
    row_bytes = ((s + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for y in range(s - 1, -1, -1):
        xr, mr = bytearray(row_bytes), bytearray(row_bytes)
        for x in range(s):
            c = draw(x, y, s)
            if c is None:
                mr[x // 8] |= 0x80 >> (x % 8)
            elif c == (255, 255, 255):
                xr[x // 8] |= 0x80 >> (x % 8)
        xor += xr
        mask += mr
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = header + palette + bytes(xor) + bytes(mask)
    out = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", s, s, 0, 0, hotspot[0], hotspot[1], len(data), 22)
    with open(name, "wb") as f:
        f.write(out + data)


def write_mono_bitmap(name, rows):
    # A 1-bit bitmap file; "#" is black, anything else white. The top-left
    # pixel stays white: it is the key colour when the picture is drawn.
    h, w = len(rows), len(rows[0])
    row_bytes = ((w + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray(row_bytes)
        for x, ch in enumerate(row):
            if ch != "#":
                line[x // 8] |= 0x80 >> (x % 8)
        bits += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(bits), 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(name, "wb") as f:
        f.write(header + info + palette + bytes(bits))


def refresh(x, y, s):
    # A circular arrow: a ring open at the top right, its head at the gap.
    c, u = s / 2.0, s / 20.0
    px, py = x + 0.5 - c, y + 0.5 - c
    d = math.hypot(px, py)
    angle = math.degrees(math.atan2(-py, px)) % 360
    if 4.8 * u <= d <= 7.2 * u and not (20 <= angle <= 90):
        return (32, 128, 32)
    # The head: a triangle pointing right at the ring's top end.
    hx, hy = x + 0.5 - (c + 0.5 * u), y + 0.5 - (c - 6.0 * u)
    if 0 <= hx <= 4.0 * u and abs(hy) <= 4.0 * u - hx:
        return (32, 128, 32)
    return None


def channel_list(x, y, s):
    # A list of channels: three bullets, each with its line of text.
    u = s / 20.0
    for row in (5, 10, 15):
        if abs(y + 0.5 - row * u) <= 1.0 * u:
            if 3 * u <= x + 0.5 <= 5 * u:
                return (32, 64, 160)
            if 8 * u <= x + 0.5 <= 17 * u:
                return (32, 64, 160)
    return None


def write_masked_bitmap(name, draw, s, ground=(192, 192, 192)):
    # A 24-bit bitmap file; what the drawing leaves empty is the mask colour.
    row_bytes = (s * 3 + 3) // 4 * 4
    bits = bytearray()
    for y in range(s - 1, -1, -1):
        line = bytearray()
        for x in range(s):
            c = draw(x, y, s) or ground
            line += bytes((c[2], c[1], c[0]))
        line += bytes(row_bytes - len(line))
        bits += line
    info = struct.pack("<IiiHHIIiiII", 40, s, s, 1, 24, 0, len(bits), 0, 0, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(name, "wb") as f:
        f.write(header + info + bytes(bits))


# The timer button: a start/pause sign beside the timer's text.
TIMER_BUTTON = [
    "...........",
    ".##........",
    ".####......",
    ".######....",
    ".########..",
    ".#########.",
    ".########..",
    ".######....",
    ".####......",
    ".##........",
    "...........",
]


if __name__ == "__main__":
    write_icon("alarm.ico", bell)
    write_icon("reminder.ico", clock)
    write_icon("alarm_log.ico", log_list)
    write_icon("channel_up.ico", arrow(True))
    write_icon("channel_down.ico", arrow(False))
    write_icon("news.ico", newspaper)
    write_cursor("hand.cur", hand, 32, (12, 2))
    write_mono_bitmap("timer_button.bmp", TIMER_BUTTON)
    write_masked_bitmap("news_refresh.bmp", refresh, 20)
    write_masked_bitmap("news_channels.bmp", channel_list, 20)
