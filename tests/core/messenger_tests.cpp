#include <gtest/gtest.h>

#include <QDir>

#include "core/messenger.h"
#include "core/programpaths.h"

using namespace korvimo;

TEST(Core_MessengerTests, RecordsInOrderAndAnswersFromQueue)
{
    // A recording messenger answers queued answers first, then cancel.
    RecordingMessenger m;
    m.answers = {Messenger::No};
    m.error(QStringLiteral("e"));
    m.warning(QStringLiteral("w"));
    EXPECT_EQ(m.question(QStringLiteral("t"), QStringLiteral("q"), {}, {}, {}), Messenger::No);
    EXPECT_EQ(m.question(QStringLiteral("t"), QStringLiteral("q2"), {}, {}, {}), Messenger::Cancel);
    EXPECT_EQ(m.texts(), (QStringList{"e", "w", "q", "q2"}));
    EXPECT_EQ(m.count(RecordingMessenger::Entry::Question), 2);
}

TEST(Core_ProgramPathsTests, InstalledLayoutAndConfigFolder)
{
    // Without Lib/ beside the executable the data comes from ../share/korvimo/.
    qputenv("XDG_CONFIG_HOME", "/tmp/kv-config");
    const ProgramPaths p = ProgramPaths::detect(QStringLiteral("/opt/kv/bin"));
    EXPECT_EQ(p.programFolder, QStringLiteral("/opt/kv/share/korvimo/"));
    EXPECT_EQ(p.settingsFile, QStringLiteral("/tmp/kv-config/Korvimo/Korvimo.ini"));
    EXPECT_EQ(p.libraryFile, QStringLiteral("/opt/kv/share/korvimo/Lib/Korvimo.lib"));
    EXPECT_TRUE(p.tempFolder.endsWith(QLatin1Char('/')));
}
