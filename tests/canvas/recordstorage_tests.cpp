#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <functional>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "canvas/recordbounds.h"
#include "canvas/textmetrics.h"

using namespace korvimo;

namespace {

// Every pixel that is not the white background.
QRect inkOf(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                r |= QRect(x, y, 1, 1);
    }
    return r;
}

} // namespace

TEST(Canvas_RecordStorageTests, PointsGrowFromInlineToHeapAndCopyByValue)
{
    // One or two points live in the record; more move to the heap. Copies,
    // moves and comparisons behave as the point list they stand for.
    MetaPoints p{{1, 2}, {3, 4}};
    EXPECT_EQ(p.size(), 2);
    for (int i = 0; i < 40; ++i)
        p.append(QPoint(i, -i));
    ASSERT_EQ(p.size(), 42);
    EXPECT_EQ(p[0], QPoint(1, 2));
    EXPECT_EQ(p.last(), QPoint(39, -39));

    MetaPoints copy = p;
    copy[0] = QPoint(9, 9);
    EXPECT_EQ(p[0], QPoint(1, 2)) << "a copy shares nothing";
    MetaPoints moved = std::move(copy);
    EXPECT_EQ(moved[0], QPoint(9, 9));
    EXPECT_TRUE(copy.isEmpty());

    const QList<QPoint> list = p.toList();
    EXPECT_TRUE(p == list);
    EXPECT_TRUE(MetaPoints(list) == p);
    moved = p; // heap over heap
    EXPECT_TRUE(moved == p);
    moved = MetaPoints{{5, 5}}; // inline over heap
    EXPECT_EQ(moved.size(), 1);
    EXPECT_EQ(moved[0], QPoint(5, 5));
}

TEST(Canvas_RecordStorageTests, RecordsAreSmallAndTheirTextsCopyOnWrite)
{
    // A gradient row is a pen and a line: such records must stay small, and
    // a copy of a text record must not change with the original.
    EXPECT_LE(sizeof(MetaRecord), 96u);

    MetaRecord a(MetaRecordType::TextOut);
    a.points = {QPoint(1, 1)};
    a.setText(QStringLiteral("Noord"));
    MetaRecord b = a;
    b.setText(QStringLiteral("Zuid"));
    EXPECT_EQ(a.text(), QStringLiteral("Noord"));
    EXPECT_EQ(b.text(), QStringLiteral("Zuid"));
    EXPECT_FALSE(a == b);
    b.setText(QStringLiteral("Noord"));
    EXPECT_TRUE(a == b);

    const MetaRecord plain(MetaRecordType::Font);
    EXPECT_EQ(plain.font(), FontSpec()) << "a font record without its own font has the default one";
    EXPECT_EQ(plain.dumpLine(), MetaRecord(MetaRecordType::Font).dumpLine());
}

TEST(Canvas_RecordStorageTests, TheRecordBudgetStopsRecordingAndSaysSo)
{
    // Beyond the budget nothing is added; the picture says it is full until
    // it is emptied, and the budget itself survives clear().
    Metafile mf(100, 100);
    mf.setRecordBudget(10);
    MetaCanvas c(mf);
    for (int row = 0; row < 20; ++row) {
        c.setPenColor(row);
        c.moveTo(0, row);
        c.lineTo(100, row);
    }
    EXPECT_EQ(mf.records().size(), 10);
    EXPECT_TRUE(mf.budgetReached());

    mf.clear();
    EXPECT_FALSE(mf.budgetReached());
    EXPECT_EQ(mf.recordBudget(), 10);
    mf.setRecordBudget(qsizetype(1) << 40);
    EXPECT_EQ(mf.recordBudget(), kMetafileRecordBudget) << "no budget above the program's own";
}

TEST(Canvas_RecordStorageTests, GenerationChangesWithTheRecordsAndTravelsWithCopies)
{
    Metafile mf(10, 10);
    const auto g0 = mf.generation();
    MetaCanvas(mf).moveTo(1, 1);
    const auto g1 = mf.generation();
    EXPECT_NE(g0, g1);
    const Metafile copy = mf;
    EXPECT_EQ(copy.generation(), g1);
    Metafile other(10, 10);
    MetaCanvas(other).moveTo(1, 1);
    EXPECT_NE(other.generation(), g1) << "equal records made apart are still told apart";
    mf.clearRecords();
    EXPECT_NE(mf.generation(), g1);
}

