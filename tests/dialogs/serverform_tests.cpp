// The server window over a real watched folder, and server mode started
// by the start-up file when the program starts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "document/diagramdocument.h"
#include "server/serverfixture.h"
#include "ui/dialogs/tserverform.h"
#include "ui/mainwindow/thoofdform.h"
#include "ui/views/diagramrenderer.h"
#include "uikit/theme.h"

namespace {

TEST(Dialogs_ServerWindowTests, ButtonsLabelsAndLogFollowTheServer)
{
    // Start reads the start-up file and shows the log file; a request becomes a picture; hiding does not stop; Stop and Close as described.
    test::ServerEnv env;
    korvimo::TServerForm window(*env.server);
    EXPECT_EQ(window.objectName(), "ServerForm");
    EXPECT_EQ(window.windowTitle(), "Run as server");
    EXPECT_TRUE(window.StartButton->isEnabled());
    EXPECT_FALSE(window.StopButton->isEnabled());
    EXPECT_FALSE(window.MinimizeButton->isEnabled());
    window.show();
    window.StartButton->click();
    EXPECT_TRUE(env.server->isRunning());
    EXPECT_TRUE(env.ctx.runAsServer);
    EXPECT_FALSE(window.StartButton->isEnabled());
    EXPECT_FALSE(window.CloseButton->isEnabled());
    EXPECT_TRUE(window.StopButton->isEnabled());
    EXPECT_TRUE(window.MinimizeButton->isEnabled());
    EXPECT_FALSE(window.RunningLabel->isHidden());
    EXPECT_EQ(window.LogFileNameLabel->text(), env.logFile);
    EXPECT_TRUE(window.LogMemo->toPlainText().endsWith("Start"));

    env.drop(QStringLiteral("plan.kvoimp"), test::kvoimpRequest(120));
    window.hide(); // the server goes on
    ASSERT_TRUE(env.waitForOutcomes(1));
    EXPECT_TRUE(env.outcomes[0].pictureWritten);
    EXPECT_TRUE(QFile::exists(env.watch + "plan.jpg"));
    EXPECT_TRUE(window.RunningLabel->text().startsWith("Running... "));
    EXPECT_LE(window.LogMemo->toPlainText().split('\n').size(), 6);
    EXPECT_TRUE(window.LogMemo->toPlainText().contains("plan.kvoimp"));

    window.show();
    window.StopButton->click();
    EXPECT_FALSE(env.server->isRunning());
    EXPECT_TRUE(window.StartButton->isEnabled());
    EXPECT_TRUE(window.CloseButton->isEnabled());
    EXPECT_TRUE(window.RunningLabel->isHidden());
    EXPECT_TRUE(window.LogMemo->toPlainText().endsWith("Stop"));
    window.CloseButton->click();
    EXPECT_FALSE(window.isVisible());
}

class NullRenderer final : public korvimo::DiagramRenderer {
public:
    void render(korvimo::DiagramDocument&, korvimo::ProgramContext&) override {}
    QSize metaSize() const override { return {5000, 5000}; }
    void play(QPainter&, const QRect&) const override {}
};

TEST(Dialogs_ServerWindowTests, StartUpFileStartsTheServerInsteadOfTheNewDialog)
{
    // With the start-up file present the server window shows and runs after start-up, the AsServer button appears, and no new-diagram dialog follows.
    test::ServerEnv env;
    env.ctx.paths.serverStartupFile = env.startup;
    env.ctx.settings.interfaceTheme = 2;
    env.ctx.settings.startShowNewForm = true;
    korvimo::uikit::Theme theme(QApplication::palette());
    korvimo::DiagramDocument doc;
    NullRenderer renderer;
    korvimo::THoofdForm form(env.ctx, doc, theme);
    form.setRenderer(&renderer);
    form.setStartupInfoMilliseconds(0);
    form.readSettings = [] {};
    form.writeSettings = [] {};
    int newForms = 0;
    form.showNewForm = [&] { ++newForms; };
    form.show();
    form.FormActivate();
    ASSERT_TRUE(test::ServerEnv::spinUntil([&] { return form.startupFinished(); }));
    auto* window = form.findChild<korvimo::TServerForm*>(QStringLiteral("ServerForm"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(env.ctx.runAsServer);
    EXPECT_EQ(newForms, 0);
    EXPECT_TRUE(form.action(QStringLiteral("AsServerAction"))->isVisible());
    EXPECT_TRUE(form.action(QStringLiteral("AsServerAction"))->isEnabled());
    window->StopButton->click();
    EXPECT_FALSE(env.ctx.runAsServer);
    window->hide();
    form.action(QStringLiteral("AsServerAction"))->trigger(); // the button shows it again
    EXPECT_TRUE(window->isVisible());
    window->hide();
}

} // namespace
