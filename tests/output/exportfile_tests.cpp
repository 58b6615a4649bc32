#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "canvas/metafileio.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/exportfile.h"
#include "output/pixelexport.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A small diagram of 500 × 250 diagram units with one red band across it.
void bandDiagram(DiagramDocument& doc)
{
    doc.general.diagramwidth = 500;
    doc.general.diagramheight = 250;
    doc.coordinates << QStringLiteral("0001=20;125;") << QStringLiteral("0002=480;125;");
    doc.intensities << QStringLiteral("0001=800;I;") << QStringLiteral("0100=0;V;");
    doc.script << QStringLiteral("LNE;1;0001;0002;[0100];[0001];255;N;A;");
}

struct Fixture {
    Fixture()
    {
        ctx.messenger = &messages;
        bandDiagram(doc);
    }
    RecordingMessenger messages;
    ProgramContext ctx;
    DiagramDocument doc;
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST(Output_ExportFileTests, EveryFormatWritesTheDiagram)
{
    // EMF and WMF carry the drawing at 5000 × 2500 units; pixel files are 1000 × 500; SVG and PDF exist.
    Fixture f;
    ASSERT_TRUE(exportToFile(f.doc, f.ctx, ExportEmf, 1000, true, f.path("plan.emf")));
    ASSERT_TRUE(exportToFile(f.doc, f.ctx, ExportWmf, 1000, true, f.path("plan.wmf")));
    for (const char* name : {"plan.emf", "plan.wmf"}) {
        QString error;
        const std::optional<Metafile> back = readMetafileFile(f.path(name), &error);
        ASSERT_TRUE(back) << name << ": " << error.toStdString();
        EXPECT_EQ(back->width(), 5000) << name;
        EXPECT_EQ(back->height(), 2500) << name;
    }
    EXPECT_EQ(readMetafileFile(f.path("plan.wmf"))->kind(), MetafileKind::Wmf);

    for (int type : {ExportBmp, ExportJpg, ExportPng}) {
        const QString file = f.dir.filePath(QStringLiteral("plan") + exportExtension(type));
        ASSERT_TRUE(exportToFile(f.doc, f.ctx, type, 1000, type != ExportJpg, file));
        const QImage img(file);
        EXPECT_EQ(img.size(), QSize(1000, 500)) << type;
        // The band's middle is red in every format.
        const QRgb mid = img.pixel(500, 270);
        EXPECT_GT(qRed(mid), 230) << type;
        EXPECT_LT(qGreen(mid), 25) << type;
    }

    ASSERT_TRUE(exportByExtension(f.doc, f.ctx, f.path("plan.svg"), 0, false));
    ASSERT_TRUE(exportByExtension(f.doc, f.ctx, f.path("plan.PDF"), 0, false));
    EXPECT_TRUE(test::readAll(f.path("plan.svg")).contains("<svg"));
    EXPECT_TRUE(test::readAll(f.path("plan.PDF")).startsWith("%PDF"));
    EXPECT_TRUE(f.messages.entries.isEmpty()) << f.messages.texts().join('\n').toStdString();
}

TEST(Output_ExportFileTests, ChosenNameGetsItsExtensionAndAsksBeforeOverwriting)
{
    // plan.Jpg becomes plan.Jpg.jpg; an existing file is replaced only after "Overschrijven".
    Fixture f;
    ASSERT_TRUE(exportChosenFile(f.doc, f.ctx, ExportJpg, 100, true, f.path("plan.Jpg")));
    EXPECT_TRUE(QFileInfo::exists(f.path("plan.Jpg.jpg")));
    EXPECT_FALSE(QFileInfo::exists(f.path("plan.Jpg")));
    EXPECT_TRUE(f.messages.entries.isEmpty());

    ASSERT_TRUE(test::writeAll(f.path("old.png"), "keep me"));
    f.messages.answers = {Messenger::No, Messenger::Cancel, Messenger::Yes};
    EXPECT_FALSE(exportChosenFile(f.doc, f.ctx, ExportPng, 100, true, f.path("old.png")));
    EXPECT_FALSE(exportChosenFile(f.doc, f.ctx, ExportPng, 100, true, f.path("old")));
    EXPECT_EQ(test::readAll(f.path("old.png")), "keep me");
    EXPECT_TRUE(exportChosenFile(f.doc, f.ctx, ExportPng, 100, true, f.path("old.png")));
    EXPECT_EQ(QImage(f.path("old.png")).width(), 100);
    EXPECT_EQ(f.messages.count(RecordingMessenger::Entry::Question), 3);
}

TEST(Output_ExportFileTests, FailuresAreReportedAndWriteNothing)
{
    // An unknown extension, a folder that is a file and width 0 are reported; nothing appears.
    Fixture f;
    EXPECT_FALSE(exportByExtension(f.doc, f.ctx, f.path("plan.gif"), 100, true));
    ASSERT_TRUE(test::writeAll(f.path("file"), "x"));
    EXPECT_FALSE(exportByExtension(f.doc, f.ctx, f.path("file/plan.emf"), 100, true));
    EXPECT_FALSE(exportByExtension(f.doc, f.ctx, f.path("file/plan.svg"), 100, true));
    EXPECT_FALSE(exportByExtension(f.doc, f.ctx, f.path("file/plan.png"), 100, true));
    EXPECT_FALSE(ExportAsPixelFile(f.doc, f.ctx, QStringLiteral("BMP"), true, 0, f.path("zero.bmp")));
    ASSERT_EQ(f.messages.count(RecordingMessenger::Entry::Error), 5);
    EXPECT_TRUE(f.messages.entries[0].text.contains(QStringLiteral(".gif")));
    for (int k = 1; k < 4; ++k) {
        const QString& said = f.messages.entries[k].text;
        EXPECT_TRUE(said.contains(f.path("file")) && said.contains(QStringLiteral("Not a directory")))
            << said.toStdString();
    }
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("file")});
}
