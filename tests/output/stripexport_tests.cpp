#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

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

TEST(Output_StripExportTests, StripsGiveTheBytesOfTheBandedPicture)
{
    // Strip by strip, over one or two lanes and with small bands, the rows
    // equal the picture drawn in the same bands at once; a work size equal
    // to the picture size gives the drawn rows unreduced.
    const Metafile mf = stripDrawing(3000, 2000);
    const QSize picture(301, 201);
    const QSize work = picture * 4;
    const BandPainter paint = [&](QPainter& p, int) { QtPlayer().play(mf, p, QRectF(0, 0, work.width(), work.height())); };
    const BandPainter plain = [&](QPainter& p, int) {
        QtPlayer().play(mf, p, QRectF(0, 0, picture.width(), picture.height()));
    };
    for (int lanes : {1, 2}) {
        for (const bool reduced : {true, false}) {
            const QSize from = reduced ? work : picture;
            const qint64 bandPixels = qint64(from.width()) * 13;
            const QImage expected = drawSupersampledInBands(from, picture, Qt::white, BandReduction::AreaAverage,
                                                            lanes, reduced ? paint : plain, bandPixels);
            BandedRows rows(from, picture, Qt::white, lanes, reduced ? paint : plain, bandPixels);
            ASSERT_EQ(rows.pictureSize(), picture);
            for (int y = 0; y < picture.height(); ++y) {
                const uchar* line = rows.row(y);
                ASSERT_NE(line, nullptr) << y;
                ASSERT_EQ(memcmp(line, expected.constScanLine(y), size_t(picture.width()) * 4), 0)
                    << "row " << y << " lanes " << lanes << (reduced ? " reduced" : " unreduced");
            }
            EXPECT_EQ(rows.row(picture.height()), nullptr);
            EXPECT_EQ(rows.row(0), nullptr) << "rows go top to bottom only";
        }
    }
}

TEST(Output_StripExportTests, LargePicturesGoToTheFileInStrips)
{
    // Anti-aliased pictures went in bands before; now their rows go
    // straight into the file: the same pixels as the banded picture in
    // memory. A hard-edged picture above kWholePicturePixels is drawn in
    // strips too, where it used to be drawn whole: edges crossing a strip
    // boundary may come out a pixel different, as they always did in the
    // bands of anti-aliased pictures. The share of such pixels and the
    // largest channel difference are shown and bounded.
    Context c;
    c.ctx.settings.exportCachedGlyphs = false; // Qt's own glyphs, as the whole picture has them
    QTemporaryDir dir;
    const Metafile mf = stripDrawing(6000, 4000);
    const QString smooth = dir.filePath(QStringLiteral("smooth.png"));
    ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QStringLiteral("PNG"), true, 600, smooth));
    QString error;
    EXPECT_EQ(QImage(smooth).convertToFormat(QImage::Format_RGB32),
              rasteriseDrawing(mf, 600, true, &error).convertToFormat(QImage::Format_RGB32));

    const int width = 7200; // 7200 × 4800: above the size drawn whole
    ASSERT_GT(qint64(width) * 4800, kWholePicturePixels);
    const QString big = dir.filePath(QStringLiteral("big.bmp"));
    ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QStringLiteral("BMP"), false, width, big));
    const QByteArray file = test::readAll(big);
    const QImage whole = renderToImage(mf, QSize(width, 4800));
    const qsizetype rowBytes = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    ASSERT_EQ(file.size(), 54 + rowBytes * 4800);
    qint64 differing = 0;
    int largest = 0;
    for (int y = 0; y < whole.height(); ++y) {
        // Bottom-up rows of blue, green, red.
        const auto* a = reinterpret_cast<const uchar*>(file.constData()) + 54 + (4800 - 1 - y) * rowBytes;
        const uchar* b = whole.constScanLine(y);
        for (int x = 0; x < whole.width(); ++x) {
            int d = 0;
            for (int k = 0; k < 3; ++k)
                d = std::max(d, std::abs(int(a[3 * x + k]) - int(b[4 * x + k])));
            if (d > 0)
                ++differing;
            largest = std::max(largest, d);
        }
    }
    const double share = double(differing) / (double(whole.width()) * whole.height());
    std::printf("strips against the whole picture: %lld pixels differ (%.5f %%), largest channel difference %d\n",
                static_cast<long long>(differing), share * 100, largest);
    EXPECT_LT(share, 0.001);
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
