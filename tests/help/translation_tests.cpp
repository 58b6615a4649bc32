#include <QAction>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "help/helpfixture.h"
#include "i18n/languagesetup.h"
#include "ui/dialogs/tlanguageform.h"
#include "ui/help/topinternetform.h"
#include "ui/help/widgettexts.h"
#include "ui/help/windowtranslator.h"

using namespace korvimo;

namespace {

const char* const kTestish = R"lng(; A small language for the tests.
[Dynamic]
ZB00011="&Save"
AA00040="%s on the web..."
AA00194="Save file?"

[HoofdForm]
HoofdForm.BestandMenu.Caption="&File"
HoofdForm.FileNewAction.Caption="&New..."
HoofdForm.FileNewAction.Hint="New (Ctrl+N)"
HoofdForm.FileSaveAction.Caption="&Save"

[OpInternetForm]
OpInternetForm.SluitenButton.Caption="&Close"
OpInternetForm.ntWebLinkLabel.Caption="must stay a link"
)lng";

// Lacks the File menu and Save: those keep the earlier language's texts.
const char* const kZweites = R"([Dynamic]
ZB00011="&Speichern"
[HoofdForm]
HoofdForm.FileNewAction.Caption="&Neu..."
)";

class Help_TranslationTests : public test::HelpFixture {
protected:
    void SetUp() override
    {
        HelpFixture::SetUp();
        const QString root = useOwnProgramFolder();
        write(root + "Lng/Testish.lng", kTestish);
        write(root + "Lng/Zweites.lng", kZweites);
    }

    // Chooses a language in the language dialog as a user would.
    void choose(const QString& language)
    {
        TLanguageForm& dialog = windows->languageForm();
        QTimer::singleShot(0, [&] {
            const QList<QListWidgetItem*> found = dialog.languageList()->findItems(language, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << language.toStdString();
            dialog.languageList()->setCurrentItem(found.first()); // a click: the one selected item
            dialog.findChild<QPushButton*>(QStringLiteral("ntOKButton"))->click();
        });
        act("ExtraLanguageAction")->trigger();
    }

    QString menuTitle(const char* name) const
    {
        return form->findChild<QMenu*>(QString::fromLatin1(name))->title();
    }
};

} // namespace

TEST_F(Help_TranslationTests, SwitchReplacesCaptionsAndRunTimeTexts)
{
    // Choosing a language translates the open windows and the run-time
    // texts at once; what the file lacks keeps its text; a window built
    // later is translated when it shows; the untranslated prefix holds.
    choose(QStringLiteral("Testish"));
    EXPECT_EQ(ctx.settings.language, QStringLiteral("Testish"));
    EXPECT_TRUE(ctx.settings.languageSet);
    EXPECT_EQ(menuTitle("BestandMenu"), QStringLiteral("&File"));
    EXPECT_EQ(menuTitle("BeeldMenu"), QStringLiteral("Beel&d")); // not in the file
    EXPECT_EQ(act("FileNewAction")->text(), QStringLiteral("&New..."));
    EXPECT_EQ(act("FileNewAction")->toolTip(), QStringLiteral("New (Ctrl+N)"));
    EXPECT_EQ(act("FileOpenAction")->text(), QStringLiteral("&Openen..."));
    EXPECT_EQ(ctx.texts.text("ZB00011"), QStringLiteral("&Save"));
    EXPECT_EQ(ctx.texts.text("AA00194"), QStringLiteral("Save file?"));
    EXPECT_EQ(ctx.texts.text("ZB00013"), QStringLiteral("&Annuleren"));
    // Texts the program sets itself follow the language.
    EXPECT_EQ(act("HelpInternetAction")->text(), QStringLiteral("Korvimo on the web..."));
    EXPECT_EQ(act("HelpReadMeAction")->text(), QStringLiteral("&ReadMe.txt"));
    EXPECT_EQ(ctx.texts.untitledName(), QStringLiteral("Korvimo_New.kvo"));
    EXPECT_TRUE(form->startupInfo().versionLabel()->text().startsWith(QStringLiteral("Version ")));

    TOpInternetForm& web = windows->webLinksForm();
    web.show();
    EXPECT_EQ(web.windowTitle(), QStringLiteral("Korvimo on the web..."));
    EXPECT_EQ(web.findChild<QPushButton*>(QStringLiteral("SluitenButton"))->text(), QStringLiteral("&Close"));
    EXPECT_NE(web.findChild<QLabel*>(QStringLiteral("ntWebLinkLabel"))->text(), QStringLiteral("must stay a link"));
    web.hide();

    // A second language replaces what it holds and keeps the rest.
    choose(QStringLiteral("Zweites"));
    EXPECT_EQ(act("FileNewAction")->text(), QStringLiteral("&Neu..."));
    EXPECT_EQ(menuTitle("BestandMenu"), QStringLiteral("&File"));
    EXPECT_EQ(ctx.texts.text("ZB00011"), QStringLiteral("&Speichern"));
    EXPECT_EQ(ctx.texts.text("AA00194"), QStringLiteral("Save file?"));
}

