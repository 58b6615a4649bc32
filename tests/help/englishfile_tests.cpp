#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>

#include "editing/editingfixture.h"
#include "help/helpfixture.h"
#include "i18n/languagesetup.h"
#include "i18n/languagefile.h"
#include "i18n/languagetexts.h"
#include "ui/dialogs/tarmenform.h"
#include "ui/help/windowcatalog.h"
#include "ui/help/windowtranslator.h"
#include "ui/views/overzichtpanel.h"

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
        "CoordForm.Caption",                      // AA00013 or AA00014, set before each opening
        "IntForm.Caption",                        // AA00016 or AA00017, set before each opening
        "ScriptForm.Caption",                     // AA00018 or AA00019, set before each opening
        "ScriptForm.TXTContentGroupBox",          // AA00037 to AA00039 with the kind of text
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
            // A window the program never translates needs no entries: the
            // file could not change it.
            if (!WindowTranslator::isTranslatedWindow(w))
                continue;
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

    // The shipped file chosen in the language dialog.
    void choose(const char* language)
    {
        const QString name = QString::fromLatin1(language);
        applyLanguageChoice(ctx.settings, ctx.texts, ctx.paths, false, name, {}, messenger);
        windows->VertaalSchermen(name);
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

TEST_F(Help_EnglishFileTests, TitlesSetBeforeOpeningOutliveTheFirstTranslation)
{
    // The list dialogs are built at their first use, after the language was
    // chosen, and are translated as they first show; the title and the text
    // group that the program fills just before must stay as it filled them.
    choose("English");
    doc.coordinates = {QStringLiteral("0001=100;100;"), QStringLiteral("0002=200;200;")};
    doc.script = {QStringLiteral("TXT;1;P;0001;[0002];[0002];0;C;NNN;100;0;I;[0001+0002];")};
    form->views().OpnieuwTekenen();
    act("ShowCreateAction")->trigger();
    test::selectRow(form->compose().scriptList(), 0);

    const auto shown = [&](const char* window, const char* button, const char* group = nullptr) {
        QString title;
        QString groupTitle;
        test::onWindow(QString::fromLatin1(window), [&](QWidget* w) {
            title = w->windowTitle();
            if (group)
                groupTitle = test::child<QGroupBox>(w, group)->title();
            static_cast<QDialog*>(w)->reject();
        });
        test::child<QToolButton>(&form->compose(), button)->click();
        return (group ? title + QLatin1Char('|') + groupTitle : title).toStdString();
    };
    EXPECT_EQ(shown("ScriptForm", "ScriptEditButton", "TXTContentGroupBox"),
              "Change script line| Text (volume): ");
    EXPECT_EQ(shown("CoordForm", "CoordAddButton"), "Add coordinates");
    EXPECT_EQ(shown("IntForm", "IntAddButton"), "Add volume/value");
}

TEST_F(Help_EnglishFileTests, GermanTextsAreNotCutOff)
{
    // German texts are longer than the Dutch ones the windows were laid out
    // for: the volume grid's header and the arms wizard's labels still show
    // whole.
    if (!QFileInfo::exists(ctx.paths.languageFolder + QStringLiteral("Deutsch.lng")))
        GTEST_SKIP() << "no German file";
    choose("Deutsch");
    loadVolumes();
    act("ShowViewAction")->trigger();
    QApplication::processEvents();
    QHeaderView* header = form->overview().grid()->horizontalHeader();
    EXPECT_EQ(form->overview().grid()->horizontalHeaderItem(1)->text().toStdString(), "Verkehrsstärke");
    EXPECT_GE(header->sectionSize(1), header->sectionSizeHint(1));

    TArmenForm arms(ctx, doc, form.get());
    arms.show();
    QApplication::processEvents();
    EXPECT_EQ(arms.windowTitle().toStdString(), "Arme");
    for (QLabel* label : arms.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        if (label->wordWrap())
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        else
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    arms.hide();
}
