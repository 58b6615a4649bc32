#include <QDir>
#include <QTabWidget>
#include <QTextBrowser>

#include "help/helpfixture.h"
#include "i18n/languagesetup.h"
#include "ui/dialogs/tconfiggegevensform.h"
#include "ui/dialogs/tlanguageform.h"
#include "ui/dialogs/tscriptform.h"
#include "ui/help/topinternetform.h"
#include "ui/help/windowcatalog.h"
#include "ui/views/metarenderer.h"
#include "ui/views/viewcontroller.h"
#include "ui/views/tzoomfactorform.h"

using namespace korvimo;

namespace {

class Help_ScreenshotTests : public test::HelpFixture {
protected:
    static void shoot(QWidget& w, const QString& path)
    {
        w.show();
        QApplication::processEvents();
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(w.grab().save(path)) << path.toStdString();
    }

    void shootAll(const QString& folder)
    {
        form->resize(960, 640);
        form->show();
        QTest::qWait(300); // the resize timer's Zoom all
        form->views().zoomAll();
        shoot(*form, folder + "/hoofdform.png");
        act("ShowCreateAction")->trigger();
        shoot(*form, folder + "/hoofdform-opstellen.png");
        act("ShowViewAction")->trigger();
        const WindowWiring wiring{*form, ctx, doc, *theme};
        for (const CatalogEntry& e : windowCatalog()) {
            // Shown below with their contents in them.
            if (qstrcmp(e.name, "HoofdForm") == 0 || qstrcmp(e.name, "LanguageForm") == 0
                || qstrcmp(e.name, "ConfigGegevensForm") == 0 || qstrcmp(e.name, "HelpForm") == 0)
                continue;
            CatalogWindow made = e.make(wiring);
            const QString base = folder + "/" + QString::fromLatin1(e.name).toLower();
            // Every page of a tabbed dialog, where most of its texts are.
            if (auto* tabs = made.window->findChild<QTabWidget*>()) {
                for (int i = 0; i < tabs->count(); ++i) {
                    tabs->setCurrentIndex(i);
                    shoot(*made.window, base + QStringLiteral("-%1.png").arg(i + 1));
                }
            } else {
                shoot(*made.window, base + ".png");
            }
            // The script dialog with a line of the sample on the two panels
            // with the most fields: a text with a volume, and an arc.
            if (auto* script = qobject_cast<TScriptForm*>(made.window)) {
                for (const char* code : {"TXT", "ARC"}) {
                    const int row = firstScriptLine(code);
                    if (row < 0)
                        continue;
                    script->hide();
                    script->setWindowTitle(ctx.texts.text(QStringLiteral("AA00019")));
                    script->prepare(TScriptForm::Change, row);
                    ASSERT_TRUE(script->fillFromLine(doc.script[row])) << code;
                    shoot(*script, base + "-" + QString::fromLatin1(code).toLower() + ".png");
                }
            }
            made.window->hide();
        }
        windows->help().show(20);
        shoot(*windows->help().window(), folder + "/helpform.png");
        windows->help().window()->hide();
        shoot(windows->languageForm(), folder + "/languageform.png");
        windows->languageForm().hide();
        windows->configForm().tellError = [](const QString&, const QString&) {};
        windows->showConfigurationInfo();
        windows->configForm().resize(620, 700);
        shoot(windows->configForm(), folder + "/configgegevensform.png");
        windows->configForm().hide();
    }

    // The first script line of the sample with this code, or -1.
    int firstScriptLine(const char* code) const
    {
        for (int i = 0; i < doc.script.size(); ++i) {
            if (doc.script[i].startsWith(QLatin1String(code) + QLatin1Char(';')))
                return i;
        }
        return -1;
    }

    MetaRenderer real;
};

} // namespace

// The pictures of the help pages and of the documentation, written only when
// KORVIMO_SCREENSHOTS names a folder: Dutch into <folder>/nederlands, English
// into <folder>/english, German into <folder>/german; KORVIMO_TEMPLATE writes
// the translation template.
TEST_F(Help_ScreenshotTests, WritesPicturesWhenAsked)
{
    // The windows as a user sees them, in each language.
    const QString out = qEnvironmentVariable("KORVIMO_SCREENSHOTS");
    const QString templ = qEnvironmentVariable("KORVIMO_TEMPLATE");
    if (out.isEmpty() && templ.isEmpty())
        GTEST_SKIP() << "set KORVIMO_SCREENSHOTS or KORVIMO_TEMPLATE to write pictures or the template";
    if (!templ.isEmpty()) {
        ASSERT_TRUE(writeTranslationTemplate(catalogWindowTexts({*form, ctx, doc, *theme}), templ));
    }
    if (out.isEmpty())
        return;
    form->setRenderer(&real);
    form->openFile(QStringLiteral(KORVIMO_BIN_DIR) + QStringLiteral("/AddOn/Voorbeeld.kvo"));
    shootAll(out + "/nederlands");
    ctx.settings.languageHelp = QStringLiteral("Korvimo_English");
    setUpLanguageTexts(ctx.settings, ctx.texts, ctx.paths.languageFolder);
    applyLanguageChoice(ctx.settings, ctx.texts, ctx.paths, false, QStringLiteral("English"), {}, messenger);
    windows->VertaalSchermen(QStringLiteral("English"));
    shootAll(out + "/english");
    applyLanguageChoice(ctx.settings, ctx.texts, ctx.paths, true, QStringLiteral("Deutsch"), {}, messenger);
    windows->VertaalSchermen(QStringLiteral("Deutsch"));
    shootAll(out + "/german");
}
