#!/usr/bin/env python3
"""Validate an .ico file and write a PNG preview of every image in it.

Parses the directory and each DIB back (header fields, sizes, offsets,
palette, XOR and AND bitmaps), reports problems, and draws all images side
by side: at their own size on light and dark backgrounds, then enlarged.

Usage: python3 tools/check_icon.py [icon.ico] [preview.png]
"""

import os
import struct
import sys
import zlib


def fail(msg):
    raise SystemExit('check_icon: ' + msg)


def row_bytes(bits):
    return ((bits + 31) // 32) * 4


def decode_dib(blob, width, height_entry, bpp_entry):
    """Return rows of (r, g, b, a) for one image, after checking its header."""
    if len(blob) < 40:
        fail('image too short for a header')
    (hsize, w, h2, planes, bpp, comp, _, _, _, used, _) = struct.unpack_from(
        '<IiiHHIIiiII', blob)
    if hsize != 40 or comp != 0 or planes != 1:
        fail('unexpected header: size %d planes %d compression %d' % (hsize, planes, comp))
    if w != width or h2 != 2 * width:
        fail('header says %dx%d, directory says %d' % (w, h2, width))
    if bpp != bpp_entry:
        fail('header bpp %d, directory bpp %d' % (bpp, bpp_entry))
    pos = 40
    palette = []
    if bpp <= 8:
        count = used or (1 << bpp)
        for i in range(count):
            b, g, r, _ = blob[pos + 4 * i: pos + 4 * i + 4]
            palette.append((r, g, b))
        pos += 4 * count
    xstride = row_bytes(w * bpp)
    mstride = row_bytes(w)
    need = pos + xstride * w + mstride * w
    if len(blob) != need:
        fail('%dx%d %d bpp: %d bytes, expected %d' % (w, w, bpp, len(blob), need))
    mask_at = pos + xstride * w
    rows = []
    for y in range(w):
        src = w - 1 - y  # bottom-up
        xrow = blob[pos + src * xstride: pos + (src + 1) * xstride]
        mrow = blob[mask_at + src * mstride: mask_at + (src + 1) * mstride]
        row = []
        for x in range(w):
            transparent = (mrow[x >> 3] >> (7 - (x & 7))) & 1
            if bpp == 32:
                b, g, r, a = xrow[4 * x: 4 * x + 4]
                row.append((r, g, b, a))
                continue
            if bpp == 8:
                idx = xrow[x]
            else:
                idx = (xrow[x >> 1] >> (0 if x & 1 else 4)) & 15
            if idx >= len(palette):
                fail('index %d outside palette' % idx)
            if transparent:
                if palette[idx] != (0, 0, 0):
                    fail('transparent pixel with non-black XOR colour')
                row.append((0, 0, 0, 0))
            else:
                row.append(palette[idx] + (255,))
        rows.append(row)
    return rows


def read_ico(path):
    with open(path, 'rb') as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from('<HHH', data)
    if reserved != 0 or kind != 1:
        fail('not an icon file')
    images = []
    end = 6 + 16 * count
    for i in range(count):
        w, h, colours, res, planes, bpp, size, offset = struct.unpack_from(
            '<BBBBHHII', data, 6 + 16 * i)
        w = w or 256
        h = h or 256
        if w != h or res != 0 or planes != 1:
            fail('entry %d: odd directory fields' % i)
        if colours != (16 if bpp == 4 else 0):
            fail('entry %d: colour count %d for %d bpp' % (i, colours, bpp))
        if offset != end:
            fail('entry %d at %d, expected %d (images must follow each other)' % (i, offset, end))
        end = offset + size
        if end > len(data):
            fail('entry %d runs past the end of the file' % i)
        images.append((w, bpp, decode_dib(data[offset:end], w, h, bpp)))
    if end != len(data):
        fail('%d stray bytes at the end' % (len(data) - end))
    return images


def write_png(path, width, height, pixels):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixels[y][x])

    def chunk(tag, body):
        return (struct.pack('>I', len(body)) + tag + body
                + struct.pack('>I', zlib.crc32(tag + body) & 0xffffffff))

    png = (b'\x89PNG\r\n\x1a\n'
           + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
           + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
           + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def preview(images, path):
    gap = 8
    zooms = [max(1, 96 // w) for w, _, _ in images]
    native_w = sum(w for w, _, _ in images) + gap * (len(images) + 1)
    zoom_w = sum(w * z for (w, _, _), z in zip(images, zooms)) + gap * (len(images) + 1)
    width = max(native_w, zoom_w)
    big = max(w for w, _, _ in images)
    zoom_h = max(w * z for (w, _, _), z in zip(images, zooms))
    bands = [(gap, big, 'light'), (2 * gap + big, big, 'dark'),
             (3 * gap + 2 * big, zoom_h, 'checker')]
    height = 4 * gap + 2 * big + zoom_h
    canvas = [[(236, 236, 236)] * width for _ in range(height)]
    for y in range(gap + big + gap // 2, 2 * gap + 2 * big + gap // 2):
        canvas[y] = [(40, 40, 44)] * width

    def put(x0, y0, rows, zoom, background):
        for y, row in enumerate(rows):
            for x, (r, g, b, a) in enumerate(row):
                for zy in range(zoom):
                    for zx in range(zoom):
                        cx, cy = x0 + x * zoom + zx, y0 + y * zoom + zy
                        if background == 'checker':
                            bg = (200, 200, 200) if ((cx // 8 + cy // 8) & 1) else (255, 255, 255)
                        else:
                            bg = canvas[cy][cx]
                        canvas[cy][cx] = tuple((c * a + k * (255 - a) + 127) // 255
                                               for c, k in zip((r, g, b), bg))

    for band_y, _, background in bands:
        x = gap
        for (w, _, rows), z in zip(images, zooms):
            zoom = z if background == 'checker' else 1
            put(x, band_y, rows, zoom, background)
            x += w * zoom + gap
    write_png(path, width, height, canvas)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ico = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res', 'tavmio.ico')
    png = sys.argv[2] if len(sys.argv) > 2 else '/tmp/icon-preview.png'
    images = read_ico(ico)
    for w, bpp, rows in images:
        opaque = sum(1 for row in rows for p in row if p[3])
        print('%3dx%-3d %2d bpp  %5d opaque pixels' % (w, w, bpp, opaque))
    print('%d images' % len(images))
    preview(images, png)
    print('preview: ' + png)


if __name__ == '__main__':
    main()
