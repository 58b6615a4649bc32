// CIR: the outline of a roundabout, either the whole circle or the slice
// between the outer edges of two arms' bands.
#include <cmath>

#include "canvas/metacanvas.h"
#include "core/programcontext.h"
#include "render/furniture.h"
#include "render/geometry.h"
#include "render/overlays.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

namespace {

long double degrees(long double radians) { return radians * 180 / kPi; }

// Angle of the point where a band of (width + offset) beside the arm meets
// the circle, seen from the centre. R = 0 gives no widening.
long double sliceWidening(long double widthPlusOffset, long double radius)
{
    return radius == 0 ? 0 : degrees(std::asin(widthPlusOffset / radius));
}

} // namespace

void interpretCir(RenderState& s, ScriptFieldReader& f)
{
    PointRegisters& r = s.reg;
    s.resolvePoint(f.nextField(), r.xa[5], r.ya[5]);
    r.radius = s.thickness(f.nextField());
    s.circleType = f.nextField().startsWith(QLatin1Char('S')) ? QStringLiteral("S") : QStringLiteral("F");
    if (s.circleType != QLatin1String("S"))
        return;
    const long double R = r.radius;
    const long double x5 = r.xa[5], y5 = r.ya[5];

    // Part 1: where its band leaves the circle.
    s.resolvePoint(f.nextField(), r.xa[1], r.ya[1]);
    s.resolvePoint(f.nextField(), r.xa[2], r.ya[2]);
    r.tOffset1 = s.thickness(f.nextField());
    r.width = s.thickness(f.nextField());
    long double alpha = r.xa[2] == x5 ? 90 : degrees(std::atan((y5 - r.ya[2]) / (r.xa[2] - x5)));
    long double delta = sliceWidening(r.width + r.tOffset1, R);
    long double g = (alpha + delta) * kDegToRad;
    const bool towards1 = r.ya[2] >= y5 ? r.xa[2] > x5 : !(r.xa[2] < x5);
    if (towards1) {
        r.xa[6] = x5 + R * std::cos(g);
        r.ya[6] = y5 - R * std::sin(g);
    } else {
        r.xa[6] = x5 - R * std::cos(g);
        r.ya[6] = y5 + R * std::sin(g);
    }
    offsetLine(r, BandPart::LijnVan1naar2);

    // Part 2: where its band reaches the circle.
    s.resolvePoint(f.nextField(), r.xa[3], r.ya[3]);
    s.resolvePoint(f.nextField(), r.xa[4], r.ya[4]);
    r.tOffset2 = s.thickness(f.nextField());
    r.width = s.thickness(f.nextField());
    alpha = x5 == r.xa[3] ? 90 : degrees(std::atan((y5 - r.ya[3]) / (x5 - r.xa[3])));
    delta = sliceWidening(r.width + r.tOffset2, R);
    g = (alpha + delta) * kDegToRad;
    const bool towards2 = r.ya[3] >= y5 ? r.xa[3] >= x5 : !(r.xa[3] <= x5);
    if (towards2) {
        r.xa[7] = x5 + R * std::cos(g);
        r.ya[7] = y5 + R * std::sin(g);
    } else {
        r.xa[7] = x5 - R * std::cos(g);
        r.ya[7] = y5 - R * std::sin(g);
    }
    offsetLine(r, BandPart::LijnVan3naar4);
    r.sliceAlpha = alpha;
    r.sliceDelta = delta;
}

void drawCir(RenderState& s)
{
    MetaCanvas& c = s.canvas;
    const PointRegisters& r = s.reg;
    const long double x5 = r.xa[5], y5 = r.ya[5], R = r.radius;
    c.setPenWidth(s.general.linewidth);
    c.setPenColor(0);
    const int left = roundToEven(x5 - R), top = roundToEven(y5 - R);
    const int right = roundToEven(x5 + R), bottom = roundToEven(y5 + R);
    if (s.circleType == QLatin1String("S")) {
        c.arc(left, top, right, bottom, roundToEven(r.xa[6]), roundToEven(r.ya[6]), roundToEven(r.xa[7]),
              roundToEven(r.ya[7]));
        c.moveTo(roundToEven(r.xb[2]), roundToEven(r.yb[2]));
        c.lineTo(roundToEven(r.xa[6]), roundToEven(r.ya[6]));
        c.moveTo(roundToEven(r.xb[3]), roundToEven(r.yb[3]));
        c.lineTo(roundToEven(r.xa[7]), roundToEven(r.ya[7]));
    } else {
        // Equal start and end radials: the whole circle.
        c.arc(left, top, right, bottom, roundToEven(x5), 0, roundToEven(x5), 0);
    }

    if (s.ctx.view.showIntersections) {
        for (int i = 1; i <= 4; ++i)
            drawIntersectionMarker(c, 0x000000, r.xa[i], r.ya[i]);
        for (int i = 1; i <= 4; ++i)
            drawIntersectionMarker(c, 0x000000, r.xb[i], r.yb[i]);
        drawIntersectionMarker(c, 0x0000FF, r.xa[6], r.ya[6]);
        drawIntersectionMarker(c, 0xFF0000, r.xa[7], r.ya[7]);
        c.setPenWidth(s.general.linewidth);
    }
}

} // namespace korvimo
