"""A small anti-aliased rasteriser for the program's icons.

Shapes are signed distance functions in design units: the icon spans 0..1 in x (to the right)
and y (downwards). A pixel's coverage is taken from the signed distance of its centre, measured
in pixels, which gives smooth edges with one sample per pixel. Boolean operations (union,
intersection, subtraction) combine distances with min and max, which is exact enough for edges
that meet at the angles used here.

Only the standard library is used, and nothing depends on the clock or on randomness, so the
same program writes the same pixels every time.
"""

import math


class Shape:
    """A signed distance function with a bounding box (x0, y0, x1, y1) in design units."""

    __slots__ = ("sdf", "bbox")

    def __init__(self, sdf, bbox):
        self.sdf = sdf
        self.bbox = bbox


# ---------------------------------------------------------------------------------------------
# Primitives


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r

    return Shape(sdf, (cx - r, cy - r, cx + r, cy + r))


def box(cx, cy, hw, hh, radius=0.0):
    """A rectangle centred on (cx, cy) with half sizes hw, hh and rounded corners."""
    radius = min(radius, hw, hh)
    ihw, ihh = hw - radius, hh - radius

    def sdf(x, y):
        qx = abs(x - cx) - ihw
        qy = abs(y - cy) - ihh
        if qx > 0.0 and qy > 0.0:
            outside = math.hypot(qx, qy)
        else:
            outside = max(qx, 0.0) + max(qy, 0.0)
        return outside + min(max(qx, qy), 0.0) - radius

    return Shape(sdf, (cx - hw, cy - hh, cx + hw, cy + hh))


def rect(x0, y0, x1, y1, radius=0.0):
    return box((x0 + x1) / 2.0, (y0 + y1) / 2.0, (x1 - x0) / 2.0, (y1 - y0) / 2.0, radius)


def _segment_distance(x, y, ax, ay, bx, by):
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0.0 else max(0.0, min(1.0, (px * dx + py * dy) / length2))
    return math.hypot(px - dx * t, py - dy * t)


def capsule(ax, ay, bx, by, r):
    """A line from (ax, ay) to (bx, by) of half width r with round ends."""

    def sdf(x, y):
        return _segment_distance(x, y, ax, ay, bx, by) - r

    return Shape(sdf, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polyline(points, r):
    """Connected lines of half width r with round joins and ends."""
    segments = list(zip(points, points[1:]))

    def sdf(x, y):
        return min(_segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segments) - r

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r))


def polygon(points, radius=0.0):
    """A closed polygon (any winding); radius grows it outwards with rounded corners."""
    pts = list(points)
    count = len(pts)

    def sdf(x, y):
        best = float("inf")
        sign = 1.0
        j = count - 1
        for i in range(count):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            length2 = ex * ex + ey * ey
            t = 0.0 if length2 == 0.0 else max(0.0, min(1.0, (wx * ex + wy * ey) / length2))
            bx, by = wx - ex * t, wy - ey * t
            d = bx * bx + by * by
            if d < best:
                best = d
            c1 = y >= viy
            c2 = y < vjy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
            j = i
        return sign * math.sqrt(best) - radius

    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(sdf, (min(xs) - radius, min(ys) - radius, max(xs) + radius, max(ys) + radius))


def ring(cx, cy, r, half_width):
    def sdf(x, y):
        return abs(math.hypot(x - cx, y - cy) - r) - half_width

    extent = r + half_width
    return Shape(sdf, (cx - extent, cy - extent, cx + extent, cy + extent))


def arc(cx, cy, r, half_width, start, end):
    """Part of a ring with round caps, from angle start to end (radians, counter-clockwise on
    screen, 0 pointing right)."""
    span = (end - start) % (2.0 * math.pi)
    ax, ay = cx + r * math.cos(start), cy - r * math.sin(start)
    bx, by = cx + r * math.cos(end), cy - r * math.sin(end)

    def sdf(x, y):
        angle = math.atan2(cy - y, x - cx)
        if (angle - start) % (2.0 * math.pi) <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - half_width
        return min(math.hypot(x - ax, y - ay), math.hypot(x - bx, y - by)) - half_width

    extent = r + half_width
    return Shape(sdf, (cx - extent, cy - extent, cx + extent, cy + extent))


# ---------------------------------------------------------------------------------------------
# Combinations and transforms


def union(*shapes):
    sdfs = [s.sdf for s in shapes]

    def sdf(x, y):
        return min(f(x, y) for f in sdfs)

    return Shape(
        sdf,
        (
            min(s.bbox[0] for s in shapes),
            min(s.bbox[1] for s in shapes),
            max(s.bbox[2] for s in shapes),
            max(s.bbox[3] for s in shapes),
        ),
    )


def intersect(a, b):
    fa, fb = a.sdf, b.sdf

    def sdf(x, y):
        return max(fa(x, y), fb(x, y))

    return Shape(
        sdf,
        (
            max(a.bbox[0], b.bbox[0]),
            max(a.bbox[1], b.bbox[1]),
            min(a.bbox[2], b.bbox[2]),
            min(a.bbox[3], b.bbox[3]),
        ),
    )


