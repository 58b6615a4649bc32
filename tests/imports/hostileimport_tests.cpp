#include <gtest/gtest.h>

#include "document/documenttestenv.h"
#include "document/tmlb2.h"
#include "library/libfixture.h"

using namespace korvimo;

TEST(Imports_HostileImportTests, CsvWithoutItsTemporaryFileSaysSo)
{
    // The CSV import goes through a temporary OD file. When the temporary folder is missing, or
    // full (a file-size limit makes the write fail as a full disk does), the import reports the
    // temporary file instead of leaving an empty diagram without a word; nothing is left behind.
    test::LibEnv env;
    const QString csv = env.write(QStringLiteral("a.csv"), test::readAll(test::binDir() + "/AddOn/Voorbeeld.csv"));
    const QString realTemp = env.ctx.paths.tempFolder;
    env.ctx.paths.tempFolder = env.temp.path() + QStringLiteral("/no/such/folder/");
    env.files.StromenBestandOpenen(csv);
    ASSERT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(env.messenger.texts()[0].startsWith("Kan tijdelijk bestand " + env.ctx.paths.tempFolder))
        << env.messenger.texts()[0].toStdString();

    env.ctx.paths.tempFolder = realTemp;
    env.messenger.clear();
    env.doc.intensities.clear();
    test::withFileSizeLimit(64, [&] { return env.files.StromenBestandOpenen(csv); });
    ASSERT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(env.messenger.texts()[0].startsWith("Kan tijdelijk bestand " + realTemp))
        << env.messenger.texts()[0].toStdString();
    EXPECT_TRUE(env.leftovers().isEmpty()) << env.leftovers().join(' ').toStdString();

    // With room again the same file reads as before.
    env.messenger.clear();
    env.files.StromenBestandOpenen(csv);
    EXPECT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 0);
    EXPECT_FALSE(env.doc.intensities.isEmpty());
}

TEST(Imports_HostileImportTests, WideTablesFindEveryFieldByName)
{
    // Ten thousand columns: every field is found by its name in any case, the last as the first;
    // a name given twice (in another case) stays one field.
    TMlb2 t;
    for (int i = 0; i < 10000; ++i)
        ASSERT_TRUE(t.AddField(QStringLiteral("Col%1").arg(i)));
    EXPECT_FALSE(t.AddField(QStringLiteral("COL9999")));
    EXPECT_FALSE(t.AddField(QStringLiteral("col0")));
    EXPECT_EQ(t.FieldCount(), 10000);
    t.AddRow();
    EXPECT_TRUE(t.SetData(QStringLiteral("cOL9999"), QStringLiteral("last")));
    EXPECT_TRUE(t.SetData(QStringLiteral("Col0"), QStringLiteral("first")));
    EXPECT_EQ(t.GetData(QStringLiteral("col9999")), "last");
    EXPECT_EQ(t.GetData(QStringLiteral("COL0")), "first");
    EXPECT_EQ(t.GetData(QStringLiteral("Col10000")), "");
    EXPECT_FALSE(t.SetData(QStringLiteral("Col10000"), QStringLiteral("x")));
    // Non-ASCII names compare without case too.
    EXPECT_TRUE(t.AddField(QStringLiteral("Straße")));
    EXPECT_TRUE(t.SetData(QStringLiteral("STRAßE"), QStringLiteral("s")));
    EXPECT_EQ(t.GetData(QStringLiteral("straße")), "s");
}

TEST(Imports_HostileImportTests, WideOdRequestAndLongGeneralSectionReadWhole)
{
    // An OD table with thousands of extra columns still gives its volumes; a general section of
    // thousands of lines merges with the last line of each key winning.
    test::LibEnv env;
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400",
                     "[**Arms**]", "ARMNO;ANGLE;NAME", "1;0;a", "2;90;b", "3;180;c", "4;270;d", "[**OD**]"};
    QString header = QStringLiteral("ARMFROM;ARMTO;VOLUME");
    QString row = QStringLiteral("3;1;250");
    for (int i = 0; i < 5000; ++i) {
        header += QStringLiteral(";X%1").arg(i);
        row += QStringLiteral(";%1").arg(i);
    }
    r << header << row << "1;2;40";
    r << "[**General variables**]";
    for (int i = 0; i < 5000; ++i)
        r << QStringLiteral("title01=t%1").arg(i);
    r << "TITLE02=second";
    env.files.StromenBestandOpenen(env.write(QStringLiteral("wide.kvoimp"), test::crlf(r)));
    EXPECT_EQ(env.volume("0008"), 250);
    EXPECT_EQ(env.volume(odIntensityName(1, 2, 4)), 40);
    EXPECT_EQ(env.doc.general.title[0], "t4999");
    EXPECT_EQ(env.doc.general.title[1], "second");
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
}

TEST(Imports_HostileImportTests, TemplateThatOpensItselfStopsWithOneMessage)
{
    // A library whose template is a version-2 file naming that same template would open the
    // library again and again, each level holding its files. The nesting stops with one message,
    // and no temporary file of any level stays behind.
    test::LibEnv env;
    const QString lib = env.write(QStringLiteral("loop.lib"),
                                  test::crlf({"[###011400###]", "210", "1234-kruispunt", "Loop"}));
    env.ctx.paths.libraryFile = lib;
    const QString v2 = env.write(QStringLiteral("v2.txt"), test::crlf({"210", "1234-kruispunt", "Outer"}));
    EXPECT_EQ(env.files.StromenBestandOpenen(v2), OpenResult::Read);
    EXPECT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 1) << env.messenger.texts().join('\n').toStdString();
    EXPECT_TRUE(env.messenger.texts().value(0).contains(QStringLiteral("verwijst steeds opnieuw")));
    EXPECT_EQ(env.doc.general.title[0], "Outer");
    EXPECT_TRUE(env.leftovers().isEmpty()) << env.leftovers().join(' ').toStdString();
}
