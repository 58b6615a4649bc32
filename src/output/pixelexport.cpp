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

namespace {

// The sizes of steps 2 and 3, or why there is no picture.
struct PicturePlan {
    QSize work;
    QSize picture;
};

std::optional<PicturePlan> planPicture(const Metafile& drawing, int width, bool antiAliased, QString* error)
{
    if (width < 1) {
        setError(error, QStringLiteral("The picture width must be at least 1 pixel (it is %1).").arg(width));
        return std::nullopt;
    }
    const int mw = drawing.width();
    const int mh = drawing.height();
    if (mw <= 0 || mh <= 0) {
        setError(error, QStringLiteral("The drawing has no size."));
        return std::nullopt;
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
        return std::nullopt;
    }
    return PicturePlan{QSize(int(workWidth), int(workHeight)), QSize(width, int(pictureHeight))};
}

QString noMemory(QSize picture)
{
    return QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
        .arg(picture.width())
        .arg(picture.height());
}

// The players of the lanes (a player keeps font caches: one a lane) and
// what each band draws: the whole drawing over the whole work bitmap.
struct LanePlayers {
    LanePlayers(const Metafile& drawing, QSize work, int lanes, bool cachedGlyphs)
        : drawing(drawing), whole(0, 0, qreal(work.width()), qreal(work.height())), players(size_t(lanes))
    {
        for (QtPlayer& p : players)
            p.setCachedLargeGlyphs(cachedGlyphs);
    }
    BandPainter painter()
    {
        return [this](QPainter& p, int lane) { players[size_t(lane)].play(drawing, p, whole, false); };
    }
    const Metafile& drawing;
    QRectF whole;
    std::vector<QtPlayer> players;
};

// The picture's rows for the encoders, a strip at a time.
class DrawnRows : public PictureRows {
public:
    DrawnRows(const Metafile& drawing, const PicturePlan& plan, bool cachedGlyphs)
        : m_lanes(bandLanesFor(qint64(plan.work.width()) * plan.work.height())),
          m_players(drawing, plan.work, m_lanes, cachedGlyphs),
          m_rows(plan.work, plan.picture, Qt::white, m_lanes, m_players.painter())
    {
    }
    QSize size() const override { return m_rows.pictureSize(); }
    const uchar* row(int y) override { return m_rows.row(y); }
    QString failure() const override { return noMemory(m_rows.pictureSize()); }

private:
    int m_lanes;
    LanePlayers m_players;
    BandedRows m_rows;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(SafeFileWriter& file) : m_file(file) {}
    bool write(const char* data, qsizetype size) override { return m_file.write(data, size); }
    bool writeAt(qint64 offset, const char* data, qsizetype size) override
    {
        return m_file.writeAt(offset, data, size);
    }
    QString failure() const override { return m_file.error(); }

private:
    SafeFileWriter& m_file;
};

// Step 4 from rows: encoded straight into the safe writer's temporary file.
bool writePixelFile(PictureRows& rows, PixelFileType type, const QString& fileName, const QString& creatorText,
                    QString* error)
{
    SafeFileWriter file(fileName);
    if (!file.open()) {
        setError(error, file.error());
        return false;
    }
    FileSink sink(file);
    QString reason;
    bool ok = false;
    switch (type) {
    case PixelFileType::Bmp:
        ok = encodeBmp(rows, sink, &reason);
        break;
    case PixelFileType::Jpg:
        ok = encodeJpeg(rows, sink, &reason);
        break;
    case PixelFileType::Png: {
        // The text between blanks, as 8-bit text; the keyword without them,
        // since PNG readers refuse a keyword with a leading or trailing blank.
        const QByteArray keyword = creatorText.toLatin1();
        const QByteArray text =
            (QLatin1Char(' ') + QString::fromLatin1(kPngIdentification) + QLatin1Char(' ')).toLatin1();
        ok = encodePng(rows, keyword, text, sink, &reason);
        break;
    }
    }
    if (!ok) {
        setError(error, !file.error().isEmpty() ? file.error()
                                                : QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
        return false;
    }
    if (!file.commit()) {
        setError(error, file.error());
        return false;
    }
    return true;
}

} // namespace

QImage rasteriseDrawing(const Metafile& drawing, int width, bool antiAliased, QString* error, bool cachedGlyphs)
{
    const std::optional<PicturePlan> plan = planPicture(drawing, width, antiAliased, error);
    if (!plan)
        return {};
    if (!antiAliased) {
        QImage work(plan->picture, QImage::Format_RGB32);
        if (!work.isNull()) {
            work.fill(Qt::white);
            QPainter painter(&work);
            QtPlayer player;
            player.setCachedLargeGlyphs(cachedGlyphs);
            player.play(drawing, painter, QRectF(QPointF(0, 0), QSizeF(plan->picture)), false);
        }
        if (work.isNull())
            setError(error, noMemory(plan->picture));
        return work;
    }

    // Drawn and reduced a band of rows at a time, bands side by side on
    // the machine's cores: the same pixels as drawing it whole, in a
    // fraction of the memory and while each band is still in the cache.
    const int lanes = bandLanesFor(qint64(plan->work.width()) * plan->work.height());
    LanePlayers players(drawing, plan->work, lanes, cachedGlyphs);
    QImage reduced = drawSupersampledInBands(plan->work, plan->picture, Qt::white, BandReduction::AreaAverage,
                                             lanes, players.painter());
    if (reduced.isNull())
        setError(error, noMemory(plan->picture));
    return reduced;
}

bool savePixelPicture(const QImage& picture, PixelFileType type, const QString& fileName,
                      const QString& creatorText, QString* error)
{
    if (picture.isNull()) {
        setError(error, QStringLiteral("Cannot write file \"%1\". empty picture").arg(fileName));
        return false;
    }
    ImageRows rows(picture);
    return writePixelFile(rows, type, fileName, creatorText, error);
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
    const std::optional<PicturePlan> plan = planPicture(drawing, width, antiAliased, &error);
    if (!plan) {
        ctx.messages().error(error);
        return false;
    }
    // Supersampled and large pictures are drawn, reduced and encoded a strip
    // at a time, straight into the file: memory stays near one strip.
    bool ok = false;
    if (antiAliased || qint64(plan->picture.width()) * plan->picture.height() > kWholePicturePixels) {
        DrawnRows rows(drawing, *plan, ctx.settings.exportCachedGlyphs);
        ok = writePixelFile(rows, *type, fileName, ctx.creatorText(), &error);
    } else {
        const QImage picture =
            rasteriseDrawing(drawing, width, antiAliased, &error, ctx.settings.exportCachedGlyphs);
        ok = !picture.isNull() && savePixelPicture(picture, *type, fileName, ctx.creatorText(), &error);
    }
    if (!ok)
        ctx.messages().error(error);
    return ok;
}

} // namespace korvimo
