#include "output/pixelexport.h"

#include <QPainter>

#include <cmath>
#include <vector>

#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "output/bandedraster.h"
#include "output/pixelencoders.h"
#include "core/safefile.h"

namespace korvimo {

namespace {

// round() of the pixel sizes: nearest, halves to even, in extended precision.
qint64 roundHalfEven(long double v)
{
    return static_cast<qint64>(std::rint(v));
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

std::optional<PixelFileType> pixelFileTypeOf(const QString& typeText)
{
    const QString t = typeText.trimmed().toUpper();
    if (t == QLatin1String("BMP"))
        return PixelFileType::Bmp;
    if (t == QLatin1String("JPG"))
        return PixelFileType::Jpg;
    if (t == QLatin1String("PNG"))
        return PixelFileType::Png;
    return std::nullopt;
}

QImage rasteriseDrawing(const Metafile& drawing, int width, bool antiAliased, QString* error)
{
    if (width < 1) {
        setError(error, QStringLiteral("The picture width must be at least 1 pixel (it is %1).").arg(width));
        return {};
    }
    const int mw = drawing.width();
    const int mh = drawing.height();
    if (mw <= 0 || mh <= 0) {
        setError(error, QStringLiteral("The drawing has no size."));
        return {};
    }
    const int f = antiAliased ? 4 : 1;
    const qint64 workWidth = qint64(width) * f;
    // A very flat drawing would round to no rows at all; one row is the
    // least picture there is.
    const qint64 workHeight = std::max<qint64>(
        1, roundHalfEven(static_cast<long double>(mh) / mw * width * f));
    const qint64 pictureHeight =
        antiAliased ? std::max<qint64>(1, roundHalfEven(static_cast<long double>(workHeight) / f))
                    : workHeight;
    if (width > kMaxPictureSide || pictureHeight > kMaxPictureSide
        || qint64(width) * pictureHeight > kMaxPicturePixels) {
        setError(error, QStringLiteral("A picture of %1 × %2 pixels is too large to draw.")
                            .arg(width)
                            .arg(pictureHeight));
        return {};
    }
    if (!antiAliased) {
        QImage work = renderToImage(drawing, QSize(int(workWidth), int(workHeight)), false);
        if (work.isNull())
            setError(error, QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                                .arg(workWidth)
                                .arg(workHeight));
        return work;
    }

    // Drawn and reduced a band of rows at a time, bands side by side on
    // the machine's cores: the same pixels as drawing it whole, in a
    // fraction of the memory and while each band is still in the cache.
    const int lanes = bandLanesFor(workWidth * workHeight);
    std::vector<QtPlayer> players(static_cast<size_t>(lanes)); // a player keeps font caches: one a lane
    const QRectF whole(0, 0, qreal(workWidth), qreal(workHeight));
    QImage reduced = drawSupersampledInBands(
        QSize(int(workWidth), int(workHeight)), QSize(width, int(pictureHeight)), Qt::white,
        BandReduction::AreaAverage, lanes,
        [&](QPainter& painter, int lane) { players[size_t(lane)].play(drawing, painter, whole, false); });
    if (reduced.isNull())
        setError(error, QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                            .arg(width)
                            .arg(pictureHeight));
    return reduced;
}

bool savePixelPicture(const QImage& picture, PixelFileType type, const QString& fileName,
                      const QString& creatorText, QString* error)
{
    QString reason;
    QByteArray bytes;
    switch (type) {
    case PixelFileType::Bmp:
        bytes = encodeBmp(picture, &reason);
        break;
    case PixelFileType::Jpg:
        bytes = encodeJpeg(picture, &reason);
        break;
    case PixelFileType::Png: {
        // The text between blanks, as 8-bit text; the keyword without them,
        // since PNG readers refuse a keyword with a leading or trailing blank.
        const QByteArray keyword = creatorText.toLatin1();
        const QByteArray text =
            (QLatin1Char(' ') + QString::fromLatin1(kPngIdentification) + QLatin1Char(' ')).toLatin1();
        bytes = encodePng(picture, keyword, text, &reason);
        break;
    }
    }
    if (bytes.isEmpty()) {
        setError(error, QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
        return false;
    }
    return writeWholeFile(fileName, bytes, error);
}

bool exportDrawingAsPixelFile(const Metafile& drawing, const ProgramContext& ctx,
                              const QString& typeText, bool antiAliased, int width,
                              const QString& fileName)
{
    const std::optional<PixelFileType> type = pixelFileTypeOf(typeText);
    if (!type) {
        ctx.messages().error(QStringLiteral("Unknown picture type \"%1\".").arg(typeText));
        return false;
    }
    QString error;
    const QImage picture = rasteriseDrawing(drawing, width, antiAliased, &error);
    if (picture.isNull()) {
        ctx.messages().error(error);
        return false;
    }
    if (!savePixelPicture(picture, *type, fileName, ctx.creatorText(), &error)) {
        ctx.messages().error(error);
        return false;
    }
    return true;
}

} // namespace korvimo
