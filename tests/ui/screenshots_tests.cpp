// The pictures of the main window in docs/screenshots. They are made on
// request only (scripts/screenshots.sh sets KORVIMO_SCREENSHOT_DIR), because
// a picture is looked at, not compared.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/metarenderer.h"
#include "ui/views/viewcontroller.h"
#include "uikit/theme.h"

namespace {

bool waitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000 && !condition(); ++i)
        QTest::qWait(10);
    return condition();
}

} // namespace

TEST(Ui_ScreenshotTests, MainWindowWithTheSampleDiagram)
{
    // Overview and compose view of the sample crossing in the theme the
    // script asks for (dark goes on once a run, so each theme is a run).
    const QString dir = qEnvironmentVariable("KORVIMO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KORVIMO_SCREENSHOT_DIR not set";
    const QString theme = qEnvironmentVariable("KORVIMO_SCREENSHOT_THEME", QStringLiteral("light"));
    const QString suffix = qEnvironmentVariable("KORVIMO_SCREENSHOT_SUFFIX", theme);
    QDir().mkpath(dir);

    korvimo::uikit::Theme uiTheme(QApplication::palette());
    korvimo::ProgramContext ctx;
    ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR));
    korvimo::RecordingMessenger messenger;
    ctx.messenger = &messenger;
    // The program's own start-up steps, from a settings file of a user who
    // has chosen the language and the theme.
    QTemporaryDir config;
    ctx.paths.settingsFile = config.filePath(QStringLiteral("Korvimo.ini"));
    QFile ini(ctx.paths.settingsFile);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Korvimo settings]\r\n\r\n[**General variables**]\r\nInterfaceTheme=%1\r\n"
                             "StartShowNewForm=0\r\nLanguageSet=1\r\nLanguage=Nederlands\r\n")
                  .arg(theme == QLatin1String("dark") ? 3 : 2)
                  .toLatin1());
    ini.close();
    korvimo::DiagramDocument doc;
    korvimo::MetaRenderer renderer;
    korvimo::THoofdForm form(ctx, doc, uiTheme);
    form.writeSettings = [] {};
    form.setRenderer(&renderer);
    form.setStartupInfoMilliseconds(0);
    ctx.settings.startShowNewForm = false;
    form.setCommandLineFile(QStringLiteral(KORVIMO_BIN_DIR "/AddOn/Voorbeeld.kvoimp"));
    form.resize(1000, 720);
    form.show();
    form.FormActivate();
    ASSERT_TRUE(waitFor([&] { return form.startupFinished(); }));
    form.views().zoomAll();
    QTest::qWait(400); // the resize timer's Zoom all and the repaint
    EXPECT_TRUE(messenger.entries.empty());
    ASSERT_TRUE(form.grab().save(dir + QStringLiteral("/overview-") + suffix + QStringLiteral(".png")));

    form.views().showCompose();
    form.views().zoomAll();
    QTest::qWait(400);
    ASSERT_TRUE(form.grab().save(dir + QStringLiteral("/compose-") + suffix + QStringLiteral(".png")));
    doc.setModified(false);
}
