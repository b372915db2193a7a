"""Draws the application icon: a serial (D-sub) connector face on a blue rounded tile."""
import os

from imagefile import Canvas, ico_bytes, png_bytes

SIZES = (16, 20, 24, 32, 40, 48)
# The Linux desktop picks among PNGs by size; trays ask for 16 to 48, HiDPI ones for more.
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)
TILE = (28, 92, 180, 255)
TILE_EDGE = (14, 52, 112, 255)
SHELL = (235, 238, 242, 255)
SHELL_EDGE = (120, 128, 140, 255)
PIN = (38, 44, 56, 255)


def draw(size):
    s = size / 32.0
    c = Canvas(size, size)
    # Rounded tile: a rect with circles at the corners.
    r = 6 * s
    for color, inset in ((TILE_EDGE, 0.0), (TILE, 1.0 * s)):
        x0, y0, x1, y1 = 1 * s + inset, 1 * s + inset, 31 * s - inset, 31 * s - inset
        rr = max(r - inset, 1)
        c.fill_shape(lambda x, y, x0=x0, y0=y0, x1=x1, y1=y1, rr=rr:
                     x0 <= x <= x1 and y0 <= y <= y1 and
                     not ((x < x0 + rr or x > x1 - rr) and (y < y0 + rr or y > y1 - rr) and
                          min((x - cx) ** 2 + (y - cy) ** 2
                              for cx in (x0 + rr, x1 - rr) for cy in (y0 + rr, y1 - rr)) > rr * rr),
                     color)
    # D-sub shell: a trapezoid, wider at the top.
    c.polygon([(4 * s, 10 * s), (28 * s, 10 * s), (25 * s, 23 * s), (7 * s, 23 * s)], SHELL_EDGE)
    c.polygon([(5.5 * s, 11.2 * s), (26.5 * s, 11.2 * s), (24 * s, 21.8 * s), (8 * s, 21.8 * s)],
              SHELL)
    # Five pins on top, four below (a DE-9 face).
    pin_r = max(1.3 * s, 0.8)
    for i in range(5):
        c.circle((9 + 3.5 * i) * s, 14.3 * s, pin_r, PIN)
    for i in range(4):
        c.circle((10.75 + 3.5 * i) * s, 18.7 * s, pin_r, PIN)
    return c


def main(out_dir):
    with open(os.path.join(out_dir, "portmaven.ico"), "wb") as f:
        f.write(ico_bytes([draw(size) for size in SIZES]))
    for size in PNG_SIZES:
        with open(os.path.join(out_dir, "portmaven-%d.png" % size), "wb") as f:
            f.write(png_bytes(draw(size)))


if __name__ == "__main__":
    main(os.path.dirname(os.path.abspath(__file__)))
