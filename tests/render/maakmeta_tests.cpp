#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "rendertestsupport.h"
#include "support/testsupport.h"

using namespace korvimo;
using rtest::Rig;

namespace {

// A band from (0,0) to (100,0) diagram units with offset 20 and width 100
// metafile units.
void eastBand(Rig& r, const QString& arrows)
{
    r.doc.coordinates = {"0001=0;0;", "0002=100;0;"};
    r.doc.intensities = {"0100=20;V;", "0101=100;V;"};
    r.doc.script = {"LNE;1;0001;0002;[0100];[0101];255;" + arrows};
}

} // namespace

TEST(Render_DriverTests, WorkedExampleEndArrow)
{
    // The straight band with an end arrow: shortened fill, two edges and a pointed head.
    Rig r;
    eastBand(r, "N;A;");
    r.render();
    EXPECT_TRUE(r.outcome.completed);
    EXPECT_TRUE(rtest::sameLines(r.drawn(), (QStringList{
                             "Pen color=255 width=3",
                             "Brush color=255 solid",
                             "Polygon 0,20 960,20 960,120 0,120",
                             "MoveTo 0,20",
                             "Pen color=0 width=3",
                             "LineTo 960,20",
                             "MoveTo 0,120",
                             "LineTo 960,120",
                             "Pen color=255 width=3",
                             "Polygon 960,20 1000,70 960,120",
                             "MoveTo 960,20",
                             "Pen color=0 width=3",
                             "LineTo 1000,70",
                             "LineTo 960,120",
                         })));
    EXPECT_TRUE(r.messenger.entries.isEmpty());
}

TEST(Render_DriverTests, StartArrowNotchAndNegativeArrowsize)
{
    // A positive arrowsize notches the start; a negative one points it and notches the end.
    Rig r;
    eastBand(r, "A;N;");
    r.doc.general.sblackline = false;
    r.render();
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Polygon"), (QStringList{"Polygon 40,20 1000,20 1000,120 40,120",
                                                 "Polygon 0,20 40,20 40,70", "Polygon 0,120 40,120 40,70"})));
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("LineTo").mid(2), (QStringList{"LineTo 0,20", "LineTo 40,70", "LineTo 0,120", "LineTo 40,120"})));

    r.doc.general.arrowsize = -40;
    eastBand(r, "A;A;");
    r.render();
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Polygon"),
              (QStringList{"Polygon 40,20 960,20 960,120 40,120", "Polygon 40,20 0,70 40,120",
                           "Polygon 960,20 1000,20 960,70", "Polygon 960,120 1000,120 960,70"})));
}

TEST(Render_DriverTests, BandOptionsAndDegenerateCases)
{
    // Without sfill only lines; sblack blackens everything; width 0 draws nothing.
    Rig r;
    eastBand(r, "N;A;");
    r.doc.general.sfill = false;
    r.render();
    EXPECT_TRUE(r.drawnOf("Polygon").isEmpty());
    EXPECT_EQ(r.drawnOf("LineTo").size(), 4);

    r.doc.general.sfill = true;
    r.doc.general.sblack = true;
    r.doc.general.sblackline = false;
    r.render();
    for (const QString& l : r.drawnOf("Pen"))
        EXPECT_TRUE(l.startsWith("Pen color=0 ")) << l.toStdString();
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Brush"), QStringList{"Brush color=0 solid"}));

    r.doc.general.sblack = false;
    r.doc.intensities = {"0100=20;V;", "0101=0;V;"};
    r.render();
    EXPECT_TRUE(r.drawn().isEmpty());

    // arrowsize 0 with both arrows leaves the band whole.
    Rig z;
    eastBand(z, "A;A;");
    z.doc.general.arrowsize = 0;
    z.render();
    EXPECT_EQ(z.drawnOf("Polygon").first(), QStringLiteral("Polygon 0,20 1000,20 1000,120 0,120"));

    // A negative width lies on the left; equal points give a band across the point.
    Rig n;
    n.doc.coordinates = {"0001=0;0;", "0002=100;0;"};
    n.doc.intensities = {"0100=0;V;", "0101=-100;V;"};
    n.doc.script = {"LNE;1;0001;0002;[0100];[0101];255;N;A;"};
    n.render();
    EXPECT_TRUE(rtest::sameLines(n.drawnOf("Polygon"),
              (QStringList{"Polygon 0,0 960,0 960,-100 0,-100", "Polygon 960,0 1000,-50 960,-100"})));
    n.doc.coordinates = {"0001=10;10;", "0002=10;10;"};
    n.doc.script = {"LNE;1;0001;0002;[0100];[0101];255;N;N;"};
    n.render();
    EXPECT_TRUE(rtest::sameLines(n.drawnOf("Polygon"), (QStringList{"Polygon 100,100 100,100 0,100 0,100"})));
}

