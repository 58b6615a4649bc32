// The arms wizard through its window: what the controls load, and what OK
// does to the coordinate list.
#include <QComboBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>

#include "dialogs/dialogfixture.h"
#include "ui/dialogs/tarmenform.h"

using korvimo::TArmenForm;

namespace {

class Dialogs_ArmsTests : public test::DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        doc.coordinates = {QStringLiteral("0001=500;500;"), QStringLiteral("* a comment"),
                           QStringLiteral("0011=1;1;"),     QStringLiteral("0012=2;2;"),
                           QStringLiteral("#0013=3;3;"),    QStringLiteral("0021=4;4;extra;")};
        form = std::make_unique<TArmenForm>(ctx, doc);
        form->afterApply = [this] { ++applied; };
        form->FormActivate();
    }
    void choose(QComboBox* box, const char* text)
    {
        const int i = box->findText(QString::fromLatin1(text));
        ASSERT_GE(i, 0) << text;
        box->setCurrentIndex(i);
    }
    void arm(int index, const char* p1, const char* p2, int angle)
    {
        choose(form->armPoint1[index], p1);
        choose(form->armPoint2[index], p2);
        form->armAngle[index]->setValue(angle);
    }
    std::unique_ptr<TArmenForm> form;
    int applied = 0;
};

TEST_F(Dialogs_ArmsTests, WorkedExampleAtNinetyAndZeroDegrees)
{
    // Centre 0001=500;500; with both distances 100: at 90 degrees the arm points go straight up, at 0 to the right.
    choose(form->CentrumComboBox, "0001");
    form->SpinEdit1->setValue(100);
    form->SpinEdit2->setValue(100);
    arm(0, "0011", "0012", 90);
    form->BitBtn1->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(doc.coordinates[2], "0011=500;400;");
    EXPECT_EQ(doc.coordinates[3], "0012=500;300;");
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");
    EXPECT_EQ(doc.general.armcenter, "0001");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(applied, 1);

    form->FormActivate(); // the stored definition comes back
    EXPECT_EQ(form->armPoint1[0]->currentText(), "0011");
    EXPECT_EQ(form->armAngle[0]->value(), 90);
    form->armAngle[0]->setValue(0);
    form->BitBtn1Click();
    EXPECT_EQ(doc.coordinates[2], "0011=600;500;");
    EXPECT_EQ(doc.coordinates[3], "0012=700;500;");
    // 360 and 0, -90 and 270 land on the same points.
    form->FormActivate();
    form->armAngle[0]->setValue(360);
    form->BitBtn1Click();
    EXPECT_EQ(doc.coordinates[3], "0012=700;500;");
    form->FormActivate();
    form->armAngle[0]->setValue(-90);
    form->BitBtn1Click();
    const QString down = doc.coordinates[3];
    form->FormActivate();
    form->armAngle[0]->setValue(270);
    form->BitBtn1Click();
    EXPECT_EQ(doc.coordinates[3], down);
    EXPECT_EQ(down, "0012=500;700;");
}

TEST_F(Dialogs_ArmsTests, LoadOffersActivePointsAndReadsStoredDefinitions)
{
    // Comment and inactive lines are not offered; a stored angle "abc" loads as 0 and a vanished point as a blank choice.
    QStringList offered;
    for (int i = 0; i < form->CentrumComboBox->count(); ++i)
        offered << form->CentrumComboBox->itemText(i);
    EXPECT_EQ(offered, QStringList({"", "0001", "0011", "0012", "0021"}));
    EXPECT_EQ(form->armPoint2[15]->count(), 5);

    doc.general.armcenter = QStringLiteral("0001");
    doc.general.armdistcep1 = 40;
    doc.general.armdistp1p2 = -25;
    doc.general.arm[0] = QStringLiteral("0011;0012;abc");
    doc.general.arm[1] = QStringLiteral("0013;0021;45"); // 0013 is inactive now
    form->FormActivate();
    EXPECT_EQ(form->CentrumComboBox->currentText(), "0001");
    EXPECT_EQ(form->SpinEdit1->value(), 40);
    EXPECT_EQ(form->SpinEdit2->value(), -25);
    EXPECT_EQ(form->armAngle[0]->value(), 0);
    EXPECT_EQ(form->armPoint1[1]->currentText(), "");
    EXPECT_EQ(form->armPoint2[1]->currentText(), "0021");
    EXPECT_EQ(form->armAngle[1]->value(), 45);

    // Cancel keeps the diagram; the next showing starts from it again.
    form->armAngle[0]->setValue(135);
    form->BitBtn2->click();
    EXPECT_EQ(doc.general.arm[0], "0011;0012;abc");
    form->FormActivate();
    EXPECT_EQ(form->armAngle[0]->value(), 0);
    // Apply drops the arm with a blank point.
    form->BitBtn1Click();
    EXPECT_EQ(doc.general.arm[1], "");
    EXPECT_EQ(doc.general.arm[0], "0011;0012;0");
}

