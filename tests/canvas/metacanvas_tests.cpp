#include <gtest/gtest.h>

#include <QFile>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/textmetrics.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A small drawing using every kind of call the renderer makes.
Metafile sampleDrawing()
{
    Metafile mf(2000, 1000, MetafileKind::Emf);
    mf.setComment(QStringLiteral("Korvimo 1.0"), QStringLiteral("sample"));
    MetaCanvas c(mf);
    c.setBrushClear(true);
    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(5);
    c.textOut(10, 10, QStringLiteral("Korvimo \"1.0\" sample"));
    c.setBrushClear(false);
    c.setPenWidth(20);
    c.setPenColor(0x0000FF);
    c.setBrushColor(0x0000FF);
    c.polygon({{0, 20}, {960, 20}, {960, 120}, {0, 120}});
    c.moveTo(0, 20);
    c.lineTo(960, 20);
    c.arc(100, 100, 500, 500, 500, 300, 300, 100);
    c.polyBezier({{0, 0}, {10, 0}, {20, 10}, {20, 20}});
    c.setBrushColor(0xFFFF00);
    c.ellipse(-25, -25, 25, 25);
    c.rectangle(50, 60, 300, 200);
    c.setFontRotation(900, 900);
    c.setFontColor(0xFF0000);
    c.setFontBold(true);
    c.textOut(800, 940, QStringLiteral("12"));
    c.setFontRotation(0, 0);
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    c.stretchDraw(MetaBox{0, 0, 20, 10}, img);
    return mf;
}

} // namespace

TEST(Canvas_MetaCanvasTests, RecordsStateOnlyWhenADrawingCallNeedsIt)
{
    // Setting pen, brush and font without drawing records nothing; drawing records the state once.
    Metafile mf(100, 100);
    MetaCanvas c(mf);
    c.setPenColor(255);
    c.setPenWidth(3);
    c.setBrushColor(0x00FF00);
    EXPECT_TRUE(mf.isEmpty());
    c.moveTo(1, 2);
    c.lineTo(3, 4);
    c.lineTo(5, 6);
    c.rectangle(0, 0, 10, 10);
    c.setPenWidth(3); // unchanged: no new record
    c.ellipse(0, 0, 10, 10);
    const QStringList expected{
        "Metafile EMF 100x100",
        "Comment \"\" \"\"",
        "MoveTo 1,2",
        "Pen color=255 width=3",
        "LineTo 3,4",
        "LineTo 5,6",
        "Brush color=65280 solid",
        "Rectangle 0 0 10 10",
        "Ellipse 0 0 10 10",
    };
    EXPECT_EQ(mf.dumpLines(), expected) << firstDumpDifference(expected, mf.dumpLines()).toStdString();
    EXPECT_EQ(c.penPosition(), QPoint(5, 6));
}