TEST(Render_DriverTests, TargetSizeKindAndSignature)
{
    // An empty script holds only the signature; WMF output and destination colour the target.
    Rig r;
    r.doc.general.diagramwidth = 321;
    r.doc.general.diagramheight = 123;
    r.ctx.view.drawingBackground = 0x123456;
    r.render();
    EXPECT_EQ(r.target.width(), 3210);
    EXPECT_EQ(r.target.height(), 1230);
    EXPECT_EQ(r.target.kind(), MetafileKind::Emf);
    EXPECT_EQ(r.target.description(), QStringLiteral("kruispunt.kvo"));
    const QStringList lines = r.target.dumpLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[2].startsWith("Font \"Arial\"")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("color=1193046")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("Brush color=16777215 clear"));
    EXPECT_EQ(lines[4], "TextOut 10,10 \"" + r.ctx.creatorText() + " kruispunt.kvo\"");

    r.render("WMF", "E");
    EXPECT_EQ(r.target.kind(), MetafileKind::Wmf);
    EXPECT_TRUE(r.target.dumpLines()[2].endsWith("color=0"));
}

TEST(Render_DriverTests, DrawingGroupsHideUntilTheNextGroup)
{
    // Hidden Logo lines are skipped; an unknown group and a too-new GRP behave as described.
    Rig r;
    r.doc.coordinates = {"0001=0;0;", "0002=100;0;"};
    r.doc.intensities = {"0100=0;V;", "0101=100;V;"};
    const QString band = "LNE;1;0001;0002;[0100];[0101];%1;N;N;";
    r.doc.general.setGroupVisible(DrawingGroup::Logo, false);
    r.doc.script = {band.arg(1), "GRP;1;Logo;", band.arg(2), "LNE;x;broken;", "GRP;2;Frame;", band.arg(3),
                    "GRP;1;NoSuchGroup;", band.arg(4), "GRP;1;Logo;", "#GRP;1;Frame;", "*GRP;1;Frame;",
                    "grp;1;Frame;", band.arg(5)};
    r.render();
    EXPECT_TRUE(r.outcome.completed); // the hidden broken line is never read
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Brush"), (QStringList{"Brush color=1 solid", "Brush color=4 solid"})));
}

TEST(Render_DriverTests, ConversionErrorStopsButKeepsWhatWasDrawn)
{
    // Line 3 has version "x": lines 1 and 2 are drawn, the error is shown, nothing after.
    Rig r;
    r.doc.coordinates = {"0001=0;0;", "0002=100;0;"};
    r.doc.intensities = {"0100=0;V;", "0101=100;V;"};
    const QString band = "LNE;1;0001;0002;[0100];[0101];%1;N;N;";
    r.doc.script = {band.arg(1), band.arg(2), "LNE;x;0001;0002;[0100];[0101];3;N;N;", band.arg(4)};
    r.render();
    EXPECT_FALSE(r.outcome.completed);
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Brush"), (QStringList{"Brush color=1 solid", "Brush color=2 solid"})));
    ASSERT_EQ(r.messenger.entries.size(), 1);
    EXPECT_EQ(r.messenger.entries[0].kind, RecordingMessenger::Entry::Error);
    EXPECT_TRUE(r.messenger.entries[0].text.contains("'x'")) << r.messenger.entries[0].text.toStdString();
    EXPECT_EQ(r.outcome.errorText, r.messenger.entries[0].text);

    // A malformed coordinate or volume stops the same way; a too-new version is skipped silently.
    Rig c;
    c.doc.coordinates = {"0001=0;0;", "0002=1O0;0;"};
    c.doc.intensities = {"0100=0;V;", "0101=100;V;"};
    c.doc.script = {"LNE;2;0001;0002;[0100];[0101];1;N;N;", band.arg(2)};
    c.render();
    EXPECT_FALSE(c.outcome.completed);
    EXPECT_TRUE(c.drawn().isEmpty());
    EXPECT_TRUE(c.outcome.errorText.contains("1O0"));
}

