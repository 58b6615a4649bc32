#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImageReader>

#include "serverfixture.h"

using namespace korvimo;

namespace {

QSize jpegSize(const QString& path)
{
    QImageReader r(path, "jpeg");
    return r.canRead() ? r.size() : QSize();
}

} // namespace

TEST(Server_QueueTests, CsvGoesBeforeImportRequestOneEachTick)
{
    // a.csv and b.kvoimp of the same age: the first tick makes a.jpg and leaves b.kvoimp, the next
    // makes b.jpg.
    test::ServerEnv env;
    env.dropExample("b.kvoimp", "Voorbeeld.kvoimp");
    env.dropExample("a.csv", "Voorbeeld.csv");
    const QDateTime now = QDateTime::currentDateTime();
    test::ServerEnv::setAge(env.watch + "a.csv", 5000, now);
    test::ServerEnv::setAge(env.watch + "b.kvoimp", 5000, now);
    bool kvoimpWaited = false;
    QObject::connect(env.server.get(), &AsServer::requestHandled, [&](const ServerRequestOutcome& o) {
        if (o.dataFile.endsWith("a.csv"))
            kvoimpWaited = QFileInfo::exists(env.watch + "b.kvoimp");
    });
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(2));
    EXPECT_EQ(env.outcomes[0].dataFile, env.watch + "a.csv");
    EXPECT_EQ(env.outcomes[1].dataFile, env.watch + "b.kvoimp");
    EXPECT_TRUE(kvoimpWaited);
    EXPECT_EQ(env.outcomes[0].pictureFile, env.watch + "a.jpg");
    for (const auto& o : env.outcomes) {
        EXPECT_TRUE(o.pictureWritten) << o.failure.toStdString();
        EXPECT_TRUE(o.dataFileRemoved);
        EXPECT_FALSE(QFileInfo::exists(o.dataFile));
        EXPECT_FALSE(QImage(o.pictureFile).isNull());
    }
    // The configured width for the CSV file, the request's own for the import request.
    EXPECT_EQ(jpegSize(env.watch + "a.jpg").width(), 160);
    EXPECT_EQ(jpegSize(env.watch + "b.jpg").width(), 800);
    EXPECT_EQ(env.ctx.settings.exportBmpSize, 160);
    const QStringList log = env.logTexts();
    const qsizetype at = log.indexOf("Import=" + env.watch + "a.csv");
    ASSERT_GE(at, 2);
    EXPECT_EQ(log[at - 2], "=========================");
    EXPECT_EQ(log[at - 1], "Start");
    EXPECT_EQ(log.value(at + 1), "Export=" + env.watch + "a.jpg");
    EXPECT_EQ(log.count("FunctionFinish:CreateDiagram"), 2);
    // Nothing was shown to the program's own messenger while serving.
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
}

TEST(Server_QueueTests, PictureTakesTheRequestNameAndReplacesAnOldOne)
{
    // plan.kvoimp gives plan.jpg in the same folder; an existing plan.jpg is replaced, no temporary file stays.
    test::ServerEnv env;
    test::writeAll(env.watch + "plan.jpg", "an old picture");
    env.drop("plan.kvoimp", test::kvoimpRequest(240));
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(1));
    EXPECT_TRUE(env.outcomes[0].pictureWritten);
    EXPECT_EQ(jpegSize(env.watch + "plan.jpg"), QSize(240, jpegSize(env.watch + "plan.jpg").height()));
    EXPECT_GT(jpegSize(env.watch + "plan.jpg").height(), 0);
    EXPECT_EQ(QDir(env.watch).entryList(QDir::Files | QDir::Hidden), QStringList{"plan.jpg"});
}

