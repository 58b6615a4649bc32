// The print dialog: jobs printed to PDF files, the preview, and what
// closing writes back into the diagram.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

#include "dialogs/dialogfixture.h"
#include "support/testsupport.h"
#include "ui/dialogs/tafdrukkenform.h"

using korvimo::TAfdrukkenForm;

namespace {

// Pages of a PDF file as its page objects count them.
int pdfPages(const QString& path)
{
    const QByteArray bytes = test::readAll(path);
    return int(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s])"))));
}

class Dialogs_PrintTests : public test::DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(library.OpenBestandUitLib(QStringLiteral("011400"), files, false));
        doc.setModified(false);
        messenger.clear();
        form = std::make_unique<TAfdrukkenForm>(ctx, doc);
        form->usePdfPrinter();
        form->pdfFileName = [this](const QString& proposed) {
            proposals << proposed;
            return answer;
        };
        form->FormActivate();
    }
    std::unique_ptr<TAfdrukkenForm> form;
    QStringList proposals;
    QString answer;
};

TEST_F(Dialogs_PrintTests, ThreeCopiesAreThreeJobsOfOnePage)
{
    // Three copies write three PDF files of one page each, for metafile and for bitmap printing; a cancelled file name prints nothing.
    answer.clear();
    EXPECT_EQ(form->BitBtn1Click(), 0);
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_EQ(proposals[0], "Korvimo_Nieuw.pdf");

    answer = scratchFile("plan.pdf");
    form->AantalSpinEdit1->setValue(3);
    EXPECT_EQ(form->BitBtn1Click(), 3);
    for (const char* name : {"plan.pdf", "plan-2.pdf", "plan-3.pdf"})
        EXPECT_EQ(pdfPages(scratchFile(QString::fromLatin1(name))), 1) << name;
    EXPECT_FALSE(QFile::exists(scratchFile("plan-4.pdf")));

    ctx.settings.printType = QStringLiteral("BMP");
    ctx.settings.printBmpSize = 600;
    form->FormActivate(); // copies back to 1
    EXPECT_EQ(form->AantalSpinEdit1->value(), 1);
    form->AantalSpinEdit1->setValue(3);
    answer = scratchFile("bitmap");
    EXPECT_EQ(form->BitBtn1Click(), 3);
    EXPECT_EQ(pdfPages(scratchFile("bitmap.pdf")), 1);
    EXPECT_EQ(pdfPages(scratchFile("bitmap-3.pdf")), 1);
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();

    // Kept for looking at when asked for.
    const QString keep = qEnvironmentVariable("KORVIMO_KEEP_PRINT");
    if (!keep.isEmpty()) {
        QFile::remove(keep);
        QFile::copy(scratchFile("plan.pdf"), keep);
    }
}

TEST_F(Dialogs_PrintTests, LookingAndChangingThePrinterLeaveTheDiagram)
{
    // Activation and a new paper only rebuild the preview: the diagram stays unmodified and its fields as they were.
    const korvimo::GeneralVariables before = doc.general;
    const QRect a4 = form->previewPaperGeometry();
    EXPECT_EQ(a4.height(), 262);
    EXPECT_LT(a4.width(), a4.height());
    EXPECT_FALSE(form->previewImage().isNull());
    EXPECT_EQ(form->pagePicture().width(), form->page().width);

    form->printer().setPageOrientation(QPageLayout::Landscape);
    form->buildPreview();
    EXPECT_EQ(form->previewPaperGeometry().width(), 262);
    EXPECT_GT(form->previewPaperGeometry().width(), form->previewPaperGeometry().height());
    form->BitBtn2->click();
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.general.printheader1, before.printheader1);
    EXPECT_EQ(doc.general.printdiagramsize, before.printdiagramsize);
}

TEST_F(Dialogs_PrintTests, EditsAreStoredOnCloseStrikeoutOnlyShown)
{
    // Changed fields and a bold, underlined, struck-out font are stored as "YNY" on close and the diagram is marked; strikeout shows in the preview only.
    int menuUpdates = 0;
    form->afterChange = [&] { ++menuUpdates; };
    form->GrootteSpinEdit->setValue(50);
    form->KoptekstEdit1->setText(QStringLiteral("Bijlage 7"));
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(14);
    font.setBold(true);
    font.setUnderline(true);
    font.setStrikeOut(true);
    form->setHeaderFont(font);
    EXPECT_TRUE(form->changed());
    EXPECT_EQ(form->pagePicture().records().last().type, korvimo::MetaRecordType::LineTo);
    form->BitBtn2->click(); // any button stores
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(menuUpdates, 1);
    EXPECT_EQ(doc.general.printdiagramsize, 50);
    EXPECT_EQ(doc.general.printheader1, "Bijlage 7");
    EXPECT_EQ(doc.general.printfontname, "Courier New");
    EXPECT_EQ(doc.general.printfontsize, 14);
    EXPECT_EQ(doc.general.printfontstyle, "YNY");

    // Shown again: bold and underlined come back, and the strikeout of this run stays in view.
    doc.setModified(false);
    form->FormActivate();
    EXPECT_TRUE(form->headerFont().bold());
    EXPECT_TRUE(form->headerFont().underline());
    EXPECT_FALSE(form->headerFont().italic());
    EXPECT_EQ(form->LinksSpinEdit->value(), 20);
    EXPECT_FALSE(form->changed());
    form->BitBtn2->click();
    EXPECT_FALSE(doc.isModified());
}

} // namespace
