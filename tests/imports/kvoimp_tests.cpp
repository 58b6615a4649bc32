#include <gtest/gtest.h>

#include <QStringEncoder>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

QStringList request(const QString& volumesType, const QStringList& arms, const QStringList& table,
                    const QString& base = "011400")
{
    QStringList r = {"[**Import variables**]", "VolumesType=" + volumesType, "BaseDiagramFromLibrary=" + base,
                     "ExportSizeWidth=800", "[**Arms**]", "ARMNO;ANGLE;NAME"};
    r += arms;
    r << (volumesType == "DIR" ? "[**DIR**]" : "[**OD**]");
    r += table;
    return r;
}

} // namespace

TEST(Imports_KvoimpTests, ArmsNamesAndOdVolumesFollowTheNumbering)
{
    // Three arm rows on a four-arm template: K is 4 and arm 3 to arm 1 is 0008; unset volumes are 0.
    test::LibEnv env;
    const QString path = env.write("r.kvoimp", test::crlf(request("OD", {"1;45;\"Main Street\"", "2;90;Main Street", "3;180;c"},
                                                                    {"ARMFROM;ARMTO;VOLUME", "3;1;250", "1;2;x", "1;9;5", "2;2;7"})));
    env.files.StromenBestandOpenen(path);
    EXPECT_EQ(env.volume("0008"), 250);
    EXPECT_EQ(env.volume("0003"), 0);
    EXPECT_EQ(env.volume("0002"), 0);
    EXPECT_EQ(env.doc.general.arm[0], "0011;0012;45");
    EXPECT_EQ(env.doc.general.streetname[0], "Main Street");
    EXPECT_EQ(env.doc.general.streetname[1], "MainStreet");
    EXPECT_EQ(env.ctx.settings.exportBmpSize, 800);
    EXPECT_EQ(env.doc.fileName, env.files.untitledName());
    EXPECT_TRUE(env.leftovers().isEmpty()) << env.leftovers().join(' ').toStdString();
    // The rows outside the numbering carry volumes that have no place: named, not dropped.
    ASSERT_EQ(env.messenger.entries.size(), 1) << env.messenger.texts().join('\n').toStdString();
    EXPECT_TRUE(env.messenger.entries[0].text.contains(env.ctx.texts.format("AA00203", {"1", "9", "5"})));
    EXPECT_TRUE(env.messenger.entries[0].text.contains(env.ctx.texts.format("AA00203", {"2", "2", "7"})));
}

TEST(Imports_KvoimpTests, FiveArmRowsNumberWithKFive)
{
    // With five rows arm 1 to arm 2 is 0004 and arm 2 to arm 1 is 0005, on the five-arm template.
    test::LibEnv env;
    env.files.StromenBestandOpenen(env.write("r5.kvoimp", test::crlf(request("OD", {"1;0;a", "2;72;b", "3;144;c", "4;216;d", "5;288;e"},
                                                                           {"ARMFROM;ARMTO;VOLUME", "1;2;11", "2;1;22"}, "010500"))));
    EXPECT_EQ(env.volume("0004"), 11);
    EXPECT_EQ(env.volume("0005"), 22);
}

TEST(Imports_KvoimpTests, GeneralVariablesReplaceTemplateLinesOnly)
{
    // TITLE01=x replaces title01=...; a key the template lacks is not added; DIR volumes go by name.
    test::LibEnv env;
    QStringList r = request("DIR", {}, {"DIRECTION;VOLUME", "0007;300", "0099;5", "7;9"});
    r << "[**General variables**]" << "TITLE01=first" << "TITLE01=x" << "nosuchkey=1" << "sfill=0";
    env.files.StromenBestandOpenen(env.write("g.kvoimp", test::crlf(r)));
    EXPECT_EQ(env.doc.general.title[0], "x");
    EXPECT_FALSE(env.doc.general.sfill);
    EXPECT_EQ(env.volume("0007"), 300);
    EXPECT_EQ(env.volume("0099"), -1);
    EXPECT_EQ(env.doc.general.sfactor, 1700);
}

