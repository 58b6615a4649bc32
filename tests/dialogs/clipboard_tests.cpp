// The Diagram-copy command: what lands on the clipboard for each CopyType.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <iostream>

#include "canvas/metafileio.h"
#include "document/diagramfile.h"
#include "document/templatelibrary.h"
#include "output/clipboardcopy.h"
#include "support/testsupport.h"
#include "ui/shellfixture.h"

namespace {

class Dialogs_ClipboardTests : public test::ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        // A real diagram: the four-arm crossing of the library, 500 x 400.
        doc.clearLists();
        auto* lib = form->diagramFile().templateLibrary();
        ASSERT_NE(lib, nullptr);
        ASSERT_TRUE(lib->openTemplate(QStringLiteral("011400"), form->diagramFile()));
        doc.general.diagramwidth = 500;
        doc.general.diagramheight = 400;
        messenger.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    const QMimeData* copy(const char* type)
    {
        ctx.settings.copyType = QString::fromLatin1(type);
        act("EditCopyDiagramAction")->trigger();
        return QGuiApplication::clipboard()->mimeData();
    }
};

TEST_F(Dialogs_ClipboardTests, VectorCopiesCarryTheMetafileAndAPngTwin)
{
    // EMF gives image/x-emf (also under LibreOffice's name) plus image/png of the diagram's size at CopyFactor 1000, WMF image/x-wmf plus image/png; 1500 enlarges by half.
    ASSERT_TRUE(act("EditCopyDiagramAction")->isEnabled());
    const QMimeData* emf = copy("EMF");
    ASSERT_TRUE(emf->hasFormat("image/x-emf"));
    ASSERT_TRUE(emf->hasFormat("image/png"));
    EXPECT_FALSE(emf->hasFormat("image/x-wmf"));
    EXPECT_EQ(emf->data(korvimo::kOfficeEmfMimeType), emf->data("image/x-emf"));
    const auto emfBack = korvimo::readEmf(emf->data("image/x-emf"));
    ASSERT_TRUE(emfBack.has_value());
    EXPECT_EQ(emfBack->width(), 500);
    EXPECT_EQ(emfBack->height(), 400);
    EXPECT_FALSE(emfBack->records().isEmpty());
    const QImage twin = QImage::fromData(emf->data("image/png"), "PNG");
    // Kept for opening in other programs when asked for.
    if (const QString keep = qEnvironmentVariable("KORVIMO_KEEP_CLIPBOARD"); !keep.isEmpty()) {
        QDir().mkpath(keep);
        test::writeAll(keep + "/copy.emf", emf->data("image/x-emf"));
        test::writeAll(keep + "/copy.png", emf->data("image/png"));
    }
    EXPECT_EQ(twin.size(), QSize(500, 400));

    const QMimeData* wmf = copy("WMF");
    ASSERT_TRUE(wmf->hasFormat("image/x-wmf"));
    EXPECT_TRUE(wmf->hasFormat("image/png"));
    EXPECT_EQ(wmf->data("image/x-wmf").left(4), QByteArray("\xD7\xCD\xC6\x9A")); // placeable header
    // LibreOffice takes metafiles only under its own names.
    EXPECT_EQ(wmf->data(korvimo::kOfficeWmfMimeType), wmf->data("image/x-wmf"));
    EXPECT_FALSE(wmf->hasFormat(korvimo::kOfficeEmfMimeType));
    const auto wmfBack = korvimo::readWmf(wmf->data("image/x-wmf"));
    ASSERT_TRUE(wmfBack.has_value());
    EXPECT_EQ(wmfBack->width(), 500);

    ctx.settings.copyFactor = 1500;
    const auto big = korvimo::readEmf(copy("EMF")->data("image/x-emf"));
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->width(), 750);
    EXPECT_EQ(big->height(), 600);
    EXPECT_EQ(korvimo::copyMetafileSize(5000, 4000, 1500), QSize(750, 600));
    EXPECT_EQ(korvimo::copyMetafileSize(5005, 4015, 1000), QSize(500, 402)); // halves to even
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_F(Dialogs_ClipboardTests, PixelCopiesAreImagesOfTheSetWidth)
{
    // PNG and JPG become images CopyPixWidth wide with the diagram's aspect; JPEG carries its small losses; nothing
    // is left in the temporary folder, which holds only what was there before.
    QTemporaryDir temp;
    ctx.paths.tempFolder = temp.path() + QLatin1Char('/');
    ASSERT_TRUE(test::writeAll(temp.filePath("kept.txt"), "before"));
    ctx.settings.copyPixWidth = 300;
    ctx.settings.copyPixAntiAliased = true;
    const QImage png = qvariant_cast<QImage>(copy("PNG")->imageData());
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(300, 240));
    const QImage jpg = qvariant_cast<QImage>(copy("JPG")->imageData());
    ASSERT_FALSE(jpg.isNull());
    EXPECT_EQ(jpg.size(), QSize(300, 240));
    EXPECT_NE(png.convertToFormat(QImage::Format_RGB32), jpg.convertToFormat(QImage::Format_RGB32));
    ctx.settings.copyPixAntiAliased = false;
    EXPECT_EQ(qvariant_cast<QImage>(copy("PNG")->imageData()).size(), QSize(300, 240));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"kept.txt"});
}

TEST_F(Dialogs_ClipboardTests, UnknownTypeAndFailuresLeaveTheClipboard)
{
    // Another CopyType copies nothing and says nothing; a width of 0 is reported and the clipboard keeps its text.
    EXPECT_EQ(copy("GIF")->text(), "before");
    EXPECT_TRUE(messenger.entries.isEmpty());
    ctx.settings.copyPixWidth = 0;
    EXPECT_EQ(copy("PNG")->text(), "before");
    EXPECT_EQ(messenger.count(korvimo::RecordingMessenger::Entry::Error), 1);
}

TEST_F(Dialogs_ClipboardTests, OtherProgramsPasteEveryType)
{
    // Under a real X display (scripts/paste-check.sh) another program reads each copy type while this one owns the clipboard.
    const QString checker = qEnvironmentVariable("KORVIMO_PASTE_CHECKER");
    if (checker.isEmpty())
        GTEST_SKIP() << "set KORVIMO_PASTE_CHECKER, as scripts/paste-check.sh does";
    ctx.settings.copyPixWidth = 600;
    for (const char* type : {"EMF", "WMF", "PNG", "JPG"}) {
        copy(type);
        QProcess reader;
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(checker, {QString::fromLatin1(type)});
        // The clipboard is served from this event loop, so wait in it.
        for (int i = 0; i < 6000 && reader.state() != QProcess::NotRunning; ++i)
            QTest::qWait(50);
        const QString said = QString::fromLocal8Bit(reader.readAll());
        std::cout << type << ":\n" << said.toStdString();
        EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit) << type;
        EXPECT_EQ(reader.exitCode(), 0) << type << '\n' << said.toStdString();
    }
}

} // namespace
