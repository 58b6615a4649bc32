#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/programcontext.h"
#include "output/exportnames.h"
#include "support/testsupport.h"

using namespace korvimo;

TEST(Output_ExportNameTests, ProposedNameUsesTheDiagramName)
{
    // The proposal drops folder and extension and adds the format's; an untitled diagram too.
    ProgramContext ctx;
    EXPECT_EQ(proposedExportFileName(ctx.texts.untitledName(), ExportPng), QStringLiteral("Korvimo_Nieuw.png"));
    EXPECT_EQ(proposedExportFileName(QStringLiteral("/data/kruispunt/plan.v2.kvo"), ExportEmf),
              QStringLiteral("plan.v2.emf"));
    EXPECT_EQ(proposedExportFileName(QStringLiteral("/data/a.b/plan"), ExportWmf), QStringLiteral("plan.wmf"));
    EXPECT_EQ(proposedExportFileName(QStringLiteral("plan.csv"), ExportJpg), QStringLiteral("plan.jpg"));
    EXPECT_EQ(proposedExportFileName(QStringLiteral("plan.kvo"), ExportBmp), QStringLiteral("plan.bmp"));
}

TEST(Output_ExportNameTests, ExtensionIsAppendedUnlessExactlyRight)
{
    // Only the exact, case-sensitive extension is kept; anything else gets it appended.
    EXPECT_EQ(withExportExtension(QStringLiteral("plan"), ExportBmp), QStringLiteral("plan.bmp"));
    EXPECT_EQ(withExportExtension(QStringLiteral("plan.BMP"), ExportBmp), QStringLiteral("plan.BMP.bmp"));
    EXPECT_EQ(withExportExtension(QStringLiteral("plan.Jpg"), ExportJpg), QStringLiteral("plan.Jpg.jpg"));
    EXPECT_EQ(withExportExtension(QStringLiteral("/x/plan.jpg"), ExportJpg), QStringLiteral("/x/plan.jpg"));
    EXPECT_EQ(withExportExtension(QStringLiteral("/x/plan.png"), ExportJpg), QStringLiteral("/x/plan.png.jpg"));
    EXPECT_EQ(withExportExtension(QStringLiteral("/x.emf/plan"), ExportEmf), QStringLiteral("/x.emf/plan.emf"));
    EXPECT_EQ(withExportExtension(QStringLiteral("plan.jpeg"), ExportJpg), QStringLiteral("plan.jpeg.jpg"));
    EXPECT_TRUE(isPixelExportType(ExportPng));
    EXPECT_FALSE(isPixelExportType(ExportWmf));
    EXPECT_EQ(exportExtension(ExportSvg), QStringLiteral(".svg"));
    EXPECT_EQ(exportExtension(ExportPdf), QStringLiteral(".pdf"));
    EXPECT_FALSE(isPixelExportType(ExportSvg));
    EXPECT_EQ(exportExtension(8), QString());
}

TEST(Output_ExportNameTests, OverwriteGoesOnOnlyWithTheFirstButton)
{
    // An existing file asks the question with its full name; only "Overschrijven" goes on.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.png"));
    RecordingMessenger messages;
    ProgramContext ctx;
    ctx.messenger = &messages;
    EXPECT_TRUE(confirmOverwrite(path, ctx)); // nothing there: no question
    EXPECT_TRUE(messages.entries.isEmpty());

    ASSERT_TRUE(test::writeAll(path, "old"));
    messages.answers = {Messenger::Yes, Messenger::No, Messenger::Cancel};
    EXPECT_TRUE(confirmOverwrite(path, ctx));
    EXPECT_FALSE(confirmOverwrite(path, ctx));
    EXPECT_FALSE(confirmOverwrite(path, ctx));
    EXPECT_FALSE(confirmOverwrite(path, ctx)); // closed without an answer
    ASSERT_EQ(messages.entries.size(), 4);
    EXPECT_EQ(messages.entries[0].kind, RecordingMessenger::Entry::Question);
    EXPECT_EQ(messages.entries[0].title, QStringLiteral("Bestand overschrijven?"));
    EXPECT_EQ(messages.entries[0].text, QStringLiteral("Bestand \"%1\" bestaat al.").arg(path));
}
