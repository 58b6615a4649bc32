#include "render/geometry.h"

#include <algorithm>
#include <cmath>

namespace korvimo {

long double directionAngle(long double x1, long double y1, long double x2, long double y2)
{
    long double e = 90;
    if (x2 - x1 != 0)
        e = std::fabs(std::atan((y1 - y2) / (x2 - x1)) * 180 / kPi);
    if (y2 <= y1 && x2 < x1)
        e = 180 - e;
    else if (y2 > y1 && x2 < x1)
        e = 180 + e;
    else if (y2 > y1 && x2 >= x1)
        e = 360 - e;
    return e == 0 ? 360 : e;
}

long double turnAngle(long double x1, long double y1, long double x2, long double y2, long double x3,
                      long double y3)
{
    long double g = directionAngle(x1, y1, x2, y2);
    long double h = directionAngle(x1, y1, x3, y3);
    if (g == 360)
        g = 0;
    if (h == 360)
        h = 0;
    return g > h ? h + (360 - g) : h - g;
}

long double distance(long double x1, long double y1, long double x2, long double y2)
{
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

namespace {

// Adds (dx, dy) to a point with the signs of the quadrant of direction e.
void shiftByQuadrant(long double e, long double dx, long double dy, long double& x, long double& y)
{
    if (e > 0 && e <= 90) {
        x += dx;
        y += dy;
    } else if (e > 90 && e <= 180) {
        x += dx;
        y -= dy;
    } else if (e > 180 && e <= 270) {
        x -= dx;
        y -= dy;
    } else if (e > 270 && e <= 360) {
        x -= dx;
        y += dy;
    }
}

long double signedAbs(long double v, long double sign) { return sign < 0 ? -std::fabs(v) : std::fabs(v); }

} // namespace

void offsetLine(PointRegisters& r, BandPart part)
{
    const bool first = part == BandPart::LijnVan1naar2;
    const int from = first ? 1 : 3;
    const int to = first ? 2 : 4;
    const long double d = first ? r.tOffset1 : r.tOffset2;
    const long double w = r.width;

    const long double e = directionAngle(r.xa[from], r.ya[from], r.xa[to], r.ya[to]);
    long double g = e >= 90 ? e - 90 : std::fabs(e - 90);
    g *= kDegToRad;
    const long double sg = std::sin(g);
    const long double cg = std::cos(g);

    const long double l = signedAbs(sg * d, d);
    const long double h = signedAbs(cg * d, d);
    shiftByQuadrant(e, h, l, r.xa[from], r.ya[from]);
    shiftByQuadrant(e, h, l, r.xa[to], r.ya[to]);

    const long double t = signedAbs(sg * w, w);
    const long double u = signedAbs(cg * w, w);
    r.xb[from] = r.xa[from];
    r.yb[from] = r.ya[from];
    r.xb[to] = r.xa[to];
    r.yb[to] = r.ya[to];
    shiftByQuadrant(e, u, t, r.xb[from], r.yb[from]);
    shiftByQuadrant(e, u, t, r.xb[to], r.yb[to]);
}

bool rayIntersection(PointRegisters& r, Edge edge)
{
    const bool a = edge == Edge::A;
    const auto& xs = a ? r.xa : r.xb;
    const auto& ys = a ? r.ya : r.yb;
    const long double x1 = xs[1], y1 = ys[1], x2 = xs[2], y2 = ys[2];
    const long double x3 = xs[3], y3 = ys[3], x4 = xs[4], y4 = ys[4];

    const long double m1 = x2 != x1 ? (y2 - y1) / (x2 - x1) : 0;
    const long double c1 = y1 - m1 * x1;
    const long double m2 = x4 != x3 ? (y4 - y3) / (x4 - x3) : 0;
    const long double c2 = y3 - m2 * x3;

    // Lines that run in one direction have no corner. Offsetting the points
    // of two parts that lie in line leaves their slopes a rounding error
    // apart, and the quotient of two rounding errors would put the corner
    // anywhere on the line (and the fillet built on it would loop).
    const bool parallel = std::fabs(m1 - m2) <= 1e-12L * std::max({1.0L, std::fabs(m1), std::fabs(m2)});
    long double xi = !parallel ? (c2 - c1) / (m1 - m2) : x1;
    long double yi = m1 * xi + c1;
    if (x2 == x1) {
        xi = x1;
        yi = m2 * x1 + c2;
    }
    if (x4 == x3) {
        xi = x3;
        yi = m1 * x3 + c1;
    }

    bool valid = distance(x1, y1, xi, yi) > distance(x1, y1, x2, y2)
                 && distance(x4, y4, xi, yi) > distance(x3, y3, x4, y4);
    if (x2 > x1 && !(xi >= x1))
        valid = false;
    if (x2 < x1 && !(xi <= x1))
        valid = false;
    if (y2 > y1 && !(yi >= y1))
        valid = false;
    if (y2 < y1 && !(yi <= y1))
        valid = false;
    if (x4 > x3 && !(xi <= x4))
        valid = false;
    if (x4 < x3 && !(xi >= x4))
        valid = false;
    if (y4 > y3 && !(yi <= y4))
        valid = false;
    if (y4 < y3 && !(yi >= y4))
        valid = false;

    if (a) {
        r.xa[5] = xi;
        r.ya[5] = yi;
    } else {
        r.xb[5] = xi;
        r.yb[5] = yi;
    }
    return valid;
}

} // namespace korvimo
