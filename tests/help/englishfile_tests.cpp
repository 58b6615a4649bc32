#include "help/helpfixture.h"
#include "i18n/languagefile.h"
#include "i18n/languagetexts.h"
#include "ui/help/windowcatalog.h"

using namespace korvimo;

namespace {

// Texts the program puts in place itself at run time, from the run-time
// texts or from data; a language file has no say over them.
bool setByProgram(const QString& window, const QString& component)
{
    static const QStringList names{
        "HoofdForm.Caption",                      // program name and file name
        "HoofdForm.HelpInternetAction",           // AA00040 with the maker's name
        "HoofdForm.HelpReadMeAction",             // the read-me file name
        "HoofdForm.AsServerAction",               // the hidden server button
        "HoofdForm.CoordsLabel",                  // the pointer read-out
        "OpstartInfoForm.ProgramNameLabel",       // the program name
        "OpstartInfoForm.VersionLabel",           // the version line
        "OpstartInfoForm.WebAddressLabel",        // the web address
        "OpInternetForm.Caption",                 // AA00040 again
        "NieuwForm.CheckBox1",                    // AA00041 with the program name
    };
    return names.contains(window + QLatin1Char('.') + component);
}

class Help_EnglishFileTests : public test::HelpFixture {
protected:
    // Every translatable text of every catalogued window that the file does
    // not translate, as "key (text)".
    QStringList untranslated(const LanguageFile& file)
    {
        QStringList missing;
        const WindowWiring wiring{*form, ctx, doc, *theme};
        for (const CatalogEntry& e : windowCatalog()) {
            CatalogWindow made = e.make(wiring);
            if (!made.window) {
                missing << QStringLiteral("%1: not built").arg(QLatin1String(e.name));
                continue;
            }
            const CollectedWindow c = collectWindowTexts(*made.window);
            const QString w = c.texts.name;
            if (w != QLatin1String(e.name))
                missing << QStringLiteral("%1: the window is named %2").arg(QLatin1String(e.name), w);
            for (const QString& u : c.unnamed)
                missing << w + QStringLiteral(": a component without a name shows ") + u;
            const WindowTranslation t(file, w);
            if (needsTranslation(c.texts.caption) && !setByProgram(w, "Caption") && !t.windowCaption())
                missing << w + QStringLiteral(".Caption (") + c.texts.caption + QLatin1Char(')');
            for (const ControlTexts& ct : c.texts.controls) {
                if (isUntranslatedComponent(ct.name) || setByProgram(w, ct.name))
                    continue;
                const QString key = w + QLatin1Char('.') + ct.name;
                if (ct.caption && needsTranslation(*ct.caption) && !t.caption(ct.name))
                    missing << key + QStringLiteral(".Caption (") + *ct.caption + QLatin1Char(')');
                if (ct.hint && needsTranslation(*ct.hint) && !t.hint(ct.name))
                    missing << key + QStringLiteral(".Hint (") + *ct.hint + QLatin1Char(')');
                for (int i = 0; ct.lines && i < ct.lines->size(); ++i) {
                    if (needsTranslation(ct.lines->at(i)) && !t.line(ct.name, i))
                        missing << key + QStringLiteral(".Lines[%1] (").arg(i) + ct.lines->at(i) + QLatin1Char(')');
                }
                for (int i = 0; ct.items && i < ct.items->size(); ++i) {
                    if (needsTranslation(ct.items->at(i)) && !t.item(ct.name, i))
                        missing << key + QStringLiteral(".Items[%1] (").arg(i) + ct.items->at(i) + QLatin1Char(')');
                }
            }
        }
        return missing;
    }

    static QStringList missingRunTimeTexts(const LanguageFile& file)
    {
        QStringList missing;
        for (const QString& key : LanguageTexts::keys()) {
            if (!file.value(QStringLiteral("Dynamic"), key))
                missing << key;
        }
        return missing;
    }

    LanguageFile shipped(const char* language) const
    {
        const std::optional<LanguageFile> f
            = LanguageFile::load(ctx.paths.languageFolder + QLatin1String(language) + QStringLiteral(".lng"));
        EXPECT_TRUE(f.has_value()) << language;
        return f.value_or(LanguageFile());
    }
};

} // namespace

TEST_F(Help_EnglishFileTests, EnglishTranslatesEveryWindowAndRunTimeText)
{
    // Every caption, hint, memo line and combo item of every window, and
    // every run-time text, has its English entry.
    const LanguageFile english = shipped("English");
    EXPECT_EQ(missingRunTimeTexts(english).join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(untranslated(english).join(QLatin1Char('\n')).toStdString(), "");
}

TEST_F(Help_EnglishFileTests, TheCheckFindsWhatIsMissing)
{
    // An empty file leaves the menus, the buttons and the run-time texts
    // untranslated, and the check says which.
    const LanguageFile empty = LanguageFile::fromText(QStringLiteral("[HoofdForm]\n"));
    const QStringList missing = untranslated(empty);
    EXPECT_TRUE(missing.contains(QStringLiteral("HoofdForm.BestandMenu.Caption (&Bestand)")));
    EXPECT_TRUE(missing.contains(QStringLiteral("HoofdForm.FileNewAction.Caption (&Nieuw...)")));
    EXPECT_EQ(missingRunTimeTexts(empty).size(), LanguageTexts::keys().size());
    for (const QString& m : missing)
        EXPECT_FALSE(m.startsWith(QStringLiteral("HoofdForm.HelpInternetAction"))) << m.toStdString();
}

TEST_F(Help_EnglishFileTests, GermanTranslatesAsMuchAsEnglish)
{
    // The German file, when shipped, is as complete as the English one.
    if (!QFileInfo::exists(ctx.paths.languageFolder + QStringLiteral("Deutsch.lng")))
        GTEST_SKIP() << "no German file";
    const LanguageFile german = shipped("Deutsch");
    EXPECT_EQ(missingRunTimeTexts(german).join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(untranslated(german).join(QLatin1Char('\n')).toStdString(), "");
}
