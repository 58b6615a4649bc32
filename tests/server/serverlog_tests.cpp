#include <gtest/gtest.h>

#include <QRegularExpression>

#include "serverfixture.h"
#include "server/serverlog.h"
#include "server/serverstartup.h"

using namespace korvimo;

TEST(Server_LogTests, LinesCarryTheTimeInBothFormats)
{
    // The file line starts "yyyyMMdd hh:mm:ss.zzz ", the window line "yyyy-MM-dd hh:mm:ss  ";
    // a text with line breaks stays one line.
    const QDateTime at(QDate(2026, 3, 7), QTime(9, 5, 2, 45));
    EXPECT_EQ(serverLogFileLine(at, "Start"), "20260307 09:05:02.045 Start");
    EXPECT_EQ(serverLogWindowLine(at, "Start"), "2026-03-07 09:05:02  Start");
    EXPECT_EQ(serverLogFileLine(at, "a\n\nb\r\nc"), "20260307 09:05:02.045 a b c");

    test::ServerEnv env;
    ServerLog log;
    log.setFileName(env.logFile);
    log.LogLine("Import=x");
    const QStringList lines = env.logFileLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(QRegularExpression("^\\d{8} \\d\\d:\\d\\d:\\d\\d\\.\\d{3} Import=x$").match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  Import=x$")
                    .match(log.windowLines().value(0))
                    .hasMatch());
}

TEST(Server_LogTests, WindowKeepsSixLinesTheFileKeepsEveryLine)
{
    // Ten lines: the window shows the last six, the file holds all ten; an unopenable file
    // loses only its own copy.
    test::ServerEnv env;
    ServerLog log;
    log.setFileName(env.logFile);
    QStringList seen;
    QObject::connect(&log, &ServerLog::windowLinesChanged, [&](const QStringList& l) { seen = l; });
    for (int i = 0; i < 10; ++i)
        log.LogLine(QString::number(i));
    ASSERT_EQ(log.windowLines().size(), 6);
    EXPECT_TRUE(log.windowLines().first().endsWith("  4"));
    EXPECT_TRUE(log.windowLines().last().endsWith("  9"));
    EXPECT_EQ(seen, log.windowLines());
    EXPECT_EQ(env.logFileLines().size(), 10);

    log.setFileName(env.temp.path() + "/no/such/folder/log.txt");
    log.LogLine("still shown");
    EXPECT_TRUE(log.windowLines().last().endsWith("  still shown"));
}

TEST(Server_LogTests, FilePastTheLimitKeepsItsNewestHalf)
{
    // A file of whole lines just under 500000 bytes: a short line keeps it under, the next passes
    // the limit and the oldest lines go until half remain, the new one last.
    test::ServerEnv env;
    QByteArray bytes;
    const QByteArray filler(70, 'x');
    int before = 0;
    while (bytes.size() + 78 < kServerLogMaxBytes - 60) {
        bytes += QByteArray::number(before++).rightJustified(6, '0') + ' ' + filler + '\n';
    }
    test::writeAll(env.logFile, bytes);

    ServerLog log;
    log.setFileName(env.logFile);
    log.LogLine("small");
    EXPECT_EQ(env.logFileLines().size(), before + 1); // still under the limit
    log.LogLine(QString(200, QLatin1Char('y')));
    const QStringList lines = env.logFileLines();
    const int total = before + 2;
    ASSERT_EQ(lines.size(), total / 2);
    EXPECT_TRUE(lines.last().endsWith(QString(200, QLatin1Char('y'))));
    EXPECT_TRUE(lines[lines.size() - 2].endsWith(" small"));
    EXPECT_TRUE(lines.first().startsWith(QByteArray::number(total - total / 2).rightJustified(6, '0')))
        << lines.first().toStdString();
    EXPECT_FALSE(trimServerLogFile(env.logFile)); // small again
}

TEST(Server_StartupFileTests, KeysAnyCaseValuesUntrimmedLaterLinesWin)
{
    // Keys in any case, the value after the first "=", later lines override, only "1" switches the
    // clean-up on, the folder gets its "/", unknown lines are ignored, an empty folder stays empty.
    ServerStartup s;
    applyServerStartupLines({"watchdir=/a", "SERVERLOGFILENAME=/l=og ", "DeleteOldDiagrams=1", "junk", "x=y",
                             "WatchDir=/srv/in"},
                            s);
    EXPECT_EQ(s.WatchDir, "/srv/in/");
    EXPECT_EQ(s.ServerLogFileName, "/l=og ");
    EXPECT_TRUE(s.DeleteOldDiagrams);
    applyServerStartupLines({"DeleteOldDiagrams=true", "WatchDir=/b/"}, s);
    EXPECT_FALSE(s.DeleteOldDiagrams);
    EXPECT_EQ(s.WatchDir, "/b/");
    applyServerStartupLines({"WatchDir="}, s);
    EXPECT_EQ(s.WatchDir, "");

    ServerStartup kept{"/k/", "log", true};
    EXPECT_FALSE(readServerStartup("/no/such/AsServer.StartUp", kept));
    EXPECT_EQ(kept.WatchDir, "/k/");
    applyOverrides({QString("/w"), std::nullopt, false}, kept);
    EXPECT_EQ(kept.WatchDir, "/w/");
    EXPECT_EQ(kept.ServerLogFileName, "log");
    EXPECT_FALSE(kept.DeleteOldDiagrams);
}
