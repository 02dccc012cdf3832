#!/usr/bin/env python3
"""Draws Tavmio's theme package "Daylight": every image, the INI text, the
theme index and the resource script that the build turns into the
resource-only module vista.cjstyles.

    make_theme.py OUTDIR            write images, INI texts and vista.rc
    make_theme.py OUTDIR --preview FILE.png
                                    also render a preview sheet of the images
                                    and of a mock window drawn with them

OUTDIR then also serves as a folder-form theme: Daylight.ini (ANSI text) and
the image files side by side. Pure Python 3 standard library: PNG through
zlib, BMP by hand. Every pixel is computed here from shapes (rounded
rectangles, strokes, circles) with anti-aliased edges.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Raster: premultiplied RGBA floats, shapes as signed distance functions.


def rgb(text, alpha=1.0):
    """'#rrggbb' -> (r, g, b, a) with components 0..1."""
    text = text.lstrip('#')
    return (int(text[0:2], 16) / 255.0, int(text[2:4], 16) / 255.0, int(text[4:6], 16) / 255.0, alpha)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


class Image:
    def __init__(self, width, height):
        self.w = width
        self.h = height
        self.p = [0.0] * (width * height * 4)

    def paint(self, sdf, color, hard=False, clip=None):
        """Composites color (a constant or a function of x, y) over the
        pixels inside the shape sdf (negative inside)."""
        x0, y0, x1, y1 = clip if clip else (0, 0, self.w, self.h)
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.w, x1), min(self.h, y1)
        fixed = color if not callable(color) else None
        p = self.p
        for y in range(y0, y1):
            fy = y + 0.5
            for x in range(x0, x1):
                fx = x + 0.5
                d = sdf(fx, fy)
                if hard:
                    cov = 1.0 if d <= 0 else 0.0
                else:
                    cov = 0.5 - d
                    if cov > 1.0:
                        cov = 1.0
                if cov <= 0.0:
                    continue
                r, g, b, a = fixed if fixed else color(fx, fy)
                sa = a * cov
                if sa <= 0.0:
                    continue
                i = (y * self.w + x) * 4
                inv = 1.0 - sa
                p[i] = r * sa + p[i] * inv
                p[i + 1] = g * sa + p[i + 1] * inv
                p[i + 2] = b * sa + p[i + 2] * inv
                p[i + 3] = sa + p[i + 3] * inv

    def fill(self, color):
        self.paint(lambda x, y: -1.0, color)

    def _overlap(self, other, dx, dy):
        """Pixel offsets (here, in other) where other placed at dx, dy
        covers this image."""
        for y in range(other.h):
            for x in range(other.w):
                tx, ty = x + dx, y + dy
                if 0 <= tx < self.w and 0 <= ty < self.h:
                    yield (ty * self.w + tx) * 4, (y * other.w + x) * 4

    def blit(self, other, dx, dy):
        """Copies another image in (replacing pixels)."""
        for i, j in self._overlap(other, dx, dy):
            self.p[i:i + 4] = other.p[j:j + 4]

    def over(self, other, dx, dy):
        """Composites another image over this one."""
        for i, j in self._overlap(other, dx, dy):
            inv = 1.0 - other.p[j + 3]
            for k in range(4):
                self.p[i + k] = other.p[j + k] + self.p[i + k] * inv

    def rgba8(self):
        """Straight-alpha RGBA bytes, rows top to bottom."""
        out = bytearray(self.w * self.h * 4)
        p = self.p
        for i in range(0, len(p), 4):
            a = p[i + 3]
            if a <= 0.0:
                continue
            a = min(a, 1.0)
            out[i] = min(255, int(p[i] / a * 255 + 0.5))
            out[i + 1] = min(255, int(p[i + 1] / a * 255 + 0.5))
            out[i + 2] = min(255, int(p[i + 2] / a * 255 + 0.5))
            out[i + 3] = int(a * 255 + 0.5)
        return bytes(out)

    def flatten(self, background):
        """An opaque copy over a solid background colour."""
        img = Image(self.w, self.h)
        img.fill(background)
        img.over(self, 0, 0)
        return img

    def rotate90(self):
        """Turned a quarter clockwise."""
        img = Image(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                i = (y * self.w + x) * 4
                tx, ty = self.h - 1 - y, x
                j = (ty * img.w + tx) * 4
                img.p[j:j + 4] = self.p[i:i + 4]
        return img

    def mirror(self):
        """Mirrored left to right."""
        img = Image(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                i = (y * self.w + x) * 4
                j = (y * self.w + self.w - 1 - x) * 4
                img.p[j:j + 4] = self.p[i:i + 4]
        return img

    def flip(self):
        """Mirrored top to bottom."""
        img = Image(self.w, self.h)
        for y in range(self.h):
            j = (self.h - 1 - y) * self.w * 4
            i = y * self.w * 4
            img.p[j:j + self.w * 4] = self.p[i:i + self.w * 4]
        return img


def stack(frames):
    """Frames of one size stacked top to bottom into one image."""
    w, h = frames[0].w, frames[0].h
    img = Image(w, h * len(frames))
    for n, frame in enumerate(frames):
        assert frame.w == w and frame.h == h
        img.blit(frame, 0, n * h)
    return img


def rrect(x0, y0, x1, y1, r):
    """Rounded rectangle between pixel edges; r is one radius or four
    (top-left, top-right, bottom-right, bottom-left)."""
    radii = r if isinstance(r, tuple) else (r, r, r, r)
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0

    def sdf(x, y):
        if y < cy:
            rr = radii[0] if x < cx else radii[1]
        else:
            rr = radii[3] if x < cx else radii[2]
        qx = abs(x - cx) - hx + rr
        qy = abs(y - cy) - hy + rr
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - rr
    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(sdf_shape, width):
    """The band of the given width just inside a shape's edge."""
    return lambda x, y: max(sdf_shape(x, y), -width - sdf_shape(x, y))


def polyline(points, width, closed=False):
    """A stroke along the points, with round joins and ends."""
    segs = list(zip(points, points[1:] + (points[:1] if closed else [])))
    half = width / 2.0

    def sdf(x, y):
        best = 1e9
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
            d = math.hypot(x - ax - t * dx, y - ay - t * dy)
            if d < best:
                best = d
        return best - half
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def vgrad(y0, y1, *stops):
    """Vertical gradient from y0 to y1 through evenly spaced colours."""
    n = len(stops) - 1

    def color(x, y):
        t = 0.0 if y1 == y0 else (y - y0) / float(y1 - y0)
        t = max(0.0, min(1.0, t)) * n
        k = min(int(t), n - 1)
        return mix(stops[k], stops[k + 1], t - k)
    return color


# ---------------------------------------------------------------------------
# File formats.

def png_bytes(img):
    data = img.rgba8()
    raw = bytearray()
    stride = img.w * 4
    for y in range(img.h):
        raw.append(0)
        raw += data[y * stride:(y + 1) * stride]

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', img.w, img.h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def bmp_bytes(img, bits):
    """A bottom-up BI_RGB BMP file, 24 bits (opaque) or 32 bits (straight
    alpha)."""
    data = img.rgba8()
    row_size = ((bits * img.w + 31) // 32) * 4
    pixels = bytearray()
    for y in range(img.h - 1, -1, -1):
        row = bytearray()
        for x in range(img.w):
            i = (y * img.w + x) * 4
            r, g, b, a = data[i], data[i + 1], data[i + 2], data[i + 3]
            if bits == 24:
                row += bytes((b, g, r))
            else:
                row += bytes((b, g, r, a))
        row += b'\x00' * (row_size - len(row))
        pixels += row
    header = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return file_header + header + bytes(pixels)


# ---------------------------------------------------------------------------
# Palette.

WHITE = rgb('#ffffff')
CLEAR = (0.0, 0.0, 0.0, 0.0)
ACCENT = rgb('#2f7bd9')
ACCENT_LIGHT = rgb('#5b9de8')
ACCENT_DARK = rgb('#1f5fae')
INK = rgb('#1e2a3a')
INK_SOFT = rgb('#3a4a5e')
INK_MUTED = rgb('#8a94a2')
INK_FAINT = rgb('#b4bcc7')
LINE = rgb('#aeb8c6')
LINE_SOFT = rgb('#cfd6df')
FACE = rgb('#f0f2f5')
TRACK = rgb('#eef1f4')

FRAME_ACTIVE = {
    'border': rgb('#7d93b0'), 'top': rgb('#f8fafd'), 'mid': rgb('#eaf0f7'), 'bottom': rgb('#dfe7f1'),
    'inner': rgb('#b9c7d8'), 'highlight': rgb('#ffffff', 0.85)}
FRAME_INACTIVE = {
    'border': rgb('#a9b1bc'), 'top': rgb('#f9f9fa'), 'mid': rgb('#f1f2f4'), 'bottom': rgb('#eaebee'),
    'inner': rgb('#ced3da'), 'highlight': rgb('#ffffff', 0.75)}


def soft_box(w, h, r, border, top, bottom, highlight=0.7, inset=0):
    """A rounded box with a border, a vertical gradient and a soft top
    highlight: the shape most controls are made of."""
    img = Image(w, h)
    x0, y0, x1, y1 = inset, inset, w - inset, h - inset
    img.paint(rrect(x0, y0, x1, y1, r), border)
    inner = rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(r - 1, 0))
    img.paint(inner, vgrad(y0 + 1, y1 - 1, top, bottom))
    if highlight:
        mid = y0 + (y1 - y0) * 0.55
        img.paint(ring(inner, 1.0), vgrad(y0 + 1, mid, rgb('#ffffff', highlight), rgb('#ffffff', 0.0)),
                  clip=(0, 0, w, int(mid) + 1))
    return img


