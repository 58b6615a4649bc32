#include <gtest/gtest.h>

#include <cmath>

#include "elements_harness.h"

using namespace korvimo;

TEST(Render_CircleTests, FullCircleFromAValueRadius)
{
    // CIR type F with radius [0110] = 300: one black arc of radius 300 whose radials coincide.
    test::ElementDrawing d;
    d.doc.coordinates = {"0020=100;80;"};
    d.doc.intensities = {"0110=300;V;"};
    d.doc.script = {"CIR;1;0020;[0110];F;"};
    d.render();
    const auto arcs = d.records(MetaRecordType::Arc);
    ASSERT_EQ(arcs.size(), 1);
    EXPECT_EQ(arcs[0].box, (MetaBox{700, 500, 1300, 1100}));
    EXPECT_EQ(arcs[0].points, (QList<QPoint>{{1000, 0}, {1000, 0}}));
    EXPECT_EQ(arcs[0].pen.color, 0);
    EXPECT_EQ(arcs[0].pen.width, 3);
}

TEST(Render_CircleTests, SliceBetweenTwoArms)
{
    // A slice from an arm leaving east to an arm arriving from the south: the arc between the band edges
    // and the two lines from the bands' outer edges to the circle.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=100;100;", "0002=100;100;", "0003=200;100;", "0004=100;200;", "0005=100;100;"};
    d.doc.intensities = {"0110=500;V;", "0050=50;V;", "0010=0;V;"};
    // Part 1 from the centre east; part 2 from the south towards the centre.
    d.doc.script = {"CIR;1;0001;[0110];S;0002;0003;[0010];[0050];0004;0005;[0010];[0050];"};
    d.render();
    const auto arcs = d.records(MetaRecordType::Arc);
    ASSERT_EQ(arcs.size(), 1);
    EXPECT_EQ(arcs[0].box, (MetaBox{500, 500, 1500, 1500}));
    // Part 1 (east, Xa2 right of the centre): the point lies asin(50/500) above the east radial.
    const QPoint p6 = arcs[0].points[0];
    EXPECT_NEAR(p6.x(), 1000 + 500 * std::cos(std::asin(0.1)), 1);
    EXPECT_NEAR(p6.y(), 1000 - 500 * std::sin(std::asin(0.1)), 1);
    // Part 2 starts below the centre (Ya3 >= Ya5, Xa3 >= Xa5): alpha = 90, the point below-right.
    const QPoint p7 = arcs[0].points[1];
    EXPECT_NEAR(p7.x(), 1000 + 500 * std::cos(M_PI / 2 + std::asin(0.1)), 1);
    EXPECT_NEAR(p7.y(), 1000 + 500 * std::sin(M_PI / 2 + std::asin(0.1)), 1);
    const auto lines = d.records(MetaRecordType::LineTo);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].points[0], p6);
    EXPECT_EQ(lines[1].points[0], p7);
}

