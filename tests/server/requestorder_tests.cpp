#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImageReader>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

#include "serverfixture.h"
#include "server/watchfolder.h"

using namespace korvimo;

namespace {

int jpegWidth(const QString& path)
{
    QImageReader r(path, "jpeg");
    return r.canRead() ? r.size().width() : -1;
}

// Lowers the largest file this process may write; writes beyond it fail
// with EFBIG, as on a full disk. Restored when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

TEST(Server_OrderTests, OldestRequestGoesFirstWhateverItsKind)
{
    // An import request older than three CSV files is served first; the CSV files follow by age,
    // and of two with one time stamp the name decides.
    test::ServerEnv env;
    const QDateTime now = QDateTime::currentDateTime();
    env.drop("z.kvoimp", test::kvoimpRequest(100));
    for (const char* name : {"a.csv", "b.csv", "c.csv"})
        env.dropExample(name, "Voorbeeld.csv");
    test::ServerEnv::setAge(env.watch + "z.kvoimp", 9000, now);
    test::ServerEnv::setAge(env.watch + "c.csv", 5000, now);
    test::ServerEnv::setAge(env.watch + "a.csv", 3000, now);
    test::ServerEnv::setAge(env.watch + "b.csv", 3000, now);
    const QList<RequestFile> queue = requestsOldestFirst(env.watch);
    QStringList names;
    for (const RequestFile& r : queue)
        names << QFileInfo(r.path).fileName();
    EXPECT_EQ(names, (QStringList{"z.kvoimp", "c.csv", "a.csv", "b.csv"}));
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(4));
    names.clear();
    for (const auto& o : env.outcomes)
        names << QFileInfo(o.dataFile).fileName();
    EXPECT_EQ(names, (QStringList{"z.kvoimp", "c.csv", "a.csv", "b.csv"}));
}

TEST(Server_AnswerNameTests, CsvAndImportRequestOfOneNameGetAPictureEach)
{
    // a.csv and a.kvoimp waiting together: the import request answers as a.jpg and the CSV file as
    // a.csv.jpg, whichever of them is older; each answer is logged.
    for (const bool csvOlder : {true, false}) {
        test::ServerEnv env;
        env.drop("a.kvoimp", test::kvoimpRequest(120));
        env.dropExample("a.csv", "Voorbeeld.csv");
        test::ServerEnv::setAge(env.watch + (csvOlder ? "a.csv" : "a.kvoimp"), 9000);
        env.server->StartButtonClick();
        ASSERT_TRUE(env.waitForOutcomes(2));
        EXPECT_EQ(QFileInfo(env.outcomes[0].dataFile).fileName(), csvOlder ? "a.csv" : "a.kvoimp");
        for (const auto& o : env.outcomes) {
            EXPECT_TRUE(o.pictureWritten) << o.failure.toStdString();
            EXPECT_EQ(o.pictureFile, o.dataFile.endsWith(".csv") ? env.watch + "a.csv.jpg" : env.watch + "a.jpg");
        }
        EXPECT_EQ(jpegWidth(env.watch + "a.jpg"), 120) << "csv older: " << csvOlder;
        EXPECT_EQ(jpegWidth(env.watch + "a.csv.jpg"), 160);
        EXPECT_EQ(env.logTexts().filter("hoort bij een andere aanvraag").size(), 1)
            << env.logTexts().join('\n').toStdString();
    }
}

TEST(Server_AnswerNameTests, PlainNameUnlessAnotherAnswerCameAfterTheRequest)
{
    // The answer rule on its own: a picture older than the request is replaced under the plain
    // name; one put in place after the request arrived makes it keep its extension; a waiting
    // companion renames only the CSV file's answer.
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    test::writeAll(folder + "p.jpg", "older answer");
    QThread::msleep(20);
    test::writeAll(folder + "p.kvoimp", "request");
    const qint64 arrived = changeTimeNs(folder + "p.kvoimp");
    EXPECT_EQ(answerPictureName(folder, "p.kvoimp", false, arrived), folder + "p.jpg");
    EXPECT_EQ(answerPictureName(folder, "p.kvoimp", true, arrived), folder + "p.jpg");
    EXPECT_EQ(answerPictureName(folder, "p.csv", true, arrived), folder + "p.csv.jpg");
    QThread::msleep(20);
    QFile::remove(folder + "p.jpg");
    test::writeAll(folder + "p.jpg", "answer to another request");
    EXPECT_EQ(answerPictureName(folder, "p.kvoimp", false, arrived), folder + "p.kvoimp.jpg");
    EXPECT_EQ(answerPictureName(folder, "p.x.kvoimp", false, arrived), folder + "p.x.jpg");
}

