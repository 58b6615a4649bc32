#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

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

namespace {

// Runs korvimo-cli render with a file-size limit, as on a full disk.
int renderOnFullDisk(const QStringList& args, QString* said)
{
    QProcess cli;
    cli.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 200;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    cli.start(test::binDir() + QStringLiteral("/korvimo-cli"), QStringList{QStringLiteral("render")} + args);
    if (!cli.waitForFinished(120000))
        return -1;
    *said = QString::fromUtf8(cli.readAllStandardError());
    return cli.exitCode();
}

} // namespace

TEST(Output_RenderCommandTests, OutputThatIsTheInputIsRefused)
{
    // The output names the input - by the same name, another spelling or a link: nothing is
    // written, the diagram stays byte for byte, and the status is 1 with one message.
    QTemporaryDir dir;
    const QByteArray diagram = test::readAll(test::dataPath(QStringLiteral("output/band.kvo")));
    const QString input = dir.filePath(QStringLiteral("diagram.txt"));
    ASSERT_TRUE(test::writeAll(input, diagram));
    const QString link = dir.filePath(QStringLiteral("link.emf"));
    ASSERT_TRUE(QFile::link(input, link));
    for (const QString& output : {input, dir.path() + QStringLiteral("/./diagram.txt"), link}) {
        QString said;
        EXPECT_EQ(render({input, output}, &said), 1) << output.toStdString();
        EXPECT_EQ(said.count(QStringLiteral("error: ")), 1) << said.toStdString();
        EXPECT_TRUE(said.contains(QStringLiteral("is the input file"))) << said.toStdString();
        EXPECT_EQ(test::readAll(input), diagram);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    // A different file of the same content is no reason to refuse.
    EXPECT_EQ(render({input, dir.filePath(QStringLiteral("copy.txt"))}), 0);
}

TEST(Output_RenderCommandTests, FullDiskKeepsTheOldPictureInEveryFormat)
{
    // On a full disk every format - the vector copies too - fails with status 1, gives the
    // system's reason exactly once, and leaves the old picture as it was.
    QTemporaryDir dir;
    const QString input = test::dataPath(QStringLiteral("output/band.kvo"));
    for (const char* name : {"band.svg", "band.pdf", "band.png", "band.bmp", "band.emf", "band.txt"}) {
        const QString output = dir.filePath(QString::fromLatin1(name));
        const QByteArray old(100, 'o');
        ASSERT_TRUE(test::writeAll(output, old));
        QString said;
        EXPECT_EQ(renderOnFullDisk({input, output, QStringLiteral("--width"), QStringLiteral("900")}, &said), 1)
            << name << ": " << said.toStdString();
        // The metafile library does not pass the system's reason on; everything else does.
        const bool metafile = QString::fromLatin1(name).endsWith(QLatin1String(".emf"));
        EXPECT_EQ(said.count(metafile ? QStringLiteral("the disk may be full") : QStringLiteral("File too large")), 1)
            << name << ": " << said.toStdString();
        EXPECT_EQ(said.count(output), 1) << name << ": " << said.toStdString();
        EXPECT_EQ(said.count(QStringLiteral("error: ")), 1) << name << ": " << said.toStdString();
        EXPECT_EQ(test::readAll(output), old) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6); // no temporary file left
}

TEST(Output_RenderCommandTests, QtDiagnosticsStayOffStderrUnlessAsked)
{
    // A pen width at the end of the integer range makes Qt complain while the picture is drawn;
    // the command line keeps those lines to itself unless KORVIMO_QT_MESSAGES asks for them.
    QTemporaryDir dir;
    QByteArray diagram = test::readAll(test::dataPath(QStringLiteral("output/band.kvo")));
    diagram.replace("linewidth=3\r\n", "linewidth=2147483647\r\n");
    const QString input = dir.filePath(QStringLiteral("wide.kvo"));
    ASSERT_TRUE(test::writeAll(input, diagram));
    QString said;
    EXPECT_EQ(render({input, dir.filePath(QStringLiteral("wide.png")), QStringLiteral("--width"), QStringLiteral("200")}, &said), 0);
    EXPECT_FALSE(said.contains(QStringLiteral("QPen"))) << said.toStdString();

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORVIMO_QT_MESSAGES"), QStringLiteral("1"));
    cli.setProcessEnvironment(env);
    cli.start(test::binDir() + QStringLiteral("/korvimo-cli"),
              {QStringLiteral("render"), input, dir.filePath(QStringLiteral("asked.png")), QStringLiteral("--width"), QStringLiteral("200")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("QPen")));
}
