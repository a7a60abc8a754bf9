#!/usr/bin/env python3
"""Writes the small images the graphics tests draw. Run from this folder; the outputs are
committed, so this only needs running again when an image changes."""
import struct
import zlib


def write_png(path, width, height, depth, colour_type, raw):
    """raw: the filtered scanlines, each led by its filter byte."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw))))
        f.write(chunk(b"IEND", b""))


def png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a); written as 8-bit RGBA."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # no filter
        for x in range(width):
            raw.extend(pixel(x, y))
    write_png(path, width, height, 8, 6, raw)


def png_grey1(path, width, height):
    """An all-black 1-bit greyscale image: tiny on disk however large its area."""
    write_png(path, width, height, 1, 0, (b"\x00" + bytes((width + 7) // 8)) * height)


RED, GREEN, BLUE = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255)
FRAMES = [RED, GREEN, BLUE]

# Three 10 x 10 frames stacked, and side by side.
png("strip_v.png", 10, 30, lambda x, y: FRAMES[y // 10])
png("strip_h.png", 30, 10, lambda x, y: FRAMES[x // 10])
# The same resource at two scales, told apart by colour.
png("dot.png", 4, 4, lambda x, y: RED)
png("dot@2x.png", 8, 8, lambda x, y: BLUE)
# Half-transparent red, to check premultiplication.
png("alpha.png", 2, 2, lambda x, y: (255, 0, 0, 128))
# Wider than an image surface can be.
png("too_wide.png", 40000, 1, lambda x, y: (0, 0, 0, 0))
# 1-bit grey, 9000 x 9000: a file of a few kilobytes that would decode to 324 MB of RGBA.
png_grey1("huge_area.png", 9000, 9000)
# Left half red, right half blue: shows which way a rotation turns.
png("halves.png", 20, 10, lambda x, y: RED if x < 10 else BLUE)



def grey_jpeg(path, value):
    """An 8 x 8 baseline JPEG of one grey level: a single block with only a DC coefficient,
    coded with one-symbol Huffman tables."""
    def segment(marker, body):
        return bytes([0xFF, marker]) + struct.pack(">H", len(body) + 2) + body

    dc = 8 * (value - 128)  # the DC coefficient of a flat block, quantised by 1
    category = dc.bit_length()
    bits = "0" + format(dc, "0%db" % category) + "0"  # DC code, its value, end of block
    bits += "1" * (-len(bits) % 8)
    data = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    assert 0xFF not in data
    counts = bytes([1] + [0] * 15)  # one code, of length 1
    with open(path, "wb") as f:
        f.write(b"\xFF\xD8")
        f.write(segment(0xDB, bytes([0]) + bytes([1] * 64)))
        f.write(segment(0xC0, struct.pack(">BHHB", 8, 8, 8, 1) + bytes([1, 0x11, 0])))
        f.write(segment(0xC4, bytes([0x00]) + counts + bytes([category])))
        f.write(segment(0xC4, bytes([0x10]) + counts + bytes([0x00])))
        f.write(segment(0xDA, bytes([1, 1, 0x00, 0, 63, 0])))
        f.write(data + b"\xFF\xD9")


grey_jpeg("grey.jpg", 200)

with open("not_an_image.png", "w") as f:
    f.write("this is text, not a PNG\n")

with open("halves.svg", "w") as f:
    f.write('<svg xmlns="http://www.w3.org/2000/svg" width="100" height="50" '
            'viewBox="0 0 100 50">\n'
            '  <rect x="0" y="0" width="50" height="50" fill="#ff0000"/>\n'
            '  <rect x="50" y="0" width="50" height="50" fill="#0000ff"/>\n'
            '</svg>\n')
with open("broken.svg", "w") as f:
    f.write('<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect')
with open("no_size.svg", "w") as f:
    f.write('<svg xmlns="http://www.w3.org/2000/svg"><rect width="5" height="5"/></svg>\n')
