#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include "document/diagramfile.h"
#include "document/documenttestenv.h"
#include "document/textfile.h"

using namespace korvimo;
using test::DocumentEnv;

namespace {

QByteArray crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

} // namespace

TEST(Document_DiagramFileTests, WrittenReadWrittenIsByteIdentical)
{
    // A diagram read from a file and written twice gives the same bytes both times.
    DocumentEnv a;
    ASSERT_EQ(a.file.StromenBestandOpenen(test::dataPath("document/crossing.kvo")), OpenResult::Read);
    const QString first = a.path("first.kvo");
    ASSERT_TRUE(a.file.StromenBestandOpslaan(first));

    DocumentEnv b;
    ASSERT_EQ(b.file.StromenBestandOpenen(first), OpenResult::Read);
    const QString second = b.path("second.kvo");
    ASSERT_TRUE(b.file.StromenBestandOpslaan(second));

    const QByteArray bytes = test::readAll(first);
    EXPECT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes, test::readAll(second));
    EXPECT_TRUE(bytes.startsWith("[**General variables**]\r\nfileversion=300\r\nfontname=Arial\r\n"));
    EXPECT_TRUE(bytes.endsWith("[**Notes**]\r\ngeteld op dinsdag\r\n\r\ntweede regel\r\n"));
    EXPECT_TRUE(a.messages.entries.isEmpty());
}

TEST(Document_DiagramFileTests, SectionOrderKeyCaseAndLineEndsDoNotMatter)
{
    // Sections in another order, keys in other cases and LF, CR or CR LF line ends read the same.
    DocumentEnv ref;
    ref.file.StromenBestandOpenen(test::dataPath("document/crossing.kvo"));
    const QStringList expected = diagramFileLines(ref.doc);
    EXPECT_EQ(ref.doc.general.sfactor, 1200);
    EXPECT_EQ(ref.doc.script.size(), 3);
    EXPECT_EQ(ref.doc.notes, (QStringList{"geteld op dinsdag", "", "tweede regel"}));

    const QByteArray lf = test::readAll(test::dataPath("document/crossing-reordered.kvo"));
    QByteArray cr = lf;
    cr.replace('\n', '\r');
    QByteArray both = lf;
    both.replace("\n", "\r\n");
    for (const QByteArray& bytes : {lf, cr, both}) {
        DocumentEnv e;
        ASSERT_EQ(e.file.StromenBestandOpenen(e.put("x.kvo", bytes)), OpenResult::Read);
        EXPECT_EQ(diagramFileLines(e.doc), expected);
    }
}

TEST(Document_DiagramFileTests, GeneralVariableValueRules)
{
    // Arrow size times ten, only "1" is true, values keep "=" and blanks, the last repeat wins,
    // unknown keys and lines without "=" are ignored, a missing key keeps its default.
    DocumentEnv e;
    const QString p = e.put("v.kvo", crlf({"[**General variables**]", "ArrowSize=-4", "sfill=true",
                                           "sblack=1", "title01=a=b", "title02= spaced ", "fontsize=8",
                                           "fontsize=12", "nosuchkey=5", "no equals sign", "grpnorth=0",
                                           "color0016=255", "arm16=0001;0002;90"}));
    ASSERT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Read);
    const GeneralVariables& g = e.doc.general;
    EXPECT_DOUBLE_EQ(g.arrowsize, -40.0);
    EXPECT_FALSE(g.sfill);
    EXPECT_TRUE(g.sblack);
    EXPECT_EQ(g.title[0], QStringLiteral("a=b"));
    EXPECT_EQ(g.title[1], QStringLiteral(" spaced "));
    EXPECT_EQ(g.fontsize, 12);
    EXPECT_FALSE(g.groupVisible(DrawingGroup::North));
    EXPECT_TRUE(g.groupVisible(DrawingGroup::Frame));
    EXPECT_EQ(g.color[15], 255);
    EXPECT_EQ(g.arm[15], QStringLiteral("0001;0002;90"));
    EXPECT_EQ(g.sfactor, 1000);
    EXPECT_EQ(g.printheader1, QStringLiteral("Bijlage 1: Stromendiagram"));
    // Written back: arrow size in diagram units, booleans as 1 and 0.
    const QStringList out = diagramFileLines(e.doc);
    EXPECT_TRUE(out.contains("arrowsize=-4"));
    EXPECT_TRUE(out.contains("sfill=0"));
    EXPECT_TRUE(out.contains("title01=a=b"));
}

