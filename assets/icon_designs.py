"""The program icon and the eight image-button icons of the main window, drawn as vector shapes.

Every button icon is a rounded tile in its own colour with a white symbol on it, so the bar
reads as one family. Strokes have a minimum width in pixels, so that the symbols stay crisp at
16 and 20 pixels, and the smallest sizes leave out details that would only blur.
"""

import math

from raster import (Canvas, arc, box, capsule, circle, grow, hex_colour, intersect, linear,
                    polygon, polyline, quadratic, rect, ring, rotate, solid, subtract, translate,
                    union)

WHITE = hex_colour("#ffffff")


class Pen:
    """Stroke widths for one pixel size: design half widths, never thinner than min_px."""

    def __init__(self, size):
        self.size = size
        self.pixel = 1.0 / size

    def half(self, design_half, min_px=1.5):
        return max(design_half, min_px * self.pixel / 2.0)

    @property
    def small(self):
        return self.size <= 20

    @property
    def detailed(self):
        return self.size >= 32


# ---------------------------------------------------------------------------------------------
# The tile shared by the button icons


def _tile(canvas, pen, top, bottom):
    margin = 0.5 * pen.pixel if pen.small else 0.0625
    radius = 0.2
    body = rect(margin, margin, 1.0 - margin, 1.0 - margin - (0.0 if pen.small else 0.02), radius)
    if not pen.small:
        canvas.fill(translate(body, 0.0, 0.02), solid(hex_colour("#000000", 0.28)),
                    softness=0.035)
    x0, y0, x1, y1 = body.bbox
    canvas.fill(body, linear(0.0, y0, 0.0, y1, [(0.0, hex_colour(top)), (1.0, hex_colour(bottom))]))
    if pen.detailed:
        # A faint light rim along the upper edge gives the tile a little depth.
        rim = subtract(body, translate(body, 0.0, 0.018))
        canvas.fill(rim, solid(hex_colour("#ffffff", 0.35)))
    return (x0 + x1) / 2.0, (y0 + y1) / 2.0


def _symbol(canvas, pen, shapes):
    """Draws white shapes with a soft shadow below them on tiles of 32 pixels and more."""
    if pen.detailed:
        for shape, opacity in shapes:
            canvas.fill(translate(shape, 0.0, 0.018), solid(hex_colour("#000000", 0.22 * opacity)),
                        softness=0.015)
    for shape, opacity in shapes:
        canvas.fill(shape, solid(WHITE), opacity=opacity)


def _star(cx, cy, outer, inner_ratio=0.32):
    points = []
    for k in range(8):
        r = outer if k % 2 == 0 else outer * inner_ratio
        angle = math.pi / 2.0 + k * math.pi / 4.0
        points.append((cx + r * math.cos(angle), cy - r * math.sin(angle)))
    return polygon(points)


# ---------------------------------------------------------------------------------------------
# Button symbols; each returns [(shape, opacity)] centred on (cx, cy).


def _home(pen, cx, cy):
    w = pen.half(0.05, 2.0)
    roof = polyline([(cx - 0.27, cy - 0.01), (cx, cy - 0.25), (cx + 0.27, cy - 0.01)], w)
    body = rect(cx - 0.17, cy - 0.06, cx + 0.17, cy + 0.24, 0.03)
    door_w = max(0.055, 1.2 * pen.pixel)
    door = rect(cx - door_w, cy + 0.07, cx + door_w, cy + 0.3, 0.02)
    shapes = [(union(roof, subtract(body, door)), 1.0)]
    if pen.detailed:
        shapes.append((rect(cx + 0.1, cy - 0.22, cx + 0.17, cy - 0.1, 0.01), 1.0))
    return shapes


def _checklist(pen, cx, cy):
    shapes = []
    rows = (-0.16, 0.0, 0.16)
    bar = pen.half(0.035, 2.0)
    for dy in rows:
        y = cy + dy
        if pen.small:
            mark = rect(cx - 0.25, y - 0.055, cx - 0.14, y + 0.055, 0.015)
        else:
            mark = polyline([(cx - 0.25, y - 0.005), (cx - 0.2, y + 0.045), (cx - 0.11, y - 0.055)],
                            pen.half(0.028, 1.6))
        line = capsule(cx - 0.03, y, cx + 0.25, y, bar)
        shapes.append((union(mark, line), 1.0))
    return shapes


def _broom(pen, cx, cy):
    handle = capsule(cx, cy - 0.33, cx, cy - 0.02, pen.half(0.032, 1.8))
    band = rect(cx - 0.1, cy - 0.04, cx + 0.1, cy + 0.04, 0.02)
    head = polygon([(cx - 0.12, cy + 0.06), (cx + 0.12, cy + 0.06), (cx + 0.18, cy + 0.3),
                    (cx - 0.18, cy + 0.3)], 0.012)
    if not pen.small:
        gap = pen.half(0.011, 0.9)
        cuts = [capsule(cx + dx * 0.45, cy + 0.16, cx + dx, cy + 0.36, gap)
                for dx in (-0.09, 0.0, 0.09)]
        head = subtract(head, *cuts)
    broom = rotate(union(handle, band, head), 35.0, cx, cy)
    broom = translate(broom, 0.04, -0.02)
    shapes = [(broom, 1.0)]
    if not pen.small:
        shapes.append((_star(cx + 0.2, cy + 0.2, 0.1), 1.0))
        if pen.size >= 48:
            shapes.append((_star(cx + 0.26, cy - 0.02, 0.055), 0.85))
    return shapes


