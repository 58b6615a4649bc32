#include "canvas/qtplayer.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "canvas/glyphraster.h"
#include "canvas/recordbounds.h"

#include "core/safefile.h"

namespace korvimo {

namespace {

// Pictures inside pictures: deep enough for any real drawing, shallow
// enough that nothing can recurse without end.
constexpr int kMaxDepth = 8;

QPen makePen(const PenSpec& style)
{
    if (style.clear)
        return QPen(Qt::NoPen);
    QPen pen(windowsColor(style.color));
    if (style.width <= 0) {
        pen.setWidth(0); // one device pixel whatever the scale, like GDI
        pen.setCosmetic(true);
    } else {
        pen.setWidthF(style.width);
    }
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QBrush makeBrush(const BrushSpec& style)
{
    return style.clear ? QBrush(Qt::NoBrush) : QBrush(windowsColor(style.color));
}

QRectF boxRect(const MetaBox& b)
{
    return QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom)).normalized();
}

// Angle in degrees, counter-clockwise on screen, of the radial from the
// ellipse's centre through p, expressed as the parameter angle Qt's arc
// functions take (so that the arc ends exactly on that radial).
double radialAngle(const QRectF& r, const QPoint& p)
{
    const double rx = r.width() / 2, ry = r.height() / 2;
    const double dx = p.x() - r.center().x();
    const double dy = r.center().y() - p.y();
    if (rx <= 0 || ry <= 0)
        return std::atan2(dy, dx) * 180.0 / M_PI;
    return std::atan2(dy / ry, dx / rx) * 180.0 / M_PI;
}

QPainterPath arcPath(const MetaRecord& rec)
{
    QPainterPath path;
    const QRectF r = boxRect(rec.box);
    if (r.isEmpty() || rec.points.size() < 2)
        return path;
    const double start = radialAngle(r, rec.points[0]);
    const double end = radialAngle(r, rec.points[1]);
    double span = std::fmod(end - start, 360.0);
    if (span < 0)
        span += 360.0;
    if (span < 1e-9)
        span = 360.0; // equal radials: the whole ellipse
    path.arcMoveTo(r, start);
    path.arcTo(r, start, span);
    return path;
}

} // namespace

QColor windowsColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QtPlayer::QtPlayer() = default;
QtPlayer::~QtPlayer() = default;
QtPlayer::QtPlayer(QtPlayer&&) noexcept = default;
QtPlayer& QtPlayer::operator=(QtPlayer&&) noexcept = default;

void QtPlayer::play(const Metafile& metafile, QPainter& painter, const QRectF& target, bool antialias)
{
    playRecords(metafile, painter, target, antialias, 0);
}

