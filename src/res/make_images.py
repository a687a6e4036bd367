#!/usr/bin/env python3
"""Draws the control's icon (Pelioran.ico, 32x32 and 16x16) and toolbox bitmap (Toolbox.bmp,
16x15) as 24-bit images: a camera on a blue tile. Run from this folder; the outputs are kept in
the repository."""
import struct

BLUE = (0x1f, 0x4e, 0x9a)
WHITE = (0xff, 0xff, 0xff)
DARK = (0x20, 0x20, 0x20)
GREY = (0xc0, 0xc0, 0xc0)


def camera(size):
    """Rows top to bottom of (r, g, b), the camera scaled to a size x size square."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            c = BLUE
            if 4 <= fx < 22 and 10 <= fy < 24:           # body
                c = WHITE
            if 22 <= fx < 29 and 12 <= fy < 22:          # hood
                c = GREY
            if (fx - 13) ** 2 + (fy - 17) ** 2 < 16:     # lens
                c = DARK
            if 7 <= fx < 12 and 7 <= fy < 10:            # viewfinder
                c = WHITE
            row.append(c)
        rows.append(row)
    return rows


def dib(rows, with_mask):
    """A bottom-up 24-bit DIB (BITMAPINFOHEADER + pixels [+ AND mask for icons])."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + b"\0" * (stride - len(line))
    mask = b""
    if with_mask:
        mask_stride = ((w + 31) // 32) * 4
        mask = b"\0" * (mask_stride * h)   # every pixel opaque
    header = struct.pack("<IiiHHIIiiII", 40, w, h * (2 if with_mask else 1), 1, 24, 0,
                         len(pixels) + len(mask), 2835, 2835, 0, 0)
    return header + pixels + mask


def write_ico(path, sizes):
    images = [dib(camera(n), True) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 24, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_bmp(path, rows):
    body = dib(rows, False)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40) + body)


if __name__ == "__main__":
    write_ico("Pelioran.ico", [32, 16])
    write_bmp("Toolbox.bmp", camera(16)[:15])
