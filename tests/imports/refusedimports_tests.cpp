#include <gtest/gtest.h>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

// Opens bytes as the named file over a document that holds the user's work;
// the result, with the work checked to be untouched.
OpenResult openOverWork(test::LibEnv& env, const QString& name, const QByteArray& bytes)
{
    env.doc.script = {QStringLiteral("GRP;1;Frame;")};
    env.doc.intensities = {QStringLiteral("0001=9;I;")};
    env.doc.fileName = QStringLiteral("/home/u/work.kvo");
    env.doc.setModified(true);
    const OpenResult r = env.files.StromenBestandOpenen(env.write(name, bytes));
    EXPECT_EQ(env.doc.script, QStringList{QStringLiteral("GRP;1;Frame;")});
    EXPECT_EQ(env.doc.intensities, QStringList{QStringLiteral("0001=9;I;")});
    EXPECT_EQ(env.doc.fileName, QStringLiteral("/home/u/work.kvo"));
    EXPECT_TRUE(env.doc.isModified());
    return r;
}

} // namespace

TEST(Imports_RefusedTests, DataFilesThatMakeNoDiagramAreRefusedWithTheirReason)
{
    // Empty or wordy CSV files, OD files without an arm count or volumes and requests for a
    // template that is not in the library are refused naming the file and why; nothing is made.
    const QByteArray kvoimpHead = "[**Import variables**]\r\nVolumesType=OD\r\n";
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reasonKey;
    } cases[] = {
        {"empty.csv", QByteArray(), "AA00206"},
        {"words.csv", "hello;world\r\n", "AA00199"},
        {"numbers.csv", "1;2;3\r\n", "AA00199"},
        {"nine.csv", "t\r\nK;9;x\r\n1;0;a;0;5;5;5\r\n", "AA00199"},
        {"novolumes.csv", "t\r\nK;4;x\r\n1;0;a\r\n2;90;b;;;;\r\n", "AA00200"},
        {"noarms.in", "title\r\nK001 Title\r\nA    0  East         0     11\r\n", "AA00199"},
        {"novolumes.in", "title\r\nK001 4Title\r\nA    0  East\r\nB    90 North   x\r\n", "AA00200"},
        {"unknown.kvoimp", kvoimpHead + "BaseDiagramFromLibrary=123456\r\n", "AA00201"},
        {"none.kvoimp", kvoimpHead + "[**OD**]\r\nARMFROM;ARMTO;VOLUME\r\n1;2;5\r\n", "AA00207"},
        {"blank.kvoimp", "\r\n\r\n", "AA00206"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::LibEnv env;
        env.ctx.settings.exportBmpSize = 1234;
        EXPECT_EQ(openOverWork(env, QString::fromLatin1(c.name), c.bytes), OpenResult::NotADiagram);
        ASSERT_EQ(env.messenger.entries.size(), 1) << env.messenger.texts().join('\n').toStdString();
        const QString& said = env.messenger.entries[0].text;
        EXPECT_TRUE(said.contains(QString::fromLatin1(c.name))) << said.toStdString();
        const QString reason = env.ctx.texts.text(QString::fromLatin1(c.reasonKey)).section(QLatin1Char('%'), 0, 0);
        EXPECT_TRUE(said.contains(reason)) << said.toStdString();
        EXPECT_EQ(env.ctx.settings.exportBmpSize, 1234); // a refused request sets nothing
        EXPECT_TRUE(env.leftovers().isEmpty());
    }
}

TEST(Imports_RefusedTests, OneReadableVolumeOrAKnownTemplateIsEnough)
{
    // The checks stop at the first sign of a diagram: one volume among blanks, a request with a
    // known template and no volumes at all (those stay 0, as requested).
    test::LibEnv env;
    EXPECT_EQ(env.files.StromenBestandOpenen(env.write("one.csv", "t\r\nK;4;x\r\n1;0;a;;;7\r\n")), OpenResult::Read);
    EXPECT_EQ(env.volume("0002"), 7);

    test::LibEnv env2;
    EXPECT_EQ(env2.files.StromenBestandOpenen(env2.write("plain.kvoimp",
                  "[**Import variables**]\r\nBaseDiagramFromLibrary=011400\r\n")),
              OpenResult::Read);
    EXPECT_FALSE(env2.doc.script.isEmpty());
    EXPECT_TRUE(env2.messenger.entries.isEmpty());
}
