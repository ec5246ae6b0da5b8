#!/usr/bin/env python3
"""Writes icon0.ico ... icon4.ico into the given directory: 32 x 32 icons, opaque, whose
upper half and lower half have the colours that icons_tests.cpp expects for index k."""
import struct
import sys


def colours(k):
    top = (0x10 + 0x30 * k, 0x80, 0xC0)     # (red, green, blue)
    bottom = (0xC0, 0x10 + 0x30 * k, 0x40)
    return top, bottom


def icon(k):
    top, bottom = colours(k)
    side = 32
    header = struct.pack('<IiiHHIIiiII', 40, side, 2 * side, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(side):               # bottom-up: the first row is the lowest
        r, g, b = bottom if y < side // 2 else top
        rows.append(bytes((b, g, r, 0xFF)) * side)
    mask = bytes(4 * side)               # all opaque
    image = header + b''.join(rows) + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


for k in range(5):
    with open(f'{sys.argv[1]}/icon{k}.ico', 'wb') as f:
        f.write(icon(k))