TEST(Render_DriverTests, RendersAreRepeatableAndLeaveTheDocumentAlone)
{
    // Same document twice gives equal records; lists, flags and file name stay as they were.
    Rig r;
    eastBand(r, "A;A;");
    r.doc.intensities << "0012=800;I;";
    r.doc.script << "LNE;1;0002;0001;[0100];[0012];Color0002;A;N;";
    r.ctx.view.showDirections = true;
    r.ctx.view.showCoordinates = true;
    r.ctx.view.showIntersections = true;
    const QStringList script = r.doc.script, coords = r.doc.coordinates, ints = r.doc.intensities;
    r.doc.setModified(false);
    r.render();
    const Metafile first = r.target;
    const QStringList firstCheck = r.outcome.checkList;
    r.render();
    EXPECT_EQ(first, r.target);
    EXPECT_EQ(first.dump(), r.target.dump());
    EXPECT_TRUE(rtest::sameLines(firstCheck, r.outcome.checkList));
    EXPECT_TRUE(rtest::sameLines(r.doc.script, script));
    EXPECT_TRUE(rtest::sameLines(r.doc.coordinates, coords));
    EXPECT_TRUE(rtest::sameLines(r.doc.intensities, ints));
    EXPECT_FALSE(r.doc.isModified());
}

TEST(Render_DriverTests, ShowDirectionsDrawsDirectionNumbers)
{
    // With show directions a volume of 800 on line 0012 is drawn as 12 vehicles wide.
    Rig r;
    r.doc.coordinates = {"0001=0;0;", "0002=100;0;"};
    r.doc.intensities = {"0100=0;V;", "0012=800;I;"};
    r.doc.general.sfactor = 4000; // one metafile unit per vehicle
    r.doc.script = {"LNE;1;0001;0002;[0100];[0012];1;N;N;"};
    r.render();
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Polygon"), QStringList{"Polygon 0,0 1000,0 1000,800 0,800"}));
    r.ctx.view.showDirections = true;
    r.render();
    EXPECT_TRUE(rtest::sameLines(r.drawnOf("Polygon"), QStringList{"Polygon 0,0 1000,0 1000,12 0,12"}));
}

TEST(Render_DriverTests, CheckListBlocks)
{
    // With intersections shown each drawn band adds its block of registers times 1000.
    Rig r;
    eastBand(r, "N;A;");
    r.doc.script.prepend("GRP;1;Frame;");
    r.render();
    EXPECT_TRUE(rtest::sameLines(r.outcome.checkList, QStringList{"Values * 1000"}));
    r.ctx.view.showIntersections = true;
    r.render();
    const QStringList& c = r.outcome.checkList;
    ASSERT_EQ(c.size(), 1 + 29);
    EXPECT_EQ(c[1], QStringLiteral("=========================================="));
    EXPECT_EQ(c[2], r.doc.script[1]);
    EXPECT_EQ(c[3], QStringLiteral("---"));
    EXPECT_EQ(c[4], QStringLiteral("Xa1,Ya1=0,20000"));
    EXPECT_EQ(c[5], QStringLiteral("Xa2,Ya2=1000000,20000"));
    EXPECT_EQ(c[12], QStringLiteral("Xb1,Yb1=0,120000"));
    EXPECT_EQ(c[18], QStringLiteral("--- (only info about last drawn arrow)"));
    EXPECT_EQ(c[20], QStringLiteral("PijlXa2,PijlYa2=960000,20000"));
    EXPECT_EQ(c[24], QStringLiteral("PijlX2Punt,PijlY2Punt=1000000,70000"));
    EXPECT_EQ(c[26], QStringLiteral("Radius(R)=0"));
    EXPECT_EQ(c[27], QStringLiteral("MaxAllowedForArcWin9x=32768; ArcCorrectieWin9x=0"));
    EXPECT_EQ(c[28], QStringLiteral("Abs(Xa8-R)+Abs(Xa8+R)=0"));
}

