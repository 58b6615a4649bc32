#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

#include "serverfixture.h"
#include "server/watchfolder.h"

using namespace korvimo;

namespace {

// A fixed moment at second 10 of a minute.
QDateTime secondTen()
{
    QDateTime t = QDateTime::currentDateTime();
    t.setTime(QTime(t.time().hour(), t.time().minute(), 10, 300));
    return t;
}

void dropPictures(test::ServerEnv& env, const QDateTime& now)
{
    test::writeAll(env.watch + "m30.jpg", "x");
    test::writeAll(env.watch + "m31.jpg", "x");
    test::writeAll(env.watch + "keep.png", "x");
    test::ServerEnv::setAge(env.watch + "m30.jpg", 30 * 60000 + 59000, now); // 30 whole minutes
    test::ServerEnv::setAge(env.watch + "m31.jpg", 31 * 60000, now);
    test::ServerEnv::setAge(env.watch + "keep.png", 90 * 60000, now);
}

} // namespace

TEST(Server_CleanupTests, DeleteOldDiagramsOffNeverDeletes)
{
    // DeleteOldDiagrams=0: at second 10 the pictures 30 and 31 minutes old both stay.
    test::ServerEnv env(false);
    const QDateTime now = secondTen();
    dropPictures(env, now);
    env.server->setClock([now] { return now; });
    env.server->StartButtonClick();
    int ticks = 0;
    QObject::connect(env.server.get(), &AsServer::tickFinished, [&] { ++ticks; });
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return ticks >= 2; }));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "m30.jpg"));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "m31.jpg"));
}

TEST(Server_CleanupTests, AtSecondTenPicturesPastThirtyWholeMinutesGo)
{
    // DeleteOldDiagrams=1: at second 10 the 31-minute picture is deleted and logged, the
    // 30-minute one and other files stay; at any other second nothing happens.
    test::ServerEnv env(true);
    QDateTime now = secondTen().addSecs(1);
    dropPictures(env, secondTen());
    env.server->setClock([&now] { return now; });
    int ticks = 0;
    QObject::connect(env.server.get(), &AsServer::tickFinished, [&] { ++ticks; });
    env.server->StartButtonClick();
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return ticks >= 1; }));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "m31.jpg"));

    now = now.addSecs(-1);
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return ticks >= 2; }));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "m30.jpg"));
    EXPECT_FALSE(QFileInfo::exists(env.watch + "m31.jpg"));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "keep.png"));
    EXPECT_TRUE(env.logTexts().contains("Deleted old diagram: " + env.watch + "m31.jpg"));
}

TEST(Server_WatchFolderTests, RequestsByKindAndName)
{
    // Files of one kind in name order, any case of the extension, hidden ones too; folders and a bare
    // extension are not requests.
    test::ServerEnv env;
    for (const char* n : {"b.csv", "a.CSV", ".h.csv", "c.kvoimp", ".csv", "note.csv.txt"})
        test::writeAll(env.watch + n, "x");
    QDir(env.watch).mkdir("dir.csv");
    QStringList names;
    for (const QString& p : requestFiles(env.watch, ".csv"))
        names << QFileInfo(p).fileName();
    EXPECT_EQ(names, (QStringList{".h.csv", "a.CSV", "b.csv"}));
    EXPECT_EQ(requestFiles(env.watch, ".kvoimp"), QStringList{env.watch + "c.kvoimp"});
    EXPECT_TRUE(requestFiles(QString(), ".csv").isEmpty());
}

TEST(Server_WatchFolderTests, WritersInOtherProcessesAreSeenByBothChecks)
{
    // A file another process holds open for writing counts as held by the lease and by the /proc
    // scan; once that process is gone, or while it only reads, it does not.
    test::ServerEnv env;
    const QString path = env.drop("w.csv", "x");
    for (const char* mode : {">>", "<"}) {
        QProcess child;
        child.start("/bin/sh", {"-c", QString("exec 3%1'%2'; echo ready; exec sleep 30").arg(mode, path)});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        const bool writes = QByteArray(mode) == ">>";
        EXPECT_EQ(heldOpenForWriting(path, WriteCheck::ProcScan), writes) << mode;
        EXPECT_EQ(heldOpenForWriting(path, WriteCheck::Any), writes) << mode;
        child.kill();
        child.waitForFinished();
    }
    EXPECT_FALSE(heldOpenForWriting(path, WriteCheck::ProcScan));
    EXPECT_FALSE(heldOpenForWriting(path, WriteCheck::Any));
}

TEST(Server_WatchFolderTests, SettlingGoesByTheTimeStamp)
{
    // A time stamp 100 ms old is not settled and hints the rest of the quarter second; one a
    // second old is; one in the future settles once it has been seen unchanged for a quarter second.
    test::ServerEnv env;
    const QDateTime now = QDateTime::currentDateTime();
    const QString fresh = env.drop("f.csv", "x");
    test::ServerEnv::setAge(fresh, 100, now);
    const QString old = env.drop("o.csv", "x");
    const QString future = env.drop("u.csv", "x");
    test::ServerEnv::setAge(future, -60000, now);
    SettleWatch w;
    w.beginScan();
    EXPECT_FALSE(w.settled(fresh, now));
    EXPECT_GT(w.waitHint(), 100);
    EXPECT_LE(w.waitHint(), 150);
    EXPECT_TRUE(w.settled(old, now));
    EXPECT_FALSE(w.settled(future, now));
    EXPECT_TRUE(w.settled(future, now.addMSecs(260)));
    EXPECT_TRUE(w.settled(fresh, now.addMSecs(160)));
    test::writeAll(future, "xy"); // changed: starts again
    test::ServerEnv::setAge(future, -60000, now);
    EXPECT_FALSE(w.settled(future, now.addMSecs(300)));
}