def _magnifier(pen, cx, cy):
    lx, ly, r = cx - 0.05, cy - 0.06, 0.16
    lens = ring(lx, ly, r, pen.half(0.045, 2.0))
    reach = r + 0.02
    handle = capsule(lx + reach * 0.707, ly + reach * 0.707, cx + 0.25, cy + 0.25,
                     pen.half(0.06, 2.4))
    shapes = [(union(lens, handle), 1.0)]
    if pen.size >= 48:
        s = 0.06
        cross = union(capsule(lx - s, ly - s, lx + s, ly + s, 0.022),
                      capsule(lx - s, ly + s, lx + s, ly - s, 0.022))
        shapes.append((cross, 1.0))
    return shapes


def _gear(pen, cx, cy):
    teeth = 6 if pen.small else 8
    tooth_half = 0.075 if pen.small else 0.058
    parts = [circle(cx, cy, 0.2)]
    for k in range(teeth):
        tooth = box(cx, cy - 0.245, tooth_half, 0.075, 0.018)
        parts.append(rotate(tooth, k * 360.0 / teeth, cx, cy))
    hole = circle(cx, cy, max(0.08, 2.0 * pen.pixel))
    return [(subtract(union(*parts), hole), 1.0)]


def _shredder(pen, cx, cy):
    if pen.small:
        # Pixel-sized parts: a sheet, a gap, the slot, a gap, four strips.
        p = pen.pixel
        paper = rect(cx - 3.5 * p, cy - 6.0 * p, cx + 3.5 * p, cy - 1.0 * p)
        slot = rect(cx - 6.0 * p, cy - 0.0 * p, cx + 6.0 * p, cy + 2.0 * p, 0.5 * p)
        shapes = [(paper, 1.0), (slot, 1.0)]
        for k in range(4):
            x = cx + (-3.5 + 2.0 * k) * p
            shapes.append((rect(x - 0.5 * p, cy + 3.0 * p, x + 0.5 * p,
                                cy + (5.5 + (k % 2)) * p), 0.95))
        return shapes
    top = cy - 0.29
    paper = polygon([(cx - 0.17, top), (cx + 0.09, top), (cx + 0.17, top + 0.08),
                     (cx + 0.17, cy - 0.06), (cx - 0.17, cy - 0.06)], 0.012)
    if pen.detailed:
        fold = polygon([(cx + 0.09, top), (cx + 0.09, top + 0.08), (cx + 0.17, top + 0.08)])
        lines = [capsule(cx - 0.1, top + y, cx + 0.1, top + y, 0.014) for y in (0.12, 0.19)]
        paper = subtract(paper, grow(fold, 0.02), *lines)
    slot = rect(cx - 0.28, cy - 0.02, cx + 0.28, cy + 0.09, 0.035)
    shapes = [(paper, 1.0), (slot, 1.0)]
    xs, lengths = (-0.14, -0.07, 0.0, 0.07, 0.14), (0.25, 0.21, 0.27, 0.2, 0.24)
    strip = pen.half(0.022, 1.3)
    for x, length in zip(xs, lengths):
        shapes.append((capsule(cx + x, cy + 0.14, cx + x, cy + 0.05 + length, strip), 0.92))
    return shapes


def _cube_faces(cx, cy, s, gap, shades=(1.0, 0.82, 0.62)):
    h = s * math.sqrt(3.0) / 2.0
    top_v, ur, lr = (cx, cy - s), (cx + h, cy - s / 2.0), (cx + h, cy + s / 2.0)
    bottom, ll, ul = (cx, cy + s), (cx - h, cy + s / 2.0), (cx - h, cy - s / 2.0)
    centre = (cx, cy)
    faces = [
        (polygon([top_v, ur, centre, ul]), shades[0]),
        (polygon([ul, centre, bottom, ll]), shades[1]),
        (polygon([centre, ur, lr, bottom]), shades[2]),
    ]
    return [(grow(face, -gap), opacity) for face, opacity in faces]


def _cubes(pen, cx, cy):
    if pen.small:
        return _cube_faces(cx, cy + 0.01, 0.31, 0.6 * pen.pixel, (1.0, 0.72, 0.45))
    gap = max(0.012, 0.45 * pen.pixel)
    s = 0.17 if pen.size < 64 else 0.155
    h = s * math.sqrt(3.0) / 2.0
    apart = h + max(0.012, 0.5 * pen.pixel)
    shapes = []
    shapes += _cube_faces(cx - apart, cy + 0.8 * s, s, gap)
    shapes += _cube_faces(cx + apart, cy + 0.8 * s, s, gap)
    shapes += _cube_faces(cx, cy - 0.85 * s, s, gap)
    return shapes


