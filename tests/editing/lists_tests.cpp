#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "document/integertext.h"
#include "editingfixture.h"
#include "ui/dialogs/tcoordform.h"
#include "ui/dialogs/tintform.h"
#include "ui/lists/listlines.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/viewcontroller.h"

using namespace korvimo;

class Editing_ListTests : public test::EditingFixture {};
class Editing_ClipboardTests : public test::EditingFixture {};
class Editing_UndoTests : public test::EditingFixture {};

namespace {

// Types a number into a spin field as a user does: select all, type.
void typeNumber(QSpinBox* s, int value)
{
    s->setFocus();
    s->selectAll();
    QTest::keyClicks(s, QString::number(value));
}

} // namespace

TEST_F(Editing_ListTests, AddVolumeAppendsOrInsertsAfterTheSelection)
{
    // No selection appends; the first line selected inserts as the second; the last selected appends.
    doc.intensities = {"0001=10;I;", "0002=20;I;"};
    compose();
    test::selectRow(op().intList(), -1);
    test::onWindow("IntForm", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Intensiteit/waarde toevoegen");
        typeNumber(test::child<QSpinBox>(w, "IntNrSpinEdit"), 7);
        typeNumber(test::child<QSpinBox>(w, "IntSpinEdit"), 450);
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("IntAddButton"), Qt::LeftButton);
    EXPECT_EQ(doc.intensities.last(), "0007=450;I;");
    EXPECT_TRUE(doc.isModified());

    test::selectRow(op().intList(), 0);
    test::onWindow("IntForm", [](QWidget* w) {
        typeNumber(test::child<QSpinBox>(w, "IntNrSpinEdit"), 8);
        test::click(w, "AndereWaardeRadioButton");
        test::click(w, "BlokkerenCheckBox");
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("IntAddButton"), Qt::LeftButton);
    EXPECT_EQ(doc.intensities.value(1), "#0008=450;V;"); // the fields kept their values from the last use
    EXPECT_EQ(op().intList()->count(), 4);
    EXPECT_EQ(op().intList()->item(1)->text(), "#0008=450;V;");

    test::selectRow(op().intList(), 3);
    test::onWindow("IntForm", [](QWidget* w) {
        test::click(w, "TekstRadioButton");
        QTest::keyClicks(test::child<QLineEdit>(w, "Edit1"), "noot");
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("IntAddButton"), Qt::LeftButton);
    EXPECT_EQ(doc.intensities.last(), "*noot");
    EXPECT_EQ(form->focusWidget(), op().intList());
}

TEST_F(Editing_ListTests, DuplicateNumberIsRefusedAndInactiveLinesDoNotCount)
{
    // Adding 12 beside 0012=100;100; shows Nummer bestaat al. and stays open; beside #0012 it is accepted.
    doc.coordinates = {"0012=100;100;", "#0013=5;5;", "*0014 text"};
    compose();
    test::selectRow(op().coordsList(), -1);
    int refusals = -1;
    test::onWindow("CoordForm", [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Coördinaten toevoegen");
        typeNumber(test::child<QSpinBox>(w, "CoordNrSpinEdit"), 12);
        test::click(w, "OKButton");
        EXPECT_TRUE(w->isVisible());
        refusals = messenger.count(RecordingMessenger::Entry::Error);
        EXPECT_EQ(messenger.texts().value(0), "Nummer bestaat al.");
        typeNumber(test::child<QSpinBox>(w, "CoordNrSpinEdit"), 13);
        typeNumber(test::child<QSpinBox>(w, "CoordXSpinEdit"), 250);
        typeNumber(test::child<QSpinBox>(w, "CoordYSpinEdit"), 130);
        test::accelerator(w, Qt::Key_I); // "Regel &inactief"
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("CoordAddButton"), Qt::LeftButton);
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(doc.coordinates.last(), "#0013=250;130;");
    // Fourteen only stands in a text line.
    EXPECT_FALSE(numberExists(doc.coordinates, 14));
}

TEST_F(Editing_ListTests, ChangeKeepsTheNumberAndNeedsASelection)
{
    // Change without a selection does nothing; with one the number is fixed and the line replaced.
    doc.coordinates = {"0001=1;2;", "0002=3;4;"};
    compose();
    test::selectRow(op().coordsList(), -1);
    QTest::mouseClick(button("CoordEditButton"), Qt::LeftButton);
    EXPECT_FALSE(doc.isModified());

    test::selectRow(op().coordsList(), 1);
    test::onWindow("CoordForm", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Coördinaten wijzigen");
        auto* nr = test::child<QSpinBox>(w, "CoordNrSpinEdit");
        EXPECT_FALSE(nr->isEnabled());
        EXPECT_EQ(nr->value(), 2);
        EXPECT_EQ(test::child<QSpinBox>(w, "CoordXSpinEdit")->value(), 3);
        typeNumber(test::child<QSpinBox>(w, "CoordYSpinEdit"), -40);
        test::click(w, "OKButton");
    });
    const QPoint at = op().coordsList()->visualItemRect(op().coordsList()->item(1)).center();
    QTest::mouseClick(op().coordsList()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(op().coordsList()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(doc.coordinates, QStringList({"0001=1;2;", "0002=3;-40;"}));

    // A volume line that is a value keeps its kind; a malformed one is reported and not opened.
    doc.intensities = {"0009=2;V;", "00x1=5;I;"};
    form->views().OpnieuwTekenen();
    test::selectRow(op().intList(), 0);
    test::onWindow("IntForm", [](QWidget* w) {
        EXPECT_TRUE(test::child<QRadioButton>(w, "AndereWaardeRadioButton")->isChecked());
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("IntEditButton"), Qt::LeftButton);
    EXPECT_EQ(doc.intensities.value(0), "0009=2;V;");
    test::selectRow(op().intList(), 1);
    messenger.clear();
    QTest::mouseClick(button("IntEditButton"), Qt::LeftButton);
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_EQ(doc.intensities.value(1), "00x1=5;I;");
}

TEST_F(Editing_ListTests, DeleteAsksWithNoAsTheDefault)
{
    // The question Regel verwijderen? defaults to keeping; only &Verwijderen removes the line.
    doc.script = {"GRP;1;Frame;", "NTH;1;0001;20;"};
    compose();
    test::selectRow(op().scriptList(), 0);
    messenger.answers = {Messenger::No, Messenger::Yes};
    QTest::mouseClick(button("ScriptDelButton"), Qt::LeftButton);
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_EQ(messenger.entries[0].title, "Regel verwijderen?");
    EXPECT_EQ(messenger.entries[0].defaultAnswer, Messenger::No);
    EXPECT_EQ(doc.script.size(), 2);
    QTest::mouseClick(button("ScriptDelButton"), Qt::LeftButton);
    EXPECT_EQ(doc.script, QStringList({"NTH;1;0001;20;"}));
    EXPECT_TRUE(doc.isModified());

    // Without a selection nothing is asked.
    test::selectRow(op().scriptList(), -1);
    messenger.clear();
    QTest::mouseClick(button("ScriptDelButton"), Qt::LeftButton);
    EXPECT_TRUE(messenger.entries.isEmpty());
    for (const char* del : {"CoordDelButton", "IntDelButton"}) {
        doc.coordinates = {"0001=1;1;"};
        doc.intensities = {"0001=1;I;"};
        form->views().OpnieuwTekenen();
        test::selectRow(op().coordsList(), 0);
        test::selectRow(op().intList(), 0);
        messenger.answers = {Messenger::Yes};
        QTest::mouseClick(button(del), Qt::LeftButton);
        EXPECT_EQ(doc.coordinates.size() + doc.intensities.size(), 1) << del;
    }
}

TEST_F(Editing_ClipboardTests, ScriptLineCopyPasteAndTheNewDiagramEmptiesIt)
{
    // Copy line then paste after the selection; after a new diagram nothing is pasted.
    doc.script = {"GRP;1;Frame;", "NTH;1;0001;20;"};
    compose();
    test::selectRow(op().scriptList(), 1);
    QTest::mouseClick(button("ScriptCopyButton"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QString()); // the system clipboard is not touched
    test::selectRow(op().scriptList(), 0);
    act("EditPasteScriptLineAction")->trigger();
    EXPECT_EQ(doc.script, QStringList({"GRP;1;Frame;", "NTH;1;0001;20;", "NTH;1;0001;20;"}));

    // Without a selection nothing is pasted.
    test::selectRow(op().scriptList(), -1);
    QTest::mouseClick(button("ScriptPasteButton"), Qt::LeftButton);
    EXPECT_EQ(doc.script.size(), 3);

    messenger.answers = {Messenger::No}; // do not save
    act("FileNewAction")->trigger();
    EXPECT_EQ(editing->scriptClipboard(), QString());
    doc.script = {"GRP;1;Frame;"};
    compose();
    test::selectRow(op().scriptList(), 0);
    QTest::mouseClick(button("ScriptPasteButton"), Qt::LeftButton);
    EXPECT_EQ(doc.script.size(), 1);
}

TEST_F(Editing_ClipboardTests, CopyScriptWritesTheHeadingsInCapitals)
{
    // Headings in capitals of a to z only, lists between empty lines, CR LF line ends.
    doc.script = {"GRP;1;Frame;"};
    doc.coordinates = {"0001=1;2;"};
    doc.intensities = {"0001=5;I;"};
    compose();
    act("EditCopyScriptAction")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf8("SCRIPT\r\n\r\nGRP;1;Frame;\r\n\r\nCOöRDINATEN\r\n\r\n0001=1;2;\r\n\r\n"
                                "INTENSITEITEN && WAARDEN\r\n\r\n0001=5;I;"));
}

TEST_F(Editing_ClipboardTests, VolumeListCopyAndPasteThroughTheSystemClipboard)
{
    // Copy gives 'name TAB volume lines; pasting back restores; partial paste sets the others to 0.
    doc.intensities = {"0001=120;I;", "0002=45;I;", "0003=9;V;"};
    form->views().rebuildVolumeGrid();
    act("EditCopyOvIntAction")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "'0001\t120\r\n'0002\t45");

    QApplication::clipboard()->setText("'0002 \t7\r\n0001\t1\t5\r\n0001\t16\r\n");
    act("EditPasteOvIntAction")->trigger();
    EXPECT_EQ(doc.intensities, QStringList({"0001=16;I;", "0002=7;I;", "0003=9;V;"}));
    EXPECT_TRUE(doc.isModified());

    QApplication::clipboard()->setText("0001\t99");
    act("EditPasteOvIntAction")->trigger();
    EXPECT_EQ(doc.intensities, QStringList({"0001=99;I;", "0002=0;I;", "0003=9;V;"}));

    // Nothing matching, or no tabs: the volumes stay and the hint is shown.
    messenger.clear();
    QApplication::clipboard()->setText("0009\t5");
    act("EditPasteOvIntAction")->trigger();
    QApplication::clipboard()->setText("no tabs here");
    act("EditPasteOvIntAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0001=99;I;");
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Information), 2);
    EXPECT_TRUE(messenger.texts().value(0).startsWith("Geen overeenkomende data gevonden in klembord."));
}

TEST_F(Editing_UndoTests, ListEditsUndoAndRedoWithTheModifiedFlag)
{
    // Add, delete and paste undo one by one; back at the start the diagram is unmodified again.
    doc.script = {"GRP;1;Frame;"};
    doc.intensities = {"0001=10;I;"};
    doc.announceChanged();
    compose();
    EXPECT_FALSE(act("EditUndoAction")->isEnabled());

    test::selectRow(op().intList(), 0);
    test::onWindow("IntForm", [](QWidget* w) {
        typeNumber(test::child<QSpinBox>(w, "IntNrSpinEdit"), 2);
        test::click(w, "OKButton");
    });
    QTest::mouseClick(button("IntAddButton"), Qt::LeftButton);
    test::selectRow(op().scriptList(), 0);
    messenger.answers = {Messenger::Yes};
    QTest::mouseClick(button("ScriptDelButton"), Qt::LeftButton);
    ASSERT_EQ(doc.intensities.size(), 2);
    ASSERT_TRUE(doc.script.isEmpty());
    EXPECT_TRUE(act("EditUndoAction")->isEnabled());

    keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc.script, QStringList({"GRP;1;Frame;"}));
    EXPECT_EQ(op().scriptList()->count(), 1);
    EXPECT_TRUE(doc.isModified());
    keys(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc.intensities.size(), 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(act("FileSaveAction")->isEnabled());
    EXPECT_TRUE(act("EditRedoAction")->isEnabled());

    keys(Qt::Key_Y, Qt::ControlModifier);
    keys(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(doc.script.isEmpty());
    EXPECT_EQ(doc.intensities.size(), 2);
    EXPECT_TRUE(doc.isModified());

    // A save marks the present clean; undo from there makes it modified.
    doc.setModified(false);
    act("EditUndoAction")->trigger();
    EXPECT_TRUE(doc.isModified());
    act("EditRedoAction")->trigger();
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Editing_UndoTests, GridAndScaleEditsInTheOverviewAreUndoneToo)
{
    // A volume typed into the grid and a changed scale both step back, the grid showing the old volume.
    doc.intensities = {"0001=10;I;"};
    form->views().rebuildVolumeGrid();
    doc.announceChanged();
    VolumeGrid* grid = form->overview().grid();
    grid->editItem(grid->item(0, 1));
    auto* cell = grid->findChild<QLineEdit*>();
    ASSERT_NE(cell, nullptr);
    cell->selectAll();
    QTest::keyClicks(cell, "25");
    QTest::keyClick(cell, Qt::Key_Return);
    QTest::qWait(20); // the cell editor closes through a queued call
    ASSERT_EQ(doc.intensities.value(0), "0001=25;I;");
    form->overview().schaalEdit()->setValue(1500);
    ASSERT_EQ(doc.general.sfactor, 1500);

    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.general.sfactor, 1000);
    EXPECT_EQ(form->overview().schaalEdit()->value(), 1000);
    act("EditUndoAction")->trigger();
    EXPECT_EQ(doc.intensities.value(0), "0001=10;I;");
    EXPECT_EQ(grid->item(0, 1)->text(), "10");
    EXPECT_FALSE(act("EditUndoAction")->isEnabled());

    // Opening another document forgets the history.
    act("EditRedoAction")->trigger();
    messenger.answers = {Messenger::No};
    act("FileNewAction")->trigger();
    EXPECT_FALSE(act("EditUndoAction")->isEnabled());
    EXPECT_FALSE(doc.isModified());
}

TEST(Editing_LineRulesTests, FunctionTextsAndLineReading)
{
    // Accepted and refused function texts; coordinate and volume lines read back as written.
    for (const char* ok : {"", "0001+0002", "1001+1002-3001+3002", "1", "0001-0002"})
        EXPECT_TRUE(isValidFunctionText(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"0001+", "0001++0002", "00012", "+0001", "0001 0002", "0001+-002", "abcd"})
        EXPECT_FALSE(isValidFunctionText(QString::fromLatin1(bad))) << bad;

    NumberedLine c = readCoordinateLine("#0007=250;130;");
    EXPECT_TRUE(c.inactive);
    EXPECT_EQ(c.number, 7);
    EXPECT_EQ(c.first, 250);
    EXPECT_EQ(c.second, 130);
    EXPECT_EQ(numberedLine(true, 7, {"250", "130"}), "#0007=250;130;");
    EXPECT_FALSE(readIntensityLine("0003=450;V;").volume);
    EXPECT_TRUE(readIntensityLine("*text").isText);
    EXPECT_THROW(readCoordinateLine("0007=a;1;"), ConversionError);
    EXPECT_EQ(insertPosition(-1, 3), 3);
    EXPECT_EQ(insertPosition(2, 3), 3);
    EXPECT_EQ(insertPosition(0, 3), 1);
}

