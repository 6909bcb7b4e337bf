#!/usr/bin/env python3
"""Stores a 24-bit bitmap file as a PNG of the same pixels.

    bmp_to_png.py IN.bmp OUT.png

The launcher carries its background picture as PNG (resource type "PNG",
language neutral) and decodes it itself; it accepts 8-bit RGB without
interlacing, which is what this writes. Each row gets the filter that makes
it smallest (the sum of its bytes as signed values, the usual estimate), so
the file is about a tenth of the bitmap. Only the Python standard library
is used, and the output is the same on every run.
"""
import struct
import sys
import zlib


def bmp_rows(data):
    """Width, height and the RGB rows, top row first, of a 24-bit bitmap file."""
    offset = struct.unpack_from("<I", data, 10)[0]
    _, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if bits != 24 or compression != 0:
        raise ValueError("not an uncompressed 24-bit bitmap")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = abs(height) - 1 - y if height > 0 else y
        bgr = data[offset + source * stride:offset + source * stride + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, abs(height), rows


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filtered(rows, step=3):
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        best = None
        for kind in range(5):
            line = bytearray(len(row))
            for i, x in enumerate(row):
                a = row[i - step] if i >= step else 0
                b = previous[i]
                c = previous[i - step] if i >= step else 0
                predicted = (0, a, b, (a + b) >> 1, paeth(a, b, c))[kind]
                line[i] = (x - predicted) & 0xFF
            cost = sum(v if v < 128 else 256 - v for v in line)
            if best is None or cost < best[0]:
                best = (cost, kind, line)
        out.append(best[1])
        out += best[2]
        previous = row
    return bytes(out)


def png_of_rows(width, height, rows):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(filtered(rows), 9)) + chunk(b"IEND", b""))


def png_of_bmp(data):
    return png_of_rows(*bmp_rows(data))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as f:
        png = png_of_bmp(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
