#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/messenger.h"
#include "core/programpaths.h"
#include "i18n/languagesetup.h"
#include "i18n/languagetexts.h"
#include "settings/programsettings.h"
#include "support/testsupport.h"

using namespace korvimo;

namespace {

QString dataLng() { return test::dataPath(QStringLiteral("i18n/")); }

} // namespace

TEST(I18n_LanguageSetupTests, DynamicSectionReplacesKnownKeysOnly)
{
    // Quoted values are stripped, "\n" becomes CR LF, an unquoted value loses
    // its ends, "" empties a text, missing keys keep the base text, and the
    // Language setting follows the file.
    ProgramSettings s;
    LanguageTexts t;
    ASSERT_TRUE(DynamischeTekstenLezenUitIni(s, t, dataLng(), QStringLiteral("English")));
    EXPECT_EQ(s.language, QStringLiteral("English"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Save"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00013")), QStringLiteral("&Cancel"));
    EXPECT_EQ(t.format(QStringLiteral("AA00001"), {QStringLiteral("a.kvo")}),
              QStringLiteral("Cannot save file a.kvo.\r\n\r\nPerhaps no write access."));
    EXPECT_EQ(t.text(QStringLiteral("AA00008")), QStringLiteral("pslaa"));
    EXPECT_EQ(t.text(QStringLiteral("AA00009")), QString());
    EXPECT_EQ(t.text(QStringLiteral("AA00012")), QStringLiteral("File not found: %s"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00012")), QStringLiteral("&Niet opslaan"));
    EXPECT_FALSE(t.contains(QStringLiteral("AA99999")));
}

TEST(I18n_LanguageSetupTests, MissingFileOrBaseLanguageChangesNothing)
{
    // Nederlands is never read from a file; a language without a file leaves
    // texts and the Language setting untouched, without a message.
    ProgramSettings s;
    s.language = QStringLiteral("Deutsch");
    LanguageTexts t;
    EXPECT_FALSE(DynamischeTekstenLezenUitIni(s, t, dataLng(), QStringLiteral("Klingon")));
    EXPECT_EQ(s.language, QStringLiteral("Deutsch"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Opslaan"));
    EXPECT_FALSE(DynamischeTekstenLezenUitIni(s, t, dataLng(), QStringLiteral("Nederlands")));
    EXPECT_FALSE(windowTranslationFile(dataLng(), QStringLiteral("Nederlands")).has_value());
    EXPECT_TRUE(windowTranslationFile(dataLng(), QStringLiteral("English")).has_value());
}

TEST(I18n_LanguageSetupTests, SwitchingKeepsEarlierTextsForMissingKeys)
{
    // A second language replaces only what its file holds.
    QTemporaryDir dir;
    test::writeAll(dir.filePath(QStringLiteral("Deutsch.lng")), "[Dynamic]\r\nZB00011=\"&Speichern\"\r\n");
    ProgramSettings s;
    LanguageTexts t;
    ASSERT_TRUE(DynamischeTekstenLezenUitIni(s, t, dataLng(), QStringLiteral("English")));
    ASSERT_TRUE(DynamischeTekstenLezenUitIni(s, t, dir.path(), QStringLiteral("Deutsch")));
    EXPECT_EQ(s.language, QStringLiteral("Deutsch"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Speichern"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00013")), QStringLiteral("&Cancel"));
}

TEST(I18n_LanguageSetupTests, StartUpFixedTextsFollowTheTextsInEffect)
{
    // A stored language with a file gives English fixed texts; one whose file
    // has gone leaves Dutch texts and a Dutch untitled name, though the
    // setting itself is kept for the next start.
    ProgramSettings s;
    s.language = QStringLiteral("English");
    LanguageTexts t;
    setUpLanguageTexts(s, t, dataLng());
    EXPECT_EQ(t.untitledName(), QStringLiteral("Korvimo_New.kvo"));
    EXPECT_EQ(t.text(QStringLiteral("ZB00011")), QStringLiteral("&Save"));

    ProgramSettings gone;
    gone.language = QStringLiteral("Klingon");
    LanguageTexts g;
    setUpLanguageTexts(gone, g, dataLng());
    EXPECT_EQ(gone.language, QStringLiteral("Klingon"));
    EXPECT_EQ(g.untitledName(), QStringLiteral("Korvimo_Nieuw.kvo"));
    EXPECT_EQ(g.text(QStringLiteral("ZB00011")), QStringLiteral("&Opslaan"));
}

TEST(I18n_LanguageSetupTests, DialogListsLanguagesAndHelpSets)
{
    // ENGLISH.LNG is listed as ENGLISH; other files are not; Nederlands is
    // always there; a missing folder is told to the caller.
    QTemporaryDir dir;
    const QString lng = dir.filePath(QStringLiteral("Lng"));
    QDir().mkpath(lng);
    for (const char* name : {"ENGLISH.LNG", "deutsch.lng", "Lib_English", "notes.txt", ".lng", "x.lng.lng"})
        test::writeAll(lng + QLatin1Char('/') + QLatin1String(name), "[Dynamic]\r\n");
    QDir().mkpath(lng + QStringLiteral("/folder.lng"));
    bool found = false;
    EXPECT_EQ(availableLanguages(lng, &found), (QStringList{"deutsch", "ENGLISH", "Nederlands", "x.lng"}));
    EXPECT_TRUE(found);
    EXPECT_EQ(availableLanguages(dir.filePath(QStringLiteral("none")), &found), QStringList{"Nederlands"});
    EXPECT_FALSE(found);

    const QString hlp = dir.filePath(QStringLiteral("Hlp"));
    QDir().mkpath(hlp + QStringLiteral("/Korvimo_Nederlands"));
    QDir().mkpath(hlp + QStringLiteral("/Korvimo_English"));
    test::writeAll(hlp + QStringLiteral("/stray.html"), "x");
    EXPECT_EQ(availableHelpNames(hlp, &found), (QStringList{"Korvimo_English", "Korvimo_Nederlands"}));
    EXPECT_TRUE(availableHelpNames(dir.filePath(QStringLiteral("none")), &found).isEmpty());
    EXPECT_FALSE(found);
}

TEST(I18n_LanguageSetupTests, DialogOkSteps)
{
    // Choosing English reads it and asks for window translation; choosing
    // Nederlands after an earlier choice tells to restart and resets the
    // setting; at the very first start it does not; help sets LanguageHelp.
    ProgramPaths paths = ProgramPaths::forProgramFolder(test::dataPath(QString()));
    paths.languageFolder = dataLng();
    ProgramSettings s;
    LanguageTexts t;
    RecordingMessenger m;
    EXPECT_TRUE(languageDialogAtStartUp(s));
    languageDialogClosed(s);
    EXPECT_FALSE(languageDialogAtStartUp(s));
    EXPECT_EQ(webLinksCaption(t), QStringLiteral("Korvimo @ internet..."));
    LanguageChoice c = applyLanguageChoice(s, t, paths, false, QStringLiteral("English"),
                                           QStringLiteral("Korvimo_English"), m);
    EXPECT_TRUE(c.translateWindows);
    EXPECT_EQ(s.language, QStringLiteral("English"));
    EXPECT_EQ(s.languageHelp, QStringLiteral("Korvimo_English"));
    EXPECT_EQ(c.helpFolder, paths.helpFolder + QStringLiteral("Korvimo_English/"));
    EXPECT_EQ(t.untitledSuffix(), QStringLiteral("_New"));
    EXPECT_TRUE(m.entries.isEmpty());

    c = applyLanguageChoice(s, t, paths, true, QStringLiteral("Nederlands"), QString(), m);
    ASSERT_EQ(m.entries.size(), 1);
    EXPECT_EQ(m.entries[0].kind, RecordingMessenger::Entry::Information);
    EXPECT_TRUE(m.entries[0].text.startsWith(QStringLiteral("Restart Korvimo to activate")));
    EXPECT_EQ(s.language, QStringLiteral("Nederlands"));
    EXPECT_EQ(s.languageHelp, QStringLiteral("Korvimo_English"));
    EXPECT_TRUE(c.helpFolder.isEmpty());

    ProgramSettings first;
    RecordingMessenger quiet;
    applyLanguageChoice(first, t, paths, false, QStringLiteral("Nederlands"), QString(), quiet);
    EXPECT_TRUE(quiet.entries.isEmpty());
    EXPECT_FALSE(applyLanguageChoice(first, t, paths, false, QString(), QString(), quiet).translateWindows);
}
