#include <gtest/gtest.h>

#include "elements_harness.h"
#include "render/arcflow.h"
#include "render/coordinates.h"

using namespace korvimo;

namespace {

const QStringList kValues = {"0100=100;V;", "0101=0;V;", "0102=20;V;"};

double d(long double v) { return static_cast<double>(v); }

// A left turn (seen on the screen): east along y = 100, then north along x = 100 (diagram units).
QStringList leftTurn(int p2x = 60)
{
    return {"0001=0;100;", QStringLiteral("0002=%1;100;").arg(p2x), "0003=100;50;", "0004=100;0;"};
}

const QString kLeftTurnArc = QStringLiteral("ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;A;N;A;");

} // namespace

TEST(Render_ArcGeometryTests, LeftTurnFilletTangentsAndCentre)
{
    // Part 1 ends 400 units before the corner: the arc meets part 2's line 400 units from the corner too.
    test::InterpretedLine t;
    RenderState& s = t.run(kLeftTurnArc, leftTurn(), kValues, interpretArc);
    const PointRegisters& r = s.reg;
    EXPECT_EQ(s.elementCode, "ARC");
    EXPECT_EQ(s.script.size(), 1); // nothing generated
    EXPECT_NEAR(d(r.xa[5]), 1000, 1e-9);
    EXPECT_NEAR(d(r.ya[5]), 1000, 1e-9);
    EXPECT_NEAR(d(r.xb[5]), 1100, 1e-9); // edge b lies 100 to the right of travel
    EXPECT_NEAR(d(r.yb[5]), 1100, 1e-9);
    EXPECT_NEAR(d(r.xa[6]), 1000, 1e-6);
    EXPECT_NEAR(d(r.ya[6]), 600.001, 1e-6);
    EXPECT_NEAR(d(r.xb[6]), 1100, 1e-6);
    EXPECT_NEAR(d(r.yb[6]), 600.001, 1e-6);
    EXPECT_NEAR(d(r.xa[7]), 800, 1e-6);
    EXPECT_NEAR(d(r.ya[7]), 800.0005, 1e-6);
    EXPECT_NEAR(d(r.xa[8]), 600, 1e-6);
    EXPECT_NEAR(d(r.ya[8]), 600.001, 1e-4);
    EXPECT_NEAR(d(r.radius), 400, 1e-4);
    EXPECT_EQ(s.colour, 255);
    EXPECT_TRUE(s.endArrow);
    EXPECT_FALSE(s.startArrow);
}

TEST(Render_ArcGeometryTests, PartTwoNearerPutsTheTangentOnPartOne)
{
    // The mirror case: part 2 starts nearer the corner, so the second tangent point lies on part 1's line.
    test::InterpretedLine t;
    const QStringList pts = {"0001=0;100;", "0002=50;100;", "0003=100;70;", "0004=100;0;"};
    RenderState& s = t.run(kLeftTurnArc, pts, kValues, interpretArc);
    const PointRegisters& r = s.reg;
    EXPECT_EQ(s.elementCode, "ARC");
    EXPECT_NEAR(d(r.xa[6]), 700.001, 1e-6); // 300 before the corner on y = 1000
    EXPECT_NEAR(d(r.ya[6]), 1000, 1e-6);
    EXPECT_NEAR(d(r.xb[6]), 700.001, 1e-6);
    EXPECT_NEAR(d(r.yb[6]), 1100, 1e-6);
    EXPECT_NEAR(d(r.xa[8]), 700.001, 1e-3);
    EXPECT_NEAR(d(r.ya[8]), 700, 1e-3);
    EXPECT_NEAR(d(r.radius), 300, 1e-3);
}