TEST_F(Dialogs_ArmsTests, EdgeCasesOfApply)
{
    // Equal points end at d1 + d2; an arm on the centre moves the centre line but not the centre used; all blank clears every definition.
    choose(form->CentrumComboBox, "0001");
    arm(0, "0021", "0021", 0);
    arm(1, "0001", "0012", 90);
    arm(2, "0011", "0011", 180);
    form->BitBtn1Click();
    EXPECT_EQ(doc.coordinates[5], "0021=700;500;");
    EXPECT_EQ(doc.coordinates[0], "0001=500;400;");
    EXPECT_EQ(doc.coordinates[3], "0012=500;300;");
    EXPECT_EQ(doc.coordinates[2], "0011=300;500;"); // still from 500;500

    const QStringList before = doc.coordinates;
    form->FormActivate();
    for (int i = 0; i < korvimo::kArmCount; ++i) {
        form->armPoint1[i]->setCurrentIndex(0);
        form->armPoint2[i]->setCurrentIndex(0);
    }
    form->BitBtn1Click();
    for (const QString& def : doc.general.arm)
        EXPECT_TRUE(def.isEmpty());
    EXPECT_EQ(doc.coordinates, before);
}

TEST_F(Dialogs_ArmsTests, NoCentreOrBadCentre)
{
    // Without a centre only the base values are stored; a centre whose x is not an integer is reported and the dialog stays open.
    doc.general.arm[0] = QStringLiteral("0011;0012;90");
    form->FormActivate();
    form->CentrumComboBox->setCurrentIndex(0);
    form->SpinEdit1->setValue(70);
    form->BitBtn1Click();
    EXPECT_EQ(doc.general.armdistcep1, 70);
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");
    EXPECT_EQ(doc.coordinates[2], "0011=1;1;");

    doc.coordinates[0] = QStringLiteral("0001=[0011]+5;500;");
    TArmenForm fresh(ctx, doc);
    int applies = 0;
    fresh.afterApply = [&] { ++applies; };
    fresh.show(); // showing loads the controls
    choose(fresh.CentrumComboBox, "0001");
    fresh.SpinEdit2->setValue(33);
    fresh.BitBtn1Click();
    EXPECT_TRUE(fresh.isVisible());
    EXPECT_EQ(applies, 0);
    ASSERT_EQ(messenger.count(korvimo::RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(messenger.entries[0].text.contains("[0011]+5"));
    EXPECT_EQ(doc.general.armdistp1p2, 33);
    EXPECT_EQ(doc.general.arm[0], "0011;0012;90");
    EXPECT_FALSE(QApplication::overrideCursor());
    fresh.reject();
}

TEST_F(Dialogs_ArmsTests, WheelNotchScrollsTwoRowsAndLeavesValues)
{
    // A notch over an arm row's angle scrolls the box by two row heights; the angle under the pointer keeps its value.
    form->show();
    QScrollBar* bar = form->ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 2 * form->rowHeight());
    bar->setValue(0);
    QSpinBox* angle = form->armAngle[1];
    angle->setValue(10);
    QWheelEvent down(QPointF(5, 5), angle->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(angle, &down);
    EXPECT_EQ(bar->value(), 2 * form->rowHeight());
    EXPECT_EQ(angle->value(), 10);
    form->reject();
}

} // namespace