TEST(Document_DiagramFileTests, ListAndNotesLines)
{
    // Empty lines are dropped from the lists but kept in the notes; a missing section leaves its
    // list empty; a list runs until the next "[**" line; lines before the first header are ignored.
    DocumentEnv e;
    const QString p = e.put("l.kvo", crlf({"bmpname=011301.bmp", "[**Script**]", "GRP;1;Frame;", "",
                                           "LNE;1;0001;0002;[0100];[0001];0;N;A;", "[**other**]",
                                           "ignored", "[**Notes**]", "", "first", "", "[**Script**]"}));
    ASSERT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Read);
    EXPECT_EQ(e.doc.script, (QStringList{"GRP;1;Frame;", "LNE;1;0001;0002;[0100];[0001];0;N;A;"}));
    EXPECT_TRUE(e.doc.coordinates.isEmpty());
    EXPECT_TRUE(e.doc.intensities.isEmpty());
    EXPECT_EQ(e.doc.notes, (QStringList{"", "first", "", "[**Script**]"}));
    EXPECT_EQ(e.doc.general.fontname, QStringLiteral("Arial"));
}

TEST(Document_DiagramFileTests, OpenProcedureNamesAndFlags)
{
    // A real file keeps its path; a "$1_" file takes the untitled name; both clear the modified
    // flag, set the caption and run the closing hooks in order, the notes dialog last.
    DocumentEnv e;
    QStringList calls;
    e.file.hooks.setCaption = [&](const QString& c) { calls << "caption " + c; };
    e.file.hooks.rebuildOverview = [&] { calls << "overview"; };
    e.file.hooks.zoomAll = [&] { calls << "zoom"; };
    e.file.hooks.redraw = [&] { calls << "redraw"; };
    e.file.hooks.updateMenu = [&] { calls << "menu"; };
    e.file.hooks.showNotesDialog = [&] { calls << "notes"; };
    e.file.hooks.setBusy = [&](bool on) { calls << (on ? "busy" : "idle"); };

    const QString real = e.put("plain.kvo", crlf({"[**General variables**]", "shownotesdialog=1"}));
    e.doc.markChanged();
    ASSERT_EQ(e.file.StromenBestandOpenen(real), OpenResult::Read);
    EXPECT_EQ(e.doc.fileName, real);
    EXPECT_FALSE(e.doc.isModified());
    EXPECT_EQ(calls, (QStringList{"busy", "idle", "caption Korvimo - plain.kvo", "overview", "zoom",
                                  "redraw", "menu", "notes"}));

    DocumentEnv t;
    const QString temp = t.put("$1_x.kvo", crlf({"[**Script**]", "GRP;1;Frame;"}));
    ASSERT_EQ(t.file.StromenBestandOpenen(temp), OpenResult::Read);
    EXPECT_EQ(t.doc.fileName, QStringLiteral("Korvimo_Nieuw.kvo"));
    EXPECT_EQ(t.doc.script.size(), 1);
}

TEST(Document_DiagramFileTests, VersionMarksAndMissingFile)
{
    // "100" is refused with a warning, a newer fileversion is read after a warning, a missing
    // file is reported and still takes the given name.
    DocumentEnv v1;
    const QString old = v1.put("old.kvo", crlf({"100", "[**Script**]", "GRP;1;Frame;"}));
    EXPECT_EQ(v1.file.StromenBestandOpenen(old), OpenResult::Version1);
    EXPECT_TRUE(v1.doc.script.isEmpty());
    ASSERT_EQ(v1.messages.entries.size(), 1);
    EXPECT_EQ(v1.messages.entries[0].kind, RecordingMessenger::Entry::Warning);
    EXPECT_EQ(v1.messages.entries[0].text, QStringLiteral("Versie 1 (Korvimo)"));
    EXPECT_EQ(v1.doc.fileName, old);

    DocumentEnv v4;
    const QString newer = v4.put("new.kvo", crlf({"[**General variables**]", "fileversion=400",
                                                  "[**Script**]", "GRP;1;Frame;"}));
    EXPECT_EQ(v4.file.StromenBestandOpenen(newer), OpenResult::Read);
    EXPECT_EQ(v4.messages.texts(), QStringList{"Nieuwere versie van Korvimo / Korvimo"});
    EXPECT_EQ(v4.doc.script.size(), 1);

    DocumentEnv folder;
    EXPECT_EQ(folder.file.StromenBestandOpenen(folder.dir.path()), OpenResult::CannotOpen);
    EXPECT_EQ(folder.messages.count(RecordingMessenger::Entry::Error), 1);

    DocumentEnv gone;
    const QString missing = gone.path("missing.kvo");
    EXPECT_EQ(gone.file.StromenBestandOpenen(missing), OpenResult::CannotOpen);
    EXPECT_EQ(gone.messages.texts(), QStringList{"Kan bestand " + missing + " niet openen."});
    EXPECT_EQ(gone.doc.fileName, missing);
    EXPECT_FALSE(gone.doc.isModified());
}

