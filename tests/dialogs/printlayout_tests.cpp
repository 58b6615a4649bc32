// The print page arithmetic: fit rule, placement, header, bitmap size and
// the preview's paper.
#include <gtest/gtest.h>

#include "canvas/metafile.h"
#include "document/generalvariables.h"
#include "output/printlayout.h"

using namespace korvimo;

namespace {

TEST(Dialogs_PrintLayoutTests, FitRuleComparesDifferencesNotRatios)
{
    // 100 x 200 on 1000 x 1150 at 100 %: the width falls short by 900, the height by 950, so the width decides and the drawing runs off the bottom.
    EXPECT_DOUBLE_EQ(printFitFactor(100, 200, 1000, 1150), 10.0);
    PrintPage page{1000, 1150, 254, 254}; // 10 pixels a millimetre
    PrintFields f;
    f.diagramLeft = 0;
    f.diagramTop = 0;
    f.diagramSize = 100;
    const MetaBox box = printDiagramBox(page, 100, 200, f);
    EXPECT_EQ(box, (MetaBox{0, 0, 1000, 2000}));
    // A ratio rule would have chosen 1150 / 200 = 5.75 and kept it on the page.
    EXPECT_GT(box.bottom, page.height);

    // Larger than the page in both directions: the one that exceeds more decides.
    EXPECT_DOUBLE_EQ(printFitFactor(3000, 2000, 1000, 1500), 1000.0 / 3000);
    EXPECT_DOUBLE_EQ(printFitFactor(2000, 3000, 1500, 1000), 1000.0 / 3000);
    // Smaller in both: the one that falls short the least fills the page.
    EXPECT_DOUBLE_EQ(printFitFactor(500, 400, 1000, 1000), 2.0);
    EXPECT_DOUBLE_EQ(printFitFactor(400, 500, 1000, 1000), 2.0);
    EXPECT_EQ(printDiagramBox(PrintPage{1000, 1000, 254, 254}, 500, 400, f), (MetaBox{0, 0, 1000, 800}));
    EXPECT_DOUBLE_EQ(printFitFactor(0, 400, 1000, 1000), 0.0); // no drawing, no division
}

TEST(Dialogs_PrintLayoutTests, PlacementInMillimetresAndHeaderSize)
{
    // Left, top and the header corner are millimetres times dpi / 25.4, rounded; size 85 % scales the fitted drawing; the header's points follow the resolution.
    PrintPage page{4800, 6800, 600, 600};
    PrintFields f; // 20, 30, 85 %, header 20, 10
    const MetaBox box = printDiagramBox(page, 5000, 5000, f);
    // F = 4800 / 5000 (the width falls short less); S = 0.816.
    EXPECT_EQ(box.left, 472);  // 20 mm = 472.44
    EXPECT_EQ(box.top, 709);   // 30 mm = 708.66
    EXPECT_EQ(box.right, 472 + 4080);
    EXPECT_EQ(box.bottom, 709 + 4080);
    EXPECT_EQ(printHeaderPosition(page, f), QPoint(472, 236));
    EXPECT_EQ(printHeaderPoints(12, 600, 1.0), 72);
    EXPECT_EQ(printHeaderPoints(12, 600, 0.5), 36);
    EXPECT_EQ(printHeaderPoints(10, 300, 1.0), 30);
}

TEST(Dialogs_PrintLayoutTests, BitmapSizeAndPreviewPaper)
{
    // PrintBmpSize 2000 on a portrait 4800 x 6800 page gives 1412 x 2000; landscape turns it; the paper is frame - 3u along the page's longer side, centred.
    EXPECT_EQ(printBitmapSize(4800, 6800, 2000), QSize(1412, 2000));
    EXPECT_EQ(printBitmapSize(6800, 4800, 2000), QSize(2000, 1412));
    EXPECT_EQ(printBitmapSize(1000, 1000, 500), QSize(500, 500));
    EXPECT_TRUE(printBitmapSize(0, 1000, 500).isEmpty());

    const QRect portrait = previewPaperRect(4800, 6800, 271, 3);
    EXPECT_EQ(portrait.height(), 262);
    EXPECT_EQ(portrait.width(), 185); // 4800 / 6800 * 262 = 184.94
    EXPECT_EQ(portrait.top(), 3);     // (271 - 262 - 3) / 2
    EXPECT_EQ(portrait.left(), 42);   // (271 - 185 - 3) / 2 = 41.5, to even
    const QRect landscape = previewPaperRect(6800, 4800, 271, 3);
    EXPECT_EQ(landscape.width(), 262);
    EXPECT_EQ(landscape.height(), 185);
}

TEST(Dialogs_PrintLayoutTests, FontStyleIsStoredWithoutStrikeout)
{
    // Bold and underline are stored as "YNY" and come back; strikeout is not stored.
    GeneralVariables g;
    PrintFields f = printFieldsOf(g);
    EXPECT_TRUE(f.bold);
    EXPECT_FALSE(f.italic);
    f.bold = true;
    f.italic = false;
    f.underline = true;
    f.strikeout = true;
    f.header = QStringLiteral("Bijlage 2");
    storePrintFields(f, g);
    EXPECT_EQ(g.printfontstyle, "YNY");
    const PrintFields back = printFieldsOf(g);
    EXPECT_TRUE(back.bold);
    EXPECT_FALSE(back.italic);
    EXPECT_TRUE(back.underline);
    EXPECT_FALSE(back.strikeout);
    EXPECT_EQ(back.header, "Bijlage 2");
    g.printfontstyle = QStringLiteral("Y"); // short: the missing ones are off
    EXPECT_FALSE(printFieldsOf(g).underline);
}

TEST(Dialogs_PrintLayoutTests, PagePictureHoldsTheDrawingAndTheHeader)
{
    // The page picture is the page's size, stretches the drawing into its box and writes the header at its corner in the scaled font.
    Metafile drawing(5000, 4000);
    MetaRecord r;
    r.type = MetaRecordType::Rectangle;
    r.box = MetaBox{0, 0, 5000, 4000};
    drawing.append(r);
    PrintPage page{4800, 6800, 600, 600};
    PrintFields f;
    f.header = QStringLiteral("Bijlage 1: Stromendiagram");
    const Metafile out = buildPrintPage(drawing, page, f, 1.0, MetafileKind::Emf);
    EXPECT_EQ(out.width(), 4800);
    EXPECT_EQ(out.height(), 6800);
    ASSERT_GE(out.records().size(), 4);
    EXPECT_EQ(out.records()[0].type, MetaRecordType::StretchMetafile);
    EXPECT_EQ(out.records()[0].box, printDiagramBox(page, 5000, 4000, f));
    const MetaRecord& font = out.records()[2];
    EXPECT_EQ(font.type, MetaRecordType::Font);
    EXPECT_EQ(font.font().height, -96); // 72 points on the reference device
    EXPECT_TRUE(font.font().bold);
    EXPECT_EQ(out.records()[3].type, MetaRecordType::TextOut);
    EXPECT_EQ(out.records()[3].points[0], QPoint(472, 236));
    EXPECT_EQ(out.records().size(), 4);

    f.strikeout = true;
    const Metafile struck = buildPrintPage(drawing, page, f, 1.0, MetafileKind::Wmf);
    EXPECT_EQ(struck.kind(), MetafileKind::Wmf);
    EXPECT_EQ(struck.records().last().type, MetaRecordType::LineTo);
}

} // namespace
