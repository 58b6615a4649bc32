#include <gtest/gtest.h>

#include "render/coordinates.h"
#include "render/conversionerror.h"
#include "render/geometry.h"
#include "render/rounding.h"

using namespace korvimo;

TEST(Render_RoundingTests, HalvesGoToTheEvenNeighbour)
{
    // Drawing calls round halves to even, and broken values never become undefined conversions.
    EXPECT_EQ(roundToEven(0.5L), 0);
    EXPECT_EQ(roundToEven(1.5L), 2);
    EXPECT_EQ(roundToEven(2.5L), 2);
    EXPECT_EQ(roundToEven(-0.5L), 0);
    EXPECT_EQ(roundToEven(-1.5L), -2);
    EXPECT_EQ(roundToEven(-2.5L), -2);
    EXPECT_EQ(roundToEven(2.4999L), 2);
    EXPECT_EQ(roundToEven(-2.5001L), -3);
    EXPECT_EQ(roundToEven(std::numeric_limits<long double>::quiet_NaN()), 0);
    EXPECT_EQ(roundToEven(std::numeric_limits<long double>::infinity()), 0);
    EXPECT_EQ(roundToEven(1e30L), std::numeric_limits<int>::max());
    EXPECT_EQ(roundToEven(-1e30L), std::numeric_limits<int>::min());
    EXPECT_EQ(roundToEven64(12345678901.5L), 12345678902LL);
}

TEST(Render_GeometryTests, DirectionAngleCompassPoints)
{
    // East is 360, never 0; up is 90 because Y grows downwards; equal points give 90.
    EXPECT_EQ(directionAngle(0, 0, 10, 0), 360);
    EXPECT_EQ(directionAngle(0, 0, 0, -10), 90);
    EXPECT_EQ(directionAngle(0, 0, -10, 0), 180);
    EXPECT_EQ(directionAngle(0, 0, 0, 10), 270);
    EXPECT_NEAR(static_cast<double>(directionAngle(0, 0, 10, -10)), 45.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(directionAngle(0, 0, -10, -10)), 135.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(directionAngle(0, 0, -10, 10)), 225.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(directionAngle(0, 0, 10, 10)), 315.0, 1e-12);
    EXPECT_EQ(directionAngle(5, 5, 5, 5), 90);
}

TEST(Render_GeometryTests, TurnAngleIsCounterClockwiseFromFirstToSecond)
{
    // From east to up is a quarter turn; from up to east three quarters.
    EXPECT_NEAR(static_cast<double>(turnAngle(0, 0, 10, 0, 0, -10)), 90.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(turnAngle(0, 0, 0, -10, 10, 0)), 270.0, 1e-12);
    EXPECT_EQ(turnAngle(0, 0, 10, 0, 20, 0), 0);
}

TEST(Render_GeometryTests, OffsetLineBuildsBothEdgesOnTheRight)
{
    // An eastward line with offset 20 and width 30 has edge a at y 20 and edge b at y 50.
    PointRegisters r;
    r.xa[2] = 100;
    r.tOffset1 = 20;
    r.width = 30;
    offsetLine(r, BandPart::LijnVan1naar2);
    EXPECT_EQ(roundToEven(r.xa[1]), 0);
    EXPECT_EQ(roundToEven(r.ya[1]), 20);
    EXPECT_EQ(roundToEven(r.xa[2]), 100);
    EXPECT_EQ(roundToEven(r.ya[2]), 20);
    EXPECT_EQ(roundToEven(r.xb[1]), 0);
    EXPECT_EQ(roundToEven(r.yb[1]), 50);
    EXPECT_EQ(roundToEven(r.xb[2]), 100);
    EXPECT_EQ(roundToEven(r.yb[2]), 50);

    // Travelling north the right-hand side is east; a negative width goes left (west).
    PointRegisters n;
    n.xa[3] = 0;
    n.ya[3] = 100;
    n.xa[4] = 0;
    n.ya[4] = 0;
    n.tOffset2 = 10;
    n.width = -40;
    offsetLine(n, BandPart::LijnVan3naar4);
    EXPECT_EQ(roundToEven(n.xa[3]), 10);
    EXPECT_EQ(roundToEven(n.xa[4]), 10);
    EXPECT_EQ(roundToEven(n.xb[3]), -30);
    EXPECT_EQ(roundToEven(n.yb[3]), 100);
    EXPECT_EQ(roundToEven(n.xb[4]), -30);
    EXPECT_EQ(roundToEven(n.yb[4]), 0);
    EXPECT_EQ(n.xa[1], 0); // the other part is untouched
}