TEST(Render_ArcGeometryTests, EqualDistancesUseThePartEndItself)
{
    // Both parts end 500 from the corner: the tangent point is exactly part 1's end.
    test::InterpretedLine t;
    RenderState& s = t.run(kLeftTurnArc, leftTurn(50), kValues, interpretArc);
    EXPECT_EQ(s.reg.xa[6], s.reg.xa[2]);
    EXPECT_EQ(s.reg.ya[6], s.reg.ya[2]);
    EXPECT_NEAR(d(s.reg.radius), 500, 1e-3);
}

TEST(Render_ArcGeometryTests, ZeroWidthDrawsNothing)
{
    // A width expression that evaluates to 0 empties the element code and generates nothing.
    test::InterpretedLine t;
    RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0101];[0101];[0101];255;A;N;A;", leftTurn(), kValues,
                           interpretArc);
    EXPECT_TRUE(s.elementCode.isEmpty());
    EXPECT_EQ(s.script.size(), 1);
}

TEST(Render_ArcGeometryTests, TinyCornerIsDrawnStraight)
{
    // Part 1 ends 10 units before the corner: the chord middle is within 20 of the corner, so LVU and two LNE lines.
    test::InterpretedLine t;
    RenderState& s = t.run(kLeftTurnArc, leftTurn(99), kValues, interpretArc);
    EXPECT_EQ(s.elementCode, "LVU");
    ASSERT_EQ(s.script.size(), 3);
    // Part 2's band comes first, then part 1's, so part 1 lies on top.
    EXPECT_EQ(s.script[1], "LNE;1;0003;0004;[0101];[0100];255;N;A;");
    EXPECT_EQ(s.script[2], "LNE;1;0001;0002;[0101];[0100];255;N;N;");
}

TEST(Render_ArcGeometryTests, UTurnSplitsIntoTwoHalves)
{
    // Antiparallel parts have no valid corner: two AR2 halves through a short helper segment, both real curves.
    test::InterpretedLine t;
    const QStringList pts = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;", "A099=1;1;", "*note"};
    RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0102];[0101];[0100];Color0002;A;A;A;", pts, kValues,
                           interpretArc);
    EXPECT_TRUE(s.elementCode.isEmpty()); // the ARC line itself draws nothing
    ASSERT_EQ(s.script.size(), 3);
    EXPECT_EQ(s.script[1], "AR2;1;0001;0002;A071;A061;[0102];[A000];[0100];Color0002;A;A;N;");
    EXPECT_EQ(s.script[2], "AR2;1;A071;A061;0003;0004;[A000];[0101];[0100];Color0002;A;N;A;");
    // The old helper and the text line are gone; the new helpers and the zero value are there.
    EXPECT_FALSE(s.coordinates.contains("A099=1;1;"));
    EXPECT_FALSE(s.coordinates.contains("*note"));
    ASSERT_EQ(s.coordinates.size(), 6);
    EXPECT_TRUE(s.intensities.contains("A000=0;V;"));
    int x1, y1, x2, y2;
    coordinateValues(s.coordinates[4], x1, y1);
    coordinateValues(s.coordinates[5], x2, y2);
    // 2 diagram units either side of a centre beyond both part ends, across the gap.
    EXPECT_GT(x1, 100);
    EXPECT_GT(x2, 100);
    EXPECT_GT(y1, y2); // A061 lower, A071 (nearer to P2) upper
    EXPECT_LE(std::abs(x1 - x2), 2);
    EXPECT_GE(y1 - y2, 3);

    // Each half then gets a proper curve instead of hooking back.
    for (int i = 1; i <= 2; ++i) {
        test::InterpretedLine half;
        RenderState& h = half.run(s.script[i], s.coordinates, s.intensities, interpretArc);
        EXPECT_EQ(h.elementCode, "ARC") << i;
        EXPECT_EQ(h.script.size(), 1) << i;
        EXPECT_GT(h.reg.radius, 20) << i;
    }
}

