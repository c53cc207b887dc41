#!/usr/bin/env python3
"""Draws Mivtra's icons and its hand cursor and writes them as .ico / .cur files.

The outputs are committed beside this script, so building Mivtra never needs Python; run it
again after changing a drawing:

    python3 make_art.py            # rewrite the files beside this script
    python3 make_art.py --check    # exit 1 when a committed file differs from the drawing

Standard library only. The 16 x 16 pictures and the cursor are written out pixel by pixel;
the larger pictures (20, 24, 32 and 48 pixels: the small icon at 125 % and 150 % display
scaling, the large icon at 100 % and 150 %) are shapes given as signed distance functions
(negative inside) on a grid of 32 units, sampled 4 x 4 times per pixel for soft edges. The
cursor comes at 32, 48 and 64 pixels (100 %, 150 %, 200 %), its pixels repeated.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# ----------------------------------------------------------------------------- colours

def rgb(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def vertical(top, bottom, y0, y1):
    """A fill that runs from colour `top` at y0 to `bottom` at y1."""
    def fill(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return fill


# ----------------------------------------------------------------------------- shapes

def box(x0, y0, x1, y1):
    cx, cy, hx, hy = (x0 + x1) / 2.0, (y0 + y1) / 2.0, (x1 - x0) / 2.0, (y1 - y0) / 2.0

    def sd(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0)
    return sd


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def sd(x, y):
        best = float("inf")
        inside = False
        for (ax, ay), (bx, by) in edges:
            ex, ey = bx - ax, by - ay
            t = ((x - ax) * ex + (y - ay) * ey) / float(ex * ex + ey * ey)
            t = min(1.0, max(0.0, t))
            best = min(best, math.hypot(x - ax - ex * t, y - ay - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / float(ey):
                inside = not inside
        return -best if inside else best
    return sd


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def inset(shape, by):
    return lambda x, y: shape(x, y) + by


def rotated(shape, degrees, cx, cy):
    """The shape turned clockwise on screen (y grows downwards) about (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sd(x, y):
        dx, dy = x - cx, y - cy
        return shape(cx + dx * c + dy * s, cy - dx * s + dy * c)
    return sd


def mirrored(points, axis_x):
    return [(2 * axis_x - x, y) for x, y in reversed(points)]


# ----------------------------------------------------------------------------- canvas

class Canvas:
    """`size` pixels square; shapes are given on a grid of `units` across it."""

    def __init__(self, size, samples=1, units=None):
        self.size = size
        self.samples = samples
        self.unit = (units or size) / float(size)
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def paint(self, shape, colour):
        fill = colour if callable(colour) else (lambda x, y: colour)
        n, u = self.samples, self.unit
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(self.size):
            for px in range(self.size):
                hits = sum(1 for oy in offsets for ox in offsets if shape((px + ox) * u, (py + oy) * u) < 0)
                if hits:
                    r, g, b, a = fill((px + 0.5) * u, (py + 0.5) * u)
                    self.blend(px, py, (r, g, b, a * hits / float(n * n)))

    def outlined(self, shape, line, fill):
        """An outline one pixel wide up to 32 pixels, wider in step with a larger picture."""
        self.paint(shape, line)
        self.paint(inset(shape, max(1.0, self.size / 32.0) * self.unit), fill)

    def blend(self, x, y, top):
        """Source-over with straight (not premultiplied) alpha, as icons store it."""
        br, bg, bb, ba = self.pixels[y][x]
        tr, tg, tb, ta = top
        ta /= 255.0
        ba /= 255.0
        oa = ta + ba * (1 - ta)
        if oa <= 0:
            return
        mix = lambda t, b: (t * ta + b * ba * (1 - ta)) / oa
        self.pixels[y][x] = (round(mix(tr, br)), round(mix(tg, bg)), round(mix(tb, bb)),
                             round(oa * 255))

    def set(self, x, y, colour):
        self.pixels[y][x] = colour


def from_rows(rows, palette):
    canvas = Canvas(len(rows))
    for y, row in enumerate(rows):
        assert len(row) == canvas.size, (y, row)
        for x, ch in enumerate(row):
            canvas.set(x, y, palette[ch])
    return canvas


# ----------------------------------------------------------------------------- file formats

def mask_rows(width, height, bit):
    """1-bpp rows, bottom-up, each padded to 32 bits, bit(x, y) giving 1 or 0."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if bit(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def bitmap_header(width, height, bits, image_bytes, colours=0):
    # The height counts the colour image and the AND mask stacked above each other.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, image_bytes, 0, 0,
                       colours, 0)


def icon_image(canvas):
    """A 32-bpp image with alpha plus the 1-bpp AND mask that shells without alpha use.

    Where the mask says transparent the colour is black too: a shell that draws with the two
    masks XORs that colour onto the background, and black is the one colour that leaves it
    alone. Those pixels are faint (alpha below one half) and lie along dark outlines, so with
    alpha they only darken the outermost edge a little.
    """
    size = canvas.size
    px = canvas.pixels
    clear = lambda x, y: px[y][x][3] < 128
    colour = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[y][x]
            colour += bytes((0, 0, 0, a)) if clear(x, y) else bytes((b, g, r, a))
    mask = mask_rows(size, size, clear)
    return bitmap_header(size, size, 32, len(colour) + len(mask)) + bytes(colour) + mask


def png_image(canvas):
    """The image as a PNG (8-bit RGBA, straight alpha), which icons hold from Windows Vista on:
    a tenth of the size of the bitmap for these flat drawings."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    size = canvas.size
    rows = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in canvas.pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def directory(kind, entries):
    """ICONDIR / CURSORDIR and the images; entries are (size, word4, word6, colours, data)."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    table, blobs = b"", b""
    for size, word4, word6, colours, data in entries:
        table += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, word4, word6,
                             len(data), offset + len(blobs))
        blobs += data
    return head + table + blobs


def ico_file(canvases):
    # Planes 1 and bit count 32 in the directory: the resource compiler copies them into the
    # icon group, where the loader matches them against the display. The sizes the program had
    # before display scaling (16 and 32) stay bitmaps; the others are PNGs, which keeps the
    # program's file small.
    image = lambda c: icon_image(c) if c.size in (16, 32) else png_image(c)
    return directory(1, [(c.size, 1, 32, 0, image(c)) for c in canvases])


def cursor_image(rows):
    size = len(rows)
    assert all(len(r) == size for r in rows)
    white = mask_rows(size, size, lambda x, y: rows[y][x] in "o~")
    clear = mask_rows(size, size, lambda x, y: rows[y][x] in ".~")
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return bitmap_header(size, size, 1, len(white) + len(clear), 2) + palette + white + clear


def enlarged(rows, hotspot, size):
    """The rows at `size` pixels, each pixel repeated, and where the hot spot lands: the top
    of the rows its pixel became, the middle of the columns."""
    n = len(rows)
    out = ["".join(row[x * n // size] for x in range(size)) for row in (rows[y * n // size] for y in range(size))]
    first = lambda v: -(-v * size // n)
    hx, hy = hotspot
    return out, ((first(hx) + first(hx + 1) - 1) // 2, first(hy))


def cur_file(rows, hotspot, sizes):
    """A monochrome cursor at each size. '#' black, 'o' white, '.' transparent, '~' inverted
    screen."""
    entries = []
    for size in sizes:
        pixels, spot = enlarged(rows, hotspot, size)
        # For cursors the directory's planes and bit count fields hold the hot spot.
        entries.append((size, spot[0], spot[1], 2, cursor_image(pixels)))
    return directory(2, entries)


# ----------------------------------------------------------------------------- drawings
# The 16 x 16 pictures are drawn pixel by pixel: at that size a shape scaled down from the
# 32 x 32 one blurs. The larger ones are drawn with shapes and soft edges, on 32 units.

# The sizes drawn with shapes.
SHAPE_SIZES = (20, 24, 32, 48)

FOLDER = {
    ".": (0, 0, 0, 0),
    "k": rgb("8a6410"),   # outline
    "b": rgb("e0a526"),   # back of the folder
    "l": rgb("fff0b0"),   # highlight along the front's top edge
    "y": rgb("ffd85c"),   # front, upper half
    "Y": rgb("f6c23a"),   # front, lower half
    "d": rgb("e3aa2a"),   # front, bottom edge
    "p": rgb("9a9a9a"),   # paper outline
    "w": rgb("ffffff"),   # paper
}

CLOSED_FOLDER_16 = [
    "................",
    "................",
    ".kkkkkk.........",
    "kbbbbbbkkkkkkkk.",
    "kbbbbbbbbbbbbbbk",
    "kkkkkkkkkkkkkkkk",
    "kllllllllllllllk",
    "kyyyyyyyyyyyyyyk",
    "kyyyyyyyyyyyyyyk",
    "kyyyyyyyyyyyyyyk",
    "kYYYYYYYYYYYYYYk",
    "kYYYYYYYYYYYYYYk",
    "kYYYYYYYYYYYYYYk",
    "kddddddddddddddk",
    "kkkkkkkkkkkkkkkk",
    "................",
]

OPEN_FOLDER_16 = [
    "................",
    "................",
    ".kkkkkk.........",
    "kbbbbbbkkkkkkk..",
    "kbbbbbbbbbbbbk..",
    "kbbpppppppppbk..",
    "kbbpwwwwwwwpbk..",
    "kbbkkkkkkkkkkkkk",
    "kbbklllllllllllk",
    "kbkyyyyyyyyyyyk.",
    "kbkyyyyyyyyyyyk.",
    "kkyyyyyyyyyyyk..",
    "kkYYYYYYYYYYYk..",
    "kYYYYYYYYYYYk...",
    "kkkkkkkkkkkkk...",
    "................",
]

WINDOW = {
    ".": (0, 0, 0, 0),
    "k": rgb("3c4550"),   # frame
    "T": rgb("0a3aa8"),   # title bar, top
    "t": rgb("2d68d8"),   # title bar
    "w": rgb("ffffff"),   # client area and the close box
}

WINDOW_16 = [
    "................",
    "kkkkkkkkkkkkkkkk",
    "kTTTTTTTTTTTTTTk",
    "kttttttttttwwttk",
    "kttttttttttttttk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
    "................",
]

ROCKET = {
    ".": (0, 0, 0, 0),
    "k": rgb("1b2433"),   # outline
    "w": rgb("f2f4f7"),   # hull
    "g": rgb("b8c0cc"),   # hull in shade
    "r": rgb("e0353a"),   # nose and fins
    "R": rgb("a01c22"),   # fins in shade
    "b": rgb("3d8ee8"),   # port hole
    "B": rgb("bfe0ff"),   # its glint
    "o": rgb("ff8a1e"),   # flame
    "O": rgb("e0501a"),   # flame, outer
    "y": rgb("ffe45a"),   # flame, core
}

ROCKET_16 = [
    "................",
    "...........kkk..",
    "..........krrrk.",
    ".........kwwrrk.",
    "........kwwwwrk.",
    "...kkk.kwBbwgk..",
    "..krrrkwwbbgk...",
    "..krRkwwwwgk....",
    "...kkkwwwgk.....",
    "....ookwgk......",
    "...oyyokkrk.....",
    "..OoyyokRrk.....",
    "..oooo.krrk.....",
    ".OooO...kk......",
    ".OO.............",
    "................",
]


def folder(size, open_):
    c = Canvas(size, 4, 32)
    tab = polygon([(1, 4), (11, 4), (14, 8), (1, 8)])
    back = union(tab, box(1, 6, 30 if not open_ else 28, 29))
    c.outlined(back, FOLDER["k"], FOLDER["b"])
    if open_:
        # A sheet of paper peeking out, then the front flap tipped forward.
        c.outlined(box(5, 10, 25, 22), FOLDER["p"], FOLDER["w"])
        flap = polygon([(7, 14), (32, 14), (26, 29), (1, 29)])
        c.outlined(flap, FOLDER["k"], vertical(FOLDER["y"], FOLDER["Y"], 14, 29))
        c.paint(polygon([(7.5, 15), (31, 15), (30.6, 16), (7, 16)]), FOLDER["l"])
    else:
        c.outlined(box(1, 10, 31, 29), FOLDER["k"], vertical(FOLDER["y"], FOLDER["Y"], 10, 29))
        c.paint(box(2, 11, 30, 12), FOLDER["l"])
    return c


def window(size):
    c = Canvas(size, 4, 32)
    c.outlined(box(1, 3, 31, 29), WINDOW["k"], WINDOW["w"])
    c.paint(box(2, 4, 30, 10), vertical(WINDOW["T"], WINDOW["t"], 4, 10))
    white = WINDOW["w"]
    c.paint(box(14, 8, 18, 9), white)                          # minimise
    c.paint(subtract(box(19, 5, 23, 9), box(20, 6, 22, 8)), white)  # maximise
    for x, y in ((25, 5), (28, 5), (26, 6), (27, 6), (26, 7), (27, 7), (25, 8), (28, 8)):
        c.paint(box(x, y, x + 1, y + 1), white)                # close
    return c


def rocket(size):
    """A rocket pointing at the top right corner: the launcher's motif."""
    k, cx, cy = 2.0, 16.0, 16.0
    at = lambda pts: [(cx + x * k, cy + y * k) for x, y in pts]
    body = polygon(at([(0, -8.6), (1.5, -6.6), (2.5, -4.2), (2.9, -1.5), (2.9, 2.0), (2.4, 4.2),
                       (-2.4, 4.2), (-2.9, 2.0), (-2.9, -1.5), (-2.5, -4.2), (-1.5, -6.6)]))
    fin = at([(2.4, 0.2), (5.0, 3.2), (5.0, 6.2), (2.2, 4.2)])
    fins = union(polygon(fin), polygon(mirrored(fin, cx)))
    nose = intersect(body, box(0, 0, 32, cy - 4.2 * k))
    port = circle(cx, cy - 1.0 * k, 1.5 * k)
    nozzle = box(cx - 1.7 * k, cy + 4.0 * k, cx + 1.7 * k, cy + 5.2 * k)
    flame = polygon(at([(-2.0, 5.0), (2.0, 5.0), (1.2, 7.2), (0, 10.2), (-1.2, 7.2)]))
    core = polygon(at([(-1.0, 5.0), (1.0, 5.0), (0.5, 6.6), (0, 8.2), (-0.5, 6.6)]))
    turn = lambda shape: rotated(shape, 45, cx, cy)
    c = Canvas(size, 4, 32)
    line = ROCKET["k"]
    c.outlined(turn(flame), ROCKET["O"], ROCKET["o"])
    c.paint(turn(core), ROCKET["y"])
    c.outlined(turn(nozzle), line, rgb("6b7480"))
    c.outlined(turn(fins), line, ROCKET["r"])
    c.outlined(turn(body), line, ROCKET["w"])
    c.paint(turn(inset(nose, 1)), ROCKET["r"])
    c.outlined(turn(port), line, ROCKET["b"])
    return c


HAND = [
    "................................",
    "......###.......................",
    ".....#ooo#......................",
    ".....#ooo#......................",
    ".....#ooo#......................",
    ".....#ooo#......................",
    ".....#ooo###....................",
    ".....#ooo#oo###.................",
    ".....#ooo#oo#oo###..............",
    ".....#ooo#oo#oo#oo#.............",
    ".##..#ooo#oo#oo#oo#.............",
    "#oo#.#ooooooooooooo#............",
    "#ooo##ooooooooooooo#............",
    ".#ooo#ooooooooooooo#............",
    "..#oooooooooooooooo#............",
    "..#oooooooooooooooo#............",
    "...#ooooooooooooooo#............",
    "...#oooooooooooooo#.............",
    "....#ooooooooooooo#.............",
    ".....#ooooooooooo#..............",
    "......#oooooooooo#..............",
    "......############..............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
HAND_HOTSPOT = (7, 1)


def drawings():
    """Every output file and its bytes."""
    shapes = lambda draw: [draw(size) for size in SHAPE_SIZES]
    return {
        "mainicon.ico": ico_file([from_rows(ROCKET_16, ROCKET)] + shapes(rocket)),
        "micon91.ico": ico_file([from_rows(OPEN_FOLDER_16, FOLDER)] + shapes(lambda s: folder(s, True))),
        "micon92.ico": ico_file([from_rows(CLOSED_FOLDER_16, FOLDER)] + shapes(lambda s: folder(s, False))),
        "micon93.ico": ico_file([from_rows(WINDOW_16, WINDOW)] + shapes(window)),
        "handpoint.cur": cur_file(HAND, HAND_HOTSPOT, (32, 48, 64)),
    }


def main(argv):
    check = "--check" in argv[1:]
    stale = []
    for name, data in drawings().items():
        path = os.path.join(HERE, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() == data:
                        continue
            except OSError:
                pass
            stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("out of date, run make_art.py: " + " ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