TEST(Render_GeometryTests, RayIntersectionValidOnlyBeyondBothParts)
{
    // The corner (100,0) is valid when it lies before the second part, invalid between its ends.
    PointRegisters r;
    r.xa[2] = 50;
    r.xa[3] = 100;
    r.ya[3] = -10;
    r.xa[4] = 100;
    r.ya[4] = -60;
    EXPECT_TRUE(rayIntersection(r, Edge::A));
    EXPECT_EQ(r.xa[5], 100);
    EXPECT_EQ(r.ya[5], 0);

    r.ya[3] = 50;
    r.ya[4] = -50;
    r.xa[5] = r.ya[5] = 7;
    EXPECT_FALSE(rayIntersection(r, Edge::A));
    EXPECT_EQ(r.xa[5], 100); // stored although invalid
    EXPECT_EQ(r.ya[5], 0);

    // Edge b is intersected into Xb5/Yb5 and leaves edge a alone.
    PointRegisters b;
    b.xb[2] = 50;
    b.xb[3] = 100;
    b.yb[3] = -10;
    b.xb[4] = 100;
    b.yb[4] = -60;
    EXPECT_TRUE(rayIntersection(b, Edge::B));
    EXPECT_EQ(b.xb[5], 100);
    EXPECT_EQ(b.xa[5], 0);

    // Parallel parts: the helper must not divide by zero.
    PointRegisters p;
    p.xa[2] = 50;
    p.xa[3] = 0;
    p.ya[3] = 10;
    p.xa[4] = 50;
    p.ya[4] = 10;
    EXPECT_FALSE(rayIntersection(p, Edge::A));
    EXPECT_TRUE(p.allFinite());

    // Two parts in line on a diagonal, both moved aside by the same offset: their slopes come out a rounding
    // error apart, which must not make a corner somewhere on the line (a ring chord drawn in two pieces).
    for (int offset = 0; offset <= 2000; offset += 7) {
        PointRegisters d;
        const long double xs[] = {0, 4110, 4190, 4230, 4310}, ys[] = {0, 6010, 6090, 6130, 6210};
        for (int i = 1; i <= 4; ++i)
            d.xa[i] = xs[i], d.ya[i] = ys[i];
        d.tOffset1 = d.tOffset2 = offset;
        d.width = 190;
        offsetLine(d, BandPart::LijnVan1naar2);
        offsetLine(d, BandPart::LijnVan3naar4);
        EXPECT_FALSE(rayIntersection(d, Edge::A)) << offset;
        EXPECT_FALSE(rayIntersection(d, Edge::B)) << offset;
    }
}

TEST(Render_CoordinatesTests, LookupByNameFirstActiveLineWins)
{
    // Inactive lines are invisible, the first duplicate wins, an unknown name leaves the registers.
    const QStringList coords = {"*comment", "#0012=5;5;", "0012=1;-2;", "0012=9;9;", "0020=abc;1;"};
    long double x = 0, y = 0;
    EXPECT_TRUE(resolvePoint(coords, u"0012", x, y));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, -20);
    x = y = 0;
    EXPECT_FALSE(resolvePoint(coords, u"0099", x, y));
    EXPECT_FALSE(resolvePoint(coords, u"", x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(resolvePoint({"#0012=5;5;"}, u"0012", x, y));
    EXPECT_THROW(resolvePoint(coords, u"0020", x, y), ConversionError);
    EXPECT_THROW(resolvePoint({"0030=1;"}, u"0030", x, y), ConversionError);

    EXPECT_EQ(pointNames(coords), (QStringList{"0012", "0012", "0020"}));
    QStringList working = {"0001=1;1;", "A061=3;3;", "*x", "#0002=1;1;", "", "0003=2;2;"};
    removeNonNumericPoints(working);
    EXPECT_EQ(working, (QStringList{"0001=1;1;", "0003=2;2;"}));
}

TEST(Render_CoordinatesTests, IntegerFieldsAreStrict)
{
    // Only an optional sign and decimal digits (blanks around allowed) are numbers.
    EXPECT_EQ(toInteger(u"42"), 42);
    EXPECT_EQ(toInteger(u" -7 "), -7);
    EXPECT_EQ(toInteger(u"+3"), 3);
    EXPECT_EQ(toInteger(u"-2147483648"), std::numeric_limits<int>::min());
    for (const char16_t* bad : {u"", u" ", u"-", u"1.5", u"x", u"12a", u"2147483648", u"99999999999999999999",
                                u"--1", u"1 2", u"$10"})
        EXPECT_THROW(toInteger(bad), ConversionError) << QString::fromUtf16(bad).toStdString();
    try {
        toInteger(u"x");
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("'x'")));
    }
}
