#include <gtest/gtest.h>

#include <QRegularExpression>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

// An OD arm line: identifier, angle, name and up to eight volume cells.
QString armLine(const QString& id, const QString& angle, const QString& name, const QStringList& cells)
{
    QString l = id.leftJustified(5, ' ', true) + angle.leftJustified(3, ' ', true) + name.leftJustified(20, ' ', true);
    for (const QString& c : cells)
        l += c.rightJustified(7, ' ', true);
    return l;
}

} // namespace

TEST(Imports_OdFileTests, FourArmFileMapsItsArmsAgainstTheRotation)
{
    // File arms 1, 2, 3, 4 are diagram arms 1, 4, 3, 2; a blank cell is 0.
    test::LibEnv env;
    const QString path = env.write("k.in", test::crlf({"Second title", "K001 4First title",
        armLine("A", "0", "East", {"", "11", "12", "13"}),
        armLine("B", "270", "", {"120", "", "30", "40"}),
        armLine("C", "180", "West", {"21", "22", "", "23"}),
        armLine("D", "90", "North", {"31", "", "33", ""})}));
    EXPECT_EQ(env.files.StromenBestandOpenen(path), OpenResult::Read);
    EXPECT_EQ(env.doc.general.title[0], "First title");
    EXPECT_EQ(env.doc.general.title[1], "Second title");
    EXPECT_EQ(env.volume("0012"), 120);
    EXPECT_EQ(env.volume("0010"), 30);
    EXPECT_EQ(env.volume("0011"), 40);
    EXPECT_EQ(env.volume("0001"), 11);
    EXPECT_EQ(env.volume("0003"), 13);
    EXPECT_EQ(env.volume("0005"), 0); // diagram arm 2 to arm 4: the blank cell
    EXPECT_EQ(env.doc.general.streetname[3], "B"); // blank name: the identifier
    EXPECT_EQ(env.doc.general.streetname[1], "North");
    EXPECT_EQ(env.doc.general.arm[3], "0041;0042;270");
    EXPECT_EQ(env.doc.general.sfactor, 4200); // highest 120: round(41.7) x 100
    EXPECT_EQ(env.doc.fileName, env.files.untitledName());
    EXPECT_FALSE(env.doc.isModified());
    EXPECT_TRUE(env.leftovers().isEmpty());
}

TEST(Imports_OdFileTests, FiveArmsAndTwoArmsUseTheirTemplates)
{
    // Five arms map to diagram arms 1, 5, 4, 3, 2; two arms use the three-arm template without arm 2.
    test::LibEnv env;
    QStringList five = {"t2", "X    5"};
    for (int i = 1; i <= 5; ++i)
        five << armLine(QString::number(i), QString::number(72 * (i - 1)), "", {"1", "2", "3", "4", "5"});
    env.files.StromenBestandOpenen(env.write("five.in", test::crlf(five)));
    EXPECT_EQ(env.volume("0001"), 2); // file arm 1 to file arm 2 = diagram arm 5
    EXPECT_EQ(env.doc.general.title[0], "X"); // blank title: the identifier
    EXPECT_EQ(env.doc.general.arm[4].section(';', 2), "72"); // file arm 2 is diagram arm 5

    test::LibEnv env2;
    env2.files.StromenBestandOpenen(env2.write("two.in", test::crlf({"", "Y    2T",
        armLine("1", "0", "Een", {"", "50"}), armLine("2", "180", "Twee", {"60", ""})})));
    EXPECT_EQ(env2.doc.general.streetname[2], "Twee");
    EXPECT_EQ(env2.doc.general.streetname[1], "");
    EXPECT_EQ(env2.volume("0002"), 50);
    EXPECT_EQ(env2.volume("0008"), 60);
    for (const char* n : {"0003", "0004", "0006", "0007"})
        EXPECT_EQ(env2.volume(QLatin1String(n)), 0) << n;
}