TEST(Canvas_RecordStorageTests, InkBoundsHoldEveryPixelARecordPaints)
{
    // Each record drawn alone, at two scales: every inked pixel lies inside
    // the record's ink box (plus the player's few device pixels). Texts in
    // several fonts, styles and turns; wide pens with round ends; a Bézier
    // whose curve bulges; an arc of a large ellipse.
    struct Shape {
        const char* what;
        std::function<void(MetaCanvas&)> draw;
    };
    auto text = [](const char* name, int points, bool italic, bool underline, int escapement) {
        return [=](MetaCanvas& c) {
            c.setFontName(QString::fromLatin1(name));
            c.setFontSize(points);
            c.setFontItalic(italic);
            c.setFontUnderline(underline);
            c.setFontRotation(escapement, escapement);
            c.setBrushClear(escapement % 900 != 0);
            c.textOut(500, 400, QStringLiteral("Wjgq ÅÉ ffi %1").arg(escapement));
        };
    };
    const Shape shapes[] = {
        {"text", text("Arial", 40, false, false, 0)},
        {"italic underlined text", text("Arial", 60, true, true, 0)},
        {"courier turned 30", text("Courier New", 36, false, true, 300)},
        {"turned 90", text("Arial", 48, true, false, 900)},
        {"upside down", text("Times New Roman", 50, true, true, 1800)},
        {"turned -45", text("Arial", 44, false, false, -450)},
        {"wide line", [](MetaCanvas& c) { c.setPenWidth(60); c.moveTo(200, 200); c.lineTo(800, 650); }},
        {"bezier", [](MetaCanvas& c) { c.setPenWidth(25); c.polyBezier({{100, 700}, {300, 50}, {700, 50}, {900, 700}}); }},
        {"arc", [](MetaCanvas& c) { c.setPenWidth(40); c.arc(100, 100, 900, 700, 900, 400, 100, 400); }},
        {"thin polygon", [](MetaCanvas& c) { c.setPenWidth(0); c.polygon({{300, 300}, {700, 320}, {500, 600}}); }},
        {"ellipse", [](MetaCanvas& c) { c.setPenWidth(15); c.ellipse(250, 150, 750, 650); }},
    };
    const TextMetrics metrics;
    for (const Shape& s : shapes) {
        Metafile mf(1000, 800);
        {
            MetaCanvas c(mf);
            s.draw(c);
        }
        const std::vector<InkBox> boxes = inkBounds(mf, metrics);
        ASSERT_EQ(boxes.size(), size_t(mf.records().size()));
        QRectF all;
        for (const InkBox& b : boxes)
            if (!b.always)
                all |= QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom));
        ASSERT_FALSE(all.isEmpty()) << s.what;
        for (const double scale : {0.5, 1.7}) {
            const QSize size(int(1000 * scale), int(800 * scale));
            const QImage img = renderToImage(mf, size);
            const QRect ink = inkOf(img);
            ASSERT_FALSE(ink.isNull()) << s.what;
            const QRectF allowed(all.left() * scale - 4, all.top() * scale - 4, all.width() * scale + 8,
                                 all.height() * scale + 8);
            EXPECT_TRUE(allowed.contains(QRectF(ink))) << s.what << " at " << scale << ": ink " << ink.left() << ","
                                                       << ink.top() << "-" << ink.right() << "," << ink.bottom();
        }
    }
}

TEST(Canvas_RecordStorageTests, PlayingPartOfAPictureGivesThePixelsOfTheWhole)
{
    // A raster device that sees only part of the drawing skips the records
    // that cannot reach it: every window onto the picture must still equal
    // the same pixels of the whole picture, texts and wide pens across its
    // edges included.
    Metafile mf(2000, 1500);
    {
        MetaCanvas c(mf);
        for (int row = 0; row < 1500; row += 3) { // a gradient, as REC records it
            c.setPenColor((row * 7) & 0xFFFFFF);
            c.setPenWidth(3);
            c.moveTo(0, row);
            c.lineTo(2000, row);
        }
        c.setPenWidth(45);
        c.setPenColor(0x0000FF);
        c.moveTo(-300, 1700);
        c.lineTo(2300, -200);
        c.setBrushColor(0x00FF00);
        c.polygon({{100, 100}, {1900, 300}, {900, 1400}});
        c.arc(400, 300, 1600, 1200, 1600, 750, 400, 750);
        c.setFontName(QStringLiteral("Arial"));
        for (int k = 0; k < 24; ++k) {
            c.setFontSize(20 + 3 * k);
            c.setFontItalic(k % 2 == 1);
            c.setFontRotation(k * 150 - 1800, k * 150 - 1800);
            c.setBrushClear(k % 3 != 0);
            c.textOut(80 * k, 60 * k + 50, QStringLiteral("Tekst %1 gjy").arg(k));
        }
    }
    const QSize whole(1000, 750);
    const QImage full = renderToImage(mf, whole);
    const QRect windows[] = {{0, 0, 1000, 37}, {0, 300, 1000, 7}, {250, 500, 130, 250}, {999, 749, 1, 1}};
    for (const QRect& w : windows) {
        QImage part(w.size(), QImage::Format_RGB32);
        part.fill(Qt::white);
        {
            QPainter p(&part);
            p.translate(-w.topLeft());
            QtPlayer().play(mf, p, QRectF(QPointF(0, 0), QSizeF(whole)));
        }
        EXPECT_EQ(part, full.copy(w)) << w.x() << "," << w.y() << " " << w.width() << "x" << w.height();
    }
}
