#include <gtest/gtest.h>

#include <climits>

#include "arms/armswizard.h"
#include "document/diagramdocument.h"
#include "document/integertext.h"

using namespace korvimo;

namespace {

DiagramDocument& withCentre(DiagramDocument& doc)
{
    doc.coordinates = {"0001=500;500;", "0011=0;0;", "0012=0;0;", "0021=1;1;", "0022=2;2;"};
    doc.general.armcenter = "0001";
    doc.general.armdistcep1 = 100;
    doc.general.armdistp1p2 = 100;
    return doc;
}

void loadAndApply(DiagramDocument& doc) { armsWizardApply(doc, armsWizardLoad(doc)); }

} // namespace

TEST(Arms_WizardTests, WorkedExamplePlacesBothPointsAtNinetyAndZeroDegrees)
{
    // The centre 500;500 with both distances 100: an arm at 90 goes straight up, at 0 to the right.
    DiagramDocument doc;
    withCentre(doc).general.arm[0] = "0011;0012;90";
    loadAndApply(doc);
    EXPECT_EQ(doc.coordinates[1], "0011=500;400;");
    EXPECT_EQ(doc.coordinates[2], "0012=500;300;");
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");

    doc.general.arm[0] = "0011;0012;0";
    loadAndApply(doc);
    EXPECT_EQ(doc.coordinates[1], "0011=600;500;");
    EXPECT_EQ(doc.coordinates[2], "0012=700;500;");
    EXPECT_TRUE(doc.isModified());
}

TEST(Arms_WizardTests, EquivalentAnglesGiveTheSamePoints)
{
    // 360 and 0, -90 and 270, and 45 (rounded to the even neighbour) land where they should.
    auto place = [](int angle) {
        DiagramDocument doc;
        withCentre(doc).general.arm[0] = QStringLiteral("0011;0012;%1").arg(angle);
        loadAndApply(doc);
        return doc.coordinates.mid(1, 2);
    };
    EXPECT_EQ(place(360), place(0));
    EXPECT_EQ(place(-90), place(270));
    EXPECT_EQ(place(270), (QStringList{"0011=500;600;", "0012=500;700;"}));
    EXPECT_EQ(place(45), (QStringList{"0011=571;429;", "0012=641;359;"}));
    EXPECT_EQ(place(720 + 90), place(90));
}

TEST(Arms_WizardTests, LoadReadsChoicesAndDefinitionsByPosition)
{
    // Comment and inactive points are not offered; a malformed angle loads as 0; a missing point as blank.
    DiagramDocument doc;
    doc.coordinates = {"*comment", "0001=500;500;", "#0011=1;1;", "0012=2;2;", "0021=3;3;"};
    doc.general.armcenter = "0001";
    doc.general.arm[0] = "0011;0012;abc";
    doc.general.arm[1] = "0021;0012;-35";
    doc.general.arm[2] = "0021;0099;10";
    const ArmsWizardInput in = armsWizardLoad(doc);
    EXPECT_EQ(in.pointNumbers, (QStringList{"0001", "0012", "0021"}));
    EXPECT_EQ(in.center, "0001");
    EXPECT_EQ(in.arms[0].point1, "");
    EXPECT_EQ(in.arms[0].point2, "0012");
    EXPECT_EQ(in.arms[0].angle, 0);
    EXPECT_EQ(in.arms[1].point1, "0021");
    EXPECT_EQ(in.arms[1].angle, -35);
    EXPECT_EQ(in.arms[2].point2, "");
}