TEST(Imports_OdFileTests, BadArmCountsAndShortFilesSetOnlyWhatTheyHave)
{
    // An arm count of 9 makes no diagram: refused with its reason, nothing set; missing arm lines
    // keep the template.
    test::LibEnv env;
    EXPECT_EQ(env.files.StromenBestandOpenen(env.write("bad.in", test::crlf({"T2", "ID   9Title"}))),
              OpenResult::NotADiagram);
    EXPECT_EQ(env.doc.general.title[0], "Title01");
    EXPECT_TRUE(env.doc.script.isEmpty());
    ASSERT_EQ(env.messenger.entries.size(), 1);
    EXPECT_TRUE(env.messenger.entries[0].text.contains(env.ctx.texts.text("AA00199")));

    test::LibEnv env2;
    env2.files.StromenBestandOpenen(
        env2.write("short.in", test::crlf({"T2", "ID   4", QStringLiteral("A    x").leftJustified(28) + "      0     15"})));
    EXPECT_EQ(env2.volume("0001"), 15);
    EXPECT_EQ(env2.doc.general.arm[0], "0011;0012;0"); // "x" reads as 0 and is stored so
    EXPECT_EQ(env2.doc.coordinates.filter(QRegularExpression("^0011=")).value(0), "0011=324;308;");
    EXPECT_EQ(env2.doc.general.streetname[0], "A");
    EXPECT_GT(env2.volume("0007"), 0); // diagram arm 3 was not in the file
}

TEST(Imports_CsvFileTests, FieldsAreCutAndPaddedIntoOdColumns)
{
    // Names keep 20 characters, volumes their first 7, and only eight arm lines are converted.
    QStringList csv = {"Kruispunt A;;", "K001;4;Ochtendspits", "1;0;Noord;0;120;300;45"};
    const QStringList od = csvToOdLines(csv, ";");
    ASSERT_EQ(od.size(), 3);
    EXPECT_EQ(od[0], "Kruispunt A");
    EXPECT_EQ(od[1], "K001 4Ochtendspits");
    EXPECT_EQ(od[2], "1    0  Noord               " + QString("0").rightJustified(7) + QString("120").rightJustified(7)
                         + QString("300").rightJustified(7) + QString("45").rightJustified(7).repeated(5));
    QStringList twelve = {"", "id;8;t"};
    for (int i = 0; i < 12; ++i)
        twelve << QStringLiteral("%1;0;A name of twenty-five chars;123456789").arg(i);
    const QStringList od12 = csvToOdLines(twelve, ";");
    ASSERT_EQ(od12.size(), 10);
    EXPECT_EQ(od12[2].mid(8, 20), "A name of twenty-fiv");
    EXPECT_EQ(od12[2].mid(28, 7), "1234567");
    EXPECT_EQ(csvToOdLines({"", "id;12;t"}, ";")[1].mid(5, 1), "1");
    EXPECT_EQ(csvToOdLines({"", "id;;t"}, ";")[1], "id    t");
    EXPECT_EQ(csvToOdLines({"a,b", "x,4,y"}, ",")[1], "x    4y");
    EXPECT_EQ(csvToOdLines({}, ";"), (QStringList{"", "      "}));
}

TEST(Imports_CsvFileTests, TheSeparatorSettingIsHonouredAndNoFileIsLeft)
{
    // With CSVsep "," a comma file reads like the semicolon one; the temporary OD file is removed.
    test::LibEnv env;
    env.ctx.settings.csvSep = ",";
    env.files.StromenBestandOpenen(env.write("c.csv", test::crlf({"T2,,", "K,4,T1", "A,0,East,0,10,20,30",
                                                                   "B,270,South,40,0,50,60"})));
    EXPECT_EQ(env.doc.general.title[0], "T1");
    EXPECT_EQ(env.volume("0003"), 30);
    EXPECT_EQ(env.volume("0012"), 40);
    EXPECT_EQ(env.doc.general.streetname[3], "South");
    EXPECT_TRUE(env.leftovers().isEmpty()) << env.leftovers().join(' ').toStdString();
}
