#!/usr/bin/python3
"""Writes resources/toolbar.bmp: the toolbar's strip of nine 16 x 16 button
images (open, save as, make, tile, centre, clear, help, undo, redo) side by
side in a 146 x 17 bitmap of 16 colours. Run it by hand after changing a picture; the
build uses the committed toolbar.bmp.

Each image is drawn from a 16-line text picture in which every character is
a colour of the standard VGA palette ('.' is the button face).
"""

import os
import struct

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Character -> palette index.
COLORS = {'.': 7, 'k': 0, 'r': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6,
          'd': 8, 'R': 9, 'G': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15}

OPEN = """
................
................
................
.kkkk...........
kYYYYk..........
kYWYWkkkkkkkk...
kWYWYWYWYWYWk...
kYWYkkkkkkkkkkkk
kWYkoooooooooook
kYkoooooooooook.
kWkooooooooook..
kkoooooooooook..
kkooooooooook...
kkkkkkkkkkkk....
................
................
"""

SAVE = """
................
.kkkkkkkkkkkkkk.
.kdkWWWWWWWWkBk.
.kdkWWWWWWWWkBk.
.kdkWddddddWkBk.
.kdkWWWWWWWWkBk.
.kdkWddddddWkBk.
.kBkWWWWWWWWkBk.
.kBBkkkkkkkkBBk.
.kBBBBBBBBBBBBk.
.kBBkkkkkkkkBBk.
.kBBkddWWWWkBBk.
.kBBkddWWWWkBBk.
.kBBkddWWWWkBBk.
..kkkkkkkkkkkkk.
................
"""

MAKE = """
................
.......kk.......
......kRRk......
..kk..kRRk..kk..
..kYk.kMMk.kYk..
...kYkkMMkkYk...
....kBkCCkBk....
.kkkkCkYYkCkkkk.
.kRMMCYWWYCMMRk.
.kkkkCkYYkCkkkk.
....kBkCCkBk....
...kYkkMMkkYk...
..kYk.kMMk.kYk..
..kk..kRRk..kk..
......kRRk......
.......kk.......
"""

TILE = """
................
kkkkkkkkkkkkkkk.
kCCCCCCkCCCCCCk.
kCRRRRCkCRRRRCk.
kCRYYRCkCRYYRCk.
kCRYYRCkCRYYRCk.
kCRRRRCkCRRRRCk.
kkkkkkkkkkkkkkk.
kCCCCCCkCCCCCCk.
kCRRRRCkCRRRRCk.
kCRYYRCkCRYYRCk.
kCRYYRCkCRYYRCk.
kCRRRRCkCRRRRCk.
kkkkkkkkkkkkkkk.
................
................
"""

CENTER = """
................
kkkkkkkkkkkkkkk.
kttttttttttttdk.
kttttttttttttdk.
ktttkkkkkkktttk.
ktttkRRRRRktttk.
ktttkRYYYRktttk.
ktttkRYYYRktttk.
ktttkRRRRRktttk.
ktttkkkkkkktttk.
kttttttttttttdk.
kkkkkkkkkkkkkkk.
......kddk......
....kkkkkkkk....
................
................
"""

CLEAR = """
................
kkkkkkkkkkkkkkk.
knnnnnnnnnnnnnk.
knRRnnnnnnnRRnk.
knnRRnnnnnRRnnk.
knnnRRnnnRRnnnk.
knnnnRRnRRnnnnk.
knnnnnRRRnnnnnk.
knnnnRRnRRnnnnk.
knnnRRnnnRRnnnk.
knnRRnnnnnRRnnk.
kkkkkkkkkkkkkkk.
......kddk......
....kkkkkkkk....
................
................
"""

HELP = """
................
.....kkkkkk.....
....kBBBBBBk....
...kBBkkkkBBk...
...kBBk..kBBk...
....kk..kBBk....
.......kBBk.....
......kBBk......
......kBBk......
.......kk.......
................
......kkkk......
......kBBk......
......kBBk......
.......kk.......
................
"""

UNDO = """
................
................
................
....kk..........
...kBk..........
..kBBkkkkkkk....
.kBBBBBBBBBBkk..
kBBBBBBBBBBBBBk.
.kBBBBBBBBBBBBBk
..kBBkkkkkkkkBBk
...kBk......kBBk
....kk.......kBk
.............kBk
............kBk.
...........kk...
................
"""

# Redo is Undo mirrored.
REDO = '\n'.join(line[::-1] for line in UNDO.split('\n'))

IMAGES = [OPEN, SAVE, MAKE, TILE, CENTER, CLEAR, HELP, UNDO, REDO]
WIDTH, HEIGHT = 146, 17


def strip_pixels():
    """The strip's colour indices, top row first."""
    rows = [[COLORS['.']] * WIDTH for _ in range(HEIGHT)]
    for number, picture in enumerate(IMAGES):
        lines = picture.strip('\n').split('\n')
        assert len(lines) == 16 and all(len(line) == 16 for line in lines), number
        for y, line in enumerate(lines):
            for x, char in enumerate(line):
                rows[y][number * 16 + x] = COLORS[char]
    return rows


def bmp_bytes(rows):
    stride = (WIDTH + 7) // 8 * 4
    pixels = b''
    for row in reversed(rows):
        packed = bytes((row[x] << 4) | (row[x + 1] if x + 1 < WIDTH else 0) for x in range(0, WIDTH, 2))
        pixels += packed + b'\0' * (stride - len(packed))
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(table)
    header = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + table + pixels


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'toolbar.bmp')
    with open(path, 'wb') as out:
        out.write(bmp_bytes(strip_pixels()))


if __name__ == '__main__':
    main()
