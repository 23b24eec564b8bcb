#!/usr/bin/env python3
"""Draws the alarm log's icons (alarm bell, reminder clock, log list) as
16x16 and 32x32 32-bit icons. Run from this folder; writes the .ico files."""
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


if __name__ == "__main__":
    write_icon("alarm.ico", bell)
    write_icon("reminder.ico", clock)
    write_icon("alarm_log.ico", log_list)
