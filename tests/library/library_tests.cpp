#include <gtest/gtest.h>

#include <QRegularExpression>

#include <QImage>
#include <QProcess>

#include "document/intensitychange.h"
#include "document/intensityreplace.h"
#include "document/libraryfiles.h"
#include "document/textfile.h"
#include "library/libfixture.h"

using namespace korvimo;

namespace {

// A program folder of its own with a small library and names files.
struct SmallLibrary {
    QTemporaryDir dir;
    QString folder() const { return dir.path() + QStringLiteral("/"); }

    SmallLibrary(const QStringList& lib, const QStringList& dutch, const QStringList& english)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Lib"));
        QDir(dir.path()).mkpath(QStringLiteral("Lng"));
        if (!lib.isEmpty())
            test::writeAll(folder() + QStringLiteral("Lib/Korvimo.lib"), test::crlf(lib));
        if (!dutch.isEmpty())
            test::writeAll(folder() + QStringLiteral("Lng/Lib_Nederlands"), test::crlf(dutch));
        if (!english.isEmpty())
            test::writeAll(folder() + QStringLiteral("Lng/Lib_English"), test::crlf(english));
    }
};

const QStringList kTwoTemplates = {
    "ignored before the first header",
    "[###abc001###]", "bmpname=abc001.png", "[**General variables**]", "arrowsize=4", "title01=LIB00042",
    "title03=LIB00053", "[**Script**]", "[**Coordinates**]", "0001=10;10;", "[**Intensities**]",
    "0001=800;I;", "[**Notes**]",
    "[###abc001###]", "bmpname=other.png", "[**Coordinates**]", "0009=1;1;",
    "[###ABC002 four arms###]", "[**General variables**]", "title01=x",
    "[######]"};

} // namespace

TEST(Library_ListTests, ShippedLibraryListsEveryTemplateTheProgramNames)
{
    // The real library and Dutch names: every code the readers ask for has an entry with a name.
    test::LibEnv env;
    const QStringList list = env.library.LibListBoxVullen();
    EXPECT_TRUE(env.messenger.entries.isEmpty());
    QStringList codes;
    for (const QString& e : list) {
        codes << e.left(6);
        EXPECT_EQ(e.mid(6, 3), "   ");
        EXPECT_GT(e.size(), 12);
    }
    for (const char* c : {"011301", "011302", "011303", "011304", "011400", "010500", "010600", "010700",
                          "010800", "020301", "020302", "020303", "020304", "020400", "020500", "020600"})
        EXPECT_TRUE(codes.contains(QLatin1String(c))) << c;
    EXPECT_EQ(env.library.NaamDiagramOphalen("011400"), "011400   Kruispunt, vier armen");

    // Every shipped names file names every template and has every template
    // text; the German one is read in its own encoding.
    for (const char* language : {"Nederlands", "English", "Deutsch"}) {
        env.ctx.settings.language = QLatin1String(language);
        ASSERT_TRUE(QFileInfo::exists(env.library.namesFilePath())) << language;
        EXPECT_TRUE(env.library.namesFilePath().endsWith(QLatin1String(language))) << language;
        env.library.TekstenDiagramOphalenUitBestand();
        for (const QString& code : codes)
            EXPECT_GT(env.library.NaamDiagramOphalen(code).size(), 12) << language << ' ' << code.toStdString();
        for (int n = 42; n <= 54; ++n)
            EXPECT_TRUE(env.library.templateText(n).has_value()) << language << ' ' << n;
    }
    EXPECT_EQ(env.library.NaamDiagramOphalen("010500"), QString::fromUtf8("010500   Knotenpunkt, fünf Arme"));
    EXPECT_EQ(env.library.templateText(44), QString::fromUtf8("Dreiarmiger Knotenpunkt"));
}

TEST(Library_ListTests, EveryTemplateHasItsPreviewPicture)
{
    // The previews are rendered by the program itself; without its renderer there are none yet.
    QProcess probe;
    probe.start(test::binDir() + "/korvimo-cli", {"render"});
    probe.waitForFinished(30000);
    if (probe.readAllStandardError().contains("not available"))
        GTEST_SKIP() << "korvimo-cli cannot render yet";
    test::LibEnv env;
    for (const QString& entry : env.library.LibListBoxVullen()) {
        const QString path = env.library.previewPicturePath(entry.left(6));
        ASSERT_FALSE(path.isEmpty()) << entry.toStdString();
        // Drawn to fit the new-diagram dialog's 169-pixel square, and not blank.
        const QImage img(path);
        ASSERT_FALSE(img.isNull()) << path.toStdString();
        EXPECT_LE(qMax(img.width(), img.height()), 169) << path.toStdString();
        EXPECT_GE(qMax(img.width(), img.height()), 160) << path.toStdString();
        int inked = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                inked += qGray(img.pixel(x, y)) < 200;
        EXPECT_GT(inked, img.width() * img.height() / 50) << path.toStdString();
    }
}

