"""Checks the corners of a template's arcs the way the renderer builds them.

Used by make-templates.py --check: for every ARC line it offsets both parts,
intersects edge b's two lines and says whether the corner is valid (a true
curve), or whether the renderer will fall back to a straight joint or to a
split into two arcs. Templates whose turning movements fall back where they
should curve are reported.
"""
import math


def direction(x1, y1, x2, y2):
    if x2 - x1 != 0:
        e = abs(math.degrees(math.atan((y1 - y2) / (x2 - x1))))
    else:
        e = 90.0
    if y2 <= y1 and x2 < x1:
        e = 180 - e
    elif y2 > y1 and x2 < x1:
        e = 180 + e
    elif y2 > y1 and x2 >= x1:
        e = 360 - e
    return 360.0 if e == 0 else e


def offset_line(p, q, d, w):
    e = direction(*p, *q)
    g = math.radians(e - 90 if e >= 90 else abs(e - 90))
    l, h = abs(math.sin(g) * d), abs(math.cos(g) * d)
    if d < 0:
        l, h = -l, -h
    t, u = abs(math.sin(g) * w), abs(math.cos(g) * w)
    if w < 0:
        t, u = -t, -u

    def shift(pt, a, b):
        x, y = pt
        if 0 < e <= 90:
            return x + a, y + b
        if 90 < e <= 180:
            return x + a, y - b
        if 180 < e <= 270:
            return x - a, y - b
        return x - a, y + b

    a1, a2 = shift(p, h, l), shift(q, h, l)
    return (a1, a2), (shift(a1, u, t), shift(a2, u, t))


def ray(p1, p2, p3, p4):
    (x1, y1), (x2, y2), (x3, y3), (x4, y4) = p1, p2, p3, p4
    m1 = (y2 - y1) / (x2 - x1) if x2 != x1 else 0
    c1 = y1 - m1 * x1
    m2 = (y4 - y3) / (x4 - x3) if x4 != x3 else 0
    c2 = y3 - m2 * x3
    xi = (c2 - c1) / (m1 - m2) if m1 != m2 else x1
    yi = m1 * xi + c1
    if x2 == x1:
        xi, yi = x1, m2 * x1 + c2
    if x4 == x3:
        xi, yi = x3, m1 * x3 + c1
    dist = lambda a, b: math.hypot(a[0] - b[0], a[1] - b[1])
    i = (xi, yi)
    ok = dist(p1, i) > dist(p1, p2) and dist(p4, i) > dist(p3, p4)
    ok = ok and not (x2 > x1 and xi < x1) and not (x2 < x1 and xi > x1)
    ok = ok and not (y2 > y1 and yi < y1) and not (y2 < y1 and yi > y1)
    ok = ok and not (x4 > x3 and xi > x4) and not (x4 < x3 and xi < x4)
    ok = ok and not (y4 > y3 and yi > y4) and not (y4 < y3 and yi < y4)
    return ok, i


class Evaluator:
    def __init__(self, coords, values, sfactor, intmin=1):
        self.coords = {n: (x * 10.0, y * 10.0) for n, x, y in coords}
        self.values = {}
        for n, v, k in values:
            self.values.setdefault(n, (v, k))
        self.sfactor = sfactor
        self.intmin = intmin

    def look(self, name):
        v, k = self.values.get(name, (0, "V"))
        if k != "I":
            return float(v)
        r = 0 if v < self.intmin else v
        if r == 0 and self.intmin == 0:
            r = 1
        return self.sfactor * r / 4000.0

    def expr(self, text):
        body = text[1:-1]
        total = self.look(body[:4])
        body = body[4:]
        while body:
            sign, name, body = body[0], body[1:5], body[5:]
            total += self.look(name) if sign == "+" else -self.look(name)
        return total


def classify(line, ev):
    f = line.split(";")
    p = [ev.coords.get(n, (0.0, 0.0)) for n in f[2:6]]
    d1, d2, w = ev.expr(f[6]), ev.expr(f[7]), ev.expr(f[8])
    if w == 0:
        return "empty"
    (a1, a2), (b1, b2) = offset_line(p[0], p[1], d1, w)
    (a3, a4), (b3, b4) = offset_line(p[2], p[3], d2, w)
    ok, _ = ray(b1, b2, b3, b4)
    if ok:
        return "arc"
    return "fallback"


def check(template, volumes, sfactor):
    values = [(n, volumes(n) if k == "I" else v, k) for n, v, k in template.values]
    ev = Evaluator(template.coords, values, sfactor)
    return [(line, classify(line, ev)) for line in template.script if line.startswith("ARC;")]