TEST(Render_ArcGeometryTests, LaneShiftSplitKeepsTheMiddleHelpers)
{
    // Parallel parts side by side: the helpers sit 2 units either side of the middle, tilted 15 degrees.
    test::InterpretedLine t;
    const QStringList pts = {"0001=0;0;", "0002=100;0;", "0003=150;40;", "0004=250;40;"};
    RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];0;A;N;A;", pts, kValues, interpretArc);
    ASSERT_EQ(s.script.size(), 3);
    EXPECT_TRUE(s.coordinates.contains("A061=126;22;"));
    EXPECT_TRUE(s.coordinates.contains("A071=124;18;"));
    EXPECT_EQ(s.script[1], "AR2;1;0001;0002;A071;A061;[0101];[A000];[0100];0;A;N;N;");
}

TEST(Render_ArcGeometryTests, UTurnWithoutSplitsIsAStraightJoint)
{
    // With Arc22ArcsAllowed off the same U-turn becomes two straight bands and the joint between them.
    test::InterpretedLine t;
    t.ctx.settings.arc22ArcsAllowed = false;
    const QStringList pts = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;"};
    RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0102];[0101];[0100];Color0002;A;A;A;", pts, kValues,
                           interpretArc);
    EXPECT_EQ(s.elementCode, "LVU");
    ASSERT_EQ(s.script.size(), 3);
    EXPECT_EQ(s.script[1], "LNE;1;0003;0004;[0101];[0100];Color0002;N;A;");
    EXPECT_EQ(s.script[2], "LNE;1;0001;0002;[0102];[0100];Color0002;A;N;");
    EXPECT_FALSE(s.coordinates.join(' ').contains("A061"));
}

TEST(Render_ArcGeometryTests, SmallBendBelowTheSplitAngleIsStraight)
{
    // A nearly straight jog whose turn angle stays under Arc22ArcsValue is not split but joined straight.
    test::InterpretedLine t;
    t.ctx.settings.arc22ArcsValue = 45;
    const QStringList pts = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;"};
    RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];0;A;N;N;", pts, kValues, interpretArc);
    EXPECT_EQ(s.elementCode, "LVU");
    EXPECT_TRUE(s.script[1].startsWith("LNE;"));
}

TEST(Render_ArcGeometryTests, Ar2WithInvalidCornersIsJoinedStraightNeverSplitAgain)
{
    // A generated half whose corners are both invalid (antiparallel parts) is not split again into
    // helpers of its own: it is the straight joint, part 2's band and then part 1's.
    test::InterpretedLine t;
    const QStringList pts = {"0001=0;0;", "0002=100;0;", "0003=100;40;", "0004=0;40;"};
    RenderState& s = t.run("AR2;1;0001;0002;0003;0004;[0101];[0101];[0100];0;A;N;N;", pts, kValues, interpretArc);
    EXPECT_EQ(s.elementCode, "LVU");
    ASSERT_EQ(s.script.size(), 3);
    EXPECT_EQ(s.script[1], "LNE;1;0003;0004;[0101];[0100];0;N;N;");
    EXPECT_EQ(s.script[2], "LNE;1;0001;0002;[0101];[0100];0;N;N;");
    EXPECT_FALSE(s.coordinates.join(' ').contains("A061"));
    EXPECT_FALSE(s.intensities.join(' ').contains("A000"));
}

TEST(Render_ArcGeometryTests, LeftUTurnSplitGivesTwoCurves)
{
    // Turning back to the left (part 2 above part 1 on the screen), the helpers are placed where
    // both halves pass the arc rule's size check: each half is a curve, neither a sharp joint.
    for (const int gap : {40, 60, 100}) {
        SCOPED_TRACE(gap);
        test::InterpretedLine t;
        const QStringList pts = {"0001=50;200;", "0002=150;200;", QStringLiteral("0003=150;%1;").arg(200 - gap),
                                 QStringLiteral("0004=50;%1;").arg(200 - gap)};
        const QStringList values = {"0100=150;V;", "0101=0;V;"};
        RenderState& s = t.run("ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;A;N;A;", pts, values, interpretArc);
        ASSERT_EQ(s.script.size(), 3);
        for (int i = 1; i <= 2; ++i) {
            ASSERT_TRUE(s.script[i].startsWith("AR2;")) << s.script[i].toStdString();
            test::InterpretedLine half;
            RenderState& h = half.run(s.script[i], s.coordinates, s.intensities, interpretArc);
            EXPECT_EQ(h.elementCode, "ARC") << i;
            EXPECT_EQ(h.script.size(), 1) << i;
        }
    }
}

