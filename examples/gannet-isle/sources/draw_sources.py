#!/usr/bin/env python3
"""Draws the pictures of the Gannet Isle example pack: the height and texture pictures of the
landscape, the sky panorama, the signal tower's texture and the menu pictures. Only the Python
standard library is used. The pack's build does not run this: it starts from the PNG files this
wrote, as it would from pictures an author drew in any painting program. Run it again after a
change here: python3 draw_sources.py
"""
import math
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent


# --- PNG writing ------------------------------------------------------------------------------

def write_png(path, width, height, rows, channels):
    """rows: a list of bytes objects, width * channels samples each (8 bits)."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = bytearray()
    previous = bytes(width * channels)
    for row in rows:
        # Each row takes whichever of "none", "sub" and "up" leaves the smallest sum: flat and
        # smoothly shaded areas then compress to little.
        candidates = [(0, row)]
        sub = bytes((row[i] - (row[i - channels] if i >= channels else 0)) & 255 for i in range(len(row)))
        up = bytes((row[i] - previous[i]) & 255 for i in range(len(row)))
        candidates += [(1, sub), (2, up)]
        kind, filtered = min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))
        raw.append(kind)
        raw += filtered
        previous = row
    colour_type = {1: 0, 3: 2}[channels]
    header = struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(colour) for _ in range(width * height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = list(colour)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def blend(self, x, y, colour, amount):
        if 0 <= x < self.width and 0 <= y < self.height and amount > 0:
            p = self.pixels[y * self.width + x]
            a = min(1.0, amount)
            self.pixels[y * self.width + x] = [round(p[i] * (1 - a) + colour[i] * a) for i in range(3)]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y * self.width + x] = list(colour)

    def polygon(self, points, colour):
        """Fills a polygon, with the edges smoothed by 4 x 4 samples per pixel."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        for y in range(max(0, int(min(ys))), min(self.height, int(max(ys)) + 2)):
            for x in range(max(0, int(min(xs))), min(self.width, int(max(xs)) + 2)):
                inside = 0
                for sy in range(4):
                    for sx in range(4):
                        if point_in_polygon(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4, points):
                            inside += 1
                self.blend(x, y, colour, inside / 16)

    def ellipse(self, cx, cy, rx, ry, colour):
        steps = 48
        self.polygon([(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
                      for i in range(steps)], colour)

    def vertical_gradient(self, y0, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            c = [round(top[i] + (bottom[i] - top[i]) * t) for i in range(3)]
            self.rect(0, y, self.width, y + 1, c)

    def text(self, x, y, words, colour, scale=1):
        for ch in words:
            glyph = FONT.get(ch, FONT[' '])
            for row, bits in enumerate(glyph):
                for column in range(5):
                    if bits >> (4 - column) & 1:
                        self.rect(x + column * scale, y + row * scale, x + (column + 1) * scale, y + (row + 1) * scale, colour)
            x += 6 * scale

    def save(self, name):
        rows = [bytes(v for p in self.pixels[y * self.width:(y + 1) * self.width] for v in p) for y in range(self.height)]
        write_png(HERE / name, self.width, self.height, rows, 3)


def point_in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def text_width(words, scale=1):
    return len(words) * 6 * scale - scale


# A 5 x 7 capital letter font: one number per row, the leftmost pixel in bit 4.
FONT = {
    ' ': [0, 0, 0, 0, 0, 0, 0], "'": [4, 4, 8, 0, 0, 0, 0], '+': [0, 4, 4, 31, 4, 4, 0],
    'A': [14, 17, 17, 31, 17, 17, 17], 'C': [14, 17, 16, 16, 16, 17, 14], 'E': [31, 16, 16, 30, 16, 16, 31],
    'G': [14, 17, 16, 23, 17, 17, 15], 'H': [17, 17, 17, 31, 17, 17, 17], 'I': [14, 4, 4, 4, 4, 4, 14],
    'K': [17, 18, 20, 24, 20, 18, 17], 'L': [16, 16, 16, 16, 16, 16, 31], 'M': [17, 27, 21, 21, 17, 17, 17],
    'N': [17, 25, 21, 19, 17, 17, 17], 'O': [14, 17, 17, 17, 17, 17, 14], 'R': [30, 17, 17, 30, 20, 18, 17],
    'S': [15, 16, 16, 14, 1, 1, 30], 'T': [31, 4, 4, 4, 4, 4, 4], 'U': [17, 17, 17, 17, 17, 17, 14],
}


# --- The landscape ----------------------------------------------------------------------------
# World metres: x east, z north, 2048 m a side. The island lies in the middle; the helipad on its
# northern plain; the smugglers' signal tower 250 m south of it, on the same plain, with the
# hills to the east and west of the line between them.

HELIPAD = (1024.0, 1250.0)
TOWER = (1024.0, 1000.0)
PLAIN = 8.0  # metres above the sea


def island_shape(x, z):
    """1 well inside the island, 0 out at sea, with a wavy coast."""
    dx, dz = x - 1024, z - 1110
    angle = math.atan2(dz, dx)
    radius = 430 + 40 * math.sin(3 * angle) + 25 * math.sin(7 * angle + 1)
    distance = math.hypot(dx, dz * 1.1)
    return min(1.0, max(0.0, (radius - distance) / 60))


def flattening(x, z, centre, inner, outer):
    d = math.hypot(x - centre[0], z - centre[1])
    if d <= inner:
        return 1.0
    if d >= outer:
        return 0.0
    t = (outer - d) / (outer - inner)
    return t * t * (3 - 2 * t)


def height(x, z):
    shape = island_shape(x, z)
    if shape <= 0:
        return 0.0
    # Hills east and west of the middle strip, none on it.
    side = min(1.0, max(0.0, (abs(x - 1024) - 60) / 120))
    hills = (0.55 + 0.45 * math.sin(x / 70) * math.cos(z / 55)) * (0.6 + 0.4 * math.sin(z / 130 + 2))
    ground = PLAIN + 95 * side * hills * shape
    ground = ground * shape
    for centre in (HELIPAD, TOWER):
        f = flattening(x, z, centre, 30, 70)
        ground = ground * (1 - f) + PLAIN * f
    return ground


def draw_landscape():
    heights = [[0.0] * 512 for _ in range(512)]
    for sz in range(512):
        for sx in range(512):
            heights[sz][sx] = height(sx * 4.0, sz * 4.0)
    # 8 bits, a metre a level; the picture's top row is the north edge.
    rows = [bytes(min(255, round(heights[511 - y][x])) for x in range(512)) for y in range(512)]
    write_png(HERE / 'heights.png', 512, 512, rows, 1)

    def h(sx, sz):
        return heights[sz % 512][sx % 512]

    texture = Canvas(1024, 1024)
    for ty in range(1024):
        tz = 1023 - ty
        for tx in range(1024):
            x, z = tx * 2.0, tz * 2.0
            sx, sz = tx // 2, tz // 2
            ground = h(sx, sz)
            slope_x = (h(sx + 1, sz) - h(sx - 1, sz)) / 8
            slope_z = (h(sx, sz + 1) - h(sx, sz - 1)) / 8
            # Lit from the north west, in eight steps so that the picture stays small.
            light = round(max(0.55, min(1.25, 0.95 - 0.9 * slope_x + 0.9 * slope_z)) * 8) / 8
            if ground < 0.5:
                near = island_shape(x * 0.96 + 41, z * 0.96 + 44)  # a shallow rim round the coast
                colour = (24, 74, 136) if near <= 0 else (40, 110, 150)
                light = 1.0
            elif ground < 3.5:
                colour = (206, 190, 136)
            elif ground < 55:
                colour = (74, 122, 52) if (int(x / 90) + int(z / 70)) % 3 else (92, 132, 58)
            else:
                colour = (128, 118, 100)
            texture.set(tx, ty, [min(255, round(c * light)) for c in colour])
    paint_helipad(texture)
    # Trodden ground round the tower.
    for ty in range(1024):
        for tx in range(1024):
            d = math.hypot(tx * 2.0 - TOWER[0], (1023 - ty) * 2.0 - TOWER[1])
            if d < 14:
                texture.set(tx, ty, (120, 104, 80))
    texture.save('texture.png')


def paint_helipad(texture):
    """A 24 m dark square with a white rim and an H, on the helipad."""
    cx, cy = int(HELIPAD[0] / 2), 1023 - int(HELIPAD[1] / 2)
    texture.rect(cx - 6, cy - 6, cx + 6, cy + 6, (235, 235, 230))
    texture.rect(cx - 5, cy - 5, cx + 5, cy + 5, (58, 60, 64))
    texture.rect(cx - 3, cy - 3, cx - 1, cy + 4, (235, 235, 230))
    texture.rect(cx + 1, cy - 3, cx + 3, cy + 4, (235, 235, 230))
    texture.rect(cx - 1, cy, cx + 1, cy + 1, (235, 235, 230))


def draw_sky():
    """720 x 320: west at the left, north in the middle, east at the right; the horizon halfway."""
    sky = Canvas(720, 320)
    sky.vertical_gradient(0, 160, (52, 98, 176), (176, 204, 226))
    sky.vertical_gradient(160, 320, (150, 180, 200), (70, 110, 140))
    for cx, cy, rx, ry in [(90, 70, 60, 12), (130, 60, 40, 10), (330, 95, 80, 14), (520, 50, 50, 9), (610, 85, 70, 12)]:
        for k in range(3):
            sky.ellipse(cx + k * rx // 3 - rx // 3, cy - k * 2, rx * (1 - 0.2 * k), ry, (236, 240, 244))
    sky.save('sky.png')


# --- The signal tower's texture: four 32 x 32 quarters -----------------------------------------

def draw_tower_texture():
    t = Canvas(64, 64)
    for y in range(32):  # top left: the mast, red and white bands
        t.rect(0, y, 32, y + 1, (200, 40, 36) if (y // 4) % 2 == 0 else (236, 232, 226))
    t.rect(32, 0, 64, 32, (120, 124, 128))  # top right: the cabin, with a window band
    t.rect(34, 10, 62, 18, (40, 60, 80))
    t.rect(0, 32, 32, 64, (60, 56, 52))  # bottom left: the roof
    t.rect(32, 32, 64, 64, (250, 210, 60))  # bottom right: the lamp
    t.save('tower.png')


# --- Menu pictures ----------------------------------------------------------------------------

def name_plate(name, words):
    plate = Canvas(100, 28, (28, 36, 48))
    plate.rect(1, 1, 99, 27, (46, 62, 84))
    plate.text((100 - text_width(words)) // 2, 10, words, (250, 236, 180))
    plate.save(f'pictures/{name}_title.png')
    mask = Canvas(100, 28, (255, 255, 255))
    for x, y in [(0, 0), (99, 0), (0, 27), (99, 27)]:
        mask.set(x, y, (0, 0, 0))
    mask.save(f'pictures/{name}_title_mask.png')


def helicopter_side(canvas, x, y, scale, body):
    # The helicopter screen's chart covers the top 140 rows and the name plate sits at row 265.
    """A side view facing right, its skids at (x, y)."""
    def p(px, py):
        return (x + px * scale, y - py * scale)
    canvas.polygon([p(-10, 8), p(-4, 12), p(10, 12), p(15, 8), p(14, 5), p(-8, 4)], body)       # cabin
    canvas.polygon([p(4, 11), p(10, 11.5), p(14, 8), p(9, 8)], (150, 200, 230))                # glass
    canvas.polygon([p(-30, 9), p(-9, 10), p(-9, 7), p(-30, 8)], body)                          # boom
    canvas.polygon([p(-32, 15), p(-28, 15), p(-27, 8), p(-31, 8)], body)                       # fin
    canvas.polygon([p(-22, 15.5), p(26, 15.5), p(26, 14.8), p(-22, 14.8)], (40, 40, 44))        # rotor
    canvas.polygon([p(1, 12), p(3, 12), p(3, 15), p(1, 15)], (40, 40, 44))                      # mast
    canvas.polygon([p(-8, 0.8), p(12, 0.8), p(12, 0), p(-8, 0)], (40, 40, 44))                  # skid
    canvas.polygon([p(-4, 4), p(-3, 4), p(-3, 0.5), p(-4, 0.5)], (40, 40, 44))
    canvas.polygon([p(8, 4), p(9, 4), p(9, 0.5), p(8, 0.5)], (40, 40, 44))


def draw_pictures():
    splash = Canvas(240, 320)
    splash.vertical_gradient(0, 200, (36, 46, 90), (236, 150, 90))
    splash.vertical_gradient(200, 320, (30, 60, 96), (12, 30, 52))
    splash.polygon([(0, 200), (60, 186), (120, 192), (200, 180), (240, 188), (240, 202), (0, 202)], (30, 40, 36))
    splash.polygon([(150, 184), (156, 120), (160, 120), (166, 184)], (40, 30, 30))             # the tower
    splash.ellipse(158, 116, 6, 6, (255, 230, 120))
    words = "SMUGGLERS' LIGHT"
    splash.text((240 - text_width(words, 2)) // 2, 40, words, (255, 244, 214), 2)
    splash.save('pictures/mission_splash.png')

    chopper = Canvas(240, 320)
    chopper.vertical_gradient(0, 320, (120, 170, 214), (226, 236, 240))
    helicopter_side(chopper, 128, 200, 3.2, (226, 226, 222))
    chopper.save('pictures/gannet_splash.png')
    name_plate('gannet', 'GANNET')

    plan = Canvas(240, 150, (22, 30, 40))
    plan.ellipse(120, 70, 16, 40, (210, 210, 206))                 # cabin, nose up
    plan.rect(117, 100, 123, 146, (210, 210, 206))                 # tail boom
    plan.ellipse(120, 48, 9, 12, (120, 170, 210))                  # glass
    plan.polygon([(62, 88), (178, 88), (192, 96), (48, 96)], (170, 170, 166))  # stub wings to the pylons
    plan.save('pictures/gannet_loadout.png')

    weapon = Canvas(240, 320)
    weapon.vertical_gradient(0, 320, (40, 44, 52), (16, 18, 22))
    # The loadout screen covers the top with the helicopter's plan and the weapon's figures: the
    # pod lies in the band it leaves free above the name plate.
    weapon.rect(40, 224, 196, 256, (96, 104, 92))
    for row in range(2):
        for column in range(3):
            weapon.ellipse(54 + column * 12, 233 + row * 13, 4, 4, (30, 30, 30))  # the tubes' ends
    weapon.polygon([(196, 224), (218, 240), (196, 256)], (200, 60, 40))
    weapon.save('pictures/gull_splash.png')
    name_plate('gull', 'GULL ROCKETS')

    for name, plus in (('gull_pylon', False), ('gull_add', True)):
        pylon = Canvas(45, 35, (50, 56, 64))
        pylon.rect(8, 12, 34, 24, (110, 118, 104))
        pylon.polygon([(34, 12), (41, 18), (34, 24)], (200, 60, 40))
        if plus:
            pylon.text(2, 2, '+', (250, 236, 180))
        pylon.save(f'pictures/{name}.png')


if __name__ == '__main__':
    draw_landscape()
    draw_sky()
    draw_tower_texture()
    draw_pictures()
