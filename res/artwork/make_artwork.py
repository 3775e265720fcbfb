#!/usr/bin/env python3
"""Draws Jarvane's artwork and writes it as XPM files (C source the program
includes). Run from anywhere: python3 res/artwork/make_artwork.py
The shapes are described in continuous coordinates and sampled 4x4 per pixel.
Masked images (the small list and dialog pictures) get hard edges so that no
pale fringe shows on a coloured background; the rest are anti-aliased.
The large application icons, for desktops and their menus, are PNG files with
soft edges in their alpha channel; they are installed, not compiled in."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4
WHITE = (255, 255, 255)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def letter_c(cx, cy, r, stroke):
    """A "C": a ring with a wedge cut away on the right."""
    band = ring(cx, cy, r, r - stroke)
    def inside(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx))
        return band(x, y) and abs(angle) > 45
    return inside


# Pixel letters for the 16x16 images, where sampled outlines come out ragged.
GLYPH_C_BIG = ["..####.", ".######", "##...##", "##.....", "##.....", "##.....", "##...##",
               ".######", "..####."]
GLYPH_P_BIG = ["#####.", "######", "##..##", "##..##", "######", "#####.", "##....", "##....",
               "##...."]
GLYPH_C_SMALL = [".###.", "##.##", "##...", "##...", "##...", "##.##", ".###."]


class Canvas:
    def __init__(self, w, h, background, antialias):
        self.w, self.h = w, h
        self.antialias = antialias
        self.px = [[background] * w for _ in range(h)]
        # Opacity of each pixel; below 1 only where an anti-aliased edge meets
        # the transparent background.
        self.alpha = [[0.0 if background is None else 1.0] * w for _ in range(h)]

    def fill(self, shape, colour, scale=1.0):
        for py in range(self.h):
            for px in range(self.w):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) / scale
                        y = (py + (sy + 0.5) / SAMPLES) / scale
                        hits += shape(x, y)
                cover = hits / (SAMPLES * SAMPLES)
                if not self.antialias:
                    cover = 1.0 if cover >= 0.5 else 0.0
                if cover == 0:
                    continue
                old = self.px[py][px]
                if old is None and self.antialias:
                    self.px[py][px] = colour
                    self.alpha[py][px] = cover
                elif old is None:
                    self.px[py][px] = colour if cover >= 0.5 else None
                    self.alpha[py][px] = 1.0 if cover >= 0.5 else 0.0
                else:
                    self.alpha[py][px] += (1.0 - self.alpha[py][px]) * cover
                    self.px[py][px] = tuple(round(o + (c - o) * cover) for o, c in zip(old, colour))

    def glyph(self, rows, left, top, colour):
        for dy, row in enumerate(rows):
            for dx, cell in enumerate(row):
                if cell == "#":
                    self.px[top + dy][left + dx] = colour

    def xpm(self, name):
        palette = {}
        for row in self.px:
            for p in row:
                palette.setdefault(p, None)
        chars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789#$%&*+-=@"
        width = 1 if len(palette) <= len(chars) else 2
        codes = []
        for a in chars:
            if width == 1:
                codes.append(a)
            else:
                codes.extend(a + b for b in chars)
        colours = sorted(palette, key=lambda p: (p is not None, p or (0, 0, 0)))
        for code, colour in zip(codes, colours):
            palette[colour] = code
        lines = ['"%d %d %d %d"' % (self.w, self.h, len(palette), width)]
        for colour in colours:
            spec = "None" if colour is None else "#%02X%02X%02X" % colour
            lines.append('"%s c %s"' % (palette[colour], spec))
        for row in self.px:
            lines.append('"%s"' % "".join(palette[p] for p in row))
        body = ",\n".join(lines)
        return ("/* XPM */\n/* Generated by make_artwork.py: edit the script, not this file. */\n"
                "static const char* %s_xpm[] = {\n%s};\n" % (name, body))


    def png(self):
        raw = b""
        for row, alphas in zip(self.px, self.alpha):
            raw += b"\0" + b"".join(bytes(p or (0, 0, 0)) + bytes([round(255 * a)])
                                    for p, a in zip(row, alphas))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def save_png(canvas, name):
    with open(os.path.join(HERE, name + ".png"), "wb") as f:
        f.write(canvas.png())


def save(canvas, name):
    with open(os.path.join(HERE, name + ".xpm"), "w", newline="\n") as f:
        f.write(canvas.xpm(name))


# Colours.
DOUGH = (214, 160, 84)
DOUGH_EDGE = (160, 104, 40)
CHIP = (74, 40, 20)
DARK_RED = (139, 0, 0)
GREEN = (0, 128, 0)
LETTER = (254, 254, 254)  # just off white, so the letter stays when white is masked
FOLDER = (240, 200, 64)
FOLDER_EDGE = (150, 110, 20)
PAGE = (248, 248, 240)
PAGE_EDGE = (110, 110, 110)
BLUE = (30, 80, 190)
LIGHT_BLUE = (120, 170, 240)
WHEEL = (120, 72, 28)
GREY = (128, 128, 136)
DARK_GREY = (70, 70, 80)


def chips(cx, cy, r, count, seed):
    """Chocolate chips spread over a cookie: a deterministic golden-angle scatter."""
    shapes = []
    for i in range(count):
        a = i * 2.39996 + seed
        d = r * 0.72 * math.sqrt((i + 0.5) / count)
        size = r * (0.08 + 0.03 * ((i * 7 + round(seed * 3)) % 3))
        shapes.append(disc(cx + d * math.cos(a), cy + d * math.sin(a), size))
    return lambda x, y: any(s(x, y) for s in shapes)


def cookie(canvas, size, bitten, chip_count):
    """A cookie filling a size x size canvas (unit coordinates 0..1 scaled up)."""
    c, r = 0.5, 0.46
    bite = disc(0.93, 0.12, 0.2) if bitten else (lambda x, y: False)
    body = disc(c, c, r)
    inner = disc(c, c, r - 0.06)
    chip_shape = chips(c, c, r, chip_count, 1)
    canvas.fill(lambda x, y: body(x, y) and not bite(x, y), DOUGH_EDGE, size)
    canvas.fill(lambda x, y: inner(x, y) and not bite(x, y), DOUGH, size)
    canvas.fill(lambda x, y: chip_shape(x, y) and not bite(x, y), CHIP, size)


def app_icon(size, soft_edges=False):
    canvas = Canvas(size, size, None, soft_edges)
    cookie(canvas, size, True, 7 if size >= 32 else 4)
    return canvas


def tray_icon(size):
    canvas = Canvas(size, size, None, False)
    cookie(canvas, size, False, 6 if size >= 22 else 4)
    badge = disc(0.74, 0.74, 0.26)
    canvas.fill(badge, DARK_RED, size)
    canvas.fill(letter_c(0.74, 0.74, 0.19, 0.08), LETTER, size)
    return canvas


def options_icon(size):
    canvas = Canvas(size, size, None, False)
    teeth = []
    for i in range(8):
        a = math.radians(i * 45)
        teeth.append(segment(0.5 + 0.3 * math.cos(a), 0.5 + 0.3 * math.sin(a),
                             0.5 + 0.45 * math.cos(a), 0.5 + 0.45 * math.sin(a), 0.14))
    gear = disc(0.5, 0.5, 0.36)
    canvas.fill(lambda x, y: gear(x, y) or any(t(x, y) for t in teeth), DARK_GREY, size)
    canvas.fill(disc(0.5, 0.5, 0.31), GREY, size)
    canvas.fill(disc(0.5, 0.5, 0.22), DOUGH_EDGE, size)
    canvas.fill(disc(0.5, 0.5, 0.18), DOUGH, size)
    canvas.fill(chips(0.5, 0.5, 0.18, 3, 2), CHIP, size)
    return canvas


def folder_with_c():
    canvas = Canvas(16, 16, WHITE, False)
    tab = polygon([(1, 3), (6, 3), (7.5, 4.5), (7.5, 5.5), (1, 5.5)])
    body = rect(1, 5, 15, 14)
    canvas.fill(lambda x, y: tab(x, y) or body(x, y), FOLDER_EDGE)
    canvas.fill(rect(2, 6, 14, 13), FOLDER)
    canvas.glyph(GLYPH_C_SMALL, 6, 6, DARK_RED)
    return canvas


def page_with_c():
    canvas = Canvas(16, 16, WHITE, False)
    outline = polygon([(2, 0.5), (10.5, 0.5), (14, 4), (14, 15.5), (2, 15.5)])
    inner = polygon([(3, 1.5), (10, 1.5), (13, 4.5), (13, 14.5), (3, 14.5)])
    canvas.fill(outline, PAGE_EDGE)
    canvas.fill(inner, PAGE)
    canvas.fill(polygon([(10, 1), (10, 5), (14, 5)]), PAGE_EDGE)
    canvas.glyph(GLYPH_C_SMALL, 6, 7, DARK_RED)
    return canvas


def ships_wheel():
    canvas = Canvas(16, 16, WHITE, False)
    spokes = [segment(8 + 2 * math.cos(math.radians(a)), 8 + 2 * math.sin(math.radians(a)),
                      8 + 7.6 * math.cos(math.radians(a)), 8 + 7.6 * math.sin(math.radians(a)), 1.6)
              for a in range(0, 360, 45)]
    canvas.fill(lambda x, y: any(s(x, y) for s in spokes), WHEEL)
    canvas.fill(ring(8, 8, 5.6, 3.8), WHEEL)
    canvas.fill(disc(8, 8, 2.6), BLUE)
    return canvas


def globe():
    canvas = Canvas(16, 16, WHITE, False)
    canvas.fill(disc(8, 8, 7.2), BLUE)
    inner_meridian = lambda x, y: 0.9 <= ((x - 8) / 2.8) ** 2 + ((y - 8) / 6.8) ** 2 <= 1.25
    canvas.fill(lambda x, y: inner_meridian(x, y) and abs(y - 8) < 6.5, LIGHT_BLUE)
    canvas.fill(rect(1.5, 7.4, 14.5, 8.6), LIGHT_BLUE)
    canvas.fill(rect(7.4, 1.5, 8.6, 14.5), LIGHT_BLUE)
    return canvas


def row_disc(colour, glyph, left):
    canvas = Canvas(16, 16, WHITE, False)
    canvas.fill(disc(8, 8, 7.2), colour)
    canvas.glyph(glyph, left, 4, LETTER)
    return canvas


def logo():
    """The main window's 50x49 logo: a cookie with a bite out of it."""
    canvas = Canvas(50, 49, WHITE, False)
    cookie(canvas, 49, True, 9)
    return canvas


