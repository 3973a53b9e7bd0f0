#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws every Kestrune icon and writes the PNG files and icons.qrc beside this script.

Standard library only, so a fresh machine can regenerate the artwork without extra
packages. Each icon is drawn from simple vector shapes on a design grid (16 units for
the small icons) and rasterised with 4x4 supersampling; the @2x files are the same
drawing at twice the scale, so both sizes always match.

    python3 make_icons.py                 write the icons and icons.qrc
    python3 make_icons.py --sheet OUT.png also write an enlarged contact sheet
    python3 make_icons.py --hicolor DIR   write the desktop icon as DIR/<n>x<n>/apps/kestrune.png
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUPERSAMPLE = 4

# Palette shared by every icon so the set reads as one family.
OUTLINE = (44, 56, 72)
PAPER = (255, 255, 255)
PAPER_SHADE = (214, 224, 236)
TEXT_LINE = (140, 156, 176)
BLUE = (58, 122, 204)
BLUE_LIGHT = (132, 184, 240)
BLUE_DARK = (30, 74, 140)
YELLOW = (246, 200, 82)
YELLOW_DARK = (204, 146, 38)
GREEN = (64, 168, 76)
GREEN_DARK = (30, 110, 44)
RED = (214, 58, 48)
RED_DARK = (150, 30, 24)
STEEL = (196, 204, 214)
STEEL_DARK = (112, 122, 136)
BROWN = (176, 122, 66)
BROWN_DARK = (112, 72, 34)
ORANGE = (244, 146, 44)
CYAN = (0, 214, 230)
BUTTON_GREY = (192, 192, 192)


# --------------------------------------------------------------------------- shapes

class Shape:
    """A region of the design plane: a bounding box and an inside test."""

    def __init__(self, bbox, test):
        self.bbox = bbox
        self.test = test

    def __or__(self, other):
        a, b = self.bbox, other.bbox
        box = (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))
        return Shape(box, lambda x, y: self.test(x, y) or other.test(x, y))

    def __sub__(self, other):
        return Shape(self.bbox, lambda x, y: self.test(x, y) and not other.test(x, y))

    def __and__(self, other):
        a, b = self.bbox, other.bbox
        box = (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))
        return Shape(box, lambda x, y: self.test(x, y) and other.test(x, y))


def rect(x0, y0, x1, y1):
    return Shape((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1)


def rrect(x0, y0, x1, y1, r):
    def test(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return Shape((x0, y0, x1, y1), test)


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return Shape((cx - rx, cy - ry, cx + rx, cy + ry),
                 lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0)


def poly(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    n = len(points)

    def test(x, y):
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    return Shape((min(xs), min(ys), max(xs), max(ys)), test)


def segment(p, q, width):
    (px, py), (qx, qy) = p, q
    dx, dy = qx - px, qy - py
    length2 = dx * dx + dy * dy or 1e-12
    half = width / 2.0

    def test(x, y):
        t = max(0.0, min(1.0, ((x - px) * dx + (y - py) * dy) / length2))
        ex, ey = px + t * dx - x, py + t * dy - y
        return ex * ex + ey * ey <= half * half
    box = (min(px, qx) - half, min(py, qy) - half, max(px, qx) + half, max(py, qy) + half)
    return Shape(box, test)


def stroke(points, width=1.0, closed=False):
    pairs = list(zip(points, points[1:]))
    if closed:
        pairs.append((points[-1], points[0]))
    shape = segment(pairs[0][0], pairs[0][1], width)
    for p, q in pairs[1:]:
        shape = shape | segment(p, q, width)
    return shape


def ring(cx, cy, r_out, r_in):
    return ellipse(cx, cy, r_out) - ellipse(cx, cy, r_in)


def rotate(points, angle_deg, centre):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    cx, cy = centre
    return [(cx + x * ca - y * sa, cy + x * sa + y * ca) for x, y in points]


def vgrad(y0, c0, y1, c1):
    """Vertical linear gradient between two design-unit heights."""
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / ((y1 - y0) or 1)))
        return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))
    return colour


