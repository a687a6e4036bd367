"""A picture in memory with the few drawing operations the skins need."""


class Canvas:
    """Drawn in logical pixels; each is `scale` x `scale` pixels of the picture (rgb), and a
    shade blends over every row of the picture, so a 2x skin has a finer gradient."""

    def __init__(self, width, height, colour=(255, 255, 255), scale=1):
        self.scale = scale
        self.width = width * scale
        self.height = height * scale
        self.rgb = bytearray(bytes(colour) * (self.width * self.height))

    def _fill_pixels(self, x, y, w, h, colour):
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.width), min(y + h, self.height)
        if x1 <= x0:
            return
        line = bytes(colour) * (x1 - x0)
        for row in range(y0, y1):
            at = (row * self.width + x0) * 3
            self.rgb[at:at + len(line)] = line

    def put(self, x, y, colour):
        self.fill(x, y, 1, 1, colour)

    def fill(self, x, y, w, h, colour):
        s = self.scale
        self._fill_pixels(x * s, y * s, w * s, h * s, colour)

    def frame(self, x, y, w, h, colour):
        """A one-pixel rectangle just inside (x, y, w, h)."""
        self.fill(x, y, w, 1, colour)
        self.fill(x, y + h - 1, w, 1, colour)
        self.fill(x, y, 1, h, colour)
        self.fill(x + w - 1, y, 1, h, colour)

    def shade(self, x, y, w, h, top, bottom):
        """Rows blending from `top` at the first to `bottom` at the last."""
        s = self.scale
        rows = h * s
        for i in range(rows):
            t = i / (rows - 1) if rows > 1 else 0.0
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self._fill_pixels(x * s, y * s + i, w * s, 1, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def ring(self, cx, cy, radius, colour):
        """A circle about 1.5 pixels thick around the centre of pixel (cx, cy)."""
        for y in range(cy - radius - 1, cy + radius + 2):
            for x in range(cx - radius - 1, cx + radius + 2):
                if abs(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 - radius) < 0.75:
                    self.put(x, y, colour)
