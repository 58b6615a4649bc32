#!/usr/bin/env python3
"""Builds the template library data/Lib/Korvimo.lib and its preview pictures.

Every template is computed here from its arms: the arm points lie on rays out
of the centre (as the arms wizard places them), every turning movement is a
band whose offset is a sum of a gap value and the widths of the bands between
it and the arm's centre line, so the stacks re-flow whatever the volumes.
Nothing in the library is typed by hand; change this script and run it again.

    scripts/make-templates.py [--cli build/test/bin/korvimo-cli] [--no-previews]

Volumes are numbered as the OD and request imports number them: with k arms
(4 for three- and four-arm templates), the volume from arm a to arm b is
(a - 1)(k - 1) + ((a - b) mod k). Arms are numbered counter-clockwise, arm 1
pointing right.
"""
import argparse
import math
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Value lines (kind "V"), metafile units (tenths of a diagram unit).
V_ZERO = "0100"       # 0: lets an expression start with a minus
V_MEDIAN = "0101"     # centre line to the first band of a stack
V_GAP = "0102"        # between two bands of a stack
V_LABEL_OUT = "0103"  # volume labels beyond arm point 2
V_LABEL_IN = "0104"   # label centre from its band's inner edge
V_TOTAL_OUT = "0106"  # totals beyond arm point 2
V_KERB_W = "0107"     # road edge line width
V_KERB_GAP = "0108"   # road edge beyond the outermost band
V_RING_GAP = "0110"   # roundabout: ring to its first band
V_ISLAND = "0111"     # roundabout: island radius
V_RING_STEP = "0112"  # roundabout: between two ring bands

ARM_COLOURS = ["Color0001", "Color0002", "Color0003", "Color0004",
               "Color0005", "Color0006", "Color0007", "Color0008"]
# Windows colour values 0x00BBGGRR: eight clear arm colours, then the
# furniture (text grey, frame, background top and bottom, island, kerb).
COLOURS = [0x3C3CE6, 0x4BB43C, 0xD88A2E, 0x1EA5F5, 0xA04C9B, 0x9C9C1A,
           0x2F5F8C, 0x7A7AE8, 0x333333, 0x505050, 0xFFFFFF, 0xF7F3EF,
           0xC8C8C8, 0x9A9A9A, 0x000000, 0xFF0000]
TEXT_COLOUR = "Color0009"
FRAME_COLOUR = "Color0010"
KERB_COLOUR = "Color0014"


def rnd(v):
    """Halves to the even neighbour, as the program rounds."""
    return int(round(v))


class Template:
    def __init__(self, code, bmp):
        self.code = code
        self.bmp = bmp
        self.general = {}
        self.script = []
        self.coords = []      # (name, x, y)
        self.values = []      # (name, value, kind)
        self.notes = []

    def point(self, name, x, y):
        self.coords.append((name, rnd(x), rnd(y)))
        return name

    def coord(self, name):
        for n, x, y in self.coords:
            if n == name:
                return x, y
        raise KeyError(name)

    def lines(self):
        out = ["bmpname=" + self.bmp, "[**General variables**]", "fileversion=300"]
        out += ["%s=%s" % kv for kv in self.general.items()]
        out.append("[**Script**]")
        out += self.script
        out.append("[**Coordinates**]")
        out += ["%s=%d;%d;" % c for c in self.coords]
        out.append("[**Intensities**]")
        out += ["%s=%d;%s;" % v for v in self.values]
        out.append("[**Notes**]")
        out += self.notes
        return out


def expr(*names, sign="+"):
    """A value expression from names; names starting with '-' are subtracted."""
    parts = []
    for i, n in enumerate(names):
        if n.startswith("-"):
            parts.append("-" + n[1:])
        else:
            parts.append(("+" if i else "") + n)
    return "[" + "".join(parts) + "]"


def neg(*names):
    """-(sum of names), written as 0 minus each name."""
    return expr(V_ZERO, *["-" + n for n in names])


def volume_name(a, b, k):
    return "%04d" % ((a - 1) * (k - 1) + ((a - b) % k))


def stack_terms(order, i, first_gap):
    """The names whose sum is the offset of the i-th band of a stack."""
    terms = [first_gap]
    for m in order[:i]:
        terms += [m, V_GAP]
    return terms


