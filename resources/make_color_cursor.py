#!/usr/bin/python3
"""Writes resources/color.cur: the dropper cursor of the GIF options dialog,
32 x 32 pixels in black and white, the pipette lying from its tip at the
lower left (the hot spot, 5, 27) up to its rubber bulb at the upper right.
Run it by hand after changing the drawing; the build uses the committed file.

A cursor file is an icon directory of type 2 whose entry carries the hot
spot; the image is a 1-bit DIB with a 40-byte header whose height counts the
XOR rows and the AND rows together, a two-colour table, then the XOR rows and
the AND rows, each bottom-up and padded to 4 bytes. AND 1 / XOR 0 leaves the
screen as it is; AND 0 paints the XOR colour.
"""

import math
import os
import struct

SIZE = 32
HOT_SPOT = (5, 27)
TIP = (5.0, 27.0)
NECK = (19.5, 12.5)  # where the glass tube meets the collar
BULB = (24.3, 7.7)


def distance_to_segment(x, y, a, b):
    """Distance from (x, y) to the segment a-b, and how far along it (0 to 1)."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (a[0] + t * dx), y - (a[1] + t * dy)), t


def paint(x, y):
    """'black', 'white' or None (transparent) for the pixel at (x, y)."""
    px, py = x + 0.5, y + 0.5
    if (x, y) == HOT_SPOT:
        return "black"
    if math.hypot(px - BULB[0], py - BULB[1]) <= 4.4:
        return "black"
    # The collar: a short bar across the pipette between tube and bulb.
    collar_ends = ((NECK[0] - 3.2, NECK[1] - 3.2), (NECK[0] + 3.2, NECK[1] + 3.2))
    if distance_to_segment(px, py, *collar_ends)[0] <= 1.3:
        return "black"
    # The glass tube narrows towards the tip; a black outline, a white inside.
    d, t = distance_to_segment(px, py, TIP, NECK)
    radius = 0.8 + 1.7 * min(1.0, t * 5.0)
    if d <= radius:
        return "white" if d <= radius - 1.1 else "black"
    return None


def rows(bit_of):
    """Packed 1-bit rows, bottom-up, each 4 bytes."""
    data = b""
    for y in reversed(range(SIZE)):
        value = 0
        for x in range(SIZE):
            value = value << 1 | bit_of(paint(x, y))
        data += value.to_bytes(4, "big")
    return data


def cursor_bytes():
    xor_rows = rows(lambda p: 1 if p == "white" else 0)
    and_rows = rows(lambda p: 1 if p is None else 0)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor_rows) + len(and_rows), 0, 0, 2, 0)
    table = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + table + xor_rows + and_rows
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "color.cur")
    with open(path, "wb") as out:
        out.write(cursor_bytes())
    for y in range(SIZE):
        print("".join({"black": "#", "white": "o", None: "."}[paint(x, y)] for x in range(SIZE)))


if __name__ == "__main__":
    main()