TEST(Arms_WizardTests, ApplyDropsArmsWithABlankPointAndClearsTheRest)
{
    // An arm whose point has become inactive is removed; with all rows blank nothing moves.
    DiagramDocument doc;
    withCentre(doc);
    doc.coordinates[1] = "#0011=0;0;";
    doc.general.arm[0] = "0011;0012;90";
    doc.general.arm[1] = "0021;0022;180";
    loadAndApply(doc);
    EXPECT_EQ(doc.general.arm[0], "");
    EXPECT_EQ(doc.general.arm[1], "0021;0022;180");
    EXPECT_EQ(doc.coordinates[3], "0021=400;500;");
    EXPECT_EQ(doc.coordinates[2], "0012=0;0;");

    const QStringList before = doc.coordinates;
    ArmsWizardInput blank = armsWizardLoad(doc);
    for (ArmRow& r : blank.arms)
        r = ArmRow{};
    armsWizardApply(doc, blank);
    EXPECT_EQ(doc.coordinates, before);
    for (const QString& def : doc.general.arm)
        EXPECT_TRUE(def.isEmpty());
}

TEST(Arms_WizardTests, SamePointTwiceAndCentreAsArmPoint)
{
    // Equal point numbers end at d1 + d2; rewriting the centre's own line does not move the other arms.
    DiagramDocument doc;
    withCentre(doc).general.arm[0] = "0011;0011;0";
    loadAndApply(doc);
    EXPECT_EQ(doc.coordinates[1], "0011=700;500;");

    DiagramDocument doc2;
    withCentre(doc2);
    doc2.general.arm[0] = "0001;0012;0";
    doc2.general.arm[1] = "0021;0022;90";
    loadAndApply(doc2);
    EXPECT_EQ(doc2.coordinates[0], "0001=600;500;");
    EXPECT_EQ(doc2.coordinates[3], "0021=500;400;");
}

TEST(Arms_WizardTests, WithoutCentreOnlyTheBaseValuesAreStored)
{
    // No centre chosen, or a centre that is no longer in the list: definitions and points stay.
    DiagramDocument doc;
    withCentre(doc).general.arm[0] = "0011;0012;90";
    ArmsWizardInput in = armsWizardLoad(doc);
    in.center.clear();
    in.distCenterToPoint1 = 7;
    const QStringList before = doc.coordinates;
    armsWizardApply(doc, in);
    EXPECT_EQ(doc.general.armcenter, "");
    EXPECT_EQ(doc.general.armdistcep1, 7);
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");
    EXPECT_EQ(doc.coordinates, before);
}

TEST(Arms_WizardTests, MalformedCentreStopsWithAConversionErrorBeforeAnyPointMoves)
{
    // A centre whose x is not a whole number: base values stored, nothing else changed.
    DiagramDocument doc;
    withCentre(doc).coordinates[0] = "0001=5x0;500;";
    doc.general.arm[0] = "0011;0012;90";
    ArmsWizardInput in = armsWizardLoad(doc);
    in.distBetweenPoints = 55;
    const QStringList before = doc.coordinates;
    EXPECT_THROW(armsWizardApply(doc, in), ConversionError);
    EXPECT_EQ(doc.general.armdistp1p2, 55);
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");
    EXPECT_EQ(doc.coordinates, before);

    doc.coordinates[0] = "0001=500;";
    EXPECT_THROW(armsWizardApply(doc, in), ConversionError);
}

TEST(Arms_WizardTests, ExtremeDistancesAndAnglesStayInRange)
{
    // Distances at the ends of the integer range and huge angles neither overflow nor wrap.
    DiagramDocument doc;
    withCentre(doc).general.arm[0] = QStringLiteral("0011;0012;%1").arg(INT_MAX);
    doc.general.arm[1] = QStringLiteral("0021;0022;%1").arg(INT_MIN);
    ArmsWizardInput in = armsWizardLoad(doc);
    in.distCenterToPoint1 = INT_MAX;
    in.distBetweenPoints = INT_MAX;
    armsWizardApply(doc, in);
    for (const QString& line : doc.coordinates) {
        const QStringList f = line.mid(5).split(';');
        ASSERT_GE(f.size(), 2) << line.toStdString();
        bool okx = false, oky = false;
        f[0].toInt(&okx);
        f[1].toInt(&oky);
        EXPECT_TRUE(okx && oky) << line.toStdString();
    }
}
