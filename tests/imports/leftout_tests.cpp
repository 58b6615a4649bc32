#include <gtest/gtest.h>

#include "library/libfixture.h"

using namespace korvimo;

namespace {

QByteArray request011301(const QStringList& od)
{
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011301",
                     "[**Arms**]", "ARMNO;ANGLE;NAME", "2;90;b", "3;180;c", "4;270;d", "[**OD**]",
                     "ARMFROM;ARMTO;VOLUME"};
    return test::crlf(r + od);
}

} // namespace

TEST(Imports_LeftOutTests, VolumesTheTemplateCannotPlaceAreNamedInOneWarning)
{
    // Template 011301 has no arm 1: the volumes from and to arm 1 are named with their arms in one
    // warning; the diagram is still made from the others, and the open procedure says DataLeftOut.
    test::LibEnv env;
    const QString path = env.write("arm1.kvoimp", request011301({"1;2;120", "3;1;80", "2;3;50", "1;4;0", "4;2;35"}));
    EXPECT_EQ(env.files.StromenBestandOpenen(path), OpenResult::DataLeftOut);
    EXPECT_EQ(env.volume("0006"), 50); // arm 2 to arm 3
    EXPECT_EQ(env.volume("0011"), 35); // arm 4 to arm 2
    EXPECT_FALSE(env.doc.script.isEmpty());
    EXPECT_FALSE(env.doc.isModified());
    ASSERT_EQ(env.messenger.entries.size(), 1) << env.messenger.texts().join('\n').toStdString();
    EXPECT_EQ(env.messenger.entries[0].kind, RecordingMessenger::Entry::Warning);
    const QString said = env.messenger.entries[0].text;
    EXPECT_TRUE(said.contains(path)) << said.toStdString();
    EXPECT_TRUE(said.contains(env.ctx.texts.format("AA00203", {"1", "2", "120"}))) << said.toStdString();
    EXPECT_TRUE(said.contains(env.ctx.texts.format("AA00203", {"3", "1", "80"}))) << said.toStdString();
    EXPECT_FALSE(said.contains(": 50")) << said.toStdString();
    EXPECT_FALSE(said.contains(": 0")) << said.toStdString(); // a volume of 0 loses nothing

    // A request that fits reads as before, without a word.
    test::LibEnv fits;
    EXPECT_EQ(fits.files.StromenBestandOpenen(fits.write("fits.kvoimp", request011301({"2;3;50"}))), OpenResult::Read);
    EXPECT_TRUE(fits.messenger.entries.isEmpty());
}

TEST(Imports_LeftOutTests, DirectionsAndOdColumnsWithoutALineAreNamedToo)
{
    // A DIR row whose direction has no intensity line, OD rows of a request with nine arms, and an
    // OD-file column the template lacks are reported; the CSV import names the CSV file, not the
    // temporary OD file it reads through.
    test::LibEnv dir;
    const QString dirPath = dir.write("d.kvoimp", test::crlf({"[**Import variables**]", "VolumesType=DIR",
        "BaseDiagramFromLibrary=011301", "[**DIR**]", "DIRECTION;VOLUME", "0005;10", "0001;77", "0099;3"}));
    EXPECT_EQ(dir.files.StromenBestandOpenen(dirPath), OpenResult::DataLeftOut);
    EXPECT_EQ(dir.volume("0005"), 10);
    ASSERT_EQ(dir.messenger.entries.size(), 1);
    EXPECT_TRUE(dir.messenger.entries[0].text.contains(dir.ctx.texts.format("AA00204", {"0001", "77"})));
    EXPECT_TRUE(dir.messenger.entries[0].text.contains(dir.ctx.texts.format("AA00204", {"0099", "3"})));

    test::LibEnv nine;
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=010800", "[**Arms**]",
                     "ARMNO;ANGLE;NAME"};
    for (int i = 1; i <= 9; ++i)
        r << QStringLiteral("%1;%2;n%1").arg(i).arg(i * 40);
    r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME" << "1;2;50";
    EXPECT_EQ(nine.files.StromenBestandOpenen(nine.write("nine.kvoimp", test::crlf(r))), OpenResult::DataLeftOut);
    EXPECT_TRUE(nine.messenger.texts().join('\n').contains(nine.ctx.texts.format("AA00203", {"1", "2", "50"})));

    // Three arms on the three-arm template 011304 fit; a four-arm file on a 011400 that lacks the
    // lines of diagram arm 4 (file arm 2) loses that arm's volumes.
    test::LibEnv csv;
    const QString csvPath = csv.write("four.csv", test::crlf({"t", "K;3;x", "1;0;a;0;5;6", "2;90;b;7;0;8",
                                                               "3;180;c;9;10;0"}));
    EXPECT_EQ(csv.files.StromenBestandOpenen(csvPath), OpenResult::Read);
    EXPECT_TRUE(csv.messenger.entries.isEmpty()) << csv.messenger.texts().join('\n').toStdString();
    test::LibEnv lost;
    const QString lostPath = lost.write("lost.csv", test::crlf({"t", "K;4;x", "1;0;a;0;5;6;4", "2;90;b;7;0;8;3",
                                                                 "3;180;c;9;10;0;2", "4;270;d;1;1;1;0"}));
    lost.ctx.paths.libraryFile = lost.write("three.lib", [&] {
        // The library with template 011400 without the volumes to and from diagram arm 4.
        QStringList lib;
        lib << "[###011400###]";
        for (const QString& l : lost.library.DiagramFromLibToStringList("011400")) {
            const bool armFour = l.endsWith(";I;")
                                 && (l.startsWith("0001=") || l.startsWith("0009=") || l.startsWith("0010=")
                                     || l.startsWith("0011=") || l.startsWith("0012=") || l.startsWith("0005="));
            if (!armFour)
                lib << l;
        }
        return test::crlf(lib);
    }());
    EXPECT_EQ(lost.files.StromenBestandOpenen(lostPath), OpenResult::DataLeftOut);
    ASSERT_EQ(lost.messenger.entries.size(), 1) << lost.messenger.texts().join('\n').toStdString();
    EXPECT_TRUE(lost.messenger.entries[0].text.contains(lostPath));
    EXPECT_FALSE(lost.messenger.entries[0].text.contains("Korvimo_")); // not the temporary OD file
    EXPECT_TRUE(lost.messenger.entries[0].text.contains(lost.ctx.texts.format("AA00203", {"1", "2", "5"})));
    EXPECT_TRUE(lost.leftovers().isEmpty());
}
