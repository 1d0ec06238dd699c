#!/usr/bin/env python3
"""Draws Quillet's bitmaps, icon and cursor and writes them beside this script.

Only the standard library is used, so the art can be rebuilt anywhere:
    python3 gui/res/make_art.py
Magenta (255, 0, 255) marks transparent pixels in the toolbar and list bitmaps;
the icon and the cursor carry an alpha channel and an AND mask.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255, 0)
CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, width, height, background=MAGENTA):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour if len(colour) == 4 else colour + (255,)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dy in range(width):
                for dx in range(width):
                    self.put(x + dx, y + dy, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def pattern(self, x0, y0, rows, palette):
        """Draws ASCII art: each character is a key of palette, '.' leaves the pixel."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch != '.':
                    self.put(x0 + x, y0 + y, palette[ch])


# --- file writers ----------------------------------------------------------

def bmp_bytes(canvas, bits):
    """A bottom-up BITMAPINFOHEADER image of 4, 24 or 32 bits per pixel."""
    w, h = canvas.width, canvas.height
    palette = b''
    if bits == 4:
        colours = []
        for row in canvas.pixels:
            for p in row:
                if p[:3] not in colours:
                    colours.append(p[:3])
        assert len(colours) <= 16, 'a 4-bit bitmap holds at most 16 colours'
        colours += [(0, 0, 0)] * (16 - len(colours))
        palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in colours)
    stride = ((w * bits + 31) // 32) * 4
    rows = []
    for row in reversed(canvas.pixels):
        if bits == 4:
            idx = [colours.index(p[:3]) for p in row] + [0]
            data = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < w else 0) for i in range(0, w, 2))
        elif bits == 24:
            data = b''.join(struct.pack('<BBB', p[2], p[1], p[0]) for p in row)
        else:
            data = b''.join(struct.pack('<BBBB', p[2], p[1], p[0], p[3]) for p in row)
        rows.append(data + b'\0' * (stride - len(data)))
    pixels = b''.join(rows)
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(pixels), 2835, 2835,
                         16 if bits == 4 else 0, 0)
    return header, palette, pixels


def write_bmp(name, canvas, bits):
    header, palette, pixels = bmp_bytes(canvas, bits)
    offset = 14 + len(header) + len(palette)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset))
        f.write(header + palette + pixels)


