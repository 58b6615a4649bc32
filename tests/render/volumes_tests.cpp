#include <gtest/gtest.h>

#include "render/conversionerror.h"
#include "render/volumes.h"

using namespace korvimo;

TEST(Render_VolumesTests, WorkedExampleThicknessMode)
{
    // 400 vehicles, a zero volume and a value of 35 add up to 135.25 metafile units.
    const QStringList lines = {"0001=400;I;", "0002=0;I;", "0100=35;V;"};
    VolumeTable t(lines, 1000, 0);
    EXPECT_EQ(t.evaluate(ValueMode::Thickness, u"[0001+0002+0100]"), 135.25L);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001+0002+0100]"), 435);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001-0100]"), 365);
}

TEST(Render_VolumesTests, IntminAndKinds)
{
    // Volumes below intmin vanish; zero gets the thinnest band only when intmin is 0; values stay.
    const QStringList lines = {"0001=49;I;", "0002=50;I;", "0003=0;I;", "0004=10;V;", "#0005=9;I;", "0006=7;X;"};
    VolumeTable t50(lines, 1000, 50);
    EXPECT_EQ(t50.lookUp(ValueMode::Thickness, u"0001"), 0);
    EXPECT_EQ(t50.lookUp(ValueMode::Thickness, u"0002"), 12.5L);
    EXPECT_EQ(t50.lookUp(ValueMode::Thickness, u"0004"), 10);
    EXPECT_EQ(t50.lookUp(ValueMode::Raw, u"0001"), 49);
    EXPECT_EQ(t50.lookUp(ValueMode::Thickness, u"0006"), 7); // not a volume: as written
    VolumeTable t0(lines, 1000, 0);
    EXPECT_EQ(t0.lookUp(ValueMode::Thickness, u"0003"), 0.25L);
    EXPECT_EQ(t0.lookUp(ValueMode::Raw, u"0003"), 0);
    EXPECT_EQ(t0.lookUp(ValueMode::Thickness, u"0005"), 0); // inactive: never found
    EXPECT_EQ(t0.lookUp(ValueMode::Thickness, u"9999"), 0);
}

TEST(Render_VolumesTests, ExpressionsEndAtAnyOtherCharacter)
{
    // A blank, a missing "]" or a short name ends the expression instead of looping.
    const QStringList lines = {"0001=100;V;", "0002=20;V;", "0003=3;V;"};
    VolumeTable t(lines, 1000, 1);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001+0002 +0003]"), 120);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001-0002"), 80);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001+"), 100);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001+00"), 100);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u""), 0);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"["), 0);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[]"), 0);
    EXPECT_EQ(t.evaluate(ValueMode::Raw, u"[0001*0002]"), 100);
    EXPECT_THROW(VolumeTable({"0001=x;I;"}, 1000, 1).evaluate(ValueMode::Raw, u"[0001]"), ConversionError);
}

TEST(Render_VolumesTests, HighestVolumeAndScale)
{
    // Only active lines with an "I" count; 340 gives the scale 1500.
    EXPECT_EQ(highestVolume({"0001=120;I;", "0002=340;I;", "0003=9999;V;", "#0004=5000;I;"}), 340);
    EXPECT_EQ(sfactorForHighestVolume(340), 1500);
    EXPECT_EQ(highestVolume({"*only text", "*more"}), -1);
    EXPECT_EQ(sfactorForHighestVolume(-1), 1000);
    EXPECT_EQ(sfactorForHighestVolume(0), 1000);
    EXPECT_EQ(sfactorForHighestVolume(2000), 200); // 2.5 rounds to 2
    EXPECT_THROW(highestVolume({"0001=1x;I;"}), ConversionError);
}

TEST(Render_VolumesTests, ShowDirectionsAndLabels)
{
    // Volumes become their own numbers; values and text lines stay; labels follow intminnumber.
    QStringList lines = {"0012=800;I;", "0100=35;V;", "*text", "0013=5;I;extra"};
    applyShowDirections(lines);
    EXPECT_EQ(lines, (QStringList{"0012=0012;I;", "0100=35;V;", "*text", "0013=0013;I;"}));
    EXPECT_EQ(VolumeTable(lines, 1000, 1).lookUp(ValueMode::Raw, u"0012"), 12);

    EXPECT_EQ(volumeLabel(9, 10), QString());
    EXPECT_EQ(volumeLabel(10, 10), QStringLiteral("10"));
    EXPECT_EQ(volumeLabel(12.5L, 0), QStringLiteral("12"));
    EXPECT_EQ(volumeLabel(13.5L, 0), QStringLiteral("14"));
    EXPECT_EQ(volumeLabel(-3, 0), QStringLiteral("-3"));
    EXPECT_EQ(volumeLabel(-3, 1), QString());
    EXPECT_EQ(volumeLabel(-3, -5), QStringLiteral("-3"));
}
