#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/testsupport.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString err;
    QByteArray out;
};

// korvimo-cli with the given settings file contents (none when empty) in a
// configuration folder of its own.
struct Cli {
    QTemporaryDir dir;

    void settings(const QByteArray& generalLines) const
    {
        QDir().mkpath(dir.filePath("config/Korvimo"));
        test::writeAll(dir.filePath("config/Korvimo/Korvimo.ini"),
                       "[Korvimo settings]\r\n\r\n[**General variables**]\r\n" + generalLines + "\r\n");
    }

    CliRun operator()(const QStringList& args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(test::binDir() + "/korvimo-cli", args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()), p.readAllStandardOutput()};
    }

    QString put(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(name);
        test::writeAll(path, bytes);
        return path;
    }
};

// A U-turn: east along y = 100, back west along y = 140.
const QByteArray kUTurn = "[**General variables**]\r\nfileversion=300\r\n[**Script**]\r\n"
                          "ARC;1;0001;0002;0003;0004;[0101];[0101];[0100];255;A;N;A;\r\n"
                          "[**Coordinates**]\r\n0001=50;100;\r\n0002=150;100;\r\n0003=150;140;\r\n0004=50;140;\r\n"
                          "[**Intensities**]\r\n0100=400;I;\r\n0101=0;V;\r\n";

} // namespace

TEST(Document_CliInputTests, FilesThatAreNoDiagramEndWithStatusOneAndWriteNothing)
{
    // render, check and convert of a PNG renamed .kvo and of a CSV without intersection data print
    // why (naming the file) and end with 1; convert writes no .kvo and render no picture.
    Cli cli;
    const QString png = cli.put("photo.kvo", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(300, 'z'));
    const QString csv = cli.put("hello.csv", "hello;world\r\n");
    for (const QString& input : {png, csv}) {
        SCOPED_TRACE(input.toStdString());
        const CliRun convert = cli({"convert", input, cli.dir.filePath("out.kvo")});
        EXPECT_EQ(convert.exitCode, 1);
        EXPECT_TRUE(convert.err.contains(input)) << convert.err.toStdString();
        EXPECT_TRUE(convert.err.contains("cannot be opened as a diagram")) << convert.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(cli.dir.filePath("out.kvo")));
        const CliRun render = cli({"render", input, cli.dir.filePath("out.png")});
        EXPECT_EQ(render.exitCode, 1);
        EXPECT_TRUE(render.err.contains("cannot be opened as a diagram")) << render.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(cli.dir.filePath("out.png")));
        const CliRun check = cli({"check", input});
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_TRUE(check.out.isEmpty());
    }
    EXPECT_EQ(test::readAll(png).left(4), QByteArray("\x89PNG"));
}

TEST(Document_CliInputTests, DataLeftOutIsPrintedAndEndsWithStatusOneAfterTheWork)
{
    // A request for 011301 (no arm 1) with volumes of arm 1: the picture and the .kvo are written
    // from what fits, the left-out volumes are named on stderr, and the status is 1.
    Cli cli;
    const QString req = cli.put("arm1.kvoimp", "[**Import variables**]\r\nVolumesType=OD\r\nBaseDiagramFromLibrary=011301\r\n"
                                               "[**Arms**]\r\nARMNO;ANGLE;NAME\r\n2;90;b\r\n3;180;c\r\n4;270;d\r\n"
                                               "[**OD**]\r\nARMFROM;ARMTO;VOLUME\r\n1;2;120\r\n2;3;50\r\n");
    const CliRun render = cli({"render", req, cli.dir.filePath("arm1.png"), "--width", "200"});
    EXPECT_EQ(render.exitCode, 1);
    EXPECT_TRUE(render.err.contains("from arm 1 to arm 2: 120")) << render.err.toStdString();
    EXPECT_TRUE(QFileInfo(cli.dir.filePath("arm1.png")).size() > 0);
    const CliRun convert = cli({"convert", req, cli.dir.filePath("arm1.kvo")});
    EXPECT_EQ(convert.exitCode, 1);
    EXPECT_TRUE(test::readAll(cli.dir.filePath("arm1.kvo")).contains("0006=50;I;"));
}

TEST(Document_CliInputTests, TheSettingsFileDecidesArcsAndLanguage)
{
    // Arc22ArcsAllowed=0 in the settings file makes the U-turn a straight joint on the command
    // line too; the messages come in the language the settings name, English when none was chosen.
    Cli cli;
    const QString uturn = cli.put("u.kvo", kUTurn);
    const CliRun split = cli({"check", uturn});
    ASSERT_EQ(split.exitCode, 0) << split.err.toStdString();
    cli.settings("Arc22ArcsAllowed=0");
    const CliRun straight = cli({"check", uturn});
    ASSERT_EQ(straight.exitCode, 0) << straight.err.toStdString();
    EXPECT_TRUE(split.out.contains("AR2;1;")) << split.out.left(2000).constData();
    EXPECT_FALSE(straight.out.contains("AR2;1;"));
    EXPECT_TRUE(straight.out.contains("LNE;1;0003;0004;")) << straight.out.left(2000).constData();

    const QString empty = cli.put("leeg.kvo", "");
    cli.settings("");
    EXPECT_TRUE(cli({"check", empty}).err.contains("the file is empty"));
    cli.settings("Language=Deutsch\r\nLanguageSet=1");
    const CliRun german = cli({"check", empty});
    EXPECT_TRUE(german.err.contains("die Datei ist leer")) << german.err.toStdString();
    cli.settings("Language=Nederlands\r\nLanguageSet=1");
    EXPECT_TRUE(cli({"check", empty}).err.contains("het bestand is leeg"));
    cli.settings("Language=Deutsch\r\nLanguageSet=1");
    const CliRun unwritable = cli({"render", uturn, cli.dir.filePath("no/such/folder/u.emf")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("u.emf")) << unwritable.err.toStdString();
    EXPECT_FALSE(unwritable.err.contains("Cannot write")) << unwritable.err.toStdString();
}
