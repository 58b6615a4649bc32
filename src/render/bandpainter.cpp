#include "render/bandpainter.h"

#include <cmath>

#include "render/geometry.h"
#include "render/renderstate.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

struct Pt {
    long double x, y;
};

QPoint px(Pt p) { return QPoint(roundToEven(p.x), roundToEven(p.y)); }

void polygon(MetaCanvas& c, std::initializer_list<Pt> pts)
{
    QList<QPoint> list;
    list.reserve(static_cast<qsizetype>(pts.size()));
    for (Pt p : pts)
        list.append(px(p));
    c.polygon(list);
}

// An open outline drawn as GDI draws it: MoveTo, then LineTo per point.
void path(MetaCanvas& c, std::initializer_list<Pt> pts)
{
    bool first = true;
    for (Pt p : pts) {
        const QPoint q = px(p);
        if (first)
            c.moveTo(q.x(), q.y());
        else
            c.lineTo(q.x(), q.y());
        first = false;
    }
}

void useSolidBrush(MetaCanvas& c, int colour)
{
    c.setBrushClear(false);
    c.setBrushColor(colour);
}

} // namespace

void prepareArrows(RenderState& s, bool startArrow, bool endArrow, const BandCorners& k)
{
    PointRegisters& r = s.reg;
    const long double arrowsize = s.general.arrowsize;
    const long double theta = directionAngle(k.xa1, k.ya1, k.xa2, k.ya2) * kDegToRad;
    const long double size = std::fabs(arrowsize);
    const long double dx = std::cos(theta) * size;
    const long double dy = std::sin(theta) * size;

    r.pijlXa1 = k.xa1;
    r.pijlYa1 = k.ya1;
    r.pijlXa2 = k.xa2;
    r.pijlYa2 = k.ya2;
    r.pijlXb1 = k.xb1;
    r.pijlYb1 = k.yb1;
    r.pijlXb2 = k.xb2;
    r.pijlYb2 = k.yb2;

    if (startArrow) {
        r.pijlXa1 += dx;
        r.pijlYa1 -= dy;
        r.pijlXb1 += dx;
        r.pijlYb1 -= dy;
        if (arrowsize < 0) {
            r.pijlX1Punt = (k.xa1 + k.xb1) / 2;
            r.pijlY1Punt = (k.ya1 + k.yb1) / 2;
        } else {
            r.pijlX1Punt = (r.pijlXa1 + r.pijlXb1) / 2;
            r.pijlY1Punt = (r.pijlYa1 + r.pijlYb1) / 2;
        }
    }
    if (endArrow) {
        r.pijlXa2 -= dx;
        r.pijlYa2 += dy;
        r.pijlXb2 -= dx;
        r.pijlYb2 += dy;
        if (arrowsize < 0) {
            r.pijlX2Punt = (r.pijlXa2 + r.pijlXb2) / 2;
            r.pijlY2Punt = (r.pijlYa2 + r.pijlYb2) / 2;
        } else {
            r.pijlX2Punt = (k.xa2 + k.xb2) / 2;
            r.pijlY2Punt = (k.ya2 + k.yb2) / 2;
        }
    }
}

void paintBand(RenderState& s, BandKind kind, bool startArrow, bool endArrow)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const int fill = s.fillColour();
    const int outline = s.outlineColour();
    const bool sfill = s.general.sfill;
    const bool pointedEnd = s.general.arrowsize >= 0;

    const Pt a1{r.pijlXa1, r.pijlYa1}, a2{r.pijlXa2, r.pijlYa2};
    const Pt b1{r.pijlXb1, r.pijlYb1}, b2{r.pijlXb2, r.pijlYb2};
    const Pt p1{r.pijlX1Punt, r.pijlY1Punt}, p2{r.pijlX2Punt, r.pijlY2Punt};

    useSolidBrush(c, fill);
    c.setPenColor(fill);
    if (sfill)
        polygon(c, {a1, a2, b2, b1});

    c.setPenColor(outline);
    path(c, {a1, a2});
    path(c, {b1, b2});

    if (startArrow) {
        const Pt ea{r.xa[1], r.ya[1]}, eb{r.xb[1], r.yb[1]};
        c.setPenColor(fill);
        if (pointedEnd) {
            // Positive arrowsize: the start is a swallow-tail notch.
            if (sfill) {
                polygon(c, {ea, a1, p1});
                polygon(c, {eb, b1, p1});
            }
            c.setPenColor(outline);
            path(c, {a1, ea, p1, eb, b1});
        } else {
            if (sfill)
                polygon(c, {a1, p1, b1});
            c.setPenColor(outline);
            path(c, {a1, p1, b1});
        }
    }

    if (endArrow) {
        const int end = kind == BandKind::Lne ? 2 : 4;
        const Pt ea{r.xa[end], r.ya[end]}, eb{r.xb[end], r.yb[end]};
        c.setPenColor(fill);
        if (pointedEnd) {
            if (sfill)
                polygon(c, {a2, p2, b2});
            c.setPenColor(outline);
            path(c, {a2, p2, b2});
        } else {
            // Negative arrowsize (left-hand traffic): the end is notched.
            if (sfill) {
                polygon(c, {a2, ea, p2});
                polygon(c, {b2, eb, p2});
            }
            c.setPenColor(outline);
            path(c, {a2, ea, p2, eb, b2});
        }
    }
}

void drawStraightJoint(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const int fill = s.fillColour();
    const Pt a2{r.xa[2], r.ya[2]}, a3{r.xa[3], r.ya[3]};
    const Pt b2{r.xb[2], r.yb[2]}, b3{r.xb[3], r.yb[3]};

    useSolidBrush(c, fill);
    c.setPenColor(fill);
    if (s.general.sfill)
        polygon(c, {a2, a3, b3, b2});
    c.setPenColor(s.outlineColour());
    path(c, {a2, a3});
    path(c, {b2, b3});
}

} // namespace korvimo