def radial(cx, cy, r, c0, c1):
    def colour(x, y):
        t = max(0.0, min(1.0, math.hypot(x - cx, y - cy) / r))
        return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))
    return colour


def mix(c0, c1, t):
    return tuple(round(c0[i] + (c1[i] - c0[i]) * t) for i in range(3))


# --------------------------------------------------------------------------- canvas

class Canvas:
    """RGBA pixels with straight alpha; shapes are given in design units."""

    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, colour, alpha=1.0, crisp=False):
        """Covers shape; crisp samples pixel centres only, for small curves that must not smear."""
        s = self.scale
        n = 1 if crisp else SUPERSAMPLE
        x0 = max(0, int(math.floor(shape.bbox[0] * s)))
        y0 = max(0, int(math.floor(shape.bbox[1] * s)))
        x1 = min(self.width, int(math.ceil(shape.bbox[2] * s)) + 1)
        y1 = min(self.height, int(math.ceil(shape.bbox[3] * s)) + 1)
        offsets = [(k + 0.5) / n for k in range(n)]
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for oy in offsets:
                    y = (py + oy) / s
                    for ox in offsets:
                        if shape.test((px + ox) / s, y):
                            hits += 1
                if hits:
                    c = colour((px + 0.5) / s, (py + 0.5) / s) if callable(colour) else colour
                    self._blend(px, py, c, alpha * hits / (n * n))

    def _blend(self, px, py, colour, a):
        dst = self.pixels[py * self.width + px]
        out_a = a + dst[3] * (1.0 - a)
        if out_a <= 0.0:
            return
        for i in range(3):
            dst[i] = (colour[i] * a + dst[i] * dst[3] * (1.0 - a)) / out_a
        dst[3] = out_a

    def paste(self, other, ox, oy, zoom=1):
        for y in range(other.height * zoom):
            for x in range(other.width * zoom):
                tx, ty = ox + x, oy + y
                if 0 <= tx < self.width and 0 <= ty < self.height:
                    src = other.pixels[(y // zoom) * other.width + x // zoom]
                    if src[3] > 0:
                        self._blend(tx, ty, src[:3], src[3])

    def png_bytes(self):
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                raw += bytes((clamp(r), clamp(g), clamp(b), clamp(a * 255)))

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def clamp(v):
    return max(0, min(255, int(round(v))))


# --------------------------------------------------------------------------- helpers

def box(c, x0, y0, x1, y1, fill, outline=OUTLINE, radius=0.0):
    """A filled box with a one-unit outline whose outer edge is (x0, y0)-(x1, y1)."""
    if radius > 0:
        c.fill(rrect(x0, y0, x1, y1, radius), outline)
        c.fill(rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(radius - 1, 0.01)), fill)
    else:
        c.fill(rect(x0, y0, x1, y1), outline)
        c.fill(rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), fill)


def outlined_poly(c, points, fill, outline=OUTLINE, width=1.0):
    """Polygon whose vertices lie on pixel centres, so a one-unit outline stays crisp."""
    c.fill(poly(points), fill)
    c.fill(stroke(points, width, closed=True), outline)


