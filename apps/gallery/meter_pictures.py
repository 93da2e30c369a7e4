#!/usr/bin/env python3
"""Draws the gallery's meter pictures (run once; the PNG files are committed):
meter_dial.png  a warm dial face with a soft vertical shade, stretched behind a meter;
meter_tile.png  a small brushed-metal tile, repeated behind a meter;
meter_cap.png   a round knurled cap that covers a needle's pivot."""
import math
import struct
import zlib


def write_png(name, width, height, pixel):
    rows = b"".join(
        b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))


def dial(x, y):
    t = y / 119
    return (255 - int(20 * t), 248 - int(40 * t), 225 - int(70 * t))


def tile(x, y):
    v = 200 + (x * 7 + y * 13) % 17 - (y % 4 == 0) * 12
    return (v - 10, v, v + 12)


def cap(x, y):
    dx, dy = x - 13.5, y - 13.5
    r = math.hypot(dx, dy)
    if r > 13.5:
        return (240, 240, 240)
    if r > 11.5 and int(math.degrees(math.atan2(dy, dx)) // 15) % 2:
        return (60, 60, 70)
    shade = int(90 + 60 * (1 - (dx + dy) / 28))
    return (shade, shade, shade + 20)


write_png("meter_dial.png", 160, 120, dial)
write_png("meter_tile.png", 12, 12, tile)
write_png("meter_cap.png", 28, 28, cap)