def subtract(a, *cuts):
    fa = a.sdf
    fcuts = [c.sdf for c in cuts]

    def sdf(x, y):
        d = fa(x, y)
        for f in fcuts:
            d = max(d, -f(x, y))
        return d

    return Shape(sdf, a.bbox)


def grow(shape, amount):
    """Moves every edge outwards by amount (inwards when negative)."""
    f = shape.sdf

    def sdf(x, y):
        return f(x, y) - amount

    x0, y0, x1, y1 = shape.bbox
    pad = max(amount, 0.0)
    return Shape(sdf, (x0 - pad, y0 - pad, x1 + pad, y1 + pad))


def translate(shape, dx, dy):
    f = shape.sdf

    def sdf(x, y):
        return f(x - dx, y - dy)

    x0, y0, x1, y1 = shape.bbox
    return Shape(sdf, (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def rotate(shape, degrees, cx, cy):
    """Turns the shape by degrees around (cx, cy); positive turns clockwise on screen."""
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    f = shape.sdf

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return f(cx + dx * c + dy * s, cy - dx * s + dy * c)

    x0, y0, x1, y1 = shape.bbox
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    turned = [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c)
              for px, py in corners]
    xs = [p[0] for p in turned]
    ys = [p[1] for p in turned]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def quadratic(p0, p1, p2, steps):
    """Points along a quadratic Bezier curve, p0 excluded, p2 included."""
    out = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1.0 - t
        out.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return out


# ---------------------------------------------------------------------------------------------
# Paints: a paint maps a design point to straight (not premultiplied) RGBA in 0..1.


def hex_colour(text, alpha=1.0):
    text = text.lstrip("#")
    return (int(text[0:2], 16) / 255.0, int(text[2:4], 16) / 255.0, int(text[4:6], 16) / 255.0,
            alpha)


def solid(colour):
    def paint(x, y):
        return colour

    paint.constant = colour
    return paint


def linear(x0, y0, x1, y1, stops):
    """A linear gradient along (x0, y0) -> (x1, y1); stops are (t, colour) in rising t."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / length2
        if t <= stops[0][0]:
            return stops[0][1]
        for (ta, ca), (tb, cb) in zip(stops, stops[1:]):
            if t <= tb:
                k = (t - ta) / (tb - ta) if tb > ta else 1.0
                return tuple(ca[i] + (cb[i] - ca[i]) * k for i in range(4))
        return stops[-1][1]

    return paint


# ---------------------------------------------------------------------------------------------
# Canvas


class Canvas:
    """Premultiplied RGBA pixels in floating point, composited with the 'over' operator."""

    def __init__(self, size):
        self.size = size
        self.r = [0.0] * (size * size)
        self.g = [0.0] * (size * size)
        self.b = [0.0] * (size * size)
        self.a = [0.0] * (size * size)

    def fill(self, shape, paint, opacity=1.0, softness=0.0):
        """Paints shape. softness (design units) widens the edge ramp, for shadows."""
        n = self.size
        pixel = 1.0 / n
        ramp = pixel + softness
        pad = ramp
        x0, y0, x1, y1 = shape.bbox
        i0 = max(0, int(math.floor((x0 - pad) * n)))
        i1 = min(n - 1, int(math.ceil((x1 + pad) * n)))
        j0 = max(0, int(math.floor((y0 - pad) * n)))
        j1 = min(n - 1, int(math.ceil((y1 + pad) * n)))
        sdf = shape.sdf
        constant = getattr(paint, "constant", None)
        rr, gg, bb, aa = self.r, self.g, self.b, self.a
        for j in range(j0, j1 + 1):
            y = (j + 0.5) * pixel
            row = j * n
            for i in range(i0, i1 + 1):
                x = (i + 0.5) * pixel
                d = sdf(x, y)
                cover = 0.5 - d / ramp
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                cr, cg, cb, ca = constant if constant is not None else paint(x, y)
                alpha = ca * cover * opacity
                if alpha <= 0.0:
                    continue
                k = row + i
                keep = 1.0 - alpha
                rr[k] = cr * alpha + rr[k] * keep
                gg[k] = cg * alpha + gg[k] * keep
                bb[k] = cb * alpha + bb[k] * keep
                aa[k] = alpha + aa[k] * keep

    def rgba_rows(self):
        """Rows top to bottom of straight RGBA bytes."""
        n = self.size
        rows = []
        for j in range(n):
            row = bytearray(4 * n)
            for i in range(n):
                k = j * n + i
                alpha = self.a[k]
                if alpha <= 0.0:
                    continue
                a8 = int(round(min(alpha, 1.0) * 255.0))
                if a8 == 0:
                    continue
                row[4 * i + 0] = _byte(self.r[k] / alpha)
                row[4 * i + 1] = _byte(self.g[k] / alpha)
                row[4 * i + 2] = _byte(self.b[k] / alpha)
                row[4 * i + 3] = a8
            rows.append(bytes(row))
        return rows


def _byte(value):
    return max(0, min(255, int(round(value * 255.0))))