# ---------------------------------------------------------------------------
# Window frame.

CAPTION_RADIUS = 7


def caption_frame(w, h, colors, radius):
    """The caption: rounded top corners cut out (hard edges: the window
    region is made from them), a soft gradient and a highlight line."""
    img = Image(w, h)
    outer = rrect(0, 0, w, h + radius + 2, (radius, radius, 0, 0))
    img.paint(outer, colors['border'], hard=True)
    inner = rrect(1, 1, w - 1, h + radius + 2, (radius - 1, radius - 1, 0, 0))
    img.paint(inner, vgrad(1, h, colors['top'], colors['mid'], colors['bottom']))
    img.paint(ring(inner, 1.0), colors['highlight'], clip=(0, 0, w, 3))
    # The caption runs into the side borders: inner edge lines at the sides.
    img.paint(lambda x, y: -1.0, colors['inner'], clip=(3, h - 1, w - 3, h))
    return img


def frame_side(h, colors, width=4):
    """A left border, outer edge first."""
    img = Image(width, h)
    img.fill(colors['bottom'])
    img.paint(lambda x, y: -1.0, colors['border'], clip=(0, 0, 1, h))
    img.paint(lambda x, y: -1.0, colors['inner'], clip=(width - 1, 0, width, h))
    return img


def frame_bottom(w, colors, height=4, side=4):
    img = Image(w, height)
    img.fill(colors['bottom'])
    # Inner edge between the side borders, outer edge all round.
    img.paint(lambda x, y: -1.0, colors['inner'], clip=(side - 1, 0, w - side + 1, 1))
    img.paint(lambda x, y: -1.0, colors['inner'], clip=(side - 1, 0, side, 1))
    img.paint(lambda x, y: -1.0, colors['border'], clip=(0, height - 1, w, height))
    img.paint(lambda x, y: -1.0, colors['border'], clip=(0, 0, 1, height))
    img.paint(lambda x, y: -1.0, colors['border'], clip=(w - 1, 0, w, height))
    return img


def caption_button_bg(w, h, kind):
    """Eight frames: normal, hot, pushed, disabled, then the same for an
    inactive window. Normal and disabled buttons show only their glyph."""
    frames = []
    for inactive in (False, True):
        for state in ('normal', 'hot', 'pushed', 'disabled'):
            img = Image(w, h)
            if state in ('hot', 'pushed'):
                if kind == 'close':
                    top, bottom = (rgb('#ec6a6a'), rgb('#d93f3f')) if state == 'hot' else \
                        (rgb('#c43c3c'), rgb('#b13030'))
                    border = rgb('#b83a3a')
                else:
                    top, bottom = (rgb('#f4f8fc'), rgb('#d6e2f0')) if state == 'hot' else \
                        (rgb('#c9d7e8'), rgb('#d7e2ef'))
                    border = rgb('#9fb3cc')
                if inactive:
                    top, bottom = mix(top, WHITE, 0.2), mix(bottom, WHITE, 0.2)
                img = soft_box(w, h, 4, border, top, bottom, highlight=0.5 if state == 'hot' else 0.0)
            frames.append(img)
    return stack(frames)


def glyph_frames(size, draw, close=False):
    """Eight glyph frames in the caption button states."""
    colors = [INK_SOFT, INK, INK, INK_FAINT, INK_MUTED, INK_SOFT, INK, rgb('#ccd2da')]
    if close:
        colors = [INK_SOFT, WHITE, WHITE, INK_FAINT, INK_MUTED, WHITE, WHITE, rgb('#ccd2da')]
    frames = []
    for color in colors:
        img = Image(size, size)
        draw(img, size, color)
        frames.append(img)
    return stack(frames)


def draw_close(img, s, color):
    m = s * 0.12
    img.paint(union(polyline([(m, m), (s - m, s - m)], 1.5), polyline([(s - m, m), (m, s - m)], 1.5)), color)


def draw_max(img, s, color):
    img.paint(ring(rrect(0.5, 1.5, s - 0.5, s - 0.5, 1.5), 1.2), color)
    img.paint(lambda x, y: -1.0, color, clip=(1, 2, s - 1, 3))


def draw_min(img, s, color):
    img.paint(rrect(1, s - 3, s - 1, s - 1.6, 0.6), color)


def draw_restore(img, s, color):
    back = rrect(3, 0.5, s - 0.5, s - 3, 1.2)
    front = rrect(0.5, 3, s - 3, s - 0.5, 1.2)
    img.paint(subtract(ring(back, 1.1), rrect(0, 2.5, s - 2.5, s, 1.2)), color)
    img.paint(ring(front, 1.1), color)


def draw_help(img, s, color):
    cx = s / 2.0
    pts = []
    for k in range(0, 11):
        a = math.pi * (1.05 - 1.35 * k / 10.0)
        pts.append((cx + math.cos(a) * s * 0.26, s * 0.32 - math.sin(a) * s * 0.24))
    pts += [(cx, s * 0.62)]
    img.paint(polyline(pts, 1.4), color)
    img.paint(circle(cx, s * 0.86, 0.9), color)


# ---------------------------------------------------------------------------
# Controls.

def push_button():
    w, h = 24, 22
    frames = [
        soft_box(w, h, 4, LINE, rgb('#ffffff'), rgb('#eceff3')),                       # normal
        soft_box(w, h, 4, rgb('#7ea6d8'), rgb('#ffffff'), rgb('#e3eefa')),            # hot
        soft_box(w, h, 4, rgb('#5b8fd0'), rgb('#cfdef1'), rgb('#e0eaf6'), highlight=0),  # pressed
        soft_box(w, h, 4, rgb('#d3d8df'), rgb('#f6f7f9'), rgb('#f1f3f5'), highlight=0),  # disabled
    ]
    default = soft_box(w, h, 4, ACCENT, rgb('#ffffff'), rgb('#e8f0fa'))               # defaulted
    default.paint(ring(rrect(1, 1, w - 1, h - 1, 3), 1.0), rgb('#9cc0ea'))
    frames.append(default)
    return stack(frames)


def check_box():
    s = 13
    frames = []
    looks = {
        'normal': (rgb('#8e9aab'), rgb('#ffffff'), rgb('#eef1f5')),
        'hot': (ACCENT_LIGHT, rgb('#ffffff'), rgb('#e5effa')),
        'pressed': (ACCENT, rgb('#d4e3f4'), rgb('#e2ecf8')),
        'disabled': (rgb('#ccd2da'), rgb('#f5f6f8'), rgb('#f5f6f8')),
    }
    for mark in ('unchecked', 'checked', 'mixed'):
        for state in ('normal', 'hot', 'pressed', 'disabled'):
            border, top, bottom = looks[state]
            if mark != 'unchecked' and state != 'disabled':
                fill_top = {'normal': ACCENT_LIGHT, 'hot': rgb('#73adee'), 'pressed': ACCENT}[state]
                fill_bottom = {'normal': ACCENT, 'hot': ACCENT_LIGHT, 'pressed': ACCENT_DARK}[state]
                img = soft_box(s, s, 3, ACCENT_DARK if state == 'pressed' else ACCENT, fill_top, fill_bottom,
                               highlight=0.35)
                ink = WHITE
            else:
                img = soft_box(s, s, 3, border, top, bottom, highlight=0.0)
                ink = INK_FAINT if state == 'disabled' else ACCENT
            if mark == 'checked':
                img.paint(polyline([(3.2, 6.6), (5.4, 8.9), (9.8, 4.0)], 1.7), ink)
            elif mark == 'mixed':
                img.paint(rrect(3.5, 5.5, 9.5, 7.5, 1.0), ink)
            frames.append(img)
    return stack(frames)


def radio_button():
    s = 13
    frames = []
    looks = {
        'normal': (rgb('#8e9aab'), rgb('#ffffff'), rgb('#eef1f5'), ACCENT),
        'hot': (ACCENT_LIGHT, rgb('#ffffff'), rgb('#e5effa'), ACCENT),
        'pressed': (ACCENT, rgb('#d4e3f4'), rgb('#e2ecf8'), ACCENT_DARK),
        'disabled': (rgb('#ccd2da'), rgb('#f5f6f8'), rgb('#f5f6f8'), INK_FAINT),
    }
    for mark in ('unchecked', 'checked'):
        for state in ('normal', 'hot', 'pressed', 'disabled'):
            border, top, bottom, dot = looks[state]
            img = Image(s, s)
            img.paint(circle(6.5, 6.5, 6.0), border)
            img.paint(circle(6.5, 6.5, 5.0), vgrad(1.5, 11.5, top, bottom))
            if mark == 'checked':
                img.paint(circle(6.5, 6.5, 2.9), vgrad(3.6, 9.4, mix(dot, WHITE, 0.25), dot))
            frames.append(img)
    return stack(frames)


def group_box():
    w, h = 16, 16
    frames = []
    for border in (LINE_SOFT, rgb('#e1e5ea')):
        img = Image(w, h)
        img.paint(ring(rrect(0, 0, w, h, 4), 1.0), border)
        frames.append(img)
    return stack(frames)


