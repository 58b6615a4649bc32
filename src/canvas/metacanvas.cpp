#include "canvas/metacanvas.h"

namespace korvimo {

MetaCanvas::MetaCanvas(Metafile& target) : m_target(target)
{
    m_font.height = TextMetrics::heightForPoints(m_fontPoints);
}

void MetaCanvas::setFontSize(int points)
{
    m_fontPoints = points;
    m_font.height = TextMetrics::heightForPoints(points);
}

void MetaCanvas::setFont(const FontSpec& font)
{
    m_font = font;
    m_fontPoints = TextMetrics::pointsForHeight(font.height);
}

void MetaCanvas::setFontRotation(int escapement, int orientation)
{
    m_font.escapement = escapement;
    m_font.orientation = orientation;
}

void MetaCanvas::usePen()
{
    if (m_recordedPen == m_pen)
        return;
    MetaRecord r;
    r.type = MetaRecordType::Pen;
    r.pen = m_pen;
    m_target.append(std::move(r));
    m_recordedPen = m_pen;
}

void MetaCanvas::useBrush()
{
    if (m_recordedBrush == m_brush)
        return;
    MetaRecord r;
    r.type = MetaRecordType::Brush;
    r.brush = m_brush;
    m_target.append(std::move(r));
    m_recordedBrush = m_brush;
}

void MetaCanvas::useFont()
{
    if (m_recordedFont == m_font)
        return;
    MetaRecord r;
    r.type = MetaRecordType::Font;
    r.setFont(m_font);
    m_target.append(std::move(r));
    m_recordedFont = m_font;
}

void MetaCanvas::add(MetaRecordType type, QList<QPoint> points)
{
    MetaRecord r;
    r.type = type;
    r.points = std::move(points);
    m_target.append(std::move(r));
}

namespace {

// The first kMaxTextRunChars characters, never ending inside a surrogate pair.
QString drawablePart(const QString& text)
{
    qsizetype n = MetaCanvas::kMaxTextRunChars;
    if (text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

} // namespace

void MetaCanvas::textOut(int x, int y, const QString& text)
{
    useFont();
    useBrush();
    MetaRecord r;
    r.type = MetaRecordType::TextOut;
    r.points = {QPoint(x, y)};
    if (text.size() > kMaxTextRunChars) {
        r.setText(drawablePart(text));
        ++m_cutTexts;
    } else {
        r.setText(text);
    }
    m_target.append(std::move(r));
}

int MetaCanvas::textWidth(const QString& text) const
{
    if (text.size() > kMaxTextRunChars)
        return m_metrics.textWidth(m_font, drawablePart(text));
    return m_metrics.textWidth(m_font, text);
}

int MetaCanvas::textHeight(const QString&) const
{
    return m_metrics.textHeight(m_font);
}

void MetaCanvas::moveTo(int x, int y)
{
    m_position = QPoint(x, y);
    add(MetaRecordType::MoveTo, {m_position});
}

void MetaCanvas::lineTo(int x, int y)
{
    usePen();
    m_position = QPoint(x, y);
    add(MetaRecordType::LineTo, {m_position});
}

void MetaCanvas::polyline(const QList<QPoint>& points)
{
    if (points.isEmpty())
        return;
    usePen();
    add(MetaRecordType::Polyline, points);
}

void MetaCanvas::polygon(const QList<QPoint>& points)
{
    if (points.isEmpty())
        return;
    usePen();
    useBrush();
    add(MetaRecordType::Polygon, points);
}

void MetaCanvas::polyBezier(const QList<QPoint>& points)
{
    if (points.isEmpty())
        return;
    usePen();
    add(MetaRecordType::PolyBezier, points);
}

void MetaCanvas::arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    usePen();
    MetaRecord r;
    r.type = MetaRecordType::Arc;
    r.box = {left, top, right, bottom};
    r.points = {QPoint(xStart, yStart), QPoint(xEnd, yEnd)};
    m_target.append(std::move(r));
}

void MetaCanvas::ellipse(int left, int top, int right, int bottom)
{
    usePen();
    useBrush();
    MetaRecord r;
    r.type = MetaRecordType::Ellipse;
    r.box = {left, top, right, bottom};
    m_target.append(std::move(r));
}

void MetaCanvas::rectangle(int left, int top, int right, int bottom)
{
    usePen();
    useBrush();
    MetaRecord r;
    r.type = MetaRecordType::Rectangle;
    r.box = {left, top, right, bottom};
    m_target.append(std::move(r));
}

void MetaCanvas::stretchDraw(const MetaBox& box, const QImage& image)
{
    if (image.isNull())
        return;
    MetaRecord r;
    r.type = MetaRecordType::StretchImage;
    r.box = box;
    r.setImage(std::make_shared<const QImage>(image));
    m_target.append(std::move(r));
}

void MetaCanvas::stretchDraw(const MetaBox& box, const Metafile& picture)
{
    if (picture.isEmpty())
        return;
    MetaRecord r;
    r.type = MetaRecordType::StretchMetafile;
    r.box = box;
    r.setPicture(std::make_shared<const Metafile>(picture));
    m_target.append(std::move(r));
}

} // namespace korvimo
