#!/usr/bin/env python3
"""Draws the editor's pixel art and writes it to res/images as 16-colour
bitmaps: the application and document icons (32x32 and 16x16), the toolbar
strip (seven 16x15 buttons in one 112x15 strip) with its version for a
scale factor of 2 (224x30, outlines one pixel thin) and the About picture
(64x44). Magenta marks the pixels that stay transparent.

    tools/make_images.py            rewrite the files in res/images
"""
import os
import struct

# The 16 colours every image is drawn with.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, CLEAR, AQUA, WHITE = range(8, 16)


class Canvas:
    """Pixels of the 16 colours. Drawing takes the coordinates of the
    picture at scale 1; at a larger `scale` each of them covers that many
    pixels each way, except the lines of a frame, which stay one pixel
    thin so that the picture gains detail rather than blocks."""

    def __init__(self, width, height, fill=CLEAR, scale=1):
        self.width, self.height, self.scale = width * scale, height * scale, scale
        self.pixels = [[fill] * self.width for _ in range(self.height)]

    def put_pixel(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_pixels(self, x, y, w, h, colour):
        for row in range(y, y + h):
            for col in range(x, x + w):
                self.put_pixel(col, row, colour)

    def put(self, x, y, colour):
        s = self.scale
        self.fill_pixels(x * s, y * s, s, s, colour)

    def fill(self, x, y, w, h, colour):
        s = self.scale
        self.fill_pixels(x * s, y * s, w * s, h * s, colour)

    def frame(self, x, y, w, h, colour):
        s = self.scale
        x, y, w, h = x * s, y * s, w * s, h * s
        self.fill_pixels(x, y, w, 1, colour)
        self.fill_pixels(x, y + h - 1, w, 1, colour)
        self.fill_pixels(x, y, 1, h, colour)
        self.fill_pixels(x + w - 1, y, 1, h, colour)

    def blit(self, other, x, y):
        s = self.scale
        for row in range(other.height):
            for col in range(other.width):
                self.put_pixel(x * s + col, y * s + row, other.pixels[row][col])

    def write_bmp(self, path):
        stride = ((self.width + 1) // 2 + 3) // 4 * 4
        rows = b""
        for row in reversed(self.pixels):
            packed = bytearray(stride)
            for col, colour in enumerate(row):
                packed[col // 2] |= colour << (0 if col % 2 else 4)
            rows += bytes(packed)
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
        offset = 14 + 40 + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 4, 0, len(rows),
                           2835, 2835, 16, 0)
        with open(path, "wb") as out:
            out.write(header + info + palette + rows)


# A palette of cells, the editor's subject.
SWATCHES = [RED, YELLOW, LIME, AQUA, BLUE, PURPLE, MAROON, OLIVE,
            GREEN, TEAL, NAVY, WHITE, SILVER, GREY, BLACK, RED]


def palette_grid(canvas, x, y, cells, cell, gap):
    for i in range(cells * cells):
        cx = x + (i % cells) * (cell + gap)
        cy = y + (i // cells) * (cell + gap)
        canvas.fill(cx, cy, cell, cell, SWATCHES[i % len(SWATCHES)])


def application_icon(size):
    c = Canvas(size, size)
    c.fill(0, 0, size, size, BLACK)
    c.fill(1, 1, size - 2, size - 2, SILVER)
    if size == 32:
        palette_grid(c, 3, 3, 4, 6, 1)
    else:
        palette_grid(c, 2, 2, 4, 2, 1)
    return c


def document_icon(size):
    c = Canvas(size, size)
    left, right = (4, 27) if size == 32 else (2, 13)
    fold = 7 if size == 32 else 4
    c.fill(left, 0, right - left + 1, size, WHITE)
    c.frame(left, 0, right - left + 1, size, BLACK)
    for i in range(fold):  # the turned-down corner
        c.fill(right - fold + 1 + i, 0, fold - i, 1 if i else 1, CLEAR)
        c.fill(right - fold + 1 + i, i, fold - i, 1, CLEAR)
        c.put(right - fold + 1 + i, i, BLACK)
    c.fill(right - fold + 1, fold, fold, 1, BLACK)
    c.fill(right - fold + 1, 0, 1, fold, BLACK)
    if size == 32:
        palette_grid(c, 8, 11, 4, 3, 1)
    else:
        palette_grid(c, 4, 6, 3, 2, 1)
    return c


def button_new(scale):
    c = Canvas(16, 15, scale=scale)
    c.fill(3, 1, 9, 13, WHITE)
    c.frame(3, 1, 9, 13, BLACK)
    c.fill(9, 1, 3, 3, CLEAR)
    c.put(9, 1, BLACK), c.put(10, 2, BLACK), c.put(11, 3, BLACK)
    c.fill(9, 1, 1, 3, BLACK), c.fill(9, 3, 3, 1, BLACK)
    return c


def button_open(scale):
    c = Canvas(16, 15, scale=scale)
    c.fill(1, 4, 5, 2, OLIVE)
    c.fill(1, 5, 12, 8, YELLOW)
    c.frame(1, 5, 12, 8, OLIVE)
    c.fill(3, 8, 12, 5, OLIVE)
    c.fill(4, 9, 10, 3, YELLOW)
    c.fill(9, 1, 4, 1, BLACK), c.put(13, 2, BLACK), c.put(14, 3, BLACK)
    return c


def button_save(scale):
    c = Canvas(16, 15, scale=scale)
    c.fill(1, 1, 14, 13, NAVY)
    c.fill(4, 1, 8, 6, WHITE)
    c.fill(4, 9, 8, 5, SILVER)
    c.fill(9, 10, 2, 3, NAVY)
    return c


def button_print(scale):
    c = Canvas(16, 15, scale=scale)
    c.fill(4, 1, 8, 5, WHITE)
    c.frame(4, 1, 8, 5, BLACK)
    c.fill(1, 6, 14, 6, SILVER)
    c.frame(1, 6, 14, 6, BLACK)
    c.put(12, 8, LIME)
    c.fill(4, 10, 8, 4, WHITE)
    c.frame(4, 10, 8, 4, BLACK)
    return c


def button_gradient(scale):
    c = Canvas(16, 15, scale=scale)
    steps = [BLACK, NAVY, BLUE, TEAL, AQUA, WHITE]
    for i, colour in enumerate(steps):
        c.fill(1 + i * 2 + (1 if i else 0), 3, 3 if i == 0 else 2, 9, colour)
    c.frame(1, 2, 14, 11, BLACK)
    return c


def button_colorize(scale):
    c = Canvas(16, 15, scale=scale)
    for row, (start, width) in enumerate([(7, 2), (6, 4), (5, 6), (4, 8), (3, 10), (3, 10),
                                          (3, 10), (3, 10), (4, 8), (5, 6)]):
        c.fill(start, 2 + row, width, 1, RED)
    c.put(7, 1, BLACK), c.put(8, 1, BLACK)
    c.fill(5, 6, 1, 3, WHITE)
    c.fill(2, 13, 12, 1, MAROON)
    return c


def button_about(scale):
    c = Canvas(16, 15, scale=scale)
    c.fill(4, 1, 8, 13, BLUE)
    c.fill(2, 3, 12, 9, BLUE)
    c.fill(3, 2, 10, 11, BLUE)
    for x, y in [(6, 3), (7, 3), (8, 3), (9, 3), (5, 4), (10, 4), (10, 5), (9, 6), (8, 7),
                 (7, 8), (7, 9), (7, 11), (6, 4), (10, 6)]:
        c.put(x, y, WHITE)
    return c


def about_picture():
    c = Canvas(64, 44, SILVER)
    for i in range(16):
        x = 3 + (i % 8) * 7
        y = 4 + (i // 8) * 7
        c.fill(x, y, 6, 6, i if i != CLEAR else PURPLE)
        c.frame(x, y, 6, 6, BLACK)
    steps = [BLACK, NAVY, BLUE, TEAL, AQUA, WHITE, YELLOW, OLIVE]
    for i, colour in enumerate(steps):
        c.fill(3 + i * 7, 22, 7, 8, colour)
    c.frame(3, 22, 56, 8, BLACK)
    c.fill(3, 34, 56, 6, GREY)
    c.fill(3, 34, 20, 6, RED)
    c.frame(3, 34, 56, 6, BLACK)
    return c


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "images")
    os.makedirs(folder, exist_ok=True)
    for size in (32, 16):
        application_icon(size).write_bmp(os.path.join(folder, f"palvane{size}.bmp"))
        document_icon(size).write_bmp(os.path.join(folder, f"document{size}.bmp"))
    buttons = [button_new, button_open, button_save, button_print, button_gradient,
               button_colorize, button_about]
    for scale, name in ((1, "toolbar.bmp"), (2, "toolbar@2x.bmp")):
        strip = Canvas(112, 15, scale=scale)
        for i, draw in enumerate(buttons):
            strip.blit(draw(scale), i * 16, 0)
        strip.write_bmp(os.path.join(folder, name))
    about_picture().write_bmp(os.path.join(folder, "about.bmp"))


if __name__ == "__main__":
    main()
