#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include "core/safefile.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

constexpr const char* kChildVariable = "KORVIMO_FSIZE_CHILD";

} // namespace

TEST(Output_SafeFileTests, ReplacesTheTargetWhole)
{
    // A new file is written, an existing one replaced, and no temporary file stays behind.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.bmp"));
    QString error;
    ASSERT_TRUE(writeWholeFile(path, "first", &error)) << error.toStdString();
    ASSERT_TRUE(writeWholeFile(path, "second version", &error));
    EXPECT_EQ(test::readAll(path), "second version");
    EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("plan.bmp")});
    // Others may read the picture: the file is not left with a temporary file's private mode.
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadGroup);
}

TEST(Output_SafeFileTests, FolderThatIsAFileGivesTheReason)
{
    // A path below a regular file cannot be created: the message names the file and the reason.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("notafolder"));
    ASSERT_TRUE(test::writeAll(blocker, "x"));
    const QString path = blocker + QStringLiteral("/plan.png");
    QString error;
    EXPECT_FALSE(writeWholeFile(path, "bytes", &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("Not a directory"))) << error.toStdString();
    EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("notafolder")});
    EXPECT_EQ(test::readAll(blocker), "x");
}

TEST(Output_SafeFileTests, FileSizeLimitLeavesNoPartialFile)
{
    // With a file-size limit the write fails half-way: the old file stays and nothing else remains.
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        // The child: the limit is in place (see the parent below); write and report.
        const QString path = qEnvironmentVariable(kChildVariable);
        QString error;
        const bool ok = writeWholeFile(path, QByteArray(200000, 'k'), &error);
        std::printf("%s\n", ok ? "written" : error.toUtf8().constData());
        std::fflush(stdout);
        std::_Exit(0);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(test::writeAll(path, "old picture"));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), path);
    child.setProcessEnvironment(env);
    child.setChildProcessModifier([] {
        rlimit limit{50000, 50000};
        setrlimit(RLIMIT_FSIZE, &limit);
        // Without this the kernel ends the process instead of failing the write.
        std::signal(SIGXFSZ, SIG_IGN);
    });
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=Output_SafeFileTests.FileSizeLimitLeavesNoPartialFile")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString said = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_TRUE(said.contains(QStringLiteral("Cannot write file \"") + path)) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("File too large"))) << said.toStdString();
    EXPECT_EQ(test::readAll(path), "old picture");
    EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("big.png")});
}