def combo_field():
    w, h = 24, 22
    frames = [
        soft_box(w, h, 3, LINE, rgb('#ffffff'), rgb('#fbfcfd'), highlight=0),
        soft_box(w, h, 3, rgb('#7ea6d8'), rgb('#ffffff'), rgb('#fbfcfd'), highlight=0),
        soft_box(w, h, 3, ACCENT, rgb('#ffffff'), rgb('#f7fafd'), highlight=0),
        soft_box(w, h, 3, rgb('#d3d8df'), rgb('#f5f6f8'), rgb('#f5f6f8'), highlight=0),
    ]
    return stack(frames)


def combo_button():
    """The drop-down button column: a separator line and, when hot or
    pressed, a soft rounded background."""
    w, h = 17, 20
    frames = []
    for state in ('normal', 'hot', 'pressed', 'disabled'):
        img = Image(w, h)
        if state == 'hot':
            img.paint(rrect(1, 2, w - 2, h - 2, 3), vgrad(2, h - 2, rgb('#f2f7fd'), rgb('#dce9f8')))
        elif state == 'pressed':
            img.paint(rrect(1, 2, w - 2, h - 2, 3), vgrad(2, h - 2, rgb('#cbdcf0'), rgb('#d9e6f5')))
        else:
            img.paint(lambda x, y: -1.0, LINE_SOFT if state == 'normal' else rgb('#e3e7ec'), clip=(0, 4, 1, h - 4))
        frames.append(img)
    return stack(frames)


def chevron_frames(w, h, colors, direction='down', weight=1.5):
    frames = []
    for color in colors:
        img = Image(w, h)
        cx, cy = w / 2.0, h / 2.0
        a = min(w, h) * 0.34
        pts = [(cx - a, cy - a / 2), (cx, cy + a / 2), (cx + a, cy - a / 2)]
        if direction == 'up':
            pts = [(x, h - y) for x, y in pts]
        elif direction in ('left', 'right'):
            pts = [(cx + (y - cy), cy + (x - cx)) for x, y in pts]
            if direction == 'left':
                pts = [(w - x, y) for x, y in pts]
        img.paint(polyline(pts, weight), color)
        frames.append(img)
    return stack(frames)


STATE_INK = [INK_SOFT, INK, INK, INK_FAINT]


def scroll_arrows():
    """ARROWBTN: up, down, left and right in normal, hot, pressed and
    disabled, then the four hover frames shown while the bar is active."""
    s = 16
    frames = []
    hover = []
    for direction in ('up', 'down', 'left', 'right'):
        for state in ('normal', 'hot', 'pressed', 'disabled', 'hover'):
            img = Image(s, s)
            img.fill(TRACK)
            if state == 'hot':
                img.paint(rrect(2, 2, s - 2, s - 2, 3), rgb('#d9dfe7'))
            elif state == 'pressed':
                img.paint(rrect(2, 2, s - 2, s - 2, 3), rgb('#c3ccd7'))
            ink = {'normal': rgb('#7d8794'), 'hot': INK_SOFT, 'pressed': INK, 'disabled': rgb('#c9cfd6'),
                   'hover': rgb('#5f6b7a')}[state]
            glyph = chevron_frames(s, s, [ink], direction, 1.6)
            img.over(glyph, 0, 0)
            (hover if state == 'hover' else frames).append(img)
    return stack(frames + hover)


THUMB_LOOKS = [rgb('#c3cad4'), rgb('#a8b2bf'), rgb('#8e99a8'), rgb('#dde1e6')]


def scroll_thumb(vertical):
    w, h = 16, 24
    frames = []
    for color in THUMB_LOOKS:
        img = Image(w, h)
        img.fill(TRACK)
        img.paint(rrect(4, 2, w - 4, h - 2, 4), color)
        frames.append(img)
    return stack(frames if vertical else [f.rotate90() for f in frames])


def scroll_gripper(vertical):
    frames = []
    for color in THUMB_LOOKS:
        img = Image(6, 7)
        for k in range(3):
            img.paint(lambda x, y: -1.0, rgb('#ffffff', 0.75), clip=(0, 1 + 2 * k, 6, 2 + 2 * k))
        frames.append(img)
    return stack(frames if vertical else [f.rotate90() for f in frames])


def scroll_track(vertical):
    """Plain track strips, one edge line toward the window content."""
    w, h = 16, 8
    frames = []
    for fill in (TRACK, rgb('#e7eaef'), rgb('#d9dee5'), rgb('#f5f6f8')):
        img = Image(w, h)
        img.fill(fill)
        img.paint(lambda x, y: -1.0, rgb('#e0e4ea'), clip=(0, 0, 1, h))
        frames.append(img)
    return stack(frames if vertical else [f.rotate90() for f in frames])


def size_box():
    s = 16
    frames = []
    for mirror in (False, True):
        img = Image(s, s)
        # A triangle of dots in the corner the grip is held by.
        for i in range(3):
            for j in range(3 - i):
                img.paint(circle(12.5 - 4 * i, 12.5 - 4 * j, 1.1), rgb('#9aa4b1'))
        frames.append(img.mirror() if mirror else img)
    return stack(frames)


def progress_bar(vertical):
    w, h = 20, 16
    img = Image(w, h)
    img.paint(rrect(0, 0, w, h, 4), rgb('#b7c0cc'))
    inner = rrect(1, 1, w - 1, h - 1, 3)
    img.paint(inner, vgrad(1, h - 1, rgb('#e3e8ee'), rgb('#f7f9fb')))
    img.paint(ring(inner, 1.0), rgb('#000000', 0.06), clip=(0, 0, w, 3))
    return img if not vertical else img.rotate90()


def progress_chunk(vertical):
    w, h = 8, 12
    img = Image(w, h)
    img.fill(vgrad(0, h, rgb('#7bbaf7'), rgb('#3f8ae0'), rgb('#2f7bd9')))
    img.paint(lambda x, y: -1.0, rgb('#ffffff', 0.35), clip=(0, 0, w, 1))
    return img if not vertical else img.rotate90()


def trackbar_track(vertical):
    w, h = 12, 4
    img = Image(w, h)
    img.paint(rrect(0, 0, w, h, 2), rgb('#aab4c1'))
    img.paint(rrect(1, 1, w - 1, h - 1, 1), rgb('#e3e7ec'))
    return img if not vertical else img.rotate90()


def trackbar_thumb(vertical, pointer=None):
    """NORMAL, HOT, PRESSED, FOCUSED, DISABLED; a rounded slider, with a
    point toward the ticks for the one-sided thumbs."""
    w, h = 11, 20
    looks = [
        (rgb('#8797ab'), rgb('#ffffff'), rgb('#e6ebf1')),
        (ACCENT_LIGHT, rgb('#ffffff'), rgb('#ddeaf9')),
        (ACCENT, rgb('#cfdef1'), rgb('#dfe9f6')),
        (ACCENT, rgb('#ffffff'), rgb('#e6eef8')),
        (rgb('#ccd2da'), rgb('#f5f6f8'), rgb('#f0f2f4')),
    ]
    frames = []
    for border, top, bottom in looks:
        img = Image(w, h)
        if pointer == 'down':
            shape = union(rrect(0, 0, w, h - 4, (3, 3, 0, 0)),
                          lambda x, y: max(abs(x - w / 2.0) - (h - y) * (w / 2.0) / 4.5, y - h, h - 4 - y))
            img.paint(shape, border)
            inner = union(rrect(1, 1, w - 1, h - 4, (2, 2, 0, 0)),
                          lambda x, y: max(abs(x - w / 2.0) - (h - 1.4 - y) * (w / 2.0 - 1) / 4.0, y - h + 1.4,
                                           h - 4.5 - y))
            img.paint(inner, vgrad(1, h - 1, top, bottom))
        else:
            img.paint(rrect(0, 0, w, h, 3), border)
            img.paint(rrect(1, 1, w - 1, h - 1, 2), vgrad(1, h - 1, top, bottom))
        frames.append(img)
    if vertical:
        frames = [f.rotate90() for f in frames]
    return stack(frames)


def spin_button(direction):
    """UP / DOWN (vertical) and UPHORZ / DOWNHORZ: a soft box; the arrow is
    the glyph image."""
    w, h = 15, 11
    looks = [
        (LINE, rgb('#ffffff'), rgb('#edf0f4')),
        (rgb('#7ea6d8'), rgb('#ffffff'), rgb('#e3eefa')),
        (rgb('#5b8fd0'), rgb('#cfdef1'), rgb('#e0eaf6')),
        (rgb('#d3d8df'), rgb('#f6f7f9'), rgb('#f6f7f9')),
    ]
    frames = [soft_box(w, h, 2, *look, highlight=0.5) for look in looks]
    if direction in ('left', 'right'):
        frames = [f.rotate90() for f in frames]
    return stack(frames)


