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


# --- Strips of the bitmap controls (tests and gallery) ---------------------------------------

def inside_round_rect(x, y, w, h, r):
    """True when pixel (x, y) lies in a w x h rectangle with corners of radius r."""
    cx = min(max(x + 0.5, r), w - r)
    cy = min(max(y + 0.5, r), h - r)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r


CLEAR = (0, 0, 0, 0)

# A two-frame push button, 40 x 20 a frame, stacked: raised grey, then pressed orange; the
# "@2x" file is the same picture at twice the pixels.
def button_pixel(scale):
    def pixel(x, y):
        frame, fy = divmod(y, 20 * scale)
        if not inside_round_rect(x, fy, 40 * scale, 20 * scale, 5 * scale):
            return CLEAR
        edge = min(x, fy, 40 * scale - 1 - x, 20 * scale - 1 - fy) < 2 * scale
        if frame == 0:
            return (90, 90, 90, 255) if edge else (200, 200, 200, 255)
        return (150, 70, 0, 255) if edge else (255, 150, 40, 255)
    return pixel


png("button2.png", 40, 40, button_pixel(1))
png("button2@2x.png", 80, 80, button_pixel(2))


# A three-position switch, 40 x 20 a frame, stacked: a track with its knob at the left (red),
# the middle (amber) and the right (green).
def switch_pixel(x, y):
    frame, fy = divmod(y, 20)
    knob_x = 10 + 10 * frame
    if (x + 0.5 - knob_x) ** 2 + (fy + 0.5 - 10) ** 2 <= 64:
        return [(220, 40, 40, 255), (240, 180, 0, 255), (40, 180, 60, 255)][frame]
    if inside_round_rect(x, fy, 40, 20, 10) and 5 <= fy < 15:
        return (110, 110, 110, 255)
    return CLEAR


png("switch3.png", 40, 60, switch_pixel)


# A knob face, 40 x 40: a dark disc with a light rim and a white pointer straight up.
def knob_pixel(x, y):
    dx, dy = x + 0.5 - 20, y + 0.5 - 20
    d2 = dx * dx + dy * dy
    if d2 > 19 * 19:
        return CLEAR
    if abs(dx) < 1.5 and dy < -4:
        return (255, 255, 255, 255)
    return (170, 170, 170, 255) if d2 > 17 * 17 else (60, 60, 70, 255)


png("knob.png", 40, 40, knob_pixel)

# A slider handle, 10 x 20 (grey with a dark centre line), and its horizontal track, 150 x 6.
png("slider_handle.png", 10, 20,
    lambda x, y: (40, 40, 40, 255) if x in (4, 5) else (180, 180, 190, 255))
png("slider_track.png", 150, 6,
    lambda x, y: (70, 70, 70, 255) if 1 <= y <= 4 else (150, 150, 150, 255))

# A bitmap font: 96 frames of 8 x 12, stacked, one per character code 32..127 (frame 1 is the
# space). Each glyph is a 3 x 5 pattern drawn at twice the size; lower case uses the capitals
# and characters without a pattern are blank.
GLYPHS = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001001001001", "8": "111101111101111",
    "9": "111101111001111", "A": "010101111101101", "B": "110101110101110",
    "C": "011100100100011", "D": "110101101101110", "E": "111100110100111",
    "F": "111100110100100", "G": "011100101101011", "H": "101101111101101",
    "I": "111010010010111", "J": "001001001101010", "K": "101101110101101",
    "L": "100100100100111", "M": "101111111101101", "N": "110101101101101",
    "O": "010101101101010", "P": "110101110100100", "Q": "010101101110011",
    "R": "110101110101101", "S": "011100010001110", "T": "111010010010010",
    "U": "101101101101111", "V": "101101101101010", "W": "101101111111101",
    "X": "101101010101101", "Y": "101101010010010", "Z": "111001010100111",
    "!": "010010010000010", ".": "000000000000010", ",": "000000000010100",
    ":": "000010000010000", "-": "000000111000000", "+": "000010111010000",
    "/": "001001010100100", "%": "101001010100101", "?": "110001010000010",
    "'": "010010000000000", "(": "001010010010001", ")": "100010010010100",
    "=": "000111000111000",
}
FONT_W, FONT_H, FONT_FRAMES = 8, 12, 96
INK = (30, 40, 90, 255)


def font_pixel(x, y):
    frame, fy = divmod(y, FONT_H)
    glyph = GLYPHS.get(chr(32 + frame).upper())
    gx, gy = (x - 1) // 2, (fy - 1) // 2
    if glyph is None or not (0 <= gx < 3 and 0 <= gy < 5) or x < 1 or fy < 1:
        return CLEAR
    return INK if glyph[gy * 3 + gx] == "1" else CLEAR


png("font.png", FONT_W, FONT_H * FONT_FRAMES, font_pixel)



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

# Images of the SVG controls: plain shapes whose colours the tests look for.
def svg(path, w, h, body):
    with open(path, "w") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                'viewBox="0 0 %d %d">\n%s</svg>\n' % (w, h, w, h, body))


def square(colour):
    return '  <rect x="0" y="0" width="20" height="20" fill="%s"/>\n' % colour


svg("button_off.svg", 20, 20, square("#808080"))
svg("button_on.svg", 20, 20, square("#00ff00"))
# A knob whose red pointer runs from the centre to the top edge over a transparent ground.
svg("knob.svg", 40, 40, '  <rect x="17" y="1" width="6" height="19" fill="#ff0000"/>\n')
for i, colour in enumerate(["#ff0000", "#00ff00", "#0000ff"]):
    svg("switch_%d.svg" % i, 20, 20, square(colour))
svg("slider_track.svg", 10, 100, '  <rect x="0" y="0" width="10" height="100" fill="#808080"/>\n')
svg("slider_handle.svg", 10, 10, '  <rect x="0" y="0" width="10" height="10" fill="#000000"/>\n')
