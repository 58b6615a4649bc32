#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "core/inputfile.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

// A file of the given size that takes no disk space.
QString sparseFile(const QTemporaryDir& dir, const char* name, qint64 size)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.resize(size);
    return path;
}

} // namespace

TEST(Core_InputFileTests, OnlyRegularFilesWithinTheLimitAreRead)
{
    // A FIFO without a writer, a device that never ends, a folder and a huge file are refused at
    // once; a regular file is read whole. None of them may block or fill the memory.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.kvo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray bytes = "stale";
    EXPECT_EQ(readInputFile(fifo, &bytes).problem, InputProblem::NotRegular);
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(checkInputFile(fifo).problem, InputProblem::NotRegular);
    EXPECT_EQ(readInputFile(QStringLiteral("/dev/zero"), &bytes).problem, InputProblem::NotRegular);
    EXPECT_EQ(readInputFile(dir.path(), &bytes).problem, InputProblem::NotRegular);

    const QString huge = sparseFile(dir, "huge.kvo", kMaxInputFileBytes + 1);
    EXPECT_EQ(readInputFile(huge, &bytes).problem, InputProblem::TooLarge);
    EXPECT_EQ(checkInputFile(huge).problem, InputProblem::TooLarge);
    // The limit is the caller's: pictures may be larger than diagrams.
    EXPECT_TRUE(checkInputFile(huge, kMaxPictureFileBytes).ok());
    const QString atLimit = sparseFile(dir, "limit.kvo", 4096);
    EXPECT_TRUE(readInputFile(atLimit, &bytes, 4096).ok());
    EXPECT_EQ(bytes.size(), 4096);
    EXPECT_EQ(readInputFile(atLimit, &bytes, 4095).problem, InputProblem::TooLarge);

    const InputCheck missing = readInputFile(dir.filePath(QStringLiteral("none.kvo")), &bytes);
    EXPECT_EQ(missing.problem, InputProblem::CannotOpen);
    EXPECT_EQ(missing.reason, QStringLiteral("No such file or directory"));
    EXPECT_EQ(readInputFile(QString(), &bytes).problem, InputProblem::CannotOpen);

    const QString plain = dir.filePath(QStringLiteral("plain.kvo"));
    ASSERT_TRUE(test::writeAll(plain, QByteArray(70000, 'x') + "end"));
    ASSERT_TRUE(readInputFile(plain, &bytes).ok());
    EXPECT_EQ(bytes.size(), 70003);
    EXPECT_TRUE(bytes.endsWith("end"));
    ASSERT_TRUE(test::writeAll(plain, ""));
    EXPECT_TRUE(readInputFile(plain, &bytes).ok());
    EXPECT_TRUE(bytes.isEmpty());
}

TEST(Core_InputFileTests, SameFileThroughLinks)
{
    // Two names of one file - the same path, a symbolic link, a hard link, a relative path - are
    // the same file; another file or a name not yet on disk is not.
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("diagram.txt"));
    const QString b = dir.filePath(QStringLiteral("other.txt"));
    ASSERT_TRUE(test::writeAll(a, "a"));
    ASSERT_TRUE(test::writeAll(b, "a"));
    const QString soft = dir.filePath(QStringLiteral("soft.txt"));
    const QString hard = dir.filePath(QStringLiteral("hard.txt"));
    ASSERT_TRUE(QFile::link(a, soft));
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(hard).constData()), 0);
    EXPECT_TRUE(isSameFile(a, a));
    EXPECT_TRUE(isSameFile(a, soft));
    EXPECT_TRUE(isSameFile(soft, a));
    EXPECT_TRUE(isSameFile(a, hard));
    EXPECT_TRUE(isSameFile(a, dir.path() + QStringLiteral("/./diagram.txt")));
    EXPECT_FALSE(isSameFile(a, b));
    EXPECT_FALSE(isSameFile(a, dir.filePath(QStringLiteral("new.png"))));
    EXPECT_FALSE(isSameFile(QString(), a));
}
