#!/usr/bin/env python3
"""Draw the Tavmio program icon and write res/tavmio.ico.

Standard library only. The artwork is a rounded tile with a blue-to-teal
gradient carrying a white film frame (with a play triangle) above a bold
downward arrow that lands on a tray: "download video". At 24 and 32 pixels
the film frame becomes a plain screen with the play triangle cut out; at 16
and 20 only the arrow and the tray remain.

Every size is rendered separately with supersampling (each pixel is sampled
on an N x N grid and the samples are averaged), edges are snapped to whole
pixels where that keeps small sizes crisp, and the palette images are
quantised from the 32-bit rendering. The output is byte-for-byte the same on
every run.

Usage: python3 tools/make_icon.py [output.ico]
"""

import os
import struct
import sys

# Images in the order they are stored: (width, bits per pixel).
IMAGES = (
    [(s, 4) for s in (16, 24, 32, 48)]
    + [(s, 8) for s in (16, 24, 32, 48)]
    + [(s, 32) for s in (16, 20, 24, 32, 40, 48, 64, 96, 128)]
)

GRAD_TOP = (37, 99, 235)      # blue
GRAD_BOTTOM = (16, 178, 160)  # teal
BORDER_SHADE = 0.70           # edge of the tile, relative to the gradient
WHITE = (255, 255, 255)

# Standard 16-colour VGA palette, in the usual Windows order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------------------
# Shapes: each is a predicate inside(x, y) in pixel units, y pointing down,
# together with a bounding box used to skip samples quickly.

