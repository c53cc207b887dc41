#!/usr/bin/env python3
"""Prints the pointer shape the X server shows now: "W H XHOT YHOT", then one line per row,
'#' for a black pixel, 'o' for a white one, '.' for a transparent one (XFixes, through ctypes).
With a monochrome .cur file as argument it prints the file's picture the same way instead, so
that a scenario can compare the two."""
import ctypes
import struct
import sys


class XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong),
                ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def shown():
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("no X display")
    image = xfixes.XFixesGetCursorImage(display).contents
    rows = []
    for y in range(image.height):
        row = ""
        for x in range(image.width):
            argb = image.pixels[y * image.width + x] & 0xFFFFFFFF
            if argb >> 24 < 0x80:
                row += "."
            else:
                row += "o" if (argb & 0xFFFFFF) > 0x808080 else "#"
        rows.append(row)
    return image.width, image.height, image.xhot, image.yhot, rows


def from_file(path):
    data = open(path, "rb").read()
    width, height, _, _, xhot, yhot, _, offset = struct.unpack_from("<BBBBHHII", data, 6)
    width, height = width or 256, height or 256
    stride = (width + 31) // 32 * 4
    xor_at = offset + 40 + 2 * 4   # header, then a two-colour palette
    and_at = xor_at + stride * height
    palette = [struct.unpack_from("<I", data, offset + 40 + 4 * i)[0] & 0xFFFFFF for i in range(2)]

    def bit(at, x, y):   # rows are stored bottom-up
        return data[at + (height - 1 - y) * stride + x // 8] >> (7 - x % 8) & 1

    rows = []
    for y in range(height):
        row = ""
        for x in range(width):
            if bit(and_at, x, y):
                row += "."   # transparent; an inverted pixel has no X counterpart either
            else:
                row += "o" if palette[bit(xor_at, x, y)] > 0x808080 else "#"
        rows.append(row)
    return width, height, xhot, yhot, rows


width, height, xhot, yhot, rows = from_file(sys.argv[1]) if len(sys.argv) > 1 else shown()
print(width, height, xhot, yhot)
print("\n".join(rows))
