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

TEST(Output_SafeFileTests, EveryLegalNameCanBeWritten)
{
    // Names up to the 255-byte limit, in one-byte and in multi-byte characters, are written and
    // replaced; the temporary name beside them never goes past the limit, nor stays behind.
    QTemporaryDir dir;
    const QString ascii = QString(246, QLatin1Char('p')) + QStringLiteral(".png"); // 250 bytes
    const QString longest = QString(251, QLatin1Char('q')) + QStringLiteral(".bmp"); // 255 bytes
    // 84 three-byte characters and ".png": 256 bytes would be too long, so 83 of them (253 bytes).
    const QString wide = QString(83, QChar(0x20AC)) + QStringLiteral(".png");
    ASSERT_EQ(QFile::encodeName(wide).size(), 253);
    for (const QString& name : {ascii, longest, wide}) {
        const QString path = dir.filePath(name);
        QString error;
        ASSERT_TRUE(writeWholeFile(path, "first", &error)) << error.toStdString();
        ASSERT_TRUE(writeWholeFile(path, "second", &error)) << error.toStdString();
        EXPECT_EQ(test::readAll(path), "second");
    }
    EXPECT_EQ(folderEntries(dir.path()).size(), 3);
    // One byte past the limit is the system's refusal, reported as such.
    QString error;
    EXPECT_FALSE(writeWholeFile(dir.filePath(longest + QLatin1Char('x')), "x", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("File name too long"))) << error.toStdString();
    EXPECT_EQ(folderEntries(dir.path()).size(), 3);
}