TEST(Library_ListTests, NamesAreUnquotedByPositionAndKeysCompareInLowerCase)
{
    // An unquoted name loses its first and last letter; a header in capitals never matches.
    SmallLibrary lib(kTwoTemplates, {"[**DiagramNames**]", "abc001=Kruispunt", "ABC002=\"Upper\"", "[**Other**]",
                                     "abc003=\"never\""},
                     {});
    test::LibEnv env(lib.folder());
    EXPECT_EQ(env.library.LibListBoxVullen(), (QStringList{"abc001   ruispun", "abc001   ruispun"}));
    EXPECT_EQ(env.library.NaamDiagramOphalen("abc003"), "");
    EXPECT_EQ(env.library.NaamDiagramOphalen("abc002"), "abc002   Upper");
}

TEST(Library_ListTests, MissingFilesFallBackOrStayQuiet)
{
    // No Dutch names file: the English one is used. No library: AA00005 and an empty list.
    SmallLibrary lib(kTwoTemplates, {}, {"[**DiagramNames**]", "abc001=\"English\"", "[**DiagramTexts**]",
                                         "lib00042='Crossing'", "LIB00053=\"\""});
    test::LibEnv env(lib.folder());
    EXPECT_EQ(env.library.NaamDiagramOphalen("abc001"), "abc001   English");
    EXPECT_EQ(env.library.templateText(42), QString("Crossing"));
    EXPECT_EQ(env.library.templateText(53), QString(""));
    EXPECT_FALSE(env.library.templateText(43).has_value());

    SmallLibrary none({}, {}, {});
    test::LibEnv env2(none.folder());
    EXPECT_TRUE(env2.library.LibListBoxVullen().isEmpty());
    ASSERT_EQ(env2.messenger.entries.size(), 1);
    EXPECT_TRUE(env2.messenger.entries[0].text.contains(QStringLiteral("Korvimo.lib")));
    // Without any names file the placeholders stay in the titles.
    GeneralVariables g;
    g.title[0] = "LIB00042";
    env2.library.TekstenDiagramVertalen(g);
    EXPECT_EQ(g.title[0], "LIB00042");
}

TEST(Library_TemplateTests, BlocksAreFoundByTheirFirstSixCharacters)
{
    // Text before the first header is ignored, the first of two equal codes wins, a longer code is cut.
    SmallLibrary lib(kTwoTemplates, {}, {});
    test::LibEnv env(lib.folder());
    const QStringList a = env.library.DiagramFromLibToStringList("abc001");
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(a.first(), "bmpname=abc001.png");
    EXPECT_EQ(a.last(), "[**Notes**]");
    EXPECT_EQ(env.library.DiagramFromLibToStringList("abc001 and more"), a);
    EXPECT_EQ(env.library.DiagramFromLibToStringList("ABC002"),
              (QStringList{"[**General variables**]", "title01=x"}));
    EXPECT_TRUE(env.library.DiagramFromLibToStringList("").isEmpty());
    EXPECT_TRUE(env.library.DiagramFromLibToStringList("zzz999").isEmpty());
    EXPECT_EQ(libfiles::templateCodes(kTwoTemplates),
              (QStringList{"abc001", "abc001", "ABC002 four arms"}));
}

TEST(Library_TemplateTests, TitlesTakeTheirPlaceholderTextsOnly)
{
    // Each title takes only the placeholders that belong to it, and only exact ones.
    SmallLibrary lib({}, {"[**DiagramTexts**]", "LIB00042=\"a\"", "LIB00052=\"b\"", "LIB00047=\"c\"",
                          "LIB00053=\"d\"", "LIB00054=\"e\"", "LIB00050=\"f\"", "LIB00051=\"g\""},
                     {});
    test::LibEnv env(lib.folder());
    GeneralVariables g;
    g.title = {"LIB00052", "LIB00047", "LIB00053", "LIB00054", "LIB00050"};
    g.printheader1 = "LIB00051";
    env.library.TekstenDiagramVertalen(g);
    EXPECT_EQ(g.title, (std::array<QString, 5>{"b", "c", "d", "e", "f"}));
    EXPECT_EQ(g.printheader1, "g");
    g.title = {"LIB00047", "LIB00042 ", "LIB00042", "LIB00042", "LIB00042"};
    env.library.TekstenDiagramVertalen(g);
    EXPECT_EQ(g.title, (std::array<QString, 5>{"LIB00047", "LIB00042 ", "LIB00042", "LIB00042", "LIB00042"}));
}

TEST(Library_OpenTests, OpeningATemplateGivesTheUntitledDocumentAndLeavesNoFile)
{
    // A template opens as an untitled document; the temporary file is gone, another program's is kept.
    test::LibEnv env;
    const QString foreign = env.ctx.paths.tempFolder + QStringLiteral("$1_Korvimo.tmp");
    test::writeAll(foreign, "another program's template");
    ASSERT_TRUE(env.library.OpenBestandUitLib("011400", env.files, false));
    EXPECT_EQ(env.doc.fileName, env.files.untitledName());
    EXPECT_FALSE(env.doc.script.isEmpty());
    EXPECT_EQ(env.doc.general.arrowsize, 40);
    EXPECT_EQ(env.doc.general.armcenter, "0001");
    EXPECT_EQ(env.doc.general.title[0], "Kruispunt"); // LIB00042 in Dutch
    EXPECT_EQ(env.leftovers(), QStringList{"$1_Korvimo.tmp"});
    EXPECT_EQ(test::readAll(foreign), "another program's template");
    EXPECT_TRUE(env.messenger.entries.isEmpty()) << env.messenger.texts().join('\n').toStdString();
}

