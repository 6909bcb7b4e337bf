#!/usr/bin/env python3
"""Draws the launcher's pictures and writes them as resource files.

    make_artwork.py [--out DIR] [--preview DIR]

Writes into DIR (default: the resources folder next to this script):
    WizardBackground.bmp   bitmap 132, 499 x 312, 24 bits per pixel (what an
                           installer's own background looks like)
    WizardBackground.png   the same pixels as the launcher carries them
                           (bmp_to_png.py)
    SetupLauncher.ico      icon 133, 16, 32, 48 and 256 pixels
    ProductImage.ico       icon group "IDB_PRODUCT_IMAGE", 16, 32, 48 and 256 pixels
    QuickInstall.ico       icon 1348, 16, 32 and 48 pixels

With --preview, every picture (each icon size separately) is also written
as PNG into that folder for viewing.

Only the Python standard library is used. Shapes are described by signed
distance functions and rendered with one-pixel analytic anti-aliasing, so
the output is identical on every run. The generated files are kept in the
source tree; the build does not run this script.
"""
import argparse
import math
import os
import struct
import zlib

from bmp_to_png import png_of_bmp

# ---------------------------------------------------------------- colours


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def gradient(stops, t):
    """Colour at t (0..1) of a gradient given as [(position, rgb), ...]."""
    t = min(max(t, 0.0), 1.0)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            u = 0.0 if p1 == p0 else (t - p0) / (p1 - p0)
            u = u * u * (3 - 2 * u)  # smooth between stops
            return mix(c0, c1, u)
    return stops[-1][1]


NAVY = hex_rgb("#0b1b44")
DEEP_BLUE = hex_rgb("#123a8a")
BLUE = hex_rgb("#1a5fc0")
TEAL = hex_rgb("#0f9ea0")
LIGHT_TEAL = hex_rgb("#5fd6cf")
WHITE = (1.0, 1.0, 1.0)

# ---------------------------------------------------------------- canvas


class Canvas:
    """RGBA image with float channels, straight (not premultiplied) alpha."""

    def __init__(self, width, height, colour=(0.0, 0.0, 0.0), alpha=0.0):
        self.width, self.height = width, height
        self.px = [[colour[0], colour[1], colour[2], alpha] for _ in range(width * height)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0:
            return
        p = self.px[y * self.width + x]
        a0 = p[3]
        a = alpha + a0 * (1.0 - alpha)
        if a <= 0.0:
            return
        for i in range(3):
            p[i] = (colour[i] * alpha + p[i] * a0 * (1.0 - alpha)) / a
        p[3] = a

    def fill(self, sdf, paint, opacity=1.0, bounds=None):
        """Paints the inside of a shape (sdf < 0, in pixels) with paint(x, y)
        -> rgb, anti-aliased over one pixel."""
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                d = sdf(cx, cy)
                cover = 0.5 - d
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                self.blend(x, y, paint(cx, cy), cover * opacity)

    def glow(self, shape, cx, cy, radius, colour, strength):
        """Soft light inside a shape: opacity falls from strength at
        (cx, cy) to 0 at radius, quadratically."""
        for y in range(self.height):
            for x in range(self.width):
                cover = min(max(0.5 - shape(x + 0.5, y + 0.5), 0.0), 1.0)
                if cover <= 0.0:
                    continue
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / radius
                if d < 1.0:
                    self.blend(x, y, colour, strength * cover * (1.0 - d) ** 2)

    def rgba_bytes(self, order="RGBA", bottom_up=False):
        rows = range(self.height - 1, -1, -1) if bottom_up else range(self.height)
        out = bytearray()
        for y in rows:
            for x in range(self.width):
                r, g, b, a = self.px[y * self.width + x]
                vals = {"R": r, "G": g, "B": b, "A": a}
                for ch in order:
                    out.append(max(0, min(255, int(round(vals[ch] * 255)))))
        return bytes(out)

# ---------------------------------------------------------------- shapes
# Signed distance functions in pixels: negative inside.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, half_width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half_width


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sdf


def polygon(points):
    pts = list(points)

    def sdf(x, y):
        best = float("inf")
        inside = False
        n = len(pts)
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            length2 = ex * ex + ey * ey
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, (wx * ex + wy * ey) / length2))
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
            if (ay > y) != (by > y):
                xc = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < xc:
                    inside = not inside
        d = math.sqrt(best)
        return -d if inside else d
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def wave_band(width, base, amplitude, period, phase, thickness, slope=0.0):
    """Region between a sine curve and the same curve moved down by
    thickness; distance measured vertically (the curves are gentle)."""
    def centre(x):
        return base + slope * x + amplitude * math.sin(2 * math.pi * x / period + phase)

    def sdf(x, y):
        c = centre(x)
        # vertical distance, corrected by the curve's steepness
        dc = (2 * math.pi * amplitude / period) * math.cos(2 * math.pi * x / period + phase) + slope
        scale = 1.0 / math.sqrt(1.0 + dc * dc)
        return (abs(y - (c + thickness / 2.0)) - thickness / 2.0) * scale
    return sdf