def icon_image(canvas):
    """A 32-bit icon image: XOR bitmap with alpha, then the 1-bit AND mask."""
    w, h = canvas.width, canvas.height
    xor = b''.join(struct.pack('<BBBB', p[2], p[1], p[0], p[3])
                   for row in reversed(canvas.pixels) for p in row)
    stride = ((w + 31) // 32) * 4
    mask = b''
    for row in reversed(canvas.pixels):
        bits = 0
        data = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                data[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(data)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def icon_file_bytes(canvases, cursor_hotspot=None):
    """An .ico file, or a .cur file when a hot spot is given."""
    kind = 2 if cursor_hotspot else 1
    images = [icon_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        a, b = cursor_hotspot if cursor_hotspot else (1, 32)
        out += struct.pack('<BBBBHHII', c.width % 256, c.height % 256, 0, 0, a, b, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def write_icon(name, canvases, cursor_hotspot=None):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(icon_file_bytes(canvases, cursor_hotspot))


def riff_chunk(tag, data):
    return tag + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')


def write_animated_cursor(name, canvases, hotspot, jiffies):
    """An .ani file: one cursor per frame, shown for `jiffies` sixtieths of a second each."""
    frames = b''.join(riff_chunk(b'icon', icon_file_bytes([c], hotspot)) for c in canvases)
    # anih: size, frames, steps, width, height, bits, planes, rate, flags (1: frames are icons).
    header = struct.pack('<9I', 36, len(canvases), len(canvases), 0, 0, 0, 0, jiffies, 1)
    body = b'ACON' + riff_chunk(b'anih', header) + riff_chunk(b'LIST', b'fram' + frames)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


# --- the pictures -----------------------------------------------------------

INK = (40, 48, 64)
PAPER = (250, 250, 250)
BLUE = (30, 100, 200)
GREEN = (30, 150, 50)
RED = (200, 40, 40)
YELLOW = (240, 200, 70)
DARKYELLOW = (180, 140, 30)
GREY = (128, 128, 128)


def page(c, x, y, w, h):
    """A sheet of paper with a folded corner and three text lines."""
    c.rect(x, y, x + w - 1, y + h - 1, PAPER)
    c.frame(x, y, x + w - 1, y + h - 1, INK)
    fold = max(2, w // 4)
    for i in range(fold):
        for j in range(fold - i):
            c.put(x + w - 1 - j, y + i, MAGENTA if c.pixels[0][0] == MAGENTA else CLEAR)
    c.line(x + w - fold - 1, y, x + w - 1, y + fold, INK)
    for k in range(3):
        ly = y + 3 + k * max(2, h // 5)
        if ly < y + h - 2:
            c.line(x + 2, ly, x + w - 3 - (k % 2) * 2, ly, GREY)


def plus(c, cx, cy, r, colour):
    c.rect(cx - r, cy - 1, cx + r, cy + 1, colour)
    c.rect(cx - 1, cy - r, cx + 1, cy + r, colour)


def cross(c, cx, cy, r, colour):
    c.line(cx - r, cy - r, cx + r, cy + r, colour, 2)
    c.line(cx - r, cy + r - 1, cx + r, cy - r - 1, colour, 2)


def folder(c, x, y, w, h):
    c.rect(x, y + 2, x + w // 2, y + 3, DARKYELLOW)
    c.rect(x, y + 4, x + w - 1, y + h - 1, YELLOW)
    c.frame(x, y + 4, x + w - 1, y + h - 1, DARKYELLOW)


def file_toolbar():
    c = Canvas(80, 20)
    page(c, 2, 1, 12, 16)           # Add Files
    plus(c, 14, 14, 4, GREEN)
    folder(c, 21, 3, 15, 12)         # Add Folder
    plus(c, 34, 14, 4, GREEN)
    page(c, 42, 1, 12, 16)           # Remove
    cross(c, 53, 13, 4, RED)
    page(c, 61, 1, 10, 13)           # Remove All
    page(c, 65, 4, 10, 13)
    cross(c, 73, 14, 4, RED)
    return c


def menu_toolbar():
    c = Canvas(32, 16)
    c.disc(8, 8, 6, GREY)            # Options: a cog
    c.disc(8, 8, 2.5, MAGENTA)
    for dx, dy in ((0, -7), (0, 6), (-7, 0), (6, 0)):
        c.rect(7 + dx, 7 + dy, 8 + dx, 8 + dy, GREY)
    c.disc(24, 8, 7, BLUE)           # Help: a question mark
    c.pattern(21, 3, ["..###.", ".#...#", ".....#", "...##.", "...#..", "......", "...#.."],
              {'#': (255, 255, 255)})
    return c


def format_icons():
    c = Canvas(48, 16)
    # CRLF: four window panes.
    for i, colour in enumerate(((220, 60, 40), (60, 170, 60), (40, 110, 220), (240, 190, 30))):
        x, y = 1 + (i % 2) * 7, 1 + (i // 2) * 7
        c.rect(x, y, x + 5, y + 5, colour)
    # CR: a rounded fruit shape with a leaf.
    c.disc(24, 10, 5.5, (120, 120, 130))
    c.line(24, 2, 26, 0, GREEN, 2)
    c.disc(28, 5, 1.5, MAGENTA)
    # LF: a round-bellied bird.
    c.disc(40, 9, 6, (30, 30, 30))
    c.disc(40, 10, 4, (250, 250, 250))
    c.rect(37, 14, 39, 15, (240, 170, 20))
    c.rect(41, 14, 43, 15, (240, 170, 20))
    c.put(38, 6, (250, 250, 250))
    c.put(42, 6, (250, 250, 250))
    return c


def sort_arrows():
    c = Canvas(18, 5)
    for row in range(5):
        c.line(4 - row, row, 4 + row, row, GREY)          # ascending: point up
        c.line(9 + row, row, 17 - row, row, GREY)          # descending: point down
    return c


def state_icons():
    c = Canvas(48, 16)
    c.disc(8, 8, 7, BLUE)            # Converting: two turning arrows
    c.disc(8, 8, 4, MAGENTA)
    c.rect(0, 6, 4, 9, MAGENTA)
    c.rect(12, 6, 16, 9, MAGENTA)
    c.pattern(0, 4, ["#####", ".###.", "..#.."], {'#': BLUE})
    c.pattern(12, 9, ["..#..", ".###.", "#####"], {'#': BLUE})
    c.disc(24, 8, 7, GREEN)          # OK: a check mark
    c.line(20, 8, 23, 11, (255, 255, 255), 2)
    c.line(23, 11, 28, 4, (255, 255, 255), 2)
    c.disc(40, 8, 7, RED)            # Failed: a cross
    cross(c, 40, 8, 3, (255, 255, 255))
    return c


def app_icon(size):
    c = Canvas(size, size, CLEAR)
    s = size / 32
    page(c, round(3 * s), round(1 * s), round(20 * s), round(26 * s))
    # A pen nib crossing the page: the quill of the name.
    c.line(round(29 * s), round(4 * s), round(13 * s), round(22 * s), BLUE, max(1, round(3 * s)))
    c.line(round(13 * s), round(22 * s), round(10 * s), round(27 * s), INK, max(1, round(2 * s)))
    # The line-ending arrow: down, then back to the left.
    c.line(round(25 * s), round(18 * s), round(25 * s), round(28 * s), GREEN, max(1, round(2 * s)))
    c.line(round(25 * s), round(28 * s), round(17 * s), round(28 * s), GREEN, max(1, round(2 * s)))
    c.line(round(17 * s), round(28 * s), round(20 * s), round(25 * s), GREEN, max(1, round(2 * s)))
    c.line(round(17 * s), round(28 * s), round(20 * s), round(31 * s), GREEN, max(1, round(2 * s)))
    return c


HAND = [
    ".....##.........",
    "....#..#........",
    "....#..#........",
    "....#..#........",
    "....#..###......",
    "....#..#..###...",
    "....#..#..#..##.",
    ".##.#..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    ".#.............#",
    "..#............#",
    "..#...........#.",
    "...#..........#.",
    "....#........#..",
    ".....#.......#..",
    ".....#########..",
]


def hand_cursor():
    c = Canvas(32, 32, CLEAR)
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    for y, row in enumerate(HAND):
        inside = False
        for x, ch in enumerate(row):
            if ch == '#':
                c.put(x, y, black)
    # Fill between the outline's walls, row by row.
    for y, row in enumerate(HAND):
        xs = [x for x, ch in enumerate(row) if ch == '#']
        if len(xs) >= 2:
            for x in range(xs[0] + 1, xs[-1]):
                if row[x] == '.' and y > 0:
                    c.put(x, y, white)
    # Finger above the knuckles: only its own column is inside.
    for y in range(1, 5):
        c.put(5, y, white)
        c.put(6, y, white)
    return c


SAND = (230, 180, 60)
GLASS = (225, 240, 250)


def hourglass(frame, frames=10):
    """One 16 x 16 frame: the sand runs down over the first frames, then the glass turns over."""
    c = Canvas(16, 16, CLEAR)
    turning = frame - (frames - 2)
    if turning >= 0:
        # Turning over: lying on its side, then standing on its head.
        if turning == 0:
            c.rect(1, 3, 1, 12, INK)
            c.rect(14, 3, 14, 12, INK)
            for x in range(2, 14):
                half = 1 + abs(x - 7.5) * 0.75
                c.rect(x, round(7.5 - half), x, round(7.5 + half) - 1, GLASS)
                if x >= 9:
                    c.rect(x, round(7.5 - half) + 1, x, round(7.5 + half) - 2, SAND)
            return c
        frame = 0
    level = frame  # sand rows that have run through
    c.rect(3, 1, 12, 1, INK)
    c.rect(3, 14, 12, 14, INK)
    for y in range(2, 14):
        half = 1 + abs(y - 7.5) * 0.75
        x0, x1 = round(7.5 - half), round(7.5 + half) - 1
        c.rect(x0, y, x1, y, GLASS)
        c.put(x0 - 1, y, INK)
        c.put(x1 + 1, y, INK)
        top_sand = y < 8 and y >= 3 + level * 5 // (frames - 2)
        bottom_sand = y >= 8 and y >= 13 - level * 5 // (frames - 2)
        if top_sand or bottom_sand:
            c.rect(x0 + (1 if x1 - x0 > 2 else 0), y, x1 - (1 if x1 - x0 > 2 else 0), y, SAND)
    if level < frames - 2:
        c.rect(7, 8, 8, 12, SAND)  # the falling thread
    return c


def main():
    write_bmp('menu_toolbar.bmp', menu_toolbar(), 24)      # 130
    write_bmp('file_toolbar.bmp', file_toolbar(), 24)      # 134
    write_bmp('format_icons.bmp', format_icons(), 24)      # 136
    write_bmp('sort_arrows.bmp', sort_arrows(), 4)         # 137
    write_bmp('state_icons.bmp', state_icons(), 24)        # 138
    write_bmp('file_toolbar32.bmp', file_toolbar(), 32)    # 140
    write_icon('Quillet.ico', [app_icon(32), app_icon(16), app_icon(48)])
    write_icon('hand.cur', [hand_cursor()], cursor_hotspot=(5, 0))
    write_animated_cursor('hourglass.ani', [hourglass(i) for i in range(10)], (7, 7), 8)  # 131


if __name__ == '__main__':
    main()
