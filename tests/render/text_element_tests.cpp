#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLineF>
#include <cmath>

#include "canvas/textmetrics.h"
#include "elements_harness.h"
#include "render/rounding.h"
#include "render/textelement.h"

using namespace korvimo;

namespace {

// The texts drawn, in order, with the font in force for each.
QList<MetaRecord> texts(const test::ElementDrawing& d) { return d.records(MetaRecordType::TextOut); }

FontSpec fontOf(int points, bool bold = false)
{
    FontSpec f;
    f.name = QStringLiteral("Arial");
    f.height = TextMetrics::heightForPoints(points);
    f.bold = bold;
    return f;
}

} // namespace

TEST(Render_TextElementTests, CentredOnItsPointWithOurMetrics)
{
    // "P" at (100, 100), alignment C: the text's top-left lies half its measured width left and half its height up.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.script = {R"(TXT;1;P;0001;[0000];[0000];0;C;NNN;100;255;T;["Kruispunt 1234"];)"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 1);
    const TextMetrics m;
    const FontSpec f = fontOf(100); // fontsize 10 x 100 % x 10
    const int w = m.textWidth(f, "Kruispunt 1234");
    const int h = m.textHeight(f);
    EXPECT_GT(w, 400);
    EXPECT_GT(h, 100);
    EXPECT_EQ(t[0].text(), "Kruispunt 1234");
    EXPECT_EQ(t[0].points[0], QPoint(roundToEven(1000 - w / 2.0L), roundToEven(1000 - h / 2.0L)));
    EXPECT_EQ(t[0].font().height, f.height);
    EXPECT_EQ(t[0].font().color, 255);
    EXPECT_EQ(t[0].font().escapement, 0);
    EXPECT_TRUE(t[0].brush.clear); // transparent background behind the text
}

TEST(Render_TextElementTests, ShiftsAlongAndAcrossTheReference)
{
    // R from (0,100) to (0,0) runs upwards: phi = 90, dx moves up, a positive dy moves left, anchor 2 starts at the top.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=0;100;", "0002=0;0;", "0003=50;50;"};
    d.doc.intensities = {"0010=30;V;", "0011=20;V;"};
    d.doc.script = {R"(TXT;1;R;[0001;0002];2;[0010];[0011];0;L;NNN;100;0;T;["Up"];)",
                    R"(TXT;1;P;0003;[0010];[0011];0;L;NNN;100;0;T;["Flat"];)"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 2);
    const int h = TextMetrics().textHeight(fontOf(100));
    EXPECT_EQ(t[0].font().escapement, 900);
    EXPECT_EQ(t[0].font().orientation, 900);
    // Base (0, 0) -> along 30 up (0, -30) -> across 20 to the left of "up" (-20, -30); centring moves it
    // half a height further to the left of the text line.
    EXPECT_EQ(t[0].points[0], QPoint(roundToEven(-20 - h / 2.0), -30));
    // phi = 0: along is +x, across (positive) is up.
    EXPECT_EQ(t[1].points[0], QPoint(530, roundToEven(500 - 20 - h / 2.0)));
}

TEST(Render_TextElementTests, RightAlignedUpsideDown)
{
    // Alignment R with phi = 180: the text ends at the base point and runs leftwards, upside down.
    test::ElementDrawing d;
    d.ctx.settings.keepTextsUpright = false;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.script = {R"(TXT;1;P;0001;[0000];[0000];180;R;NNN;100;0;T;["Ab"];)"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 1);
    const TextMetrics m;
    const int w = m.textWidth(fontOf(100), "Ab"), h = m.textHeight(fontOf(100));
    EXPECT_EQ(t[0].font().escapement, 1800);
    EXPECT_EQ(t[0].points[0], QPoint(1000 + w, roundToEven(1000 + h / 2.0)));
}

