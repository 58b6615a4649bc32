#include <gtest/gtest.h>

#include "document/diagramfile.h"
#include "document/documenttestenv.h"
#include "document/filecommands.h"

using namespace korvimo;
using test::DocumentEnv;

namespace {

// A document that holds something of the user's: lines, a name and changes.
void fillWithWork(DocumentEnv& e)
{
    e.doc.script = {QStringLiteral("LNE;1;0001;0002;[0000];[0001];0;N;A;")};
    e.doc.coordinates = {QStringLiteral("0001=10;10;"), QStringLiteral("0002=90;10;")};
    e.doc.intensities = {QStringLiteral("0001=250;I;")};
    e.doc.general.title[0] = QStringLiteral("Mijn kruispunt");
    e.doc.fileName = e.path(QStringLiteral("work.kvo"));
    e.doc.setModified(true);
}

void expectWorkKept(const DocumentEnv& e)
{
    EXPECT_EQ(e.doc.script.size(), 1);
    EXPECT_EQ(e.doc.coordinates.size(), 2);
    EXPECT_EQ(e.doc.intensities, QStringList{QStringLiteral("0001=250;I;")});
    EXPECT_EQ(e.doc.general.title[0], QStringLiteral("Mijn kruispunt"));
    EXPECT_EQ(e.doc.fileName, e.path(QStringLiteral("work.kvo")));
    EXPECT_TRUE(e.doc.isModified());
}

const QByteArray kPngStart("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02\0\0\0\x90\x91h6", 33);

} // namespace

TEST(Document_NotADiagramTests, FilesWithoutDiagramContentAreRefusedAndChangeNothing)
{
    // A PNG renamed .kvo, random bytes and an empty (or blank) file are refused with the file's
    // name and the reason; the open document keeps its lines, name and changes.
    const QByteArray noise = [] {
        QByteArray b(3000, '\0');
        for (int i = 0; i < b.size(); ++i)
            b[i] = char((i * 7919 + 13) % 251);
        return b;
    }();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reasonKey;
    } cases[] = {
        {"picture.kvo", kPngStart + QByteArray(500, 'x'), "AA00198"},
        {"noise.kvo", noise, "AA00198"},
        {"empty.kvo", QByteArray(), "AA00206"},
        {"blank.kvo", QByteArray("\r\n  \r\n\t\r\n"), "AA00206"},
        {"words.txt", QByteArray("hello;world\r\n1;2;3\r\n"), "AA00198"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentEnv e;
        fillWithWork(e);
        const QString path = e.put(QString::fromLatin1(c.name), c.bytes);
        int redraws = 0;
        e.file.hooks.redraw = [&] { ++redraws; };
        EXPECT_EQ(e.file.StromenBestandOpenen(path), OpenResult::NotADiagram);
        expectWorkKept(e);
        EXPECT_EQ(redraws, 0);
        ASSERT_EQ(e.messages.entries.size(), 1);
        EXPECT_EQ(e.messages.entries[0].kind, RecordingMessenger::Entry::Error);
        const QString& said = e.messages.entries[0].text;
        EXPECT_TRUE(said.contains(path)) << said.toStdString();
        EXPECT_TRUE(said.contains(e.ctx.texts.text(QString::fromLatin1(c.reasonKey)))) << said.toStdString();
        EXPECT_EQ(test::readAll(path), c.bytes);
    }
}

TEST(Document_NotADiagramTests, RealDiagramFilesStayLenient)
{
    // One section header is enough: keys in any order and case, unknown keys and lines before the
    // first header are taken as before; version marks still choose their readers.
    DocumentEnv e;
    const QString p = e.put(QStringLiteral("lenient.kvo"),
                            "made by hand\r\n[**Intensities**]\r\n0001=5;I;\r\n[**General variables**]\r\n"
                            "SFACTOR=700\r\nnosuchkey=1\r\nfileversion=300\r\n");
    EXPECT_EQ(e.file.StromenBestandOpenen(p), OpenResult::Read);
    EXPECT_EQ(e.doc.general.sfactor, 700);
    EXPECT_EQ(e.doc.intensities, QStringList{QStringLiteral("0001=5;I;")});
    EXPECT_TRUE(e.doc.script.isEmpty());
    EXPECT_TRUE(e.messages.entries.isEmpty()) << e.messages.texts().join('\n').toStdString();

    DocumentEnv notes;
    EXPECT_EQ(notes.file.StromenBestandOpenen(notes.put(QStringLiteral("n.kvo"), "[**Notes**]\r\nonly notes\r\n")),
              OpenResult::Read);
    EXPECT_EQ(notes.doc.notes, QStringList{QStringLiteral("only notes")});

    DocumentEnv v1;
    EXPECT_EQ(v1.file.StromenBestandOpenen(v1.put(QStringLiteral("old.kvo"), "100\r\nwhatever\r\n")),
              OpenResult::Version1);
}

TEST(Document_NotADiagramTests, OpenCommandKeepsTheDiagramUntilAFileThatOpensIsChosen)
{
    // Cancel in the open dialog, or a file that is no diagram, keeps the changed diagram (after the
    // save question was answered "do not save"); a later Save writes the diagram's own file and
    // never the refused one. A readable diagram then replaces the document.
    DocumentEnv e;
    fillWithWork(e);
    FileCommands cmd(e.file);
    QString chosen;
    int dialogs = 0;
    cmd.dialogs.openFileName = [&](const QString&) {
        ++dialogs;
        return chosen;
    };

    e.messages.answers = {Messenger::No};
    EXPECT_FALSE(cmd.Openen1Click());
    EXPECT_EQ(dialogs, 1);
    expectWorkKept(e);
    ASSERT_EQ(e.messages.count(RecordingMessenger::Entry::Question), 1);

    const QString png = e.put(QStringLiteral("photo.kvo"), kPngStart);
    chosen = png;
    e.messages.clear();
    e.messages.answers = {Messenger::No};
    EXPECT_FALSE(cmd.Openen1Click());
    expectWorkKept(e);
    EXPECT_EQ(e.messages.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(e.messages.texts().join('\n').contains(png));

    chosen = e.path(QStringLiteral("missing.kvo"));
    e.messages.answers = {Messenger::No};
    EXPECT_FALSE(cmd.Openen1Click());
    expectWorkKept(e);

    // Cancel in the save question shows no dialog at all.
    e.messages.answers = {Messenger::Cancel};
    EXPECT_FALSE(cmd.Openen1Click());
    EXPECT_EQ(dialogs, 3);

    EXPECT_TRUE(cmd.Opslaan1Click());
    EXPECT_EQ(test::readAll(png), kPngStart);
    EXPECT_TRUE(test::readAll(e.path(QStringLiteral("work.kvo"))).contains("Mijn kruispunt"));

    chosen = e.put(QStringLiteral("good.kvo"), "[**Script**]\r\nGRP;1;Frame;\r\n");
    EXPECT_TRUE(cmd.Openen1Click()); // saved just now: nothing to ask
    EXPECT_EQ(e.doc.script, QStringList{QStringLiteral("GRP;1;Frame;")});
    EXPECT_TRUE(e.doc.coordinates.isEmpty());
    EXPECT_EQ(e.doc.fileName, chosen);
    EXPECT_FALSE(e.doc.isModified());
}