TEST(Server_QueueTests, MalformedRequestsAreLoggedRemovedAndTheQueueGoesOn)
{
    // An oversized file, garbage, an unknown template and a malformed number give no picture (an old one of
    // that name goes), are logged with the reason and removed; the good request after them is served.
    test::ServerEnv env;
    env.drop("0huge.csv", QByteArray(kMaxRequestBytes + 1, ' '));
    env.drop("1garbage.csv", "\x01\x02 nothing; of; use\r\n;;;\r\n");
    env.drop("2unknown.kvoimp", test::crlfLines({"[**Import variables**]", "BaseDiagramFromLibrary=999999"}));
    env.drop("3number.kvoimp", test::kvoimpRequest(200, "sfactor=12x"));
    test::writeAll(env.watch + "3number.jpg", "answer to an older request");
    env.drop("4good.kvoimp", test::kvoimpRequest(120));
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(5));
    EXPECT_TRUE(env.outcomes[0].failure.contains("larger than")) << env.outcomes[0].failure.toStdString();
    env.outcomes.removeFirst();
    EXPECT_EQ(env.outcomes[3].dataFile, env.watch + "4good.kvoimp");
    for (int i = 0; i < 3; ++i) {
        const auto& o = env.outcomes[i];
        EXPECT_FALSE(o.pictureWritten) << o.dataFile.toStdString();
        EXPECT_FALSE(o.failure.isEmpty());
        EXPECT_TRUE(o.dataFileRemoved);
        EXPECT_FALSE(QFileInfo::exists(o.pictureFile)) << o.pictureFile.toStdString();
    }
    EXPECT_TRUE(env.outcomes[2].failure.contains("12x")) << env.logTexts().join('\n').toStdString();
    EXPECT_TRUE(env.outcomes[3].pictureWritten);
    EXPECT_TRUE(QFileInfo::exists(env.watch + "4good.jpg"));
    const QStringList log = env.logTexts();
    EXPECT_EQ(log.filter("Error: no diagram could be made from").size(), 4) << log.join('\n').toStdString();
    EXPECT_EQ(log.count("FunctionFinish:CreateDiagram"), 5);
    EXPECT_TRUE(QDir(env.watch).entryList({"*.csv", "*.kvoimp"}, QDir::Files).isEmpty());
}

TEST(Server_QueueTests, PictureThatCannotBeWrittenKeepsTheRequestAndIsLoggedOnce)
{
    // The picture's name is taken by a folder: the request is kept and tried once more at the next
    // tick, then AA00001 is logged once and it waits a minute, while the next request is served.
    test::ServerEnv env;
    QDir(env.watch).mkdir("x.jpg");
    env.dropExample("x.csv", "Voorbeeld.csv");
    test::ServerEnv::setAge(env.watch + "x.csv", 6000);
    env.dropExample("y.csv", "Voorbeeld.csv");
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(3));
    test::ServerEnv::spinUntil([] { return false; }, 1200); // a few more ticks
    ASSERT_EQ(env.outcomes.size(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(env.outcomes[i].dataFile, env.watch + "x.csv");
        EXPECT_FALSE(env.outcomes[i].pictureWritten);
        EXPECT_TRUE(env.outcomes[i].keptForRetry);
        EXPECT_FALSE(env.outcomes[i].dataFileRemoved);
        EXPECT_FALSE(env.outcomes[i].failure.isEmpty());
    }
    EXPECT_TRUE(env.outcomes[2].pictureWritten);
    EXPECT_TRUE(QFileInfo(env.watch + "x.jpg").isDir());
    EXPECT_TRUE(QFileInfo::exists(env.watch + "x.csv"));
    const QStringList log = env.logTexts();
    EXPECT_EQ(log.filter("x.jpg niet opslaan").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("volgende tik opnieuw").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("elke minuut opnieuw").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(QDir(env.watch).entryList(QDir::Files | QDir::Hidden), (QStringList{"x.csv", "y.jpg"}));
}

TEST(Server_QueueTests, UnwritableFolderIsLoggedOnceAndNeverServedAgain)
{
    // In a folder without write rights the request cannot be claimed: that is logged once, and it
    // is not tried again and again.
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes anywhere";
    test::ServerEnv env;
    env.dropExample("x.csv", "Voorbeeld.csv");
    env.server->StartButtonClick();
    QFile::setPermissions(env.watch, QFile::ReadOwner | QFile::ExeOwner);
    test::ServerEnv::spinUntil([] { return false; }, 1500);
    QFile::setPermissions(env.watch, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(env.outcomes.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(env.watch + "x.csv"));
    const QStringList log = env.logTexts();
    EXPECT_EQ(log.filter("niet claimen").size(), 1) << log.join('\n').toStdString();
}

TEST(Server_QueueTests, FileStillBeingWrittenWaits)
{
    // A request held open for writing is left alone (AA00005 logged once) while a later one is
    // served; a fresh one waits its quarter second; both are served once they are ready.
    test::ServerEnv env;
    const QString held = env.drop("a.csv", "");
    QFile writer(held);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly | QIODevice::Append));
    env.dropExample("b.csv", "Voorbeeld.csv");
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(1));
    EXPECT_EQ(env.outcomes[0].dataFile, env.watch + "b.csv");
    test::ServerEnv::spinUntil([] { return false; }, 1200); // a few more ticks
    EXPECT_EQ(env.outcomes.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(held));
    writer.write(test::readAll(test::binDir() + "/AddOn/Voorbeeld.csv"));
    writer.close();
    env.drop("c.kvoimp", test::kvoimpRequest(100), true);
    ASSERT_TRUE(env.waitForOutcomes(3));
    EXPECT_EQ(env.outcomes[1].dataFile, held);
    EXPECT_TRUE(env.outcomes[1].pictureWritten) << env.outcomes[1].failure.toStdString();
    EXPECT_TRUE(env.outcomes[2].pictureWritten);
    EXPECT_EQ(env.logTexts().filter("a.csv niet openen").size(), 1);
}

