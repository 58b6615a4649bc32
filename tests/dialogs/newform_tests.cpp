// The new-diagram dialog over the program's own template library.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/dialogfixture.h"
#include "ui/dialogs/tnieuwform.h"

using korvimo::TNieuwForm;

namespace {

class Dialogs_NewDiagramTests : public test::DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        form = std::make_unique<TNieuwForm>(ctx, library, files);
        form->FormActivate();
    }
    // What the New command does before the dialog shows.
    void emptyDocument()
    {
        doc.clearLists();
        doc.general = korvimo::GeneralVariables();
        doc.fileName = files.untitledName();
    }
    QStringList codes() const
    {
        QStringList out;
        for (int i = 0; i < form->LibListBox->count(); ++i)
            out << form->LibListBox->item(i)->text().left(6);
        return out;
    }
    std::unique_ptr<TNieuwForm> form;
};

TEST_F(Dialogs_NewDiagramTests, EveryTemplateOpensWithEitherTrafficSide)
{
    // Each listed template opens as an untitled diagram with its lists and translated titles; left-hand traffic negates the arrow size.
    const QStringList all = codes();
    ASSERT_EQ(all.size(), 16);
    for (const QString& code : all) {
        for (const bool left : {false, true}) {
            SCOPED_TRACE((code + (left ? " left" : " right")).toStdString());
            emptyDocument();
            form->FormActivate();
            ASSERT_TRUE(form->selectCode(code));
            (left ? form->LhRadioButton : form->RhRadioButton)->setChecked(true);
            form->BitBtn1Click();
            EXPECT_FALSE(doc.script.isEmpty());
            EXPECT_FALSE(doc.coordinates.isEmpty());
            EXPECT_FALSE(doc.intensities.isEmpty());
            EXPECT_EQ(doc.fileName, files.untitledName());
            EXPECT_EQ(doc.general.arrowsize, left ? -40 : 40);
            EXPECT_EQ(ctx.settings.libLeftHandTraffic, left);
            EXPECT_EQ(library.leftHandTraffic(), left);
            QStringList titles(doc.general.title.begin(), doc.general.title.end());
            titles << doc.general.printheader1;
            for (const QString& title : titles)
                EXPECT_FALSE(title.startsWith(QLatin1String("LIB000"))) << title.toStdString();
        }
    }
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_F(Dialogs_NewDiagramTests, ListEntriesAndPreview)
{
    // Entries read code, three blanks and the language's name; the first is selected with its picture; the names follow the language.
    ASSERT_GT(form->LibListBox->count(), 0);
    EXPECT_EQ(form->LibListBox->currentRow(), 0);
    EXPECT_EQ(form->LibListBox->item(0)->text(), "011301   Kruispunt, drie armen (arm 1 ontbreekt)");
    EXPECT_FALSE(form->VoorbeeldImage->pixmap().isNull());
    EXPECT_LE(form->VoorbeeldImage->pixmap().width(), 169);

    ctx.settings.language = QStringLiteral("English");
    form->FormActivate(); // the language changed since the list was filled
    EXPECT_TRUE(form->LibListBox->item(0)->text().startsWith("011301   "));
    EXPECT_NE(form->LibListBox->item(0)->text(), "011301   Kruispunt, drie armen (arm 1 ontbreekt)");
}

TEST_F(Dialogs_NewDiagramTests, EmptyChoiceCancelAndStartUpSwitch)
{
    // "Leeg" and Cancel leave the emptied document; the check box writes StartShowNewForm at once; activation reads both settings.
    emptyDocument();
    form->RadioButton1->setChecked(true);
    form->BitBtn1Click();
    EXPECT_TRUE(doc.script.isEmpty());
    EXPECT_TRUE(doc.coordinates.isEmpty());

    form->RadioButton2->setChecked(true);
    form->BitBtn2->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(doc.script.isEmpty());

    ctx.settings.startShowNewForm = true;
    form->CheckBox1->click();
    EXPECT_FALSE(ctx.settings.startShowNewForm);
    EXPECT_TRUE(form->CheckBox1->text().contains("Korvimo"));
    EXPECT_FALSE(form->CheckBox1->text().contains("%s"));

    ctx.settings.libLeftHandTraffic = true;
    ctx.settings.startShowNewForm = true;
    form->FormActivate();
    EXPECT_TRUE(form->LhRadioButton->isChecked());
    EXPECT_TRUE(form->CheckBox1->isChecked());
    // Clicking an entry chooses the library again.
    form->RadioButton1->setChecked(true);
    form->LibListBoxClick();
    EXPECT_TRUE(form->RadioButton2->isChecked());
}

TEST_F(Dialogs_NewDiagramTests, MissingLibraryIsReportedOnce)
{
    // A library that cannot be opened gives AA00005 with its path and an empty list; OK then opens nothing.
    ctx.paths.libraryFile = scratchFile("nothing.lib");
    TNieuwForm other(ctx, library, files);
    other.FormActivate();
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_TRUE(messenger.entries[0].text.contains(scratchFile("nothing.lib")));
    EXPECT_EQ(other.LibListBox->count(), 0);
    EXPECT_TRUE(other.VoorbeeldImage->pixmap().isNull());
    other.BitBtn1Click();
    EXPECT_TRUE(doc.script.isEmpty());
}

} // namespace
