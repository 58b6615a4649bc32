// The data and output commands of the main window, with their windows.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "document/diagramfile.h"
#include "ui/dialogs/tnieuwform.h"
#include "ui/shellfixture.h"

namespace {

// Runs `step` on the first modal window that opens, after the caller's
// exec() has started.
void answerModal(std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer();
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            step(modal);
    });
    timer->start(10);
}

class Dialogs_WiringTests : public test::ShellFixture {};

TEST_F(Dialogs_WiringTests, NewCommandOpensTheChosenTemplate)
{
    // New empties the document and shows the dialog; OK on the four-arm crossing opens it as an untitled diagram.
    doc.script << QStringLiteral("old line");
    QString seen;
    answerModal([&](QWidget* w) {
        seen = w->objectName();
        auto* dlg = qobject_cast<korvimo::TNieuwForm*>(w);
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(dlg->selectCode(QStringLiteral("011400")));
        dlg->BitBtn1->click();
    });
    act("FileNewAction")->trigger();
    EXPECT_EQ(seen, "NieuwForm");
    EXPECT_FALSE(doc.script.contains(QStringLiteral("old line")));
    EXPECT_FALSE(doc.coordinates.isEmpty());
    EXPECT_TRUE(form->windowTitle().startsWith("Korvimo - Korvimo_"));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(Dialogs_WiringTests, CommandsOfTheFamilyAreAvailable)
{
    // Export comes with this family of windows; the library is attached to the open procedure.
    EXPECT_TRUE(act("FileExportAction")->isEnabled());
    EXPECT_NE(form->diagramFile().templateLibrary(), nullptr);
}

TEST(Dialogs_StartUpTests, NewDialogShowsAtStartUpUnlessAFileWasGiven)
{
    // With StartShowNewForm on and no command-line file the dialog appears once start-up ends; cancelling leaves the empty diagram.
    korvimo::ProgramContext ctx;
    korvimo::RecordingMessenger messenger;
    ctx.paths = korvimo::ProgramPaths::forProgramFolder(QStringLiteral(KORVIMO_BIN_DIR));
    ctx.messenger = &messenger;
    ctx.settings.interfaceTheme = 2;
    korvimo::uikit::Theme theme(QApplication::palette());
    korvimo::DiagramDocument doc;
    test::CountingRenderer renderer;
    korvimo::THoofdForm form(ctx, doc, theme);
    form.setRenderer(&renderer);
    form.setStartupInfoMilliseconds(0);
    form.readSettings = [] {};
    form.writeSettings = [] {};
    int shown = 0;
    answerModal([&](QWidget* w) {
        if (w->objectName() == QLatin1String("NieuwForm"))
            ++shown;
        qobject_cast<QDialog*>(w)->reject();
    });
    form.show();
    form.FormActivate();
    ASSERT_TRUE(test::waitUntil([&] { return form.startupFinished(); }));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(doc.script.isEmpty());
}

} // namespace
