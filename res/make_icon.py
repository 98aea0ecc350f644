#!/usr/bin/env python3
"""Draws kmlaunch.ico: 一括起動 in white on red, at every size Windows asks for from 100% to 200%.

Windows asks for the small and the big icon at 16 and 32 pixels at 100%, 20 and 40 at 125%,
24 and 48 at 150%, 28 and 56 at 175% and 32 and 64 at 200%; 256 is Explorer's largest view.
The glyphs come from ImageMagick and the IPA Gothic font, drawn anew at each size and blended
over the red by their coverage; every image is 32-bit colour with alpha. Each is stored as PNG,
which Windows reads in icons of any size since Vista, and squeezed losslessly by advpng (Debian's
advancecomp): uncompressed, the ten images would take about 320 KB (57 KB without the 256-pixel
one), and the program is to stay under 64 KB. The file is written by hand and advpng is
deterministic, so the same script always gives the same bytes.
Run: python3 res/make_icon.py res/kmlaunch.ico
"""
import struct
import subprocess
import sys
import tempfile
import zlib

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
SIZES = (16, 20, 24, 28, 32, 40, 48, 56, 64, 256)
RED, WHITE = (204, 0, 0), (255, 255, 255)


def glyph(char, size):
    """A size x size grey bitmap of one character, as rows of 0..255."""
    out = subprocess.run(
        ["convert", "-size", f"{size}x{size}", "xc:black", "-font", FONT, "-fill", "white",
         "-pointsize", str(size), "-gravity", "center", "-annotate", "+0+0", char,
         "-depth", "8", "gray:-"], check=True, capture_output=True).stdout
    return [list(out[y * size:(y + 1) * size]) for y in range(size)]


def image(size):
    """RGBA rows top to bottom: right column 一 括, left column 起 動."""
    half = size // 2
    cells = {(1, 0): "一", (1, 1): "括", (0, 0): "起", (0, 1): "動"}
    pixels = [[RED + (255,)] * size for _ in range(size)]
    for (column, row), char in cells.items():
        bitmap = glyph(char, half)
        for y in range(half):
            for x in range(half):
                # Four levels of coverage: smooth edges that still compress well.
                cover = round(bitmap[y][x] / 255 * 3) / 3
                pixels[row * half + y][column * half + x] = tuple(
                    round(r + (w - r) * cover) for r, w in zip(RED, WHITE)) + (255,)
    return pixels


def png(size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    rows = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in image(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    plain = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
             + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    return squeezed(plain)


def squeezed(plain):
    """The same PNG in as few bytes as advpng's Zopfli finds. Only the compressed stream changes:
    the image stays 32-bit RGBA, the one colour type Windows' icon reader is known to take, and
    the rows keep no filter, which compresses these flat colours best."""
    with tempfile.TemporaryDirectory() as folder:
        path = f"{folder}/image.png"
        with open(path, "wb") as f:
            f.write(plain)
        subprocess.run(["advpng", "--quiet", "--recompress", "--shrink-insane", path], check=True)
        with open(path, "rb") as f:
            return f.read()


def main():
    images = [png(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        # 0 stands for 256 in the one-byte width and height.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
