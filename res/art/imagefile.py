"""Tiny raster canvas and writers for the image formats Portmaven's resources use (the Windows
formats, and PNG for the Linux desktop).

Only the standard library: the art is drawn by code, so every picture can be regenerated
(`python3 res/art/draw_all.py`) and reviewed as a diff of its drawing code.
"""
import struct
import zlib


class Canvas:
    """An RGBA canvas drawn with supersampled shapes (anti-aliased edges)."""

    SS = 4  # supersampling factor per axis

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[background for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, color, coverage=1.0):
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        r, g, b, a = color
        a = a / 255.0 * min(coverage, 1.0)
        dr, dg, db, da = self.pixels[y][x]
        da = da / 255.0
        out_a = a + da * (1 - a)
        if out_a <= 0:
            self.pixels[y][x] = (0, 0, 0, 0)
            return
        mix = lambda s, d: (s * a + d * da * (1 - a)) / out_a
        self.pixels[y][x] = (round(mix(r, dr)), round(mix(g, dg)), round(mix(b, db)),
                             round(out_a * 255))

    def fill_shape(self, inside, color, bounds=None):
        """Fills every pixel by the share of its subsamples for which inside(x, y) holds."""
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        n = self.SS
        for py in range(max(0, int(y0)), min(self.height, int(y1) + 1)):
            for px in range(max(0, int(x0)), min(self.width, int(x1) + 1)):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(px + (sx + 0.5) / n, py + (sy + 0.5) / n):
                            hits += 1
                if hits:
                    self.blend(px, py, color, hits / (n * n))

    def rect(self, x0, y0, x1, y1, color):
        self.fill_shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, color):
        self.fill_shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color,
                        (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))

    def ring(self, cx, cy, r_outer, r_inner, color):
        self.fill_shape(lambda x, y: r_inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_outer ** 2,
                        color, (cx - r_outer - 1, cy - r_outer - 1, cx + r_outer + 1,
                                cy + r_outer + 1))

    def polygon(self, points, color):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        self.fill_shape(inside, color, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, color):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            length2 = dx * dx + dy * dy or 1e-9
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            qx, qy = x0 + t * dx, y0 + t * dy
            return (x - qx) ** 2 + (y - qy) ** 2 <= (width / 2) ** 2
        pad = width
        self.fill_shape(inside, color, (min(x0, x1) - pad, min(y0, y1) - pad, max(x0, x1) + pad,
                                        max(y0, y1) + pad))

    def flattened(self, background):
        """Opaque copy of the pixels over a solid background colour (for 24-bit bitmaps)."""
        out = Canvas(self.width, self.height, background + (255,))
        for y in range(self.height):
            for x in range(self.width):
                r, g, b, a = self.pixels[y][x]
                out.blend(x, y, (r, g, b, 255), a / 255.0)
        return out


def _rows_bottom_up_bgr(canvas):
    stride = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b, _ = canvas.pixels[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        data += row
    return bytes(data)


def bmp_bytes(canvas):
    """A 24 bits-per-pixel BMP file."""
    pixels = _rows_bottom_up_bgr(canvas)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels),
                         2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    return file_header + header + pixels


def _bgra_bottom_up(canvas):
    """The canvas's pixels as DIBs store them: bottom row first, blue, green, red, alpha."""
    data = bytearray()
    for y in reversed(range(canvas.height)):
        for x in range(canvas.width):
            r, g, b, a = canvas.pixels[y][x]
            data += bytes((b, g, r, a))
    return data


def bmp32_bytes(canvas):
    """A 32 bits-per-pixel BMP file: blue, green, red and straight (not premultiplied) alpha."""
    pixels = _bgra_bottom_up(canvas)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 32, 0, len(pixels),
                         2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    return file_header + header + bytes(pixels)


def _and_mask(canvas, opaque):
    stride = ((canvas.width + 31) // 32) * 4
    data = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            if not opaque(canvas.pixels[y][x]):
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def _icon_image_32(canvas):
    """A DIB entry of an icon: 32 bits per pixel with alpha, plus the AND mask."""
    xor = _bgra_bottom_up(canvas)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0,
                         len(xor), 0, 0, 0, 0)
    return header + bytes(xor) + _and_mask(canvas, lambda p: p[3] >= 128)


def ico_bytes(canvases):
    """An icon file holding one image per canvas (square sizes up to 255)."""
    images = [_icon_image_32(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32,
                           len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def cur_bytes(canvas, hotspot):
    """A two-colour cursor file: opaque dark pixels are black, opaque light ones white, the rest
    transparent."""
    stride = ((canvas.width + 31) // 32) * 4
    xor = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            r, g, b, a = canvas.pixels[y][x]
            if a >= 128 and (r + g + b) > 384:
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    and_mask = _and_mask(canvas, lambda p: p[3] >= 128)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 1, 0,
                         len(xor) + len(and_mask), 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + bytes(xor) + and_mask
    entry = struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 2, 0, hotspot[0],
                        hotspot[1], len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def png_bytes(canvas):
    """A PNG of the canvas: 8-bit RGBA, no filtering, one compressed data chunk."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
