#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "support/testsupport.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(test::binDir() + "/korvimo-cli", QStringList{"convert"} + args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardError()};
}

} // namespace

TEST(Document_ConvertCommandTests, ConvertsTheSampleAndReportsFailures)
{
    // The bundled sample converts to itself byte for byte; an unreadable input, a malformed
    // input and bad arguments give exit 1, 1 and 2 with a message on stderr and write nothing.
    QTemporaryDir dir;
    const QString sample = test::binDir() + "/AddOn/Voorbeeld.kvo";
    const QString out = dir.filePath("out.kvo");
    const CliRun ok = cli({sample, out});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.constData();
    EXPECT_EQ(test::readAll(out), test::readAll(sample));

    const QString missing = dir.filePath("missing.kvo");
    const CliRun gone = cli({missing, dir.filePath("a.kvo")});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.err.contains("error:"));
    EXPECT_FALSE(QFile::exists(dir.filePath("a.kvo")));

    const QString bad = dir.filePath("bad.kvo");
    test::writeAll(bad, "[**General variables**]\r\nsfactor=veel\r\n");
    const CliRun malformed = cli({bad, dir.filePath("b.kvo")});
    EXPECT_EQ(malformed.exitCode, 1);
    EXPECT_TRUE(malformed.err.contains("'veel' is not a valid integer value"));
    EXPECT_FALSE(QFile::exists(dir.filePath("b.kvo")));

    EXPECT_EQ(cli({sample}).exitCode, 2);
    EXPECT_EQ(cli({sample, dir.filePath("c.png")}).exitCode, 2);
    const CliRun unwritable = cli({sample, bad + "/c.kvo"});
    EXPECT_EQ(unwritable.exitCode, 1);
}
