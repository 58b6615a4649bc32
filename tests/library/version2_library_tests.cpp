#include <gtest/gtest.h>

#include <QProcess>

#include "library/libfixture.h"

using namespace korvimo;

TEST(Library_Version2Tests, OldFilesOpenThroughTheirTemplates)
{
    // A version-2 four-arm file: template 011400, titles, street names, the twelve volumes and its scale.
    test::LibEnv env;
    QStringList v2 = {"210", "1234-kruispunt", "Titel een", "Titel twee", "Oost", "Noord", "West", "Zuid"};
    for (int i = 1; i <= 12; ++i)
        v2 << QString::number(10 * i);
    v2 << "250";
    const QString path = env.write("oud.kvo", test::crlf(v2));
    EXPECT_EQ(env.files.StromenBestandOpenen(path), OpenResult::Read);
    const char* order[] = {"0003", "0002", "0001", "0004", "0006", "0005", "0008", "0007", "0009", "0012", "0011", "0010"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(env.volume(QLatin1String(order[i])), 10 * (i + 1)) << order[i];
    EXPECT_EQ(env.doc.general.sfactor, 1500);
    EXPECT_EQ(env.doc.general.title[0], "Titel een");
    EXPECT_EQ(env.doc.general.streetname[3], "Zuid");
    EXPECT_FALSE(env.doc.script.isEmpty());
    EXPECT_TRUE(env.leftovers().isEmpty());
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
}

TEST(Library_Version2Tests, ThreeArmTypesTakeOnlyTheirOwnMovements)
{
    // "234-rotonde" opens the roundabout without arm 1: volumes of arm 1 are not added.
    test::LibEnv env;
    QStringList v2 = {"210", "234-rotonde", "", "", "", "", "", ""};
    for (int i = 1; i <= 12; ++i)
        v2 << QString::number(i);
    env.files.StromenBestandOpenen(env.write("r.kvo", test::crlf(v2)));
    EXPECT_EQ(env.volume("0001"), -1);
    EXPECT_EQ(env.volume("0005"), 6);
    EXPECT_EQ(env.doc.general.sfactor, 100 * 417); // highest 12: round(416.7)
    EXPECT_EQ(env.doc.general.title[0], "");
}

TEST(Library_Version2Tests, CommandLineConvertUsesTheLibrary)
{
    // korvimo-cli convert turns the shipped OD example into a diagram file with the template's script.
    QTemporaryDir dir;
    const QString out = dir.path() + "/x.kvo";
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    p.start(test::binDir() + "/korvimo-cli", {"convert", test::binDir() + "/AddOn/Voorbeeld.in", out});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QByteArray kvo = test::readAll(out);
    EXPECT_TRUE(kvo.contains("title01=Kruispunt Marktplein\r\n"));
    EXPECT_TRUE(kvo.contains("\r\nARC;1;0012;0011;"));
    EXPECT_TRUE(kvo.contains("\r\n0008=510;I;\r\n"));
}
