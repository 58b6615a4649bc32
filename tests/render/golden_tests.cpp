#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "canvas/metafileio.h"
#include "document/diagramfile.h"
#include "rendertestsupport.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// The golden diagrams: every x.kvo in tests/data/render beside its x-ref.txt.
// KORVIMO_UPDATE_GOLDEN=1 rewrites the references (check them by eye first).
QStringList goldenDiagrams()
{
    return QDir(test::dataPath("render")).entryList({"*.kvo"}, QDir::Files, QDir::Name);
}

QStringList fileLines(const QString& path)
{
    QString text = QString::fromUtf8(test::readAll(path));
    if (text.endsWith('\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split('\n');
}

} // namespace

TEST(Render_GoldenTests, BandDiagramsRecordExactlyTheReferenceCalls)
{
    // Each band diagram, opened as the program opens it, records the reference calls in order.
    const QStringList names = goldenDiagrams();
    ASSERT_GE(names.size(), 4);
    const bool update = qEnvironmentVariableIntValue("KORVIMO_UPDATE_GOLDEN") == 1;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        rtest::Rig r;
        DiagramFile file(r.ctx, r.doc);
        ASSERT_EQ(file.StromenBestandOpenen(test::dataPath("render/" + name)), OpenResult::Read);
        r.messenger.clear();
        r.render("EMF", "E");
        EXPECT_TRUE(r.outcome.completed);
        EXPECT_TRUE(r.messenger.entries.isEmpty());
        const QString refPath = test::dataPath("render/" + QString(name).replace(".kvo", "-ref.txt"));
        if (update)
            test::writeAll(refPath, r.target.dump().toUtf8());
        EXPECT_TRUE(rtest::sameLines(r.target.dumpLines(), fileLines(refPath)));
    }
}

TEST(Render_GoldenTests, CommandLineWritesEveryFormatAndTheCheckDump)
{
    // korvimo-cli render writes .txt equal to the reference, a valid .emf/.wmf and a .png; check prints blocks.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cli = test::binDir() + "/korvimo-cli";
    const QString input = test::dataPath("render/bands-positive.kvo");
    auto run = [&](const QStringList& args, QByteArray* out = nullptr) {
        QProcess p;
        p.start(cli, args);
        p.waitForFinished(60000);
        if (out)
            *out = p.readAllStandardOutput();
        return p.exitCode();
    };
    const QString txt = dir.filePath("b.txt");
    ASSERT_EQ(run({"render", input, txt}), 0);
    QStringList dumped = fileLines(txt);
    QStringList ref = fileLines(test::dataPath("render/bands-positive-ref.txt"));
    EXPECT_TRUE(rtest::sameLines(dumped, ref));

    for (const char* ext : {"emf", "wmf"}) {
        const QString path = dir.filePath(QStringLiteral("b.") + ext);
        ASSERT_EQ(run({"render", input, path}), 0) << ext;
        QString error;
        const auto back = readMetafileFile(path, &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_GT(back->records().size(), 40) << ext;
    }
    const QString png = dir.filePath("b.png");
    // Pixel pictures take the export width, and the height follows the drawing.
    ASSERT_EQ(run({"render", input, png, "--width", "400"}), 0);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(400, 350));

    QByteArray out;
    EXPECT_EQ(run({"check", input}, &out), 0);
    EXPECT_TRUE(out.startsWith("Values * 1000\n=================================")) << out.left(80).constData();
    EXPECT_EQ(out.count("PijlX2Punt,PijlY2Punt="), 6);

    // Bad arguments are 2; a missing input is 1 and writes nothing.
    EXPECT_EQ(run({"render", input}), 2);
    EXPECT_EQ(run({"render", input, dir.filePath("b.xyz")}), 2);
    EXPECT_EQ(run({"render", input, txt, "--bogus"}), 2);
    EXPECT_EQ(run({"render", dir.filePath("missing.kvo"), dir.filePath("m.emf")}), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("m.emf")));
}

TEST(Render_GoldenTests, StoppedDrawingIsStillWrittenWithStatusOne)
{
    // A malformed version field stops the drawing; the picture holds the lines before it; exit 1.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray kvo = test::readAll(test::dataPath("render/bands-positive.kvo"));
    kvo.replace("LNE;1;0005;0006;", "LNE;x;0005;0006;");
    const QString input = dir.filePath("broken.kvo");
    ASSERT_TRUE(test::writeAll(input, kvo));
    QProcess p;
    p.start(test::binDir() + "/korvimo-cli", {"render", input, dir.filePath("broken.txt")});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("'x' is not a valid integer value"));
    const QStringList lines = fileLines(dir.filePath("broken.txt"));
    EXPECT_EQ(lines.filter("Polygon").size(), 1 + 2); // the first band; the second band with its head
}
