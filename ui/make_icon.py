#!/usr/bin/env python3
"""Draws the program's icon: a film frame with two subtitle lines in the 16
colours of the standard VGA palette, laid out on a grid of 32x32 and drawn at
each size with its boxes scaled. Writes ui/marliva.ico (one 4-bit 32x32 image,
icon group 103 of the resource script), ui/marliva.png (the same picture) and
the larger pictures that desktop menus use, ui/marliva-48.png and
ui/marliva-256.png."""
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
SIZE = 32          # the grid of the layout, and the Windows icon's size
LARGE_SIZES = (48, 256)
CLEAR = None


def draw(size=SIZE):
    pixels = [[CLEAR] * size for _ in range(size)]

    def edge(unit):                        # a grid line's pixel at this size
        return (unit * size + SIZE // 2) // SIZE

    def box(x0, y0, x1, y1, colour):       # grid cells x0..x1, y0..y1 inclusive
        for y in range(edge(y0), edge(y1 + 1)):
            for x in range(edge(x0), edge(x1 + 1)):
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
    size = len(pixels)
    raw = b""
    for row in pixels:
        raw += b"\0" + b"".join(
            bytes((0, 0, 0, 0)) if p is CLEAR else bytes(PALETTE[p] + (255,)) for p in row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    head = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    here = pathlib.Path(__file__).resolve().parent
    picture = draw()
    (here / "marliva.ico").write_bytes(ico(picture))
    (here / "marliva.png").write_bytes(png(picture))
    for size in LARGE_SIZES:
        (here / f"marliva-{size}.png").write_bytes(png(draw(size)))
