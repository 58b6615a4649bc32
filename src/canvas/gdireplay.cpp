#include "canvas/gdireplay.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace korvimo::metafile_detail {

namespace {

// Saved states and objects beyond these are a broken file, not a picture.
constexpr std::size_t kMaxSaved = 256;
constexpr std::size_t kMaxObjects = 65536;
// Coordinates are clamped here so that nothing downstream overflows.
constexpr double kMaxCoordinate = 1.0e8;

int clampToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -kMaxCoordinate, kMaxCoordinate)));
}

double millimetresPerUnit(int mapMode)
{
    switch (mapMode) {
    case GdiReplay::LoMetric: return 0.1;
    case GdiReplay::HiMetric: return 0.01;
    case GdiReplay::LoEnglish: return 0.254;
    case GdiReplay::HiEnglish: return 0.0254;
    case GdiReplay::Twips: return 25.4 / 1440.0;
    default: return 0;
    }
}

GdiReplay::Xform multiply(const GdiReplay::Xform& a, const GdiReplay::Xform& b)
{
    // a then b
    GdiReplay::Xform r;
    r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
    r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
    r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
    r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
    r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
    r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
    return r;
}

} // namespace

GdiReplay::GdiReplay(Metafile& out) : m_out(out), m_canvas(out) {}

void GdiReplay::setDeviceToReference(double scaleX, double scaleY, double offsetX, double offsetY,
                                     double deviceMillimetresX, double deviceMillimetresY)
{
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_offsetX = offsetX;
    m_offsetY = offsetY;
    if (deviceMillimetresX > 0)
        m_devMmX = deviceMillimetresX;
    if (deviceMillimetresY > 0)
        m_devMmY = deviceMillimetresY;
}

void GdiReplay::setWindowExt(double x, double y)
{
    if (x != 0 && y != 0) // GDI refuses a zero extent
        m_state.windowExt = {x, y};
}

void GdiReplay::setViewportExt(double x, double y)
{
    if (x != 0 && y != 0)
        m_state.viewportExt = {x, y};
}

void GdiReplay::modifyWorldTransform(const Xform& x, int mode)
{
    switch (mode) {
    case 1: m_state.world = Xform(); break;
    case 2: m_state.world = multiply(x, m_state.world); break;
    case 3: m_state.world = multiply(m_state.world, x); break;
    case 4: m_state.world = x; break;
    default: break;
    }
}

void GdiReplay::saveDc()
{
    if (m_saved.size() < kMaxSaved)
        m_saved.push_back(m_state);
}

void GdiReplay::restoreDc(int relative)
{
    // Negative: that many states back; positive: the n-th saved state.
    std::size_t keep;
    if (relative < 0) {
        const std::size_t back = static_cast<std::size_t>(-static_cast<long long>(relative));
        if (back > m_saved.size())
            return;
        keep = m_saved.size() - back;
    } else {
        if (relative == 0 || static_cast<std::size_t>(relative) > m_saved.size())
            return;
        keep = static_cast<std::size_t>(relative) - 1;
    }
    m_state = m_saved[keep];
    m_saved.resize(keep);
}

std::optional<GdiReplay::Object> GdiReplay::stockObject(uint32_t handle) const
{
    Object o;
    switch (handle & 0x7FFFFFFF) {
    case 0: o.kind = ObjectKind::Brush; o.brush = {0xFFFFFF, false}; break; // white
    case 1: o.kind = ObjectKind::Brush; o.brush = {0xC0C0C0, false}; break;
    case 2: o.kind = ObjectKind::Brush; o.brush = {0x808080, false}; break;
    case 3: o.kind = ObjectKind::Brush; o.brush = {0x404040, false}; break;
    case 4: o.kind = ObjectKind::Brush; o.brush = {0x000000, false}; break; // black
    case 5: o.kind = ObjectKind::Brush; o.brush = {0xFFFFFF, true}; break;  // null
    case 6: o.kind = ObjectKind::Pen; o.pen = {0xFFFFFF, 0, false}; break;
    case 7: o.kind = ObjectKind::Pen; o.pen = {0x000000, 0, false}; break;
    case 8: o.kind = ObjectKind::Pen; o.pen = {0x000000, 0, true}; break; // null
    case 10: case 11: case 16:
        o.kind = ObjectKind::Font;
        o.font.name = QStringLiteral("Courier New");
        o.font.height = -13;
        break;
    case 12: case 13: case 14: case 17:
        o.kind = ObjectKind::Font;
        o.font.height = -13;
        break;
    default: return std::nullopt;
    }
    return o;
}

