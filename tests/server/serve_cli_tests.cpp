#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include <csignal>

#include "serverfixture.h"

namespace {

QString cli() { return test::binDir() + "/korvimo-cli"; }

} // namespace

TEST(Server_CommandLineTests, ServesUntilSigtermAndEndsCleanly)
{
    // korvimo-cli serve DIR --log FILE: a request dropped while it runs becomes a picture, the log
    // lines also reach stderr, and SIGTERM ends it with status 0 after "Stop".
    test::ServerEnv env;
    QProcess p;
    p.start(cli(), {"serve", env.watch, "--log", env.logFile});
    ASSERT_TRUE(p.waitForStarted());
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return env.logTexts().contains("Start"); }));
    env.dropExample("plan.kvoimp", "Voorbeeld.kvoimp");
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return env.logTexts().contains("FunctionFinish:CreateDiagram"); }));
    EXPECT_FALSE(QImage(env.watch + "plan.jpg").isNull());
    EXPECT_FALSE(QFileInfo::exists(env.watch + "plan.kvoimp"));
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(env.logTexts().last(), "Stop");
    EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError()).contains("  Export=" + env.watch + "plan.jpg"));
}

TEST(Server_CommandLineTests, BadArgumentsAndMissingFoldersAreRefused)
{
    // Two folders or an unknown option: status 2; a folder that does not exist: status 1; nothing runs.
    test::ServerEnv env;
    const QList<std::pair<QStringList, int>> cases = {
        {{"serve", env.watch, env.watch}, 2},
        {{"serve", env.watch, "--fast"}, 2},
        {{"serve", env.watch, "--log"}, 2},
        {{"serve", env.watch + "missing"}, 1},
    };
    for (const auto& [args, status] : cases) {
        QProcess p;
        p.start(cli(), args);
        ASSERT_TRUE(p.waitForFinished(20000)) << args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), status) << args.join(' ').toStdString();
    }
}
