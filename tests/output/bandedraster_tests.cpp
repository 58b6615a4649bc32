#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <stdexcept>

#include "output/areaaveragereduce.h"
#include "output/bandedraster.h"

using namespace korvimo;

namespace {

// A drawing with something in every band: wide diagonal strokes, a filled
// polygon crossing band edges, and rotated text (font caches per thread).
void drawScene(QPainter& p, QSize size)
{
    p.setPen(QPen(QColor(200, 30, 40), 7, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i)
        p.drawLine(QPoint(i * size.width() / 12, 0), QPoint(size.width() - i * 17, size.height()));
    p.setBrush(QColor(20, 120, 220));
    p.setPen(QPen(Qt::black, 3));
    const QPoint poly[] = {{size.width() / 5, size.height() / 7},
                           {size.width() * 4 / 5, size.height() / 3},
                           {size.width() / 2, size.height() * 6 / 7}};
    p.drawPolygon(poly, 3);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(size.height() / 12);
    p.setFont(f);
    p.save();
    p.translate(size.width() / 3.0, size.height() / 2.0);
    p.rotate(-30);
    p.drawText(0, 0, QStringLiteral("Korvimo 1234"));
    p.restore();
}

QImage drawnWhole(QSize size, const QColor& bg)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(bg);
    QPainter p(&img);
    drawScene(p, size);
    return img;
}

// The first differing row, or -1.
int firstDifferentRow(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 0;
    for (int y = 0; y < a.height(); ++y)
        if (memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0)
            return y;
    return -1;
}

} // namespace

TEST(Output_BandedRasterTests, AreaAverageInBandsEqualsTheWholeReduction)
{
    // Integer and odd ratios, one to four lanes and bands much smaller than
    // the picture: every combination gives the bytes of the whole reduction.
    struct Case {
        QSize work, picture;
    };
    const Case cases[] = {{{1200, 900}, {300, 225}}, {{1003, 997}, {250, 249}}, {{640, 1601}, {213, 400}}};
    const QColor bg(250, 245, 230);
    for (const Case& c : cases) {
        QImage whole = drawnWhole(c.work, bg);
        QImage expected;
        ASSERT_TRUE(AreaAverageReduce(whole, expected, c.picture.width(), c.picture.height()));
        for (int lanes : {1, 2, 4}) {
            for (qint64 bandPixels : {qint64(c.work.width()) * 7, qint64(c.work.width()) * 64, kDefaultBandPixels}) {
                std::atomic<int> calls{0};
                const QImage got = drawSupersampledInBands(
                    c.work, c.picture, bg, BandReduction::AreaAverage, lanes,
                    [&](QPainter& p, int lane) {
                        EXPECT_GE(lane, 0);
                        EXPECT_LT(lane, lanes);
                        ++calls;
                        drawScene(p, c.work);
                    },
                    bandPixels);
                EXPECT_EQ(firstDifferentRow(got, expected), -1)
                    << c.work.width() << "x" << c.work.height() << " lanes " << lanes << " band " << bandPixels;
                EXPECT_GE(calls.load(), 1);
            }
        }
    }
}

TEST(Output_BandedRasterTests, SmoothReductionMatchesQtOnWholeMultiplesAndFallsBackOtherwise)
{
    // Threefold work size: bands of whole picture rows scale like the whole
    // picture. A size that is no whole multiple reduces by area average.
    const QColor bg(Qt::white);
    const QSize picture(211, 157);
    const QSize work = picture * 3;
    const QImage whole = drawnWhole(work, bg);
    const QImage expected =
        whole.scaled(picture, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    for (int lanes : {1, 2}) {
        const QImage got = drawSupersampledInBands(
            work, picture, bg, BandReduction::QtSmooth, lanes, [&](QPainter& p, int) { drawScene(p, work); },
            qint64(work.width()) * 30);
        EXPECT_EQ(firstDifferentRow(got, expected), -1) << "lanes " << lanes;
    }

    const QSize oddWork(640, 470);
    QImage area;
    ASSERT_TRUE(AreaAverageReduce(drawnWhole(oddWork, bg), area, picture.width(), picture.height()));
    const QImage fallback = drawSupersampledInBands(oddWork, picture, bg, BandReduction::QtSmooth, 2,
                                                    [&](QPainter& p, int) { drawScene(p, oddWork); });
    EXPECT_EQ(firstDifferentRow(fallback, area), -1);
}

TEST(Output_BandedRasterTests, FailuresReachTheCallerAfterEveryThreadStopped)
{
    // An exception in one band's drawing surfaces once; empty sizes give a
    // null picture without drawing.
    const QSize work(800, 2400);
    std::atomic<int> calls{0};
    EXPECT_THROW(drawSupersampledInBands(
                     work, QSize(200, 600), Qt::white, BandReduction::AreaAverage, 3,
                     [&](QPainter&, int) {
                         if (++calls == 2)
                             throw std::runtime_error("band failed");
                     },
                     qint64(work.width()) * 40),
                 std::runtime_error);

    bool drew = false;
    EXPECT_TRUE(drawSupersampledInBands(QSize(0, 10), QSize(5, 5), Qt::white, BandReduction::AreaAverage, 2,
                                        [&](QPainter&, int) { drew = true; })
                    .isNull());
    EXPECT_TRUE(drawSupersampledInBands(QSize(10, 10), QSize(5, 0), Qt::white, BandReduction::QtSmooth, 2,
                                        [&](QPainter&, int) { drew = true; })
                    .isNull());
    EXPECT_FALSE(drew);
}
