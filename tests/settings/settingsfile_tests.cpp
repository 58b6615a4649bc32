#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/messenger.h"
#include "i18n/languagetexts.h"
#include "settings/settingsfile.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

QByteArray crlf(const QStringList& lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

ProgramSettings readBytes(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Korvimo.ini"));
    test::writeAll(path, bytes);
    ProgramSettings s;
    EXPECT_TRUE(ProgInstellingenOphalen(s, path));
    return s;
}

} // namespace

TEST(Settings_SettingsFileTests, RoundTripIsByteExact)
{
    // A file with every field off its default reads and writes back to the same bytes.
    const QByteArray original = test::readAll(test::dataPath(QStringLiteral("settings/full.ini")));
    ASSERT_FALSE(original.isEmpty());
    const ProgramSettings s = readBytes(original);
    EXPECT_EQ(s.language, QStringLiteral("English"));
    EXPECT_EQ(s.fontNameDefault, QString::fromUtf8("Arial Café ")); // trailing space kept
    EXPECT_EQ(s.csvSep, QStringLiteral(",;"));
    EXPECT_EQ(s.arcCorrectionWin9x, 32768);
    EXPECT_FALSE(s.exportPixAntiAliased);
    EXPECT_EQ(s.basicColors[15], -16);
    EXPECT_FALSE(s.composeZoomExtended);
    EXPECT_FALSE(s.keepTextsUpright);
    EXPECT_FALSE(s.placeNamesClear);
    EXPECT_FALSE(s.exportCachedGlyphs);
    EXPECT_FALSE(s.ringFollowsArms);
    EXPECT_EQ(s.formPositions.size(), 3); // two windows and the empty last line
    EXPECT_EQ(s.compareDecreaseColor, 9);
    EXPECT_EQ(s.volumeClasses, QStringLiteral("MVT+VRA*2"));
    EXPECT_EQ(settingsFileBytes(s), original);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new/sub/Korvimo.ini"));
    QString error;
    ASSERT_TRUE(writeSettingsFile(s, path, &error)) << error.toStdString();
    EXPECT_EQ(test::readAll(path), original);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("new/sub"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Korvimo.ini")}); // no temporary left behind
}

TEST(Settings_SettingsFileTests, DefaultsAreWrittenInFileOrder)
{
    // The default settings produce the described layout, key by key.
    const QStringList lines = settingsFileLines(ProgramSettings());
    ASSERT_EQ(lines.size(), 67);
    EXPECT_EQ(lines[0], QStringLiteral("[Korvimo settings]"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("[**General variables**]"));
    const QStringList expected{
        "Language=Nederlands", "LanguageSet=0", "LanguageHelp=Korvimo_Nederlands", "CoordsInterval=5",
        "ZoomInOutValue=50", "Arc22ArcsAllowed=1", "Arc22ArcsValue=2", "DrawMethodScreen=3",
        "AutoRedrawScale=1", "ArcCorrectionWin9x=0", "FontNameDefault=Arial", "FontSizeDefault=10",
        "MaxDiagramWidth=1500", "MaxDiagramHeight=1500", "CopyType=EMF", "CopyFactor=1000",
        "CopyPixWidth=1000", "CopyPixAntiAliased=1", "PrintType=EMF", "PrintBmpSize=2000",
        "PrintBmpColors=1", "StartShowNewForm=1", "CSVsep=;", "ExportType=1", "ExportBmpSize=1000",
        "exportpixantialiased=1", "MainWindowMaximized=0", "MainWindowLeft=0", "MainWindowTop=0",
        "MainWindowWidth=0", "MainWindowHeight=0", "BasicColor0001=0", "BasicColor0002=10282158",
        "BasicColor0003=16776960", "BasicColor0004=8454143", "BasicColor0005=14737632",
        "BasicColor0006=11579647", "BasicColor0007=16764262", "BasicColor0008=12303104",
        "BasicColor0009=16711935", "BasicColor0010=10485760", "BasicColor0011=8388863",
        "BasicColor0012=4210816", "BasicColor0013=65280", "BasicColor0014=255", "BasicColor0015=65535",
        "BasicColor0016=16711680", "InterfaceTheme=1", "DrawingBgDarkColor=9868950", "LibLeftHandTraffic=0",
        "ComposeZoomExtended=1", "CompareIncreaseColor=1", "CompareDecreaseColor=2", "ComparePercentages=0",
        "CompareZeroLabels=0", "VolumeClasses=", "VolumeShareClass=", "KeepTextsUpright=1", "PlaceNamesClear=1",
        "ExportCachedGlyphs=1", "RingFollowsArms=1"};
    EXPECT_EQ(lines.mid(3, expected.size()), expected);
    EXPECT_EQ(lines.mid(64), (QStringList{"", "[**Form positions**]", ""}));
}

TEST(Settings_SettingsFileTests, KeysAreReadWithoutRegardToCase)
{
    // COPYTYPE=JPG reads like CopyType=JPG; the lower-case export key and odd
    // casings of others are all recognised; flags are true only for "1".
    const ProgramSettings s = readBytes(crlf({"[**General variables**]", "COPYTYPE=JPG",
                                              "EXPORTPIXANTIALIASED=0", "zoominoutvalue=75",
                                              "AutoRedrawScale=true", "LanguageSet=1 ",
                                              "libLEFThandTRAFFIC=1", "keeptextsupright=0",
                                              "PLACENAMESCLEAR=yes"}));
    EXPECT_EQ(s.copyType, QStringLiteral("JPG"));
    EXPECT_FALSE(s.exportPixAntiAliased);
    EXPECT_EQ(s.zoomInOutValue, 75);
    EXPECT_FALSE(s.autoRedrawScale); // "true" is not "1"
    EXPECT_FALSE(s.languageSet);     // neither is "1 "
    EXPECT_TRUE(s.libLeftHandTraffic);
    EXPECT_FALSE(s.keepTextsUpright);
    EXPECT_FALSE(s.placeNamesClear); // "yes" is not "1"
}

TEST(Settings_SettingsFileTests, UnknownRepeatedAndBadLines)
{
    // Unknown keys and lines without "=" are ignored, the later of two equal
    // keys wins, malformed numbers keep the default, main-window keys are
    // never read, and nothing before the section header counts.
    const ProgramSettings s = readBytes(crlf({"FontSizeDefault=99", "[**General variables**]", "Nonsense=3",
                                              "just a line", "FontSizeDefault=11", "FontSizeDefault=14",
                                              "CoordsInterval=abc", "MaxDiagramWidth=99999999999",
                                              "MaxDiagramHeight=", "MainWindowLeft=40", "MainWindowMaximized=1",
                                              "CSVsep=a=b", "BasicColor0003=-1"}));
    EXPECT_EQ(s.fontSizeDefault, 14);
    EXPECT_EQ(s.coordsInterval, 5);
    EXPECT_EQ(s.maxDiagramWidth, 1500);
    EXPECT_EQ(s.maxDiagramHeight, 1500);
    EXPECT_EQ(s.mainWindowLeft, 0);
    EXPECT_FALSE(s.mainWindowMaximized);
    EXPECT_EQ(s.csvSep, QStringLiteral("a=b")); // the key ends at the first "="
    EXPECT_EQ(s.basicColors[2], -1);
    EXPECT_TRUE(s.formPositions.isEmpty());
}

TEST(Settings_SettingsFileTests, MissingFileSectionsAndOddBytes)
{
    // No file: defaults, and an earlier state is reset. Only the positions
    // section: defaults plus positions, which stop after a following "[**" line.
    ProgramSettings s;
    s.zoomInOutValue = 1;
    s.formPositions << QStringLiteral("Old=");
    EXPECT_FALSE(ProgInstellingenOphalen(s, QStringLiteral("/nonexistent/Korvimo/Korvimo.ini")));
    EXPECT_EQ(s.zoomInOutValue, 50);
    EXPECT_TRUE(s.formPositions.isEmpty());

    const ProgramSettings p = readBytes(crlf({"[**Form positions**]", "ZoomInOutValue=3",
                                              "HoofdForm=M:0;L:1;T:2;W:3;H:4;N:0;", "[**Other**]", "After=1"}));
    EXPECT_EQ(p.zoomInOutValue, 50);
    EXPECT_EQ(p.formPositions, (QStringList{"ZoomInOutValue=3", "HoofdForm=M:0;L:1;T:2;W:3;H:4;N:0;", "[**Other**]"}));

    // Binary rubbish, LF-only lines and an empty file never crash.
    EXPECT_EQ(readBytes(QByteArray("\x00\xff\x80[**General variables**]\n\x00=\xff", 30)).coordsInterval, 5);
    EXPECT_EQ(readBytes(QByteArray("[**General variables**]\nCopyType=WMF\nPrintType=BMP")).printType,
              QStringLiteral("BMP"));
    EXPECT_EQ(readBytes(QByteArray()).language, QStringLiteral("Nederlands"));
}

TEST(Settings_SettingsFileTests, TextsBeyondWindows1252SurviveAsUtf8)
{
    // A font name outside the code page makes the file UTF-8 with a mark,
    // and it reads back unchanged.
    ProgramSettings s;
    s.fontNameDefault = QString::fromUtf8("Noto Sans 日本");
    const QByteArray bytes = settingsFileBytes(s);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF[Korvimo settings]\r\n"));
    EXPECT_EQ(readBytes(bytes).fontNameDefault, s.fontNameDefault);
}

TEST(Settings_SettingsFileTests, FailedWriteKeepsOldFileAndSaysSo)
{
    // Writing into a folder that cannot be created reports AA00028 with the
    // path; an existing file is replaced whole.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("Korvimo"));
    test::writeAll(blocker, "a file where the folder should be");
    const QString path = blocker + QStringLiteral("/Korvimo.ini");
    ProgramSettings s;
    LanguageTexts texts;
    RecordingMessenger m;
    EXPECT_FALSE(ProgInstellingenOpslaan(s, {}, path, texts, m));
    ASSERT_EQ(m.entries.size(), 1);
    EXPECT_EQ(m.entries[0].kind, RecordingMessenger::Entry::Error);
    EXPECT_EQ(m.entries[0].text, QStringLiteral("Instellingenbestand %1 kan niet worden weggeschreven.").arg(path));


    // An existing longer file is replaced whole, not overwritten in place.
    const QString old = dir.filePath(QStringLiteral("other/Korvimo.ini"));
    QDir().mkpath(dir.filePath(QStringLiteral("other")));
    test::writeAll(old, QByteArray(20000, 'x'));
    ASSERT_TRUE(writeSettingsFile(s, old));
    EXPECT_EQ(test::readAll(old), settingsFileBytes(s));
}

TEST(Settings_SettingsFileTests, ExitStepCollectsPositions)
{
    // The write step records placed windows and skips never-placed ones.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Korvimo/Korvimo.ini"));
    ProgramSettings s;
    s.formPositions << QStringLiteral("ScriptForm=M:0;L:5;T:5;W:100;H:100;N:0;");
    LanguageTexts texts;
    RecordingMessenger m;
    WindowPlacement main{QStringLiteral("HoofdForm"), false, 10, 20, 800, 600, 0};
    WindowPlacement never{QStringLiteral("ArmenForm"), false, 0, 0, 300, 300, 0};
    ASSERT_TRUE(ProgInstellingenOpslaan(s, {main, never}, path, texts, m));
    EXPECT_TRUE(m.entries.isEmpty());
    ProgramSettings back;
    ProgInstellingenOphalen(back, path);
    EXPECT_EQ(back.formPositions, (QStringList{"ScriptForm=M:0;L:5;T:5;W:100;H:100;N:0;",
                                               "HoofdForm=M:0;L:10;T:20;W:800;H:600;N:0;", ""}));
}