def page(c, x0, y0, x1, y1, fold=3):
    """A sheet of paper with a folded top-right corner (edges on pixel centres)."""
    pts = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    outlined_poly(c, pts, vgrad(y0, PAPER, y1, PAPER_SHADE))
    corner = [(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]
    c.fill(poly(corner), PAPER_SHADE)
    c.fill(stroke(corner, 1.0, closed=True), OUTLINE)


def text_lines(c, x0, x1, ys, colour=TEXT_LINE):
    for i, y in enumerate(ys):
        end = x1 - (2 if i % 2 else 0)
        c.fill(rect(x0, y, end, y + 1), colour)


def ui_button(c, x0, y0, x1, y1, base, label=True):
    """A small raised push button: outlined, lit from the top, with a label stroke."""
    box(c, x0, y0, x1, y1, vgrad(y0, mix(base, PAPER, 0.55), y1, base), radius=1.2)
    c.fill(rect(x0 + 1.5, y0 + 1, x1 - 1.5, y0 + 1.6), mix(base, PAPER, 0.8), 0.8)
    if label and y1 - y0 >= 5:
        mid = (y0 + y1) / 2.0
        c.fill(rect(x0 + 2.5, mid - 0.5, min(x1 - 2.5, x0 + 8.5), mid + 0.5), OUTLINE, 0.75)


def pixel_art(c):
    """At 16 pixels thin diagonals are placed pixel by pixel; anti-aliasing would smear them."""
    return c.scale < 1.5


def pixels(c, cells, colour):
    for x, y in cells:
        c.fill(rect(x, y, x + 1, y + 1), colour)


def hidden_mark(c):
    """The red disc with a white cross that marks a hidden menu or item."""
    c.fill(ellipse(11.5, 11.5, 4.5), PAPER)
    c.fill(ellipse(11.5, 11.5, 3.9), radial(10.5, 10.5, 4.5, (238, 96, 84), RED_DARK))
    if pixel_art(c):
        pixels(c, [(9 + k, 9 + k) for k in range(5)] + [(13 - k, 9 + k) for k in range(5)], PAPER)
    else:
        c.fill(segment((9.7, 9.7), (13.3, 13.3), 1.1), PAPER)
        c.fill(segment((13.3, 9.7), (9.7, 13.3), 1.1), PAPER)


def arrow_points(direction):
    """A block arrow pointing up (direction -1) or down (+1), vertices on pixel centres."""
    up = [(8.0, 1.5), (14.5, 8.0), (10.5, 8.0), (10.5, 14.5), (5.5, 14.5), (5.5, 8.0), (1.5, 8.0)]
    if direction < 0:
        return up
    return [(x, 16.0 - y) for x, y in up]


# --------------------------------------------------------------------------- toolbar

def draw_new(c):
    page(c, 3.5, 1.5, 13.5, 14.5)
    text_lines(c, 5, 12, [6, 8, 10, 12])
    star = []
    for k in range(10):
        r = 3.2 if k % 2 == 0 else 1.3
        a = math.radians(-90 + k * 36)
        star.append((3.5 + r * math.cos(a), 3.5 + r * math.sin(a)))
    c.fill(poly(star), YELLOW)
    c.fill(stroke(star, 0.7, closed=True), YELLOW_DARK)


def draw_open(c):
    back = [(1.5, 2.5), (5.5, 2.5), (6.5, 3.5), (12.5, 3.5), (12.5, 13.5), (1.5, 13.5)]
    outlined_poly(c, back, vgrad(2, YELLOW, 13, YELLOW_DARK))
    c.fill(rect(3, 5, 11, 8), PAPER)
    front = [(1.5, 13.5), (4.5, 7.5), (15.5, 7.5), (12.5, 13.5)]
    outlined_poly(c, front, vgrad(7, mix(YELLOW, PAPER, 0.45), 14, YELLOW))


def draw_save(c):
    body = [(1.5, 1.5), (12.5, 1.5), (14.5, 3.5), (14.5, 14.5), (1.5, 14.5)]
    outlined_poly(c, body, vgrad(1, BLUE_LIGHT, 15, BLUE))
    box(c, 4, 1, 12, 7, STEEL)
    c.fill(rect(9, 2, 11, 6), OUTLINE)
    box(c, 3, 9, 13, 15, PAPER)
    text_lines(c, 4, 12, [11, 13], BLUE_LIGHT)


def draw_cut(c):
    blade_a = [(4.6, 1.0), (5.8, 1.0), (9.6, 9.8), (8.4, 10.6)]
    blade_b = [(11.4, 1.0), (10.2, 1.0), (6.4, 9.8), (7.6, 10.6)]
    for blade in (blade_a, blade_b):
        c.fill(poly(blade), STEEL)
        c.fill(stroke(blade, 0.8, closed=True), STEEL_DARK)
    c.fill(ellipse(8, 8.2, 0.9), OUTLINE)
    crisp = pixel_art(c)
    for cx in (4, 12):
        c.fill(ring(cx, 12, 3.0, 1.6), RED_DARK, crisp=crisp)
        if not crisp:
            c.fill(ring(cx, 12, 2.4, 2.0), RED)


def draw_copy(c):
    page(c, 1.5, 1.5, 9.5, 11.5, fold=2)
    text_lines(c, 3, 8, [5, 7, 9])
    page(c, 6.5, 4.5, 14.5, 14.5, fold=2)
    text_lines(c, 8, 13, [8, 10, 12])


def draw_paste(c):
    box(c, 1, 2, 12, 16, vgrad(2, BROWN, 16, BROWN_DARK), radius=1.2)
    box(c, 4, 1, 9, 4, STEEL)
    page(c, 6.5, 5.5, 14.5, 15.5, fold=2)
    text_lines(c, 8, 13, [9, 11, 13])


def draw_insert(c):
    ui_button(c, 1, 1, 12, 6, BLUE_LIGHT)
    ui_button(c, 1, 6, 12, 11, BLUE_LIGHT)
    c.fill(ellipse(11.5, 11.5, 4.5), PAPER)
    c.fill(ellipse(11.5, 11.5, 3.9), radial(10.5, 10.5, 4.5, (120, 210, 120), GREEN_DARK))
    c.fill(rect(11, 9, 12, 14), PAPER)
    c.fill(rect(9, 11, 14, 12), PAPER)


def draw_delete(c):
    for a, b in (((3.5, 3.5), (12.5, 12.5)), ((12.5, 3.5), (3.5, 12.5))):
        c.fill(segment(a, b, 4.2), RED_DARK)
    for a, b in (((3.5, 3.5), (12.5, 12.5)), ((12.5, 3.5), (3.5, 12.5))):
        c.fill(segment(a, b, 2.4), radial(6, 6, 10, (246, 110, 96), RED))


def draw_move(c, direction):
    pts = arrow_points(direction)
    outlined_poly(c, pts, vgrad(1, BLUE_LIGHT, 15, BLUE), BLUE_DARK)


def draw_moveup(c):
    draw_move(c, -1)


def draw_movedown(c):
    draw_move(c, +1)


def curved_arrow(c, mirror):
    """Undo (mirror False): an arc over the top turning back to the left, head pointing down."""
    def place(points):
        return [(16.0 - x, y) if mirror else (x, y) for x, y in points]
    arc = [(8.5 + 5.0 * math.cos(math.radians(a)), 10.5 - 5.0 * math.sin(math.radians(a)))
           for a in range(-30, 181, 10)]
    c.fill(stroke(place(arc), 2.4), BLUE_DARK)
    c.fill(stroke(place(arc), 1.2), BLUE_LIGHT)
    outlined_poly(c, place([(0.5, 9.0), (6.5, 9.0), (3.5, 14.5)]), vgrad(9, BLUE_LIGHT, 15, BLUE), BLUE_DARK)


def draw_undo(c):
    curved_arrow(c, False)


def draw_redo(c):
    curved_arrow(c, True)


def draw_property(c):
    box(c, 2, 1, 7, 5, PAPER_SHADE)
    box(c, 6, 2, 11, 5, mix(PAPER_SHADE, STEEL_DARK, 0.3))
    box(c, 1, 4, 15, 15, PAPER)
    c.fill(rect(3, 4, 6, 5), PAPER)
    for y in (7, 10):
        c.fill(rect(3, y, 6, y + 1), TEXT_LINE)
        box(c, 7, y - 1, 13, y + 2, PAPER, STEEL_DARK)
    c.fill(rect(3, 12.5, 6, 13.5), TEXT_LINE)
    box(c, 7, 12, 10, 14, BLUE_LIGHT, BLUE_DARK)


def draw_buildhtml(c):
    page(c, 2.5, 1.5, 13.5, 14.5)
    if pixel_art(c):
        pixels(c, [(6, 6), (5, 7), (4, 8), (5, 9), (6, 10)], BLUE)
        pixels(c, [(9, 6), (10, 7), (11, 8), (10, 9), (9, 10)], BLUE)
        pixels(c, [(8, 5), (8, 6), (8, 7), (8, 8), (7, 9), (7, 10), (7, 11)], ORANGE)
    else:
        c.fill(stroke([(6.75, 6.0), (4.5, 8.5), (6.75, 11.0)], 1.0), BLUE)
        c.fill(stroke([(9.25, 6.0), (11.5, 8.5), (9.25, 11.0)], 1.0), BLUE)
        c.fill(segment((8.6, 5.2), (7.4, 11.8), 0.9), ORANGE)


def globe(c, cx, cy, r):
    crisp = pixel_art(c)
    c.fill(ellipse(cx, cy, r), OUTLINE, crisp=crisp)
    c.fill(ellipse(cx, cy, r - 1), radial(cx - r / 3, cy - r / 3, r * 1.6, BLUE_LIGHT, BLUE), crisp=crisp)
    land = (ellipse(cx - r * 0.35, cy - r * 0.25, r * 0.45, r * 0.3)
            | ellipse(cx + r * 0.3, cy + r * 0.35, r * 0.35, r * 0.25))
    c.fill(land & ellipse(cx, cy, r - 1), GREEN, crisp=crisp)
    if crisp:
        return
    grid = (ring(cx, cy, r - 1, r - 1.6)
            | (ellipse(cx, cy, r * 0.45 + 0.3, r - 1) - ellipse(cx, cy, r * 0.45 - 0.3, r - 1.4))
            | rect(cx - r + 1, cy - 0.3, cx + r - 1, cy + 0.3)
            | rect(cx - 0.3, cy - r + 1, cx + 0.3, cy + r - 1))
    c.fill(grid & ellipse(cx, cy, r - 1), PAPER, 0.55)


def draw_preview(c):
    box(c, 0, 0, 16, 16, PAPER)
    c.fill(rect(1, 1, 15, 3), vgrad(1, BLUE_LIGHT, 3, BLUE))
    c.fill(rect(1, 3, 15, 4), OUTLINE)
    for x in (11, 13):
        c.fill(rect(x, 1.5, x + 1, 2.5), PAPER)
    globe(c, 8, 10, 4.0)


def eye(c, cx, cy, half_w, half_h):
    lid = [(cx - half_w, cy)]
    for k in range(1, 12):
        t = k / 12.0
        x = cx - half_w + 2 * half_w * t
        lid.append((x, cy - half_h * math.sin(math.pi * t)))
    lid.append((cx + half_w, cy))
    for k in range(11, 0, -1):
        t = k / 12.0
        x = cx - half_w + 2 * half_w * t
        lid.append((x, cy + half_h * math.sin(math.pi * t)))
    c.fill(poly(lid), PAPER)
    almond = poly(lid)
    c.fill(ellipse(cx, cy, half_h * 0.95) & almond, radial(cx - 1, cy - 1, half_h * 1.6, BLUE_LIGHT, BLUE_DARK))
    c.fill(ellipse(cx, cy, half_h * 0.42), OUTLINE)
    c.fill(ellipse(cx - half_h * 0.35, cy - half_h * 0.35, half_h * 0.2), PAPER)
    c.fill(stroke(lid, 1.0, closed=True), OUTLINE)


def draw_menupreview(c):
    ui_button(c, 1, 1, 10, 5, BLUE_LIGHT, label=False)
    ui_button(c, 1, 4, 10, 8, BLUE_LIGHT, label=False)
    eye(c, 9.5, 11.5, 6.0, 3.6)


def draw_checkparams(c):
    page(c, 2.5, 1.5, 12.5, 14.5)
    text_lines(c, 4, 11, [5, 7, 9])
    c.fill(stroke([(6.5, 10.5), (9.0, 13.5), (14.5, 6.0)], 3.0), PAPER)
    c.fill(stroke([(6.5, 10.5), (9.0, 13.5), (14.5, 6.0)], 1.8), GREEN)


# --------------------------------------------------------------------------- tree nodes

def draw_node_applet(c):
    c.fill(ellipse(8, 8, 7.5), OUTLINE)
    c.fill(ellipse(8, 8, 6.5), radial(6, 5.5, 9.5, (255, 226, 120), YELLOW_DARK))
    c.fill(ring(8, 8, 5.2, 4.4), mix(YELLOW_DARK, OUTLINE, 0.35))
    c.fill(ellipse(8, 8, 4.0), radial(7, 6.5, 5.5, BLUE_LIGHT, BLUE))
    c.fill(ellipse(6.6, 6.4, 1.6, 1.1), PAPER, 0.85)


def draw_node_menu(c, hidden=False):
    ui_button(c, 1, 2, 15, 8, BLUE_LIGHT)
    ui_button(c, 1, 8, 15, 14, BLUE_LIGHT)
    if hidden:
        hidden_mark(c)


def draw_node_submenu(c, hidden=False):
    ui_button(c, 0, 4, 10, 11, BLUE_LIGHT)
    box(c, 10, 1, 16, 15, PAPER)
    for y in (3, 6, 9, 12):
        c.fill(rect(11, y, 15, y + 2), vgrad(y, BLUE_LIGHT, y + 2, BLUE))
    if hidden:
        hidden_mark(c)


def draw_node_item(c, hidden=False):
    ui_button(c, 1, 4, 15, 12, BLUE_LIGHT)
    if hidden:
        hidden_mark(c)


NODES = [
    ("node0", draw_node_applet, "the applet (root): a circular badge"),
    ("node1", lambda c: draw_node_menu(c, False), "top-level menu, visible: two stacked buttons"),
    ("node2", lambda c: draw_node_menu(c, True), "top-level menu, hidden: the same with the red cross"),
    ("node3", lambda c: draw_node_submenu(c, False), "item with sub menu, visible: a button with a striped panel"),
    ("node4", lambda c: draw_node_submenu(c, True), "item with sub menu, hidden: the same with the red cross"),
    ("node5", lambda c: draw_node_item(c, False), "plain item, visible: a single button"),
    ("node6", lambda c: draw_node_item(c, True), "plain item, hidden: the same with the red cross"),
]

TOOLBAR = [
    ("new", draw_new, '"&New Vorane..." (Ctrl+N), toolbar button 1'),
    ("open", draw_open, '"&Open..." (Ctrl+O), toolbar button 2'),
    ("save", draw_save, '"&Save" (Ctrl+S), toolbar button 3'),
    ("cut", draw_cut, '"Cu&t" (Ctrl+X), toolbar button 4'),
    ("copy", draw_copy, '"&Copy" (Ctrl+C), toolbar button 5'),
    ("paste", draw_paste, '"&Paste" (Ctrl+V), toolbar button 6'),
    ("undo", draw_undo, '"&Undo" (Ctrl+Z), toolbar button 7'),
    ("redo", draw_redo, '"&Redo" (Ctrl+Shift+Z, Ctrl+Y), toolbar button 8'),
    ("insert", draw_insert, '"&Insert Menu/Item", toolbar button 9'),
    ("delete", draw_delete, '"&Delete" (Del), toolbar button 10'),
    ("moveup", draw_moveup, '"Move &Up" (Ctrl+Up), toolbar button 11'),
    ("movedown", draw_movedown, '"Move Do&wn" (Ctrl+Down), toolbar button 12'),
    ("property", draw_property, '"&Property" (Alt+Enter), toolbar button 13'),
    ("buildhtml", draw_buildhtml, '"Build &HTML...", toolbar button 14'),
    ("preview", draw_preview, '"&Preview" (Ctrl+P), toolbar button 15'),
]

EXTRA = [
    ("menupreview", draw_menupreview, 'the planned "Menu Preview" command (a menu and an eye)'),
    ("checkparams", draw_checkparams, '"&Check Parameters" (menu entry; not on the toolbar)'),
]


# --------------------------------------------------------------------------- sheet buttons

# 5 x 7 glyphs for the two captions; '#' is a lit pixel.
GLYPHS = {
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "h": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "t": [".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"],
    ".": [".", ".", ".", ".", ".", ".", "#"],
}


def text_width(text):
    return sum(len(GLYPHS[ch][0]) + 1 for ch in text) - 1


def draw_text(c, text, x, y, colour, cell=1.0):
    for ch in text:
        rows = GLYPHS[ch]
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == "#":
                    c.fill(rect(x + i * cell, y + j * cell, x + (i + 1) * cell, y + (j + 1) * cell), colour)
        x += (len(rows[0]) + 1) * cell


def glossy_button(c, caption, base, dark):
    c.fill(ellipse(25, 26, 23), (0, 0, 0), 0.25)
    c.fill(ellipse(25, 25, 23), dark)
    c.fill(ellipse(25, 25, 21.5), radial(25, 34, 26, mix(base, PAPER, 0.35), dark))
    c.fill(ellipse(25, 15, 15, 9) & ellipse(25, 25, 21), PAPER, 0.45)
    c.fill(ellipse(25, 13, 12, 6), PAPER, 0.3)
    if not caption:
        return
    width = text_width(caption)
    x = round(25 - width / 2.0)
    draw_text(c, caption, x + 1, 24, dark)
    draw_text(c, caption, x, 23, PAPER)


# The program writes the captions (How..., What...) over these in its own font, which stays
# readable at every scale; a 5 x 7 pixel caption was too small to read.
SHEET_BUTTONS = [
    ("sheet_menu", lambda c: glossy_button(c, "", BLUE, BLUE_DARK),
     'the "Menu" button of the menu and item sheets (the program adds the caption How...)'),
    ("sheet_item", lambda c: glossy_button(c, "", GREEN, GREEN_DARK),
     'the "Item" button of the menu and item sheets (the program adds the caption What...)'),
]


# --------------------------------------------------------------------------- corner arrows

def corner_arrow(c, angle):
    """Cyan block arrow on the grey button face, pointing away from the block centre."""
    c.fill(rect(0, 0, 21, 21), BUTTON_GREY)
    shape = [(-7.0, -2.0), (1.5, -2.0), (1.5, -5.5), (7.5, 0.0), (1.5, 5.5), (1.5, 2.0), (-7.0, 2.0)]
    pts = rotate(shape, angle, (10.5, 10.5))
    c.fill(poly(pts), CYAN)
    c.fill(stroke(pts, 1.0, closed=True), (0, 0, 0))


ARROWS = [
    ("arrow_corner0", lambda c: corner_arrow(c, 45),
     "corner 0, anchor is the top-left corner: arrow down and to the right (bottom right of the block)"),
    ("arrow_corner1", lambda c: corner_arrow(c, 135),
     "corner 1, anchor is the top-right corner: arrow down and to the left (bottom left of the block)"),
    ("arrow_corner2", lambda c: corner_arrow(c, 225),
     "corner 2, anchor is the bottom-right corner: arrow up and to the left (top left of the block)"),
    ("arrow_corner3", lambda c: corner_arrow(c, 315),
     "corner 3, anchor is the bottom-left corner: arrow up and to the right (top right of the block)"),
]


# --------------------------------------------------------------------------- application icon

def draw_app(c):
    """32-unit design: a menu with an open sub menu and a pointer on a blue tile."""
    c.fill(rrect(1, 1, 31, 31, 6), BLUE_DARK)
    c.fill(rrect(2, 2, 30, 30, 5), vgrad(2, (86, 150, 226), 30, (28, 70, 150)))
    c.fill(ellipse(16, 4, 18, 9) & rrect(2, 2, 30, 30, 5), PAPER, 0.15)
    for i, y in enumerate((5, 12, 19)):
        base = ORANGE if i == 1 else (232, 240, 250)
        box(c, 4, y, 17, y + 6, vgrad(y, mix(base, PAPER, 0.5), y + 6, base), OUTLINE, radius=1.5)
        c.fill(rect(6.5, y + 2.5, 12.5, y + 3.5), OUTLINE, 0.7)
    for y in (14, 20):
        box(c, 18, y, 29, y + 6, vgrad(y, PAPER, y + 6, (214, 226, 242)), OUTLINE, radius=1.5)
        c.fill(rect(20.5, y + 2.5, 25.5, y + 3.5), OUTLINE, 0.7)
    pointer = [(12.5, 13.5), (12.5, 25.5), (15.5, 22.5), (17.5, 27.5), (19.5, 26.5),
               (17.5, 21.5), (21.5, 21.5)]
    outlined_poly(c, pointer, PAPER, (0, 0, 0))


# --------------------------------------------------------------------------- output

def render(draw, design, pixels):
    c = Canvas(pixels, pixels, pixels / float(design))
    draw(c)
    return c


def build_all():
    """Returns (file name, canvas, meaning) for every PNG the program uses."""
    out = []
    for group, design in ((TOOLBAR, 16), (EXTRA, 16), (NODES, 16)):
        for name, draw, meaning in group:
            out.append((name + ".png", render(draw, design, design), meaning))
            out.append((name + "@2x.png", render(draw, design, design * 2), meaning))
    for name, draw, meaning in SHEET_BUTTONS:
        out.append((name + ".png", render(draw, 50, 50), meaning))
        out.append((name + "@2x.png", render(draw, 50, 100), meaning))
    for name, draw, meaning in ARROWS:
        out.append((name + ".png", render(draw, 21, 21), meaning))
        out.append((name + "@2x.png", render(draw, 21, 42), meaning))
    out.append(("kestrune.png", render(draw_app, 32, 32), "application icon, 32 x 32"))
    out.append(("kestrune@2x.png", render(draw_app, 32, 64), "application icon, 64 x 64"))
    return out


# Sizes of the desktop icon in the hicolor theme; the scalable kestrune.svg draws the
# same design by hand.
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_hicolor(root):
    for size in HICOLOR_SIZES:
        folder = os.path.join(root, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "kestrune.png"), "wb") as f:
            f.write(render(draw_app, 32, size).png_bytes())


