#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include "canvas/metacanvas.h"
#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "output/areaaveragereduce.h"
#include "output/pixelexport.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A drawing of the given size in metafile units: a red band, a blue
// diagonal and a black frame, as a diagram has them.
Metafile sampleDrawing(int w = 5000, int h = 2500)
{
    Metafile mf(w, h);
    MetaCanvas c(mf);
    c.setPenColor(0x000000);
    c.setPenWidth(20);
    c.setBrushClear(true);
    c.rectangle(50, 50, w - 50, h - 50);
    c.setBrushClear(false);
    c.setBrushColor(0x0000FF);
    c.setPenColor(0x0000FF);
    c.polygon({{w / 10, h / 3}, {w * 9 / 10, h / 3}, {w * 9 / 10, h / 2}, {w / 10, h / 2}});
    c.setPenColor(0xFF0000);
    c.setPenWidth(30);
    c.moveTo(0, h);
    c.lineTo(w, 0);
    c.setPenWidth(0);
    c.arc(w / 4, h / 4, w / 2, h * 3 / 4, w / 2, h / 2, w / 4, h / 2);
    c.setFontSize(h / 40 + 6);
    c.setFontColor(0x000000);
    c.setBrushClear(true);
    c.textOut(w / 5, h * 3 / 5, QStringLiteral("Kruispunt 1234"));
    c.setFontRotation(450, 450);
    c.textOut(w * 3 / 5, h * 4 / 5, QStringLiteral("Noord"));
    return mf;
}

QSet<QRgb> colours(const QImage& img)
{
    QSet<QRgb> set;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            set.insert(img.pixel(x, y) & 0xFFFFFF);
    return set;
}

struct Context {
    Context() { ctx.messenger = &messages; }
    RecordingMessenger messages;
    ProgramContext ctx;
};

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(Output_PixelExportTests, ThousandPixelsOfAFiveThousandUnitDrawing)
{
    // Width 1000 of 5000 × 2500: 1000 × 500 with smoothing (from 4000 × 2000) and without.
    const Metafile mf = sampleDrawing();
    QString error;
    const QImage smooth = rasteriseDrawing(mf, 1000, true, &error);
    ASSERT_FALSE(smooth.isNull()) << error.toStdString();
    EXPECT_EQ(smooth.size(), QSize(1000, 500));
    const QImage hard = rasteriseDrawing(mf, 1000, false, &error);
    EXPECT_EQ(hard.size(), QSize(1000, 500));

    // The smooth picture is the reduction of the fourfold drawing, the hard one the drawing itself.
    QImage expected;
    ASSERT_TRUE(AreaAverageReduce(renderToImage(mf, QSize(4000, 2000)), expected, 1000, 500));
    EXPECT_EQ(smooth, expected);
    EXPECT_EQ(hard, renderToImage(mf, QSize(1000, 500)));
    // Hard edges have only the drawing's own colours; smoothing adds the blends.
    EXPECT_LE(colours(hard).size(), 4);
    EXPECT_GE(colours(smooth).size(), 10);
    EXPECT_EQ(smooth.pixel(500, 210) & 0xFFFFFF, 0xFF0000u) << "the band's inside stays pure red";

    // Each format writes a file of that size.
    Context c;
    QTemporaryDir dir;
    for (const char* type : {"BMP", "JPG", "PNG"}) {
        const QString path = dir.filePath(QStringLiteral("plan.") + QString::fromLatin1(type).toLower());
        ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QString::fromLatin1(type), true, 1000, path))
            << c.messages.texts().join('\n').toStdString();
        const QImage back(path);
        EXPECT_EQ(back.size(), QSize(1000, 500)) << type;
    }
    EXPECT_TRUE(c.messages.entries.isEmpty());
    // The PNG is lossless: exactly the smooth picture, its large glyphs
    // from the glyph cache as the setting has it by default.
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("plan.png"))).convertToFormat(QImage::Format_RGB32),
              rasteriseDrawing(mf, 1000, true, &error, true).convertToFormat(QImage::Format_RGB32).copy());
    c.ctx.settings.exportCachedGlyphs = false;
    ASSERT_TRUE(exportDrawingAsPixelFile(mf, c.ctx, QStringLiteral("PNG"), true, 1000, dir.filePath("plan.png")));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("plan.png"))).convertToFormat(QImage::Format_RGB32),
              smooth.convertToFormat(QImage::Format_RGB32).copy());
}

