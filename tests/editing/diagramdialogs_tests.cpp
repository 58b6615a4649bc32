#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "editingfixture.h"
#include "ui/dialogs/topmaakform.h"
#include "ui/views/overzichtpanel.h"

using namespace korvimo;

class Editing_FormatTests : public test::EditingFixture {};
class Editing_TextsNotesTests : public test::EditingFixture {};

namespace {
void typeNumber(QSpinBox* s, int value)
{
    s->setFocus();
    s->selectAll();
    QTest::keyClicks(s, QString::number(value));
}

void typeText(QLineEdit* e, const QString& text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}
} // namespace

TEST_F(Editing_FormatTests, MaximaArrowSizeAndTheModifiedRule)
{
    // A width above MaxDiagramWidth shows and stores as the maximum; OK without a change leaves it unmodified.
    ctx.settings.maxDiagramWidth = 1500;
    doc.general.diagramwidth = 2000;
    doc.general.arrowsize = -45; // shown as -4 (halves to even), stored as -40
    doc.announceChanged();
    const int before = renderer.renders;
    test::onWindow("OpmaakForm", [](QWidget* w) {
        EXPECT_EQ(test::child<QSpinBox>(w, "BreedteSpinEdit")->value(), 1500);
        EXPECT_EQ(test::child<QSpinBox>(w, "BreedteSpinEdit")->maximum(), 1500);
        EXPECT_EQ(test::child<QSpinBox>(w, "PijlgrootteSpinEdit")->value(), -4);
        test::click(w, "OKButton");
    });
    act("DiagramFormatAction")->trigger();
    EXPECT_EQ(doc.general.diagramwidth, 1500);
    EXPECT_EQ(doc.general.arrowsize, -40);
    EXPECT_FALSE(doc.isModified());
    EXPECT_GT(renderer.renders, before);

    // A changed scale, group and colour: modified, the overview's scale field follows, and one undo step back.
    auto& f = *form->findChild<TOpmaakForm*>("OpmaakForm");
    f.chooseColour = [](int) { return std::optional<int>(0x123456); };
    test::onWindow("OpmaakForm", [](QWidget* w) {
        typeNumber(test::child<QSpinBox>(w, "SchaalSpinEdit"), 2500);
        test::child<QTabWidget>(w, "OpmaakPageControl")->setCurrentIndex(2);
        test::click(w, "GRPCheckBoxIincomming");
        test::child<QTabWidget>(w, "OpmaakPageControl")->setCurrentIndex(3);
        QTest::mouseClick(test::child<QLabel>(w, "Color0005Shape"), Qt::LeftButton);
        test::click(w, "KleurWijzigenButton");
        test::click(w, "OKButton");
    });
    const bool grp = doc.general.groupVisible(DrawingGroup::IIncomming);
    const int colour5 = doc.general.color[4];
    act("DiagramFormatAction")->trigger();
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.general.sfactor, 2500);
    EXPECT_EQ(doc.general.groupVisible(DrawingGroup::IIncomming), !grp);
    EXPECT_EQ(doc.general.color[4], 0x123456);
    EXPECT_EQ(form->overview().schaalEdit()->value(), 2500);
    EXPECT_EQ(messenger.texts(), QStringList({"Klik op het gekleurde vakje om de kleur te wijzigen."}));
    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.general.sfactor, 1000);
    EXPECT_EQ(doc.general.color[4], colour5);
    EXPECT_EQ(doc.general.groupVisible(DrawingGroup::IIncomming), grp);
    EXPECT_FALSE(doc.isModified());

    // Cancel discards whatever was typed.
    test::onWindow("OpmaakForm", [](QWidget* w) {
        typeNumber(test::child<QSpinBox>(w, "LijndikteSpinEdit"), 9);
        test::click(w, "AnnulerenButton");
    });
    act("DiagramFormatAction")->trigger();
    EXPECT_EQ(doc.general.linewidth, 3);
}