def _power(pen, cx, cy):
    w = pen.half(0.048, 2.2)
    ccy = cy + 0.03
    ring_part = arc(cx, ccy, 0.21, w, math.radians(90 + 42), math.radians(90 - 42))
    line = capsule(cx, cy - 0.27, cx, cy - 0.02, w)
    return [(union(ring_part, line), 1.0)]


BUTTONS = [
    # file stem, caption on the main window, tile top and bottom colours, symbol
    ("btn_main", "Main", "#4f8ff7", "#1f56d6", _home),
    ("btn_settings", "Clearner Settings", "#22c4b0", "#0d7f74", _checklist),
    ("btn_clean", "CLEAN NOW", "#3fcf6e", "#17873f", _broom),
    ("btn_search", "Search and  Erase", "#fbb02d", "#d9590f", _magnifier),
    ("btn_options", "Clean Options", "#7c7ff5", "#4639c9", _gear),
    ("btn_shredder", "File Shredder", "#f6577a", "#bf1840", _shredder),
    ("btn_registry", "Clean Registry", "#b56ef8", "#7a24c4", _cubes),
    ("btn_exit", "EXIT", "#7d8ba0", "#3a4659", _power),
]

BUTTON_SIZES = (16, 20, 24, 32, 40, 48, 64, 96)
PROGRAM_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def draw_button(symbol, top, bottom, size):
    canvas = Canvas(size)
    pen = Pen(size)
    cx, cy = _tile(canvas, pen, top, bottom)
    _symbol(canvas, pen, symbol(pen, cx, cy))
    return canvas


# ---------------------------------------------------------------------------------------------
# The program icon: a shield with an eraser sweeping across it


def _shield_outline():
    top_y, side_y, tip_y = 0.16, 0.5, 0.94
    left, right = 0.14, 0.86
    points = [(left, top_y + 0.04)]
    points += quadratic((left, top_y + 0.04), (0.32, top_y + 0.02), (0.5, top_y - 0.06), 8)
    points += quadratic((0.5, top_y - 0.06), (0.68, top_y + 0.02), (right, top_y + 0.04), 8)[:-1]
    points.append((right, top_y + 0.04))
    points.append((right, side_y))
    points += quadratic((right, side_y), (right, 0.8), (0.5, tip_y), 12)
    points += quadratic((0.5, tip_y), (left, 0.8), (left, side_y), 12)
    return polygon(points, 0.025)


def draw_program_icon(size):
    canvas = Canvas(size)
    pen = Pen(size)
    shield = _shield_outline()
    if size >= 32:
        canvas.fill(translate(shield, 0.0, 0.02), solid(hex_colour("#000000", 0.3)),
                    softness=0.03)
    canvas.fill(shield, linear(0.0, 0.1, 0.0, 0.95, [(0.0, hex_colour("#2f7df6")),
                                                    (1.0, hex_colour("#163a8f"))]))
    # The right half a shade darker, as if the shield were folded along its middle.
    canvas.fill(intersect(shield, rect(0.5, 0.0, 1.0, 1.0)), solid(hex_colour("#0b1e52", 0.22)))
    if size >= 40:
        rim = subtract(shield, grow(shield, -0.03))
        canvas.fill(rim, solid(hex_colour("#ffffff", 0.28)))

    # The eraser, drawn level and then tilted; its left end is the rubber, the rest the sleeve.
    ex, ey, angle = 0.53, 0.47, -35.0
    half_len, half_h = (0.27, 0.12) if pen.small else (0.25, 0.105)
    body = box(ex, ey, half_len, half_h, 0.045)
    split = ex - half_len + 0.19
    rubber = intersect(body, rect(0.0, 0.0, split, 1.0))
    sleeve = intersect(body, rect(split + (0.0 if pen.small else 0.018), 0.0, 1.0, 1.0))
    if size >= 32:
        canvas.fill(rotate(translate(body, 0.0, 0.025), angle, ex, ey),
                    solid(hex_colour("#000000", 0.25)), softness=0.02)
    canvas.fill(rotate(rubber, angle, ex, ey), solid(hex_colour("#ff6f7d")))
    canvas.fill(rotate(sleeve, angle, ex, ey), solid(WHITE))

    # The sweep: two curved strokes trailing from the rubber end.
    if not pen.small:
        w = pen.half(0.024, 1.5)
        canvas.fill(arc(0.6, 0.2, 0.5, w, math.radians(225), math.radians(263)), solid(WHITE),
                    opacity=0.9)
        if size >= 32:
            canvas.fill(arc(0.6, 0.2, 0.6, w, math.radians(237), math.radians(259)),
                        solid(WHITE), opacity=0.55)
        if size >= 48:
            canvas.fill(_star(0.3, 0.3, 0.075), solid(WHITE), opacity=0.95)
    return canvas
