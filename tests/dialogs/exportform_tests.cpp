// The export dialog: its controls, the proposed name, the extension rule
// and the overwrite question, writing real files.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "dialogs/dialogfixture.h"
#include "support/testsupport.h"
#include "ui/dialogs/texporterenform.h"

using korvimo::TExporterenForm;

namespace {

class Dialogs_ExportTests : public test::DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(library.OpenBestandUitLib(QStringLiteral("011400"), files, false));
        messenger.clear();
        form = std::make_unique<TExporterenForm>(ctx, doc);
        form->saveFileName = [this](const QString& proposed, const QString& filter) {
            proposals << proposed;
            filters << filter;
            return answer;
        };
        form->FormActivate();
    }
    std::unique_ptr<TExporterenForm> form;
    QStringList proposals, filters;
    QString answer; // what the save dialog returns; empty = cancelled
};

TEST_F(Dialogs_ExportTests, ActivationFollowsTheSettingsAndPixelControlsFollowTheFormat)
{
    // ExportType, width and smoothing come from the settings; the width and smoothing are off for EMF and WMF, on for BMP, JPEG, PNG.
    ctx.settings.exportType = 5;
    ctx.settings.exportBmpSize = 750;
    ctx.settings.exportPixAntiAliased = false;
    form->FormActivate();
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_EQ(form->SpinEdit1->value(), 750);
    EXPECT_FALSE(form->AntiAliasedCheckBox->isChecked());
    EXPECT_TRUE(form->SpinEdit1->isEnabled());
    for (QRadioButton* vector : {form->RadioButton2, form->RadioButton3}) {
        vector->setChecked(true);
        EXPECT_FALSE(form->SpinEdit1->isEnabled());
        EXPECT_FALSE(form->AntiAliasedCheckBox->isEnabled());
        EXPECT_FALSE(form->BreedteLabel->isEnabled());
    }
    for (QRadioButton* pixel : {form->RadioButton1, form->RadioButton4, form->RadioButton5}) {
        pixel->setChecked(true);
        EXPECT_TRUE(form->SpinEdit1->isEnabled());
        EXPECT_TRUE(form->AntiAliasedCheckBox->isEnabled());
    }
    // An unknown stored type keeps the designed choice.
    ctx.settings.exportType = 9;
    TExporterenForm fresh(ctx, doc);
    fresh.FormActivate();
    EXPECT_TRUE(fresh.RadioButton2->isChecked());

    // Closing with Cancel stores the choice, the disabled width included.
    form->RadioButton3->setChecked(true);
    form->SpinEdit1->setValue(1234);
    form->BitBtn2->click();
    EXPECT_EQ(ctx.settings.exportType, 2);
    EXPECT_EQ(ctx.settings.exportBmpSize, 1234);
}

