#include <gtest/gtest.h>

#include <cmath>

#include "elements_harness.h"
#include "render/geometry.h"

using namespace korvimo;

namespace {

// Counter-clockwise sweep in degrees of an Arc record, from its start radial
// to its end radial around the box centre.
double sweep(const MetaRecord& arc)
{
    const double cx = (arc.box.left + arc.box.right) / 2.0, cy = (arc.box.top + arc.box.bottom) / 2.0;
    const double a = static_cast<double>(directionAngle(cx, cy, arc.points[0].x(), arc.points[0].y()));
    const double b = static_cast<double>(directionAngle(cx, cy, arc.points[1].x(), arc.points[1].y()));
    double d = b - a;
    while (d <= 0)
        d += 360;
    return d;
}

void leftTurn(test::ElementDrawing& d, const QString& form)
{
    d.doc.coordinates = {"0001=0;100;", "0002=60;100;", "0003=100;50;", "0004=100;0;"};
    d.doc.intensities = {"0100=100;V;", "0101=0;V;"};
    d.doc.script = {QStringLiteral("ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;%1;N;A;").arg(form)};
}

} // namespace

TEST(Render_ArcDrawingTests, LeftTurnFillOutlinesExtensionAndParts)
{
    // A 90-degree turn: a wide fill arc, two outline arcs, the extension quadrilateral and both straight parts.
    test::ElementDrawing d;
    leftTurn(d, "A");
    d.render();
    const auto arcs = d.records(MetaRecordType::Arc);
    ASSERT_EQ(arcs.size(), 3);
    // Fill: pen as wide as the band, on the band's middle radius (400.6 + 50 around (600, 600)).
    EXPECT_EQ(arcs[0].pen.width, 100);
    EXPECT_EQ(arcs[0].pen.color, 255);
    EXPECT_EQ(arcs[0].box, (MetaBox{149, 149, 1051, 1051}));
    // Edge a at R = 400 + 0.2 x linewidth, edge b 100 further out; from part 1's end round to Xa6.
    EXPECT_EQ(arcs[1].box, (MetaBox{199, 199, 1001, 1001}));
    EXPECT_EQ(arcs[2].box, (MetaBox{99, 99, 1101, 1101}));
    EXPECT_EQ(arcs[1].pen.width, 3);
    EXPECT_EQ(arcs[1].pen.color, 0); // sblackline
    EXPECT_EQ(arcs[1].points, (QList<QPoint>{{600, 1000}, {1000, 600}}));
    EXPECT_NEAR(sweep(arcs[1]), 90, 0.5);

    const auto polygons = d.records(MetaRecordType::Polygon);
    ASSERT_GE(polygons.size(), 4); // extension, part 1, part 2, end arrow head
    EXPECT_EQ(polygons[0].points, (QList<QPoint>{{1000, 600}, {1000, 500}, {1100, 500}, {1100, 600}}));
    EXPECT_EQ(polygons[1].points, (QList<QPoint>{{0, 1000}, {600, 1000}, {600, 1100}, {0, 1100}}));
    // Part 2 shortened by the arrow (40) and its head pointing north at the middle of the end.
    EXPECT_EQ(polygons[2].points, (QList<QPoint>{{1000, 500}, {1000, 40}, {1100, 40}, {1100, 500}}));
    EXPECT_EQ(polygons[3].points, (QList<QPoint>{{1000, 40}, {1050, 0}, {1100, 40}}));
    EXPECT_TRUE(d.messenger.entries.isEmpty());
}

TEST(Render_ArcDrawingTests, CurveFormsBAndCGoOppositeWays)
{
    // B sweeps from Xa6 to the other point, C back: for this left turn B is the long way round.
    test::ElementDrawing b, c;
    leftTurn(b, "B");
    leftTurn(c, "C");
    b.render();
    c.render();
    const auto ab = b.records(MetaRecordType::Arc), ac = c.records(MetaRecordType::Arc);
    ASSERT_EQ(ab.size(), 3);
    ASSERT_EQ(ac.size(), 3);
    EXPECT_NEAR(sweep(ab[1]), 270, 0.5);
    EXPECT_NEAR(sweep(ac[1]), 90, 0.5);
    EXPECT_EQ(ab[1].points[0], ac[1].points[1]);

    // A right turn (east, then south) turns it round: C is the long way.
    test::ElementDrawing r;
    r.doc.coordinates = {"0001=0;0;", "0002=60;0;", "0003=100;50;", "0004=100;100;"};
    r.doc.intensities = {"0100=100;V;", "0101=0;V;"};
    r.doc.script = {"ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;C;N;A;",
                    "ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;A;N;A;"};
    r.render();
    const auto ar = r.records(MetaRecordType::Arc);
    ASSERT_EQ(ar.size(), 6);
    EXPECT_GT(sweep(ar[1]), 180);
    EXPECT_LT(sweep(ar[4]), 180); // form A never takes the long way
}