def tab_item():
    """NORMAL, HOT, SELECTED, DISABLED, FOCUSED top tabs: rounded top
    corners, open at the bottom where they meet the pane."""
    w, h = 20, 22
    looks = [
        (LINE, rgb('#f7f8fa'), rgb('#e8ebf0')),
        (rgb('#8fb3de'), rgb('#ffffff'), rgb('#e6effa')),
        (LINE, rgb('#ffffff'), rgb('#ffffff')),
        (rgb('#d3d8df'), rgb('#f4f5f7'), rgb('#f1f2f4')),
        (LINE, rgb('#ffffff'), rgb('#ffffff')),
    ]
    frames = []
    for n, (border, top, bottom) in enumerate(looks):
        img = Image(w, h)
        img.paint(rrect(0, 0, w, h + 4, (4, 4, 0, 0)), border)
        img.paint(rrect(1, 1, w - 1, h + 4, (3, 3, 0, 0)), vgrad(1, h, top, bottom))
        if n in (2, 4):
            img.paint(rrect(1, 1, w - 1, 3.2, (3, 3, 0, 0)), ACCENT if n == 4 else ACCENT_LIGHT)
        if n not in (2, 4):
            img.paint(lambda x, y: -1.0, LINE, clip=(0, h - 1, w, h))
        frames.append(img)
    return stack(frames)


def tab_pane():
    w, h = 12, 12
    img = Image(w, h)
    img.fill(LINE)
    img.paint(lambda x, y: -1.0, WHITE, clip=(1, 1, w - 1, h - 1))
    return img


def header_item():
    w, h = 20, 22
    frames = []
    for top, bottom in ((rgb('#ffffff'), rgb('#eff2f5')), (rgb('#f6f9fd'), rgb('#e2ecf8')),
                        (rgb('#d8e3f1'), rgb('#e5edf7'))):
        img = Image(w, h)
        img.fill(vgrad(0, h, top, bottom))
        img.paint(lambda x, y: -1.0, rgb('#c9d1db'), clip=(0, h - 1, w, h))
        img.paint(lambda x, y: -1.0, vgrad(3, h - 3, rgb('#d7dde5', 0.2), rgb('#c3cbd6'), rgb('#d7dde5', 0.2)),
                  clip=(w - 1, 3, w, h - 3))
        frames.append(img)
    return stack(frames)


def header_background():
    w, h = 8, 22
    img = Image(w, h)
    img.fill(vgrad(0, h, rgb('#ffffff'), rgb('#eff2f5')))
    img.paint(lambda x, y: -1.0, rgb('#c9d1db'), clip=(0, h - 1, w, h))
    return img


def sort_arrows():
    frames = []
    for direction in ('up', 'down'):
        img = Image(9, 5)
        if direction == 'up':
            shape = lambda x, y: max(abs(x - 4.5) - (y - 0.3) * 0.95, y - 4.6)
        else:
            shape = lambda x, y: max(abs(x - 4.5) - (4.7 - y) * 0.95, 0.4 - y)
        img.paint(shape, rgb('#7b8898'))
        frames.append(img)
    return stack(frames)


def tool_button():
    """NORMAL, HOT, PRESSED, DISABLED, CHECKED, HOTCHECKED."""
    w, h = 20, 20
    looks = [None, (rgb('#b8cde8'), rgb('#f3f8fd'), rgb('#dfeaf8')), (rgb('#8fb0da'), rgb('#cbdbf0'), rgb('#d8e4f4')),
             None, (rgb('#a5c1e3'), rgb('#dce8f6'), rgb('#d3e2f4')), (rgb('#8fb0da'), rgb('#d0e0f3'), rgb('#c5d8f0'))]
    frames = []
    for look in looks:
        frames.append(Image(w, h) if look is None else soft_box(w, h, 4, *look, highlight=0.4))
    return stack(frames)


def tool_separator(vertical):
    w, h = 6, 20
    img = Image(w, h)
    img.paint(lambda x, y: -1.0, vgrad(2, h - 2, rgb('#cdd4dd', 0.0), rgb('#c3cbd5'), rgb('#cdd4dd', 0.0)),
              clip=(2, 2, 3, h - 2))
    img.paint(lambda x, y: -1.0, vgrad(2, h - 2, rgb('#ffffff', 0.0), WHITE, rgb('#ffffff', 0.0)),
              clip=(3, 2, 4, h - 2))
    return img if not vertical else img.rotate90()


def status_pane():
    w, h = 8, 22
    img = Image(w, h)
    img.fill(vgrad(0, h, rgb('#f5f7f9'), rgb('#e9edf1')))
    img.paint(lambda x, y: -1.0, rgb('#d0d7df'), clip=(0, 0, w, 1))
    img.paint(lambda x, y: -1.0, WHITE, clip=(0, 1, w, 2))
    return img


def status_gripper():
    s = 12
    img = Image(s, s)
    for i in range(3):
        for j in range(3):
            if i + j >= 2:
                img.paint(circle(2.5 + 3.5 * i, 2.5 + 3.5 * j, 1.0), rgb('#9aa4b1'))
    return img


def tree_glyph():
    frames = []
    for opened in (False, True):
        img = Image(9, 9)
        if opened:
            pts = [(1.5, 3.0), (4.5, 6.0), (7.5, 3.0)]
        else:
            pts = [(3.0, 1.5), (6.0, 4.5), (3.0, 7.5)]
        img.paint(polyline(pts, 1.4), rgb('#6b7786'))
        frames.append(img)
    return stack(frames)


def item_highlight(states):
    """Selection backgrounds of list, tree and menu items."""
    w, h = 12, 12
    looks = {
        'none': None,
        'hot': (rgb('#cfe0f5'), rgb('#f0f6fd'), rgb('#e4eefa')),
        'selected': (rgb('#8fb6e6'), rgb('#d5e6fa'), rgb('#c3daf6')),
        'grey': (rgb('#cfd5dc'), rgb('#f1f3f5'), rgb('#e6e9ed')),
    }
    frames = []
    for state in states:
        look = looks[state]
        frames.append(Image(w, h) if look is None else soft_box(w, h, 3, *look, highlight=0.5))
    return stack(frames)


def menu_separator():
    img = Image(10, 3)
    img.paint(lambda x, y: -1.0, LINE_SOFT, clip=(0, 1, 10, 2))
    return img


def dialog_body():
    img = Image(8, 8)
    img.fill(FACE)
    return img


# ---------------------------------------------------------------------------
# The package.

class Package:
    def __init__(self):
        self.images = []   # (file name, kind, Image)

    def add(self, name, kind, img):
        self.images.append((name, kind, img))
        return name


def build_images():
    pkg = Package()
    a, i = FRAME_ACTIVE, FRAME_INACTIVE
    pkg.add('caption.png', 'png', stack([caption_frame(48, 30, a, CAPTION_RADIUS),
                                         caption_frame(48, 30, i, CAPTION_RADIUS)]))
    pkg.add('smallcaption.png', 'png', stack([caption_frame(40, 22, a, 5), caption_frame(40, 22, i, 5)]))
    pkg.add('frameleft.bmp', 'bmp24', stack([frame_side(16, a), frame_side(16, i)]))
    pkg.add('frameright.bmp', 'bmp24', stack([frame_side(16, a).mirror(), frame_side(16, i).mirror()]))
    pkg.add('framebottom.bmp', 'bmp24', stack([frame_bottom(16, a), frame_bottom(16, i)]))
    pkg.add('captionbutton.png', 'png', caption_button_bg(26, 19, 'plain'))
    pkg.add('closebutton.png', 'png', caption_button_bg(26, 19, 'close'))
    pkg.add('smallclosebutton.png', 'png', caption_button_bg(17, 15, 'close'))
    pkg.add('closeglyph.png', 'png', glyph_frames(10, draw_close, close=True))
    pkg.add('smallcloseglyph.png', 'png', glyph_frames(8, draw_close, close=True))
    pkg.add('maxglyph.png', 'png', glyph_frames(10, draw_max))
    pkg.add('minglyph.png', 'png', glyph_frames(10, draw_min))
    pkg.add('restoreglyph.png', 'png', glyph_frames(10, draw_restore))
    pkg.add('helpglyph.png', 'png', glyph_frames(10, draw_help))

    pkg.add('pushbutton.png', 'png', push_button())
    pkg.add('checkbox.png', 'png', check_box())
    pkg.add('radiobutton.png', 'png', radio_button())
    pkg.add('groupbox.png', 'png', group_box())

    pkg.add('combobox.png', 'png', combo_field())
    pkg.add('combobutton.png', 'png', combo_button())
    pkg.add('comboglyph.png', 'png', chevron_frames(9, 6, STATE_INK, 'down', 1.4))

    pkg.add('scrollarrows.bmp', 'bmp32', scroll_arrows())
    pkg.add('thumbvert.png', 'png', scroll_thumb(True))
    pkg.add('thumbhorz.png', 'png', scroll_thumb(False))
    pkg.add('grippervert.png', 'png', scroll_gripper(True))
    pkg.add('gripperhorz.png', 'png', scroll_gripper(False))
    pkg.add('trackvert.bmp', 'bmp24', scroll_track(True))
    pkg.add('trackhorz.bmp', 'bmp24', scroll_track(False))
    pkg.add('sizebox.png', 'png', size_box())

    pkg.add('progressbar.png', 'png', progress_bar(False))
    pkg.add('progressbarvert.png', 'png', progress_bar(True))
    pkg.add('progresschunk.png', 'png', progress_chunk(False))
    pkg.add('progresschunkvert.png', 'png', progress_chunk(True))

    pkg.add('trackbartrack.png', 'png', trackbar_track(False))
    pkg.add('trackbartrackvert.png', 'png', trackbar_track(True))
    pkg.add('trackbarthumb.bmp', 'bmp32', trackbar_thumb(False))
    pkg.add('trackbarthumbvert.bmp', 'bmp32', trackbar_thumb(True))
    pkg.add('trackbarthumbbottom.png', 'png', trackbar_thumb(False, 'down'))
    pkg.add('trackbarthumbtop.png', 'png', stack_flip(trackbar_thumb(False, 'down'), 5))
    pkg.add('trackbarthumbright.png', 'png', stack_rotate(trackbar_thumb(False, 'down'), 5, ccw=True))
    pkg.add('trackbarthumbleft.png', 'png', stack_rotate(trackbar_thumb(False, 'down'), 5, ccw=False))

    pkg.add('spinup.png', 'png', spin_button('up'))
    pkg.add('spindown.png', 'png', spin_button('down'))
    pkg.add('spinhorz.png', 'png', spin_button('left'))
    pkg.add('spinupglyph.png', 'png', chevron_frames(7, 5, STATE_INK, 'up', 1.3))
    pkg.add('spindownglyph.png', 'png', chevron_frames(7, 5, STATE_INK, 'down', 1.3))
    pkg.add('spinleftglyph.png', 'png', chevron_frames(5, 7, STATE_INK, 'left', 1.3))
    pkg.add('spinrightglyph.png', 'png', chevron_frames(5, 7, STATE_INK, 'right', 1.3))

    pkg.add('tabitem.png', 'png', tab_item())
    pkg.add('tabpane.png', 'png', tab_pane())
    pkg.add('tabbody.bmp', 'bmp24', dialog_body())

    pkg.add('headeritem.png', 'png', header_item())
    pkg.add('headerbackground.png', 'png', header_background())
    pkg.add('sortarrows.png', 'png', sort_arrows())

    pkg.add('toolbutton.png', 'png', tool_button())
    pkg.add('toolglyph.png', 'png', chevron_frames(7, 5, [INK_SOFT, INK, INK, INK_FAINT, INK, INK], 'down', 1.2))
    pkg.add('toolseparator.png', 'png', tool_separator(False))
    pkg.add('toolseparatorvert.png', 'png', tool_separator(True))

    pkg.add('statuspane.bmp', 'bmp24', status_pane())
    pkg.add('statusgripper.png', 'png', status_gripper())

    pkg.add('treeglyph.png', 'png', tree_glyph())
    pkg.add('itemselect.png', 'png', item_highlight(['none', 'hot', 'selected', 'none', 'grey']))
    pkg.add('menuitem.png', 'png', item_highlight(['none', 'selected', 'none']))
    pkg.add('menubaritem.png', 'png', item_highlight(['none', 'hot', 'selected', 'none', 'hot', 'selected']))
    pkg.add('menuseparator.png', 'png', menu_separator())
    pkg.add('menuchevron.png', 'png', chevron_frames(7, 5, [INK_SOFT, INK, INK], 'down', 1.2))
    return pkg


