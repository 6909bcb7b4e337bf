#!/usr/bin/env python3
"""Converts uncompressed 24-bit BMP files to PNG (standard library only).

  bmp2png.py FILE.bmp... --out DIR
"""
import argparse, os, struct, zlib


def read_bmp(path):
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise ValueError("%s: only 24-bit pictures" % path)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row_index = abs(height) - 1 - y if height > 0 else y
        start = offset + row_index * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, abs(height), rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="+")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name in args.files:
        width, height, rows = read_bmp(name)
        base = os.path.splitext(os.path.basename(name))[0].lower()
        write_png(os.path.join(args.out, base + ".png"), width, height, rows)


if __name__ == "__main__":
    main()
