#!/usr/bin/env python3
"""Renders the icon's simple shapes (the same as quorvel.svg) to PNG files of several sizes."""
import struct
import sys
import zlib

BACKGROUND = (0x1E, 0x6F, 0xD9)
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded(x, y, left, top, size, radius):
    cx = min(max(x, left + radius), left + size - radius)
    cy = min(max(y, top + radius), top + size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and left <= x <= left + size and top <= y <= top + size


def colour_at(x, y):
    """Colour of the 256-unit design at (x, y), or None for transparent."""
    if not inside_rounded(x, y, 8, 8, 240, 48):
        return None
    if 150 <= x <= 170 and 48 <= y <= 180 or 150 <= x <= 210 and 48 <= y <= 70:
        return WHITE
    if (x - 128) ** 2 + (y - 182) ** 2 <= 36 ** 2:
        return WHITE
    return BACKGROUND


def render(size, samples=4):
    rows = []
    scale = 256 / size
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * scale, (py + (sy + 0.5) / samples) * scale)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = samples * samples
            row += bytes([r // a, g // a, b // a, 255 * a // n] if a else [0, 0, 0, 0])
        rows.append(bytes(row))
    return rows


def write_png(path, size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(b"".join(render(size)), 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    for size in map(int, sys.argv[1:] or ["16", "32", "48", "64", "128", "256"]):
        write_png(f"quorvel-{size}.png", size)
