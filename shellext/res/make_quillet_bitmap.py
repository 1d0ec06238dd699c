#!/usr/bin/env python3
"""Draws bitmap 201 of the Explorer extension: a 16x16, 24-bit image of a
quill over two text lines with a line-end mark, shown beside the "Quillet"
submenu. Writes Quillet16.bmp next to this script (standard library only).

    python3 shellext/res/make_quillet_bitmap.py
"""
import os
import struct

SIZE = 16
WHITE = (255, 255, 255)
PAPER = (250, 250, 244)
EDGE = (120, 120, 120)
INK = (40, 70, 150)
FEATHER = (200, 120, 30)
SHAFT = (110, 60, 20)
MARK = (30, 150, 60)


def draw():
    # pixels[y][x], y = 0 at the top.
    pixels = [[WHITE] * SIZE for _ in range(SIZE)]
    # A sheet of paper with a grey edge.
    for y in range(2, 16):
        for x in range(1, 12):
            edge = x in (1, 11) or y in (2, 15)
            pixels[y][x] = EDGE if edge else PAPER
    # Two text lines, each ended by a bent line-end arrow.
    for y in (6, 10):
        for x in range(3, 8):
            pixels[y][x] = INK
        pixels[y - 2][9] = MARK
        pixels[y - 1][9] = MARK
        pixels[y][9] = MARK
        pixels[y][8] = MARK
        pixels[y - 1][8] = MARK
        pixels[y + 1][8] = MARK
    pixels[13][3] = INK
    pixels[13][4] = INK
    pixels[13][5] = INK
    # A quill leaning from the top right down to the page.
    for i in range(9):
        x, y = 15 - i // 2 - (i % 2), i
        if 0 <= x < SIZE:
            pixels[y][x] = FEATHER
            if x + 1 < SIZE and i < 7:
                pixels[y][x + 1] = FEATHER
    for y, x in ((9, 11), (10, 11), (11, 10), (12, 10)):
        pixels[y][x] = SHAFT
    return pixels


def write_bmp(path, pixels):
    row_bytes = SIZE * 3  # 48: already a multiple of 4, no padding
    image_size = row_bytes * SIZE
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up rows, blue-green-red order
        rows.append(b''.join(bytes((b, g, r)) for (r, g, b) in pixels[y]))
    with open(path, 'wb') as out:
        out.write(header + info + b''.join(rows))


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp(os.path.join(here, 'Quillet16.bmp'), draw())
