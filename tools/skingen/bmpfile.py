"""24-bit Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows)."""

import struct


def encode_bmp(width, height, rgb):
    """The file bytes of a width x height picture; rgb holds top-down rows of R, G, B bytes."""
    if len(rgb) != width * height * 3:
        raise ValueError("picture data does not match its size")
    stride = (width * 3 + 3) & ~3
    pad = bytes(stride - width * 3)
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(rgb[y * width * 3:(y + 1) * width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # R, G, B -> B, G, R
        rows.append(bytes(row) + pad)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels
