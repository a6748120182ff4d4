#!/usr/bin/env python3
"""Draws the application and document icons at the sizes above the pixel art
(24, 48, 64, 128 and 256 pixels, as PNG) and as scalable SVG, into
res/images. Each size is laid out for itself: edges, gaps and bevels fall on
whole pixels, and finer detail (bevels, the shadow, the light-level strip)
comes in only where there is room for it. The 16- and 32-pixel pictures stay
the pixel art of tools/make_images.py.

    tools/make_icons.py             rewrite the files in res/images
"""
import os
import struct
import zlib

SIZES = (24, 48, 64, 128, 256)
# The SVG is the largest layout, in its own units.
SVG_SIZE = 256
# Samples per pixel along each axis where an edge is not straight.
SUPERSAMPLING = 4

# The cells' colours, in the order of the pixel art's grid.
SWATCHES = [
    (255, 0, 0), (255, 255, 0), (0, 255, 0), (0, 255, 255),
    (0, 0, 255), (128, 0, 128), (128, 0, 0), (128, 128, 0),
    (0, 128, 0), (0, 128, 128), (0, 0, 128), (255, 255, 255),
    (192, 192, 192), (128, 128, 128), (0, 0, 0), (255, 0, 0),
]
OUTLINE = (32, 32, 32)
HIGHLIGHT = (255, 255, 255)
SHADE = (64, 64, 64)


