#!/usr/bin/env python3
"""Draws vantor.exe's icons and its hand cursor and writes them as .ico and .cur files.

The files are kept in the repository, so that building needs no Python; run this script again
after changing a drawing:

    python3 manager/resources/make_icons.py

The icons show a file folder with a "V": the folder stands for the standard file dialogs, the V
for the trained dialogs; whatever is switched off is drawn grey.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

AMBER_BACK = (0xC8, 0x86, 0x1E)
AMBER_FRONT = (0xF6, 0xC4, 0x4E)
GREY_BACK = (0x80, 0x80, 0x80)
GREY_FRONT = (0xC4, 0xC4, 0xC4)
BLUE = (0x1C, 0x4C, 0xC0)
DARK_GREY = (0x58, 0x58, 0x58)


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return ((x - px) ** 2 + (y - py) ** 2) ** 0.5


def shade(x, y, folder_on, v_on):
    """Colour (r, g, b) of the point (x, y) of the unit square, or None where it is empty."""
    back, front = (AMBER_BACK, AMBER_FRONT) if folder_on else (GREY_BACK, GREY_FRONT)
    v = BLUE if v_on else DARK_GREY
    if (distance_to_segment(x, y, 0.30, 0.42, 0.50, 0.80) < 0.075
            or distance_to_segment(x, y, 0.70, 0.42, 0.50, 0.80) < 0.075):
        return v
    if in_rect(x, y, 0.08, 0.32, 0.92, 0.88):
        return front
    if in_rect(x, y, 0.04, 0.20, 0.96, 0.90) or in_rect(x, y, 0.04, 0.12, 0.46, 0.22):
        return back
    return None


def render(size, folder_on, v_on):
    """Rows of (b, g, r, a) pixels, top row first, 4 × 4 samples a pixel."""
    rows = []
    n = 4
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size,
                              folder_on, v_on)
                    if c:
                        hits += 1
                        for i in range(3):
                            total[i] += c[i]
            if hits:
                r, g, b = (t // hits for t in total)
                row.append((b, g, r, 255 * hits // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def mask_row(bits, width):
    """A 1-bit row, padded to 32 bits."""
    data = bytearray((width + 31) // 32 * 4)
    for i, bit in enumerate(bits):
        if bit:
            data[i // 8] |= 0x80 >> (i % 8)
    return bytes(data)


def icon_image(size, folder_on, v_on):
    rows = render(size, folder_on, v_on)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for p in row for c in p) for row in reversed(rows))
    masks = b''.join(mask_row([p[3] == 0 for p in row], size) for row in reversed(rows))
    return header + pixels + masks


def write_icon(name, folder_on, v_on):
    images = [(s, icon_image(s, folder_on, v_on)) for s in (16, 32, 48)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


# A pointing hand: "X" black, "." white, blank transparent. The hot spot is the finger tip.
HAND = [
    "     XX",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..X",
    "    X..XXX",
    "    X..X..XXX",
    "    X..X..X..XX",
    " XX X..X..X..X.X",
    "X..XX........X..X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X............X",
    "   X...........X",
    "   X..........X",
    "    X.........X",
    "    X........X",
    "     X.......X",
    "     XXXXXXXXX",
]
HAND_HOT_SPOT = (5, 0)


def write_cursor(name):
    size = 32
    grid = [(HAND[y] if y < len(HAND) else "").ljust(size) for y in range(size)]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b''.join(mask_row([c == '.' for c in row], size) for row in reversed(grid))
    and_ = b''.join(mask_row([c == ' ' for c in row], size) for row in reversed(grid))
    data = header + palette + xor + and_
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', size, size, 2, 0, HAND_HOT_SPOT[0], HAND_HOT_SPOT[1],
                       len(data), 6 + 16)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out + data)


if __name__ == '__main__':
    write_icon('vantor.ico', True, True)           # 128, the window's icon
    write_icon('tray_enabled.ico', True, True)     # 129
    write_icon('tray_disabled.ico', False, False)  # 553
    write_icon('tray_common_off.ico', False, True)  # 554
    write_icon('tray_trained_off.ico', True, False)  # 555
    write_cursor('hand.cur')                       # 556