void GdiReplay::createObject(uint32_t handle, const Object& object)
{
    if (m_objects.size() < kMaxObjects || m_objects.count(handle))
        m_objects[handle] = object;
}

void GdiReplay::createObjectInFreeSlot(const Object& object)
{
    uint32_t slot = 0;
    for (const auto& [handle, obj] : m_objects) {
        if (handle != slot)
            break;
        ++slot;
    }
    createObject(slot, object);
}

void GdiReplay::selectObject(uint32_t handle)
{
    std::optional<Object> o;
    if (handle & 0x80000000u) {
        o = stockObject(handle);
    } else {
        auto it = m_objects.find(handle);
        if (it != m_objects.end())
            o = it->second;
    }
    if (!o)
        return;
    switch (o->kind) {
    case ObjectKind::Pen: m_state.pen = o->pen; break;
    case ObjectKind::Brush: m_state.brush = o->brush; break;
    case ObjectKind::Font: m_state.font = o->font; break;
    case ObjectKind::Other: break;
    }
}

void GdiReplay::deleteObject(uint32_t handle)
{
    m_objects.erase(handle);
}

QPointF GdiReplay::mapF(QPointF p) const
{
    const Xform& w = m_state.world;
    const double x = w.m11 * p.x() + w.m21 * p.y() + w.dx;
    const double y = w.m12 * p.x() + w.m22 * p.y() + w.dy;
    const QPointF& wo = m_state.windowOrg;
    const QPointF& we = m_state.windowExt;
    if (m_windowIsPicture)
        return QPointF((x - wo.x()) * m_picture.x() / we.x(), (y - wo.y()) * m_picture.y() / we.y());

    double dx, dy;
    const QPointF& vo = m_state.viewportOrg;
    const QPointF& ve = m_state.viewportExt;
    if (m_state.mapMode == Isotropic || m_state.mapMode == Anisotropic) {
        double sx = ve.x() / we.x(), sy = ve.y() / we.y();
        if (m_state.mapMode == Isotropic) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        dx = (x - wo.x()) * sx + vo.x();
        dy = (y - wo.y()) * sy + vo.y();
    } else if (const double mm = millimetresPerUnit(m_state.mapMode); mm > 0) {
        dx = (x - wo.x()) * mm * m_devMmX + vo.x();
        dy = -(y - wo.y()) * mm * m_devMmY + vo.y(); // these modes have y up
    } else {
        dx = x - wo.x() + vo.x();
        dy = y - wo.y() + vo.y();
    }
    return QPointF(dx * m_scaleX - m_offsetX, dy * m_scaleY - m_offsetY);
}

QPoint GdiReplay::map(QPointF logical) const
{
    const QPointF p = mapF(logical);
    return QPoint(clampToInt(p.x()), clampToInt(p.y()));
}

double GdiReplay::lengthScaleX() const
{
    const QPointF d = mapF(QPointF(1, 0)) - mapF(QPointF(0, 0));
    return std::hypot(d.x(), d.y());
}

double GdiReplay::lengthScaleY() const
{
    const QPointF d = mapF(QPointF(0, 1)) - mapF(QPointF(0, 0));
    return std::hypot(d.x(), d.y());
}

int GdiReplay::mapLength(double length, double scale) const
{
    if (length == 0)
        return 0;
    const int l = clampToInt(length * scale);
    return l == 0 ? (length > 0 ? 1 : -1) : l;
}

