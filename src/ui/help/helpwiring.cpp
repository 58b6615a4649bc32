#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>

#include "core/programcontext.h"
#include "i18n/languagesetup.h"
#include "ui/dialogs/tconfiggegevensform.h"
#include "ui/dialogs/tlanguageform.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/help/helpcontext.h"
#include "ui/help/helpsystem.h"
#include "ui/help/languagehelpwindows.h"
#include "ui/help/topinternetform.h"
#include "ui/help/windowcatalog.h"
#include "ui/help/windowtranslator.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/tzoomfactorform.h"
#include "ui/views/viewcontroller.h"
#include "uikit/theme.h"

namespace korvimo {

LanguageHelpWindows::LanguageHelpWindows(const WindowWiring& w)
    : QObject(&w.form), m_w(w), m_help(new HelpSystem(w.ctx, w.form)), m_translator(new WindowTranslator(this))
{
    setObjectName(QStringLiteral("LanguageHelpWindows"));
    connect(m_translator, &WindowTranslator::languageChanged, this, &LanguageHelpWindows::ownTexts);
}

TLanguageForm& LanguageHelpWindows::languageForm()
{
    if (!m_language) {
        m_language = new TLanguageForm(m_w.ctx, &m_w.form);
        m_language->applyChoice = [this](const QString& language, const LanguageChoice& choice) {
            if (choice.translateWindows)
                VertaalSchermen(language);
        };
        m_language->templateWindows = [this] { return catalogWindowTexts(m_w); };
    }
    return *m_language;
}

TConfigGegevensForm& LanguageHelpWindows::configForm()
{
    if (!m_config)
        m_config = new TConfigGegevensForm(&m_w.form);
    return *m_config;
}

TOpInternetForm& LanguageHelpWindows::webLinksForm()
{
    if (!m_web)
        m_web = new TOpInternetForm(m_w.ctx, &m_w.form);
    return *m_web;
}

void LanguageHelpWindows::showLanguageDialog()
{
    languageForm().exec();
    if (QMenuBar* bar = m_w.form.findChild<QMenuBar*>(QStringLiteral("MainMenu1")))
        bar->update();
}

void LanguageHelpWindows::showConfigurationInfo()
{
    ProgramContext& ctx = m_w.ctx;
    const VersionInfo v = VersionInfo::fromText(QStringLiteral(KORVIMO_VERSION));
    ConfigInput in;
    in.programName = QString::fromLatin1(kProgramName);
    in.major = v.major;
    in.minor = v.minor;
    in.release = v.release;
    in.build = v.build;
    in.productVersion = v.productVersion;
    const QFont font = m_w.form.font();
    in.mainFont = font.family() + QStringLiteral(", ") + QString::number(font.pointSize());
    in.programFolder = ctx.paths.programFolder;
    in.configFolder = QFileInfo(ctx.paths.settingsFile).absolutePath() + QLatin1Char('/');
    in.styleName = QApplication::style() ? QApplication::style()->name() : QString();
    in.darkModeAllowed = uikit::DarkModeAllowed();
    in.appsUseLightTheme = m_w.theme.GetRegAppsUseLightTheme();
    in.initialScale = ctx.printFontFactor > 0 ? 1.0 / ctx.printFontFactor : 1.0;
    configForm().open(in);
}

void LanguageHelpWindows::SelectAndTranslateForms()
{
    ProgramContext& ctx = m_w.ctx;
    if (languageDialogAtStartUp(ctx.settings))
        showLanguageDialog();
    VertaalSchermen(ctx.settings.language);
    StelTaalInHelp(ctx.settings, ctx.paths, ctx.settings.languageHelp);
}

void LanguageHelpWindows::VertaalSchermen(const QString& language)
{
    // Without a file the windows keep the texts they have; so does the base
    // language, whose designed texts come back only after a restart.
    if (std::optional<LanguageFile> file = windowTranslationFile(m_w.ctx.paths.languageFolder, language))
        m_translator->setLanguageFile(std::move(file));
    else
        ownTexts();
}

void LanguageHelpWindows::ownTexts()
{
    const LanguageTexts& texts = m_w.ctx.texts;
    // The template names come from the names file of the language.
    if (auto* library = m_w.form.findChild<TNieuwForm*>(QString(), Qt::FindDirectChildrenOnly))
        library->LibListBoxVullen();
    const QString web = webLinksCaption(texts);
    if (QAction* a = m_w.form.action(QStringLiteral("HelpInternetAction"))) {
        a->setText(web);
        a->setToolTip(web);
        a->setStatusTip(web);
    }
    if (m_web)
        m_web->updateTexts();
    if (QAction* a = m_w.form.action(QStringLiteral("HelpReadMeAction")))
        a->setText(QStringLiteral("&") + texts.readMeFileName());
    if (m_w.form.views().gridDataRows() > 0)
        m_w.form.overview().setHeaderTexts(texts.text(QStringLiteral("AA00008")), texts.text(QStringLiteral("AA00009")));
    const VersionInfo v = VersionInfo::fromText(QStringLiteral(KORVIMO_VERSION));
    m_w.form.startupInfo().versionLabel()->setText(texts.versionLine(v.versionText()));
}

void wireLanguageHelpWindows(const WindowWiring& w)
{
    auto* windows = new LanguageHelpWindows(w);
    setHelpContext(w.form, kHelpContents);
    setHelpContext(w.form.zoomForm(), 320);
    w.form.zoomForm().setHelpHandler([&form = w.form](int context) { openHelpContext(&form.zoomForm(), context); });

    w.form.provideCommand(QStringLiteral("HelpContentsAction"), [windows] { windows->help().show(kHelpContents); });
    w.form.provideCommand(QStringLiteral("HelpFaqAction"), [windows] { windows->help().show(kHelpFaq); });
    w.form.provideCommand(QStringLiteral("HelpInternetAction"), [windows] { windows->webLinksForm().exec(); });
    w.form.provideCommand(QStringLiteral("ExtraLanguageAction"), [windows] { windows->showLanguageDialog(); });
    w.form.provideCommand(QStringLiteral("ExtraConfigurationInfoAction"), [windows] { windows->showConfigurationInfo(); });

    // The language steps belong right after the settings are read at
    // start-up; tests that replace the settings step leave them out too.
    w.form.readSettings = [windows, read = std::move(w.form.readSettings)] {
        if (read)
            read();
        windows->SelectAndTranslateForms();
    };
}

} // namespace korvimo
