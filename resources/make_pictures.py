#!/usr/bin/env python3
"""Writes the program's pictures (icon strip, logo, button icons) as BMP and ICO.

Usage: make_pictures.py OUTPUT_DIR
Everything is drawn here so that the repository holds no binary pictures.
"""
import os
import struct
import sys


def palette_bmp(path, width, height, pixel, bits=4):
    """A bottom-up palette BMP; pixel(x, y) returns an (r, g, b) tuple, y from the top."""
    rows = [[pixel(x, y) for x in range(width)] for y in range(height)]
    colours = sorted({c for row in rows for c in row})
    if len(colours) > (1 << bits):
        raise ValueError(f"{path}: {len(colours)} colours do not fit {bits} bits")
    index = {c: i for i, c in enumerate(colours)}
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, c in enumerate(row):
            i = index[c]
            if bits == 4:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
            else:
                line[x] = i
        data += line
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
    pal += b"\0" * (4 * (1 << bits) - len(pal))
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       1 << bits, 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + data)


def ico(path, sizes):
    """An ICO with 32-bit images; sizes maps a size to pixel(x, y) -> (r, g, b, a)."""
    images = []
    for size, pixel in sizes.items():
        xor = bytearray()
        for y in reversed(range(size)):
            for x in range(size):
                r, g, b, a = pixel(x, y)
                xor += bytes((b, g, r, a))
        and_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(size)):
            line = bytearray(and_stride)
            for x in range(size):
                if pixel(x, y)[3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append((size, info + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blob for _, blob in images))


def shade(base, y, height, depth=0.35):
    """A soft vertical highlight: lighter at the top, darker at the bottom, in 8 steps."""
    step = min(7, y * 8 // height)
    f = 1 + depth * (3.5 - step) / 3.5
    return tuple(max(0, min(255, int(c * f))) for c in base)


def disc(size, colour, inner=None):
    """A round button icon with an optional inner mark."""
    c = (size - 1) / 2

    def pixel(x, y):
        d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
        if d > c + 0.5:
            return (0, 0, 0, 0)
        if inner and inner(x, y, size):
            return (255, 255, 255, 255)
        return (*shade(colour, y, size, 0.25), 255)

    return pixel


def bolt(x, y, size):
    u, v = x / size, y / size
    return (0.25 < v < 0.55 and abs(u - (0.62 - v * 0.5)) < 0.09) or \
           (0.45 < v < 0.78 and abs(u - (0.72 - v * 0.5)) < 0.09)


def ring(x, y, size):
    c = (size - 1) / 2
    d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
    return size * 0.18 < d < size * 0.32


def double_bolt(x, y, size):
    return bolt(x - size * 0.12, y, size) or bolt(x + size * 0.12, y, size)


def memory_chip(size):
    def pixel(x, y):
        u, v = x / size, y / size
        body = 0.18 <= u <= 0.82 and 0.22 <= v <= 0.78
        pins = (0.08 <= v <= 0.2 or 0.8 <= v <= 0.92) and 0.22 <= u <= 0.78 and int(u * size) % 4 < 2
        if body:
            inner = 0.3 <= u <= 0.7 and 0.36 <= v <= 0.64
            return (120, 220, 130, 255) if inner else (*shade((20, 110, 40), y, size, 0.3), 255)
        if pins:
            return (200, 170, 60, 255)
        return (0, 0, 0, 0)

    return pixel


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    j = lambda name: os.path.join(out, name)
    palette_bmp(j("icon_strip.bmp"), 2, 48, lambda x, y: (255, 255, 255))
    palette_bmp(j("icon_fill.bmp"), 2, 48, lambda x, y: (235, 60, 50))
    palette_bmp(j("icon_fill_low.bmp"), 2, 48, lambda x, y: (60, 180, 80))
    palette_bmp(j("pravelo_pic.bmp"), 64, 64,
                lambda x, y: memory_chip(64)(x, y)[:3] if memory_chip(64)(x, y)[3] else (255, 255, 255),
                bits=8)
    ico(j("pravelo.ico"), {32: memory_chip(32), 16: memory_chip(16)})
    ico(j("img_optimize.ico"), {16: disc(16, (40, 150, 60), bolt)})
    ico(j("img_options.ico"), {16: disc(16, (60, 90, 170), ring)})
    ico(j("img_optimize2.ico"), {16: disc(16, (190, 60, 40), double_bolt)})


if __name__ == "__main__":
    main()
