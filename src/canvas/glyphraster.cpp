#include "canvas/glyphraster.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>

namespace korvimo {

namespace {

// Drawn glyphs kept at most (a player a lane keeps its own); a drawing with
// more starts the cache afresh.
constexpr qint64 kMaxMaskBytes = qint64(8) << 20;

// Placements a device pixel is divided into, each way.
constexpr int kSteps = 4;

} // namespace

GlyphMasks::Face& GlyphMasks::faceFor(const QRawFont& font, const QTransform& linear, const QColor& colour)
{
    const QString key = font.familyName() + QLatin1Char('|') + font.styleName() + QLatin1Char('|')
                        + QString::number(font.pixelSize(), 'g', 17) + QLatin1Char('|')
                        + QString::number(font.weight()) + QLatin1Char('|') + QString::number(int(font.style()))
                        + QLatin1Char('|') + QString::number(linear.m11(), 'g', 17) + QLatin1Char(',')
                        + QString::number(linear.m12(), 'g', 17) + QLatin1Char(',')
                        + QString::number(linear.m21(), 'g', 17) + QLatin1Char(',')
                        + QString::number(linear.m22(), 'g', 17) + QLatin1Char('|')
                        + QString::number(colour.rgba(), 16);
    return m_faces[key];
}

bool GlyphMasks::drawText(QPainter& painter, const QFont& font, double ascent, const QString& text,
                          const QColor& colour)
{
    if (text.isEmpty() || !painter.paintEngine() || painter.paintEngine()->type() != QPaintEngine::Raster
        || painter.testRenderHint(QPainter::Antialiasing) || font.underline() || font.strikeOut()
        || font.overline())
        return false;
    const QTransform toDevice = painter.combinedTransform();
    if (toDevice.type() > QTransform::TxRotate) // shears and perspective stay Qt's
        return false;
    // The size Qt compares with its limit.
    if (font.pixelSize() * std::sqrt(std::abs(toDevice.determinant())) < kQtCachedGlyphLimit)
        return false;

    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return false;
    }
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    const QTransform linear(toDevice.m11(), toDevice.m12(), toDevice.m21(), toDevice.m22(), 0, 0);
    // Glyph positions are on the line's baseline; drawText puts the baseline at `ascent`.
    const double baseline = ascent - line.ascent();

    painter.save();
    painter.resetTransform();
    for (const QGlyphRun& run : runs) {
        const QRawFont raw = run.rawFont();
        Face& face = faceFor(raw, linear, colour);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const QPointF at = toDevice.map(QPointF(positions[i].x(), positions[i].y() + baseline));
            const double qx = std::floor(at.x() * kSteps + 0.5), qy = std::floor(at.y() * kSteps + 0.5);
            if (!std::isfinite(qx) || !std::isfinite(qy) || std::abs(qx) > 1e9 || std::abs(qy) > 1e9)
                continue;
            const int wholeX = static_cast<int>(std::floor(qx / kSteps));
            const int wholeY = static_cast<int>(std::floor(qy / kSteps));
            const int stepX = static_cast<int>(qx) - wholeX * kSteps;
            const int stepY = static_cast<int>(qy) - wholeY * kSteps;
            const std::uint64_t key = (std::uint64_t(glyphs[i]) << 8) | std::uint64_t(stepX << 4) | std::uint64_t(stepY);
            auto it = face.masks.find(key);
            if (it == face.masks.end()) {
                if (m_bytes > kMaxMaskBytes) {
                    // Starting afresh keeps the face in hand valid: only its masks go.
                    for (Face& f : m_faces)
                        f.masks.clear();
                    m_bytes = 0;
                }
                QPainterPath path = raw.pathForGlyph(glyphs[i]);
                path.setFillRule(Qt::WindingFill);
                const QTransform place = linear * QTransform::fromTranslate(double(stepX) / kSteps, double(stepY) / kSteps);
                const QPainterPath device = place.map(path);
                Mask mask;
                const QRectF box = device.boundingRect();
                if (!device.isEmpty() && box.isValid()) {
                    mask.left = static_cast<int>(std::floor(box.left())) - 1;
                    mask.top = static_cast<int>(std::floor(box.top())) - 1;
                    const int w = static_cast<int>(std::ceil(box.right())) - mask.left + 2;
                    const int h = static_cast<int>(std::ceil(box.bottom())) - mask.top + 2;
                    mask.image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
                    if (!mask.image.isNull()) {
                        mask.image.fill(Qt::transparent);
                        QPainter p(&mask.image);
                        // Qt fills large glyph outlines smoothed even when the
                        // painter draws hard edges.
                        p.setRenderHint(QPainter::Antialiasing, true);
                        p.setPen(Qt::NoPen);
                        p.setBrush(colour);
                        p.translate(-mask.left, -mask.top);
                        p.drawPath(device);
                    }
                }
                m_bytes += mask.image.sizeInBytes() + 64;
                it = face.masks.insert(key, std::move(mask));
            }
            if (!it->image.isNull())
                painter.drawImage(QPoint(wholeX + it->left, wholeY + it->top), it->image);
        }
    }
    painter.restore();
    return true;
}

} // namespace korvimo