void QtPlayer::playRecords(const Metafile& mf, QPainter& painter, const QRectF& target, bool antialias, int depth)
{
    if (mf.width() <= 0 || mf.height() <= 0 || target.isEmpty() || depth > kMaxDepth)
        return;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.setRenderHint(QPainter::TextAntialiasing, antialias);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, antialias);
    painter.translate(target.topLeft());
    painter.scale(target.width() / mf.width(), target.height() / mf.height());

    // On a raster device only the records that can reach its pixels are
    // played; vector devices (PDF, SVG, printers) get every record.
    QRectF visible;
    std::shared_ptr<const std::vector<InkBox>> bounds;
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster && painter.device()) {
        bool invertible = false;
        const QTransform toPicture = painter.combinedTransform().inverted(&invertible);
        if (invertible) {
            // A few device pixels around the device: one-pixel pens and the
            // rasteriser's rounding reach that far beyond the geometry.
            constexpr double kDeviceMargin = 4;
            const QPaintDevice* d = painter.device();
            // Pixels or device-independent units, whichever the device counts
            // in: the larger reading can only play more.
            const double ratio = std::max(1.0, d->devicePixelRatioF());
            visible = toPicture.mapRect(QRectF(-kDeviceMargin, -kDeviceMargin, d->width() * ratio + 2 * kDeviceMargin,
                                               d->height() * ratio + 2 * kDeviceMargin));
            bounds = inkBoundsFor(mf);
        }
    }

    // Qt pens, brushes and fonts are made when a drawn record needs them:
    // a gradient changes the pen every row, and most rows lie outside the
    // band being drawn.
    PenSpec penSpec;
    BrushSpec brushSpec;
    FontSpec fontSpec;
    QPen pen;
    QBrush brush;
    QFont font;
    double ascent = 0;
    bool penReady = false, brushReady = false, fontReady = false;
    QPoint position;

    auto usePen = [&]() -> const QPen& {
        if (!penReady) {
            pen = makePen(penSpec);
            penReady = true;
        }
        return pen;
    };
    auto useBrush = [&]() -> const QBrush& {
        if (!brushReady) {
            brush = makeBrush(brushSpec);
            brushReady = true;
        }
        return brush;
    };
    auto useFont = [&]() {
        if (fontReady)
            return;
        font = m_metrics.qtFont(fontSpec);
        if (!antialias)
            font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferNoShaping | QFont::NoAntialias));
        ascent = m_metrics.ascent(fontSpec);
        fontReady = true;
    };

    const QList<MetaRecord>& records = mf.records();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const MetaRecord& rec = records[i];
        if (bounds && !(*bounds)[size_t(i)].meets(visible)) {
            if (rec.type == MetaRecordType::LineTo && !rec.points.isEmpty())
                position = rec.points[0];
            continue;
        }
        switch (rec.type) {
        case MetaRecordType::Pen:
            if (!(rec.pen == penSpec)) {
                penSpec = rec.pen;
                penReady = false;
            }
            break;
        case MetaRecordType::Brush:
            if (!(rec.brush == brushSpec)) {
                brushSpec = rec.brush;
                brushReady = false;
            }
            break;
        case MetaRecordType::Font:
            if (!(rec.font() == fontSpec)) {
                fontSpec = rec.font();
                fontReady = false;
            }
            break;
        case MetaRecordType::TextOut: {
            if (rec.points.isEmpty() || rec.text().isEmpty())
                break;
            useFont();
            painter.save();
            painter.translate(rec.points[0]);
            if (fontSpec.escapement != 0)
                painter.rotate(-(fontSpec.escapement / 10.0)); // INT_MIN has no int negation
            if (!brushSpec.clear) {
                const int w = m_metrics.textWidth(fontSpec, rec.text());
                const int h = m_metrics.textHeight(fontSpec);
                painter.fillRect(QRectF(0, 0, w, h), windowsColor(brushSpec.color));
            }
            const QColor ink = windowsColor(fontSpec.color);
            if (m_cachedLargeGlyphs && !antialias) {
                if (!m_glyphs)
                    m_glyphs = std::make_unique<GlyphMasks>();
                if (m_glyphs->drawText(painter, font, ascent, rec.text(), ink)) {
                    painter.restore();
                    break;
                }
            }
            painter.setFont(font);
            painter.setPen(ink);
            painter.drawText(QPointF(0, ascent), rec.text());
            painter.restore();
            break;
        }
        case MetaRecordType::MoveTo:
            if (!rec.points.isEmpty())
                position = rec.points[0];
            break;
        case MetaRecordType::LineTo:
            if (rec.points.isEmpty())
                break;
            painter.setPen(usePen());
            painter.drawLine(position, rec.points[0]);
            position = rec.points[0];
            break;
        case MetaRecordType::Polyline:
            painter.setPen(usePen());
            painter.drawPolyline(rec.points.constData(), int(rec.points.size()));
            break;
        case MetaRecordType::Polygon:
            painter.setPen(usePen());
            painter.setBrush(useBrush());
            painter.drawPolygon(rec.points.constData(), int(rec.points.size()), Qt::OddEvenFill);
            break;
        case MetaRecordType::PolyBezier: {
            if (rec.points.isEmpty())
                break;
            QPainterPath path(rec.points[0]);
            for (qsizetype k = 1; k + 2 < rec.points.size(); k += 3)
                path.cubicTo(rec.points[k], rec.points[k + 1], rec.points[k + 2]);
            painter.strokePath(path, usePen());
            break;
        }
        case MetaRecordType::Arc: {
            const QPainterPath path = arcPath(rec);
            if (!path.isEmpty())
                painter.strokePath(path, usePen());
            break;
        }
        case MetaRecordType::Ellipse:
            painter.setPen(usePen());
            painter.setBrush(useBrush());
            painter.drawEllipse(boxRect(rec.box));
            break;
        case MetaRecordType::Rectangle:
            painter.setPen(usePen());
            painter.setBrush(useBrush());
            painter.drawRect(boxRect(rec.box));
            break;
        case MetaRecordType::StretchImage:
            if (rec.image() && !rec.image()->isNull())
                painter.drawImage(QRectF(QPointF(rec.box.left, rec.box.top), QPointF(rec.box.right, rec.box.bottom)),
                                  *rec.image());
            break;
        case MetaRecordType::StretchMetafile:
            if (rec.picture())
                playRecords(*rec.picture(), painter,
                            QRectF(QPointF(rec.box.left, rec.box.top), QPointF(rec.box.right, rec.box.bottom)),
                            antialias, depth + 1);
            break;
        }
    }
    painter.restore();
}

