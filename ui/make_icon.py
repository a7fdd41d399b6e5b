#!/usr/bin/env python3
"""Draws the program's icon: a film frame with two subtitle lines, 32x32 in the
16 colours of the standard VGA palette. Writes ui/marliva.ico (one 4-bit image,
icon group 103 of the resource script) and ui/marliva.png (the same picture)."""
import pathlib
import struct
import zlib

PALETTE = [  # the 16 standard colours, (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GREY, YELLOW, WHITE = 0, 4, 6, 7, 8, 11, 15
SIZE = 32
CLEAR = None


def draw():
    pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def box(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    box(1, 3, 30, 28, BLACK)               # the film strip
    for x in range(3, 30, 4):              # perforations along both edges
        box(x, 4, x + 1, 5, SILVER)
        box(x, 26, x + 1, 27, SILVER)
    box(2, 7, 29, 24, NAVY)                # the picture
    box(2, 7, 29, 7, GREY)
    box(2, 24, 29, 24, GREY)
    box(20, 9, 24, 12, TEAL)               # a moon over the scene
    box(21, 8, 23, 13, TEAL)
    box(6, 16, 25, 18, WHITE)              # first subtitle line
    box(9, 20, 22, 22, YELLOW)             # second subtitle line
    return pixels


def ico(pixels):
    xor_rows, and_rows = [], []
    for row in reversed(pixels):           # bottom-up
        nibbles = [0 if p is CLEAR else p for p in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is CLEAR else 0)
        and_rows.append(bits.to_bytes(4, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def png(pixels):
    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(
            bytes((0, 0, 0, 0)) if p is CLEAR else bytes(PALETTE[p] + (255,)) for p in row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    head = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    here = pathlib.Path(__file__).resolve().parent
    picture = draw()
    (here / "marliva.ico").write_bytes(ico(picture))
    (here / "marliva.png").write_bytes(png(picture))