TEST(Document_DiagramFileTests, MalformedIntegerStopsTheReading)
{
    // A non-numeric integer field stops the reading with the conversion error naming the text;
    // what came before stays, the rest and the closing steps do not happen.
    DocumentEnv e;
    bool captionSet = false;
    e.file.hooks.setCaption = [&](const QString&) { captionSet = true; };
    const QString p = e.put("bad.kvo", crlf({"[**General variables**]", "fontsize=14", "linewidth=abc",
                                             "sfactor=2000", "[**Script**]", "GRP;1;Frame;"}));
    EXPECT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Malformed);
    ASSERT_EQ(e.messages.entries.size(), 1);
    EXPECT_EQ(e.messages.entries[0].kind, RecordingMessenger::Entry::Error);
    EXPECT_EQ(e.messages.entries[0].text, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(e.doc.general.fontsize, 14);
    EXPECT_EQ(e.doc.general.linewidth, 3);
    EXPECT_EQ(e.doc.general.sfactor, 1000);
    EXPECT_TRUE(e.doc.script.isEmpty());
    EXPECT_FALSE(captionSet);
    EXPECT_EQ(e.doc.fileName, QStringLiteral("Korvimo_Nieuw.kvo"));

    // Empty values, overflow and trailing text are malformed too; surrounding blanks and a sign are not.
    for (const char* bad : {"", "99999999999", "12 3", "1.5", "0x10"}) {
        DocumentEnv b;
        b.file.StromenBestandOpenen(b.put("b.kvo", crlf({"[**General variables**]", QString("intmin=") + bad})));
        EXPECT_EQ(b.messages.texts(), QStringList{QString("'%1' is not a valid integer value").arg(bad)});
    }
    // A long malformed value is named by its start only.
    DocumentEnv longValue;
    longValue.file.StromenBestandOpenen(longValue.put("l.kvo", crlf({"[**General variables**]", "fontsize=" + QString(5000, 'x')})));
    EXPECT_EQ(longValue.messages.texts(), QStringList{"'" + QString(40, 'x') + "...' is not a valid integer value"});

    DocumentEnv ok;
    ok.file.StromenBestandOpenen(ok.put("o.kvo", crlf({"[**General variables**]", "intmin= -7", "intminnumber=+3 "})));
    EXPECT_EQ(ok.doc.general.intmin, -7);
    EXPECT_EQ(ok.doc.general.intminnumber, 3);
}

TEST(Document_DiagramFileTests, HostileFilesNeverCrash)
{
    // Random bytes, an empty file, a truncated file and a 50 MB file are read without a crash;
    // the truncated file keeps everything up to where it ends. Without a section header random
    // bytes and the empty file are no diagram.
    DocumentEnv empty;
    EXPECT_EQ(empty.file.StromenBestandOpenen(empty.put("e.kvo", {})), OpenResult::NotADiagram);
    EXPECT_TRUE(empty.doc.script.isEmpty());
    EXPECT_EQ(empty.messages.entries.size(), 1);

    QRandomGenerator rng(1234);
    for (int round = 0; round < 20; ++round) {
        QByteArray noise(4096, Qt::Uninitialized);
        for (char& c : noise)
            c = char(rng.bounded(256));
        if (round % 2)
            noise.prepend("[**General variables**]\r\n");
        DocumentEnv r;
        const OpenResult res = r.file.StromenBestandOpenen(r.put("r.kvo", noise));
        if (round % 2)
            EXPECT_TRUE(res == OpenResult::Read || res == OpenResult::Malformed);
        else
            EXPECT_EQ(res, OpenResult::NotADiagram);
    }

    const QByteArray whole = test::readAll(test::dataPath("document/crossing.kvo"));
    DocumentEnv cut;
    const qsizetype at = whole.indexOf("0002=400");
    ASSERT_GT(at, 0);
    EXPECT_EQ(cut.file.StromenBestandOpenen(cut.put("t.kvo", whole.left(at + 6))), OpenResult::Read);
    EXPECT_EQ(cut.doc.coordinates, (QStringList{"0001=100;250;", "0002=4"}));
    EXPECT_TRUE(cut.doc.intensities.isEmpty());

    // 50 MB: a long script section of one repeated line, then one line without an end.
    DocumentEnv big;
    QByteArray bytes = "[**General variables**]\r\nsfactor=900\r\n[**Script**]\r\n";
    const QByteArray line = "LNE;1;0001;0002;[0100];[0001+0002];Color0003;N;A;\r\n";
    bytes.reserve(50 * 1024 * 1024 + 100);
    while (bytes.size() < 50 * 1024 * 1024)
        bytes += line;
    bytes += QByteArray(1000, 'x');
    EXPECT_EQ(big.file.StromenBestandOpenen(big.put("big.kvo", bytes)), OpenResult::Read);
    EXPECT_EQ(big.doc.general.sfactor, 900);
    EXPECT_GT(big.doc.script.size(), 900000);
    EXPECT_EQ(big.doc.script.last(), QString(1000, 'x'));
}

