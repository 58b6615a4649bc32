#!/usr/bin/env python3
"""Builds the template library data/Lib/Korvimo.lib and its preview pictures.

Every template is computed here from its arms: the arm points lie on rays out
of the centre (as the arms wizard places them), every turning movement is a
band whose offset is a sum of a gap value and the widths of the bands between
it and the arm's centre line, so the stacks re-flow whatever the volumes.
Nothing in the library is typed by hand; change this script and run it again.
The wizard moves the arm points, and turns the ring points of a roundabout
with them (see roundabout()); no other point depends on an arm's angle.

The previews are drawn by korvimo-cli, which must be built first (the names
files beside it resolve the titles' placeholders); the script fails when one
of them cannot be drawn cleanly.

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
V_ISLAND = "0111"     # roundabout: island radius
V_BETWEEN_ALONG = "0113"   # roundabout: ring volumes, along the arm from the centre
V_BETWEEN_ACROSS = "0114"  # roundabout: ring volumes, into the island from the ring's chord
V_RING_MEDIAN = "0115"     # roundabout: the ring's chord to its innermost band

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
                 median=70, gap=85):
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
            for ang in (arms[a] for a in present):
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

    def name_points(self, a):
        return "03%d1" % a, "03%d2" % a

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

    def in_terms(self, a, b):
        """The names whose sum is the offset of the band from a to b where it enters."""
        order = self.in_order(a)
        return stack_terms(order, order.index(self.vol(a, b)), V_MEDIAN)

    def out_terms(self, a, b):
        """The same where it leaves, at arm b."""
        order = self.out_order(b)
        return stack_terms(order, order.index(self.vol(a, b)), V_MEDIAN)

    def in_offset(self, a, b):
        return expr(*self.in_terms(a, b))

    def out_offset(self, a, b):
        return expr(*self.out_terms(a, b))

    def in_edge(self, a):
        """Just beyond the outermost band entering at arm a."""
        last = self.in_targets(a)[-1]
        return self.in_terms(a, last) + [self.vol(a, last), V_KERB_GAP]

    def out_edge(self, b):
        last = self.out_sources(b)[-1]
        return self.out_terms(last, b) + [self.vol(last, b), V_KERB_GAP]

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
        g["grplegend"] = 0  # written last, as the program writes it

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
        t.point("0218", self.width - m - 124, m + 62)              # scale legend, under the north arrow

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
            for side in ("in", "out"):
                terms = self.in_edge(a) if side == "in" else self.out_edge(a)
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
            for b in self.in_targets(a):
                terms = self.in_terms(a, b) + [V_LABEL_IN]
                s.append(self.arm_text(a, [V_LABEL_OUT], terms, "L", 60, "NNN", "I;[%s];" % self.vol(a, b)))
        s.append("*Volume labels at the arms they leave by")
        s.append("GRP;1;I-outgoing;")
        for b in self.present:
            for a in self.out_sources(b):
                terms = self.out_terms(a, b) + [V_LABEL_IN]
                s.append(self.arm_text_right(b, [V_LABEL_OUT], terms, "L", 60, "NNN", "I;[%s];" % self.vol(a, b)))
        s.append("GRP;1;I-incommingTotal;")
        for a in self.present:
            targets = self.in_targets(a)
            mid = self.in_terms(a, targets[(len(targets) - 1) // 2]) + [V_LABEL_IN]
            s.append(self.arm_text(a, [V_TOTAL_OUT], mid, "L", 80, "YNN",
                                   "I;%s;" % expr(*self.in_order(a))))
        s.append("GRP;1;I-outgoingTotal;")
        for b in self.present:
            sources = self.out_sources(b)
            mid = self.out_terms(sources[(len(sources) - 1) // 2], b) + [V_LABEL_IN]
            s.append(self.arm_text_right(b, [V_TOTAL_OUT], mid, "L", 80, "YNN",
                                         "I;%s;" % expr(*self.out_order(b))))
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
            # On two points of its own that the arms wizard lays along the
            # arm: in the median halfway along it, or beside the bands when
            # the program places names clear of them. Stored here as the
            # median place, so that any reader sees a sensible picture.
            pts = (self.p1(a), self.p2(a)) if self.readable(a) else (self.p2(a), self.p1(a))
            n1, n2 = self.name_points(a)
            self.t.point(n1, *self.t.coord(pts[0]))
            self.t.point(n2, *self.t.coord(pts[1]))
            s.append("TXT;1;R;[%s;%s];C;[0100];[0100];0;C;NYN;80;%s;V;Streetname%02d;"
                     % (n1, n2, TEXT_COLOUR, a))
        s += ["GRP;1;Text;",
              "TXT;1;P;0210;[0100];[0100];0;L;YNN;140;%s;V;Title01;" % TEXT_COLOUR,
              "TXT;1;P;0211;[0100];[0100];0;L;NNN;100;%s;V;Title02;" % TEXT_COLOUR,
              "TXT;1;P;0212;[0100];[0100];0;L;NNN;100;%s;V;Title03;" % TEXT_COLOUR,
              "TXT;1;P;0213;[0100];[0100];0;L;NNN;80;%s;V;Title05;" % TEXT_COLOUR,
              "GRP;1;Filename;",
              "TXT;1;P;0214;[0100];[0100];0;L;NYN;70;%s;V;Filename;" % TEXT_COLOUR,
              "GRP;1;North;", "NTH;1;0216;20;",
              # What a band's width means; off until the format dialog's
              # Legend box (grplegend) shows it.
              "GRP;1;Legend;", "LEG;1;0218;500;%s;40;" % TEXT_COLOUR]


# --- intersections ------------------------------------------------------

def intersection(code, arms, present, k, d1, d2, titles, sample, note, median=70, gap=85):
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

RING_SHARES = (0.4, 0.6)  # where a sector's ring chord starts and ends, between its arms


def roundabout(code, arms, present, ring_r, d1, d2, titles, sample, note, k=4):
    """A roundabout whose movements go round the island.

    Every movement enters along its arm, joins the ring, runs round the
    island counter-clockwise (its arrows reversed for left-hand traffic, so
    clockwise there) and leaves along its exit arm. The ring is a chord in
    every sector (between an arm and the next one counter-clockwise) on two
    points of the template's own, at RING_SHARES of the sector's angle; the
    arms wizard turns those points with the arms (RingFollowsArms), so the
    ring stations follow any angles. A movement is a chain of ARC lines:
    arm in, the chords of the sectors it passes, arm out; each ARC joins two
    consecutive parts with the renderer's fillet, which between two chords is
    the curve round the island.

    In a sector the movements lie from the island out by how many sectors
    they still have to go, the longest innermost; among those leaving at the
    same arm, the one that entered first lies inside. So a movement leaving
    is always outermost and peels off without crossing anything, and the
    only crossings are those of a movement entering towards its inner lane.
    """
    t = Template(code, code + ".png")
    L = Layout(t, arms, present, k, d1, d2, titles[0], titles[3], roundabout=True, median=60, gap=40)
    L.general(titles)
    L.points()
    island = ring_r * 10 - 80
    L.values([(V_ISLAND, island), (V_BETWEEN_ALONG, 0), (V_BETWEEN_ACROSS, 200), (V_RING_MEDIAN, 50)])
    L.volumes(sample)
    L.furniture_before()

    ring = {}
    for j in range(1, k + 1):
        span = (arms[j % k + 1] - arms[j]) % 360 or 360
        names = []
        for i, share in enumerate(RING_SHARES):
            n = "05%d%d" % (j, i + 1)
            t.point(n, *L.at(arms[j] + share * span, ring_r))
            names.append(n)
        ring[j] = tuple(names)

    def trip(a, b):
        return (b - a) % k

    def sectors(a, b):
        return [(a - 1 + i) % k + 1 for i in range(trip(a, b))]

    def lane_terms(a, b, j):
        """The offset of movement a->b in sector j, from the ring's chord out."""
        here = [(x, y) for x, y in L.movements if j in sectors(x, y)]
        key = lambda m: (-((m[1] - j) % k), -trip(*m))
        terms = [V_RING_MEDIAN]
        for m in sorted(here, key=key):
            if m == (a, b):
                return terms
            terms += [L.vol(*m), V_GAP]
        raise ValueError((a, b, j))

    s = t.script
    s.append("GRP;1;CrossingFrame;")
    s.append("CIR;1;0001;[%s];F;" % V_ISLAND)
    s.append("*Turning movements: in along the arm, round the island on the ring chords, out along the exit arm")
    s.append("GRP;1;Diagram1;")
    # The longest trips underneath: the short turns lie on top where they cross.
    for a, b in sorted(L.movements, key=lambda m: (-trip(*m), m)):
        v, col = L.vol(a, b), ARM_COLOURS[a - 1]
        parts = [((L.p2(a), L.p1(a)), L.in_offset(a, b))]
        parts += [(ring[j], expr(*lane_terms(a, b, j))) for j in sectors(a, b)]
        parts.append(((L.p1(b), L.p2(b)), L.out_offset(a, b)))
        for i in range(len(parts) - 1):
            (p, o1), (q, o2) = parts[i], parts[i + 1]
            s.append("ARC;1;%s;%s;%s;%s;%s;%s;[%s];%s;A;%s;%s;" % (
                p[0], p[1], q[0], q[1], o1, o2, v, col, "A" if i == 0 else "N",
                "A" if i == len(parts) - 2 else "N"))
    L.labels_and_totals()
    s.append("*Volumes on the ring between two arms, in the island beside the chord")
    s.append("GRP;1;I-between1;")
    for j in range(1, k + 1):
        flows = [L.vol(a, b) for a, b in L.movements if j in sectors(a, b)]
        if flows:
            s.append("TXT;1;R;[%s;%s];C;[%s];[%s];0;C;NYN;60;%s;I;%s;" % (
                ring[j][0], ring[j][1], V_BETWEEN_ALONG, V_BETWEEN_ACROSS, TEXT_COLOUR,
                expr(*sorted(flows))))
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
    t1 = {"x3": "LIB00044", "x4": "LIB00042", "xn": "LIB00046", "r3": "LIB00045", "r4": "LIB00043",
          "rn": "LIB00043"}[kind]
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
    for n, d1, median, gap in ((5, 130, 60, 80), (6, 200, 55, 80), (7, 240, 50, 80), (8, 290, 50, 80)):
        arms = {a: rnd(360 * (a - 1) / n) for a in range(1, n + 1)}
        out.append(intersection("01%02d00" % n, arms, list(range(1, n + 1)), n, d1, 80, titles("xn"),
                                sample_volumes(n), note("%d-arm intersection" % n), median, gap))
    for code, missing in (("020301", 1), ("020302", 2), ("020303", 3), ("020304", 4)):
        present = [a for a in FOUR if a != missing]
        out.append(roundabout(code, FOUR, present, 90, 320, 80, titles("r3"), sample_volumes(4),
                              note("three-arm roundabout, arm %d missing" % missing)))
    out.append(roundabout("020400", FOUR, [1, 2, 3, 4], 90, 320, 80, titles("r4"), sample_volumes(4),
                          note("four-arm roundabout")))
    for n, ring_r, d1 in ((5, 110, 400), (6, 130, 400)):
        arms = {a: rnd(360 * (a - 1) / n) for a in range(1, n + 1)}
        out.append(roundabout("02%02d00" % n, arms, list(range(1, n + 1)), ring_r, d1, 80, titles("rn"),
                              sample_volumes(n), note("%d-arm roundabout" % n), k=n))
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
            # At a roundabout (see roundabout()) every line is meant to curve.
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