TEST(Render_ArcGeometryTests, ArcCorrectionWin9xBound)
{
    // Centre at X = 20000 with R = 15000: 5000 + 35000 = 40000 >= 32768, so the arc is drawn straight.
    const QStringList pts = {"0001=0;3000;", "0002=2000;3000;", "0003=3500;1400;", "0004=3500;0;"};
    const QString line = "ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];0;A;N;N;";
    {
        test::InterpretedLine t;
        RenderState& s = t.run(line, pts, kValues, interpretArc);
        EXPECT_EQ(s.elementCode, "ARC"); // the bound is off by default
        EXPECT_NEAR(d(s.reg.xa[8]), 20000, 1e-6);
        EXPECT_NEAR(d(s.reg.radius), 15000, 1e-2);
    }
    {
        test::InterpretedLine t;
        t.ctx.settings.arcCorrectionWin9x = 32768;
        RenderState& s = t.run(line, pts, kValues, interpretArc);
        EXPECT_EQ(s.elementCode, "LVU");
        EXPECT_EQ(s.script.size(), 3);
    }
    {
        test::InterpretedLine t;
        t.ctx.settings.arcCorrectionWin9x = 40001; // just above both sums: drawn as a curve
        RenderState& s = t.run(line, pts, kValues, interpretArc);
        EXPECT_EQ(s.elementCode, "ARC");
    }
}

TEST(Render_ArcGeometryTests, DirectionChoicePerCurveForm)
{
    // Form A picks the short way round; B always sweeps from Xa6 to the other point, C the other way.
    test::InterpretedLine t;
    RenderState& s = t.run(kLeftTurnArc, leftTurn(), kValues, interpretArc);
    s.curveForm = "A";
    EXPECT_EQ(arcDirectionChoice(s), 2); // left turn: counter-clockwise from part 1 end to Xa6
    s.curveForm = "B";
    EXPECT_EQ(arcDirectionChoice(s), 1);
    s.curveForm = "C";
    EXPECT_EQ(arcDirectionChoice(s), 2);
    s.curveForm = "X";
    EXPECT_EQ(arcDirectionChoice(s), 1); // any other form: the middle point decides, no short-way rule
    // A chord middle that coincides with a tangent point leaves form A without an arc.
    s.curveForm = "A";
    s.reg.xa[7] = s.reg.xa[2];
    s.reg.ya[7] = s.reg.ya[2];
    EXPECT_EQ(arcDirectionChoice(s), 0);
}

TEST(Render_ArcGeometryTests, Ar2MeetingBeyondItsSecondPartIsJoinedStraight)
{
    // Part 1's line crosses part 2's line ahead of part 2's start: a fillet there would hook back, so LVU.
    test::InterpretedLine t;
    const QStringList pts = {"0001=0;0;", "0002=0;10;", "0003=20;50;", "0004=-100;50;"};
    RenderState& s = t.run("AR2;1;0001;0002;0003;0004;[0101];[0101];[0100];0;A;N;A;", pts, kValues, interpretArc);
    EXPECT_EQ(s.elementCode, "LVU");
    ASSERT_EQ(s.script.size(), 3);
    EXPECT_EQ(s.script[1], "LNE;1;0003;0004;[0101];[0100];0;N;A;");
    EXPECT_EQ(s.script[2], "LNE;1;0001;0002;[0101];[0100];0;N;N;");
}