TEST_F(Help_TranslationTests, DialogOpensOnTheLanguagesInUse)
{
    // The program and help languages in use stand selected when the dialog opens; OK on them changes nothing and,
    // for the base language in effect, asks for no restart.
    ctx.settings.languageSet = true;
    auto openAndOk = [&](QString* language, QString* help) {
        TLanguageForm& dialog = windows->languageForm();
        QTimer::singleShot(0, [&, language, help] {
            const QList<QListWidgetItem*> l = dialog.languageList()->selectedItems();
            const QList<QListWidgetItem*> h = dialog.helpList()->selectedItems();
            *language = l.size() == 1 ? l.first()->text() : QStringLiteral("(%1 selected)").arg(l.size());
            *help = h.size() == 1 ? h.first()->text() : QStringLiteral("(%1 selected)").arg(h.size());
            dialog.findChild<QPushButton*>(QStringLiteral("ntOKButton"))->click();
        });
        act("ExtraLanguageAction")->trigger();
    };
    QString language, help;
    openAndOk(&language, &help);
    EXPECT_EQ(language, QStringLiteral("Nederlands"));
    EXPECT_EQ(help, ctx.settings.languageHelp);
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();
    EXPECT_EQ(ctx.settings.language, QStringLiteral("Nederlands"));

    choose(QStringLiteral("Testish"));
    openAndOk(&language, &help);
    EXPECT_EQ(language, QStringLiteral("Testish"));
    EXPECT_EQ(ctx.settings.language, QStringLiteral("Testish"));
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_F(Help_TranslationTests, BackToDutchAsksForARestart)
{
    // After an earlier choice, Nederlands tells to restart (in both
    // languages) and is what the next start uses; the texts in the windows
    // stay until then.
    choose(QStringLiteral("Testish"));
    messenger.clear();
    choose(QStringLiteral("Nederlands"));
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_EQ(messenger.entries[0].text,
              QStringLiteral("Restart Korvimo to activate the language.\r\n\r\nStart Korvimo opnieuw op om de taal te activeren."));
    EXPECT_EQ(ctx.settings.language, QStringLiteral("Nederlands"));
    EXPECT_EQ(menuTitle("BestandMenu"), QStringLiteral("&File"));
}

TEST_F(Help_TranslationTests, FirstStartAsksForTheLanguage)
{
    // While no language was ever chosen, start-up shows the language dialog
    // first; cancelling it still counts as chosen, and the help set that the
    // settings name is used.
    ctx.settings.languageSet = false;
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = windows->languageForm().isVisible();
        windows->languageForm().reject();
    });
    windows->SelectAndTranslateForms();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ctx.settings.languageSet);
    EXPECT_EQ(ctx.settings.languageHelp, QStringLiteral("Korvimo_English"));
    EXPECT_EQ(menuTitle("BestandMenu"), QStringLiteral("&Bestand"));
}

