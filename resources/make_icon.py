#!/usr/bin/python3
"""Writes resources/vitrelle.ico: the program icon, 16 x 16 and 32 x 32 pixels
in 16 colours, an eight-fold kaleidoscope tile like the pictures the program
grows. Run it by hand after changing the picture; the build uses the
committed vitrelle.ico.

An icon file is a directory of images; each image here is a 4-bit DIB with a
40-byte header whose height counts the colour rows and the transparency mask
together, then 16 colour-table entries, the colour rows bottom-up and the
1-bit mask rows (all 0: every pixel is opaque), each row padded to 4 bytes.
"""

import os
import struct

# The 16 colours of the standard VGA palette (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Palette indices from the centre of the tile outwards.
RAMP = [15, 11, 14, 6, 4, 12, 13, 5, 1, 9, 11, 3]


def pixel(x, y, size):
    """The colour index at (x, y): rings bent into a cross, folded from one octant."""
    if x in (0, size - 1) or y in (0, size - 1):
        return 0
    half = size / 2
    a, b = abs(x + 0.5 - half), abs(y + 0.5 - half)
    a, b = min(a, b), max(a, b)
    scale = 16 / size
    ring = int((a * a + b * b) ** 0.5 * scale)
    arm = int((b - a) * scale * 0.7)
    return RAMP[(ring - arm) % len(RAMP)]


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def icon_image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    rows = []
    for y in reversed(range(size)):
        indices = [pixel(x, y, size) for x in range(size)]
        rows.append(padded(bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))))
    mask = padded(b"\0" * (size // 8)) * size
    return header + table + b"".join(rows) + mask


def icon_file(sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "vitrelle.ico")
    with open(path, "wb") as out:
        out.write(icon_file([16, 32]))
