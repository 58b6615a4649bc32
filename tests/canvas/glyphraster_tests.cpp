#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "output/pixelexport.h"

using namespace korvimo;

namespace {

// Texts as diagrams hold them: names, volumes and titles in several sizes,
// turns, weights and colours, some on a filled cell, over a band.
Metafile textDrawing(int sizeFrom, int sizeStep, bool underline = false)
{
    Metafile mf(3000, 2000);
    MetaCanvas c(mf);
    c.setPenWidth(60);
    c.setPenColor(0x40A040);
    c.moveTo(0, 1000);
    c.lineTo(3000, 1200);
    c.setFontName(QStringLiteral("Arial"));
    const int turns[] = {0, 0, 300, 900, -450, 1800};
    for (int k = 0; k < 18; ++k) {
        c.setFontSize(sizeFrom + sizeStep * (k % 6));
        c.setFontBold(k % 3 == 1);
        c.setFontItalic(k % 4 == 2);
        c.setFontUnderline(underline);
        c.setFontColor(k % 2 ? 0x000000 : 0x2030D0);
        c.setFontRotation(turns[k % 6], turns[k % 6]);
        c.setBrushClear(k % 5 != 0);
        c.setBrushColor(0xE0F0FF);
        c.textOut(150 + 160 * k, 200 + 90 * k, QStringLiteral("Kruispunt %1 gjy-Ä").arg(1234 + k));
    }
    return mf;
}

QImage played(const Metafile& mf, QSize size, bool cached)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QtPlayer player;
    player.setCachedLargeGlyphs(cached);
    player.play(mf, p, QRectF(QPointF(0, 0), QSizeF(size)));
    return img;
}

struct Difference {
    qint64 pixels = 0;
    int largest = 0;
    double share(const QImage& img) const { return double(pixels) / (double(img.width()) * img.height()); }
};

Difference differenceOf(const QImage& a, const QImage& b)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            int m = 0;
            for (int c = 0; c < 3; ++c)
                m = std::max(m, std::abs(int(a.constScanLine(y)[4 * x + c]) - int(b.constScanLine(y)[4 * x + c])));
            d.pixels += m > 0;
            d.largest = std::max(d.largest, m);
        }
    return d;
}

} // namespace

TEST(Canvas_GlyphRasterTests, LargeGlyphsFromTheCacheStayCloseToQtsOwn)
{
    // Glyphs of 64 device pixels and more come from the cache, placed to a
    // quarter pixel. Qt fills such glyphs with smoothed edges, so the edge
    // pixels change shade by what an eighth of a pixel moves; after the
    // reduction of the anti-aliased picture that is a few steps of shade.
    const Metafile mf = textDrawing(40, 12);
    const QSize work(6000, 4000); // glyph heights about 100 to 250 device pixels
    const QImage exact = played(mf, work, false);
    const QImage cached = played(mf, work, true);
    const Difference hard = differenceOf(cached, exact);
    EXPECT_GT(hard.pixels, 0) << "the cache must have been used";
    std::printf("drawn: %lld pixels differ (%.4f %%), largest channel difference %d\n",
                static_cast<long long>(hard.pixels), hard.share(exact) * 100, hard.largest);
    EXPECT_LT(hard.share(exact), 0.012);

    QString error;
    const QImage smoothExact = rasteriseDrawing(mf, 1500, true, &error, false);
    const QImage smoothCached = rasteriseDrawing(mf, 1500, true, &error, true);
    ASSERT_FALSE(smoothExact.isNull()) << error.toStdString();
    const Difference smooth = differenceOf(smoothCached, smoothExact);
    std::printf("anti-aliased 1500 px: %lld pixels differ (%.4f %%), largest channel difference %d\n",
                static_cast<long long>(smooth.pixels), smooth.share(smoothExact) * 100, smooth.largest);
    EXPECT_LT(smooth.share(smoothExact), 0.04);
    EXPECT_LE(smooth.largest, 24);
}

TEST(Canvas_GlyphRasterTests, SmallGlyphsUnderlinesAndTheSwitchKeepQtsDrawing)
{
    // Below Qt's own cache limit, with underlined fonts, and with the
    // switch off, every pixel is Qt's.
    const Metafile small = textDrawing(12, 3);
    EXPECT_EQ(played(small, QSize(3000, 2000), true), played(small, QSize(3000, 2000), false));
    const Metafile underlined = textDrawing(40, 12, true);
    EXPECT_EQ(played(underlined, QSize(6000, 4000), true), played(underlined, QSize(6000, 4000), false));
    const Metafile large = textDrawing(40, 12);
    QString error;
    EXPECT_EQ(rasteriseDrawing(large, 700, false, &error), played(large, QSize(700, 467), false));
}
