// The windows of the comparison, the legend and the vehicle classes as a
// user sees them; with KORVIMO_SCREENSHOT_DIR set the pictures are kept
// there (docs/screenshots/analysis holds the ones looked at).
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTabWidget>
#include <QComboBox>
#include <QTemporaryDir>

#include "document/diagramfile.h"
#include "editingfixture.h"
#include "ui/dialogs/topmaakform.h"
#include "ui/dialogs/tproginstelform.h"
#include "ui/dialogs/tscriptform.h"

using namespace korvimo;

namespace {

class Editing_AnalysisScreens : public test::EditingFixture {
protected:
    void shoot(QWidget& w, const QString& name)
    {
        QApplication::processEvents();
        QTest::qWait(20);
        const QPixmap shot = w.grab();
        EXPECT_FALSE(shot.isNull()) << name.toStdString();
        const QString dir = qEnvironmentVariable("KORVIMO_SCREENSHOT_DIR");
        const QString folder = dir.isEmpty() ? scratch.path() : dir;
        QDir().mkpath(folder);
        EXPECT_TRUE(shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
    QTemporaryDir scratch;
};

} // namespace

TEST_F(Editing_AnalysisScreens, MenuGroupsScriptLineAndSettingsPage)
{
    form->openFile(QString::fromLatin1(KORVIMO_BIN_DIR) + "/AddOn/Voorbeeld-legenda.kvoimp");
    form->resize(1000, 760);
    form->show();
    shoot(*form, "mainwindow-legend");

    QMenu* diagram = form->menuBar()->findChild<QMenu*>("DiagramMenu");
    ASSERT_NE(diagram, nullptr);
    bool listed = false;
    for (QAction* a : diagram->actions())
        listed = listed || a->objectName() == "DiagramCompareAction";
    EXPECT_TRUE(listed);
    diagram->popup(form->mapToGlobal(QPoint(120, 30)));
    shoot(*diagram, "diagram-menu");
    diagram->hide();

    TOpmaakForm& format = editing->opmaakForm();
    format.show();
    format.findChild<QTabWidget*>("OpmaakPageControl")->setCurrentIndex(2);
    shoot(format, "format-groups");
    format.hide();

    TScriptForm& script = editing->scriptForm();
    script.startAdd();
    script.show();
    auto* type = script.findChild<QComboBox*>("ScriptTypeComboBox");
    type->setCurrentIndex(type->findText("LEG"));
    shoot(script, "scriptline-legend");
    script.hide();

    TProgInstelForm settings(ctx);
    settings.FormActivate();
    settings.show();
    settings.PageControl1->setCurrentIndex(4);
    shoot(settings, "settings-analysis");
    settings.hide();
}