def solid(colour):
    return lambda x, y: colour


def linear(stops, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        return gradient(stops, ((x - x0) * dx + (y - y0) * dy) / length2)
    return paint

# ---------------------------------------------------------------- pictures


def wizard_background(width=499, height=312):
    """Deep blue to teal, with soft light ribbons and thin rings on the right.
    The frame's white page area covers the middle from about y = 81 to
    y = 300 and x = 8 to x = 490, so the design sits in the band above it
    and shows as a coloured border around the page."""
    stops = [(0.0, NAVY), (0.45, DEEP_BLUE), (0.8, hex_rgb("#0c7f9a")), (1.0, TEAL)]
    c = Canvas(width, height)
    base = linear(stops, 0, height * 0.2, width, height * 0.75)
    for y in range(height):
        for x in range(width):
            r, g, b = base(x + 0.5, y + 0.5)
            c.px[y * width + x] = [r, g, b, 1.0]

    # soft glow in the upper right
    gx, gy, gr = width * 0.82, -height * 0.05, height * 0.75
    for y in range(height):
        for x in range(width):
            d = math.hypot(x + 0.5 - gx, y + 0.5 - gy) / gr
            if d < 1.0:
                c.blend(x, y, LIGHT_TEAL, 0.22 * (1.0 - d) ** 2)

    # translucent ribbons across the band
    ribbons = [
        (46, 14, 520, 0.3, 26, WHITE, 0.07, -0.05),
        (58, 10, 430, 2.0, 14, LIGHT_TEAL, 0.10, -0.06),
        (30, 12, 610, 4.1, 9, WHITE, 0.06, 0.02),
        (70, 8, 380, 1.1, 5, LIGHT_TEAL, 0.12, -0.02),
    ]
    for base_y, amp, period, phase, thick, colour, opacity, slope in ribbons:
        c.fill(wave_band(width, base_y, amp, period, phase, thick, slope), solid(colour), opacity)
        # the same ribbons return along the bottom border, fainter
        c.fill(wave_band(width, base_y + 228, amp, period, phase + 1.3, thick, slope),
               solid(colour), opacity * 0.6)

    # thin concentric rings, centred beyond the top right corner
    for i, radius in enumerate(range(70, 330, 26)):
        c.fill(ring(width + 30, -60, radius, 0.55), solid(WHITE), 0.10 - i * 0.006,
               bounds=(width - radius - 40, 0, width, radius))

    # a few small dots along the rings
    for angle, radius, size in [(2.30, 148, 2.2), (2.05, 226, 1.6), (2.62, 200, 1.3), (1.86, 304, 1.8)]:
        px = width + 30 + radius * math.cos(angle)
        py = -60 + radius * math.sin(angle)
        c.fill(circle(px, py, size), solid(WHITE), 0.45)
    return c


def squircle_background(c, size, stops, inset=0.0625):
    """Rounded square tile with a diagonal gradient and a soft light in its
    upper left part."""
    m = size * inset
    tile = rounded_rect(m, m, size - m, size - m, size * 0.2)
    c.fill(tile, linear(stops, m, m, size - m, size - m))
    c.glow(tile, size * 0.25, size * 0.15, size * 0.8, WHITE, 0.18)
    return tile


def app_icon(size):
    """A download arrow into a tray on a blue-teal tile: the setup symbol."""
    c = Canvas(size, size)
    squircle_background(c, size, [(0.0, BLUE), (0.55, hex_rgb("#1578b8")), (1.0, TEAL)])
    s = size / 32.0
    # arrow: shaft and head
    shaft_w = 4.2 * s
    head = polygon([(16 * s - 7.0 * s, 13.5 * s), (16 * s + 7.0 * s, 13.5 * s), (16 * s, 21.0 * s)])
    shaft = rounded_rect(16 * s - shaft_w / 2, 6.0 * s, 16 * s + shaft_w / 2, 15.0 * s, 0.8 * s)
    arrow = union(head, shaft)
    # tray: U shape
    outer = rounded_rect(7.0 * s, 17.0 * s, 25.0 * s, 26.0 * s, 2.2 * s)
    inner = rounded_rect(10.0 * s, 13.0 * s, 22.0 * s, 23.0 * s, 1.2 * s)
    tray = subtract(outer, inner)
    c.fill(union(arrow, tray), solid(WHITE))
    return c


def product_image(size):
    """An isometric cube in three tones on a round blue-teal badge."""
    c = Canvas(size, size)
    r = size * 0.47
    badge = circle(size / 2.0, size / 2.0, r)
    c.fill(badge, linear([(0.0, DEEP_BLUE), (0.6, BLUE), (1.0, TEAL)], 0, 0, size, size))
    c.glow(badge, size * 0.3, size * 0.2, size * 0.75, WHITE, 0.16)
    s = size / 32.0
    cx, cy = 16 * s, 16.3 * s
    e = 8.6 * s                         # cube edge in the picture
    dx, dy = e * math.cos(math.radians(30)), e * math.sin(math.radians(30))
    top_pt = (cx, cy - e)
    left = (cx - dx, cy - dy)
    right = (cx + dx, cy - dy)
    centre = (cx, cy)
    bottom = (cx, cy + e)
    bl = (cx - dx, cy + dy)
    br = (cx + dx, cy + dy)
    gap = 0.55 * s if size >= 32 else 0.0

    def shrink(points):
        mx = sum(p[0] for p in points) / len(points)
        my = sum(p[1] for p in points) / len(points)
        out = []
        for x, y in points:
            d = math.hypot(x - mx, y - my)
            k = (d - gap) / d if d else 1.0
            out.append((mx + (x - mx) * k, my + (y - my) * k))
        return out
    c.fill(polygon(shrink([top_pt, right, centre, left])), solid(WHITE))
    c.fill(polygon(shrink([left, centre, bottom, bl])), solid(hex_rgb("#bfeeea")))
    c.fill(polygon(shrink([centre, right, br, bottom])), solid(LIGHT_TEAL))
    return c


def quick_install_icon(size):
    """A lightning bolt on a teal disc: Quick Install."""
    c = Canvas(size, size)
    r = size * 0.47
    disc = circle(size / 2.0, size / 2.0, r)
    c.fill(disc, linear([(0.0, hex_rgb("#17b3a6")), (1.0, hex_rgb("#0d6f9e"))], 0, 0, size, size))
    c.glow(disc, size * 0.3, size * 0.2, size * 0.75, WHITE, 0.16)
    s = size / 32.0
    bolt = polygon([(19.5 * s, 3.0 * s), (7.5 * s, 18.5 * s), (14.8 * s, 18.5 * s),
                    (12.5 * s, 29.0 * s), (24.5 * s, 13.0 * s), (17.2 * s, 13.0 * s)])
    c.fill(bolt, solid(hex_rgb("#ffd34d")))
    return c

# ---------------------------------------------------------------- file formats


def png_bytes(canvas):
    raw = bytearray()
    data = canvas.rgba_bytes("RGBA")
    stride = canvas.width * 4
    for y in range(canvas.height):
        raw.append(0)
        raw += data[y * stride:(y + 1) * stride]

    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def bmp24_bytes(canvas):
    row = canvas.width * 3
    pad = (4 - row % 4) % 4
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        for x in range(canvas.width):
            r, g, b, _ = canvas.px[y * canvas.width + x]
            pixels += bytes(max(0, min(255, int(round(v * 255)))) for v in (b, g, r))
        pixels += b"\0" * pad
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                       len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def dib_icon_image(canvas):
    """Classic icon image: 32-bit BGRA XOR bitmap plus 1-bit AND mask."""
    w, h = canvas.width, canvas.height
    xor = canvas.rgba_bytes("BGRA", bottom_up=True)
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(w):
            if canvas.px[y * w + x][3] < 0.5 / 255:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def ico_bytes(canvases):
    """Icon file; images of 256 pixels are stored as PNG, smaller as DIB."""
    images = [png_bytes(cv) if cv.width >= 256 else dib_icon_image(cv) for cv in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, data in zip(canvases, images):
        dim = cv.width if cv.width < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)

# ---------------------------------------------------------------- main


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources"))
    parser.add_argument("--preview")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)

    def preview(name, canvas):
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            with open(os.path.join(args.preview, name), "wb") as f:
                f.write(png_bytes(canvas))

    background = wizard_background()
    write("WizardBackground.bmp", bmp24_bytes(background))
    write("WizardBackground.png", png_of_bmp(bmp24_bytes(background)))
    preview("WizardBackground.png", background)

    for file_name, draw, sizes in [
            ("SetupLauncher.ico", app_icon, (16, 32, 48, 256)),
            ("ProductImage.ico", product_image, (16, 32, 48, 256)),
            ("QuickInstall.ico", quick_install_icon, (16, 32, 48))]:
        canvases = [draw(size) for size in sizes]
        write(file_name, ico_bytes(canvases))
        for cv in canvases:
            preview("%s-%d.png" % (os.path.splitext(file_name)[0], cv.width), cv)


if __name__ == "__main__":
    main()
