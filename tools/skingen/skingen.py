#!/usr/bin/env python3
"""Draws the operation pane's bitmaps: the four 432 x 96 button skins and the 180 x 700
background, as 24-bit Windows bitmaps, and the four skins again at twice the size (864 x 192,
"skin_<look>_2x.bmp") for high display scales.

    skingen.py --out DIR     writes them into DIR
    skingen.py --check DIR   exit status 1 when the files in DIR differ from what it draws

Every skin holds the same grid of cells (8-pixel units); a button cuts its cell out of all
four skins, one per look.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # run from the source tree: leave no cache beside it

from bmpfile import encode_bmp
from canvas import Canvas
import tinyfont

WIDTH, HEIGHT = 432, 96
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
INNER_FRAME = (216, 224, 236)
SYMBOL_BLUE = (0, 51, 204)

# Per look: face (one colour, or a top and bottom colour), caption colour, and the light
# face of the CAM and PTZ cells.
LOOKS = {
    "normal": {"face": (57, 93, 198), "caption": WHITE, "light": (197, 214, 252)},
    "hover": {"face": ((169, 184, 230), (16, 26, 55)), "caption": WHITE,
              "light": (141, 174, 251)},
    "pressed": {"face": ((16, 26, 55), (169, 184, 230)), "caption": (255, 255, 153),
                "light": (141, 174, 251)},
    "disabled": {"face": (176, 173, 173), "caption": WHITE, "light": (197, 214, 252)},
}

# Bitmap resource and file of each look.
FILES = [
    (206, "disabled", "skin_disabled.bmp"),
    (207, "hover", "skin_hover.bmp"),
    (208, "normal", "skin_normal.bmp"),
    (209, "pressed", "skin_pressed.bmp"),
]
BACKGROUND = (217, "background.bmp", 180, 700)

# Button cells: x, y, width, caption (normal look), caption (pressed look). All 24 high.
BUTTONS = [(72 * n, 0, 72, str(n + 1), None) for n in range(6)] + [
    (0, 24, 72, "Pause", "Play"),
    (72, 24, 72, "Snap", None),
    (144, 24, 72, "1x", None),
    (216, 24, 72, "2x", None),
    (288, 24, 72, "Voice", None),
    (360, 24, 72, "DO", None),
    (144, 48, 72, "All", None),
    (216, 48, 72, "", None),  # None: a crossed circle
    (288, 48, 144, "Sequence On", "Sequence Off"),
]
SYMBOL_CELLS = [(0, 48, "CAM"), (72, 48, "PTZ")]
LABELS = [(0, 72, 144, "Module Selection"), (144, 72, 72, "Speed")]
CELL_HEIGHT = 24


def cell_face(canvas, x, y, w, face):
    """The two frames of a cell and its face."""
    canvas.frame(x, y, w, CELL_HEIGHT, BLACK)
    canvas.frame(x + 1, y + 1, w - 2, CELL_HEIGHT - 2, INNER_FRAME)
    if isinstance(face[0], tuple):
        canvas.shade(x + 2, y + 2, w - 4, CELL_HEIGHT - 4, face[0], face[1])
    else:
        canvas.fill(x + 2, y + 2, w - 4, CELL_HEIGHT - 4, face)


def centred_text(canvas, x, y, w, text, colour, bold=True, scale=1):
    top = y + (CELL_HEIGHT - tinyfont.CAP_HEIGHT * scale) // 2
    left = x + (w - tinyfont.text_width(text, bold, scale)) // 2
    tinyfont.draw_text(canvas, left, top, text, colour, bold, scale)


def crossed_circle(canvas, cx, cy, colour):
    canvas.ring(cx, cy, 7, colour)
    for d in (0, 1):
        canvas.line(cx - 5 + d, cy + 5, cx + 5 + d, cy - 5, colour)


def camera_symbol(canvas, x, cy, colour):
    """A video camera seen from the side, 18 x 9, its lens widening to the right."""
    canvas.fill(x, cy - 4, 12, 9, colour)
    for i in range(6):
        canvas.fill(x + 12 + i, cy - 1 - i // 2, 1, 3 + 2 * (i // 2), colour)


def ptz_symbol(canvas, cx, cy, colour):
    """Four arrowheads around a dot, 15 x 15: pan and tilt."""
    canvas.fill(cx - 1, cy - 1, 3, 3, colour)
    for i in range(3):
        for sign in (-1, 1):
            canvas.fill(cx - i, cy + sign * (7 - i), 2 * i + 1, 1, colour)
            canvas.fill(cx + sign * (7 - i), cy - i, 1, 2 * i + 1, colour)


def symbol_cell(canvas, x, y, name, look):
    cell_face(canvas, x, y, 72, look["light"])
    cy = y + CELL_HEIGHT // 2
    text_w = tinyfont.text_width(name, bold=True)
    symbol_w = 18 if name == "CAM" else 15
    left = x + (72 - (symbol_w + 5 + text_w)) // 2
    if name == "CAM":
        camera_symbol(canvas, left, cy, SYMBOL_BLUE)
    else:
        ptz_symbol(canvas, left + 7, cy, SYMBOL_BLUE)
    tinyfont.draw_text(canvas, left + symbol_w + 5, cy - 3, name, SYMBOL_BLUE, bold=True)


def draw_skin(look_name, scale=1):
    look = LOOKS[look_name]
    canvas = Canvas(WIDTH, HEIGHT, WHITE, scale)
    for x, y, w, caption, pressed_caption in BUTTONS:
        cell_face(canvas, x, y, w, look["face"])
        if look_name == "pressed" and pressed_caption:
            caption = pressed_caption
        if not caption:
            crossed_circle(canvas, x + w // 2, y + CELL_HEIGHT // 2, look["caption"])
        elif caption.isdigit():
            centred_text(canvas, x, y, w, caption, look["caption"], bold=False, scale=2)
        else:
            centred_text(canvas, x, y, w, caption, look["caption"])
    for x, y, name in SYMBOL_CELLS:
        symbol_cell(canvas, x, y, name, look)
    for x, y, w, text in LABELS:
        centred_text(canvas, x, y, w, text, BLACK, bold=False)
    return encode_bmp(canvas.width, canvas.height, canvas.rgb)


def draw_all():
    """File name -> bytes of every bitmap."""
    files = {name: draw_skin(look) for _, look, name in FILES}
    for _, look, name in FILES:
        files[name.replace(".bmp", "_2x.bmp")] = draw_skin(look, 2)
    _, name, w, h = BACKGROUND
    files[name] = encode_bmp(w, h, Canvas(w, h, WHITE).rgb)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--out", metavar="DIR")
    group.add_argument("--check", metavar="DIR")
    args = parser.parse_args()
    files = draw_all()
    if args.out:
        os.makedirs(args.out, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(args.out, name), "wb") as f:
                f.write(data)
        return 0
    stale = []
    for name, data in files.items():
        path = os.path.join(args.check, name)
        try:
            with open(path, "rb") as f:
                same = f.read() == data
        except OSError:
            same = False
        if not same:
            stale.append(name)
    for name in stale:
        print("%s differs from what skingen.py draws" % name)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
