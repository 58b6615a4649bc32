#include <gtest/gtest.h>

#include "i18n/languagetexts.h"

using namespace korvimo;

TEST(I18n_LanguageTextsTests, BaseTextsCoverTheTable)
{
    // The 55 keys of the table and the program's own later messages, each once, carry their Dutch text; "\n" has
    // become CR LF.
    LanguageTexts t;
    ASSERT_GE(LanguageTexts::keys().size(), 55);
    EXPECT_EQ(LanguageTexts::keys().first(), QStringLiteral("ZB00011"));
    EXPECT_TRUE(LanguageTexts::keys().contains(QStringLiteral("AA00196")));
    QStringList distinct = LanguageTexts::keys();
    EXPECT_EQ(distinct.removeDuplicates(), 0);
    for (const QString& k : LanguageTexts::keys()) {
        EXPECT_TRUE(t.contains(k)) << k.toStdString();
        EXPECT_FALSE(t.text(k).contains(QStringLiteral("\\n"))) << k.toStdString();
    }
    EXPECT_EQ(t.text(QStringLiteral("ZB00014")), QStringLiteral("Af&breken"));
    EXPECT_EQ(t.text(QStringLiteral("AA00006")), QStringLiteral("Bestand \"%s\" bestaat al."));
    EXPECT_EQ(t.text(QStringLiteral("AA00011")),
              QString::fromUtf8("Kan diagram niet juist tekenen. Pas de hoeken van de armen aan of "
                                "verplaats één of meerdere coördinaten."));
    EXPECT_EQ(t.text(QStringLiteral("AA00001")),
              QStringLiteral("Kan bestand %s niet opslaan.\r\n\r\nMogelijk geen schrijfrechten of schijf is "
                             "schrijfbeveiligd."));
    EXPECT_TRUE(t.text(QStringLiteral("AA00021")).endsWith(QStringLiteral("in de map:\r\n\r\n%s")));
    EXPECT_TRUE(t.text(QStringLiteral("AA00044")).contains(QStringLiteral("klembord.\r\n\r\nKopieer")));
    // Keys are found in any letter case; an unknown key shows itself.
    EXPECT_EQ(t.text(QStringLiteral("zb00020")), QStringLiteral("&OK"));
    EXPECT_EQ(t.text(QStringLiteral("AA99999")), QStringLiteral("AA99999"));
}

TEST(I18n_LanguageTextsTests, FormatFillsPlaceholdersInOrder)
{
    // Each %s takes the next argument; missing arguments leave nothing; an
    // argument that itself holds %s is not expanded again.
    LanguageTexts t;
    EXPECT_EQ(t.format(QStringLiteral("AA00005"), {QStringLiteral("/tmp/a.kvo")}),
              QStringLiteral("Kan bestand /tmp/a.kvo niet openen."));
    EXPECT_EQ(t.format(QStringLiteral("AA00003"), {QStringLiteral("X"), QStringLiteral("Y")}).count(QLatin1Char('X')), 1);
    EXPECT_TRUE(t.format(QStringLiteral("AA00003"), {QStringLiteral("X"), QStringLiteral("Y")})
                    .endsWith(QStringLiteral("versie van Y.")));
    EXPECT_EQ(t.format(QStringLiteral("AA00012"), {}), QStringLiteral("Bestand niet gevonden: "));
    EXPECT_EQ(t.format(QStringLiteral("AA00012"), {QStringLiteral("%s%d")}),
              QStringLiteral("Bestand niet gevonden: %s%d"));
    EXPECT_EQ(LanguageTexts::fillIn(QStringLiteral("100% %s %"), {QStringLiteral("a")}), QStringLiteral("100% a %"));
}

TEST(I18n_LanguageTextsTests, FixedTextsFollowTheLanguage)
{
    // Dutch gives the Dutch fixed forms; any other language the English ones,
    // and the untitled name follows the latest choice both ways.
    LanguageTexts t;
    EXPECT_EQ(t.untitledSuffix(), QStringLiteral("_Nieuw"));
    EXPECT_EQ(t.untitledName(), QStringLiteral("Korvimo_Nieuw.kvo"));
    EXPECT_EQ(t.versionLine(QStringLiteral("1.0")), QStringLiteral("Versie 1.0"));
    EXPECT_EQ(t.readMeFileName(), QStringLiteral("LeesMij.txt"));

    t.VasteTekstenInstellen(QStringLiteral("English"));
    EXPECT_EQ(t.untitledSuffix(), QStringLiteral("_New"));
    EXPECT_EQ(t.untitledName(), QStringLiteral("Korvimo_New.kvo"));
    EXPECT_EQ(t.versionLine(QStringLiteral("1.0")), QStringLiteral("Version 1.0"));
    EXPECT_EQ(t.readMeFileName(), QStringLiteral("ReadMe.txt"));
    EXPECT_EQ(t.fileNotFoundMessage(QStringLiteral("x")), QStringLiteral("File not found: x"));
    EXPECT_EQ(t.folderNotFoundMessage(QStringLiteral("/p/Lng/")), QStringLiteral("Folder not found: /p/Lng/"));
    EXPECT_EQ(t.buildLine(QStringLiteral("7")), QStringLiteral("Build: 7"));
    EXPECT_EQ(t.restartMessage(), QStringLiteral("Restart Korvimo to activate the language.\r\n\r\n"
                                                 "Start Korvimo opnieuw op om de taal te activeren."));

    t.VasteTekstenInstellen(QStringLiteral("Nederlands"));
    EXPECT_EQ(t.untitledName(), QStringLiteral("Korvimo_Nieuw.kvo"));
}

TEST(I18n_LanguageTextsTests, BaseTextsComeBack)
{
    // Resetting to the base texts undoes every replacement.
    LanguageTexts t;
    t.set(QStringLiteral("zb00011"), QStringLiteral("&Save"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Save"));
    t.InstellenDynamischeTekstenBasis();
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Opslaan"));
    EXPECT_EQ(LanguageTexts::baseText(QStringLiteral("aa00008")), QStringLiteral("Richting"));
}