TEST(Output_PixelExportTests, HeightRuleRoundsHalvesToEven)
{
    // Heights follow round(MH / MW · W · f), then round(height / f), halves to even, never 0.
    struct Case { int mw, mh, w; bool aa; QSize want; };
    const Case cases[] = {
        {1000, 333, 10, true, {10, 3}},   // 13.32 → 13, 3.25 → 3
        {1000, 375, 4, false, {4, 2}},    // 1.5 → 2
        {1000, 625, 4, false, {4, 2}},    // 2.5 → 2
        {1000, 375, 1, true, {1, 1}},     // 1.5 → 2, then 0.5 → 0: one row at least
        {1000, 100, 1, false, {1, 1}},    // 0.1 → 0: one row at least
        {2500, 5000, 100, true, {100, 200}},
    };
    for (const Case& c : cases) {
        QString error;
        const QImage img = rasteriseDrawing(sampleDrawing(c.mw, c.mh), c.w, c.aa, &error);
        EXPECT_EQ(img.size(), c.want) << c.mw << "x" << c.mh << " w" << c.w << " aa" << c.aa << " "
                                      << error.toStdString();
    }
}

TEST(Output_PixelExportTests, RefusedSizesWriteNothing)
{
    // Width 0, a drawing without size and an absurd width are reported; no file appears.
    Context c;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.png"));
    EXPECT_FALSE(exportDrawingAsPixelFile(sampleDrawing(), c.ctx, QStringLiteral("PNG"), true, 0, path));
    EXPECT_FALSE(exportDrawingAsPixelFile(Metafile(), c.ctx, QStringLiteral("PNG"), true, 100, path));
    EXPECT_FALSE(exportDrawingAsPixelFile(sampleDrawing(), c.ctx, QStringLiteral("JPG"), true, 999999999, path));
    EXPECT_FALSE(exportDrawingAsPixelFile(sampleDrawing(), c.ctx, QStringLiteral("GIF"), true, 100, path));
    ASSERT_EQ(c.messages.count(RecordingMessenger::Entry::Error), 4);
    EXPECT_TRUE(c.messages.entries[0].text.contains(QStringLiteral("at least 1 pixel")));
    EXPECT_TRUE(c.messages.entries[1].text.contains(QStringLiteral("no size")));
    EXPECT_TRUE(c.messages.entries[2].text.contains(QStringLiteral("too large")));
    EXPECT_TRUE(entries(dir.path()).isEmpty());
}

TEST(Output_PixelExportTests, UnwritablePlaceReportsTheFailedWrite)
{
    // A file name below a regular file: the error names the file and the system's reason.
    Context c;
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeAll(dir.filePath(QStringLiteral("plans")), "not a folder"));
    const QString path = dir.filePath(QStringLiteral("plans/plan.jpg"));
    EXPECT_FALSE(exportDrawingAsPixelFile(sampleDrawing(), c.ctx, QStringLiteral("JPG"), false, 200, path));
    ASSERT_EQ(c.messages.entries.size(), 1);
    EXPECT_EQ(c.messages.entries[0].kind, RecordingMessenger::Entry::Error);
    EXPECT_EQ(c.messages.entries[0].text,
              QStringLiteral("Cannot create file \"%1\". Not a directory").arg(path));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("plans")});
}

TEST(Output_PixelExportTests, PngNamesItsCreator)
{
    // The PNG's text chunk has the creator text as its keyword, without blanks around it (PNG allows none there),
    // and the identification between blanks as its text; a PNG reader finds the text under that keyword.
    Context c;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.png"));
    ASSERT_TRUE(exportDrawingAsPixelFile(sampleDrawing(), c.ctx, QStringLiteral("png"), true, 50, path));
    const QByteArray bytes = test::readAll(path);
    const QByteArray keyword = c.ctx.creatorText().toLatin1();
    ASSERT_FALSE(keyword.startsWith(' '));
    ASSERT_FALSE(keyword.endsWith(' '));
    EXPECT_LE(keyword.size(), 79);
    const QByteArray chunk = QByteArray("tEXt") + keyword + QByteArray("\0 Traffic flow diagram ", 23);
    EXPECT_TRUE(bytes.contains(chunk));
    const QImage back(path);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.textKeys(), QStringList{c.ctx.creatorText()});
    EXPECT_EQ(back.text(c.ctx.creatorText()), QStringLiteral(" Traffic flow diagram "));
}
