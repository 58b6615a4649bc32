#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "core/safefile.h"
#include "output/areaaveragereduce.h"
#include "output/bandedraster.h"
#include "output/pixelencoders.h"
#include "output/pixelexport.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A diagram-like drawing with ink in every strip: a gradient background,
// wide bands across strip edges, turned texts.
Metafile stripDrawing(int w, int h)
{
    Metafile mf(w, h);
    MetaCanvas c(mf);
    for (int row = 0; row < h; ++row) {
        const int v = 255 - (row * 40 / h);
        c.setPenColor(v | v << 8 | 0xFF << 16);
        c.moveTo(0, row);
        c.lineTo(w, row);
    }
    c.setPenWidth(w / 40);
    c.setPenColor(0x2020C0);
    c.moveTo(0, 0);
    c.lineTo(w, h);
    c.setBrushColor(0x20A020);
    c.polygon({{w / 8, h / 2}, {w / 2, h / 9}, {w * 7 / 8, h * 5 / 6}});
    c.setFontName(QStringLiteral("Arial"));
    for (int k = 0; k < 12; ++k) {
        c.setFontSize(h / 60 + k);
        c.setFontRotation(k * 300, k * 300);
        c.textOut(w * k / 13, h * k / 12, QStringLiteral("Arm %1 — 1234").arg(k));
    }
    return mf;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct Context {
    Context() { ctx.messenger = &messages; }
    RecordingMessenger messages;
    ProgramContext ctx;
};

// Rows that fail after a number of rows, as when memory runs out half-way.
class FailingRows : public PictureRows {
public:
    FailingRows(const QImage& image, int goodRows) : m_image(image), m_good(goodRows) {}
    QSize size() const override { return m_image.size(); }
    const uchar* row(int y) override { return y < m_good ? m_image.constScanLine(y) : nullptr; }
    QString failure() const override { return QStringLiteral("no rows left"); }

private:
    QImage m_image;
    int m_good;
};

} // namespace

TEST(Output_StripExportTests, StripsGiveTheBytesOfTheWholeReduction)
{
    // Strip by strip, over one or two lanes and with small bands, the rows
    // equal the whole banded picture; a work size equal to the picture size
    // gives the drawn rows themselves.
    const Metafile mf = stripDrawing(3000, 2000);
    const QSize picture(301, 201);
    const QSize work = picture * 4;
    const QRectF whole(0, 0, work.width(), work.height());
    const BandPainter paint = [&](QPainter& p, int) { QtPlayer().play(mf, p, whole); };
    QImage expected;
    ASSERT_TRUE(AreaAverageReduce(renderToImage(mf, work), expected, picture.width(), picture.height()));
    for (int lanes : {1, 2}) {
        BandedRows rows(work, picture, Qt::white, lanes, paint, qint64(work.width()) * 13);
        ASSERT_EQ(rows.pictureSize(), picture);
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* line = rows.row(y);
            ASSERT_NE(line, nullptr) << y;
            ASSERT_EQ(memcmp(line, expected.constScanLine(y), size_t(picture.width()) * 4), 0)
                << "row " << y << " lanes " << lanes;
        }
        EXPECT_EQ(rows.row(picture.height()), nullptr);
        EXPECT_EQ(rows.row(0), nullptr) << "rows go top to bottom only";
    }

    const QImage drawn = renderToImage(mf, picture);
    BandedRows same(picture, picture, Qt::white, 2,
                    [&](QPainter& p, int) { QtPlayer().play(mf, p, QRectF(0, 0, picture.width(), picture.height())); },
                    qint64(picture.width()) * 9);
    for (int y = 0; y < picture.height(); ++y)
        ASSERT_EQ(memcmp(same.row(y), drawn.constScanLine(y), size_t(picture.width()) * 4), 0) << "row " << y;
}