TEST(Document_DiagramFileTests, TextsOutsideWindows1252AreWrittenAsUtf8)
{
    // Windows-1252 texts are written as single bytes; a text that does not fit makes the file
    // UTF-8 with a byte-order mark, which reads back to the same text.
    DocumentEnv e;
    e.doc.general.title[0] = QStringLiteral("Café €");
    const QString ansi = e.path("ansi.kvo");
    ASSERT_TRUE(e.file.StromenBestandOpslaan(ansi));
    const QByteArray a = test::readAll(ansi);
    EXPECT_TRUE(a.contains("title01=Caf\xE9 \x80\r\n"));

    e.doc.general.title[0] = QStringLiteral("Kruispunt Łódź 東京");
    const QString utf = e.path("utf.kvo");
    ASSERT_TRUE(e.file.StromenBestandOpslaan(utf));
    const QByteArray u = test::readAll(utf);
    EXPECT_TRUE(u.startsWith("\xEF\xBB\xBF[**General variables**]\r\n"));

    DocumentEnv back;
    ASSERT_EQ(back.file.StromenBestandOpenen(utf), OpenResult::Read);
    EXPECT_EQ(back.doc.general.title[0], QStringLiteral("Kruispunt Łódź 東京"));
}

TEST(Document_DiagramFileTests, FailedSaveReportsAndKeepsTheOldFile)
{
    // A save that cannot be written reports AA00001, returns false, keeps the modified flag and
    // leaves an existing file byte for byte. The tests run as root, for whom a read-only folder is
    // still writable, so two failures that hold for root too are used: a folder path that is a
    // regular file, and a file-size limit that makes the write itself fail like a full disk.
    DocumentEnv e;
    e.doc.script << QStringLiteral("GRP;1;Frame;");
    e.doc.markChanged();
    const QString notAFolder = e.put("plain-file", "x");
    const QString target = notAFolder + "/diagram.kvo";
    EXPECT_FALSE(e.file.StromenBestandOpslaan(target));
    // The message also gives the system's reason, so the user knows what to mend.
    ASSERT_EQ(e.messages.texts().size(), 1);
    EXPECT_TRUE(e.messages.texts()[0].startsWith("Kan bestand " + target + " niet opslaan.\r\n\r\n"));
    EXPECT_TRUE(e.messages.texts()[0].endsWith(QStringLiteral("Not a directory"))) << e.messages.texts()[0].toStdString();
    EXPECT_TRUE(e.doc.isModified());

    const QByteArray old = "[**General variables**]\r\ntitle01=old\r\n";
    const QString existing = e.put("existing.kvo", old);
    for (int i = 0; i < 2000; ++i)
        e.doc.script << QStringLiteral("LNE;1;0001;0002;[0100];[0001];Color0003;N;A;");
    e.messages.clear();
    EXPECT_FALSE(test::withFileSizeLimit(4096, [&] { return e.file.StromenBestandOpslaan(existing); }));
    ASSERT_EQ(e.messages.texts().size(), 1);
    EXPECT_TRUE(e.messages.texts()[0].startsWith("Kan bestand " + existing + " niet opslaan."));
    EXPECT_TRUE(e.messages.texts()[0].endsWith(QStringLiteral("File too large"))) << e.messages.texts()[0].toStdString();
    EXPECT_EQ(test::readAll(existing), old);
    EXPECT_EQ(QDir(e.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left

    // Without the limit the same save succeeds and clears the flag.
    EXPECT_TRUE(e.file.StromenBestandOpslaan(existing));
    EXPECT_FALSE(e.doc.isModified());
    EXPECT_GT(test::readAll(existing).size(), 4096);
}
