#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "support/testsupport.h"

namespace {

// Runs korvimo-cli render with the arguments; the exit status.
int render(const QStringList& args, QString* said = nullptr)
{
    QProcess cli;
    cli.start(test::binDir() + QStringLiteral("/korvimo-cli"), QStringList{QStringLiteral("render")} + args);
    if (!cli.waitForFinished(120000))
        return -1;
    if (said)
        *said = QString::fromUtf8(cli.readAllStandardError());
    return cli.exitCode();
}

} // namespace

TEST(Output_RenderCommandTests, PixelPicturesTakeWidthAndSmoothing)
{
    // --width sets the picture width, the height follows the diagram; --no-antialias gives hard edges.
    QTemporaryDir dir;
    const QString input = test::dataPath(QStringLiteral("output/band.kvo"));
    const QString png = dir.filePath(QStringLiteral("band.png"));
    ASSERT_EQ(render({input, png, QStringLiteral("--width"), QStringLiteral("300")}), 0);
    EXPECT_EQ(QImage(png).size(), QSize(300, 150));
    const QString hard = dir.filePath(QStringLiteral("hard.bmp"));
    ASSERT_EQ(render({input, hard, QStringLiteral("--width"), QStringLiteral("300"), QStringLiteral("--no-antialias")}), 0);
    EXPECT_EQ(QImage(hard).size(), QSize(300, 150));
    EXPECT_NE(QImage(png).convertToFormat(QImage::Format_RGB32),
              QImage(hard).convertToFormat(QImage::Format_RGB32));
    const QString jpg = dir.filePath(QStringLiteral("band.jpg"));
    ASSERT_EQ(render({input, jpg}), 0); // the width of the ExportBmpSize setting
    EXPECT_EQ(QImage(jpg).size(), QSize(1000, 500));
    for (const char* name : {"band.svg", "band.pdf"})
        EXPECT_EQ(render({input, dir.filePath(QString::fromLatin1(name))}), 0) << name;
    EXPECT_TRUE(test::readAll(dir.filePath(QStringLiteral("band.svg"))).contains("<svg"));
    EXPECT_TRUE(test::readAll(dir.filePath(QStringLiteral("band.pdf"))).startsWith("%PDF"));
}

TEST(Output_RenderCommandTests, BadWidthAndUnwritablePlaces)
{
    // A width that is no positive number is a usage error; a failed write is status 1 with the reason.
    QTemporaryDir dir;
    const QString input = test::dataPath(QStringLiteral("output/band.kvo"));
    EXPECT_EQ(render({input, dir.filePath(QStringLiteral("a.png")), QStringLiteral("--width"), QStringLiteral("0")}), 2);
    EXPECT_EQ(render({input, dir.filePath(QStringLiteral("a.png")), QStringLiteral("--width")}), 2);
    ASSERT_TRUE(test::writeAll(dir.filePath(QStringLiteral("file")), "x"));
    QString said;
    EXPECT_EQ(render({input, dir.filePath(QStringLiteral("file/a.png"))}, &said), 1);
    EXPECT_TRUE(said.contains(QStringLiteral("Not a directory"))) << said.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("a.png"))));
}