TEST_F(Editing_FormatTests, ChangeAllVolumesAndItsUndo)
{
    // vermenigvuldigen 1100 turns 450 into 495 and leaves V lines and comments; undo brings all back.
    doc.intensities = {"0003=450;I;", "0001=30;I;", "0009=2;V;", "*comment", "#0004=7;I;"};
    form->views().rebuildVolumeGrid();
    doc.announceChanged();
    test::onWindow("AlleIntensiteitenWijzigenForm", [](QWidget* w) {
        EXPECT_FALSE(test::child<QLabel>(w, "EenheidLabel")->isVisible());
        test::click(w, "VermenigvuldigenRadioButton");
        EXPECT_TRUE(test::child<QLabel>(w, "EenheidLabel")->isVisible());
        typeText(test::child<QLineEdit>(w, "SpinEdit1"), "1100");
        test::click(w, "OKButton");
    });
    act("DiagramChangeAllVolumesAction")->trigger();
    EXPECT_EQ(doc.intensities,
              QStringList({"0003=495;I;", "0001=33;I;", "0009=2;V;", "*comment", "#0004=7;I;"}));
    EXPECT_EQ(form->overview().grid()->item(0, 1)->text(), "495");
    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0003=450;I;");
    EXPECT_EQ(form->overview().grid()->item(0, 1)->text(), "450");

    test::onWindow("AlleIntensiteitenWijzigenForm", [](QWidget* w) {
        test::click(w, "VerhogenRadioButton");
        typeText(test::child<QLineEdit>(w, "SpinEdit1"), "-500");
        test::click(w, "OKButton");
    });
    act("DiagramChangeAllVolumesAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0003=-50;I;");
}

TEST_F(Editing_FormatTests, ChangeAllTakesADecimalAndSaysTheUnit)
{
    // Typed 1.5 is one and a half thousandths, not fifteen: beside "/ 1000" the dialog shows "= factor 0.0015";
    // 1012,5 multiplies by 1.0125. Text that is no number, and a decimal for "verhogen", are refused with a
    // message and change nothing.
    doc.intensities = {"0003=450;I;", "0001=4000;I;", "0009=2;V;"};
    form->views().rebuildVolumeGrid();
    doc.announceChanged();
    QString factor;
    test::onWindow("AlleIntensiteitenWijzigenForm", [&](QWidget* w) {
        test::click(w, "VermenigvuldigenRadioButton");
        typeText(test::child<QLineEdit>(w, "SpinEdit1"), "1.5");
        EXPECT_EQ(test::child<QLabel>(w, "EenheidLabel")->text(), "/ 1000");
        factor = test::child<QLabel>(w, "ntFactorLabel")->text();
        test::click(w, "OKButton");
    });
    act("DiagramChangeAllVolumesAction")->trigger();
    EXPECT_EQ(factor, "= factor 0.0015");
    EXPECT_EQ(doc.intensities, QStringList({"0003=1;I;", "0001=6;I;", "0009=2;V;"}));

    doc.intensities = {"0003=450;I;", "0001=4000;I;", "0009=2;V;"};
    form->views().rebuildVolumeGrid(); // the grid is written back before a change
    test::onWindow("AlleIntensiteitenWijzigenForm", [&](QWidget* w) {
        typeText(test::child<QLineEdit>(w, "SpinEdit1"), "1012,5");
        factor = test::child<QLabel>(w, "ntFactorLabel")->text();
        test::click(w, "OKButton");
    });
    act("DiagramChangeAllVolumesAction")->trigger();
    EXPECT_EQ(factor, "= factor 1,0125");
    EXPECT_EQ(doc.intensities, QStringList({"0003=456;I;", "0001=4050;I;", "0009=2;V;"}));

    messenger.clear();
    int refusals = 0;
    for (const char* typed : {"abc", "1.2.3", ""}) {
        test::onWindow("AlleIntensiteitenWijzigenForm", [&](QWidget* w) {
            typeText(test::child<QLineEdit>(w, "SpinEdit1"), QString::fromLatin1(typed));
            test::click(w, "OKButton");
            refusals += w->isVisible() ? 1 : 0; // still open
            test::click(w, "AnnulerenButton");
        });
        act("DiagramChangeAllVolumesAction")->trigger();
    }
    test::onWindow("AlleIntensiteitenWijzigenForm", [&](QWidget* w) {
        test::click(w, "VerhogenRadioButton");
        EXPECT_FALSE(test::child<QLabel>(w, "ntFactorLabel")->isVisible());
        typeText(test::child<QLineEdit>(w, "SpinEdit1"), "2.5");
        test::click(w, "OKButton");
        refusals += w->isVisible() ? 1 : 0;
        test::click(w, "AnnulerenButton");
    });
    act("DiagramChangeAllVolumesAction")->trigger();
    EXPECT_EQ(refusals, 4);
    EXPECT_EQ(doc.intensities, QStringList({"0003=456;I;", "0001=4050;I;", "0009=2;V;"}));
    ASSERT_EQ(messenger.entries.size(), 4);
    EXPECT_EQ(messenger.entries[0].text,
              QStringLiteral("Onjuiste waarde \"abc\": typ een getal, bijvoorbeeld 1500 of 1012,5."));
    EXPECT_TRUE(messenger.entries[3].text.contains("geheel getal")) << messenger.entries[3].text.toStdString();
}