TEST(Render_TextElementTests, VolumeLabelsRoundHalvesToEvenAndRespectIntminnumber)
{
    // 12.5 draws "12", 13.5 draws "14"; with intminnumber 10 a raw 9 draws nothing, 10 draws "10".
    test::ElementDrawing d;
    d.doc.general.intminnumber = 10;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.intensities = {"0001=25;I;", "0002=-12;I;", "0003=9;I;", "0004=10;I;", "0005=1;V;", "0006=12;V;"};
    // Raw mode: volumes as counted, not as widths. [0001-0006] = 13; [0004+0003-0006] = 7; [0006-0005] = 11.
    d.doc.script = {"TXT;1;P;0001;[0000];[0000];0;L;NNN;100;0;I;[0003];",
                    "TXT;1;P;0001;[0000];[0000];0;L;NNN;100;0;I;[0004];",
                    "TXT;1;P;0001;[0000];[0000];0;L;NNN;100;0;I;[0001-0006];"};
    d.render();
    auto t = texts(d);
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].text(), "10");
    EXPECT_EQ(t[1].text(), "13");

    EXPECT_EQ(volumeLabel(12.5L, 0), "12");
    EXPECT_EQ(volumeLabel(13.5L, 0), "14");
    EXPECT_EQ(volumeLabel(-3, 0), "-3");
    EXPECT_EQ(volumeLabel(-3, 1), "");
}

TEST(Render_TextElementTests, TextVariables)
{
    // Every variable name gives its text; unknown names give "?"; Filename drops the folder.
    test::ElementDrawing d;
    d.doc.fileName = "/some/folder/Kruispunt A.kvo";
    d.doc.general.title[0] = "Ochtendspits";
    d.doc.general.title[4] = "Vijf";
    d.doc.general.streetname[15] = "Laan 16";
    d.doc.coordinates = {"0001=100;100;"};
    for (const char* name : {"Filename", "Title01", "Title05", "Streetname16", "Title06", "Streetname1", "Username"})
        d.doc.script << QStringLiteral("TXT;1;P;0001;[0000];[0000];0;L;NNN;100;0;V;%1;").arg(QLatin1String(name));
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 7);
    EXPECT_EQ(t[0].text(), "Kruispunt A.kvo");
    EXPECT_EQ(t[1].text(), "Ochtendspits");
    EXPECT_EQ(t[2].text(), "Vijf");
    EXPECT_EQ(t[3].text(), "Laan 16");
    EXPECT_EQ(t[4].text(), "?");
    EXPECT_EQ(t[5].text(), "?");
    EXPECT_EQ(t[6].text(), loginName());
    EXPECT_FALSE(loginName().isEmpty());
}

TEST(Render_TextElementTests, StyleSizeColourAndWhatCarriesOver)
{
    // Style flags, size and colour per line; an unknown alignment or content kind keeps the previous one.
    test::ElementDrawing d;
    d.doc.general.fontsize = 12;
    d.doc.general.color[2] = 0x00AA00;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.script = {R"(TXT;1;P;0001;[0000];[0000];0;R;YNY;50;Color0003;T;["A;B"];)",
                    "TXT;1;P;0001;[0000];[0000];0;X;NYN;200;red;Q;whatever;"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].text(), "A;B");
    EXPECT_EQ(t[0].font().height, TextMetrics::heightForPoints(60));
    EXPECT_TRUE(t[0].font().bold);
    EXPECT_FALSE(t[0].font().italic);
    EXPECT_TRUE(t[0].font().underline);
    EXPECT_EQ(t[0].font().color, 0x00AA00);
    EXPECT_EQ(t[1].text(), "A;B"); // content kind Q: the previous text
    EXPECT_EQ(t[1].font().height, TextMetrics::heightForPoints(240));
    EXPECT_FALSE(t[1].font().bold);
    EXPECT_TRUE(t[1].font().italic);
    EXPECT_EQ(t[1].font().color, 0); // "red" is no colour
    // Alignment X: still right-aligned, so the text ends at the point.
    const int w = TextMetrics().textWidth(t[1].font(), "A;B");
    EXPECT_EQ(t[1].points[0].x(), 1000 - w);
}