def split_frames(img, count):
    h = img.h // count
    frames = []
    for n in range(count):
        f = Image(img.w, h)
        for y in range(h):
            j = (n * h + y) * img.w * 4
            f.p[y * img.w * 4:(y + 1) * img.w * 4] = img.p[j:j + img.w * 4]
        frames.append(f)
    return frames


def stack_flip(img, count):
    return stack([f.flip() for f in split_frames(img, count)])


def stack_rotate(img, count, ccw):
    frames = split_frames(img, count)
    if ccw:
        return stack([f.rotate90().rotate90().rotate90() for f in frames])
    return stack([f.rotate90() for f in frames])


# ---------------------------------------------------------------------------
# INI text.

def color(c):
    return '%d %d %d' % tuple(int(round(v * 255)) for v in c[:3])


def sections():
    """The variant's INI text as (section, [(property, value)]) in order."""
    S = []

    def sec(name, *props):
        S.append((name, list(props)))

    sec('Documentation',
        ('DisplayName', 'Tavmio Daylight'),
        ('Author', 'The Tavmio developers'),
        ('Description', 'A light theme with soft gradients and rounded corners'),
        ('Version', '1.0'))

    # Values every class falls back to.
    sec('Globals',
        ('EdgeLightColor', '228 232 237'),
        ('EdgeHighlightColor', '255 255 255'),
        ('EdgeShadowColor', '174 184 198'),
        ('EdgeDkShadowColor', '132 144 160'),
        ('EdgeFillColor', '240 242 245'),
        ('TextColor', '30 42 58'),
        ('TransparentColor', '255 0 255'),
        ('ImageLayout', 'Vertical'),
        ('SizingType', 'Stretch'),
        ('MirrorImage', 'True'),
        ('BorderColor', '174 184 198'),
        ('FillColor', '255 255 255'))

    sec('SysMetrics',
        ('CaptionFont', 'Tahoma, 9'),
        ('SmallCaptionFont', 'Tahoma, 8'),
        ('MenuFont', 'Tahoma, 8'),
        ('StatusFont', 'Tahoma, 8'),
        ('MsgBoxFont', 'Tahoma, 8'),
        ('IconTitleFont', 'Tahoma, 8'),
        ('CaptionBarHeight', '24'),
        ('SmCaptionBarHeight', '18'),
        ('CaptionBarWidth', '26'),
        ('SmCaptionBarWidth', '17'),
        ('ScrollbarWidth', '16'),
        ('ScrollbarHeight', '16'),
        ('SizingBorderWidth', '4'),
        ('MenuBarWidth', '18'),
        ('MenuBarHeight', '20'),
        ('FlatMenus', 'True'),
        ('MinColorDepth', '16'),
        ('Scrollbar', '238 241 244'),
        ('Background', '86 124 168'),
        ('ActiveCaption', '223 231 241'),
        ('InactiveCaption', '236 238 241'),
        ('Menu', '251 252 253'),
        ('Window', '255 255 255'),
        ('WindowFrame', '125 147 176'),
        ('MenuText', '30 42 58'),
        ('WindowText', '27 31 36'),
        ('CaptionText', '30 42 58'),
        ('ActiveBorder', '223 231 241'),
        ('InactiveBorder', '234 235 238'),
        ('AppWorkspace', '200 207 216'),
        ('Highlight', '47 123 217'),
        ('HighlightText', '255 255 255'),
        ('BtnFace', '240 242 245'),
        ('BtnShadow', '174 184 198'),
        ('GrayText', '150 159 171'),
        ('BtnText', '30 42 58'),
        ('InactiveCaptionText', '138 148 162'),
        ('BtnHighlight', '255 255 255'),
        ('DkShadow3d', '132 144 160'),
        ('Light3d', '228 232 237'),
        ('InfoText', '30 42 58'),
        ('InfoBk', '255 253 236'),
        ('ButtonAlternateFace', '226 230 235'),
        ('HotTracking', '47 123 217'),
        ('GradientActiveCaption', '234 240 247'),
        ('GradientInactiveCaption', '241 242 244'),
        ('MenuHilight', '213 230 250'),
        ('MenuBar', '240 242 245'))

    # Window: caption, frame, caption buttons.
    sec('Window', ('BgType', 'ImageFile'), ('ImageLayout', 'Vertical'))
    for part, image, margins in (('Caption', 'caption.png', '8, 8, 8, 3'),
                                 ('MaxCaption', 'caption.png', '8, 8, 8, 3'),
                                 ('MinCaption', 'caption.png', '8, 8, 8, 3'),
                                 ('SmallCaption', 'smallcaption.png', '6, 6, 6, 3'),
                                 ('SmallMaxCaption', 'smallcaption.png', '6, 6, 6, 3'),
                                 ('SmallMinCaption', 'smallcaption.png', '6, 6, 6, 3')):
        sec('Window.' + part, ('ImageFile', image), ('ImageCount', '2'), ('SizingMargins', margins),
            ('SizingType', 'Stretch'), ('ContentMargins', '8, 8, 2, 2'), ('TextColor', '30 42 58'))
    sec('Window.Caption(Inactive)', ('TextColor', '138 148 162'))
    sec('Window.SmallCaption(Inactive)', ('TextColor', '138 148 162'))
    for part, image, margins in (('FrameLeft', 'frameleft.bmp', '1, 1, 0, 0'),
                                 ('FrameRight', 'frameright.bmp', '1, 1, 0, 0'),
                                 ('FrameBottom', 'framebottom.bmp', '4, 4, 1, 1'),
                                 ('SmallFrameLeft', 'frameleft.bmp', '1, 1, 0, 0'),
                                 ('SmallFrameRight', 'frameright.bmp', '1, 1, 0, 0'),
                                 ('SmallFrameBottom', 'framebottom.bmp', '4, 4, 1, 1')):
        sec('Window.' + part, ('ImageFile', image), ('ImageCount', '2'), ('SizingMargins', margins),
            ('SizingType', 'Stretch'))
    for part, bg, glyph in (('CloseButton', 'closebutton.png', 'closeglyph.png'),
                            ('MdiCloseButton', 'closebutton.png', 'closeglyph.png'),
                            ('MaxButton', 'captionbutton.png', 'maxglyph.png'),
                            ('MinButton', 'captionbutton.png', 'minglyph.png'),
                            ('MdiMinButton', 'captionbutton.png', 'minglyph.png'),
                            ('RestoreButton', 'captionbutton.png', 'restoreglyph.png'),
                            ('MdiRestoreButton', 'captionbutton.png', 'restoreglyph.png'),
                            ('HelpButton', 'captionbutton.png', 'helpglyph.png'),
                            ('MdiHelpButton', 'captionbutton.png', 'helpglyph.png'),
                            ('SmallCloseButton', 'smallclosebutton.png', 'smallcloseglyph.png')):
        sec('Window.' + part, ('ImageFile', bg), ('ImageCount', '8'), ('SizingMargins', '5, 5, 5, 5'),
            ('SizingType', 'Stretch'), ('GlyphType', 'ImageGlyph'), ('GlyphImageFile', glyph),
            ('GlyphTransparent', 'False'), ('ContentMargins', '0, 0, 0, 0'))
    sec('Window.SysButton', ('BgType', 'None'))
    sec('Window.MdiSysButton', ('BgType', 'None'))
    sec('Window.Dialog', ('BgType', 'BorderFill'), ('FillColor', '240 242 245'), ('BorderSize', '0'))

    # Buttons.
    sec('Button.PushButton', ('ImageFile', 'pushbutton.png'), ('ImageCount', '5'),
        ('SizingMargins', '5, 5, 5, 5'), ('ContentMargins', '4, 4, 3, 3'), ('TextColor', '30 42 58'))
    sec('Button.PushButton(Hot)', ('TextColor', '22 52 92'))
    sec('Button.PushButton(Pressed)', ('TextColor', '22 52 92'))
    sec('Button.PushButton(Disabled)', ('TextColor', '160 168 179'))
    sec('Button.PushButton(Defaulted)', ('TextColor', '30 42 58'))
    sec('Button.CheckBox', ('ImageFile', 'checkbox.png'), ('ImageCount', '12'), ('SizingType', 'TrueSize'),
        ('SizingMargins', '0, 0, 0, 0'), ('ContentMargins', '0, 0, 0, 0'), ('MirrorImage', 'False'),
        ('TextColor', '30 42 58'))
    sec('Button.CheckBox(UncheckedDisabled)', ('TextColor', '160 168 179'))
    sec('Button.CheckBox(CheckedDisabled)', ('TextColor', '160 168 179'))
    sec('Button.CheckBox(MixedDisabled)', ('TextColor', '160 168 179'))
    sec('Button.RadioButton', ('ImageFile', 'radiobutton.png'), ('ImageCount', '8'), ('SizingType', 'TrueSize'),
        ('SizingMargins', '0, 0, 0, 0'), ('ContentMargins', '0, 0, 0, 0'), ('TextColor', '30 42 58'))
    sec('Button.RadioButton(UncheckedDisabled)', ('TextColor', '160 168 179'))
    sec('Button.RadioButton(CheckedDisabled)', ('TextColor', '160 168 179'))
    sec('Button.GroupBox', ('ImageFile', 'groupbox.png'), ('ImageCount', '2'), ('SizingMargins', '5, 5, 5, 5'),
        ('BorderOnly', 'True'), ('TextColor', '31 95 174'))
    sec('Button.GroupBox(Disabled)', ('TextColor', '160 168 179'))
    sec('Button.UserButton', ('BgType', 'None'))

    # Text fields and lists: one-pixel borders, the rest is the control's own.
    sec('Edit', ('BgType', 'BorderFill'), ('BorderColor', '174 184 198'), ('FillColor', '255 255 255'),
        ('BorderSize', '1'), ('TextColor', '27 31 36'))
    sec('Edit.EditText', ('BgType', 'BorderFill'), ('BorderColor', '174 184 198'), ('FillColor', '255 255 255'))
    sec('Edit.EditText(Hot)', ('BorderColor', '126 166 216'))
    sec('Edit.EditText(Focused)', ('BorderColor', '47 123 217'))
    sec('Edit.EditText(Disabled)', ('BorderColor', '211 216 223'), ('FillColor', '245 246 248'),
        ('TextColor', '150 159 171'))
    sec('Edit.EditText(ReadOnly)', ('FillColor', '248 249 250'))
    sec('ListBox', ('BgType', 'BorderFill'), ('BorderColor', '174 184 198'), ('FillColor', '255 255 255'),
        ('BorderSize', '1'), ('TextColor', '27 31 36'))

    sec('ComboBox', ('BgType', 'ImageFile'), ('ImageFile', 'combobox.png'), ('ImageCount', '4'),
        ('SizingMargins', '4, 4, 4, 4'), ('ContentMargins', '3, 3, 3, 3'), ('BorderColor', '174 184 198'),
        ('TextColor', '27 31 36'))
    sec('ComboBox.DropDownButton', ('ImageFile', 'combobutton.png'), ('ImageCount', '4'),
        ('SizingMargins', '2, 2, 5, 5'), ('GlyphType', 'ImageGlyph'), ('GlyphImageFile', 'comboglyph.png'),
        ('ContentMargins', '1, 1, 0, 0'))

    # Scroll bars.
    sec('ScrollBar', ('BgType', 'ImageFile'), ('Scrollbar', '238 241 244'))
    sec('ScrollBar.ArrowBtn', ('ImageFile', 'scrollarrows.bmp'), ('ImageCount', '20'),
        ('SizingMargins', '0, 0, 0, 0'), ('SizingType', 'Stretch'))
    sec('ScrollBar.ThumbBtnVert', ('ImageFile', 'thumbvert.png'), ('ImageCount', '4'),
        ('SizingMargins', '0, 0, 7, 7'))
    sec('ScrollBar.ThumbBtnHorz', ('ImageFile', 'thumbhorz.png'), ('ImageCount', '4'),
        ('SizingMargins', '7, 7, 0, 0'))
    sec('ScrollBar.GripperVert', ('ImageFile', 'grippervert.png'), ('ImageCount', '4'), ('SizingType', 'TrueSize'))
    sec('ScrollBar.GripperHorz', ('ImageFile', 'gripperhorz.png'), ('ImageCount', '4'), ('SizingType', 'TrueSize'))
    for part, image in (('LowerTrackVert', 'trackvert.bmp'), ('UpperTrackVert', 'trackvert.bmp'),
                        ('LowerTrackHorz', 'trackhorz.bmp'), ('UpperTrackHorz', 'trackhorz.bmp')):
        sec('ScrollBar.' + part, ('ImageFile', image), ('ImageCount', '4'), ('SizingMargins', '0, 0, 0, 0'))
    sec('ScrollBar.SizeBox', ('ImageFile', 'sizebox.png'), ('ImageCount', '2'), ('SizingType', 'TrueSize'),
        ('VAlign', 'Bottom'))

    # Progress, track bar, spin.
    sec('Progress', ('ProgressChunkSize', '6'), ('ProgressSpaceSize', '0'))
    sec('Progress.Bar', ('ImageFile', 'progressbar.png'), ('ImageCount', '1'), ('SizingMargins', '5, 5, 5, 5'),
        ('ContentMargins', '4, 4, 3, 3'))
    sec('Progress.BarVert', ('ImageFile', 'progressbarvert.png'), ('ImageCount', '1'),
        ('SizingMargins', '5, 5, 5, 5'), ('ContentMargins', '3, 3, 4, 4'))
    sec('Progress.Chunk', ('ImageFile', 'progresschunk.png'), ('ImageCount', '1'), ('SizingMargins', '0, 0, 0, 0'))
    sec('Progress.ChunkVert', ('ImageFile', 'progresschunkvert.png'), ('ImageCount', '1'),
        ('SizingMargins', '0, 0, 0, 0'))

    sec('Trackbar.Track', ('ImageFile', 'trackbartrack.png'), ('ImageCount', '1'), ('SizingMargins', '3, 3, 1, 1'))
    sec('Trackbar.TrackVert', ('ImageFile', 'trackbartrackvert.png'), ('ImageCount', '1'),
        ('SizingMargins', '1, 1, 3, 3'))
    for part, image, margins in (('Thumb', 'trackbarthumb.bmp', '3, 3, 4, 4'),
                                 ('ThumbBottom', 'trackbarthumbbottom.png', '3, 3, 4, 7'),
                                 ('ThumbTop', 'trackbarthumbtop.png', '3, 3, 7, 4'),
                                 ('ThumbVert', 'trackbarthumbvert.bmp', '4, 4, 3, 3'),
                                 ('ThumbLeft', 'trackbarthumbleft.png', '7, 4, 3, 3'),
                                 ('ThumbRight', 'trackbarthumbright.png', '4, 7, 3, 3')):
        sec('Trackbar.' + part, ('ImageFile', image), ('ImageCount', '5'), ('SizingMargins', margins))
    sec('Trackbar.Tics', ('Color', '150 159 171'))
    sec('Trackbar.TicsVert', ('Color', '150 159 171'))

    for part, image, glyph in (('Up', 'spinup.png', 'spinupglyph.png'),
                               ('Down', 'spindown.png', 'spindownglyph.png'),
                               ('UpHorz', 'spinhorz.png', 'spinrightglyph.png'),
                               ('DownHorz', 'spinhorz.png', 'spinleftglyph.png')):
        sec('Spin.' + part, ('ImageFile', image), ('ImageCount', '4'), ('SizingMargins', '3, 3, 3, 3'),
            ('GlyphType', 'ImageGlyph'), ('GlyphImageFile', glyph), ('ContentMargins', '1, 1, 1, 1'))

    # Tabs and headers.
    for part in ('TabItem', 'TabItemLeftEdge', 'TabItemRightEdge', 'TabItemBothEdge', 'TopTabItem',
                 'TopTabItemLeftEdge', 'TopTabItemRightEdge', 'TopTabItemBothEdge'):
        sec('Tab.' + part, ('ImageFile', 'tabitem.png'), ('ImageCount', '5'), ('SizingMargins', '5, 5, 5, 2'),
            ('ContentMargins', '6, 6, 3, 2'), ('TextColor', '30 42 58'))
    sec('Tab.TopTabItem(Disabled)', ('TextColor', '160 168 179'))
    sec('Tab.Pane', ('ImageFile', 'tabpane.png'), ('ImageCount', '1'), ('SizingMargins', '2, 2, 2, 2'))
    sec('Tab.Body', ('ImageFile', 'tabbody.bmp'), ('ImageCount', '1'), ('SizingType', 'Tile'))

    sec('Header', ('ImageFile', 'headerbackground.png'), ('ImageCount', '1'), ('SizingMargins', '0, 0, 2, 2'))
    for part in ('HeaderItem', 'HeaderItemLeft', 'HeaderItemRight'):
        sec('Header.' + part, ('ImageFile', 'headeritem.png'), ('ImageCount', '3'),
            ('SizingMargins', '2, 2, 2, 2'), ('ContentMargins', '6, 6, 2, 2'), ('TextColor', '30 42 58'))
    sec('Header.HeaderSortArrow', ('ImageFile', 'sortarrows.png'), ('ImageCount', '2'),
        ('SizingType', 'TrueSize'))

    # Tool bars, status bars, trees, lists, menus.
    for part in ('Button', 'DropDownButton', 'SplitButton'):
        sec('Toolbar.' + part, ('ImageFile', 'toolbutton.png'), ('ImageCount', '6'),
            ('SizingMargins', '5, 5, 5, 5'), ('ContentMargins', '3, 3, 3, 3'), ('TextColor', '30 42 58'))
    sec('Toolbar.SplitButtonDropDown', ('ImageFile', 'toolbutton.png'), ('ImageCount', '6'),
        ('SizingMargins', '5, 5, 5, 5'), ('GlyphType', 'ImageGlyph'), ('GlyphImageFile', 'toolglyph.png'))
    sec('Toolbar.Separator', ('ImageFile', 'toolseparator.png'), ('ImageCount', '1'),
        ('SizingMargins', '0, 0, 3, 3'))
    sec('Toolbar.SeparatorVert', ('ImageFile', 'toolseparatorvert.png'), ('ImageCount', '1'),
        ('SizingMargins', '3, 3, 0, 0'))

    sec('Status', ('TextColor', '58 74 94'))
    sec('Status.Pane', ('ImageFile', 'statuspane.bmp'), ('ImageCount', '1'), ('SizingMargins', '0, 0, 2, 0'))
    sec('Status.GripperPane', ('ImageFile', 'statuspane.bmp'), ('ImageCount', '1'), ('SizingMargins', '0, 0, 2, 0'))
    sec('Status.Gripper', ('ImageFile', 'statusgripper.png'), ('ImageCount', '1'), ('SizingType', 'TrueSize'),
        ('VAlign', 'Bottom'))

    sec('TreeView', ('TextColor', '27 31 36'))
    sec('TreeView.Glyph', ('ImageFile', 'treeglyph.png'), ('ImageCount', '2'), ('SizingType', 'TrueSize'))
    sec('TreeView.TreeItem', ('ImageFile', 'itemselect.png'), ('ImageCount', '5'), ('SizingMargins', '4, 4, 4, 4'))
    sec('TreeView.Branch', ('BgType', 'BorderFill'), ('FillColor', '196 203 212'), ('BorderSize', '0'))

    sec('ListView', ('TextColor', '27 31 36'))
    sec('ListView.ListItem', ('ImageFile', 'itemselect.png'), ('ImageCount', '5'), ('SizingMargins', '4, 4, 4, 4'))
    sec('ListView.ListGroup', ('TextColor', '31 95 174'))
    sec('ListView.EmptyText', ('TextColor', '138 148 162'))

    sec('Menu', ('BgType', 'BorderFill'), ('FillColor', '251 252 253'), ('BorderColor', '196 203 212'),
        ('BorderSize', '1'), ('TextColor', '30 42 58'))
    sec('Menu.MenuItem', ('BgType', 'ImageFile'), ('ImageFile', 'menuitem.png'), ('ImageCount', '3'),
        ('SizingMargins', '4, 4, 4, 4'))
    sec('Menu.MenuDropDown', ('BgType', 'ImageFile'), ('ImageFile', 'menuitem.png'), ('ImageCount', '3'),
        ('SizingMargins', '4, 4, 4, 4'))
    sec('Menu.MenuBarItem', ('BgType', 'ImageFile'), ('ImageFile', 'menubaritem.png'), ('ImageCount', '6'),
        ('SizingMargins', '4, 4, 4, 4'))
    sec('Menu.MenuBarDropDown', ('BgType', 'ImageFile'), ('ImageFile', 'menubaritem.png'), ('ImageCount', '6'),
        ('SizingMargins', '4, 4, 4, 4'))
    sec('Menu.Separator', ('BgType', 'ImageFile'), ('ImageFile', 'menuseparator.png'), ('ImageCount', '1'),
        ('SizingMargins', '0, 0, 1, 1'))
    sec('Menu.Chevron', ('BgType', 'ImageFile'), ('ImageFile', 'menuchevron.png'), ('ImageCount', '3'),
        ('SizingType', 'TrueSize'))

    sec('Tooltip', ('BgType', 'BorderFill'), ('FillColor', '255 253 236'), ('BorderColor', '190 184 150'),
        ('BorderSize', '1'), ('TextColor', '30 42 58'))
    return S