void GdiReplay::applyPen()
{
    PenSpec p = m_state.pen;
    p.width = p.width <= 0 ? 0 : mapLength(p.width, (lengthScaleX() + lengthScaleY()) / 2);
    m_canvas.setPen(p);
}

void GdiReplay::applyBrush()
{
    m_canvas.setBrush(m_state.brush);
}

void GdiReplay::applyFont()
{
    FontSpec f = m_state.font;
    f.height = mapLength(f.height, lengthScaleY());
    f.color = m_state.textColor;
    m_canvas.setFont(f);
}

void GdiReplay::moveTo(double x, double y)
{
    m_state.position = {x, y};
    if (m_pathOpen) {
        m_path.moveTo(x, y);
        return;
    }
    const QPoint p = map(m_state.position);
    m_canvas.moveTo(p.x(), p.y());
}

void GdiReplay::lineTo(double x, double y)
{
    m_state.position = {x, y};
    if (m_pathOpen) {
        m_path.lineTo(x, y);
        return;
    }
    applyPen();
    const QPoint p = map(m_state.position);
    m_canvas.lineTo(p.x(), p.y());
}

void GdiReplay::polyline(const QList<QPointF>& points)
{
    if (points.isEmpty())
        return;
    if (m_pathOpen) {
        m_path.moveTo(points[0]);
        for (const QPointF& p : points)
            m_path.lineTo(p);
        return;
    }
    QList<QPoint> mapped;
    mapped.reserve(points.size());
    for (const QPointF& p : points)
        mapped << map(p);
    applyPen();
    m_canvas.polyline(mapped);
}

void GdiReplay::polygon(const QList<QPointF>& points)
{
    if (points.isEmpty())
        return;
    if (m_pathOpen) {
        m_path.addPolygon(QPolygonF(points));
        m_path.closeSubpath();
        return;
    }
    QList<QPoint> mapped;
    mapped.reserve(points.size());
    for (const QPointF& p : points)
        mapped << map(p);
    applyPen();
    applyBrush();
    m_canvas.polygon(mapped);
}

void GdiReplay::polyBezier(const QList<QPointF>& points)
{
    if (points.isEmpty())
        return;
    if (m_pathOpen) {
        m_path.moveTo(points[0]);
        for (qsizetype i = 1; i + 2 < points.size(); i += 3)
            m_path.cubicTo(points[i], points[i + 1], points[i + 2]);
        return;
    }
    QList<QPoint> mapped;
    mapped.reserve(points.size());
    for (const QPointF& p : points)
        mapped << map(p);
    applyPen();
    m_canvas.polyBezier(mapped);
}

void GdiReplay::polylineTo(const QList<QPointF>& points)
{
    if (points.isEmpty())
        return;
    QList<QPointF> all{m_state.position};
    all += points;
    m_state.position = points.last();
    if (m_pathOpen) {
        for (const QPointF& p : points)
            m_path.lineTo(p);
        return;
    }
    polyline(all);
}

void GdiReplay::polyBezierTo(const QList<QPointF>& points)
{
    if (points.size() < 3)
        return;
    QList<QPointF> all{m_state.position};
    all += points.mid(0, points.size() / 3 * 3);
    m_state.position = all.last();
    if (m_pathOpen) {
        for (qsizetype i = 1; i + 2 < all.size(); i += 3)
            m_path.cubicTo(all[i], all[i + 1], all[i + 2]);
        return;
    }
    polyBezier(all);
}

void GdiReplay::arc(double l, double t, double r, double b, QPointF start, QPointF end)
{
    if (m_state.arcClockwise)
        std::swap(start, end); // the same curve, drawn the other way round
    if (m_pathOpen) {
        const QRectF rect = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
        const double a0 = std::atan2(rect.center().y() - start.y(), start.x() - rect.center().x()) * 180 / M_PI;
        const double a1 = std::atan2(rect.center().y() - end.y(), end.x() - rect.center().x()) * 180 / M_PI;
        double span = std::fmod(a1 - a0 + 720.0, 360.0);
        if (span == 0)
            span = 360;
        m_path.arcMoveTo(rect, a0);
        m_path.arcTo(rect, a0, span);
        return;
    }
    const QPoint tl = map({l, t}), br = map({r, b}), s = map(start), e = map(end);
    applyPen();
    m_canvas.arc(tl.x(), tl.y(), br.x(), br.y(), s.x(), s.y(), e.x(), e.y());
}