TEST(Render_ArcDrawingTests, NoFillWithoutSfillAndBezierTestDrawing)
{
    // Without sfill only the outlines are drawn; the test drawing switch makes Bezier edges instead of arcs.
    test::ElementDrawing d;
    leftTurn(d, "A");
    d.doc.general.sfill = false;
    d.render();
    EXPECT_EQ(d.records(MetaRecordType::Arc).size(), 2);
    EXPECT_TRUE(d.records(MetaRecordType::Polygon).isEmpty());

    test::ElementDrawing p;
    leftTurn(p, "A");
    p.ctx.view.testPolyDrawing = true;
    p.render();
    EXPECT_TRUE(p.records(MetaRecordType::Arc).isEmpty());
    const auto curves = p.records(MetaRecordType::PolyBezier);
    ASSERT_EQ(curves.size(), 3); // the fill, then edges a and b
    EXPECT_EQ(curves[0].pen.width, 100);
    // Edge a from Xa6 via the halfway points to the corner, ending at part 1's end.
    EXPECT_EQ(curves[1].points, (QList<QPoint>{{1000, 600}, {1000, 800}, {800, 1000}, {600, 1000}}));
}

TEST(Render_ArcDrawingTests, StraightJointDrawsTheTwoPartsAfterIt)
{
    // With Arc22ArcsAllowed off a U-turn is drawn as LVU plus two generated LNE bands; the document stays as it was.
    test::ElementDrawing d;
    d.ctx.settings.arc22ArcsAllowed = false;
    d.doc.coordinates = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;"};
    d.doc.intensities = {"0100=100;V;", "0101=0;V;"};
    d.doc.script = {"ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;A;N;A;"};
    d.render();
    EXPECT_TRUE(d.records(MetaRecordType::Arc).isEmpty());
    const auto polygons = d.records(MetaRecordType::Polygon);
    ASSERT_EQ(polygons.size(), 4); // joint, part 1, part 2, arrow head
    EXPECT_EQ(polygons[0].points, (QList<QPoint>{{1000, 0}, {1000, 400}, {1000, 300}, {1000, 100}}));
    EXPECT_EQ(d.doc.script.size(), 1);
    EXPECT_EQ(d.doc.coordinates.size(), 4);
}

TEST(Render_ArcDrawingTests, SplitUTurnDrawsTwoCurvesAndRepeatsIdentically)
{
    // A split U-turn draws two curved halves; drawing it twice gives the same records (helpers do not pile up).
    test::ElementDrawing d;
    d.doc.coordinates = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;"};
    d.doc.intensities = {"0100=100;V;", "0101=0;V;"};
    d.doc.script = {"ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;B;A;A;",
                    "ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;C;A;A;"};
    d.render();
    EXPECT_EQ(d.records(MetaRecordType::Arc).size(), 12); // 2 lines x 2 halves x (fill + 2 edges)
    for (const MetaRecord& a : d.records(MetaRecordType::Arc))
        EXPECT_LT(sweep(a), 180); // halves always use form A
    const QString first = d.target.dump();
    d.render();
    EXPECT_EQ(d.target.dump(), first);
}

TEST(Render_ArcDrawingTests, IntersectionMarkersAndCheckBlock)
{
    // With intersections shown, an arc gets 16 markers and a check block with its radius.
    test::ElementDrawing d;
    leftTurn(d, "A");
    d.ctx.view.showIntersections = true;
    d.render();
    const auto ellipses = d.records(MetaRecordType::Ellipse);
    ASSERT_EQ(ellipses.size(), 16);
    EXPECT_EQ(ellipses[0].pen.width, 30);
    EXPECT_EQ(ellipses[10].pen.color, 0x0000FF); // Xa6 red
    EXPECT_EQ(ellipses[12].pen.color, 0x00FFFF); // Xa7 yellow
    EXPECT_EQ(ellipses[13].pen.color, 0xFF0000); // Xa8 blue
    EXPECT_EQ(ellipses[13].box, (MetaBox{599, 599, 601, 601}));
    EXPECT_EQ(ellipses[15].pen.color, 0x00FF00); // end arrow point
    EXPECT_TRUE(d.outcome.checkList.contains("Radius(R)=400600"));
    EXPECT_TRUE(d.outcome.checkList.contains("Xa8,Ya8=600000,600001"));
}
