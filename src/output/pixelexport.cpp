#include "output/pixelexport.h"

#include <cmath>

#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "output/areaaveragereduce.h"
#include "output/pixelencoders.h"
#include "output/safefile.h"

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
    if (workWidth > 0x7FFFFFFF / 4 || workHeight > 0x7FFFFFFF / 4
        || workWidth * workHeight > kMaxWorkingPixels) {
        setError(error, QStringLiteral("A picture of %1 × %2 pixels is too large to draw.")
                            .arg(workWidth)
                            .arg(workHeight));
        return {};
    }
    QImage work = renderToImage(drawing, QSize(int(workWidth), int(workHeight)), false);
    if (work.isNull()) {
        setError(error, QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                            .arg(workWidth)
                            .arg(workHeight));
        return {};
    }
    if (!antiAliased)
        return work;

    const int targetHeight = static_cast<int>(
        std::max<qint64>(1, roundHalfEven(static_cast<long double>(workHeight) / f)));
    QImage reduced;
    if (!AreaAverageReduce(work, reduced, width, targetHeight)) {
        setError(error, QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                            .arg(width)
                            .arg(targetHeight));
        return {};
    }
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
        // Keyword and text each between blanks, as 8-bit text.
        const QByteArray keyword = (QLatin1Char(' ') + creatorText + QLatin1Char(' ')).toLatin1();
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