TEST(Render_TextElementTests, SblackEmptyTextsAndMalformedNumbers)
{
    // sblack makes every text black; an empty text draws nothing; a non-numeric size stops the drawing.
    test::ElementDrawing d;
    d.doc.general.sblack = true;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.script = {R"(TXT;1;P;0001;[0000];[0000];0;L;NNN;100;255;T;["Zwart"];)",
                    R"(TXT;1;P;0001;[0000];[0000];0;L;NNN;100;255;T;[""];)",
                    R"(TXT;1;P;0001;[0000];[0000];0;L;NNN;groot;255;T;["Nooit"];)",
                    R"(TXT;1;P;0001;[0000];[0000];0;L;NNN;100;255;T;["Ook niet"];)"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].font().color, 0);
    EXPECT_FALSE(d.outcome.completed);
    EXPECT_EQ(d.messenger.count(RecordingMessenger::Entry::Error), 1);
}

TEST(Render_TextElementTests, PrintFontFactorScalesTheSize)
{
    // The print font factor scales the point size before rounding.
    test::ElementDrawing d;
    d.ctx.printFontFactor = 0.8;
    d.doc.coordinates = {"0001=100;100;"};
    d.doc.script = {R"(TXT;1;P;0001;[0000];[0000];0;L;NNN;100;0;T;["x"];)"};
    d.render();
    const auto t = texts(d);
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].font().height, TextMetrics::heightForPoints(80));
}

namespace {

// The four corners of a drawn text's cell, from its record: top-left, then
// along the text line, then down across it.
QList<QPointF> cellCorners(const MetaRecord& t)
{
    const TextMetrics m;
    const double w = m.textWidth(t.font(), t.text()), h = m.textHeight(t.font());
    const double a = t.font().escapement / 10.0 * M_PI / 180.0;
    const QPointF p0 = t.points[0];
    const QPointF along(std::cos(a) * w, -std::sin(a) * w), down(std::sin(a) * h, std::cos(a) * h);
    return {p0, p0 + along, p0 + along + down, p0 + down};
}

// Every corner of one cell has a corner of the other within tol.
bool sameCell(const QList<QPointF>& a, const QList<QPointF>& b, double tol)
{
    for (const QPointF& p : a) {
        bool found = false;
        for (const QPointF& q : b)
            found = found || QLineF(p, q).length() <= tol;
        if (!found)
            return false;
    }
    return true;
}

} // namespace

TEST(Render_TextElementTests, UpsideDownMeansStrictlyBetween90And270)
{
    // The half-open limits, negative angles and angles beyond a full turn.
    for (long double a : {0.0L, 90.0L, 270.0L, 360.0L, 89.9L, 270.1L, -90.0L, 450.0L, 630.0L, -45.0L})
        EXPECT_FALSE(readsUpsideDown(a)) << double(a);
    for (long double a : {90.1L, 180.0L, 269.9L, -100.0L, 540.0L, -180.0L, 900.0L})
        EXPECT_TRUE(readsUpsideDown(a)) << double(a);

    long double phi = 200;
    QString align = QStringLiteral("L");
    keepUpright(phi, align);
    EXPECT_EQ(double(phi), 20.0);
    EXPECT_EQ(align, "R");
    align = QString(); // none given yet draws as L, so it turns into R
    phi = 120;
    keepUpright(phi, align);
    EXPECT_EQ(double(phi), -60.0);
    EXPECT_EQ(align, "R");
    align = QStringLiteral("C");
    phi = 100;
    keepUpright(phi, align);
    EXPECT_EQ(align, "C");
    align = QStringLiteral("R");
    phi = 60;
    keepUpright(phi, align);
    EXPECT_EQ(double(phi), 60.0);
    EXPECT_EQ(align, "R");
}