TEST(Render_CircleTests, ImpossibleSliceIsReportedNotDrawn)
{
    // A band wider than the radius makes the arcsine invalid: reported once with AA00011, nothing drawn.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=100;100;", "0003=200;100;", "0004=100;200;"};
    d.doc.intensities = {"0110=100;V;", "0050=150;V;"};
    d.doc.script = {"CIR;1;0001;[0110];S;0001;0003;[0050];[0050];0004;0001;[0050];[0050];",
                    "CIR;1;0001;[0110];F;"};
    d.render();
    EXPECT_EQ(d.outcome.brokenLines, 1);
    EXPECT_EQ(d.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_EQ(d.records(MetaRecordType::Arc).size(), 1); // only the full circle after it
    EXPECT_TRUE(d.outcome.completed);
}

TEST(Render_NorthArrowTests, PointAtNinetyPercentOfTheRadius)
{
    // NTH size 40 with northnorth 90: circle of radius 400, the triangle's point at (X, Y - 360).
    test::ElementDrawing d;
    d.doc.general.northnorth = 90;
    d.doc.coordinates = {"0030=200;150;"};
    d.doc.script = {"NTH;1;0030;40;"};
    d.render();
    const auto arcs = d.records(MetaRecordType::Arc);
    ASSERT_EQ(arcs.size(), 1);
    EXPECT_EQ(arcs[0].box, (MetaBox{1600, 1100, 2400, 1900}));
    const auto polygons = d.records(MetaRecordType::Polygon);
    ASSERT_EQ(polygons.size(), 1);
    EXPECT_EQ(polygons[0].points[2], QPoint(2000, 1140));
    EXPECT_EQ(polygons[0].brush.color, 0);
    EXPECT_FALSE(polygons[0].brush.clear);
    // Base corners at N -/+ 85 degrees, just ahead of the centre; the cross line at N -/+ 95, behind it.
    EXPECT_LT(polygons[0].points[0].y(), 1500);
    EXPECT_GT(polygons[0].points[0].x(), 2000);
    EXPECT_LT(polygons[0].points[1].x(), 2000);
    const auto lines = d.records(MetaRecordType::LineTo);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_GT(lines[0].points[0].y(), 1500);
}

TEST(Render_NorthArrowTests, TurnedNorthAndMalformedSize)
{
    // northnorth 0 points the arrow east; a size that is no integer stops the drawing there.
    test::ElementDrawing d;
    d.doc.general.northnorth = 0;
    d.doc.coordinates = {"0030=200;150;"};
    d.doc.script = {"NTH;1;0030;40;", "NTH;1;0030;veertig;", "NTH;1;0030;40;"};
    d.render();
    const auto polygons = d.records(MetaRecordType::Polygon);
    ASSERT_EQ(polygons.size(), 1);
    EXPECT_EQ(polygons[0].points[2], QPoint(2360, 1500));
    EXPECT_FALSE(d.outcome.completed);
}

TEST(Render_RectangleTests, ColourStepsOneRowAtATime)
{
    // From black to white over 255 rows: red, green and blue rise by one per row.
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=10;0;", "0009=60;255;"};
    d.doc.script = {"REC;1;0001;0009;GV;0;16777215;"};
    d.doc.general.diagramheight = 300;
    d.render();
    const auto lines = d.records(MetaRecordType::LineTo);
    const auto moves = d.records(MetaRecordType::MoveTo);
    ASSERT_EQ(lines.size(), 2550);
    for (int n = 0; n < 2550; n += 500) {
        EXPECT_EQ(moves[n].points[0], QPoint(100, n));
        EXPECT_EQ(lines[n].points[0], QPoint(600, n));
        const int c = static_cast<int>(std::ceil(n * (255.0 / 2550)));
        EXPECT_EQ(lines[n].pen.color, c | c << 8 | c << 16) << n;
    }
    EXPECT_EQ(lines.last().pen.color, 0xFFFFFF); // ceil(2549 x 0.1) = 255
}

TEST(Render_RectangleTests, UnevenStepsRoundUpAndCodesDoNotMatter)
{
    // Red 0 -> 25 over 10 rows steps by 2.5, rounded up per row; any gradient code draws the same; equal rows draw nothing.
    for (const char* code : {"GV", "XY"}) {
        test::ElementDrawing d;
        d.doc.coordinates = {"0001=0;0;", "0002=10;1;"};
        d.doc.script = {QStringLiteral("REC;1;0001;0002;%1;0;25;").arg(QLatin1String(code))};
        d.render();
        const auto lines = d.records(MetaRecordType::LineTo);
        ASSERT_EQ(lines.size(), 10);
        const int expected[] = {0, 3, 5, 8, 10, 13, 15, 18, 20, 23};
        for (int n = 0; n < 10; ++n)
            EXPECT_EQ(lines[n].pen.color, expected[n]) << code << n;
    }
    test::ElementDrawing flat;
    flat.doc.coordinates = {"0001=0;5;", "0002=10;5;"};
    flat.doc.script = {"REC;1;0001;0002;GV;0;25;"};
    flat.render();
    EXPECT_TRUE(flat.records(MetaRecordType::LineTo).isEmpty());
}

TEST(Render_RectangleTests, RowsOutsideThePictureAreNotRecorded)
{
    // A rectangle far taller than the diagram records only the rows that can be seen (plus the pen's reach).
    test::ElementDrawing d;
    d.doc.general.diagramheight = 100; // 1000 rows
    d.doc.general.linewidth = 3;
    d.doc.coordinates = {"0001=0;-100000000;", "0002=100;100000000;"};
    d.doc.script = {"REC;1;0001;0002;GV;0;16777215;"};
    d.render();
    const auto lines = d.records(MetaRecordType::LineTo);
    ASSERT_EQ(lines.size(), 1007);
    EXPECT_EQ(lines.first().points[0].y(), -3);
    EXPECT_EQ(lines.last().points[0].y(), 1003);
}
