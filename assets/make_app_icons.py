#!/usr/bin/env python3
"""Draws the application icon of the menu and the file manager: three stacked
layers under a magnifying glass. Writes the hicolor theme's sizes as PNG and
a scalable SVG, from one description of the shapes, into
../data/icons/hicolor/. Run it again after changing the drawing; the outputs
are committed. Pure Python: anti-aliasing by 4 x 4 samples per pixel."""
import math
import os
import struct
import zlib

APP_ID = "example.halvorine.Halvorine"
SIZES = (16, 32, 48, 64, 128, 256)
CANVAS = 256.0  # the shapes' coordinates
SAMPLES = 4

# (centre x, centre y, half width, half height) of each layer, bottom first,
# with its fill; every layer has the same outline.
LAYERS = (
    ((112, 166, 98, 52), (0x1F, 0x5F, 0xA8)),
    ((112, 126, 98, 52), (0x2F, 0x80, 0xD2)),
    ((112, 86, 98, 52), (0x66, 0xB2, 0xF2)),
)
LAYER_OUTLINE = ((0x0E, 0x2F, 0x57), 5.0)  # colour, width outside the fill
LENS = (176, 168, 44)  # centre x, centre y, radius of the ring's middle
RING = ((0x26, 0x32, 0x38), 14.0)
GLASS = (0xFF, 0xFF, 0xFF, 0.45)
HANDLE = ((0xE8, 0x89, 0x1C), 22.0, (208, 200), (238, 230))  # colour, width, from, to


def diamond_inside(x, y, layer, grow=0.0):
    (cx, cy, a, b) = layer
    k = math.hypot(a, b) / (a * b)  # from the edge's distance to |x|/a + |y|/b
    return abs(x - cx) / a + abs(y - cy) / b <= 1.0 + grow * k


def segment_distance(x, y, p, q):
    (px, py), (qx, qy) = p, q
    dx, dy = qx - px, qy - py
    t = max(0.0, min(1.0, ((x - px) * dx + (y - py) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - px - t * dx, y - py - t * dy)


def shapes():
    """(colour, alpha, inside(x, y)) in painting order."""
    out = []
    for layer, fill in LAYERS:
        out.append((LAYER_OUTLINE[0], 1.0, lambda x, y, l=layer: diamond_inside(x, y, l, LAYER_OUTLINE[1])))
        out.append((fill, 1.0, lambda x, y, l=layer: diamond_inside(x, y, l)))
    cx, cy, r = LENS
    half = RING[1] / 2
    out.append((GLASS[:3], GLASS[3], lambda x, y: math.hypot(x - cx, y - cy) <= r - half))
    out.append((RING[0], 1.0, lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= half))
    colour, width, p, q = HANDLE
    out.append((colour, 1.0, lambda x, y: segment_distance(x, y, p, q) <= width / 2))
    return out


def render(size):
    """Rows of (r, g, b, a) bytes, top first."""
    scale = CANVAS / size
    painted = shapes()
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0  # premultiplied
            for colour, alpha, inside in painted:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) * scale
                        y = (py + (sy + 0.5) / SAMPLES) * scale
                        hits += inside(x, y)
                cover = alpha * hits / (SAMPLES * SAMPLES)
                if cover:
                    r = colour[0] * cover + r * (1 - cover)
                    g = colour[1] * cover + g * (1 - cover)
                    b = colour[2] * cover + b * (1 - cover)
                    a = cover + a * (1 - cover)
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    size = len(rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hex_colour(c):
    return "#%02x%02x%02x" % tuple(c)


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">']
    outline, width = LAYER_OUTLINE
    for (cx, cy, a, b), fill in LAYERS:
        points = f"{cx - a},{cy} {cx},{cy - b} {cx + a},{cy} {cx},{cy + b}"
        parts.append(f'  <polygon points="{points}" fill="{hex_colour(fill)}" stroke="{hex_colour(outline)}" '
                     f'stroke-width="{2 * width:g}" paint-order="stroke"/>')
    cx, cy, r = LENS
    colour, ring = RING
    parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{r - ring / 2:g}" fill="{hex_colour(GLASS[:3])}" '
                 f'fill-opacity="{GLASS[3]:g}"/>')
    parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{r}" fill="none" stroke="{hex_colour(colour)}" '
                 f'stroke-width="{ring:g}"/>')
    colour, width, (x1, y1), (x2, y2) = HANDLE
    parts.append(f'  <line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{hex_colour(colour)}" '
                 f'stroke-width="{width:g}" stroke-linecap="round"/>')
    parts.append("</svg>\n")
    return "\n".join(parts)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons", "hicolor")
    for size in SIZES:
        write(os.path.join(root, f"{size}x{size}", "apps", APP_ID + ".png"), png(render(size)))
    write(os.path.join(root, "scalable", "apps", APP_ID + ".svg"), svg().encode())
