#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

struct Outcome {
    QStringList volumes;
    QStringList coordinates;
    std::array<QString, 16> arms;
    std::array<QString, 16> streets;
    std::array<QString, 5> titles;
    int sfactor = 0;
};

Outcome open(const QString& example)
{
    test::LibEnv env;
    env.files.StromenBestandOpenen(test::binDir() + QStringLiteral("/AddOn/") + example);
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << example.toStdString() << ": "
                                                 << env.messenger.texts().join('\n').toStdString();
    EXPECT_TRUE(env.leftovers().isEmpty()) << example.toStdString();
    EXPECT_FALSE(env.doc.isModified());
    return {env.doc.intensities, env.doc.coordinates, env.doc.general.arm, env.doc.general.streetname,
            env.doc.general.title, env.doc.general.sfactor};
}

} // namespace

TEST(Imports_SameCountTests, OdCsvAndRequestsGiveTheSameDiagram)
{
    // The shipped examples describe one four-arm count four ways: every result is the same.
    const Outcome od = open("Voorbeeld.in");
    ASSERT_EQ(od.arms[0], "0011;0012;10");
    EXPECT_EQ(od.arms[1], "0021;0022;95");
    EXPECT_EQ(od.arms[3], "0041;0042;280");
    EXPECT_EQ(od.streets[3], "Stationslaan");
    EXPECT_EQ(od.titles[0], "Kruispunt Marktplein");
    EXPECT_EQ(od.sfactor, 1000); // highest 510
    EXPECT_TRUE(od.volumes.contains("0008=510;I;"));
    EXPECT_TRUE(od.volumes.contains("0003=120;I;"));
    for (const char* other : {"Voorbeeld.csv", "Voorbeeld.kvoimp", "Voorbeeld-DIR.kvoimp"}) {
        SCOPED_TRACE(other);
        const Outcome o = open(QLatin1String(other));
        EXPECT_EQ(o.volumes, od.volumes);
        EXPECT_EQ(o.coordinates, od.coordinates);
        EXPECT_EQ(o.arms, od.arms);
        EXPECT_EQ(o.streets, od.streets);
        EXPECT_EQ(o.titles[0], od.titles[0]);
        EXPECT_EQ(o.titles[1], od.titles[1]);
        EXPECT_EQ(o.sfactor, od.sfactor);
    }
}

TEST(Imports_SameCountTests, TheCommandLineDrawsEachOfThem)
{
    // korvimo-cli render makes a picture of the count from each of its four files.
    QTemporaryDir dir;
    for (const char* example : {"Voorbeeld.in", "Voorbeeld.csv", "Voorbeeld.kvoimp", "Voorbeeld-DIR.kvoimp"}) {
        SCOPED_TRACE(example);
        const QString out = dir.path() + "/" + example + ".png";
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("XDG_CONFIG_HOME", dir.path() + "/config"); // the program's own default settings
        p.setProcessEnvironment(e);
        p.start(test::binDir() + "/korvimo-cli",
                {"render", test::binDir() + "/AddOn/" + example, out, "--width", "400"});
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QImage img(out);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.width(), 400);
    }
}
