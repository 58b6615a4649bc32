// Reading ink back from records: what the wizard's finishing step and the
// library sweeps rely on to say "overlaps" or "outside".
#include <gtest/gtest.h>

#include <QLineF>
#include <cmath>

#include "arms/drawnshapes.h"
#include "canvas/metacanvas.h"
#include "canvas/textmetrics.h"

using namespace korvimo;

namespace {

QPolygonF square(double x, double y, double side)
{
    return QPolygonF(QRectF(x, y, side, side));
}

} // namespace

TEST(Arms_DrawnShapesTests, OverlapMeansCrossingOrContaining)
{
    // Crossing outlines, one inside the other, apart, and apart only by their boxes (an L-shaped pair).
    EXPECT_TRUE(shapesOverlap(square(0, 0, 10), square(5, 5, 10)));
    EXPECT_TRUE(shapesOverlap(square(0, 0, 100), square(40, 40, 5)));
    EXPECT_TRUE(shapesOverlap(square(40, 40, 5), square(0, 0, 100)));
    EXPECT_FALSE(shapesOverlap(square(0, 0, 10), square(20, 0, 10)));
    const QPolygonF ell({{0, 0}, {100, 0}, {100, 10}, {10, 10}, {10, 100}, {0, 100}});
    EXPECT_FALSE(shapesOverlap(ell, square(50, 50, 20))); // inside ell's box, not in ell
    EXPECT_TRUE(shapesOverlap(ell, square(50, 5, 20)));
    EXPECT_FALSE(shapesOverlap(QPolygonF({{0, 0}, {5, 5}}), square(0, 0, 10))); // no area
    // A band's end level with the bottom edge of a curved band far to its left (drawn at a six-arm
    // roundabout): apart, although two corners lie on the line of that edge, all but level.
    const QPolygonF curve({{4117.7950828508046, 4950.2404038204022},
                           {4017.3310278249601, 5018.4939391078042},
                           {3923.0003025815067, 5095.0061538464843},
                           {3835.4794534701759, 5179.2282972507601},
                           {3755.3961859479032, 5270.5563224044236},
                           {3683.324862632775, 5368.3352185261356},
                           {3619.7823839364382, 5471.8637087511052},
                           {3565.2244808193418, 5580.3992797362607},
                           {3520.0424462574238, 5693.1635070162229},
                           {3484.5603288623911, 5809.3476379162967},
                           {3459.032608783129, 5928.1183919814175},
                           {3443.6423725568402, 6048.6239373200096},
                           {3438.5, 6170.0000000000009},
                           {3463.5, 6170},
                           {3468.5527217103117, 6050.7392399111559},
                           {3483.6746483789602, 5932.333826070274},
                           {3508.7573245237863, 5815.6329701240993},
                           {3543.6208554928244, 5701.4736585147202},
                           {3588.0151976809293, 5590.6746495561238},
                           {3641.621951859443, 5484.0306012441151},
                           {3704.0566467570293, 5382.3063719153624},
                           {3774.8714965136651, 5286.2315346316036},
                           {3853.5586122311565, 5196.4951446322384},
                           {3939.5536445867106, 5113.7407973834925},
                           {4032.2398313844974, 5038.5620126681424},
                           {4130.9524210158879, 4971.4979778214401}});
    const QPolygonF band({{4092, 6170}, {4092, 6460}, {4061, 6460}, {4061, 6170}});
    EXPECT_FALSE(shapesOverlap(band, curve));
    EXPECT_FALSE(shapesOverlap(curve, band));
}

TEST(Arms_DrawnShapesTests, ArcSectorFollowsTheCounterClockwiseSweep)
{
    // A quarter from east to north (counter-clockwise on screen, y down) of radius 100 round (0, 0), pen 20 wide:
    // its sector holds the point at 45 degrees up-right and not the one down-right.
    MetaRecord arc;
    arc.type = MetaRecordType::Arc;
    arc.box = MetaBox{-100, -100, 100, 100};
    arc.points = {QPoint(100, 0), QPoint(0, -100)};
    const QPolygonF s = arcSector(arc, 20);
    const double r = 100 / std::sqrt(2.0);
    EXPECT_TRUE(s.containsPoint(QPointF(r, -r), Qt::OddEvenFill));
    EXPECT_FALSE(s.containsPoint(QPointF(r, r), Qt::OddEvenFill));
    EXPECT_FALSE(s.containsPoint(QPointF(0, 0), Qt::OddEvenFill));    // the hole inside the ring
    EXPECT_FALSE(s.containsPoint(QPointF(r * 1.2, -r * 1.2), Qt::OddEvenFill)); // beyond the pen
    EXPECT_LE(s.boundingRect().right(), 110.5);
    EXPECT_GE(s.boundingRect().top(), -110.5);
    // The other way round it is three quarters: now the point down-right is in.
    std::swap(arc.points[0], arc.points[1]);
    EXPECT_TRUE(arcSector(arc, 20).containsPoint(QPointF(r, r), Qt::OddEvenFill));
}

TEST(Arms_DrawnShapesTests, RecordsBecomeBandsTextsAndBounds)
{
    // A filled band, a thin outline, a wide arc, the signature text and a label turned by 90 degrees.
    Metafile m(2000, 2000);
    MetaCanvas c(m);
    c.setFontSize(10);
    c.textOut(10, 10, QStringLiteral("signature"));
    c.setPenWidth(3);
    c.setBrushColor(0x00FF00);
    c.polygon({QPoint(100, 100), QPoint(500, 100), QPoint(500, 200), QPoint(100, 200)});
    c.moveTo(100, 300);
    c.lineTo(900, 300);
    c.setPenWidth(60);
    c.arc(1000, 1000, 1400, 1400, 1400, 1200, 1200, 1000);
    c.setPenWidth(3);
    c.setFontSize(80);
    c.setFontRotation(900, 900);
    c.textOut(1500, 800, QStringLiteral("700"));
    const TextMetrics metrics;
    const DrawnShapes d = drawnShapes(m, 3, metrics);
    ASSERT_EQ(d.bands.size(), 2); // the polygon and the wide arc, not the line
    ASSERT_EQ(d.texts.size(), 1);
    EXPECT_EQ(d.texts[0].text, "700");
    EXPECT_DOUBLE_EQ(d.texts[0].angle, 90.0);
    // Turned by 90 degrees the text runs upwards from its top-left corner and its cell lies to the right.
    const QRectF cell = d.texts[0].cell.boundingRect();
    EXPECT_NEAR(cell.left(), 1500, 0.5);
    EXPECT_NEAR(cell.bottom(), 800, 0.5);
    EXPECT_GT(cell.height(), cell.width());
    EXPECT_LE(d.bounds.left(), 98.5);
    EXPECT_GE(d.bounds.right(), 1430.0);
    EXPECT_GT(d.bounds.top(), 20); // the signature is left out
}