class Layout:
    """The common frame of a template: size, centre, arms and the furniture."""

    def __init__(self, t, arms, present, k, d1, d2, title_key, total_key, roundabout=False,
                 median=70, gap=75):
        self.median = median
        self.gap = gap
        self.t = t
        self.arms = arms          # {arm number: angle}
        self.present = present    # arm numbers that carry traffic
        self.k = k
        self.d1 = d1
        self.d2 = d2
        self.reach = d1 + d2 + 74  # beyond point 2: labels and totals
        self.margin = 10
        self.top = 74
        self.bottom = 44
        # A side without an arm needs only the room of the bands turning in
        # the middle, so a three-arm diagram is no taller than it must be.
        def side(direction):
            for ang in arms.values():
                if abs((ang - direction + 180) % 360 - 180) < 45:
                    return self.reach
            return d1 + 30
        right, up, left, down = side(0), side(90), side(180), side(270)
        self.width = left + right + 2 * self.margin
        self.height = self.top + up + down + self.bottom
        self.cx = self.margin + left
        self.cy = self.top + up
        self.title_key = title_key
        self.total_key = total_key
        self.roundabout = roundabout
        self.movements = [(a, b) for a in present for b in present if a != b]

    def p1(self, a):
        return "00%d1" % a

    def p2(self, a):
        return "00%d2" % a

    def at(self, angle, dist):
        r = math.radians(angle)
        return self.cx + math.cos(r) * dist, self.cy - math.sin(r) * dist

    def vol(self, a, b):
        return volume_name(a, b, self.k)

    def turn_rank(self, a, b):
        """0 for the sharpest left turn from a, rising to the sharpest right."""
        return (a - b) % self.k

    def in_order(self, a):
        """Bands entering at arm a, from the centre line outwards: left turns first."""
        return [self.vol(a, b) for b in sorted((b for b in self.present if b != a),
                                               key=lambda b: self.turn_rank(a, b))]

    def in_targets(self, a):
        return sorted((b for b in self.present if b != a), key=lambda b: self.turn_rank(a, b))

    def out_sources(self, b):
        """Bands leaving at arm b, from the centre line outwards: from the left-turners in."""
        return sorted((a for a in self.present if a != b), key=lambda a: self.turn_rank(a, b))

    def out_order(self, b):
        return [self.vol(a, b) for a in self.out_sources(b)]

    def in_offset(self, a, b):
        order = self.in_order(a)
        return expr(*stack_terms(order, order.index(self.vol(a, b)), V_MEDIAN))

    def out_offset(self, a, b):
        order = self.out_order(b)
        return expr(*stack_terms(order, order.index(self.vol(a, b)), V_MEDIAN))

    # --- the document parts --------------------------------------------
    def general(self, titles, printheader="LIB00051"):
        g = self.t.general
        g.update({
            "fontname": "Arial", "fontsize": 10, "linewidth": 3, "arrowsize": 4,
            "sfill": 1, "sblackline": 1, "sblack": 0,
            "diagramwidth": rnd(self.width), "diagramheight": rnd(self.height),
            "sfactor": 1000, "northnorth": 90, "intmin": 1, "intminnumber": 1,
            "shownotesdialog": 0, "printdiagramleft": 20, "printdiagramtop": 30,
            "printdiagramsize": 85, "printheader1left": 20, "printheader1top": 10,
            "printheader1": printheader, "printfontname": "Arial", "printfontsize": 12,
            "printfontstyle": "YNN",
        })
        for key in ["grpframe", "grpcrossingframe", "grpbackground", "grplogo",
                    "grpi-incomming", "grpi-outgoing", "grpi-incommingtotal",
                    "grpi-outgoingtotal", "grpi-between1", "grpi-between2", "grpi-total",
                    "grptext", "grpfilename", "grpnames", "grpobjects1", "grpobjects2",
                    "grpdiagram1", "grpdiagram2", "grpnorth"]:
            g[key] = 1
        g["grpi-outgoing"] = 0  # the same numbers as at the arms they come from
        for i, c in enumerate(COLOURS):
            g["color%04d" % (i + 1)] = c
        for i in range(5):
            g["title%02d" % (i + 1)] = titles[i] if i < len(titles) else ""
        for i in range(16):
            g["streetname%02d" % (i + 1)] = ("Arm %d" % (i + 1)) if (i + 1) in self.present else ""
        g["armcenter"] = "0001"
        g["armdistcep1"] = self.d1
        g["armdistp1p2"] = self.d2
        for i in range(16):
            a = i + 1
            g["arm%02d" % a] = ("%s;%s;%d" % (self.p1(a), self.p2(a), self.arms[a])) if a in self.arms else ""

    def points(self):
        t = self.t
        t.point("0001", self.cx, self.cy)
        for a in sorted(self.arms):
            t.point(self.p1(a), *self.at(self.arms[a], self.d1))
            t.point(self.p2(a), *self.at(self.arms[a], self.d1 + self.d2))
        m = self.margin
        t.point("0201", m - 4, m - 4)                              # frame
        t.point("0202", self.width - m + 4, m - 2)
        t.point("0203", m - 4, self.height - m + 2)
        t.point("0204", self.width - m + 4, self.height - m + 4)
        t.point("0205", m - 2, m - 4)
        t.point("0206", self.width - m + 2, m - 4)
        t.point("0207", 0, 0)
        t.point("0208", self.width, self.height)
        t.point("0210", m + 8, m + 14)                             # titles
        t.point("0211", m + 8, m + 33)
        t.point("0212", m + 8, m + 48)
        t.point("0213", m + 8, self.height - m - 30)               # title 5
        t.point("0214", m + 8, self.height - m - 14)               # file name
        t.point("0215", self.width - m - 8, self.height - m - 22)  # total
        t.point("0216", self.width - m - 30, m + 30)               # north

    def values(self, extra=()):
        v = [(V_ZERO, 0), (V_MEDIAN, self.median), (V_GAP, self.gap), (V_LABEL_OUT, 40), (V_LABEL_IN, 35),
             (V_TOTAL_OUT, 330), (V_KERB_W, 8), (V_KERB_GAP, 45)] + list(extra)
        self.t.values += [(n, x, "V") for n, x in v]

    def volumes(self, sample):
        for a, b in sorted(self.movements, key=lambda ab: self.vol(*ab)):
            self.t.values.append((self.vol(a, b), sample(a, b), "I"))
        self.t.values.sort(key=lambda v: (v[2] != "I", v[0]))

    def furniture_before(self):
        s = self.t.script
        s += ["*" + "Background, frame and the road edges", "GRP;1;Background;",
              "REC;1;0207;0208;GV;Color0011;Color0012;", "GRP;1;Frame;",
              "REC;1;0201;0202;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR),
              "REC;1;0203;0204;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR),
              "REC;1;0201;0203;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR),
              "REC;1;0206;0204;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR)]
        # The vertical frame sides need their own corner pairs.
        t = self.t
        m = self.margin
        t.point("0220", m - 4, m - 4)
        t.point("0221", m - 2, self.height - m + 4)
        t.point("0222", self.width - m + 2, m - 4)
        t.point("0223", self.width - m + 4, self.height - m + 4)
        s[-2] = "REC;1;0220;0221;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR)
        s[-1] = "REC;1;0222;0223;GV;%s;%s;" % (FRAME_COLOUR, FRAME_COLOUR)
        s.append("GRP;1;CrossingFrame;")
        for a in self.present:
            # Road edges along the arm, just outside both stacks.
            for side, order in (("in", self.in_order(a)), ("out", self.out_order(a))):
                terms = stack_terms(order, len(order), V_MEDIAN)[:-1] + [V_KERB_GAP]
                if side == "in":
                    s.append("LNE;1;%s;%s;%s;%s;%s;N;N;" % (self.p2(a), self.p1(a), expr(*terms),
                                                           expr(V_KERB_W), KERB_COLOUR))
                else:
                    s.append("LNE;1;%s;%s;%s;%s;%s;N;N;" % (self.p1(a), self.p2(a), expr(*terms),
                                                           expr(V_KERB_W), KERB_COLOUR))

    def readable(self, a):
        """True when text running outwards along arm a reads left to right."""
        ang = self.arms[a] % 360
        return ang <= 90 or ang > 270

    def arm_text(self, a, along, across_left, align_out, size, style, content, colour="0"):
        """A text at arm a's outer point, `along` further out, `across_left` to the
        left of the outward direction (both lists of names, may be empty)."""
        along = along or [V_ZERO]
        if self.readable(a):
            pos = "R;[%s;%s];2;" % (self.p1(a), self.p2(a))
            dx = expr(*along)
            dy = expr(*across_left) if across_left else expr(V_ZERO)
            align = align_out
        else:
            pos = "R;[%s;%s];1;" % (self.p2(a), self.p1(a))
            dx = neg(*along)
            dy = neg(*across_left) if across_left else expr(V_ZERO)
            align = {"L": "R", "R": "L", "C": "C"}[align_out]
        return "TXT;1;%s%s;%s;0;%s;%s;%d;%s;%s" % (pos, dx, dy, align, style, size, colour, content)

    def arm_text_right(self, a, along, across_right, align_out, size, style, content, colour="0"):
        """As arm_text, but across to the right of the outward direction."""
        along = along or [V_ZERO]
        if self.readable(a):
            pos = "R;[%s;%s];2;" % (self.p1(a), self.p2(a))
            dx = expr(*along)
            dy = neg(*across_right)
            align = align_out
        else:
            pos = "R;[%s;%s];1;" % (self.p2(a), self.p1(a))
            dx = neg(*along)
            dy = expr(*across_right)
            align = {"L": "R", "R": "L", "C": "C"}[align_out]
        return "TXT;1;%s%s;%s;0;%s;%s;%d;%s;%s" % (pos, dx, dy, align, style, size, colour, content)

    def labels_and_totals(self):
        s = self.t.script
        s.append("*Volume labels at the arms they enter from")
        s.append("GRP;1;I-incomming;")
        for a in self.present:
            order = self.in_order(a)
            for i, v in enumerate(order):
                terms = stack_terms(order, i, V_MEDIAN) + [V_LABEL_IN]
                s.append(self.arm_text(a, [V_LABEL_OUT], terms, "L", 60, "NNN", "I;[%s];" % v))
        s.append("*Volume labels at the arms they leave by")
        s.append("GRP;1;I-outgoing;")
        for b in self.present:
            order = self.out_order(b)
            for i, v in enumerate(order):
                terms = stack_terms(order, i, V_MEDIAN) + [V_LABEL_IN]
                s.append(self.arm_text_right(b, [V_LABEL_OUT], terms, "L", 60, "NNN", "I;[%s];" % v))
        mid = lambda order: stack_terms(order, (len(order) - 1) // 2, V_MEDIAN) + [V_LABEL_IN]
        s.append("GRP;1;I-incommingTotal;")
        for a in self.present:
            order = self.in_order(a)
            s.append(self.arm_text(a, [V_TOTAL_OUT], mid(order), "L", 80, "YNN",
                                   "I;%s;" % expr(*order)))
        s.append("GRP;1;I-outgoingTotal;")
        for b in self.present:
            order = self.out_order(b)
            s.append(self.arm_text_right(b, [V_TOTAL_OUT], mid(order), "L", 80, "YNN",
                                         "I;%s;" % expr(*order)))
        s.append("GRP;1;I-total;")
        everything = sorted(self.vol(a, b) for a, b in self.movements)
        s.append("TXT;1;P;0215;[0100];[0100];0;R;YNN;100;%s;I;%s;" % (TEXT_COLOUR, expr(*everything)))
        s.append("TXT;1;P;0215;[0100];[0100];0;R;NNN;100;%s;V;Title04;" % TEXT_COLOUR)
        # The title sits left of the number: shift it by the widest total.
        s[-1] = "TXT;1;P;0217;[0100];[0100];0;R;NNN;100;%s;V;Title04;" % TEXT_COLOUR
        x, y = self.t.coord("0215")
        self.t.point("0217", x - 46, y)

    def texts(self):
        s = self.t.script
        s += ["GRP;1;Names;"]
        for a in self.present:
            # In the median between the two stacks, halfway along the arm.
            pts = (self.p1(a), self.p2(a)) if self.readable(a) else (self.p2(a), self.p1(a))
            s.append("TXT;1;R;[%s;%s];C;[0100];[0100];0;C;NYN;80;%s;V;Streetname%02d;"
                     % (pts[0], pts[1], TEXT_COLOUR, a))
        s += ["GRP;1;Text;",
              "TXT;1;P;0210;[0100];[0100];0;L;YNN;140;%s;V;Title01;" % TEXT_COLOUR,
              "TXT;1;P;0211;[0100];[0100];0;L;NNN;100;%s;V;Title02;" % TEXT_COLOUR,
              "TXT;1;P;0212;[0100];[0100];0;L;NNN;100;%s;V;Title03;" % TEXT_COLOUR,
              "TXT;1;P;0213;[0100];[0100];0;L;NNN;80;%s;V;Title05;" % TEXT_COLOUR,
              "GRP;1;Filename;",
              "TXT;1;P;0214;[0100];[0100];0;L;NYN;70;%s;V;Filename;" % TEXT_COLOUR,
              "GRP;1;North;", "NTH;1;0216;20;"]


# --- intersections ------------------------------------------------------

def intersection(code, arms, present, k, d1, d2, titles, sample, note, median=70, gap=75):
    t = Template(code, code + ".png")
    L = Layout(t, arms, present, k, d1, d2, titles[0], titles[3], median=median, gap=gap)
    L.general(titles)
    L.points()
    L.values()
    L.volumes(sample)
    L.furniture_before()
    s = t.script
    s.append("*Turning movements: one band each, from the arm it enters to the arm it leaves")
    s.append("GRP;1;Diagram1;")
    # Right turns underneath, left turns on top: the long bands stay visible.
    for rank in range(k - 1, 0, -1):
        for a, b in L.movements:
            if L.turn_rank(a, b) != k - rank:
                continue
            s.append("ARC;1;%s;%s;%s;%s;%s;%s;[%s];%s;A;A;A;" % (
                L.p2(a), L.p1(a), L.p1(b), L.p2(b), L.in_offset(a, b), L.out_offset(a, b),
                L.vol(a, b), ARM_COLOURS[a - 1]))
    L.labels_and_totals()
    L.texts()
    t.notes += note
    return t, L


# --- roundabouts --------------------------------------------------------

def roundabout(code, arms, present, ring_r, d1, d2, titles, sample, note):
    k = 4
    t = Template(code, code + ".png")
    L = Layout(t, arms, present, k, d1, d2, titles[0], titles[3], roundabout=True)
    L.general(titles)
    L.points()
    L.values([(V_RING_GAP, 30), (V_ISLAND, ring_r * 10), (V_RING_STEP, 30)])
    L.volumes(sample)
    L.furniture_before()
    # Two stations on the ring at every arm, one just before it and one just
    # after it (counter-clockwise). A station is a tangent point T with a
    # short stub either side, S before and U after; an arc between the stubs
    # of two stations is a true ring arc. The stations sit atan(4/7) from the
    # arm, where the tangent's direction is a whole-number step (4, 7): the
    # stubs then point exactly along the ring whatever the rounding of T.
    eps = math.degrees(math.atan2(4, 7))
    stations = {}   # (j, "pre" | "post") -> [S, T, U]
    for j in range(1, 5):
        for side, sign in (("pre", -1), ("post", 1)):
            phi = arms[j] + sign * eps
            tx, ty = L.at(phi, ring_r)
            sx = rnd(-math.sin(math.radians(phi)) * math.sqrt(65))
            sy = rnd(-math.cos(math.radians(phi)) * math.sqrt(65))
            base = 300 + 10 * j + (0 if side == "pre" else 5)
            t.point("%04d" % (base + 1), rnd(tx) - sx, rnd(ty) - sy)
            t.point("%04d" % (base + 2), tx, ty)
            t.point("%04d" % (base + 3), rnd(tx) + sx, rnd(ty) + sy)
            stations[(j, side)] = ["%04d" % (base + n) for n in (1, 2, 3)]
    between = {}
    for j in range(1, 5):
        between[j] = t.point("%04d" % (350 + j), *L.at(arms[j] + 45, ring_r * 0.6))

    def passes(a, b):
        """The sectors (after arm j) a movement from a to b runs through."""
        out, j = [], a
        while True:
            out.append(j)
            j = j % 4 + 1
            if j == b:
                return out

    on_ring = {j: [] for j in range(1, 5)}
    for a, b in L.movements:
        for j in passes(a, b):
            on_ring[j].append((a, b))
    ring_order = {}
    for j, flows in on_ring.items():
        # Inside: the flows that stay on longest; the next exit outermost.
        key = lambda ab: (-((ab[1] - j) % 4), -((j - ab[0]) % 4))
        ring_order[j] = [L.vol(a, b) for a, b in sorted(flows, key=key)]

    def ring_offset(j, a, b):
        order = ring_order[j]
        return expr(*stack_terms(order, order.index(L.vol(a, b)), V_RING_GAP)).replace(V_GAP, V_RING_STEP)

    s = t.script
    s.append("GRP;1;CrossingFrame;")
    s.append("CIR;1;0001;[%s];F;" % V_ISLAND)
    s.append("*Turning movements: onto the ring, round it and off again")
    s.append("GRP;1;Diagram1;")
    for a, b in sorted(L.movements, key=lambda ab: -len(passes(*ab))):
        v, col = L.vol(a, b), ARM_COLOURS[a - 1]
        js = passes(a, b)
        # The stations in order: after arm a, then before and after every
        # arm it passes, then before arm b; with the sector each belongs to.
        path = [(stations[(a, "post")], a)]
        for j in js[1:]:
            path += [(stations[(j, "pre")], j - 1 if j > 1 else 4), (stations[(j, "post")], j)]
        path.append((stations[(b, "pre")], js[-1]))
        (S, T, U), j0 = path[0]
        s.append("ARC;1;%s;%s;%s;%s;%s;%s;[%s];%s;A;A;N;" % (
            L.p2(a), L.p1(a), T, U, L.in_offset(a, b), ring_offset(j0, a, b), v, col))
        for ((S0, T0, _), j0), ((_, T1, U1), j1) in zip(path, path[1:]):
            s.append("ARC;1;%s;%s;%s;%s;%s;%s;[%s];%s;A;N;N;" % (
                S0, T0, T1, U1, ring_offset(j0, a, b), ring_offset(j1, a, b), v, col))
        (S, T, _), j1 = path[-1]
        s.append("ARC;1;%s;%s;%s;%s;%s;%s;[%s];%s;A;N;A;" % (
            S, T, L.p1(b), L.p2(b), ring_offset(j1, a, b), L.out_offset(a, b), v, col))
    L.labels_and_totals()
    s.append("*Volumes on the ring between two arms")
    s.append("GRP;1;I-between1;")
    for j in range(1, 5):
        if ring_order[j]:
            s.append("TXT;1;P;%s;[0100];[0100];0;C;NYN;70;%s;I;%s;" % (
                between[j], TEXT_COLOUR, expr(*ring_order[j])))
    L.texts()
    t.notes += note
    return t, L


# --- the library --------------------------------------------------------

def sample_volumes(k):
    """Plausible volumes for the stored template: straight ahead heavier."""
    def v(a, b):
        rank = (a - b) % k
        base = [0, 90, 420, 130, 60, 50, 40, 30][rank] if k == 4 else 40 + 25 * ((rank * 7 + a) % 5)
        return base + 10 * a
    return v


def titles(kind):
    t1 = {"x3": "LIB00044", "x4": "LIB00042", "xn": "LIB00046", "r3": "LIB00045", "r4": "LIB00043"}[kind]
    t4 = "LIB00054" if kind.startswith("r") else "LIB00049"
    return [t1, "LIB00047", "LIB00048", t4, "LIB00050"]


FOUR = {1: 0, 2: 90, 3: 180, 4: 270}


def build():
    out = []
    note = lambda what: ["Template " + what + ". Arms are numbered counter-clockwise from the right.",
                         "The volume from arm a to arm b is number (a-1)(k-1)+((a-b) mod k)."]
    for code, missing in (("011301", 1), ("011302", 2), ("011303", 3), ("011304", 4)):
        present = [a for a in FOUR if a != missing]
        arms = {a: FOUR[a] for a in present}
        out.append(intersection(code, arms, present, 4, 80, 80, titles("x3"), sample_volumes(4),
                                note("three-arm intersection, arm %d missing" % missing)))
    out.append(intersection("011400", FOUR, [1, 2, 3, 4], 4, 80, 80, titles("x4"), sample_volumes(4),
                            note("four-arm intersection")))
    for n, d1, median, gap in ((5, 130, 60, 70), (6, 170, 55, 65), (7, 200, 50, 65), (8, 230, 50, 65)):
        arms = {a: rnd(360 * (a - 1) / n) for a in range(1, n + 1)}
        out.append(intersection("01%02d00" % n, arms, list(range(1, n + 1)), n, d1, 80, titles("xn"),
                                sample_volumes(n), note("%d-arm intersection" % n), median, gap))
    for code, missing in (("020301", 1), ("020302", 2), ("020303", 3), ("020304", 4)):
        present = [a for a in FOUR if a != missing]
        out.append(roundabout(code, FOUR, present, 45, 170, 80, titles("r3"), sample_volumes(4),
                              note("three-arm roundabout, arm %d missing" % missing)))
    out.append(roundabout("020400", FOUR, [1, 2, 3, 4], 45, 170, 80, titles("r4"), sample_volumes(4),
                          note("four-arm roundabout")))
    return out


def check_all(templates):
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import templatecheck
    cases = {"sample": None, "equal": lambda n: 500, "small": lambda n: 3,
             "unequal": lambda n: 2000 if int(n) % 5 == 0 else 12}
    for t, L in templates:
        for label, fn in cases.items():
            vols = {n: v for n, v, k in t.values if k == "I"}
            f = fn or (lambda n: vols[n])
            h = max(f(n) for n in vols)
            sfactor = round(5000 / h) * 100 if h > 0 else 1000
            res = templatecheck.check(t, f, max(sfactor, 100))
            bad = [l for l, r in res if r == "fallback"]
            print("%s %-8s arcs %3d, straight or split %3d" % (t.code, label, len(res), len(bad)))
            for l in bad[:12] if t.code.startswith("02") else []:
                print("    " + l)


def write_library(templates, path):
    lines = []
    for t, _ in templates:
        lines.append("[###%s###]" % t.code)
        lines += t.lines()
    data = "".join(l + "\r\n" for l in lines).encode("cp1252")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".new", "wb") as f:
        f.write(data)
    os.replace(path + ".new", path)


def render_previews(templates, cli, folder):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as tmp:
        for t, _ in templates:
            kvo = os.path.join(tmp, t.code + ".kvo")
            with open(kvo, "wb") as f:
                f.write("".join(l + "\r\n" for l in t.lines()[1:]).encode("cp1252"))
            png = os.path.join(folder, t.bmp)
            r = subprocess.run([cli, "render", kvo, png, "--width", "169"], env=env,
                               capture_output=True, text=True)
            if "unknown option" in r.stderr:
                # A renderer without --width draws at the diagram's own size.
                r = subprocess.run([cli, "render", kvo, png], env=env, capture_output=True, text=True)
            err = "\n".join(l for l in r.stderr.splitlines() if "XDG_RUNTIME_DIR" not in l)
            if r.returncode != 0 or err.strip():
                print("preview %s: %s" % (t.code, (err or "exit %d" % r.returncode).strip()),
                      file=sys.stderr)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(ROOT, "data", "Lib", "Korvimo.lib"))
    ap.add_argument("--cli", default=os.path.join(ROOT, "build", "test", "bin", "korvimo-cli"))
    ap.add_argument("--no-previews", action="store_true")
    ap.add_argument("--check", action="store_true", help="report arcs that will not curve")
    args = ap.parse_args()
    templates = build()
    if args.check:
        check_all(templates)
    write_library(templates, args.out)
    print("wrote %s (%d templates)" % (args.out, len(templates)))
    if not args.no_previews:
        if os.access(args.cli, os.X_OK):
            render_previews(templates, args.cli, os.path.dirname(args.out))
        else:
            print("no %s: previews not rendered" % args.cli, file=sys.stderr)


if __name__ == "__main__":
    main()
