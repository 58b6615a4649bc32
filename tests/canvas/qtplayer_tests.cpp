#include <gtest/gtest.h>

#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include "canvas/metacanvas.h"
#include "canvas/qtplayer.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;

bool isWhite(const QImage& img, int x, int y)
{
    return img.pixel(x, y) == qRgb(255, 255, 255);
}

QRgb at(const QImage& img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

// Bounding box of every pixel that is not the white background.
QRect inkBounds(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!isWhite(img, x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

QImage drawArc(QPoint start, QPoint end)
{
    Metafile mf(100, 100);
    MetaCanvas c(mf);
    c.setPenWidth(3);
    c.arc(10, 10, 90, 90, start.x(), start.y(), end.x(), end.y());
    return renderToImage(mf, QSize(100, 100));
}

} // namespace

TEST(Canvas_QtPlayerTests, ArcRunsCounterClockwiseFromStartRadialToEndRadial)
{
    // East to north is the upper right quarter; north to east is the other three quarters.
    const QImage quarter = drawArc({90, 50}, {50, 10});
    EXPECT_FALSE(isWhite(quarter, 78, 22));
    EXPECT_TRUE(isWhite(quarter, 22, 22));
    EXPECT_TRUE(isWhite(quarter, 22, 78));
    EXPECT_TRUE(isWhite(quarter, 78, 78));

    const QImage rest = drawArc({50, 10}, {90, 50});
    EXPECT_TRUE(isWhite(rest, 78, 22));
    EXPECT_FALSE(isWhite(rest, 22, 22));
    EXPECT_FALSE(isWhite(rest, 22, 78));
    EXPECT_FALSE(isWhite(rest, 78, 78));

    // Radial points far outside the circle still pick the angle only; equal radials draw it whole.
    const QImage far = drawArc({1000, 50}, {50, -1000});
    EXPECT_EQ(far, quarter);
    const QImage full = drawArc({90, 50}, {95, 50});
    for (QPoint p : {QPoint(78, 22), QPoint(22, 22), QPoint(22, 78), QPoint(78, 78)})
        EXPECT_FALSE(isWhite(full, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST(Canvas_QtPlayerTests, ArcOnAnEllipseEndsOnTheRadial)
{
    // On a flat ellipse the arc from east to the radial at 45 degrees stops where that radial meets it.
    Metafile mf(200, 100);
    MetaCanvas c(mf);
    c.setPenWidth(1);
    c.arc(0, 0, 200, 100, 200, 50, 200, -50); // end radial at 45 degrees on screen
    const QImage img = renderToImage(mf, QSize(200, 100));
    // That radial meets the ellipse at (100 + 100/sqrt(5), 50 - 100/sqrt(5)) = (144.7, 5.3);
    // taken as the ellipse's parameter angle it would stop at x = 170.7 instead.
    const QRect ink = inkBounds(img);
    EXPECT_NEAR(ink.left(), 145, 2);
    EXPECT_NEAR(ink.top(), 5, 2);
}

TEST(Canvas_QtPlayerTests, PolygonIsFilledWithTheBrushAndOutlinedWithThePen)
{
    // A solid brush fills, the pen outlines; a clear brush leaves the inside alone.
    Metafile mf(100, 100);
    MetaCanvas c(mf);
    c.setBrushColor(kRed);
    c.setPenColor(kBlue);
    c.setPenWidth(5);
    c.polygon({{10, 10}, {90, 10}, {90, 40}, {10, 40}});
    c.setBrushClear(true);
    c.polygon({{10, 60}, {90, 60}, {90, 90}, {10, 90}});
    const QImage img = renderToImage(mf, QSize(100, 100));
    EXPECT_EQ(at(img, 50, 25), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(at(img, 50, 10), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_EQ(at(img, 90, 25), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_TRUE(isWhite(img, 50, 75));
    EXPECT_EQ(at(img, 50, 60), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_TRUE(isWhite(img, 50, 50));
}

TEST(Canvas_QtPlayerTests, WidePensHaveRoundEndsAndNoAntialiasingByDefault)
{
    // A 20-unit line reaches 10 beyond its end point only along a round cap; the image has two colours.
    Metafile mf(100, 100);
    MetaCanvas c(mf);
    c.setPenWidth(20);
    c.moveTo(30, 50);
    c.lineTo(70, 50);
    const QImage img = renderToImage(mf, QSize(100, 100));
    EXPECT_FALSE(isWhite(img, 22, 50));
    EXPECT_TRUE(isWhite(img, 22, 42)) << "a square end would cover this corner";
    EXPECT_TRUE(isWhite(img, 50, 62));
    QSet<QRgb> colours;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            colours.insert(img.pixel(x, y));
    EXPECT_EQ(colours.size(), 2);

    const QImage smooth = renderToImage(mf, QSize(100, 100), true);
    colours.clear();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            colours.insert(smooth.pixel(x, y));
    EXPECT_GT(colours.size(), 2) << "antialiasing on request";
}

TEST(Canvas_QtPlayerTests, TextIsPlacedByTheTopLeftOfItsCellAndTurnedByEscapement)
{
    // Plain text lies inside its measured cell right of and below the point; 90 degrees runs upwards.
    Metafile mf(200, 200);
    MetaCanvas c(mf);
    c.setBrushClear(true);
    c.setFontSize(30); // 40 reference pixels
    const int w = c.textWidth(QStringLiteral("HHH"));
    const int h = c.textHeight(QStringLiteral("HHH"));
    c.textOut(100, 100, QStringLiteral("HHH"));
    const QRect plain = inkBounds(renderToImage(mf, QSize(200, 200)));
    EXPECT_GE(plain.left(), 100);
    EXPECT_GE(plain.top(), 100);
    EXPECT_LE(plain.right(), 100 + w);
    EXPECT_LE(plain.bottom(), 100 + h);
    EXPECT_GT(plain.width(), w * 3 / 4);
    // Capital H: its top is the cell's internal leading below the top, its foot on the baseline.
    EXPECT_NEAR(plain.bottom(), 100 + c.metrics().ascent(c.font()), 2);

    Metafile turned(200, 200);
    MetaCanvas t(turned);
    t.setBrushClear(true);
    t.setFontSize(30);
    t.setFontRotation(900, 900);
    t.textOut(100, 100, QStringLiteral("HHH"));
    const QRect up = inkBounds(renderToImage(turned, QSize(200, 200)));
    EXPECT_GE(up.left(), 100);
    EXPECT_LE(up.right(), 100 + h);
    EXPECT_LE(up.bottom(), 100);
    EXPECT_GE(up.top(), 100 - w);
    EXPECT_GT(up.height(), w * 3 / 4);
    EXPECT_NEAR(up.width(), plain.height(), 2);
}

TEST(Canvas_QtPlayerTests, SolidBrushGivesTextAnOpaqueCell)
{
    // With a solid brush the text cell is painted in the brush colour, as GDI's opaque mode does.
    Metafile mf(200, 100);
    MetaCanvas c(mf);
    c.setBrushColor(kRed);
    c.setFontSize(30);
    c.textOut(10, 10, QStringLiteral("x"));
    const QImage img = renderToImage(mf, QSize(200, 100));
    EXPECT_EQ(at(img, 11, 11), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_TRUE(isWhite(img, 10 + c.textWidth("x") + 2, 11));
}

TEST(Canvas_QtPlayerTests, PlaybackScalesIntoTheTargetAndNestsPictures)
{
    // A 1000-unit drawing fills a 100-pixel image; a nested picture lands in its box.
    Metafile inner(10, 10);
    {
        MetaCanvas c(inner);
        c.setPenWidth(0);
        c.setBrushColor(kBlue);
        c.rectangle(0, 0, 10, 10);
    }
    Metafile mf(1000, 1000);
    MetaCanvas c(mf);
    c.setPenWidth(0);
    c.setBrushColor(kRed);
    c.rectangle(0, 0, 500, 500);
    c.stretchDraw(MetaBox{500, 500, 1000, 1000}, inner);
    QImage bitmap(2, 1, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(0, 255, 0));
    bitmap.setPixel(1, 0, qRgb(0, 0, 0));
    c.stretchDraw(MetaBox{0, 600, 400, 800}, bitmap);
    const QImage img = renderToImage(mf, QSize(100, 100));
    EXPECT_EQ(at(img, 25, 25), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_TRUE(isWhite(img, 75, 25));
    EXPECT_EQ(at(img, 75, 75), qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_EQ(at(img, 10, 70), qRgb(0, 255, 0) & 0xFFFFFF);
    EXPECT_EQ(at(img, 30, 70), 0u);
    EXPECT_TRUE(isWhite(img, 30, 85));
}

TEST(Canvas_QtPlayerTests, DegenerateInputDrawsNothingAndDoesNotFail)
{
    // Zero sizes, empty boxes and short point lists are skipped quietly.
    Metafile empty;
    EXPECT_TRUE(renderToImage(empty, QSize(0, 10)).isNull());
    const QImage blank = renderToImage(empty, QSize(10, 10));
    EXPECT_TRUE(inkBounds(blank).isNull());

    Metafile mf(100, 100);
    MetaRecord arc;
    arc.type = MetaRecordType::Arc; // no points
    mf.append(arc);
    MetaRecord line;
    line.type = MetaRecordType::LineTo; // no point
    mf.append(line);
    MetaRecord bez;
    bez.type = MetaRecordType::PolyBezier;
    bez.points = {{1, 1}, {2, 2}};
    mf.append(bez);
    MetaRecord pic;
    pic.type = MetaRecordType::StretchMetafile;
    pic.box = {0, 0, 50, 50};
    mf.append(pic);
    EXPECT_TRUE(inkBounds(renderToImage(mf, QSize(100, 100))).isNull());
}

TEST(Canvas_QtPlayerTests, SvgAndPdfCopiesAreWrittenSafely)
{
    // Vector copies are written whole; an unwritable place fails with a reason and no file.
    Metafile mf(400, 200);
    mf.setComment(QStringLiteral("Korvimo"), QStringLiteral("test"));
    MetaCanvas c(mf);
    c.setBrushColor(kRed);
    c.ellipse(10, 10, 390, 190);
    c.textOut(50, 50, QStringLiteral("Svg"));
    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("a.svg"));
    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    QString error;
    ASSERT_TRUE(writeSvg(mf, svg, &error)) << error.toStdString();
    ASSERT_TRUE(writePdf(mf, pdf, &error)) << error.toStdString();
    const QByteArray svgBytes = test::readAll(svg);
    EXPECT_TRUE(svgBytes.contains("<svg"));
    EXPECT_TRUE(svgBytes.contains("viewBox=\"0 0 400 200\""));
    EXPECT_TRUE(test::readAll(pdf).startsWith("%PDF"));

    const QString bad = dir.filePath(QStringLiteral("no/such/folder/a.svg"));
    EXPECT_FALSE(writeSvg(mf, bad, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(bad));
    EXPECT_FALSE(writePdf(Metafile(), pdf, &error)) << "no size, no file";
    EXPECT_TRUE(test::readAll(pdf).startsWith("%PDF")) << "the old file is kept";
}