TEST_F(Dialogs_ExportTests, ProposedNameAndExtensionRule)
{
    // The proposal is the diagram's name with the format's extension, in the diagram's folder (an untitled one in
    // the home folder) and after an export in that export's folder; a chosen name gets the extension unless it ends
    // in exactly it. The filter names every format the dialog writes.
    form->RadioButton1->setChecked(true);
    answer.clear();
    EXPECT_FALSE(form->BitBtn1Click()); // cancelled: nothing written
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_EQ(proposals[0], QDir::home().filePath("Korvimo_Nieuw.bmp"));
    EXPECT_EQ(filters[0], "Images (*.bmp  *.emf  *.wmf  *.jpg  *.png  *.svg  *.pdf);;Alle files (*.*)");

    ASSERT_TRUE(QDir(scratch.path()).mkpath("plannen"));
    doc.fileName = scratchFile("plannen/kruising.kvo");
    form->RadioButton5->setChecked(true);
    form->BitBtn1Click();
    EXPECT_EQ(proposals[1], scratchFile("plannen/kruising.png"));
    doc.fileName = QStringLiteral("/no/such/folder/kruising.kvo");
    form->BitBtn1Click();
    EXPECT_EQ(proposals[2], QDir::home().filePath("kruising.png"));

    form->SpinEdit1->setValue(300);
    form->RadioButton1->setChecked(true);
    answer = scratchFile("plan.BMP");
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_TRUE(QFile::exists(scratchFile("plan.BMP.bmp")));
    EXPECT_EQ(QImage(scratchFile("plan.BMP.bmp")).width(), 300);

    form->RadioButton4->setChecked(true);
    doc.fileName = scratchFile("plannen/kruising.kvo");
    answer = scratchFile("plan.Jpg");
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_EQ(proposals.last(), QDir(scratch.path()).filePath("kruising.jpg")); // the last export's folder
    EXPECT_TRUE(QFile::exists(scratchFile("plan.Jpg.jpg")));

    form->RadioButton2->setChecked(true);
    answer = scratchFile("plan");
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_EQ(test::readAll(scratchFile("plan.emf")).mid(40, 4), QByteArray(" EMF"));
    form->RadioButton3->setChecked(true);
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_EQ(test::readAll(scratchFile("plan.wmf")).left(4), QByteArray("\xD7\xCD\xC6\x9A"));
    EXPECT_EQ(messenger.count(korvimo::RecordingMessenger::Entry::Error), 0) << messenger.texts().join('\n').toStdString();
}

TEST_F(Dialogs_ExportTests, OverwriteQuestionOnlyTheFirstButtonWrites)
{
    // An existing file is replaced only on "&Overschrijven"; "&Niet overschrijven" (the default) and Cancel keep it.
    const QString target = scratchFile("plan.png");
    ASSERT_TRUE(test::writeAll(target, "old"));
    form->RadioButton5->setChecked(true);
    form->SpinEdit1->setValue(200);
    answer = target;
    for (const int reply : {korvimo::Messenger::No, korvimo::Messenger::Cancel}) {
        messenger.answers = {reply};
        EXPECT_FALSE(form->BitBtn1Click());
        EXPECT_EQ(test::readAll(target), QByteArray("old"));
    }
    ASSERT_EQ(messenger.entries.size(), 2);
    EXPECT_EQ(messenger.entries[0].title, "Bestand overschrijven?");
    EXPECT_TRUE(messenger.entries[0].text.contains(target));
    EXPECT_EQ(messenger.entries[0].defaultAnswer, korvimo::Messenger::No);

    messenger.answers = {korvimo::Messenger::Yes};
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_EQ(QImage(target).width(), 200);
}

TEST_F(Dialogs_ExportTests, SvgAndPdfForOtherPrograms)
{
    // SVG and PDF stand beside the metafiles, without width or smoothing; they write what korvimo-cli writes, and
    // the choice is kept as ExportType 6 and 7.
    for (QRadioButton* r : {form->RadioButton6, form->RadioButton7}) {
        r->setChecked(true);
        EXPECT_FALSE(form->SpinEdit1->isEnabled());
        EXPECT_FALSE(form->AntiAliasedCheckBox->isEnabled());
    }
    form->RadioButton6->setChecked(true);
    answer = scratchFile("plan");
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_TRUE(proposals.last().endsWith("Korvimo_Nieuw.svg"));
    const QByteArray svg = test::readAll(scratchFile("plan.svg"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).constData();
    EXPECT_EQ(ctx.settings.exportType, 6);

    form->RadioButton7->setChecked(true);
    EXPECT_TRUE(form->BitBtn1Click());
    EXPECT_EQ(test::readAll(scratchFile("plan.pdf")).left(5), QByteArray("%PDF-"));
    EXPECT_EQ(ctx.settings.exportType, 7);
    ctx.settings.exportType = 6;
    form->FormActivate();
    EXPECT_TRUE(form->RadioButton6->isChecked());
    EXPECT_EQ(messenger.count(korvimo::RecordingMessenger::Entry::Error), 0) << messenger.texts().join('\n').toStdString();
}

} // namespace
