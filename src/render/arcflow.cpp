// Interpretation of ARC and AR2 lines: the corner, the fillet circle and the
// two fallbacks (straight joint, split into two halves).
#include "render/arcflow.h"

#include <algorithm>
#include <cmath>

#include "core/programcontext.h"
#include "render/coordinates.h"
#include "render/geometry.h"
#include "render/renderstate.h"
#include "render/rounding.h"
#include "render/scriptline.h"

namespace korvimo {

namespace {

// The fields of an arc line as written, for the lines a fallback generates.
struct ArcFields {
    QString p1, p2, p3, p4;
    QString d1, d2, w;
    QString colour, form, a1, a2;
};

ArcFields readFields(ScriptFieldReader& f)
{
    ArcFields a;
    a.p1 = f.nextField();
    a.p2 = f.nextField();
    a.p3 = f.nextField();
    a.p4 = f.nextField();
    a.d1 = f.nextField();
    a.d2 = f.nextField();
    a.w = f.nextField();
    a.colour = f.nextField();
    a.form = f.nextField();
    a.a1 = f.nextField();
    a.a2 = f.nextField();
    return a;
}

QString line(const QString& code, std::initializer_list<QString> fields)
{
    QString out = code + QStringLiteral(";1;");
    for (const QString& f : fields)
        out += f + QLatin1Char(';');
    return out;
}

long double atanDegrees(long double num, long double den)
{
    return std::atan(num / den) * 180 / kPi;
}

// The straight joint: this line draws the quadrilateral between the parts;
// the two LNE lines after it draw the parts with their arrows, part 2 first
// and then part 1 (so part 1 is painted over part 2 where they overlap).
void makeStraightJoint(RenderState& s, const ArcFields& a)
{
    s.elementCode = QStringLiteral("LVU");
    const QString n = QStringLiteral("N");
    // Each insertion goes directly after the current line, so the line that
    // is to come last goes in first.
    s.insertAfterCurrent(line(QStringLiteral("LNE"), {a.p1, a.p2, a.d1, a.w, a.colour, a.a1, n}));
    s.insertAfterCurrent(line(QStringLiteral("LNE"), {a.p3, a.p4, a.d2, a.w, a.colour, n, a.a2}));
}

QString helperLine(const char* name, long double x, long double y)
{
    return QString::fromLatin1(name) + QLatin1Char('=') + QString::number(roundToEven(x / 10)) + QLatin1Char(';')
           + QString::number(roundToEven(y / 10)) + QLatin1Char(';');
}

// The four points as resolved (before the offset lines) and the band values,
// to try out where the helper segment of a split goes.
struct RawParts {
    long double x[5] = {}, y[5] = {};
    long double d1 = 0, d2 = 0, w = 0;
};

bool buildFillet(PointRegisters& r, long double win9xBound);

// How well the halves come out when they run through the helper segment
// N-F: per half one point for each valid corner (edges a and b) and one
// more when, with both valid, its curve passes the arc rule's size and
// bound checks - a half that fails them is joined straight, with a sharp
// corner in the middle of the turn. Six is the best there is.
int validHalfCorners(const RawParts& p, long double nx, long double ny, long double fx, long double fy,
                     long double win9xBound)
{
    int valid = 0;
    const auto half = [&](long double x1, long double y1, long double x2, long double y2, long double d1,
                          long double x3, long double y3, long double x4, long double y4, long double d2) {
        PointRegisters r;
        r.xa[1] = x1, r.ya[1] = y1, r.xa[2] = x2, r.ya[2] = y2;
        r.xa[3] = x3, r.ya[3] = y3, r.xa[4] = x4, r.ya[4] = y4;
        r.tOffset1 = d1, r.tOffset2 = d2, r.width = p.w;
        offsetLine(r, BandPart::LijnVan1naar2);
        offsetLine(r, BandPart::LijnVan3naar4);
        const bool a = rayIntersection(r, Edge::A);
        const bool b = rayIntersection(r, Edge::B);
        valid += (a ? 1 : 0) + (b ? 1 : 0);
        if (a && b && buildFillet(r, win9xBound))
            ++valid;
    };
    half(p.x[1], p.y[1], p.x[2], p.y[2], p.d1, nx, ny, fx, fy, 0);
    half(nx, ny, fx, fy, 0, p.x[3], p.y[3], p.x[4], p.y[4], p.d2);
    return valid;
}

// A helper point as the working list will hold it: whole diagram units.
long double onGrid(long double v) { return static_cast<long double>(roundToEven(v / 10)) * 10; }

// Parts that do not meet ahead of each other (a U-turn, for one) are drawn
// as two arcs through a short helper segment across the gap, 2 diagram units
// either side of the middle and tilted 15 degrees. When the segment lies so
// that a half's parts would meet behind their ends (in a U-turn with its
// ends level one half always does, and would hook back), the segment is
// moved forward along part 1, a diagram unit or more at a time, until both
// halves have proper corners; if no place works it stays in the middle.
void splitArc(RenderState& s, const ArcFields& a, const RawParts& raw)
{
    const PointRegisters& r = s.reg;
    const long double g1 = directionAngle(r.xa[1], r.ya[1], r.xa[5], r.ya[5]);
    const long double g2 = directionAngle(r.xa[1], r.ya[1], r.xa[3], r.ya[3]);
    const long double delta = directionAngle(r.xa[5], r.ya[5], r.xa[3], r.ya[3]);
    const long double beta = (g1 > g2 ? delta - 15 : delta + 15) * kDegToRad;
    const long double forward = directionAngle(r.xa[1], r.ya[1], r.xa[2], r.ya[2]) * kDegToRad;
    const long double step = std::max(10.0L, distance(r.xa[2], r.ya[2], r.xa[3], r.ya[3]) / 50);

    const long double bound = s.ctx.settings.arcCorrectionWin9x;
    long double h1x = 0, h1y = 0, h2x = 0, h2y = 0;
    int best = -1;
    for (int k = 0; k <= 100 && best < 6; ++k) {
        const long double cx = r.xa[5] + k * step * std::cos(forward);
        const long double cy = r.ya[5] - k * step * std::sin(forward);
        const long double x1 = cx + 20 * std::cos(beta), y1 = cy - 20 * std::sin(beta);
        const long double x2 = cx - 20 * std::cos(beta), y2 = cy + 20 * std::sin(beta);
        const bool firstNearer = (r.xa[2] - x1) * (r.xa[2] - x1) + (r.ya[2] - y1) * (r.ya[2] - y1)
                                 < (r.xa[2] - x2) * (r.xa[2] - x2) + (r.ya[2] - y2) * (r.ya[2] - y2);
        const int valid = firstNearer ? validHalfCorners(raw, onGrid(x1), onGrid(y1), onGrid(x2), onGrid(y2), bound)
                                      : validHalfCorners(raw, onGrid(x2), onGrid(y2), onGrid(x1), onGrid(y1), bound);
        if (valid > best) {
            best = valid;
            h1x = x1, h1y = y1, h2x = x2, h2y = y2;
        }
    }
    s.coordinates.append(helperLine("A061", h1x, h1y));
    s.coordinates.append(helperLine("A071", h2x, h2y));
    s.intensities.append(QStringLiteral("A000=0;V;"));

    const auto sq = [](long double dx, long double dy) { return dx * dx + dy * dy; };
    const bool h1Nearer = sq(r.xa[2] - h1x, r.ya[2] - h1y) < sq(r.xa[2] - h2x, r.ya[2] - h2y);
    const QString nearName = h1Nearer ? QStringLiteral("A061") : QStringLiteral("A071");
    const QString farName = h1Nearer ? QStringLiteral("A071") : QStringLiteral("A061");
    const QString zero = QStringLiteral("[A000]");
    const QString yes = QStringLiteral("A"), no = QStringLiteral("N");
    s.insertAfterCurrent(line(QStringLiteral("AR2"), {nearName, farName, a.p3, a.p4, zero, a.d2, a.w, a.colour,
                                                      yes, no, a.a2}));
    s.insertAfterCurrent(line(QStringLiteral("AR2"), {a.p1, a.p2, nearName, farName, a.d1, zero, a.w, a.colour,
                                                      yes, a.a1, no}));
}

// The second tangent point: at distance r from the corner Xa5/Ya5 on the
// line through the corner and the tangent point (tx, ty), on the side of
// that point.
void secondTangentPoint(PointRegisters& r, long double tx, long double ty, long double radius)
{
    const long double x5 = r.xa[5], y5 = r.ya[5];
    const long double alpha = (x5 == tx ? 90 : atanDegrees(y5 - ty, x5 - tx)) * kDegToRad;
    const long double ca = std::cos(alpha), sa = std::sin(alpha);

    long double x6 = x5 - radius * ca;
    const bool xStays = (tx <= x6 && x6 <= x5) || (x5 < x6 && x6 < tx)
                        || roundToEven64(1000 * x6) == roundToEven64(1000 * tx);
    if (!xStays)
        x6 = x5 + radius * ca;
    long double y6 = y5 + radius * sa;
    const bool yStays = (ty < y6 && y6 < y5) || (y5 <= y6 && y6 <= ty) || (x6 == tx && y6 == ty);
    if (!yStays)
        y6 = y5 - radius * sa;
    r.xa[6] = x6;
    r.ya[6] = y6;
}

// Line slope as the geometry uses it: 0 for a vertical line.
long double slope(long double x1, long double y1, long double x2, long double y2)
{
    return x2 == x1 ? 0 : (y2 - y1) / (x2 - x1);
}

bool sameAt1000(long double a, long double b) { return roundToEven64(1000 * a) == roundToEven64(1000 * b); }

// Steps from the corner to the fillet circle. Returns false when the curve
// is too small or too large to draw, which calls for the straight joint.
// win9xBound is the setting ArcCorrectionWin9x (0 = off).
bool buildFillet(PointRegisters& r, long double win9xBound)
{
    const long double d2 = distance(r.xa[5], r.ya[5], r.xa[2], r.ya[2]);
    const long double d3 = distance(r.xa[5], r.ya[5], r.xa[3], r.ya[3]);
    const bool part1Nearer = d2 < d3;

    if (part1Nearer) {
        secondTangentPoint(r, r.xa[3], r.ya[3], std::fabs(d2) - 0.001L);
        r.xb[6] = r.xb[3] + (r.xa[6] - r.xa[3]);
        r.yb[6] = r.yb[3] + (r.ya[6] - r.ya[3]);
        r.xa[7] = (r.xa[2] + r.xa[6]) / 2;
        r.ya[7] = (r.ya[2] + r.ya[6]) / 2;
    } else {
        if (d2 == d3) {
            r.xa[6] = r.xa[2];
            r.ya[6] = r.ya[2];
        } else {
            secondTangentPoint(r, r.xa[2], r.ya[2], std::fabs(d3) - 0.001L);
        }
        r.xb[6] = r.xb[2] + (r.xa[6] - r.xa[2]);
        r.yb[6] = r.yb[2] + (r.ya[6] - r.ya[2]);
        r.xa[7] = (r.xa[3] + r.xa[6]) / 2;
        r.ya[7] = (r.ya[3] + r.ya[6]) / 2;
    }
    // Keeps the bisector from being exactly vertical or horizontal.
    if (sameAt1000(r.xa[7], r.xa[5]) || sameAt1000(r.ya[7], r.ya[5])) {
        r.xa[7] += 0.001L;
        r.ya[7] += 0.001L;
    }

    // The centre: where the bisector (corner to chord middle) meets the
    // perpendicular to the nearer part at its tangent point.
    const long double m = slope(r.xa[5], r.ya[5], r.xa[7], r.ya[7]);
    const long double c = r.ya[7] - m * r.xa[7];
    const int from = part1Nearer ? 1 : 3, to = part1Nearer ? 2 : 4;
    const int at = part1Nearer ? 2 : 3; // the tangent point on the nearer part
    const long double m1 = slope(r.xa[from], r.ya[from], r.xa[to], r.ya[to]);
    const long double mp = m1 != 0 ? -1 / m1 : 0;
    const long double cp = r.ya[at] - mp * r.xa[at];
    if (m != mp)
        r.xa[8] = (cp - c) / (m - mp);
    if (r.ya[to] == r.ya[from])
        r.xa[8] = r.xa[at];
    r.ya[8] = c + m * r.xa[8];

    if (std::fabs(r.xa[5] - r.xa[7]) < 20 && std::fabs(r.ya[5] - r.ya[7]) < 20)
        return false; // a corner this tight shows no curve

    r.radius = distance(r.xa[8], r.ya[8], r.xa[6], r.ya[6]);

    // Old platforms drew nothing for arcs whose bounds passed a coordinate
    // limit; the setting keeps that behaviour available.
    if (win9xBound != 0) {
        const long double rr = r.radius;
        if (std::fabs(r.xa[8] - rr) + std::fabs(r.xa[8] + rr) >= win9xBound
            || std::fabs(r.ya[8] - rr) + std::fabs(r.ya[8] + rr) >= win9xBound)
            return false;
    }
    return true;
}

} // namespace

void interpretArc(RenderState& s, ScriptFieldReader& f)
{
    const bool isArc = f.code() == QLatin1String("ARC");
    s.elementCode = QStringLiteral("ARC");
    if (isArc)
        removeNonNumericPoints(s.coordinates);

    const ArcFields a = readFields(f);
    PointRegisters& r = s.reg;
    s.resolvePoint(a.p1, r.xa[1], r.ya[1]);
    s.resolvePoint(a.p2, r.xa[2], r.ya[2]);
    s.resolvePoint(a.p3, r.xa[3], r.ya[3]);
    s.resolvePoint(a.p4, r.xa[4], r.ya[4]);
    r.tOffset1 = s.thickness(a.d1);
    r.tOffset2 = s.thickness(a.d2);
    r.width = s.thickness(a.w);
    RawParts raw;
    for (int i = 1; i <= 4; ++i)
        raw.x[i] = r.xa[i], raw.y[i] = r.ya[i];
    raw.d1 = r.tOffset1, raw.d2 = r.tOffset2, raw.w = r.width;
    if (r.width == 0) {
        s.elementCode.clear();
        return;
    }
    s.colour = s.colourValue(a.colour);
    s.curveForm = a.form;
    s.startArrow = a.a1 == QLatin1String("A");
    s.endArrow = a.a2 == QLatin1String("A");

    offsetLine(r, BandPart::LijnVan1naar2);
    offsetLine(r, BandPart::LijnVan3naar4);
    const bool cornerAValid = rayIntersection(r, Edge::A);
    const bool cornerValid = rayIntersection(r, Edge::B);

    if (!cornerValid && isArc) {
        s.elementCode.clear();
        r.xa[5] = (r.xa[2] + r.xa[3]) / 2;
        r.ya[5] = (r.ya[2] + r.ya[3]) / 2;
        long double t = turnAngle(r.xa[1], r.ya[1], r.xa[2], r.ya[2], r.xa[5], r.ya[5]);
        if (t > 180)
            t = turnAngle(r.xa[1], r.ya[1], r.xa[5], r.ya[5], r.xa[2], r.ya[2]);
        const ProgramSettings& ps = s.ctx.settings;
        if (t < ps.arc22ArcsValue || !ps.arc22ArcsAllowed)
            makeStraightJoint(s, a);
        else
            splitArc(s, a, raw);
        return;
    }

    // A half of a split arc whose edge a meets the other part's line beyond
    // that part's start has no fillet on the right side of the corner: the
    // circle through its tangent points would hook back against the travel.
    // Such a half is joined straight instead.
    if (!isArc && !cornerAValid) {
        makeStraightJoint(s, a);
        return;
    }
    if (!buildFillet(r, s.ctx.settings.arcCorrectionWin9x))
        makeStraightJoint(s, a);
}

} // namespace korvimo