def ini_text(S):
    lines = ['; Tavmio Daylight: the theme of Tavmio, drawn by tools/make_theme.py.',
             '; Margins are written left, right, top, bottom; colours red green blue.', '']
    for name, props in S:
        lines.append('[%s]' % name)
        width = max([len(k) for k, _ in props] + [0])
        for key, value in props:
            lines.append('%s = %s' % (key.ljust(width), value))
        lines.append('')
    return '\r\n'.join(lines) + '\r\n'


THEMES_INDEX = '\r\n'.join([
    '; Tavmio theme index',
    '[Documentation]',
    'DisplayName = Tavmio',
    'Author = The Tavmio developers',
    '',
    '[File.Daylight]',
    'ColorSchemes = Daylight',
    'Sizes = Normal',
    '',
    '[Daylight.Normal]',
    'DisplayName = Daylight',
    '']) + '\r\n'

STYLE_NAME = 'Tavmio Daylight Style'


def resource_name(file_name):
    return file_name.upper().replace('.', '_').replace('\\', '_')


def write_package(outdir, pkg):
    os.makedirs(outdir, exist_ok=True)

    def write(name, data):
        path = os.path.join(outdir, name)
        # Only touch files whose content changed, so the build reruns no
        # more than it must.
        if os.path.exists(path):
            with open(path, 'rb') as f:
                if f.read() == data:
                    return
        with open(path, 'wb') as f:
            f.write(data)

    rc = ['// Generated by tools/make_theme.py: the Tavmio Daylight theme package.',
          'STRINGTABLE', 'BEGIN', '  5000 "%s"' % STYLE_NAME, 'END', '',
          'THEMES_INI TEXTFILE "themes_ini.txt"',
          'DAYLIGHT_INI TEXTFILE "daylight_ini.txt"', '']
    for name, kind, img in pkg.images:
        if kind == 'png':
            data = png_bytes(img)
            rc.append('%s PNG "%s"' % (resource_name(name), name))
        else:
            data = bmp_bytes(img, 24 if kind == 'bmp24' else 32)
            rc.append('%s BITMAP "%s"' % (resource_name(name), name))
        write(name, data)

    text = ini_text(sections())
    # The module holds UTF-16LE text with a byte-order mark; the folder form
    # reads an ANSI file.
    write('daylight_ini.txt', b'\xff\xfe' + text.encode('utf-16-le'))
    write('themes_ini.txt', b'\xff\xfe' + THEMES_INDEX.encode('utf-16-le'))
    write('Daylight.ini', text.encode('ascii'))
    write('vista.rc', ('\r\n'.join(rc) + '\r\n').encode('ascii'))


