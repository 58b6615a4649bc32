#include "output/clipboardcopy.h"

#include <QImage>
#include <QMimeData>
#include <algorithm>
#include <memory>

#include "canvas/metafile.h"
#include "canvas/metafileio.h"
#include "core/programcontext.h"
#include "output/pixelencoders.h"
#include "output/pixelexport.h"
#include "render/maakmeta.h"
#include "render/rounding.h"

namespace korvimo {

namespace {

constexpr int kMaxTwinSide = 8000;
constexpr int kSmoothTwinWidth = 3000;

std::unique_ptr<QMimeData> failed(const ProgramContext& ctx, const QString& error)
{
    ctx.messages().error(error);
    return nullptr;
}

} // namespace

QSize copyMetafileSize(int mw, int mh, int copyFactor)
{
    return QSize(roundToEven(static_cast<long double>(mw) / 10 * copyFactor / 1000),
                 roundToEven(static_cast<long double>(mh) / 10 * copyFactor / 1000));
}

Metafile copyMetafile(const Metafile& drawing, int copyFactor)
{
    const QSize size = copyMetafileSize(drawing.width(), drawing.height(), copyFactor);
    Metafile copy(size.width(), size.height(), drawing.kind());
    copy.setComment(drawing.creator(), drawing.description());
    MetaRecord stretch;
    stretch.type = MetaRecordType::StretchMetafile;
    stretch.box = MetaBox{0, 0, size.width(), size.height()};
    stretch.setPicture(std::make_shared<const Metafile>(drawing));
    copy.append(std::move(stretch));
    return copy;
}

std::unique_ptr<QMimeData> diagramCopyMimeData(const DiagramDocument& document, const ProgramContext& ctx)
{
    const QString type = ctx.settings.copyType;
    const bool vector = type == QLatin1String("EMF") || type == QLatin1String("WMF");
    const bool pixel = type == QLatin1String("JPG") || type == QLatin1String("PNG");
    if (!vector && !pixel)
        return nullptr;

    Metafile drawing;
    MaakMeta(document, ctx, drawing, type == QLatin1String("WMF") ? QStringLiteral("WMF") : QStringLiteral("EMF"),
             QStringLiteral("K"));
    QString error;
    auto data = std::make_unique<QMimeData>();
    if (vector) {
        const Metafile copy = copyMetafile(drawing, ctx.settings.copyFactor);
        const QByteArray bytes = type == QLatin1String("WMF") ? wmfBytes(copy, &error) : emfBytes(copy, &error);
        if (bytes.isEmpty())
            return failed(ctx, error);
        // The raster twin for programs that take no metafiles: smoothed as a
        // pasted picture should be, and never larger than a page needs even
        // at a large enlargement.
        const int longer = std::max(copy.width(), copy.height());
        const int twinWidth = longer <= kMaxTwinSide
                                  ? copy.width()
                                  : std::max(1, roundToEven(static_cast<long double>(copy.width()) * kMaxTwinSide / longer));
        const QImage picture = rasteriseDrawing(copy, twinWidth, twinWidth <= kSmoothTwinWidth, &error);
        if (picture.isNull())
            return failed(ctx, error);
        const QByteArray png = encodePng(picture, {}, {}, &error);
        if (png.isEmpty())
            return failed(ctx, error);
        const bool wmf = type == QLatin1String("WMF");
        data->setData(QString::fromLatin1(wmf ? kWmfMimeType : kEmfMimeType), bytes);
        // LibreOffice looks for metafiles only under its own names and
        // would otherwise paste the raster twin.
        data->setData(QString::fromLatin1(wmf ? kOfficeWmfMimeType : kOfficeEmfMimeType), bytes);
        data->setData(QString::fromLatin1(kPngMimeType), png);
        return data;
    }

    QImage picture = rasteriseDrawing(drawing, ctx.settings.copyPixWidth, ctx.settings.copyPixAntiAliased, &error,
                                     ctx.settings.exportCachedGlyphs);
    if (picture.isNull())
        return failed(ctx, error);
    if (type == QLatin1String("JPG")) {
        const QByteArray jpeg = encodeJpeg(picture, &error);
        if (jpeg.isEmpty())
            return failed(ctx, error);
        picture = QImage::fromData(jpeg, "JPG");
        if (picture.isNull())
            return failed(ctx, QStringLiteral("The JPEG picture could not be read back."));
    }
    data->setImageData(picture);
    return data;
}

} // namespace korvimo