def write_qrc(names):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '    <qresource prefix="/icons">']
    lines += ['        <file>%s</file>' % n for n in sorted(names)]
    lines += ['    </qresource>', '</RCC>', '']
    with open(os.path.join(HERE, "icons.qrc"), "w", newline="\n") as f:
        f.write("\n".join(lines))


def sheet_zoom(c):
    return 8 if c.width <= 21 else 4 if c.width <= 64 else 2


def write_contact_sheet(icons, path):
    """All icons enlarged with nearest-neighbour pixels, on a light checker, for review."""
    pad = 8
    width = 1600
    x, y, row_h, rows = pad, pad, 0, []
    for _, c, _ in icons:
        zoom = sheet_zoom(c)
        w, h = c.width * zoom, c.height * zoom
        if x + w > width:
            x, y, row_h = pad, y + row_h + pad, 0
        rows.append((x, y, c, zoom))
        x += w + pad
        row_h = max(row_h, h)
    y += row_h + pad
    sheet = Canvas(width, y, 1.0)
    for py in range(sheet.height):
        for px in range(sheet.width):
            shade = 236 if ((px // 16) + (py // 16)) % 2 else 250
            sheet.pixels[py * width + px] = [shade, shade, shade, 1.0]
    for x, y, c, zoom in rows:
        sheet.paste(c, x, y, zoom)
    with open(path, "wb") as f:
        f.write(sheet.png_bytes())


def main(argv):
    if len(argv) == 3 and argv[1] == "--hicolor":
        write_hicolor(argv[2])
        return 0
    icons = build_all()
    for name, canvas, _ in icons:
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(canvas.png_bytes())
    write_qrc([name for name, _, _ in icons])
    if len(argv) == 3 and argv[1] == "--sheet":
        write_contact_sheet(icons, argv[2])
    elif len(argv) != 1:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