QImage renderToImage(const Metafile& metafile, QSize size, bool antialias, int background)
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) // too large to allocate
        return {};
    image.fill(windowsColor(background));
    QPainter painter(&image);
    QtPlayer().play(metafile, painter, QRectF(QPointF(0, 0), QSizeF(size)), antialias);
    painter.end();
    return image;
}

namespace {

bool refuse(const QString& path, const QString& why, QString* error)
{
    if (error)
        *error = QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(path), why);
    return false;
}

bool checkSize(const Metafile& metafile, const QString& path, QString* error)
{
    if (metafile.width() > 0 && metafile.height() > 0)
        return true;
    return refuse(path, QStringLiteral("The drawing has no size."), error);
}

// The drawing at its own size, smoothed, on a vector device.
bool paintVector(QPaintDevice& device, const Metafile& metafile, const char* format, const QString& path,
                 QString* error)
{
    QPainter painter;
    if (!painter.begin(&device))
        return refuse(path, QStringLiteral("Cannot start the %1 drawing.").arg(QLatin1String(format)), error);
    QtPlayer().play(metafile, painter, QRectF(0, 0, metafile.width(), metafile.height()), true);
    painter.end();
    return true;
}

} // namespace

// Both vector formats are made in memory and then written by the one safe
// writer of the program: a full disk is reported and the old file stays,
// which a generator writing straight into the file cannot promise.
bool writeSvg(const Metafile& metafile, const QString& path, QString* error)
{
    if (!checkSize(metafile, path, error))
        return false;
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setResolution(96);
    svg.setSize(QSize(metafile.width(), metafile.height()));
    svg.setViewBox(QRect(0, 0, metafile.width(), metafile.height()));
    svg.setTitle(metafile.description());
    svg.setDescription(metafile.creator());
    return paintVector(svg, metafile, "SVG", path, error) && writeWholeFile(path, bytes.data(), error);
}

bool writePdf(const Metafile& metafile, const QString& path, QString* error)
{
    if (!checkSize(metafile, path, error))
        return false;
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setCreator(metafile.creator());
        pdf.setTitle(metafile.description());
        pdf.setResolution(96);
        // One page exactly the drawing's size: 96 units to the inch, 72 points.
        const QSizeF points(metafile.width() * 72.0 / 96.0, metafile.height() * 72.0 / 96.0);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        if (!paintVector(pdf, metafile, "PDF", path, error))
            return false;
    }
    return writeWholeFile(path, bytes.data(), error);
}

} // namespace korvimo
