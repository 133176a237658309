#!/usr/bin/env python3
"""Draws Corvane's own images: the gift-box icon, the pointing-hand cursor and
the beach picture. Its output is committed, so a build never runs it.

    python3 resources/generate.py        (needs ImageMagick's convert for the JPEG)
"""
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

PINK = (244, 143, 177)
PINK_LIGHT = (248, 187, 208)
PINK_DARK = (194, 24, 91)
BLUE = (30, 136, 229)
BLUE_DARK = (13, 71, 161)


def gift_box(x, y):
    """Colour and coverage of the gift box at (x, y) in the unit square."""
    def ellipse(cx, cy, rx, ry):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    in_body = 0.14 <= x <= 0.86 and 0.44 <= y <= 0.93
    in_lid = 0.08 <= x <= 0.92 and 0.30 <= y <= 0.45
    vertical = 0.44 <= x <= 0.56
    if ellipse(0.5, 0.27, 0.06, 0.05):
        return BLUE_DARK
    if ellipse(0.35, 0.20, 0.15, 0.09) or ellipse(0.65, 0.20, 0.15, 0.09):
        inner = ellipse(0.35, 0.20, 0.08, 0.04) or ellipse(0.65, 0.20, 0.08, 0.04)
        return BLUE_DARK if inner else BLUE
    if in_lid:
        edge = x < 0.10 or x > 0.90 or y < 0.32 or y > 0.43
        return BLUE if vertical else (PINK_DARK if edge else PINK_LIGHT)
    if in_body:
        edge = x < 0.16 or x > 0.84 or y > 0.91
        if vertical or 0.62 <= y <= 0.70:
            return BLUE
        return PINK_DARK if edge else PINK
    return None


def render_rgba(size, samples=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = gift_box((px + (sx + 0.5) / samples) / size,
                                      (py + (sy + 0.5) / samples) / size)
                    if colour:
                        hits += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if hits:
                row.append((acc[0] // hits, acc[1] // hits, acc[2] // hits,
                            255 * hits // (samples * samples)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def and_mask(rows):
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib_header(size, bits, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def dib32(rows):
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    return dib_header(size, 32) + pixels + and_mask(rows)


PALETTE = [(0, 0, 0), (255, 255, 255), PINK, PINK_LIGHT, PINK_DARK, BLUE, BLUE_DARK]


def dib8(rows):
    size = len(rows)
    palette = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    def nearest(p):
        return min(range(len(PALETTE)),
                   key=lambda i: sum((PALETTE[i][k] - p[k]) ** 2 for k in range(3)))
    stride = (size + 3) // 4 * 4
    pixels = b""
    for row in reversed(rows):
        line = bytes(nearest(p) if p[3] >= 128 else 0 for p in row)
        pixels += line + b"\0" * (stride - size)
    return (dib_header(size, 8, 256) + b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
            + pixels + and_mask(rows))


def write_icon(path):
    images = []  # (size, bits, data)
    for size in (48, 32, 24, 16):
        images.append((size, 8, dib8(render_rgba(size))))
    for size in (256, 128, 48, 32, 24, 16):
        rows = render_rgba(size)
        images.append((size, 32, png(rows) if size == 256 else dib32(rows)))
    offset = 6 + 16 * len(images)
    header = struct.pack("<HHH", 0, 1, len(images))
    body = b""
    for size, bits, data in images:
        header += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    with open(path, "wb") as f:
        f.write(header + body)


def hand_shape():
    """32 x 32 pointing hand; True where the hand is. The fingertip is at (5, 0)."""
    filled = set()
    def rect(x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                filled.add((x, y))
    rect(4, 1, 7, 16)   # index finger
    rect(5, 0, 6, 0)    # its rounded tip
    rect(8, 7, 11, 16)  # middle finger
    rect(9, 6, 10, 6)
    rect(12, 8, 15, 16)  # ring finger
    rect(13, 7, 14, 7)
    rect(16, 10, 19, 17)  # little finger
    rect(17, 9, 18, 9)
    rect(4, 14, 19, 24)  # palm
    for i in range(6):   # thumb, slanting in from the left
        rect(i, 12 + i, 3 + i, 14 + i)
    rect(6, 25, 18, 28)  # wrist
    return filled


def write_cursor(path):
    filled = hand_shape()
    def outline(x, y):
        return any((x + dx, y + dy) not in filled for dx in (-1, 0, 1) for dy in (-1, 0, 1))
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):
        xor_bits, and_bits = bytearray(4), bytearray(4)
        for x in range(32):
            if (x, y) in filled:
                if not outline(x, y):
                    xor_bits[x // 8] |= 0x80 >> (x % 8)  # white inside, black outline
            else:
                and_bits[x // 8] |= 0x80 >> (x % 8)  # transparent
        xor_rows.append(bytes(xor_bits))
        and_rows.append(bytes(and_bits))
    data = (struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
            + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + b"".join(xor_rows) + b"".join(and_rows))
    header = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 2, 0, 5, 0, len(data), 22)
    with open(path, "wb") as f:
        f.write(header + data)


def write_beach(path):
    clouds = []
    for cx, cy, scale in ((70, 28, 1.0), (150, 40, 0.8), (420, 90, 1.4), (900, 60, 1.2),
                          (1300, 120, 1.6), (650, 220, 1.0), (1150, 300, 0.9), (250, 300, 1.1)):
        for dx, dy, rx, ry in ((0, 0, 40, 16), (-30, 8, 28, 13), (32, 6, 30, 14), (8, -10, 26, 14)):
            clouds.append("ellipse %d,%d %d,%d 0,360" % (cx + dx * scale, cy + dy * scale,
                                                           rx * scale, ry * scale))
    boats = []
    for x, y, s in ((300, 820, 1.0), (900, 760, 0.7), (1250, 900, 1.3)):
        def p(px, py):
            return "%d,%d" % (x + px * s, y + py * s)
        boats.append("fill white polygon %s %s %s %s" % (p(0, 0), p(160, 0), p(130, 30), p(20, 30)))
        boats.append("fill #d32f2f polygon %s %s %s %s" % (p(8, 10), p(150, 10), p(144, 16), p(12, 16)))
        boats.append("fill #263238 polygon %s %s %s %s" % (p(60, 0), p(100, 0), p(90, -20), p(70, -20)))
        boats.append("stroke white stroke-width 3 fill none polyline %s %s %s" % (
            p(-10, 28), p(-120, 40), p(-240, 48)))
    cmd = ["convert", "-size", "1600x680", "gradient:#3a8ee6-#bfe4ff",
           "-size", "1600x520", "gradient:#1f7fbf-#0b4f7a", "-append",
           "-fill", "white", "-draw", " ".join(clouds),
           "-fill", "#f2dca6", "-draw", "polygon 0,1060 600,1010 1600,980 1600,1200 0,1200"]
    for boat in boats:
        cmd += ["-draw", boat]
    cmd += ["-quality", "82", "-interlace", "none", "-strip", path]
    subprocess.run(cmd, check=True)


if __name__ == "__main__":
    write_icon(os.path.join(HERE, "corvane.ico"))
    write_cursor(os.path.join(HERE, "hand.cur"))
    write_beach(os.path.join(HERE, "beach.jpg"))
