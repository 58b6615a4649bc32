#include <gtest/gtest.h>

#include "ui/views/viewmath.h"
#include "ui/views/volumegrid.h"

using namespace korvimo;

TEST(Views_ZoomTests, ZoomAllLetsTheLargerPixelDifferenceDecide)
{
    // 600 x 400 picture, 500 x 500 diagram: the height decides, round(80) - 1.
    EXPECT_EQ(zoomAllPercent(600, 400, 500, 500), 79);
    // Wider than the picture by more than it is higher: the width decides.
    EXPECT_EQ(zoomAllPercent(400, 400, 1000, 500), 39);
    // Ties go to the width: 700 - 600 == 600 - 500.
    EXPECT_EQ(zoomAllPercent(600, 500, 700, 600), roundEven(600.0 / 700 * 100) - 1);
    // A diagram size of 0 counts as 500.
    EXPECT_EQ(zoomAllPercent(600, 400, 0, 0), 79);
    // Absolute differences, not ratios: 1000x100 in 900x50 is decided by the width.
    EXPECT_EQ(zoomAllPercent(900, 50, 1000, 100), 89);
}

TEST(Views_ZoomTests, StepsInAndOutAndTheWheelHalf)
{
    // Zoom out from 30 with step 50 stops at 0; zoom in brings it back.
    EXPECT_EQ(zoomedOverview(30, 50, false), 0);
    EXPECT_EQ(zoomedOverview(0, 50, true), 50);
    // The wheel zooms by half the step, rounded toward zero.
    EXPECT_EQ(zoomStep(50, true), 25);
    EXPECT_EQ(zoomStep(25, true), 12);
    EXPECT_EQ(zoomStep(25, false), 25);
}

TEST(Views_ZoomTests, CentreIsKeptWhenTheDrawingChangesSize)
{
    // Growing from 400 to 500 pixels moves the corner 50 to the left; unknown last size moves nothing.
    EXPECT_EQ(keepCentreShift(400, 500.0), -50);
    EXPECT_EQ(keepCentreShift(500, 400.0), 50);
    EXPECT_EQ(keepCentreShift(0, 400.0), 0);
    // Halves go to the even neighbour: (401 - 400) / 2 = 0.5 -> 0, 1.5 -> 2.
    EXPECT_EQ(keepCentreShift(401, 400.0), 0);
    EXPECT_EQ(keepCentreShift(403, 400.0), 2);
}

TEST(Views_PointerTests, ReadoutSnapsAndClamps)
{
    // Compose zoom 2, interval 5, pixel (253, 97) reads out 125,50.
    int z = 2, s = 5;
    EXPECT_EQ(pointerReadout(QPoint(253, 97), &z, &s, 500, 500), QPoint(125, 50));
    // Beyond the diagram the read-out stops at its width and height.
    EXPECT_EQ(pointerReadout(QPoint(1200, 1100), &z, &s, 500, 400), QPoint(500, 400));
    // A zero zoom and interval count as 1 and are stored as 1.
    z = 0;
    s = 0;
    EXPECT_EQ(pointerReadout(QPoint(13, 7), &z, &s, 500, 500), QPoint(13, 7));
    EXPECT_EQ(z, 1);
    EXPECT_EQ(s, 1);
    // 12 units snap down to 10, 13 up to 15.
    z = 1;
    s = 5;
    EXPECT_EQ(pointerReadout(QPoint(12, 13), &z, &s, 500, 500), QPoint(10, 15));
}

TEST(Views_PointerTests, PickFindsTheFirstCoordinateWithinThreeUnits)
{
    const QStringList coords = {"*kruispunt", "#0009=100;100;", "0001=101;101;", "0002=100;100;", "0003=200;50;"};
    // Two points within reach: the one higher in the list wins, inactive lines included.
    QString error;
    EXPECT_EQ(pickCoordinate(coords, QPoint(100, 101), 1, &error), 1);
    EXPECT_TRUE(error.isEmpty());
    // Strictly inside: exactly 3 units away is a miss.
    EXPECT_EQ(pickCoordinate(coords, QPoint(203, 50), 1, &error), -1);
    EXPECT_EQ(pickCoordinate(coords, QPoint(202, 52), 1, &error), 4);
    // At compose zoom 2 the pixel is halved before comparing.
    EXPECT_EQ(pickCoordinate(coords, QPoint(400, 100), 2, &error), 4);
}

TEST(Views_PointerTests, PickStopsAtACoordinateThatIsNoNumber)
{
    // A malformed X stops the walk with the conversion message; nothing is picked.
    QString error;
    EXPECT_EQ(pickCoordinate({"0001=abc;10;", "0002=10;10;"}, QPoint(10, 10), 1, &error), -1);
    EXPECT_TRUE(error.contains("abc"));
}

TEST(Views_GridTests, RowsShowActiveVolumesOnly)
{
    // Text lines, inactive lines and values stay out of the grid.
    const QStringList lines = {"*tekst", "0001=120;I;", "#0002=50;I;", "0003=70;V;", "0004=;I;", "0005=9"};
    const QList<GridRow> rows = volumeGridRows(lines);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].direction, "0001");
    EXPECT_EQ(rows[0].volume, "120");
    EXPECT_EQ(rows[1].direction, "0004");
    EXPECT_EQ(rows[1].volume, "");
}

TEST(Views_GridTests, WriteBackRemovesBlanksAndZeroesNonNumbers)
{
    // "1 200" is written as 1200, "abc" as 0; further fields of the line are dropped.
    QStringList lines = {"0001=5;I;extra;", "0002=6;I;"};
    writeBackVolumeGrid({{"0001", "1 200"}, {"0002", "abc"}}, &lines);
    EXPECT_EQ(lines, QStringList({"0001=1200;I;", "0002=0;I;"}));
}

TEST(Views_GridTests, WriteBackRewritesEveryLineOfTheSameName)
{
    // A value line sharing a volume's name becomes a volume; of two rows with one name the lower wins.
    QStringList lines = {"0005=100;V;", "0005=10;I;", "0006=1;I;", "0006=2;I;", "*0005 tekst"};
    writeBackVolumeGrid({{"0005", "300"}, {"0006", "7"}, {"0006", "8"}}, &lines);
    EXPECT_EQ(lines, QStringList({"0005=300;I;", "0005=300;I;", "0006=8;I;", "0006=8;I;", "*0005 tekst"}));
}

TEST(Views_GridTests, ScaleFieldText)
{
    // "0" changes nothing, a non-number or an empty field gives 100.
    int v = -1;
    EXPECT_FALSE(scaleFromText("0", &v));
    EXPECT_TRUE(scaleFromText("", &v));
    EXPECT_EQ(v, 100);
    EXPECT_TRUE(scaleFromText("x1", &v));
    EXPECT_EQ(v, 100);
    EXPECT_TRUE(scaleFromText("2500", &v));
    EXPECT_EQ(v, 2500);
    EXPECT_EQ(scaleStep(10), 1);
    EXPECT_EQ(scaleStep(11), 5);
    EXPECT_EQ(scaleStep(50), 5);
    EXPECT_EQ(scaleStep(51), 50);
}