TEST(Render_TextElementTests, ArmsEveryThirtyDegreesReadUprightInTheSameCell)
{
    // Twelve arms every 30 degrees, a label at the outer end of each, alignments L, C and R in turn and
    // rotations 0 and 15: with KeepTextsUpright off every text keeps its line's angle; with it on no text
    // reads upside down, the flipped ones have their alignment mirrored, and every text covers the very
    // cell it covered before.
    QStringList coords{"0001=250;250;"}, script;
    const char* const aligns[] = {"L", "C", "R"};
    for (int k = 0; k < 12; ++k) {
        const double a = k * 30 * M_PI / 180.0;
        coords << QStringLiteral("%1=%2;%3;").arg(1100 + k).arg(qRound(250 + 150 * std::cos(a))).arg(qRound(250 - 150 * std::sin(a)));
        for (int rot : {0, 15})
            script << QStringLiteral("TXT;1;R;[0001;%1];2;[0000];[0000];%2;%3;NNN;100;0;T;[\"Arm %1 label\"];")
                          .arg(1100 + k).arg(rot).arg(aligns[k % 3]);
    }
    QList<MetaRecord> off, on;
    for (bool upright : {false, true}) {
        test::ElementDrawing d;
        d.ctx.settings.keepTextsUpright = upright;
        d.doc.coordinates = coords;
        d.doc.script = script;
        d.render();
        (upright ? on : off) = texts(d);
    }
    ASSERT_EQ(off.size(), 24);
    ASSERT_EQ(on.size(), 24);
    // The angle of a line may come out a whole turn apart (an arm due east is 360 degrees).
    const auto turn = [](int tenths) { return ((tenths % 3600) + 3600) % 3600; };
    int flipped = 0;
    for (int i = 0; i < 24; ++i) {
        const int k = i / 2, rot = (i % 2) * 15;
        const int phi = k * 30 + rot;
        EXPECT_EQ(turn(off[i].font().escapement), turn(phi * 10)) << i;
        const bool down = phi > 90 && phi < 270;
        EXPECT_EQ(turn(on[i].font().escapement), turn(down ? (phi - 180) * 10 : phi * 10)) << i;
        EXPECT_EQ(on[i].font().orientation, on[i].font().escapement) << i;
        EXPECT_FALSE(readsUpsideDown(on[i].font().escapement / 10.0L)) << i;
        flipped += down;
        // Rounding of the two top-left corners leaves a unit or two.
        EXPECT_TRUE(sameCell(cellCorners(off[i]), cellCorners(on[i]), 2.5)) << i << " at " << phi;
        if (!down)
            EXPECT_EQ(on[i].points[0], off[i].points[0]) << i;
    }
    EXPECT_EQ(flipped, 11); // 120, 135, 150, 165, 180, 195, 210, 225, 240, 255 and 105
}

TEST(Render_TextElementTests, UprightTextsMirrorTheAlignment)
{
    // At 180 degrees an L text that ran leftwards from its anchor now ends there (R) and an R text starts
    // there: the anchor keeps its meaning for the reader, the text reads left to right.
    const TextMetrics m;
    const FontSpec f = fontOf(100);
    const int w = m.textWidth(f, "Ab"), h = m.textHeight(f);
    for (const char* align : {"L", "R", "C"}) {
        test::ElementDrawing d;
        d.doc.coordinates = {"0001=100;100;"};
        d.doc.script = {QStringLiteral("TXT;1;P;0001;[0000];[0000];180;%1;NNN;100;0;T;[\"Ab\"];").arg(align)};
        d.render();
        const auto t = texts(d);
        ASSERT_EQ(t.size(), 1);
        EXPECT_EQ(t[0].font().escapement, 0) << align;
        const int expectX = QLatin1String(align) == QLatin1String("L") ? 1000 - w
                            : QLatin1String(align) == QLatin1String("R") ? 1000
                                                                         : roundToEven(1000 - w / 2.0L);
        EXPECT_EQ(t[0].points[0], QPoint(expectX, roundToEven(1000 - h / 2.0L))) << align;
    }
}
