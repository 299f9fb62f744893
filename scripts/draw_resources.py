#!/usr/bin/env python3
"""Draws Scopella's binary resources: the application icon, the cursors, the
toolbar bitmaps (16x15 images, and 24x22 and 32x30 for high-DPI screens) and the
marquee's pattern bitmaps. The files are committed; run this script again after changing a
picture here:  python3 scripts/draw_resources.py  (writes into resources/).

Only the standard library is used, so the pictures can be rebuilt anywhere.
"""
import math
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


# --------------------------------------------------------------------------
# Application icon 107: a magnifying glass, drawn as vectors with 4x4
# supersampling so the edges are smooth, stored as 32-bit images with alpha.
# --------------------------------------------------------------------------

def _mix(dst, src):
    """Source-over compositing of straight-alpha RGBA floats (0..1)."""
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    oa = sa + da * (1 - sa)
    if oa <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    return ((sr * sa + dr * da * (1 - sa)) / oa,
            (sg * sa + dg * da * (1 - sa)) / oa,
            (sb * sa + db * da * (1 - sa)) / oa, oa)


def _segment_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return math.hypot(dx, dy)


def magnifier_pixel(x, y):
    """Colour of the icon at a point of the unit square (0..1, y down)."""
    cx, cy, radius, rim = 0.40, 0.40, 0.29, 0.075
    colour = (0.0, 0.0, 0.0, 0.0)
    # Handle: a thick dark rod from the rim towards the bottom right corner.
    d = _segment_distance(x, y, 0.62, 0.62, 0.90, 0.90)
    if d < 0.085:
        shade = 0.30 + 0.25 * max(0.0, 1 - d / 0.085)
        colour = _mix(colour, (shade * 0.55, shade * 0.32, shade * 0.12, 1.0))
    r = math.hypot(x - cx, y - cy)
    if r < radius:
        # Glass: light blue with a brighter band in the upper left.
        glow = max(0.0, 1 - math.hypot(x - (cx - 0.10), y - (cy - 0.10)) / 0.22)
        glass = (0.62 + 0.35 * glow, 0.82 + 0.16 * glow, 0.98, 0.92)
        colour = _mix(colour, glass)
    if abs(r - radius) < rim:
        t = (r - radius + rim) / (2 * rim)
        metal = 0.18 + 0.22 * math.sin(t * math.pi)
        colour = _mix(colour, (metal, metal, metal + 0.06, 1.0))
    return colour


def render_icon(size):
    sub = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(sub):
                for sx in range(sub):
                    r, g, b, a = magnifier_pixel((px + (sx + 0.5) / sub) / size,
                                                 (py + (sy + 0.5) / sub) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = sub * sub
            a = acc[3] / n
            if a > 0:
                rgb = [min(255, int(round(c / acc[3] * 255))) for c in acc[:3]]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], int(round(a * 255))))
        rows.append(row)
    return rows