TEST(Server_WriterTests, RequestWrittenInPiecesWithLongPausesIsReadWhenWhole)
{
    // A writer that closes the file between pieces and pauses longer than a quarter second: the
    // first piece does not read as a diagram, the file changes again, so it is read once more and
    // answered whole. One that stays incomplete is answered as failed after the wait.
    test::ServerEnv env;
    const QByteArray whole = test::kvoimpRequest(140);
    const qsizetype cut = whole.indexOf("BaseDiagramFromLibrary");
    env.drop("slow.kvoimp", whole.left(cut), true);
    env.drop("stuck.kvoimp", whole.left(cut), true);
    env.server->StartButtonClick();
    test::ServerEnv::spinUntil([] { return false; }, 700);
    EXPECT_TRUE(env.outcomes.isEmpty());
    QFile f(env.watch + "slow.kvoimp");
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(whole.mid(cut));
    f.close();
    ASSERT_TRUE(env.waitForOutcomes(2));
    const auto slow = env.outcomes[0].dataFile.endsWith("slow.kvoimp") ? env.outcomes[0] : env.outcomes[1];
    const auto stuck = env.outcomes[0].dataFile.endsWith("stuck.kvoimp") ? env.outcomes[0] : env.outcomes[1];
    EXPECT_TRUE(slow.pictureWritten) << slow.failure.toStdString();
    EXPECT_EQ(jpegWidth(env.watch + "slow.jpg"), 140);
    EXPECT_FALSE(stuck.pictureWritten);
    EXPECT_TRUE(stuck.dataFileRemoved);
    const QStringList log = env.logTexts();
    EXPECT_EQ(log.filter("slow.kvoimp was nog niet compleet").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("Import=").size(), 2);
}

TEST(Server_FullDiskTests, FailedWriteKeepsTheRequestRemovesTheOldPictureAndRetries)
{
    // Writes beyond a small size fail as on a full disk: the older big.jpg goes at once, the request
    // stays and is tried at the next tick, then AA00001 is logged once and no further try follows
    // within the minute. With room again, a request that changed is served.
    test::ServerEnv env;
    test::writeAll(env.watch + "big.jpg", "the answer to an older request");
    env.drop("big.kvoimp", test::kvoimpRequest(400));
    {
        const FileSizeLimit limit(48 * 1024);
        env.server->StartButtonClick();
        ASSERT_TRUE(env.waitForOutcomes(2));
        test::ServerEnv::spinUntil([] { return false; }, 1200);
        env.server->StopButtonClick();
    }
    ASSERT_EQ(env.outcomes.size(), 2);
    for (const auto& o : env.outcomes) {
        EXPECT_FALSE(o.pictureWritten);
        EXPECT_TRUE(o.keptForRetry);
        EXPECT_TRUE(o.failure.contains("File too large")) << o.failure.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(env.watch + "big.jpg"));
    EXPECT_TRUE(QFileInfo::exists(env.watch + "big.kvoimp"));
    QStringList log = env.logTexts();
    EXPECT_EQ(log.filter("big.jpg niet opslaan").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("Removed the older picture").size(), 1);
    EXPECT_TRUE(QDir(env.server->claims().claimsFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    test::ServerEnv::setAge(env.watch + "big.kvoimp", 3000);
    env.server->StartButtonClick();
    ASSERT_TRUE(env.waitForOutcomes(3));
    EXPECT_TRUE(env.outcomes[2].pictureWritten) << env.outcomes[2].failure.toStdString();
    EXPECT_EQ(jpegWidth(env.watch + "big.jpg"), 400);
    EXPECT_FALSE(QFileInfo::exists(env.watch + "big.kvoimp"));
}