def wait_picture():
    """The wait screen's 94x104 picture: a chocolate-chip cookie on a plate."""
    canvas = Canvas(94, 104, (236, 232, 224), True)
    canvas.fill(lambda x, y: ((x - 47) / 44) ** 2 + ((y - 62) / 30) ** 2 <= 1, (250, 250, 250))
    canvas.fill(lambda x, y: ((x - 47) / 44) ** 2 + ((y - 62) / 30) ** 2 <= 1 and
                ((x - 47) / 36) ** 2 + ((y - 62) / 23) ** 2 >= 1, (214, 214, 220))
    shadow = disc(49, 55, 37)
    canvas.fill(shadow, (200, 196, 186))
    canvas.fill(disc(47, 52, 37), DOUGH_EDGE)
    canvas.fill(disc(47, 52, 34), DOUGH)
    canvas.fill(disc(44, 48, 22), (226, 176, 100))
    canvas.fill(chips(47, 52, 34, 14, 0.7), CHIP)
    canvas.fill(disc(40, 42, 2.5), (120, 80, 40))
    return canvas


def main():
    save(app_icon(32), "icon_app_32")
    save(app_icon(16), "icon_app_16")
    for size in (48, 64, 128, 256):
        save_png(app_icon(size, True), "icon_app_%d" % size)
    save(tray_icon(32), "icon_tray_32")
    save(tray_icon(22), "icon_tray_22")
    save(tray_icon(16), "icon_tray_16")
    save(options_icon(32), "icon_options_32")
    save(folder_with_c(), "bmp_ie_folder")
    save(page_with_c(), "bmp_ns_file")
    save(ships_wheel(), "bmp_ns_emblem")
    save(globe(), "bmp_ie_emblem")
    save(logo(), "bmp_logo")
    save(row_disc(DARK_RED, GLYPH_C_BIG, 5), "bmp_cookie")
    save(row_disc(GREEN, GLYPH_P_BIG, 5), "bmp_protected")
    save(wait_picture(), "bmp_wait")


if __name__ == "__main__":
    main()
