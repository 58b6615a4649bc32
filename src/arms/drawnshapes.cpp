#include "arms/drawnshapes.h"

#include <QLineF>
#include <QtMath>
#include <cmath>

#include "canvas/textmetrics.h"

namespace korvimo {

namespace {

QRectF inflated(const QRectF& r, double by) { return r.adjusted(-by, -by, by, by); }

QPolygonF boxPolygon(const MetaBox& b)
{
    return QPolygonF(QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom)));
}

} // namespace

QPolygonF textCell(QPointF topLeft, double w, double h, double angle)
{
    const double a = qDegreesToRadians(angle);
    const QPointF along(std::cos(a) * w, -std::sin(a) * w);
    const QPointF down(std::sin(a) * h, std::cos(a) * h);
    return QPolygonF({topLeft, topLeft + along, topLeft + along + down, topLeft + down});
}

QPolygonF arcSector(const MetaRecord& arc, double penWidth)
{
    const QRectF box(QPointF(arc.box.left, arc.box.top), QPointF(arc.box.right, arc.box.bottom));
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    auto angleOf = [&](QPoint p) { return std::atan2(-(p.y() - c.y()), p.x() - c.x()); };
    const double start = arc.points.size() > 0 ? angleOf(arc.points[0]) : 0;
    const double end = arc.points.size() > 1 ? angleOf(arc.points[1]) : start;
    double span = std::fmod(end - start, 2 * M_PI);
    if (span <= 1e-9)
        span += 2 * M_PI; // equal radials: the whole ellipse, as GDI draws it
    const int steps = std::max(4, int(std::ceil(span / (M_PI / 36))));
    const double half = penWidth / 2;
    QPolygonF outer, inner;
    for (int i = 0; i <= steps; ++i) {
        const double t = start + span * i / steps;
        const double cx = std::cos(t), sy = -std::sin(t);
        outer << QPointF(c.x() + (rx + half) * cx, c.y() + (ry + half) * sy);
        inner << QPointF(c.x() + std::max(0.0, rx - half) * cx, c.y() + std::max(0.0, ry - half) * sy);
    }
    for (qsizetype i = inner.size() - 1; i >= 0; --i)
        outer << inner[i];
    return outer;
}

bool shapesOverlap(const QPolygonF& a, const QPolygonF& b)
{
    if (a.size() < 3 || b.size() < 3)
        return false;
    if (!a.boundingRect().intersects(b.boundingRect()))
        return false;
    // Any crossing of two edges, or one shape wholly inside the other.
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QLineF e(a[i], a[(i + 1) % a.size()]);
        for (qsizetype j = 0; j < b.size(); ++j) {
            if (e.intersects(QLineF(b[j], b[(j + 1) % b.size()])) == QLineF::BoundedIntersection)
                return true;
        }
    }
    // No outlines cross, so one shape holds all of the other's corners or
    // none. A single corner can be miscounted when it lies level with a
    // horizontal edge of the other shape, so most of them must agree.
    const auto holds = [](const QPolygonF& outer, const QPolygonF& inner) {
        qsizetype in = 0;
        for (const QPointF& p : inner)
            in += outer.containsPoint(p, Qt::OddEvenFill) ? 1 : 0;
        return 2 * in > inner.size();
    };
    return holds(b, a) || holds(a, b);
}

namespace {

// The quad a pen of this half width covers along a segment; never thinner
// than a unit either way, so that a point or a hairline still has an inside.
QPolygonF segmentQuad(QPointF a, QPointF b, double half)
{
    half = std::max(half, 1.0);
    QLineF l(a, b);
    if (l.length() < 1e-9)
        return QPolygonF(QRectF(a - QPointF(half, half), a + QPointF(half, half)));
    const QPointF u = (b - a) / l.length() * half, n(-u.y(), u.x());
    return QPolygonF({a - u + n, b + u + n, b + u - n, a - u - n});
}

} // namespace

DrawnShapes drawnShapes(const Metafile& picture, int outlineWidth, const TextMetrics& metrics)
{
    using T = MetaRecordType;
    DrawnShapes out;
    PenSpec pen;
    BrushSpec brush;
    FontSpec font;
    QPointF at;
    bool signature = true;
    auto grow = [&](const QRectF& r, bool piece = true) {
        if (piece)
            out.pieces << r;
        out.bounds = out.bounds.isNull() ? r : out.bounds.united(r);
    };
    for (const MetaRecord& r : picture.records()) {
        const double half = pen.clear ? 0.0 : std::max(1, pen.width) / 2.0;
        switch (r.type) {
        case T::Pen: pen = r.pen; break;
        case T::Brush: brush = r.brush; break;
        case T::Font: font = r.font(); break;
        case T::MoveTo:
            if (!r.points.isEmpty())
                at = r.points[0];
            break;
        case T::LineTo:
            if (!r.points.isEmpty()) {
                grow(inflated(QRectF(at, QPointF(r.points[0])).normalized(), half), false);
                if (!pen.clear)
                    out.strokes << segmentQuad(at, r.points[0], half);
                at = r.points[0];
            }
            break;
        case T::Polygon:
        case T::Polyline:
        case T::PolyBezier: {
            QPolygonF p;
            for (const QPoint& q : r.points)
                p << QPointF(q);
            if (p.isEmpty())
                break;
            grow(inflated(p.boundingRect(), half));
            if (r.type == T::Polygon && !brush.clear)
                out.bands << p;
            else if (r.type == T::Polyline && !pen.clear)
                for (qsizetype i = 0; i + 1 < p.size(); ++i)
                    out.strokes << segmentQuad(p[i], p[i + 1], half);
            break;
        }
        case T::Arc: {
            const QPolygonF sector = arcSector(r, pen.width);
            grow(sector.boundingRect());
            if (pen.width > outlineWidth)
                out.bands << sector;
            break;
        }
        case T::Ellipse:
        case T::Rectangle:
        case T::StretchImage:
        case T::StretchMetafile: grow(inflated(boxPolygon(r.box).boundingRect(), half)); break;
        case T::TextOut: {
            if (signature) {
                signature = false;
                break;
            }
            if (r.text().isEmpty() || r.points.isEmpty())
                break;
            DrawnText t;
            t.text = r.text();
            t.angle = font.escapement / 10.0;
            t.cell = textCell(r.points[0], metrics.textWidth(font, r.text()), metrics.textHeight(font), t.angle);
            grow(t.cell.boundingRect());
            out.texts << t;
            break;
        }
        }
    }
    return out;
}

} // namespace korvimo
