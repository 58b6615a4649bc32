// Drawing of an arc flow whose interpretation left "ARC" in the element
// code register: the curve, the extension, the straight parts and markers.
#include <QList>
#include <QPoint>
#include <cmath>

#include "core/programcontext.h"
#include "render/arcflow.h"
#include "render/bandpainter.h"
#include "render/geometry.h"
#include "render/overlays.h"
#include "render/renderstate.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

struct Pt {
    long double x, y;
};

QPoint px(Pt p) { return QPoint(roundToEven(p.x), roundToEven(p.y)); }
Pt mid(Pt a, Pt b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// Which tangent point is Xa6/Ya6's partner: Xa3/Ya3 when part 2 starts at
// the corner side (case A, the curve's far end lies on part 1's line),
// otherwise Xa2/Ya2 (case B).
struct Tangents {
    bool caseA;
    Pt a6, b6;  // Xa6/Ya6 and Xb6/Yb6
    Pt t, tb;   // the other tangent point and its edge-b twin
    Pt a5, b5;  // the corners
};

Tangents tangents(const PointRegisters& r)
{
    const long double v0 = distance(r.xa[5], r.ya[5], r.xa[2], r.ya[2]);
    const long double v1 = distance(r.xa[5], r.ya[5], r.xa[3], r.ya[3]);
    Tangents k;
    k.caseA = v1 <= v0;
    k.a6 = {r.xa[6], r.ya[6]};
    k.b6 = {r.xb[6], r.yb[6]};
    k.t = k.caseA ? Pt{r.xa[3], r.ya[3]} : Pt{r.xa[2], r.ya[2]};
    k.tb = k.caseA ? Pt{r.xb[3], r.yb[3]} : Pt{r.xb[2], r.yb[2]};
    k.a5 = {r.xa[5], r.ya[5]};
    k.b5 = {r.xb[5], r.yb[5]};
    return k;
}

// A counter-clockwise arc of the circle of the given radius around the
// centre Xa8/Ya8, from the radial through `from` to the radial through `to`.
void circleArc(MetaCanvas& c, const PointRegisters& r, long double radius, Pt from, Pt to)
{
    const long double cx = r.xa[8], cy = r.ya[8];
    c.arc(roundToEven(cx - radius), roundToEven(cy - radius), roundToEven(cx + radius), roundToEven(cy + radius),
          roundToEven(from.x), roundToEven(from.y), roundToEven(to.x), roundToEven(to.y));
}

void segment(MetaCanvas& c, Pt a, Pt b)
{
    c.moveTo(roundToEven(a.x), roundToEven(a.y));
    c.lineTo(roundToEven(b.x), roundToEven(b.y));
}

void bezier(MetaCanvas& c, Pt p0, Pt p1, Pt p2, Pt p3) { c.polyBezier({px(p0), px(p1), px(p2), px(p3)}); }

void drawCurveWithArcs(RenderState& s, const Tangents& k, int direction)
{
    MetaCanvas& c = s.canvas;
    PointRegisters& r = s.reg;
    if (r.radius > 300)
        r.radius += 0.2L * s.general.linewidth;
    const long double radius = r.radius;
    const long double w = r.width;
    const Pt centre{r.xa[8], r.ya[8]};
    // Edge b lies inside or outside edge a's circle, whichever side it is on.
    const long double wSigned = distance(centre.x, centre.y, k.tb.x, k.tb.y) > distance(centre.x, centre.y, k.t.x, k.t.y)
                                    ? -w
                                    : w;
    const Pt from = direction == 1 ? k.a6 : k.t;
    const Pt to = direction == 1 ? k.t : k.a6;
    if (s.general.sfill) {
        c.setPenWidth(roundToEven(std::fabs(w)));
        c.setPenColor(s.fillColour());
        if (direction != 0)
            circleArc(c, r, radius - wSigned / 2, from, to);
        c.setPenWidth(s.general.linewidth);
    }
    c.setPenColor(s.outlineColour());
    if (direction != 0) {
        circleArc(c, r, radius, from, to);
        circleArc(c, r, radius - wSigned, from, to);
    }
}

// The diagnostic drawing: each edge as one cubic curve whose control points
// sit halfway to the corner.
void drawCurveWithBeziers(RenderState& s, const Tangents& k)
{
    MetaCanvas& c = s.canvas;
    const Pt a1 = mid(k.a5, k.a6), a2 = mid(k.a5, k.t);
    const Pt b1 = mid(k.b5, k.b6), b2 = mid(k.b5, k.tb);
    if (s.general.sfill) {
        c.setPenWidth(roundToEven(std::fabs(s.reg.width)));
        c.setPenColor(s.fillColour());
        bezier(c, mid(k.a6, k.b6), mid(a1, b1), mid(a2, b2), mid(k.t, k.tb));
        c.setPenWidth(s.general.linewidth);
    }
    c.setPenColor(s.outlineColour());
    bezier(c, k.a6, a1, a2, k.t);
    bezier(c, k.b6, b1, b2, k.tb);
}

// The part that ends farther from the corner is lengthened up to the curve.
void drawExtension(RenderState& s, const Tangents& k)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const int end = k.caseA ? 2 : 3;
    const Pt ea{r.xa[end], r.ya[end]}, eb{r.xb[end], r.yb[end]};
    const int fill = s.fillColour();
    c.setBrushClear(false);
    c.setBrushColor(fill);
    c.setPenColor(fill);
    if (s.general.sfill)
        c.polygon({px(k.a6), px(ea), px(eb), px(k.b6)});
    c.setPenColor(s.outlineColour());
    segment(c, k.a6, ea);
    segment(c, eb, k.b6);
}