PREVIEW_SIZE = 169  # the new-diagram dialog shows the preview in a square this big


def preview_width(t):
    """The width that fits the diagram into the preview square."""
    w, h = t.general["diagramwidth"], t.general["diagramheight"]
    # Rounded down: the program rounds the height from the width, and it must
    # not come out one pixel too tall.
    return PREVIEW_SIZE if w >= h else max(1, (PREVIEW_SIZE * w) // h)


def render_previews(templates, cli, folder):
    """Each preview is drawn by the program from the template as the library
    opens it: the titles' placeholders resolved from the names files beside
    the program, the untitled file name, and the program's default settings
    (a private settings folder, so nobody's own settings leak in)."""
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        failed = 0
        for t, _ in templates:
            work = os.path.join(tmp, t.code)
            os.makedirs(work)
            kvo = os.path.join(work, "Korvimo_Nieuw.kvo")
            with open(kvo, "wb") as f:
                f.write("".join(l + "\r\n" for l in t.lines()[1:]).encode("cp1252"))
            png = os.path.join(folder, t.bmp)
            r = subprocess.run([cli, "render", kvo, png + ".new.png", "--width", str(preview_width(t))],
                               env=env, capture_output=True, text=True)
            err = "\n".join(l for l in r.stderr.splitlines() if "XDG_RUNTIME_DIR" not in l)
            if r.returncode != 0 or err.strip():
                failed += 1
                print("preview %s: %s" % (t.code, (err or "exit %d" % r.returncode).strip()), file=sys.stderr)
                if os.path.exists(png + ".new.png"):
                    os.remove(png + ".new.png")
                continue
            os.replace(png + ".new.png", png)
        return failed == 0


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
        if not os.access(args.cli, os.X_OK):
            print("no %s: previews not rendered" % args.cli, file=sys.stderr)
            return 1
        if not render_previews(templates, args.cli, os.path.dirname(args.out)):
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
