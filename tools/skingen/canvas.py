"""A picture in memory with the few drawing operations the skins need."""


class Canvas:
    def __init__(self, width, height, colour=(255, 255, 255)):
        self.width = width
        self.height = height
        self.rgb = bytearray(bytes(colour) * (width * height))

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            at = (y * self.width + x) * 3
            self.rgb[at:at + 3] = bytes(colour)

    def fill(self, x, y, w, h, colour):
        for row in range(y, y + h):
            for col in range(x, x + w):
                self.put(col, row, colour)

    def frame(self, x, y, w, h, colour):
        """A one-pixel rectangle just inside (x, y, w, h)."""
        self.fill(x, y, w, 1, colour)
        self.fill(x, y + h - 1, w, 1, colour)
        self.fill(x, y, 1, h, colour)
        self.fill(x + w - 1, y, 1, h, colour)

    def shade(self, x, y, w, h, top, bottom):
        """Rows blending from `top` at the first to `bottom` at the last."""
        for i in range(h):
            t = i / (h - 1) if h > 1 else 0.0
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.fill(x, y + i, w, 1, colour)

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