def check_references(pkg):
    """Every image file the INI names must be drawn, and every drawn image
    named."""
    names = {name.upper() for name, _, _ in pkg.images}
    used = set()
    for _, props in sections():
        for key, value in props:
            if key.upper().startswith('IMAGEFILE') or key.upper() == 'GLYPHIMAGEFILE':
                used.add(value.upper())
    missing = used - names
    unused = names - used
    if missing or unused:
        raise SystemExit('make_theme: images missing %s, unused %s' % (sorted(missing), sorted(unused)))


# ---------------------------------------------------------------------------
# Preview: the images as drawn by a theme engine, on one sheet.

def nine_grid(src, frame, count, dw, dh, margins):
    """Frame `frame` of a vertically stacked image stretched to dw x dh with
    sizing margins (left, right, top, bottom) kept at their size."""
    fh = src.h // count
    sy0 = frame * fh
    ml, mr, mt, mb = margins
    out = Image(dw, dh)

    def map_axis(d, size, lo, hi, dsize):
        if d < lo:
            return d
        if d >= dsize - hi:
            return size - (dsize - d)
        inner_s = size - lo - hi
        inner_d = dsize - lo - hi
        if inner_d <= 0 or inner_s <= 0:
            return lo
        return lo + int((d - lo) * inner_s / float(inner_d))
    for y in range(dh):
        sy = sy0 + min(fh - 1, max(0, map_axis(y, fh, mt, mb, dh)))
        for x in range(dw):
            sx = min(src.w - 1, max(0, map_axis(x, src.w, ml, mr, dw)))
            i = (sy * src.w + sx) * 4
            j = (y * dw + x) * 4
            out.p[j:j + 4] = src.p[i:i + 4]
    return out


