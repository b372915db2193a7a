"""Draws the link cursor: a pointing hand, black outline on white, its index finger aimed at the
top-left corner, which is the hot spot."""
import math
import os

from imagefile import Canvas, cur_bytes

SIZE = 32
HOTSPOT = (0, 0)
OUTLINE = (0, 0, 0, 255)
FILL = (255, 255, 255, 255)
TILT = math.radians(45)  # the finger points at the top-left corner
OUTLINE_WIDTH = 1.1
SCALE = 1.1
FINGER_RADIUS = 2.5
TIP = (FINGER_RADIUS + OUTLINE_WIDTH) * SCALE


def capsule(ax, ay, bx, by, r):
    """Signed distance to a segment with round ends of radius r."""
    def sdf(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return sdf


def round_box(x0, y0, x1, y1, r):
    def sdf(x, y):
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    return sdf


# The hand in its own frame: finger tip at (0, 0), pointing up, palm below and to the right.
# Back to front: the palm first, so that every finger draws its outline over it.
PARTS = [
    round_box(-2.6, 11.0, 13.2, 23.5, 3.5),                 # palm
    capsule(-2.2, 17.5, -6.4, 12.2, 2.3),                   # thumb
    capsule(11.2, 12.6, 11.2, 15.0, 2.0),                   # little finger
    capsule(7.6, 11.4, 7.6, 14.8, 2.1),                     # ring finger
    capsule(3.9, 10.4, 3.9, 14.4, 2.2),                     # middle finger
    capsule(0.0, FINGER_RADIUS, 0.0, 14.0, FINGER_RADIUS),                      # index finger
]


def to_hand(x, y):
    """Canvas point to the hand's frame. The centre of the finger tip's round end sits at
    (TIP, TIP) on the canvas diagonal, so the finger ends at the top-left corner, the hot spot."""
    px, py = (x - TIP) / SCALE, (y - TIP) / SCALE
    c, s = math.cos(TILT), math.sin(TILT)
    # Mirrored, so that the folded fingers lie below the pointing one.
    return -(px * c - py * s), px * s + py * c + FINGER_RADIUS


def draw():
    c = Canvas(SIZE, SIZE)
    for part in PARTS:
        c.fill_shape(lambda x, y, p=part: p(*to_hand(x, y)) <= OUTLINE_WIDTH, OUTLINE)
        c.fill_shape(lambda x, y, p=part: p(*to_hand(x, y)) <= 0.0, FILL)
    return c


def main(out_dir):
    with open(os.path.join(out_dir, "link.cur"), "wb") as f:
        f.write(cur_bytes(draw(), HOTSPOT))


if __name__ == "__main__":
    main(os.path.dirname(os.path.abspath(__file__)))
