#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>

#include <csignal>

#include "serverfixture.h"
#include "server/requestclaims.h"

using namespace korvimo;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A claim folder as a server of another machine leaves it when it dies.
QString deadServerFolder(const QString& watch, const QString& owner)
{
    const QString folder = watch + QLatin1String(kClaimFolderName) + "/" + owner + "/";
    QDir().mkpath(folder);
    test::writeAll(folder + kAliveFileName, "");
    return folder;
}

} // namespace

TEST(Server_ClaimTests, OneOfTwoServersGetsARequestAndCloseGivesBackTheRest)
{
    // Two claimers on one folder: the first takes the request, the second finds it gone; a claim
    // never replaces a newer request when it goes back; close() returns what is left and tidies up.
    QTemporaryDir dir;
    const QString watch = dir.path() + "/";
    RequestClaims a, b;
    QString error;
    ASSERT_TRUE(a.open(watch, &error)) << error.toStdString();
    ASSERT_TRUE(b.open(watch, &error));
    EXPECT_NE(a.owner(), b.owner());
    EXPECT_TRUE(a.owner().startsWith(QSysInfo::machineHostName().left(8)) || QSysInfo::machineHostName().isEmpty());
    test::writeAll(watch + "r.csv", "one");
    bool gone = false;
    const QString claimed = a.claim(watch + "r.csv", &gone, &error);
    EXPECT_EQ(claimed, a.ownFolder() + "r.csv");
    EXPECT_TRUE(b.claim(watch + "r.csv", &gone, &error).isEmpty());
    EXPECT_TRUE(gone);
    EXPECT_TRUE(b.claimedAnywhere("r.csv"));
    EXPECT_FALSE(b.claimedAnywhere("s.csv"));

    test::writeAll(watch + "r.csv", "a newer request");
    EXPECT_FALSE(a.putBack(claimed));
    EXPECT_EQ(test::readAll(watch + "r.csv"), "a newer request");
    EXPECT_FALSE(QFileInfo::exists(claimed));

    QDir(a.ownFolder()).removeRecursively(); // cleared away by someone
    const QString again = a.claim(watch + "r.csv", &gone, &error);
    EXPECT_EQ(again, a.ownFolder() + "r.csv") << error.toStdString();
    test::writeAll(a.ownFolder() + "r.jpg", "half a picture");
    a.close();
    b.close();
    EXPECT_EQ(test::readAll(watch + "r.csv"), "a newer request");
    EXPECT_EQ(entries(watch), QStringList{"r.csv"});
}

TEST(Server_ClaimTests, ClaimsOfAServerThatDiedAreTakenOverAfterTheTimeout)
{
    // A claim folder whose heartbeat stands still for the timeout (another machine's server): its
    // request is served, a half-made picture goes; a claimed request whose name a newer waiting
    // one took is dropped and logged; one whose name was answered meanwhile gets a picture of its
    // own. A live server's claims stay where they are.
    test::ServerEnv env;
    test::writeAll(env.startup, test::readAll(env.startup) + "ClaimTimeout=3\r\n");
    const QString dead = deadServerFolder(env.watch, "elsewhere~4242~0badf00d");
    for (const char* name : {"lost.csv", "dup.csv", "late.csv"}) {
        env.dropExample(name, "Voorbeeld.csv");
        QFile::rename(env.watch + name, dead + name);
    }
    test::writeAll(dead + "lost.jpg", "half a picture");
    env.dropExample("late.csv", "Voorbeeld.csv"); // sent again, answered before the takeover
    env.dropExample("dup.csv", "Voorbeeld.csv");  // sent again, still being written then
    QFile writer(env.watch + "dup.csv");
    ASSERT_TRUE(writer.open(QIODevice::Append));
    RequestClaims alive;
    QString error;
    ASSERT_TRUE(alive.open(env.watch, &error));
    test::writeAll(alive.ownFolder() + "busy.csv", "in hand");

    env.server->StartButtonClick();
    EXPECT_EQ(env.server->claims().timeoutSeconds(), 3);
    ASSERT_TRUE(env.waitForOutcomes(1));
    EXPECT_EQ(env.outcomes[0].pictureFile, env.watch + "late.jpg");
    EXPECT_TRUE(QFileInfo::exists(dead + "lost.csv")); // not yet: the timeout runs
    ASSERT_TRUE(env.waitForOutcomes(3));
    writer.close();
    ASSERT_TRUE(env.waitForOutcomes(4));
    QStringList pictures;
    for (const auto& o : env.outcomes) {
        EXPECT_TRUE(o.pictureWritten) << o.dataFile.toStdString();
        pictures << QFileInfo(o.pictureFile).fileName();
    }
    pictures.sort();
    EXPECT_EQ(pictures, (QStringList{"dup.jpg", "late.csv.jpg", "late.jpg", "lost.jpg"}));
    EXPECT_FALSE(QFileInfo::exists(dead));
    const QStringList log = env.logTexts();
    EXPECT_EQ(log.filter(QRegularExpression("lost.csv van de gestopte server elsewhere~4242")).size(), 1)
        << log.join('\n').toStdString();
    EXPECT_EQ(log.filter(QRegularExpression("dup.csv van de gestopte server .* vervalt")).size(), 1);
    EXPECT_TRUE(QFileInfo::exists(alive.ownFolder() + "busy.csv"));
    QFile::remove(alive.ownFolder() + "busy.csv");
}