class Shape:
    def __init__(self, test, box):
        self.test = test
        self.box = box  # (x0, y0, x1, y1)

    def contains(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 <= x < x1 and y0 <= y < y1 and self.test(x, y)


def rrect(x0, y0, x1, y1, r):
    """Rectangle with circular corners of radius r."""
    r = max(0.0, min(r, (x1 - x0) / 2.0, (y1 - y0) / 2.0))
    ix0, iy0, ix1, iy1 = x0 + r, y0 + r, x1 - r, y1 - r
    r2 = r * r

    def test(x, y):
        cx = ix0 if x < ix0 else (ix1 if x > ix1 else x)
        cy = iy0 if y < iy0 else (iy1 if y > iy1 else y)
        dx, dy = x - cx, y - cy
        return dx * dx + dy * dy <= r2

    return Shape(test, (x0, y0, x1, y1))


def polygon(points):
    """Convex polygon, points in either winding order."""
    pts = list(points)
    n = len(pts)
    area = sum(pts[i][0] * pts[(i + 1) % n][1] - pts[(i + 1) % n][0] * pts[i][1]
               for i in range(n))
    sign = 1.0 if area > 0 else -1.0
    edges = []
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        edges.append((ax, ay, (bx - ax) * sign, (by - ay) * sign))

    def test(x, y):
        for ax, ay, ex, ey in edges:
            if ex * (y - ay) - ey * (x - ax) < 0:
                return False
        return True

    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(test, (min(xs), min(ys), max(xs), max(ys)))


def union(*shapes):
    box = (min(s.box[0] for s in shapes), min(s.box[1] for s in shapes),
           max(s.box[2] for s in shapes), max(s.box[3] for s in shapes))
    return Shape(lambda x, y: any(s.contains(x, y) for s in shapes), box)


def minus(shape, *holes):
    return Shape(lambda x, y: shape.test(x, y)
                 and not any(h.contains(x, y) for h in holes), shape.box)


def moved(shape, dx, dy):
    x0, y0, x1, y1 = shape.box
    return Shape(lambda x, y: shape.contains(x - dx, y - dy),
                 (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


# ---------------------------------------------------------------------------
# Artwork

# Small sizes are laid out by hand on the pixel grid so that every straight
# edge falls on a pixel boundary and the diagonals run at 45 degrees.
# Coordinates are in pixels: shaft (x0, y0, x1, y1); head (top y, half width,
# tip y); tray bar (x0, y0, x1, y1); tray ends (width, top y) or None;
# screen (x0, y0, x1, y1, radius) or None; play triangle (x, y0, y1, tip x).
SMALL = {
    16: dict(margin=0, shaft=(6, 2, 10, 8), head=(7, 5, 12), tray=(3, 13, 13, 14),
             ends=None, screen=None, play=None),
    20: dict(margin=1, shaft=(8, 3, 12, 10), head=(9, 6, 15), tray=(4, 16, 16, 17),
             ends=None, screen=None, play=None),
    24: dict(margin=1, shaft=(10, 12, 14, 15), head=(14, 5, 19), tray=(5, 20, 19, 21),
             ends=(1, 17), screen=(5, 3, 19, 11, 1.0), play=(10, 4, 10, 15)),
    32: dict(margin=1, shaft=(14, 17, 18, 21), head=(20, 6, 26), tray=(6, 27, 26, 29),
             ends=(2, 23), screen=(6, 3, 26, 15, 1.5), play=(14, 5.5, 12.5, 20)),
}


def small_glyph(size):
    layout = SMALL[size]
    cx = size / 2.0
    parts = [rrect(*layout['shaft'], 0.0)]
    top, half, tip = layout['head']
    parts.append(polygon([(cx - half, top), (cx + half, top), (cx, tip)]))
    tx0, ty0, tx1, ty1 = layout['tray']
    parts.append(rrect(tx0, ty0, tx1, ty1, 0.0))
    if layout['ends']:
        w, ey = layout['ends']
        parts.append(rrect(tx0, ey, tx0 + w, ty1, 0.0))
        parts.append(rrect(tx1 - w, ey, tx1, ty1, 0.0))
    if layout['screen']:
        x0, y0, x1, y1, r = layout['screen']
        px_, py0, py1, ptip = layout['play']
        play = polygon([(px_, py0), (px_, py1), (ptip, (py0 + py1) / 2.0)])
        parts.append(minus(rrect(x0, y0, x1, y1, r), play))
    return union(*parts)


def large_glyph(s, px):
    """Film frame with a play triangle, arrow and tray, in fractions of s."""
    cx = s / 2.0
    fx0, fx1 = px(0.20), s - px(0.20)
    fy0, fy1 = px(0.12), px(0.48)
    frame = rrect(fx0, fy0, fx1, fy1, s * 0.045)
    # Side strips and sprocket holes on whole pixels, holes centred in strips.
    strip = 2.0 * round(s * 0.0425)
    inset = float(max(1, round(s * 0.04)))
    window = rrect(fx0 + strip, fy0 + inset, fx1 - strip, fy1 - inset, s * 0.02)
    holes = []
    hole_w = max(2.0, 2.0 * round(strip / 4.0))
    hole_h = float(max(1, round((fy1 - fy0) * 0.13)))
    for i in range(4):
        hy = fy0 + round((fy1 - fy0) * (0.17 + 0.22 * i) - hole_h / 2.0)
        for hx in (fx0 + (strip - hole_w) / 2.0, fx1 - (strip + hole_w) / 2.0):
            holes.append(rrect(hx, hy, hx + hole_w, hy + hole_h, s * 0.01))
    tcx, tcy = cx + s * 0.018, (fy0 + fy1) / 2.0
    th = (fy1 - fy0) * 0.40
    tx = float(round(tcx - th * 0.45))
    play = polygon([(tx, tcy - th / 2), (tx, tcy + th / 2), (tx + th, tcy)])
    film = union(minus(frame, window, *holes), play)

    shaft_w = px(0.07)
    shaft = rrect(cx - shaft_w, px(0.52), cx + shaft_w, px(0.64), 0.0)
    head_top = px(0.60)
    head_half = px(0.20)
    tip = head_top + head_half * 0.85
    head = polygon([(cx - head_half, head_top), (cx + head_half, head_top), (cx, tip)])
    # Tray: a bar with short upturned ends.
    tw = px(0.06)
    tx0, tx1 = px(0.20), s - px(0.20)
    ty1 = px(0.88)
    ey = ty1 - round(tw * 2.5)
    tray = union(rrect(tx0, ty1 - tw, tx1, ty1, tw * 0.35),
                 rrect(tx0, ey, tx0 + tw, ty1, tw * 0.35),
                 rrect(tx1 - tw, ey, tx1, ty1, tw * 0.35))
    return union(film, shaft, head, tray)


def design(size):
    """Return the layers for one icon size, bottom first.

    Each layer is (shape, paint) where paint(x, y) gives straight RGBA with
    components in 0..1.
    """
    s = float(size)

    def px(v):
        # Snap a coordinate given as a fraction of the size to a whole pixel.
        return float(round(v * s))

    if size in SMALL:
        margin = float(SMALL[size]['margin'])
    else:
        margin = float(max(1, round(s / 32.0)))
    top, bottom = margin, s - margin
    radius = round((bottom - top) * 0.22)
    border = max(1.0, float(round(s / 64.0)))

    def gradient(y):
        t = (y - top) / (bottom - top)
        t = 0.0 if t < 0 else (1.0 if t > 1 else t)
        return tuple((a + (b - a) * t) / 255.0 for a, b in zip(GRAD_TOP, GRAD_BOTTOM))

    def paint_tile(x, y):
        r, g, b = gradient(y)
        return (r, g, b, 1.0)

    def paint_border(x, y):
        r, g, b = gradient(y)
        return (r * BORDER_SHADE, g * BORDER_SHADE, b * BORDER_SHADE, 1.0)

    def paint_white(x, y):
        return (1.0, 1.0, 1.0, 1.0)

    def paint_shadow(x, y):
        return (0.0, 0.05, 0.2, 0.22)

    tile_outer = rrect(top, top, bottom, bottom, radius)
    tile_inner = rrect(top + border, top + border, bottom - border, bottom - border,
                       radius - border)

    if size in SMALL:
        glyph = small_glyph(size)
        shadow = None
    else:
        glyph = large_glyph(s, px)
        shadow = moved(glyph, 0.0, max(1.0, s / 40.0))

    layers = [(tile_outer, paint_border), (tile_inner, paint_tile)]
    if shadow is not None:
        layers.append((Shape(lambda x, y, sh=shadow: sh.contains(x, y)
                             and tile_inner.contains(x, y), shadow.box), paint_shadow))
    layers.append((glyph, paint_white))
    return layers


def render(size):
    """Render one size; returns rows of straight (r, g, b, a) bytes."""
    layers = design(size)
    n = 8 if size <= 48 else 4
    offsets = [(i + 0.5) / n for i in range(n)]
    weight = 1.0 / (n * n)
    rows = []
    for py in range(size):
        row = []
        for px_ in range(size):
            ar = ag = ab = aa = 0.0
            for oy in offsets:
                y = py + oy
                for ox in offsets:
                    x = px_ + ox
                    # Composite the layers at this sample (premultiplied).
                    r = g = b = a = 0.0
                    for shape, paint in layers:
                        if shape.contains(x, y):
                            lr, lg, lb, la = paint(x, y)
                            k = 1.0 - la
                            r = lr * la + r * k
                            g = lg * la + g * k
                            b = lb * la + b * k
                            a = la + a * k
                    ar += r
                    ag += g
                    ab += b
                    aa += a
            ar *= weight
            ag *= weight
            ab *= weight
            aa *= weight
            if aa <= 1e-6:
                row.append((0, 0, 0, 0))
            else:
                row.append((to_byte(ar / aa), to_byte(ag / aa), to_byte(ab / aa),
                            to_byte(aa)))
        rows.append(row)
    return rows


def to_byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else (255 if v > 255 else v)


# ---------------------------------------------------------------------------
# Quantisation

def colour_distance(c1, c2):
    # "Redmean" weighting: cheap and close enough to perceived difference.
    rm = (c1[0] + c2[0]) / 2.0
    dr, dg, db = c1[0] - c2[0], c1[1] - c2[1], c1[2] - c2[2]
    return (2 + rm / 256.0) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256.0) * db * db


def nearest(palette, colour, cache):
    idx = cache.get(colour)
    if idx is None:
        best = None
        for i, p in enumerate(palette):
            d = colour_distance(colour, p)
            if best is None or d < best:
                best, idx = d, i
        cache[colour] = idx
    return idx


def median_cut(counts, limit):
    """Deterministic weighted median cut; returns at most `limit` colours."""
    if len(counts) <= limit:
        return sorted(counts)
    boxes = [sorted(counts.items())]

    def spread(box):
        best = (-1, 0)
        for ch in range(3):
            vals = [c[ch] for c, _ in box]
            best = max(best, (max(vals) - min(vals), -ch))
        return best[0], -best[1]

    while len(boxes) < limit:
        scored = []
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            rng, ch = spread(box)
            pop = sum(w for _, w in box)
            scored.append((rng * rng * pop, -i, ch))
        if not scored:
            break
        _, neg_i, ch = max(scored)
        box = sorted(boxes.pop(-neg_i), key=lambda cw: (cw[0][ch], cw[0]))
        total = sum(w for _, w in box)
        acc, cut = 0, 1
        for j, (_, w) in enumerate(box[:-1]):
            acc += w
            cut = j + 1
            if acc * 2 >= total:
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple(int(sum(c[ch] * w for c, w in box) / total + 0.5)
                             for ch in range(3)))
    return sorted(set(palette))


def quantise(rgba, bpp):
    """Return (palette, index rows, mask rows) for a palette image."""
    opaque = [[p[3] >= 128 for p in row] for row in rgba]
    if bpp == 4:
        palette = list(VGA16)
    else:
        counts = {}
        for row, orow in zip(rgba, opaque):
            for p, o in zip(row, orow):
                if o:
                    counts[p[:3]] = counts.get(p[:3], 0) + 1
        # Index 0 stays black: transparent pixels need a black XOR colour.
        palette = [(0, 0, 0)] + [c for c in median_cut(counts, 255) if c != (0, 0, 0)]
        palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}
    indices = []
    for row, orow in zip(rgba, opaque):
        indices.append([nearest(palette, p[:3], cache) if o else 0
                        for p, o in zip(row, orow)])
    if bpp == 4:
        # Anti-aliased edges would land on whatever grey or hue is nearest and
        # look like dirt; remap them to the few colours that carry the artwork.
        used = {}
        for row in indices:
            for i in row:
                used[i] = used.get(i, 0) + 1
        total = sum(1 for orow in opaque for o in orow if o)
        keep = {i for i, n in used.items() if n * 25 >= total}
        subset = [c if i in keep else (-1000, -1000, -1000) for i, c in enumerate(palette)]
        cache = {}
        indices = [[nearest(subset, p[:3], cache) if o else 0
                    for p, o in zip(row, orow)] for row, orow in zip(rgba, opaque)]
    masks = [[not o for o in orow] for orow in opaque]
    return palette, indices, masks


