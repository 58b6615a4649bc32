#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "canvas/metafile.h"
#include "document/integertext.h"
#include "library/libfixture.h"
#include "render/maakmeta.h"

using namespace korvimo;

namespace {

// Opens bytes as a file of that extension; the reading may report but must
// never crash, hang or leave a temporary file.
// Whatever diagram comes out is drawn too: the drawing may report, never crash.
void openBytes(const QString& ext, const QByteArray& bytes)
{
    test::LibEnv env;
    env.files.StromenBestandOpenen(env.write("f" + ext, bytes));
    EXPECT_TRUE(env.leftovers().isEmpty()) << ext.toStdString() << " " << env.leftovers().join(' ').toStdString();
    Metafile target;
    MaakMeta(env.doc, env.ctx, target, "EMF", "S");
}

QByteArray example(const QString& name) { return test::readAll(test::binDir() + "/AddOn/" + name); }

} // namespace

TEST(Imports_MalformedTests, EmptyFilesAndBareMarksAreRefused)
{
    // Empty files, a lone byte-order mark, lone line ends and NUL bytes make no diagram: one error
    // each, an empty document and no temporary file left.
    for (const QString ext : {".in", ".csv", ".kvoimp"}) {
        for (const QByteArray& bytes : {QByteArray(), QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"),
                                        QByteArray("\r\n\r\n"), QByteArray("\n"), QByteArray("\0\0\0", 3)}) {
            test::LibEnv env;
            EXPECT_EQ(env.files.StromenBestandOpenen(env.write("e" + ext, bytes)), OpenResult::NotADiagram)
                << ext.toStdString();
            EXPECT_TRUE(env.doc.script.isEmpty()) << ext.toStdString();
            EXPECT_EQ(env.messenger.count(RecordingMessenger::Entry::Error), 1) << ext.toStdString();
            EXPECT_TRUE(env.leftovers().isEmpty());
        }
    }
}

TEST(Imports_MalformedTests, ShortLinesNonNumbersAndExtraLinesAreTolerated)
{
    // Truncated arm lines, letters for volumes and a dozen arm lines read without a crash.
    test::LibEnv env;
    QStringList od = {"t", "K    4", "A", "B  ab", QStringLiteral("C  12Name      xx").leftJustified(28) + "     42",
                      "D  9", "E", "F", "G", "H", "I", "J", "K", "L"};
    env.files.StromenBestandOpenen(env.write("s.in", test::crlf(od)));
    EXPECT_EQ(env.volume("0001"), 0);
    EXPECT_EQ(env.volume("0008"), 42); // file arm 3 to file arm 1
    EXPECT_TRUE(env.messenger.entries.isEmpty());

    test::LibEnv env2;
    QStringList csv = {"t", "K;8;x"};
    for (int i = 0; i < 12; ++i)
        csv << QStringLiteral("%1;%2;n;a;b;;%3").arg(i).arg(i * 30).arg(i * 1000000000LL);
    env2.files.StromenBestandOpenen(env2.write("twelve.csv", test::crlf(csv)));
    EXPECT_EQ(env2.doc.general.arm[7].section(';', 2), "30"); // file arm 2 is diagram arm 8
    EXPECT_TRUE(env2.leftovers().isEmpty());

    test::LibEnv env3;
    env3.files.StromenBestandOpenen(env3.write("r.kvoimp", test::crlf({"[**Import variables**]", "VolumesType=OD",
        "BaseDiagramFromLibrary=011400", "[**Arms**]", "ARMNO", "1", "2;3;4;5;6", "\"unterminated", "[**OD**]",
        "ARMFROM;ARMTO;VOLUME", "1;2", "1;2;99999999999", "1;3;-5", ";;;;;"})));
    EXPECT_EQ(env3.volume("0003"), 0);
    EXPECT_EQ(env3.volume("0002"), -5);
}

TEST(Imports_MalformedTests, NineArmRowsIgnoreTheOdTable)
{
    // More than eight arm rows: no volume is set from the OD table.
    test::LibEnv env;
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=010800", "[**Arms**]",
                     "ARMNO;ANGLE;NAME"};
    for (int i = 1; i <= 9; ++i)
        r << QStringLiteral("%1;%2;n%1").arg(i).arg(i * 40);
    r << "[**OD**]" << "ARMFROM;ARMTO;VOLUME" << "1;2;50";
    env.files.StromenBestandOpenen(env.write("nine.kvoimp", test::crlf(r)));
    EXPECT_EQ(env.volume("0007"), 0);
    EXPECT_EQ(env.doc.general.streetname[7], "n8");
    EXPECT_EQ(env.doc.general.arm[8], "");
}

TEST(Imports_MalformedTests, HugeFilesAreReadWithoutTrouble)
{
    // A hundred thousand lines of each kind open in one piece.
    QByteArray od = "t\r\nK    4T\r\n";
    QByteArray csv = "t\r\nK;4;T\r\n";
    QByteArray req = "[**Import variables**]\r\nVolumesType=DIR\r\nBaseDiagramFromLibrary=011400\r\n[**DIR**]\r\n"
                     "DIRECTION;VOLUME\r\n";
    for (int i = 0; i < 100000; ++i) {
        od += "A    0  Name                     1      2      3      4\r\n";
        csv += "A;0;Name;1;2;3;4\r\n";
        req += QByteArray::number(i % 13).rightJustified(4, '0') + ";" + QByteArray::number(i) + "\r\n";
    }
    openBytes(".in", od);
    openBytes(".csv", csv);
    test::LibEnv env;
    env.files.StromenBestandOpenen(env.write("big.kvoimp", req));
    EXPECT_GT(env.volume("0012"), 99000);
}

TEST(Imports_MalformedTests, BoundedFuzzOfEveryReaderNeverCrashes)
{
    // Random edits of the shipped examples and random bytes: each reading ends, reports at most, and cleans up.
    QRandomGenerator rng(20261209);
    // The request also as UTF-16 with its mark, where a cut can split a character.
    const QString request = QString::fromLatin1(example("Voorbeeld.kvoimp"));
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(request.utf16()), request.size() * 2);
    const QList<QPair<QString, QByteArray>> seeds = {
        {".in", example("Voorbeeld.in")}, {".csv", example("Voorbeeld.csv")},
        {".kvoimp", example("Voorbeeld.kvoimp")}, {".kvoimp", example("Voorbeeld-DIR.kvoimp")},
        {".kvoimp", utf16}};
    const QByteArray alphabet = ";\"=[]*#\r\n 0123456789-xI\xEF\xBB\xBF\xFF\xFE\0";
    for (const auto& [ext, seed] : seeds) {
        ASSERT_FALSE(seed.isEmpty()) << ext.toStdString();
        for (int round = 0; round < 60; ++round) {
            QByteArray b = seed;
            const int edits = 1 + int(rng.bounded(8));
            for (int e = 0; e < edits && !b.isEmpty(); ++e) {
                const int at = int(rng.bounded(b.size()));
                switch (rng.bounded(4)) {
                case 0: b[at] = alphabet[int(rng.bounded(alphabet.size()))]; break;
                case 1: b.remove(at, int(rng.bounded(12))); break;
                case 2: b.insert(at, alphabet.mid(int(rng.bounded(alphabet.size())), 3)); break;
                case 3: b.truncate(at); break;
                }
            }
            openBytes(ext, b);
        }
        for (int round = 0; round < 10; ++round) {
            QByteArray b(int(rng.bounded(400)), '\0');
            for (char& c : b)
                c = char(rng.bounded(256));
            openBytes(ext, b);
        }
    }
}