TEST_F(Editing_TextsNotesTests, TextsDialogShowsTheFieldsInUse)
{
    // Only Title02 is used by an active TXT line; edits store into the titles and mark the diagram.
    doc.script = {"TXT;1;P;0001;[0100];[0100];0;L;NNN;100;0;V;Title02;",
                  "#TXT;1;P;0002;[0100];[0100];0;L;NNN;100;0;V;Title03;",
                  "LNE;1;0001;0002;;;0;A;A;Streetname01;"};
    doc.general.title[1] = "Old";
    doc.fileName = "/data/plan/kruising.kvo";
    doc.announceChanged();
    test::onWindow("TextForm", [](QWidget* w) {
        for (int i = 1; i <= 5; ++i) {
            auto* e = test::child<QLineEdit>(w, QStringLiteral("Title%1Edit").arg(i, 2, 10, QLatin1Char('0')).toLatin1());
            EXPECT_EQ(e->isVisible(), i == 2) << i;
        }
        EXPECT_FALSE(test::child<QLineEdit>(w, "Streetname01Edit")->isVisible());
        EXPECT_EQ(test::child<QLineEdit>(w, "FilenameEdit")->text(), "kruising.kvo");
        EXPECT_FALSE(test::child<QLineEdit>(w, "UsernameEdit")->text().isEmpty());
        auto* t = test::child<QLineEdit>(w, "Title02Edit");
        EXPECT_EQ(t->text(), "Old");
        t->selectAll();
        QTest::keyClicks(t, "Nieuwe titel");
        test::click(w, "OKButton");
    });
    act("DiagramTextsAction")->trigger();
    EXPECT_EQ(doc.general.title[1], "Nieuwe titel");
    EXPECT_TRUE(doc.isModified());
    // Closing hid the fields again.
    EXPECT_FALSE(form->findChild<QLineEdit*>("Title02Edit")->isVisibleTo(form->findChild<QWidget*>("TextForm")));

    doc.setModified(false);
    test::onWindow("TextForm", [](QWidget* w) { test::click(w, "OKButton"); });
    act("DiagramTextsAction")->trigger();
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Editing_TextsNotesTests, NotesWindowWrapsLongLines)
{
    // A line longer than the window is shown on several rows without a horizontal scroll bar; the note itself keeps
    // its one line when the window closes.
    const QString longLine = QString("kruispunt ").repeated(60).trimmed();
    doc.notes = {longLine, "short"};
    doc.announceChanged();
    int rows = 0;
    bool scrollBar = true;
    test::onWindow("AantekeningenForm", [&](QWidget* w) {
        auto* memo = test::child<QPlainTextEdit>(w, "AantekeningenMemo");
        QApplication::processEvents();
        rows = memo->document()->firstBlock().layout()->lineCount();
        scrollBar = memo->horizontalScrollBar()->isVisible();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, "!");
        test::click(w, "SluitenButton");
    });
    act("DiagramNotesAction")->trigger();
    EXPECT_GT(rows, 1);
    EXPECT_FALSE(scrollBar);
    EXPECT_EQ(doc.notes, QStringList({longLine, "short!"}));
}

TEST_F(Editing_TextsNotesTests, NotesWindowModifiedRule)
{
    // Closing without a change leaves the diagram; a click on the check box or a typed line marks it, and undo works.
    doc.notes = {"first"};
    doc.announceChanged();
    test::onWindow("AantekeningenForm", [](QWidget* w) {
        EXPECT_EQ(test::child<QPlainTextEdit>(w, "AantekeningenMemo")->toPlainText(), "first");
        test::click(w, "SluitenButton");
    });
    act("DiagramNotesAction")->trigger();
    EXPECT_FALSE(doc.isModified());

    test::onWindow("AantekeningenForm", [](QWidget* w) {
        test::click(w, "ToonCheckBox");
        test::click(w, "SluitenButton");
    });
    act("DiagramNotesAction")->trigger();
    EXPECT_TRUE(doc.general.shownotesdialog);
    EXPECT_TRUE(doc.isModified());

    test::onWindow("AantekeningenForm", [](QWidget* w) {
        auto* memo = test::child<QPlainTextEdit>(w, "AantekeningenMemo");
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, "second");
        QTest::keyClick(w, Qt::Key_Escape); // closing in any way stores
    });
    act("DiagramNotesAction")->trigger();
    EXPECT_EQ(doc.notes, QStringList({"first", "second"}));
    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.notes, QStringList({"first"}));
    act("EditUndoAction")->trigger();
    EXPECT_FALSE(doc.general.shownotesdialog);
    EXPECT_FALSE(doc.isModified());
}