TEST(Output_StripExportTests, LargePicturesWrittenInStripsMatchTheWholePicture)
{
    // A picture too large to draw whole goes to the file in strips: the file
    // is the one the whole picture gives, in every format; anti-aliased
    // pictures too.
    Context c;
    QTemporaryDir dir;
    const Metafile mf = stripDrawing(6000, 4000);
    const int width = 2600; // 2600 × 1733: above the size drawn whole
    const QImage whole = renderToImage(mf, QSize(width, 1733));
    ASSERT_FALSE(whole.isNull());
    for (const char* type : {"BMP", "PNG", "JPG"}) {
        const QString path = dir.filePath(QStringLiteral("big.") + QString::fromLatin1(type).toLower());
        ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QString::fromLatin1(type), false, width, path)) << type;
        QString error;
        QByteArray expected;
        if (QLatin1String(type) == QLatin1String("BMP"))
            expected = encodeBmp(whole, &error);
        else if (QLatin1String(type) == QLatin1String("JPG"))
            expected = encodeJpeg(whole, &error);
        else
            expected = encodePng(whole, (QLatin1Char(' ') + c.ctx.creatorText() + QLatin1Char(' ')).toLatin1(),
                                 QByteArray(" ") + kPngIdentification + " ", &error);
        EXPECT_TRUE(test::readAll(path) == expected) << type;
    }

    const QString smooth = dir.filePath(QStringLiteral("smooth.png"));
    ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QStringLiteral("PNG"), true, 600, smooth));
    QString error;
    EXPECT_EQ(QImage(smooth).convertToFormat(QImage::Format_RGB32),
              rasteriseDrawing(mf, 600, true, &error).convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(c.messages.entries.isEmpty());
}

TEST(Output_StripExportTests, RowsThatFailHalfWayLeaveTheOldFile)
{
    // When the rows stop coming (memory ran out) the encoders stop, report
    // why, and the file written so far is thrown away: the old picture stays.
    QTemporaryDir dir;
    const QImage img = renderToImage(stripDrawing(500, 400), QSize(250, 200));
    for (const PixelFileType type : {PixelFileType::Bmp, PixelFileType::Jpg, PixelFileType::Png}) {
        const QString path = dir.filePath(QStringLiteral("plan.pic"));
        ASSERT_TRUE(test::writeAll(path, "old picture"));
        FailingRows rows(img, 120);
        SafeFileWriter file(path);
        ASSERT_TRUE(file.open());
        struct Sink : ByteSink {
            SafeFileWriter& f;
            explicit Sink(SafeFileWriter& file) : f(file) {}
            bool write(const char* d, qsizetype n) override { return f.write(d, n); }
            bool writeAt(qint64 o, const char* d, qsizetype n) override { return f.writeAt(o, d, n); }
            QString failure() const override { return f.error(); }
        } sink(file);
        QString error;
        const bool ok = type == PixelFileType::Bmp   ? encodeBmp(rows, sink, &error)
                        : type == PixelFileType::Jpg ? encodeJpeg(rows, sink, &error)
                                                     : encodePng(rows, "k", "t", sink, &error);
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, QStringLiteral("no rows left"));
    }
    // The writers went out of scope uncommitted.
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("plan.pic")});
    EXPECT_EQ(test::readAll(dir.filePath(QStringLiteral("plan.pic"))), "old picture");
}

TEST(Output_StripExportTests, PiecewiseWriterPlacesPiecesAndFailsCleanly)
{
    // Pieces land where they are written, gaps read as zeros; a writer that
    // is never committed leaves the target and no temporary file.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bmp"));
    {
        SafeFileWriter file(path);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.writeAt(6, "world", 5));
        ASSERT_TRUE(file.writeAt(0, "hello", 5));
        ASSERT_TRUE(file.write("!", 1));
        ASSERT_TRUE(file.commit()) << file.error().toStdString();
    }
    EXPECT_EQ(test::readAll(path), QByteArray("hello\0world!", 12));
    {
        SafeFileWriter file(path);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("half", 4));
    }
    EXPECT_EQ(test::readAll(path), QByteArray("hello\0world!", 12));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("a.bmp")});

    SafeFileWriter nowhere(dir.filePath(QStringLiteral("a.bmp/x.png")));
    EXPECT_FALSE(nowhere.open());
    EXPECT_TRUE(nowhere.error().contains(QStringLiteral("Cannot create file"))) << nowhere.error().toStdString();
    EXPECT_FALSE(nowhere.write("x", 1));
    EXPECT_FALSE(nowhere.commit());
}
