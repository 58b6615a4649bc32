#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "support/testsupport.h"

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(test::binDir() + QStringLiteral("/korvimo-cli"), args);
    CliRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString example(const char* name) { return test::binDir() + QStringLiteral("/AddOn/") + QLatin1String(name); }

} // namespace

TEST(Output_CommandLineHelpTests, HelpVersionAndUnknownOptions)
{
    // --help lists every command on stdout with status 0; COMMAND --help explains that command;
    // --version names the version; an unknown option or command is status 2 with the usage line
    // on stderr, and nothing at all is status 2 too.
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* c : {"render", "convert", "check", "serve", "--out-dir", "--version"})
        EXPECT_TRUE(help.out.contains(QLatin1String(c))) << c;
    const CliRun renderHelp = cli({"render", "--help"});
    EXPECT_EQ(renderHelp.status, 0);
    EXPECT_TRUE(renderHelp.out.startsWith("usage:\n  korvimo-cli render INPUT OUTPUT")) << renderHelp.out.toStdString();
    EXPECT_TRUE(renderHelp.out.contains("Exit status"));
    EXPECT_FALSE(renderHelp.out.contains("korvimo-cli serve"));
    EXPECT_EQ(cli({"serve", "--help"}).status, 0); // not started: it would run until a signal
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("korvimo-cli " KORVIMO_VERSION "\n")) << version.out.toStdString();

    const CliRun unknownOption = cli({"render", "a.kvo", "b.png", "--colour"});
    EXPECT_EQ(unknownOption.status, 2);
    EXPECT_TRUE(unknownOption.err.contains("unknown option \"--colour\"")) << unknownOption.err.toStdString();
    EXPECT_TRUE(unknownOption.err.contains("usage:\n  korvimo-cli render INPUT OUTPUT"));
    EXPECT_FALSE(unknownOption.err.contains("korvimo-cli convert"));
    EXPECT_EQ(cli({"--verbose"}).status, 2);
    EXPECT_EQ(cli({"draw", "a.kvo"}).status, 2);
    const CliRun nothing = cli({});
    EXPECT_EQ(nothing.status, 2);
    EXPECT_TRUE(nothing.err.contains("usage:"));
}

TEST(Output_BatchRenderTests, ManyInputsOneLineEachGoodOnesWrittenFailureIsStatusOne)
{
    // Four inputs into one folder as PNG: the three good ones are written at the given width and
    // reported "ok", the missing one "FAILED", the status is 1. A .csv and a .kvoimp of one name
    // each get their own picture. Without failures the status is 0.
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    QDir().mkpath(dir.filePath("in"));
    QFile::copy(example("Voorbeeld.csv"), dir.filePath("in/Voorbeeld.csv"));
    const QStringList inputs = {example("Voorbeeld.kvo"), example("Voorbeeld.kvoimp"), dir.filePath("in/Voorbeeld.csv"),
                                dir.filePath("missing.kvo")};
    const CliRun r = cli(QStringList{"render"} + inputs + QStringList{"--out-dir", out, "--format", "png", "--width", "240"});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
    EXPECT_EQ(lines[0], "ok " + inputs[0] + " -> " + out + "/Voorbeeld.png");
    EXPECT_EQ(lines[1], "ok " + inputs[1] + " -> " + out + "/Voorbeeld.kvoimp.png");
    EXPECT_EQ(lines[2], "ok " + inputs[2] + " -> " + out + "/Voorbeeld.csv.png");
    EXPECT_TRUE(lines[3].startsWith("FAILED " + inputs[3])) << lines[3].toStdString();
    for (const char* name : {"Voorbeeld.png", "Voorbeeld.kvoimp.png", "Voorbeeld.csv.png"}) {
        QImageReader picture(QDir(out).filePath(QLatin1String(name)));
        EXPECT_EQ(picture.size().width(), 240) << name;
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(r.err.contains("3 of 4 written")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("\r")) << "no progress line when stderr is no terminal";

    const CliRun ok = cli({"render", example("Voorbeeld.kvo"), "--out-dir", out, "--format", "svg"});
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    EXPECT_TRUE(test::readAll(QDir(out).filePath("Voorbeeld.svg")).contains("<svg"));
}

TEST(Output_BatchRenderTests, BadBatchArgumentsAreUsageErrors)
{
    // A format outside the list, --out-dir without --format (or the reverse) and no input are
    // status 2; a folder that does not exist is status 1; nothing is written.
    QTemporaryDir dir;
    const QString kvo = example("Voorbeeld.kvo");
    EXPECT_EQ(cli({"render", kvo, "--out-dir", dir.path(), "--format", "gif"}).status, 2);
    EXPECT_EQ(cli({"render", kvo, "--out-dir", dir.path()}).status, 2);
    EXPECT_EQ(cli({"render", kvo, "--format", "png"}).status, 2);
    EXPECT_EQ(cli({"render", "--out-dir", dir.path(), "--format", "png"}).status, 2);
    EXPECT_EQ(cli({"render", kvo, "--out-dir", dir.filePath("nope"), "--format", "png"}).status, 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
