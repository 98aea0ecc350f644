#!/usr/bin/env python3
"""Draws kmlaunch.ico: 一括起動 in white on red, 32x32 and 16x16, 4 bits per pixel.

The glyphs come from ImageMagick and the IPA Gothic font; the icon file is written by hand
so that its layout (standard 16-colour palette, all-opaque mask) is exact.
Run: python3 res/make_icon.py res/kmlaunch.ico
"""
import struct
import subprocess
import sys

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
RED, WHITE = 9, 15


def glyph(char, size):
    """A size x size grey bitmap of one character, as rows of 0..255."""
    out = subprocess.run(
        ["convert", "-size", f"{size}x{size}", "xc:black", "-font", FONT, "-fill", "white",
         "-pointsize", str(size), "-gravity", "center", "-annotate", "+0+0", char,
         "-depth", "8", "gray:-"], check=True, capture_output=True).stdout
    return [list(out[y * size:(y + 1) * size]) for y in range(size)]


def image(size):
    """Pixel rows top to bottom: right column 一 括, left column 起 動."""
    half = size // 2
    cells = {(1, 0): "一", (1, 1): "括", (0, 0): "起", (0, 1): "動"}
    pixels = [[RED] * size for _ in range(size)]
    for (column, row), char in cells.items():
        bitmap = glyph(char, half)
        for y in range(half):
            for x in range(half):
                if bitmap[y][x] >= 96:
                    pixels[row * half + y][column * half + x] = WHITE
    return pixels


def dib(size):
    pixels = image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = b""
    for row in reversed(pixels):  # bottom-up
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # all opaque
    return header + palette + xor + mask


def main():
    images = [dib(32), dib(16)]
    assert [len(i) for i in images] == [744, 296]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
