#!/usr/bin/env python3
"""Draws the program's pointer files: HAND-M.CUR (the hand over buttons) and
drag.ico (the row-drag pointer). Run it again after changing a drawing; the
outputs are committed beside it. The application icon is drawn by
make_app_icons.py."""
import struct

HAND = """
.....XX.........
....X..X........
....X..X........
....X..X........
....X..XXX......
....X..X..XXX...
.XX.X..X..X..XX.
X..XX..X..X..X.X
X...X........X.X
.X...........X.X
..X............X
..X...........X.
...X..........X.
...X.........X..
....X........X..
....XXXXXXXXXX..
"""

DRAG = """
.......XX.......
......XXXX......
.....XXXXXX.....
....XX.XX.XX....
.......XX.......
.......XX.......
XXXXXXXXXXXXXXXX
XXXXXXXXXXXXXXXX
.......XX.......
.......XX.......
.......XX.......
....XX.XX.XX....
.....XXXXXX.....
......XXXX......
.......XX.......
................
"""


def grid(art):
    rows = [r for r in art.strip("\n").split("\n")]
    return [[c for c in r] for r in rows]


def pixels(art, scale=2):
    """32x32 BGRA rows, top first: outline black, inside of the hand white."""
    g = grid(art)
    size = len(g) * scale
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            c = g[y // scale][x // scale]
            row.append((0, 0, 0, 255) if c == "X" else (0, 0, 0, 0))
        out.append(row)
    # fill the inside white: pixels enclosed horizontally by outline on a row
    for y, row in enumerate(out):
        xs = [x for x, p in enumerate(row) if p[3]]
        if len(xs) >= 2:
            for x in range(xs[0], xs[-1]):
                if not row[x][3]:
                    row[x] = (255, 255, 255, 255)
    return out


def dib(px):
    size = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = b"".join(bytes(p) for row in reversed(px) for p in row)
    mask_row = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(px):
        bits = 0
        for x, p in enumerate(row):
            if not p[3]:
                bits |= 1 << (mask_row * 8 - 1 - x)
        mask += bits.to_bytes(mask_row, "big")
    return header + body + mask


def icon_file(px, kind, hot=(0, 0)):
    data = dib(px)
    size = len(px)
    a, b = (hot if kind == 2 else (1, 32))
    head = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, a, b, len(data), 6 + 16)
    return head + entry + data


if __name__ == "__main__":
    hand = pixels(HAND)
    open("HAND-M.CUR", "wb").write(icon_file(hand, 2, hot=(11, 0)))
    open("drag.ico", "wb").write(icon_file(pixels(DRAG), 1))