void GdiReplay::ellipse(double l, double t, double r, double b)
{
    if (m_pathOpen) {
        m_path.addEllipse(QRectF(QPointF(l, t), QPointF(r, b)).normalized());
        return;
    }
    const QPoint tl = map({l, t}), br = map({r, b});
    applyPen();
    applyBrush();
    m_canvas.ellipse(tl.x(), tl.y(), br.x(), br.y());
}

void GdiReplay::rectangle(double l, double t, double r, double b)
{
    if (m_pathOpen) {
        m_path.addRect(QRectF(QPointF(l, t), QPointF(r, b)).normalized());
        return;
    }
    const QPoint tl = map({l, t}), br = map({r, b});
    applyPen();
    applyBrush();
    m_canvas.rectangle(tl.x(), tl.y(), br.x(), br.y());
}

void GdiReplay::text(QPointF reference, const QString& s, std::optional<double> advanceSum)
{
    if (s.isEmpty())
        return;
    const bool updateCp = m_state.textAlign & 1;
    if (updateCp)
        reference = m_state.position;
    applyFont();
    // The text background is the background colour in opaque mode.
    m_canvas.setBrush(m_state.bkMode == 1 ? BrushSpec{m_state.brush.color, true} : BrushSpec{m_state.bkColor, false});

    const FontSpec& f = m_canvas.font();
    const double width = advanceSum ? std::abs(*advanceSum) * lengthScaleX() : m_canvas.textWidth(s);
    double dx = 0, dy = 0;
    switch (m_state.textAlign & 6) {
    case 2: dx = -width; break;
    case 6: dx = -width / 2; break;
    default: break;
    }
    switch (m_state.textAlign & 0x18) {
    case 8: dy = -m_canvas.textHeight(s); break;
    case 0x18: dy = -m_canvas.metrics().ascent(f); break;
    default: break;
    }
    const double a = f.escapement / 10.0 * M_PI / 180.0;
    const QPointF at = mapF(reference) + QPointF(dx * std::cos(a) + dy * std::sin(a), -dx * std::sin(a) + dy * std::cos(a));
    m_canvas.textOut(clampToInt(at.x()), clampToInt(at.y()), s);
    if (updateCp) {
        const double sx = lengthScaleX();
        m_state.position = reference + QPointF(sx > 0 ? width / sx : 0, 0);
    }
}

void GdiReplay::image(double x, double y, double w, double h, const QImage& img)
{
    if (img.isNull() || m_pathOpen)
        return;
    const QPoint tl = map({x, y}), br = map({x + w, y + h});
    m_canvas.stretchDraw(MetaBox{tl.x(), tl.y(), br.x(), br.y()}, img);
}

void GdiReplay::beginPath()
{
    m_path = QPainterPath();
    m_path.moveTo(m_state.position);
    m_pathOpen = true;
}

void GdiReplay::closeFigure()
{
    if (m_pathOpen)
        m_path.closeSubpath();
}

void GdiReplay::abortPath()
{
    m_path = QPainterPath();
    m_pathOpen = false;
}

void GdiReplay::drawPath(bool fill, bool stroke)
{
    m_pathOpen = false;
    const QList<QPolygonF> figures = m_path.toSubpathPolygons();
    m_path = QPainterPath();
    const PenSpec pen = m_state.pen;
    if (!stroke)
        m_state.pen.clear = true;
    for (const QPolygonF& figure : figures) {
        if (figure.size() < 2)
            continue;
        const QList<QPointF> pts(figure.begin(), figure.end());
        if (fill)
            polygon(pts);
        else
            polyline(pts);
    }
    m_state.pen = pen;
}

} // namespace korvimo::metafile_detail
