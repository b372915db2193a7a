"""Draws the small pictures shown beside the tray menu's items, each at every size the menu asks
for (16, 20, 24 and 32 pixels), as 32-bit bitmaps with straight alpha.

Every picture is drawn once, in a square of 16 units, and rendered at each size by scaling its
shapes rather than its pixels, so that each size has its own anti-aliased edges. The pictures keep
a margin of about a unit and a half: the menu shows them in its check-mark box, which can be a
little smaller than the picture, and only the margin is lost then."""
import math
import os

from imagefile import Canvas, bmp32_bytes, png_bytes

SIZES = (16, 20, 24, 32)
UNITS = 16


class ScaledCanvas:
    """A canvas of `size` pixels drawn in units of a 16-unit square; a picture `width` x `height`
    units large is centred in it."""

    def __init__(self, size, width, height):
        self.canvas = Canvas(size, size)
        self.k = size / UNITS
        self.ox = (UNITS - width) / 2
        self.oy = (UNITS - height) / 2

    def _x(self, x):
        return (x + self.ox) * self.k

    def _y(self, y):
        return (y + self.oy) * self.k

    def rect(self, x0, y0, x1, y1, color):
        self.canvas.rect(self._x(x0), self._y(y0), self._x(x1), self._y(y1), color)

    def circle(self, cx, cy, r, color):
        self.canvas.circle(self._x(cx), self._y(cy), r * self.k, color)

    def line(self, x0, y0, x1, y1, width, color):
        self.canvas.line(self._x(x0), self._y(y0), self._x(x1), self._y(y1), width * self.k, color)

    def polygon(self, points, color):
        self.canvas.polygon([(self._x(x), self._y(y)) for x, y in points], color)

    def fill_shape(self, inside, color):
        self.canvas.fill_shape(lambda x, y: inside(x / self.k - self.ox, y / self.k - self.oy),
                               color)


def port_plug(size):
    """13 x 12 units: a serial connector plug seen from the side, cable leaving to the left."""
    c = ScaledCanvas(size, 13, 12)
    c.line(0.5, 6, 4, 6, 2.2, (60, 60, 70, 255))                           # cable
    c.rect(3.5, 3, 6.5, 9, (90, 96, 110, 255))                              # strain relief
    c.polygon([(6, 1), (11, 2.5), (11, 9.5), (6, 11)], (70, 110, 170, 255))  # hood
    c.polygon([(6.8, 2), (10.2, 3.1), (10.2, 8.9), (6.8, 10)], (120, 160, 215, 255))
    c.rect(11, 3.5, 12.8, 8.5, (185, 190, 200, 255))                        # metal shell
    for y in (4.5, 6, 7.5):
        c.rect(11.3, y - 0.35, 12.8, y + 0.35, (60, 60, 70, 255))           # pins
    return c.canvas


def command_gear(size):
    """12 x 13 units: a light gear-like glyph on a dark square in a pale yellow frame."""
    c = ScaledCanvas(size, 12, 13)
    c.rect(0, 0, 12, 13, (250, 236, 160, 255))
    c.rect(1, 1, 11, 12, (52, 56, 66, 255))
    cx, cy = 6, 6.5
    teeth = 8
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        c.line(cx + 1.5 * math.cos(a), cy + 1.5 * math.sin(a),
               cx + 3.9 * math.cos(a), cy + 3.9 * math.sin(a), 1.4, (235, 235, 228, 255))
    c.circle(cx, cy, 2.9, (235, 235, 228, 255))
    c.circle(cx, cy, 1.1, (52, 56, 66, 255))
    return c.canvas


def computer(size):
    """13 x 13 units: a monitor on a stand beside a tower."""
    c = ScaledCanvas(size, 13, 13)
    c.rect(0, 1, 9, 8, (70, 74, 84, 255))            # monitor bezel
    c.rect(1, 2, 8, 7, (90, 170, 230, 255))          # screen
    c.line(2, 3, 5, 3, 0.8, (200, 230, 250, 255))    # glare
    c.rect(3.5, 8, 5.5, 10, (110, 114, 124, 255))    # neck
    c.rect(1.5, 10, 7.5, 11.2, (110, 114, 124, 255)) # foot
    c.rect(9.5, 2, 13, 12.5, (70, 74, 84, 255))      # tower
    c.rect(10.2, 2.7, 12.3, 11.8, (190, 194, 202, 255))
    c.rect(10.6, 4, 11.9, 4.7, (70, 74, 84, 255))    # drive slot
    c.circle(11.25, 9.8, 0.6, (60, 190, 90, 255))    # power light
    return c.canvas


def settings(size):
    """11 x 11 units: a small multicoloured settings picture: three sliders on a panel."""
    c = ScaledCanvas(size, 11, 11)
    c.rect(0, 0, 11, 11, (120, 120, 130, 255))
    c.rect(1, 1, 10, 10, (250, 250, 250, 255))
    for y, knob, colour in ((2.5, 7, (220, 60, 50, 255)), (5.5, 3.5, (50, 160, 70, 255)),
                            (8.5, 6, (50, 100, 210, 255))):
        c.line(2, y, 9, y, 0.9, (150, 150, 160, 255))
        c.rect(knob - 1, y - 1.3, knob + 1, y + 1.3, colour)
    return c.canvas


def about(size):
    """12 x 12 units: a white question mark on a blue disc."""
    c = ScaledCanvas(size, 12, 12)
    c.circle(6, 6, 5.9, (22, 80, 170, 255))
    c.circle(6, 6, 5.0, (50, 120, 220, 255))
    white = (255, 255, 255, 255)
    # The hook: an arc over the top, then down to the centre.
    steps = 10
    points = [(6 + 2.2 * math.cos(math.pi * (1.1 - 1.5 * i / steps)),
               4.3 - 2.0 * math.sin(math.pi * (1.1 - 1.5 * i / steps))) for i in range(steps + 1)]
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        c.line(x0, y0, x1, y1, 1.5, white)
    c.line(points[-1][0], points[-1][1], 6, 7.0, 1.5, white)
    c.circle(6, 9.1, 0.95, white)
    return c.canvas


def exit_power(size):
    """13 x 13 units: a white power symbol on a red square."""
    c = ScaledCanvas(size, 13, 13)
    c.rect(0, 0, 13, 13, (150, 20, 20, 255))
    c.rect(0.8, 0.8, 12.2, 12.2, (210, 40, 40, 255))
    white = (255, 255, 255, 255)
    cx, cy, r = 6.5, 7, 3.6
    # The broken ring: open at the top where the stroke passes.
    c.fill_shape(lambda x, y: (r - 0.8) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= (r + 0.8) ** 2
                 and not (y < cy and abs(x - cx) < 1.9), white)
    c.line(cx, 2.2, cx, 6.6, 1.6, white)
    return c.canvas


PICTURES = {
    "menu_port": port_plug,
    "menu_command": command_gear,
    "menu_device_manager": computer,
    "menu_properties": settings,
    "menu_about": about,
    "menu_exit": exit_power,
}


def main(out_dir):
    for name, draw in PICTURES.items():
        for size in SIZES:
            picture = draw(size)
            with open(os.path.join(out_dir, f"{name}_{size}.bmp"), "wb") as f:
                f.write(bmp32_bytes(picture))
            # The Linux program's own pictures, for icon themes that lack the names it asks for.
            with open(os.path.join(out_dir, f"{name}_{size}.png"), "wb") as f:
                f.write(png_bytes(picture))


if __name__ == "__main__":
    main(os.path.dirname(os.path.abspath(__file__)))