class Rect:
    """A rectangle with rounded corners, filled with one colour or a
    gradient from top to bottom."""

    def __init__(self, x0, y0, x1, y1, fill, radius=0.0, bottom=None, alpha=1.0):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.fill, self.bottom, self.radius, self.alpha = fill, bottom, radius, alpha

    def bounds(self):
        return self.x0, self.y0, self.x1, self.y1

    def colour(self, y):
        if self.bottom is None:
            return self.fill
        t = min(1.0, max(0.0, (y - self.y0) / (self.y1 - self.y0)))
        return tuple(round(a + (b - a) * t) for a, b in zip(self.fill, self.bottom))

    def contains(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.radius
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def coverage(self, px, py):
        # Straight edges get their exact share; corners are sampled.
        r = self.radius
        if r == 0 or (self.x0 + r <= px and px + 1 <= self.x1 - r) or \
                (self.y0 + r <= py and py + 1 <= self.y1 - r):
            w = min(px + 1, self.x1) - max(px, self.x0)
            h = min(py + 1, self.y1) - max(py, self.y0)
            return max(0.0, w) * max(0.0, h)
        return sampled(self, px, py)

    def svg(self, gradients):
        attributes = 'x="%g" y="%g" width="%g" height="%g"' % (
            self.x0, self.y0, self.x1 - self.x0, self.y1 - self.y0)
        if self.radius:
            attributes += ' rx="%g"' % self.radius
        return '<rect %s %s/>' % (attributes, svg_paint(self, gradients))


class Polygon:
    """A closed polygon of one colour."""

    def __init__(self, points, fill, alpha=1.0):
        self.points, self.fill, self.alpha, self.bottom = points, fill, alpha, None

    def bounds(self):
        xs = [x for x, _ in self.points]
        ys = [y for _, y in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def colour(self, y):
        return self.fill

    def contains(self, x, y):
        inside = False
        n = len(self.points)
        for i in range(n):
            (xa, ya), (xb, yb) = self.points[i], self.points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                inside = not inside
        return inside

    def coverage(self, px, py):
        return sampled(self, px, py)

    def svg(self, gradients):
        path = "M" + " L".join("%g %g" % point for point in self.points) + " Z"
        return '<path d="%s" %s/>' % (path, svg_paint(self, gradients))


def sampled(shape, px, py):
    step = 1.0 / SUPERSAMPLING
    hits = 0
    for j in range(SUPERSAMPLING):
        for i in range(SUPERSAMPLING):
            hits += shape.contains(px + (i + 0.5) * step, py + (j + 0.5) * step)
    return hits / SUPERSAMPLING ** 2


def hex_colour(colour):
    return "#%02x%02x%02x" % colour


def svg_paint(shape, gradients):
    opacity = ' fill-opacity="%g"' % shape.alpha if shape.alpha < 1 else ""
    if shape.bottom is None:
        return 'fill="%s"%s' % (hex_colour(shape.fill), opacity)
    name = "g%d" % len(gradients)
    gradients.append(
        '<linearGradient id="%s" x1="0" y1="%g" x2="0" y2="%g" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        % (name, shape.y0, shape.y1, hex_colour(shape.fill), hex_colour(shape.bottom)))
    return 'fill="url(#%s)"%s' % (name, opacity)


def mix(colour, other, amount):
    return tuple(round(a + (b - a) * amount) for a, b in zip(colour, other))


def framed(x0, y0, x1, y1, line, fill, radius=0.0, bottom=None):
    """A filled rectangle with an outline `line` wide, as two rectangles."""
    return [Rect(x0, y0, x1, y1, OUTLINE, radius),
            Rect(x0 + line, y0 + line, x1 - line, y1 - line, fill, max(0.0, radius - line),
                 bottom)]


def cell(x, y, size, colour, bevel):
    """One palette cell, raised like a button where there is room."""
    if bevel == 0:
        return [Rect(x, y, x + size, y + size, colour)]
    light = mix(colour, HIGHLIGHT, 0.6)
    dark = mix(colour, SHADE, 0.6)
    return [Rect(x, y, x + size, y + size, dark),
            Rect(x, y, x + size - bevel, y + size - bevel, light),
            Rect(x + bevel, y + bevel, x + size - bevel, y + size - bevel, colour)]


def grid(x, y, cells, size, gap, bevel, swatches=SWATCHES):
    shapes = []
    for i in range(cells * cells):
        shapes += cell(x + (i % cells) * (size + gap), y + (i // cells) * (size + gap), size,
                       swatches[i % len(swatches)], bevel)
    return shapes


def application_icon(size):
    """A panel of 4 by 4 palette cells, the editor's grid."""
    unit = size / 32
    line = max(1, round(size / 64))
    margin = max(1, round(unit * 1.5)) if size > 24 else 1
    radius = round(unit * 3) if size >= 48 else 0
    shapes = []
    if size >= 64:  # a soft shadow below the panel
        drop = round(unit * 1.5)
        shapes.append(Rect(margin, margin + drop, size - margin, size - margin + drop, (0, 0, 0),
                           radius, alpha=0.25))
    bottom = size - margin - (round(unit * 1.5) if size >= 64 else 0)
    shapes += framed(margin, margin, size - margin, bottom, line, (232, 232, 232), radius,
                     (184, 184, 184))
    gap = max(1, round(unit * 0.75))
    inner = min(size - 2 * margin, bottom - margin) - 2 * line - 2 * max(1, round(unit * 1.5))
    cell_size = (inner - 3 * gap) // 4
    span = 4 * cell_size + 3 * gap
    x = (size - span) // 2
    y = margin + (bottom - margin - span) // 2
    bevel = 0 if size < 48 else max(1, round(unit * 0.75))
    return shapes + grid(x, y, 4, cell_size, gap, bevel)


def document_icon(size):
    """A page with a turned-down corner, a grid of cells and, below it,
    the light levels of one colour from dark to bright."""
    unit = size / 32
    line = max(1, round(size / 64))
    left, right = round(size * 0.16), size - round(size * 0.16)
    top, bottom = max(0, round(unit * 0.5)), size - max(0, round(unit * 0.5))
    fold = round(size * 0.22)
    page = [(left, top), (right - fold, top), (right, top + fold), (right, bottom),
            (left, bottom)]
    inner = [(left + line, top + line), (right - fold - line * 0.4, top + line),
             (right - line, top + fold + line * 0.4), (right - line, bottom - line),
             (left + line, bottom - line)]
    corner = [(right - fold, top), (right, top + fold), (right - fold, top + fold)]
    corner_inner = [(right - fold + line, top + line * 2.4), (right - line * 2.4, top + fold - line),
                    (right - fold + line, top + fold - line)]
    shapes = [Polygon(page, OUTLINE), Polygon(inner, (255, 255, 255)),
              Polygon(corner, OUTLINE), Polygon(corner_inner, (216, 216, 216))]
    cells = 3 if size < 48 else 4
    gap = max(1, round(unit * 0.75))
    padding = max(1, round(unit * 1.5))
    y = top + fold + padding
    # The light-level strip below the grid, where there is room for it.
    strip = max(2, round(unit * 3)) if size >= 48 else 0
    strip_gap = max(2, round(unit * 1.5)) if strip else 0
    room_x = right - left - 2 * line - 2 * padding
    room_y = bottom - line - padding - y - strip - strip_gap
    cell_size = min(room_x, room_y + gap) // cells - gap
    span = cells * cell_size + (cells - 1) * gap
    x = left + (right - left - span) // 2
    bevel = 0 if size < 64 else max(1, round(unit * 0.5))
    shapes += grid(x, y, cells, cell_size, gap, bevel)
    if strip:  # the light levels: one colour from black up to itself
        steps = 8
        strip_top = y + span + strip_gap
        step = span // steps
        start = x + (span - step * steps) // 2
        for i in range(steps):
            shapes.append(Rect(start + i * step, strip_top, start + (i + 1) * step,
                               strip_top + strip, mix((0, 0, 0), (64, 128, 255), i / (steps - 1))))
    return shapes


def rasterise(shapes, size):
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for shape in shapes:
        x0, y0, x1, y1 = shape.bounds()
        for py in range(max(0, int(y0)), min(size, int(y1) + 1)):
            colour = shape.colour(py + 0.5)
            for px in range(max(0, int(x0)), min(size, int(x1) + 1)):
                a = shape.coverage(px, py) * shape.alpha
                if a <= 0:
                    continue
                r, g, b, da = pixels[py][px]
                out = a + da * (1 - a)
                blend = [(c * a + d * da * (1 - a)) / out for c, d in zip(colour, (r, g, b))]
                pixels[py][px] = (blend[0], blend[1], blend[2], out)
    return pixels


def write_png(path, pixels):
    size = len(pixels)
    raw = b"".join(
        b"\0" + bytes(round(v) if i < 3 else round(v * 255)
                      for r, g, b, a in row for i, v in enumerate((r, g, b, a)))
        for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_svg(path, shapes, title):
    gradients = []
    body = [shape.svg(gradients) for shape in shapes]
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        out.write('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                  'viewBox="0 0 %d %d">\n' % (SVG_SIZE, SVG_SIZE, SVG_SIZE, SVG_SIZE))
        out.write("  <title>%s</title>\n" % title)
        if gradients:
            out.write("  <defs>%s</defs>\n" % "".join(gradients))
        for element in body:
            out.write("  %s\n" % element)
        out.write("</svg>\n")


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "images")
    os.makedirs(folder, exist_ok=True)
    for name, draw, title in (("palvane", application_icon, "Palvane"),
                              ("document", document_icon, "Jedi Knight CMP")):
        for size in SIZES:
            write_png(os.path.join(folder, "%s%d.png" % (name, size)),
                      rasterise(draw(size), size))
        write_svg(os.path.join(folder, "%s.svg" % name), draw(SVG_SIZE), title)


if __name__ == "__main__":
    main()