# ---------------------------------------------------------------------------
# ICO writing

def row_bytes(bits):
    return ((bits + 31) // 32) * 4


def pack_mask(masks, size):
    out = bytearray()
    stride = row_bytes(size)
    for row in reversed(masks):
        line = bytearray(stride)
        for x, transparent in enumerate(row):
            if transparent:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return bytes(out)


def dib_image(rgba, size, bpp):
    if bpp == 32:
        palette = []
        masks = [[p[3] < 128 for p in row] for row in rgba]
        xor = bytearray()
        for row in reversed(rgba):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    else:
        palette, indices, masks = quantise(rgba, bpp)
        stride = row_bytes(size * bpp)
        xor = bytearray()
        for row in reversed(indices):
            line = bytearray(stride)
            if bpp == 8:
                line[:size] = bytes(row)
            else:
                for x, i in enumerate(row):
                    line[x >> 1] |= i << (0 if x & 1 else 4)
            xor += line
    and_mask = pack_mask(masks, size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return header + pal + bytes(xor) + and_mask


def build_ico():
    renders = {}
    blobs = []
    for size, bpp in IMAGES:
        if size not in renders:
            renders[size] = render(size)
        blobs.append((size, bpp, dib_image(renders[size], size, bpp)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, bpp, blob in blobs:
        colours = 16 if bpp == 4 else 0
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bpp,
                           len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        out += blob
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res', 'tavmio.ico')
    data = build_ico()
    with open(path, 'wb') as f:
        f.write(data)
    print('%s: %d images, %d bytes' % (path, len(IMAGES), len(data)))


if __name__ == '__main__':
    main()