TEST(Server_StartStopTests, StartReadsTheStartupFileAnewAndStopRestoresTheProgram)
{
    // Start sets the flag and logs through the server; Stop restores the messenger; a second
    // Start reads the changed start-up file; an unreadable one keeps the settings.
    test::ServerEnv env;
    QList<bool> running;
    QObject::connect(env.server.get(), &AsServer::runningChanged, [&](bool on) { running << on; });
    env.server->StartButtonClick();
    EXPECT_TRUE(env.ctx.runAsServer);
    EXPECT_NE(env.ctx.messenger, &env.messenger);
    env.ctx.messages().error("while serving");
    EXPECT_TRUE(env.messenger.entries.isEmpty());
    EXPECT_TRUE(env.server->logLines().last().endsWith("  while serving"));
    EXPECT_EQ(env.server->WatchDir(), env.watch);
    EXPECT_FALSE(env.server->DeleteOldDiagrams());

    env.server->StopButtonClick();
    EXPECT_FALSE(env.ctx.runAsServer);
    EXPECT_EQ(env.ctx.messenger, &env.messenger);
    EXPECT_EQ(env.logTexts().last(), "Stop");
    EXPECT_EQ(running, (QList<bool>{true, false}));

    const QString other = env.temp.path() + "/other";
    env.writeStartup(other, true);
    env.server->StartButtonClick();
    EXPECT_EQ(env.server->WatchDir(), other + "/");
    EXPECT_TRUE(env.server->DeleteOldDiagrams());
    EXPECT_TRUE(env.logTexts().last().startsWith("Warning: the watched folder")); // it does not exist
    env.server->StopButtonClick();
    QFile::remove(env.startup);
    env.server->StartButtonClick();
    EXPECT_EQ(env.server->WatchDir(), other + "/");
    env.server.reset(); // destroying a running server gives the program back its messenger
    EXPECT_EQ(env.ctx.messenger, &env.messenger);
    EXPECT_FALSE(env.ctx.runAsServer);
}

TEST(Server_StartStopTests, StopInsideATickFinishesTheRequestAndNoTickFollows)
{
    // Stop pressed while the readers let events run: the request is finished, and no further
    // request is served.
    test::ServerEnv env;
    env.dropExample("a.csv", "Voorbeeld.csv");
    env.dropExample("b.csv", "Voorbeeld.csv");
    bool stopped = false;
    QObject::connect(env.server.get(), &AsServer::lineLogged, [&](const QString& line) {
        if (!stopped && line.endsWith("Import=" + env.watch + "a.csv")) {
            stopped = true;
            QTimer::singleShot(0, env.server.get(), &AsServer::StopButtonClick);
        }
    });
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(1));
    test::ServerEnv::spinUntil([] { return false; }, 1200);
    EXPECT_EQ(env.outcomes.size(), 1);
    EXPECT_TRUE(env.outcomes[0].pictureWritten);
    EXPECT_TRUE(QFileInfo::exists(env.watch + "b.csv"));
    EXPECT_FALSE(env.server->isRunning());
    EXPECT_EQ(env.ctx.messenger, &env.messenger);
}