TEST_F(Help_TranslationTests, LanguageDialogListsAndKeepsItsOwnTexts)
{
    // The dialog lists Nederlands and the files of Lng/, the help sets of
    // Hlp/, with the language in use selected, and no language file changes
    // its controls.
    write(ctx.paths.languageFolder + "Sneaky.lng",
          "[LanguageForm]\nLanguageForm.Caption=\"Sprache\"\nLanguageForm.ntOKButton.Caption=\"Jawohl\"\n");
    choose(QStringLiteral("Sneaky"));
    TLanguageForm& dialog = windows->languageForm();
    dialog.show();
    QStringList languages;
    for (int i = 0; i < dialog.languageList()->count(); ++i)
        languages << dialog.languageList()->item(i)->text();
    EXPECT_TRUE(languages.contains(QStringLiteral("Nederlands")));
    EXPECT_TRUE(languages.contains(QStringLiteral("English")));
    EXPECT_TRUE(languages.contains(QStringLiteral("Testish")));
    ASSERT_EQ(dialog.languageList()->selectedItems().size(), 1);
    EXPECT_EQ(dialog.languageList()->selectedItems().first()->text(), QStringLiteral("Sneaky"));
    EXPECT_EQ(dialog.helpList()->count(), 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Language"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("ntOKButton"))->text(), QStringLiteral("&OK"));
    EXPECT_FALSE(dialog.templateButton()->isVisible());
    dialog.hide();
}

TEST_F(Help_TranslationTests, DiagnosticTemplateListsTheWindowsTexts)
{
    // In diagnostic mode the dialog's flat button writes Lng/All.lng with the
    // designed texts of every catalogued window, in quotes.
    ctx.view.diagnosticMode = true;
    TLanguageForm& dialog = windows->languageForm();
    dialog.show();
    ASSERT_TRUE(dialog.templateButton()->isVisible());
    dialog.templateButton()->click();
    dialog.hide();
    const std::optional<LanguageFile> all = LanguageFile::load(ctx.paths.languageFolder + "All.lng");
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(all->value("HoofdForm", "HoofdForm.BestandMenu.Caption"), QStringLiteral("\"&Bestand\""));
    EXPECT_EQ(all->value("OpInternetForm", "OpInternetForm.SluitenButton.Caption"), QStringLiteral("\"&Sluiten\""));
    EXPECT_TRUE(all->hasSection("ZoomFactorForm"));
    EXPECT_FALSE(all->value("OpInternetForm", "OpInternetForm.ntWebLinkLabel.Caption").has_value());
}

TEST(Help_WidgetTextsTests, FormLayoutLabelsAreNamedAfterTheirField)
{
    // A row label a form layout made is named after its field and so becomes
    // translatable; a nameless label elsewhere is reported, not lost.
    QWidget window;
    window.setObjectName(QStringLiteral("ProbeForm"));
    auto* layout = new QFormLayout(&window);
    auto* field = new QLineEdit(&window);
    field->setObjectName(QStringLiteral("BreedteEdit"));
    layout->addRow(QStringLiteral("&Breedte:"), field);
    auto* stray = new QLabel(QStringLiteral("Zonder naam"), &window);
    layout->addRow(stray);
    const CollectedWindow c = collectWindowTexts(window);
    ASSERT_FALSE(c.texts.controls.isEmpty());
    bool named = false;
    for (const ControlTexts& t : c.texts.controls)
        named |= t.name == QStringLiteral("BreedteEditLabel") && t.caption == QStringLiteral("&Breedte:");
    EXPECT_TRUE(named);
    EXPECT_EQ(c.unnamed, QStringList{QStringLiteral("QLabel: Zonder naam")});

    const LanguageFile file = LanguageFile::fromText(
        QStringLiteral("[ProbeForm]\nProbeForm.BreedteEditLabel.Caption=\"&Width:\"\n"));
    translateWidgetWindow(window, file);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("BreedteEditLabel"))->text(), QStringLiteral("&Width:"));
}