TEST(Imports_KvoimpTests, MissingSectionsGiveDefaults)
{
    // No import variables names no template: refused, nothing set; an unknown volume type leaves
    // all volumes 0 and a width below 1 gives 600.
    test::LibEnv env;
    env.ctx.settings.exportBmpSize = 1234;
    EXPECT_EQ(env.files.StromenBestandOpenen(env.write("e.kvoimp", test::crlf({"[**Arms**]", "ARMNO;ANGLE", "1;5"}))),
              OpenResult::NotADiagram);
    EXPECT_EQ(env.ctx.settings.exportBmpSize, 1234);
    EXPECT_TRUE(env.doc.script.isEmpty());

    test::LibEnv env2;
    QStringList r = request("od", {"1;0;a"}, {"ARMFROM;ARMTO;VOLUME", "1;2;99"});
    r[3] = "ExportSizeWidth=0";
    env2.files.StromenBestandOpenen(env2.write("t.kvoimp", test::crlf(r)));
    EXPECT_EQ(env2.volume("0003"), 0);
    EXPECT_EQ(env2.ctx.settings.exportBmpSize, 600);
    EXPECT_FALSE(env2.doc.script.isEmpty());
}

TEST(Imports_KvoimpTests, ByteOrderMarksSelectTheEncodingAndNamesArriveWhole)
{
    // UTF-8 and UTF-16 requests with names outside Windows-1252 keep every character.
    QStringList lines = request("OD", {QString::fromUtf8("1;0;\"\u0141\u00f3d\u017a \u0394\""),
                                       QString::fromUtf8("2;90;\u00e9t\u00e9")},
                                {"ARMFROM;ARMTO;VOLUME", "1;2;10"});
    const QString joined = lines.join("\r\n") + "\r\n";
    const QByteArray utf8 = "\xEF\xBB\xBF" + joined.toUtf8();
    QStringEncoder le(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QStringEncoder be(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    const QByteArray u16le = le(joined);
    const QByteArray u16be = be(joined);
    for (const QByteArray& bytes : {utf8, u16le, u16be}) {
        test::LibEnv env;
        env.files.StromenBestandOpenen(env.write("u.kvoimp", bytes));
        EXPECT_EQ(env.doc.general.streetname[0], QString::fromUtf8("\u0141\u00f3d\u017a \u0394"));
        EXPECT_EQ(env.doc.general.streetname[1], QString::fromUtf8("\u00e9t\u00e9"));
        EXPECT_EQ(env.volume("0003"), 10);
    }
}

TEST(Imports_KvoimpTests, FixedScaleReplacesTheScaleFromTheHighestVolume)
{
    // FixedScale=700 holds whatever the volumes; a value that is no scale is reported and the
    // scale follows the highest volume (800 gives 600).
    const QStringList arms = {"1;0;a", "2;90;b", "3;180;c", "4;270;d"};
    for (const char* volume : {"800", "80"}) {
        test::LibEnv env;
        QStringList r = request("OD", arms, {"ARMFROM;ARMTO;VOLUME", QString("1;2;") + volume});
        r.insert(1, "FixedScale=700");
        env.files.StromenBestandOpenen(env.write("f.kvoimp", test::crlf(r)));
        EXPECT_EQ(env.doc.general.sfactor, 700) << volume;
        EXPECT_TRUE(env.messenger.entries.isEmpty());
    }
    for (const char* bad : {"FixedScale=x", "FixedScale=0", "fixedscale=-5"}) {
        test::LibEnv env;
        QStringList r = request("OD", arms, {"ARMFROM;ARMTO;VOLUME", "1;2;800"});
        r.insert(1, bad);
        env.files.StromenBestandOpenen(env.write("b.kvoimp", test::crlf(r)));
        EXPECT_EQ(env.doc.general.sfactor, 600) << bad;
        ASSERT_EQ(env.messenger.entries.size(), 1) << bad;
        EXPECT_TRUE(env.messenger.texts().value(0).contains(QString(bad).section('=', 1))) << bad;
    }
}