TEST(Server_ClaimTests, ThreeServersShareAFolderAndOneIsKilled)
{
    // Three korvimo-cli serve processes on one folder and 24 requests of both kinds, some
    // malformed; one server is killed in the middle. Every good request has exactly one picture,
    // no request was answered twice or lost, and nothing but pictures is left.
    test::ServerEnv env;
    const QString cli = test::binDir() + "/korvimo-cli";
    // Small pictures of the CSV files keep the sanitised build quick.
    const QString config = env.temp.path() + "/config";
    QDir().mkpath(config + "/Korvimo");
    test::writeAll(config + "/Korvimo/Korvimo.ini", "[**General variables**]\r\nExportBmpSize=150\r\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config);
    QList<QProcess*> servers;
    for (int i = 0; i < 3; ++i) {
        auto* p = new QProcess;
        p->setProcessEnvironment(environment);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(cli, {"serve", env.watch, "--claim-timeout", "3"});
        ASSERT_TRUE(p->waitForStarted());
        servers << p;
    }
    QStringList good, bad;
    for (int i = 0; i < 24; ++i) {
        const QString name = QStringLiteral("r%1").arg(i, 2, 10, QLatin1Char('0'));
        if (i % 8 == 5) {
            env.drop(name + ".kvoimp", test::kvoimpRequest(100, "sfactor=12x"));
            bad << name + ".kvoimp";
        } else if (i % 3 == 0) {
            env.dropExample(name + ".csv", "Voorbeeld.csv");
            good << name + ".csv";
        } else {
            env.drop(name + ".kvoimp", test::kvoimpRequest(100 + i));
            good << name + ".kvoimp";
        }
    }
    QStringList logs(3);
    const auto finishedCount = [&] {
        int n = 0;
        for (int i = 0; i < 3; ++i) {
            logs[i] += QString::fromLocal8Bit(servers[i]->readAllStandardError());
            n += logs[i].count("FunctionFinish:CreateDiagram");
        }
        return n;
    };
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return finishedCount() >= 6; }, 120000));
    ::kill(pid_t(servers[0]->processId()), SIGKILL);
    servers[0]->waitForFinished(10000);
    ASSERT_TRUE(test::ServerEnv::spinUntil(
        [&] {
            finishedCount();
            return QDir(env.watch).entryList({"*.csv", "*.kvoimp"}, QDir::Files).isEmpty()
                   && QDir(env.watch + kClaimFolderName).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == 2
                   && QDir(env.watch).entryList({"*.jpg"}, QDir::Files).size() == good.size();
        },
        180000))
        << entries(env.watch).join(' ').toStdString();
    for (int i = 1; i < 3; ++i) {
        ::kill(pid_t(servers[i]->processId()), SIGTERM);
        ASSERT_TRUE(servers[i]->waitForFinished(20000));
        EXPECT_EQ(servers[i]->exitCode(), 0);
    }
    finishedCount();

    // Which request each server finished: the Import= line before each finishing line.
    QHash<QString, int> answered;
    for (const QString& log : logs) {
        QString current;
        for (const QString& line : log.split('\n')) {
            const qsizetype at = line.indexOf("  Import=");
            if (at >= 0)
                current = QFileInfo(line.mid(at + 9)).fileName();
            else if (line.endsWith("FunctionFinish:CreateDiagram"))
                ++answered[current];
        }
    }
    for (const QString& name : good + bad)
        EXPECT_EQ(answered.value(name), 1) << name.toStdString();
    for (const QString& name : good) {
        QImageReader r(env.watch + QFileInfo(name).completeBaseName() + ".jpg", "jpeg");
        EXPECT_TRUE(r.canRead()) << name.toStdString();
        EXPECT_EQ(r.size().width(), name.endsWith(".csv") ? 150 : 100 + name.mid(1, 2).toInt()) << name.toStdString();
    }
    for (const QString& name : bad)
        EXPECT_FALSE(QFileInfo::exists(env.watch + QFileInfo(name).completeBaseName() + ".jpg"));
    QStringList left = entries(env.watch);
    left.removeIf([](const QString& n) { return n.endsWith(".jpg"); });
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    qDeleteAll(servers);
}