def icon_image(rows):
    """BITMAPINFOHEADER + 32-bit BGRA rows (bottom-up) + AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_icon(path, sizes):
    images = [icon_image(render_icon(s)) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b"".join(images)
    with open(path, "wb") as f:
        f.write(data)


# --------------------------------------------------------------------------
# Monochrome 32x32 cursors. '#' black, 'o' white, '.' transparent.
# --------------------------------------------------------------------------

ARROW = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooooooo#",
    "#ooooooooo#",
    "#oooooo#####",
    "#ooo#oo#",
    "#oo# #oo#",
    "#o#  #oo#",
    "##    #oo#",
    "#     #oo#",
    "       #oo#",
    "       #oo#",
    "        ##",
]

HAND = [
    "     ##",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo#",
    "    #oo###",
    "    #oo#oo###",
    "    #oo#oo#oo##",
    "    #oo#oo#oo#o#",
    "### #oo#oo#oo#oo#",
    "#oo##ooooooooooo#",
    "#ooo#ooooooooooo#",
    " #oo#ooooooooooo#",
    "  #oooooooooooooo#",
    "  #oooooooooooooo#",
    "   #ooooooooooooo#",
    "   #oooooooooooo#",
    "    #ooooooooooo#",
    "    #oooooooooo#",
    "     #ooooooooo#",
    "     #ooooooooo#",
    "     ###########",
]


def magnifier_art():
    """The cursor of the zoom-point drag: a magnifying glass with its lens at
    the top left and its handle towards the bottom right, outlined in white so
    it shows on dark screens too."""
    size = 32
    cx, cy = 10.5, 10.5
    cells = [[" "] * size for _ in range(size)]

    def handle_distance(x, y):
        return _segment_distance(x + 0.5, y + 0.5, 17.0, 17.0, 28.0, 28.0)

    for y in range(size):
        for x in range(size):
            r = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            h = handle_distance(x, y)
            if 6.5 <= r < 9.0 or h < 2.1:
                cells[y][x] = "#"
            elif r < 6.5:
                cells[y][x] = "o"
            elif r < 10.0 or h < 3.1:
                cells[y][x] = "o"
    # A glint on the glass.
    for x, y in ((7, 7), (8, 7), (7, 8)):
        cells[y][x] = "#"
    return ["".join(row).rstrip() for row in cells]


def write_cursor(path, art, hotspot):
    size = 32
    grid = [(line + " " * size)[:size] for line in art] + [" " * size] * (size - len(art))
    stride = 4
    xor = bytearray()
    mask = bytearray()
    for line in reversed(grid):
        xbits = bytearray(stride)
        abits = bytearray(stride)
        for x, ch in enumerate(line):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xbits[x // 8] |= bit
            elif ch != "#":
                abits[x // 8] |= bit
        xor += xbits
        mask += abits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + bytes(xor) + bytes(mask)
    data = struct.pack("<HHH", 0, 2, 1)
    data += struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    with open(path, "wb") as f:
        f.write(data + image)


# --------------------------------------------------------------------------
# Toolbar bitmap 135: 128x15, 16 colours, eight 16x15 tiles; the same tiles
# enlarged for high-DPI screens in bitmaps 235 (24x22) and 335 (32x30). Light
# grey is the button face (the toolbar maps it to the system colour).
# --------------------------------------------------------------------------

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CODES = {".": 7, "K": 0, "r": 1, "g": 2, "y": 3, "b": 4, "m": 5, "c": 6, "D": 8,
         "R": 9, "G": 10, "Y": 11, "B": 12, "M": 13, "C": 14, "W": 15}

TILES = [
    # 0: push pin (always on top)
    ["................",
     ".....KKKKKK.....",
     ".....KRWRRK.....",
     ".....KRWRRK.....",
     ".....KRWRRK.....",
     ".....KRRRRK.....",
     "....KRRRRRrK....",
     "...KRRRRRRRrK...",
     "...KKKKKKKKKK...",
     ".......DK.......",
     ".......DK.......",
     ".......DK.......",
     ".......DK.......",
     "........K.......",
     "................"],
    # 1: floppy disk (save)
    ["................",
     ".KKKKKKKKKKKKK..",
     ".KbKWWWWWWWKbK..",
     ".KbKWWWWWWWKbK..",
     ".KbKWDDDDDWKbK..",
     ".KbKWWWWWWWKbK..",
     ".KbbKKKKKKKbbK..",
     ".KbbbbbbbbbbbK..",
     ".KbbDDDDDDDbbK..",
     ".KbbDWWDKDDbbK..",
     ".KbbDWWDKDDbbK..",
     ".KbbDWWDDDDbbK..",
     ".KKKKKKKKKKKKKK.",
     "................",
     "................"],
    # 2: copy zoomed: a page with a large magnifying glass
    ["KKKKKKKK........",
     "KWWWWWWKK.......",
     "KWDDDDWKWK......",
     "KWWWWWWKKKK.....",
     "KWDDDKKKKWK.....",
     "KWWWKCCWCKK.....",
     "KWDKCWWCCCKK....",
     "KWWKCWCCCCKK....",
     "KWDKCCCCCCKK....",
     "KWWWKCCCCKKK....",
     "KWDDDKKKKKKy....",
     "KWWWWWWWWKKyy...",
     "KKKKKKKKKKK.yy..",
     ".............yy.",
     "..............y."],
    # 3: copy at 1x: two pages, the front one with single pixels
    ["KKKKKKKK........",
     "KWWWWWWKK.......",
     "KWDDDDWKWK......",
     "KWWWWWWKKKK.....",
     "KWDDDKKKKKKKK...",
     "KWWWWKWWWWWKKK..",
     "KWDDDKWRWGWKWK..",
     "KWWWWKWWWWWKKKK.",
     "KWDDDKWBWRWWWWK.",
     "KWWWWKWWWWWWWWK.",
     "KKKKKKWGWBWWWWK.",
     ".....KWWWWWWWWK.",
     ".....KWWWWWWWWK.",
     ".....KKKKKKKKKK.",
     "................"],
    # 4: about: a blue 'i' in a circle
    ["................",
     ".....KKKKKK.....",
     "...KKBBBBBBKK...",
     "..KBBBBWWBBBBK..",
     "..KBBBBWWBBBBK..",
     ".KBBBBBBBBBBBBK.",
     ".KBBBBWWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     ".KBBBBBWWBBBBBK.",
     "..KBBBBWWBBBBK..",
     "..KBBBWWWWBBBK..",
     "...KKBBBBBBKK...",
     ".....KKKKKK.....",
     "................"],
    # 5: follow the mouse: an arrow inside a target
    ["................",
     "......RRRR......",
     "....RR....RR....",
     "...R........R...",
     "..R..K.......R..",
     "..R..KK......R..",
     ".R...KWK......R.",
     ".R...KWWK.....R.",
     ".R...KWWWK....R.",
     ".R...KWWWWK...R.",
     "..R..KWWKKK..R..",
     "..R..KKKWK...R..",
     "...R....KWK.R...",
     "....RR...KRR....",
     "......RRRR......"],
    # 6: grid
    ["................",
     ".DDDDDDDDDDDDDD.",
     ".DWWWDWWWDWWWWD.",
     ".DWWWDWWWDWWWWD.",
     ".DWWWDWWWDWWWWD.",
     ".DDDDDDDDDDDDDD.",
     ".DWWWDBBBDWWWWD.",
     ".DWWWDBBBDWWWWD.",
     ".DWWWDBBBDWWWWD.",
     ".DDDDDDDDDDDDDD.",
     ".DWWWDWWWDWWWWD.",
     ".DWWWDWWWDWWWWD.",
     ".DWWWDWWWDWWWWD.",
     ".DDDDDDDDDDDDDD.",
     "................"],
    # 7: options: three sliders
    ["................",
     "................",
     "..KK............",
     ".KDDK...........",
     "DKDDKDDDDDDDDDD.",
     ".KKKK...........",
     "..........KK....",
     ".........KDDK...",
     "DDDDDDDDDKDDKDD.",
     ".........KKKK...",
     ".....KK.........",
     "....KDDK........",
     "DDDDKDDKDDDDDDD.",
     "....KKKK........",
     "................"],
]


def tile_code(tile, x, y, width, height):
    """Colour code of pixel (x, y) of a tile drawn at width x height: the
    16x15 picture enlarged pixel by pixel, with no blending."""
    return CODES[tile[y * 15 // height][x * 16 // width]]


def write_toolbar(path, width=16, height=15):
    """The eight images side by side, each width x height pixels."""
    for n, tile in enumerate(TILES):
        assert len(tile) == 15 and all(len(r) == 16 for r in tile), n
    total = width * len(TILES)
    stride = ((total * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(total):
            code = tile_code(TILES[x // width], x % width, y, width, height)
            row[x // 2] |= code << (0 if x % 2 else 4)
        pixels += row
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, total, height, 1, 4, 0, len(pixels), 3780, 3780, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + palette + pixels)


# --------------------------------------------------------------------------
# Marquee patterns 144 and 145: 8x8 monochrome (0 black, 1 white). A 1-pixel
# line painted with either gives dashes of 4 black and 4 white pixels.
# --------------------------------------------------------------------------

MARQUEE_HORIZONTAL = ["00001111"] * 8           # vertical stripes, for top and bottom
MARQUEE_VERTICAL = ["11111111"] * 4 + ["00000000"] * 4   # horizontal stripes, for the sides


def write_mono_bitmap(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for line in reversed(rows):
        row = bytearray(stride)
        for x, bit in enumerate(line):
            if bit == "1":
                row[x // 8] |= 0x80 >> (x % 8)
        pixels += row
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 0, 0, 2, 2)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + palette + bytes(pixels))


def main():
    write_icon(os.path.join(OUT, "scopella.ico"), [32, 16])
    write_cursor(os.path.join(OUT, "hand.cur"), HAND, (5, 0))
    write_cursor(os.path.join(OUT, "arrow.cur"), ARROW, (0, 0))
    write_toolbar(os.path.join(OUT, "toolbar.bmp"))
    write_toolbar(os.path.join(OUT, "toolbar24.bmp"), 24, 22)
    write_toolbar(os.path.join(OUT, "toolbar32.bmp"), 32, 30)
    write_cursor(os.path.join(OUT, "magnifier.cur"), magnifier_art(), (0, 0))
    write_mono_bitmap(os.path.join(OUT, "marquee_h.bmp"), MARQUEE_HORIZONTAL)
    write_mono_bitmap(os.path.join(OUT, "marquee_v.bmp"), MARQUEE_VERTICAL)
    return 0


if __name__ == "__main__":
    sys.exit(main())