void drawMarkers(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    for (int i = 1; i <= 5; ++i)
        drawIntersectionMarker(c, 0x000000, r.xa[i], r.ya[i]);
    for (int i = 1; i <= 5; ++i)
        drawIntersectionMarker(c, 0x000000, r.xb[i], r.yb[i]);
    drawIntersectionMarker(c, 0x0000FF, r.xa[6], r.ya[6]);
    drawIntersectionMarker(c, 0x0000FF, r.xb[6], r.yb[6]);
    drawIntersectionMarker(c, 0x00FFFF, r.xa[7], r.ya[7]);
    drawIntersectionMarker(c, 0xFF0000, r.xa[8], r.ya[8]);
    drawIntersectionMarker(c, 0x008000, r.pijlX1Punt, r.pijlY1Punt);
    drawIntersectionMarker(c, 0x00FF00, r.pijlX2Punt, r.pijlY2Punt);
    c.setPenWidth(s.general.linewidth);
}

} // namespace

int arcDirectionChoice(const RenderState& s)
{
    const PointRegisters& r = s.reg;
    const Tangents k = tangents(r);
    int z = 0;
    const bool a7IsTangent
        = (r.xa[7] == r.xa[3] && r.ya[7] == r.ya[3]) || (r.xa[7] == r.xa[2] && r.ya[7] == r.ya[2]);
    if (!a7IsTangent) {
        z = 1;
        if (s.curveForm == QLatin1String("A"))
            z = turnAngle(r.xa[8], r.ya[8], k.t.x, k.t.y, k.a6.x, k.a6.y) > 180 ? 1 : 2;
    }
    if (s.curveForm == QLatin1String("B"))
        z = 1;
    else if (s.curveForm == QLatin1String("C"))
        z = 2;
    return z;
}

void drawArc(RenderState& s)
{
    PointRegisters& r = s.reg;
    const Tangents k = tangents(r);
    s.arcDirection = arcDirectionChoice(s);
    if (s.ctx.view.testPolyDrawing)
        drawCurveWithBeziers(s, k);
    else
        drawCurveWithArcs(s, k, s.arcDirection);
    drawExtension(s, k);

    prepareArrows(s, s.startArrow, false, {r.xa[1], r.ya[1], r.xa[2], r.ya[2], r.xb[1], r.yb[1], r.xb[2], r.yb[2]});
    paintBand(s, BandKind::Arc, s.startArrow, false);
    prepareArrows(s, false, s.endArrow, {r.xa[3], r.ya[3], r.xa[4], r.ya[4], r.xb[3], r.yb[3], r.xb[4], r.yb[4]});
    paintBand(s, BandKind::Arc, false, s.endArrow);

    if (s.ctx.view.showIntersections)
        drawMarkers(s);
}

} // namespace korvimo