TEST(Canvas_MetaCanvasTests, DumpMatchesGoldenFile)
{
    // The dump of a drawing with every record kind is stable, line for line.
    const Metafile mf = sampleDrawing();
    const QString refPath = test::dataPath(QStringLiteral("canvas/sample-ref.txt"));
    const QStringList expected =
        QString::fromUtf8(test::readAll(refPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList actual = mf.dumpLines();
    if (qEnvironmentVariableIsSet("KORVIMO_UPDATE_REFS"))
        test::writeAll(refPath, mf.dump().toUtf8());
    EXPECT_EQ(actual, expected) << firstDumpDifference(expected, actual).toStdString();
}

TEST(Canvas_MetaCanvasTests, EqualityFollowsRecordsAndPixels)
{
    // Two recordings of the same calls are equal; a changed pixel or coordinate is not.
    const Metafile a = sampleDrawing();
    Metafile b = sampleDrawing();
    EXPECT_EQ(a, b);
    Metafile c = sampleDrawing();
    MetaCanvas canvas(c);
    canvas.moveTo(0, 0);
    EXPECT_NE(a, c);

    Metafile d(10, 10), e(10, 10);
    QImage red(2, 2, QImage::Format_RGB32), red2(2, 2, QImage::Format_ARGB32);
    red.fill(Qt::red);
    red2.fill(Qt::red);
    MetaCanvas(d).stretchDraw(MetaBox{0, 0, 5, 5}, red);
    MetaCanvas(e).stretchDraw(MetaBox{0, 0, 5, 5}, red2);
    EXPECT_EQ(d, e) << "same pixels in another format are the same picture";
    red2.setPixel(1, 1, qRgb(0, 0, 255));
    Metafile f(10, 10);
    MetaCanvas(f).stretchDraw(MetaBox{0, 0, 5, 5}, red2);
    EXPECT_NE(d, f);
    EXPECT_NE(d.dumpLines().last(), f.dumpLines().last());
}

TEST(Canvas_MetaCanvasTests, DumpQuotesTexts)
{
    // Quotes, backslashes and control characters cannot break the one-line-per-record dump.
    EXPECT_EQ(quoteDumpText(QStringLiteral("a\"b\\c\nd\x01")), QStringLiteral("\"a\\\"b\\\\c\\nd\\u0001\""));
    Metafile mf(10, 10);
    MetaCanvas(mf).textOut(0, 0, QStringLiteral("line1\r\nline2"));
    EXPECT_EQ(mf.dumpLines().size(), 5); // header, comment, font, brush, text
}

TEST(Canvas_TextMetricsTests, PointsMapToReferencePixelsLikeGdi)
{
    // Font sizes follow -MulDiv(points, 96, 72), halves away from zero.
    EXPECT_EQ(TextMetrics::heightForPoints(10), -13);
    EXPECT_EQ(TextMetrics::heightForPoints(100), -133);
    EXPECT_EQ(TextMetrics::heightForPoints(75), -100);
    EXPECT_EQ(TextMetrics::heightForPoints(-3), 4);
    EXPECT_EQ(TextMetrics::pointsForHeight(-133), 100);
}

TEST(Canvas_TextMetricsTests, WidthsAreUnhintedAndAdvancesSumToWidth)
{
    // Arial at 100 reference pixels measures as the unhinted font does, and the advances add up.
    TextMetrics tm;
    FontSpec f;
    f.height = -100;
    const QString text = QStringLiteral("Kruispunt 1234");
    EXPECT_NEAR(tm.textWidth(f, text), 673, 1);
    const QList<int> adv = tm.advances(f, text);
    ASSERT_EQ(adv.size(), text.size());
    int sum = 0;
    for (int a : adv)
        sum += a;
    EXPECT_EQ(sum, tm.textWidth(f, text));
    EXPECT_EQ(tm.textHeight(f), 91 + 21);

    f.name = QStringLiteral("Courier New");
    EXPECT_EQ(tm.textWidth(f, QStringLiteral("0123456789")), 600);
    EXPECT_EQ(tm.advances(f, QString()).size(), 0);
}

TEST(Canvas_TextMetricsTests, PositiveHeightIsTheCellHeight)
{
    // A logical height > 0 (as other programs' files carry) means the cell height, not the em.
    TextMetrics tm;
    FontSpec cell;
    cell.height = 112;
    EXPECT_NEAR(tm.textHeight(cell), 112, 1);
    FontSpec huge;
    huge.height = -2000000000;
    EXPECT_GT(tm.textHeight(huge), 0) << "absurd sizes are clamped, not passed on";
}

TEST(Canvas_MetaCanvasTests, CanvasMeasuresInItsCurrentFont)
{
    // textWidth follows the font size; rotation does not change the extent.
    Metafile mf(10, 10);
    MetaCanvas c(mf);
    c.setFontName(QStringLiteral("Courier New"));
    c.setFontSize(75); // 100 reference pixels
    EXPECT_EQ(c.textWidth(QStringLiteral("abcde")), 300);
    c.setFontRotation(450, 450);
    EXPECT_EQ(c.textWidth(QStringLiteral("abcde")), 300);
    EXPECT_EQ(c.fontSize(), 75);
    EXPECT_TRUE(mf.isEmpty());
}

TEST(Canvas_TextMetricsTests, OneAdvancePerUtf16UnitEvenForSurrogatePairs)
{
    // A character outside the basic plane gets its advance on the first unit and 0 on the second.
    TextMetrics tm;
    FontSpec f;
    f.height = -50;
    const QString text = QStringLiteral("a") + QString::fromUcs4(U"\U0001F697") + QStringLiteral("b");
    const QList<int> adv = tm.advances(f, text);
    ASSERT_EQ(adv.size(), text.size());
    EXPECT_EQ(adv[2], 0);
    EXPECT_EQ(adv[0], tm.textWidth(f, QStringLiteral("a")));
}