TEST(Render_DriverTests, CoordinateLabels)
{
    // Every point but helpers and texts gets a blue label on aqua; inactive ones too.
    Rig r;
    r.doc.coordinates = {"*text", "0001=10;20;", "#0002=30;1;", "A061=5;5;"};
    r.ctx.view.showCoordinates = true;
    r.render();
    const QStringList ellipses = r.drawnOf("Ellipse");
    EXPECT_TRUE(rtest::sameLines(ellipses, (QStringList{"Ellipse 75 175 125 225", "Ellipse 275 -15 325 35"})));
    const QStringList texts = r.drawnOf("TextOut");
    ASSERT_EQ(texts.size(), 2);
    // A 70-point font: the label sits 130 units above the point, or below when that leaves the picture.
    EXPECT_EQ(texts[0], QStringLiteral("TextOut 150,70 \"0001\""));
    EXPECT_EQ(texts[1], QStringLiteral("TextOut 350,40 \"#000\""));
    const QStringList rects = r.drawnOf("Rectangle");
    ASSERT_EQ(rects.size(), 2);
    EXPECT_TRUE(rects[0].startsWith("Rectangle 129 61 ")) << rects[0].toStdString();
    EXPECT_EQ(r.drawn().last(), QStringLiteral("TextOut 350,40 \"#000\""));
}

TEST(Render_DriverTests, DiagnosticModeWritesWorkingLists)
{
    // The marker file in the temporary folder switches the dump of the working lists on.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Rig r;
    r.ctx.paths.tempFolder = dir.path() + "/";
    eastBand(r, "N;A;");
    r.doc.intensities << "0012=800;I;";
    r.ctx.view.showDirections = true;
    r.render();
    EXPECT_FALSE(QFile::exists(dir.filePath("Script.zzz")));
    ASSERT_TRUE(test::writeAll(dir.filePath(kDiagnosticMarkerName), ""));
    r.render();
    EXPECT_EQ(test::readAll(dir.filePath("Script.zzz")), r.doc.script[0].toUtf8() + "\r\n");
    EXPECT_EQ(test::readAll(dir.filePath("Int.zzz")), "0100=20;V;\r\n0101=100;V;\r\n0012=0012;I;\r\n");
    EXPECT_EQ(test::readAll(dir.filePath("Coords.zzz")), "0001=0;0;\r\n0002=100;0;\r\n");
    EXPECT_EQ(test::readAll(dir.filePath("Check.zzz")), "Values * 1000\r\n");
}

TEST(Render_DriverTests, GradientsBeyondTheRecordBudgetStopWithOneMessage)
{
    // Thousands of full-height gradients would record a line per row each:
    // recording stops at the picture's budget, the rest of the script is not
    // walked, one message says why, and what was recorded is still a picture.
    Rig r;
    r.doc.general.diagramwidth = 100;
    r.doc.general.diagramheight = 100;
    r.doc.coordinates = {"0001=0;0;", "0002=100;100;"};
    for (int k = 0; k < 2000; ++k)
        r.doc.script << QStringLiteral("REC;1;0001;0002;GV;%1;16777215;").arg(k);
    r.target.setRecordBudget(25000);
    r.render();
    EXPECT_EQ(r.target.records().size(), 25000);
    EXPECT_FALSE(r.outcome.completed);
    ASSERT_EQ(r.messenger.entries.size(), 1);
    EXPECT_TRUE(r.messenger.entries[0].text.contains(QStringLiteral("25000"))) << r.messenger.entries[0].text.toStdString();
    EXPECT_EQ(r.outcome.errorText, r.messenger.entries[0].text);

    // Below the budget nothing is said.
    r.messenger.entries.clear();
    r.doc.script = r.doc.script.mid(0, 3);
    r.render();
    EXPECT_TRUE(r.outcome.completed);
    EXPECT_TRUE(r.messenger.entries.isEmpty());
}