TEST(Library_OpenTests, LeftHandTrafficNegatesTheArrowSize)
{
    // With left-hand traffic a template whose arrowsize is 4 opens with -40 in memory.
    test::LibEnv env;
    env.library.setLeftHandTraffic(true);
    ASSERT_TRUE(env.library.openTemplate("020400", env.files));
    EXPECT_EQ(env.doc.general.arrowsize, -40);
}

TEST(Library_OpenTests, UnknownCodeGivesAnEmptyDocumentAndAnUnwritableFolderAnError)
{
    // An unknown code opens nothing without a word; a temporary folder that is not there gives AA00025.
    test::LibEnv env;
    ASSERT_TRUE(env.library.OpenBestandUitLib("999999", env.files, false));
    EXPECT_TRUE(env.doc.script.isEmpty());
    EXPECT_TRUE(env.doc.coordinates.isEmpty());
    EXPECT_TRUE(env.messenger.entries.isEmpty());

    test::LibEnv env2;
    env2.ctx.paths.tempFolder = env2.temp.path() + QStringLiteral("/no/such/folder/");
    EXPECT_FALSE(env2.library.OpenBestandUitLib("011400", env2.files, false));
    ASSERT_EQ(env2.messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(env2.messenger.entries[0].text.contains(QStringLiteral("no/such/folder")));
    EXPECT_TRUE(env2.doc.script.isEmpty());
    // The message names the file that could not be made, not a name pattern.
    static const QRegularExpression made(QStringLiteral("no/such/folder/\\$1_Korvimo_[A-Za-z0-9]{6}\\.tmp"));
    EXPECT_TRUE(made.match(env2.messenger.entries[0].text).hasMatch()) << env2.messenger.entries[0].text.toStdString();

    // The import request's temporary files too: the arms table and the template.
    test::LibEnv env3;
    env3.ctx.paths.tempFolder = env3.temp.path() + QStringLiteral("/gone/");
    env3.files.StromenBestandOpenen(env3.write(QStringLiteral("r.kvoimp"),
        "[**Import variables**]\r\nBaseDiagramFromLibrary=011400\r\n"));
    const QString said = env3.messenger.texts().join('\n');
    static const QRegularExpression table(QStringLiteral("gone/\\$1_Korvimo_[A-Za-z0-9]{6}\\.txt"));
    static const QRegularExpression diagram(QStringLiteral("gone/\\$1_Korvimo_[A-Za-z0-9]{6}\\.kvo"));
    EXPECT_TRUE(table.match(said).hasMatch()) << said.toStdString();
    EXPECT_TRUE(diagram.match(said).hasMatch()) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("XXXXXX")));
}

TEST(Library_OpenTests, ScaleAndArmsAreSetFromTheVolumes)
{
    // Highest volume 800 gives sfactor 600 and the arms wizard places the arm points again.
    test::LibEnv env;
    ASSERT_TRUE(env.library.OpenBestandUitLib("011400", env.files, false));
    AlleIntensiteitenOp(env.doc.intensities, 20);
    IntensiteitVervangen(env.doc.intensities, "0005", "800");
    env.doc.general.arm[0] = CoordsArmOphalenZonderHoek(env.doc.general.arm[0]) + "45";
    SchaalEtcGoedZetten(env.files);
    EXPECT_EQ(env.doc.general.sfactor, 600);
    EXPECT_EQ(env.doc.general.arm[0], "0011;0012;45");
    EXPECT_TRUE(env.doc.coordinates.contains(QStringLiteral("0011=%1;%2;")
                                                 .arg(244 + 57)
                                                 .arg(308 - 57)))
        << env.doc.coordinates.join(' ').toStdString();
}

TEST(Library_OpenTests, ArmDefinitionWithoutItsAngle)
{
    // Everything up to and including the second ";"; shorter texts come back whole.
    EXPECT_EQ(CoordsArmOphalenZonderHoek("0011;0012;45"), "0011;0012;");
    EXPECT_EQ(CoordsArmOphalenZonderHoek("0011;0012;"), "0011;0012;");
    EXPECT_EQ(CoordsArmOphalenZonderHoek("0011;0012"), "0011;0012");
    EXPECT_EQ(CoordsArmOphalenZonderHoek(""), "");
    EXPECT_EQ(odIntensityName(3, 1, 4), "0008");
    EXPECT_EQ(odIntensityName(1, 2, 5), "0004");
    EXPECT_EQ(odIntensityName(2, 1, 5), "0005");
    EXPECT_EQ(odIntensityName(1, 1, 4), "");
    EXPECT_EQ(odIntensityName(5, 1, 4), "");
}
