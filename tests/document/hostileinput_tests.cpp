#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>

#include "core/inputfile.h"
#include "document/textfile.h"
#include "document/documenttestenv.h"

using namespace korvimo;

TEST(Document_HostileInputTests, SpecialAndHugeFilesAreRefusedWithTheirReason)
{
    // A FIFO, a device and a folder are no diagram: the open procedure says so at once instead
    // of waiting for a writer or reading without end; a file over the limit is refused by its
    // size. In every case nothing is read and the steps after reading still run.
    test::DocumentEnv e;
    const QString fifo = e.path(QStringLiteral("pipe.kvo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = e.path(QStringLiteral("huge.kvoimp"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.resize(kMaxInputFileBytes + 1);
    }
    const QString notRegular = QStringLiteral(" is geen gewoon bestand en wordt niet geopend.");
    const struct {
        QString name;
        QString said;
    } cases[] = {
        {fifo, "Bestand " + fifo + notRegular},
        {QStringLiteral("/dev/zero"), "Bestand /dev/zero" + notRegular},
        {e.dir.path(), "Bestand " + e.dir.path() + notRegular},
        {huge, "Bestand " + huge + " is groter dan 64 MB en wordt niet geopend."},
        {e.path(QStringLiteral("missing.kvo")), "Kan bestand " + e.path(QStringLiteral("missing.kvo")) + " niet openen."},
    };
    for (const auto& c : cases) {
        e.messages.clear();
        e.doc.script.clear();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(e.file.StromenBestandOpenen(c.name), OpenResult::CannotOpen) << c.name.toStdString();
        EXPECT_EQ(e.messages.texts(), QStringList{c.said});
        EXPECT_TRUE(e.doc.script.isEmpty());
        EXPECT_LT(clock.elapsed(), 20000) << "blocked on " << c.name.toStdString();
    }
}

TEST(Document_HostileInputTests, OverlongLineIsCutWithOneWarning)
{
    // A title line of several megabytes: the diagram is read, the title keeps the first
    // kMaxLineChars characters, and one warning names the file and the line - however many
    // lines are too long.
    test::DocumentEnv e;
    const QByteArray title(3 * textfile::kMaxLineChars, 'T');
    const QString path = e.put(QStringLiteral("long.kvo"),
                               "[**General variables**]\r\nfileversion=300\r\ntitle01=" + title + "\r\ntitle02="
                                   + title + "\r\n[**Script**]\r\nGRP;1;Frame;\r\n");
    EXPECT_EQ(e.file.StromenBestandOpenen(path), OpenResult::Read);
    EXPECT_EQ(e.doc.general.title[0].size(), textfile::kMaxLineChars - qsizetype(strlen("title01=")));
    EXPECT_EQ(e.doc.general.title[1].size(), e.doc.general.title[0].size());
    EXPECT_EQ(e.doc.script, QStringList{QStringLiteral("GRP;1;Frame;")});
    EXPECT_EQ(e.messages.texts(),
              QStringList{"Bestand " + path + ": regel 3 is langer dan 1048576 tekens. Alleen het begin van de regel is gelezen."});
    EXPECT_EQ(e.messages.count(RecordingMessenger::Entry::Warning), 1);
}