def text_bar(w, h, color):
    """A stand-in for a line of text."""
    img = Image(w, h)
    img.paint(rrect(0, 0, w, h, h / 2.0), color)
    return img


def preview(pkg, path):
    images = {name: img for name, _, img in pkg.images}
    scale = 3
    sheet_w = 900
    tiles = []
    x = y = 10
    row_h = 0
    for name, _, img in pkg.images:
        tw, th = img.w * scale + 8, img.h * scale + 8
        if x + tw > sheet_w - 10:
            x = 10
            y += row_h + 10
            row_h = 0
        tiles.append((x, y, img))
        x += tw + 10
        row_h = max(row_h, th)
    top = y + row_h + 20

    win_w, win_h = 420, 260
    sheet = Image(sheet_w, top + win_h + 40)
    sheet.fill(rgb('#56789f'))
    for tx, ty, img in tiles:
        # Checkerboard behind each image, then the image scaled up.
        for yy in range(img.h * scale + 8):
            for xx in range(img.w * scale + 8):
                c = 0.85 if ((xx // 6) + (yy // 6)) % 2 else 0.95
                i = ((ty + yy) * sheet.w + tx + xx) * 4
                if 0 <= ty + yy < sheet.h and 0 <= tx + xx < sheet.w:
                    sheet.p[i:i + 4] = [c, c, c, 1.0]
        big = Image(img.w * scale, img.h * scale)
        for yy in range(big.h):
            for xx in range(big.w):
                j = ((yy // scale) * img.w + xx // scale) * 4
                k = (yy * big.w + xx) * 4
                big.p[k:k + 4] = img.p[j:j + 4]
        sheet.over(big, tx + 4, ty + 4)

    # A mock dialog, put together from the images the way the skins will.
    wx, wy = 30, top
    cap_h, side = 29, 4
    win = Image(win_w, win_h)
    win.fill(FACE)
    win.over(nine_grid(images['frameleft.bmp'], 0, 2, side, win_h - cap_h, (1, 1, 0, 0)), 0, cap_h)
    win.over(nine_grid(images['frameright.bmp'], 0, 2, side, win_h - cap_h, (1, 1, 0, 0)), win_w - side, cap_h)
    win.over(nine_grid(images['framebottom.bmp'], 0, 2, win_w, side, (4, 4, 1, 1)), 0, win_h - side)
    win.blit(nine_grid(images['caption.png'], 0, 2, win_w, cap_h, (8, 8, 8, 3)), 0, 0)
    bx = win_w - 6
    for bg, glyph, state in (('closebutton.png', 'closeglyph.png', 1), ('captionbutton.png', 'maxglyph.png', 0),
                             ('captionbutton.png', 'minglyph.png', 0)):
        bw, bh = 30, 20
        bx -= bw + 2
        win.over(nine_grid(images[bg], state, 8, bw, bh, (5, 5, 5, 5)), bx, 4)
        g = images[glyph]
        gf = nine_grid(g, state, 8, g.w, g.h // 8, (0, 0, 0, 0))
        win.over(gf, bx + (bw - gf.w) // 2, 4 + (bh - gf.h) // 2)
    win.over(text_bar(110, 7, INK_SOFT), 14, 11)
    # Contents: an edit field, a combo box, buttons, check boxes, progress.
    cx, cy = 16, cap_h + 14
    win.over(text_bar(60, 6, INK_MUTED), cx, cy + 7)
    field = Image(300, 22)
    field.paint(lambda x, y: -1.0, rgb('#aeb8c6'))
    field.paint(lambda x, y: -1.0, WHITE, clip=(1, 1, 299, 21))
    win.over(field, cx + 80, cy)
    win.over(text_bar(150, 6, INK), cx + 86, cy + 8)
    cy += 32
    win.over(nine_grid(images['combobox.png'], 0, 4, 160, 22, (4, 4, 4, 4)), cx + 80, cy)
    win.over(nine_grid(images['combobutton.png'], 0, 4, 17, 20, (2, 2, 5, 5)), cx + 80 + 160 - 18, cy + 1)
    cg = images['comboglyph.png']
    win.over(nine_grid(cg, 0, 4, cg.w, cg.h // 4, (0, 0, 0, 0)), cx + 80 + 160 - 14, cy + 8)
    win.over(text_bar(70, 6, INK), cx + 88, cy + 8)
    cy += 34
    for n, state in enumerate((0, 1, 2, 4)):
        win.over(nine_grid(images['checkbox.png'], [0, 5, 10, 4][n], 12, 13, 13, (0, 0, 0, 0)), cx + n * 90, cy)
        win.over(text_bar(50, 6, INK), cx + n * 90 + 19, cy + 4)
    cy += 24
    for n in range(4):
        win.over(nine_grid(images['radiobutton.png'], [0, 1, 4, 7][n], 8, 13, 13, (0, 0, 0, 0)), cx + n * 90, cy)
        win.over(text_bar(50, 6, INK), cx + n * 90 + 19, cy + 4)
    cy += 28
    win.over(nine_grid(images['progressbar.png'], 0, 1, 300, 18, (5, 5, 5, 5)), cx, cy)
    win.over(nine_grid(images['progresschunk.png'], 0, 1, 180, 12, (0, 0, 0, 0)), cx + 4, cy + 3)
    cy += 30
    for n, state in enumerate((4, 0, 1, 2, 3)):
        bw = 72
        win.over(nine_grid(images['pushbutton.png'], state, 5, bw, 24, (5, 5, 5, 5)), cx + n * (bw + 6), cy)
        win.over(text_bar(34, 6, INK if state != 3 else INK_FAINT), cx + n * (bw + 6) + 19, cy + 9)
    # A vertical scroll bar at the right.
    sx, sy, sh = win_w - side - 16, cap_h, win_h - cap_h - side
    arrows = images['scrollarrows.bmp']
    win.over(nine_grid(images['trackvert.bmp'], 0, 4, 16, sh, (0, 0, 0, 0)), sx, sy)
    win.over(nine_grid(arrows, 0, 20, 16, 16, (0, 0, 0, 0)), sx, sy)
    win.over(nine_grid(arrows, 4, 20, 16, 16, (0, 0, 0, 0)), sx, sy + sh - 16)
    win.over(nine_grid(images['thumbvert.png'], 1, 4, 16, 60, (0, 0, 7, 7)), sx, sy + 40)
    sheet.over(win, wx, wy)

    # The same caption and button inactive, and a tab row, beside it.
    ox = wx + win_w + 30
    sheet.over(nine_grid(images['caption.png'], 1, 2, 380, cap_h, (8, 8, 8, 3)), ox, wy)
    tabs = Image(380, 80)
    tabs.over(nine_grid(images['tabpane.png'], 0, 1, 380, 56, (2, 2, 2, 2)), 0, 24)
    for n, state in enumerate((0, 2, 1)):
        tw = 80
        ty = 2 if state == 2 else 4
        tabs.over(nine_grid(images['tabitem.png'], state, 5, tw + (4 if state == 2 else 0), 23 - ty + 2,
                            (5, 5, 5, 2)), 4 + n * (tw + 2) - (2 if state == 2 else 0), ty)
        tabs.over(text_bar(40, 6, INK), 4 + n * (tw + 2) + 20, 12)
    sheet.over(tabs, ox, wy + 50)
    hdr = Image(380, 22)
    for n, state in enumerate((0, 1, 2)):
        hdr.over(nine_grid(images['headeritem.png'], state, 3, 120, 22, (2, 2, 2, 2)), n * 120, 0)
        hdr.over(text_bar(50, 6, INK), n * 120 + 8, 8)
    hdr.over(nine_grid(images['headerbackground.png'], 0, 1, 20, 22, (0, 0, 2, 2)), 360, 0)
    sheet.over(hdr, ox, wy + 150)
    for n, state in enumerate((0, 1, 2, 4)):
        sheet.over(nine_grid(images['trackbarthumbbottom.png'], state, 5, 11, 20, (0, 0, 0, 0)),
                   ox + 40 + n * 30, wy + 200)
    sheet.over(nine_grid(images['trackbartrack.png'], 0, 1, 180, 4, (3, 3, 1, 1)), ox + 200, wy + 208)
    sheet.over(nine_grid(images['trackbarthumbbottom.png'], 0, 5, 11, 20, (0, 0, 0, 0)), ox + 260, wy + 200)

    with open(path, 'wb') as f:
        f.write(png_bytes(sheet.flatten(rgb('#56789f'))))


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    outdir = argv[1]
    pkg = build_images()
    check_references(pkg)
    write_package(outdir, pkg)
    if len(argv) >= 4 and argv[2] == '--preview':
        preview(pkg, argv[3])
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
