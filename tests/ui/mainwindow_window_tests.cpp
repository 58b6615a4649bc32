#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "dialogs/dialogfixture.h"
#include "render/maakmeta.h"
#include "settings/settingsfile.h"
#include "ui/mainwindow/commandline.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/pictures.h"
#include "ui/mainwindow/mainactionlist.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/tzoomfactorform.h"
#include "support/testsupport.h"
#include <QFile>
#include <QTemporaryDir>
#include "ui/views/viewcontroller.h"
#include "shellfixture.h"

using namespace korvimo;

class MainWindow_EnablingTests : public test::ShellFixture {};
class MainWindow_CloseTests : public test::ShellFixture {};
class MainWindow_StartupTests : public test::ShellFixture {};

namespace {

// A second main window over the fixture's context, started without reading or writing a settings file.
void startWithoutSettingsFile(korvimo::THoofdForm& f, test::CountingRenderer& renderer)
{
    f.readSettings = [] {};
    f.writeSettings = [] {};
    f.setStartupInfoMilliseconds(0);
    f.setRenderer(&renderer);
    f.show();
    f.FormActivate();
}

} // namespace

TEST(MainWindow_CommandTableTests, EveryCommandHasItsCaptionShortcutAndPlace)
{
    // A sample of the table: captions, shortcuts and the menus they sit in.
    MainActionList list;
    QMenuBar bar;
    list.buildMenus(bar);
    const struct {
        const char* name;
        const char* caption;
        const char* shortcut;
    } rows[] = {{"FileNewAction", "&Nieuw...", "Ctrl+N"},
                {"FileSaveAction", "Op&slaan", "Ctrl+S"},
                {"FileCloseAction", "Sl&uiten", "Ctrl+W"},
                {"FileQuitAction", "&Afsluiten", "Alt+F4"},
                {"EditUndoAction", "&Ongedaan maken", "Ctrl+Z"},
                {"EditRedoAction", "Opnieuw &uitvoeren", "Ctrl+Y"},
                {"EditCopyOvIntAction", "Intensiteitenlijst &kopiëren", ""},
                {"DiagramArmsAction", "&Armen", "F3"},
                {"ShowZoomAllAction", "Zoom vo&lledig", "F8"},
                {"ShowLightDarkAction", "Lic&hte/donkere achtergrond", "Shift+F5"},
                {"ShowCoordinatesAction", "&Coördinaten tonen", "Shift+F6"},
                {"ShowDirectionsAction", "Richtingen tonen", "Shift+F7"},
                {"ShowRedrawAction", "Opnieuw &tekenen", "F9"},
                {"HelpContentsAction", "In&houd", "F1"}};
    for (const auto& r : rows) {
        QAction* a = list.action(QString::fromLatin1(r.name));
        ASSERT_NE(a, nullptr) << r.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(r.caption));
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(r.shortcut))) << r.name;
    }
    EXPECT_EQ(list.actions().size(), 44);
    const QStringList menus = {"&Bestand", "Be&werken", "Diagr&am", "Beel&d", "E&xtra", "&Help"};
    QStringList shown;
    for (QAction* m : bar.actions())
        shown << m->text();
    EXPECT_EQ(shown, menus);
    auto* file = bar.findChild<QMenu*>("BestandMenu");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(list.action("FileImportAction")));
}

TEST(MainWindow_CommandTableTests, ToolBarOrder)
{
    // New, Open, Save, Close, Export, Print, |, Diagram copy, ... and the hidden server button last.
    MainActionList list;
    QToolBar bar;
    list.buildToolBar(bar);
    QStringList names;
    for (QAction* a : bar.actions())
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName().chopped(6));
    EXPECT_EQ(names.join(' '), "FileNew FileOpen FileSave FileClose FileExport FilePrint | EditCopyDiagram | "
                               "DiagramArms DiagramFormat DiagramTexts | ShowView ShowCreate | ShowZoomOut "
                               "ShowZoomIn ShowZoomAll ShowPan ShowLightDark ShowCoordinates | HelpContents "
                               "HelpInternet AsServer");
}

TEST(MainWindow_CommandLineTests, OneFileNameBlanksIncluded)
{
    // Without quotes the rest of the line is one file name.
    EXPECT_EQ(commandLineFileName("C:\\Prog\\Korvimo.exe C:\\Data\\My Diagram.kvo", "Korvimo.exe"),
              "C:\\Data\\My Diagram.kvo");
    // With quotes around both, the same file.
    EXPECT_EQ(commandLineFileName("\"C:\\Prog\\Korvimo.exe\" \"C:\\Data\\My Diagram.kvo\"", "korvimo.EXE"),
              "C:\\Data\\My Diagram.kvo");
    // Leading blanks removed; nothing after the name is no file.
    EXPECT_EQ(commandLineFileName("korvimo    a b.kvo  ", "korvimo"), "a b.kvo");
    EXPECT_EQ(commandLineFileName("korvimo", "korvimo"), "");
    EXPECT_EQ(commandLineFileName("other x.kvo", "korvimo"), "");
}

TEST(MainWindow_CommandLineTests, ArgumentVectorJoinsTheRest)
{
    // Split arguments are one name again; a folder named like the program does not confuse it.
    EXPECT_EQ(commandLineFileName(QStringList{"/usr/bin/korvimo", "/home/u/My", "Diagram.kvo"}),
              "/home/u/My Diagram.kvo");
    EXPECT_EQ(commandLineFileName(QStringList{"/opt/korvimo/bin/korvimo", "/opt/korvimo/x.kvo"}),
              "/opt/korvimo/x.kvo");
    EXPECT_EQ(commandLineFileName(QStringList{"korvimo", "\"a b.kvo\""}), "a b.kvo");
    EXPECT_EQ(commandLineFileName(QStringList{"korvimo"}), "");
}

TEST_F(MainWindow_EnablingTests, OverviewAndComposeRules)
{
    // Overview: zoom commands on, script commands off; compose with ComposeZoomExtended off: zoom 1 or 2 only, at 2
    // zoom in off and zoom out on, Zoom all and exact zoom off.
    form->provideCommand("EditCopyOvIntAction", [] {});
    form->provideCommand("EditCopyScriptAction", [] {});
    EXPECT_TRUE(act("ShowViewAction")->isChecked());
    EXPECT_FALSE(act("ShowCreateAction")->isChecked());
    EXPECT_TRUE(act("ShowZoomInAction")->isEnabled());
    EXPECT_TRUE(act("ShowZoomOutAction")->isEnabled());
    EXPECT_TRUE(act("ShowZoomAllAction")->isEnabled());
    EXPECT_TRUE(act("ShowPanExactlyAction")->isEnabled());
    EXPECT_FALSE(act("EditCopyScriptAction")->isEnabled());
    EXPECT_FALSE(act("EditCopyOvIntAction")->isEnabled()); // no volumes yet

    loadVolumes();
    form->views().rebuildVolumeGrid();
    EXPECT_TRUE(act("EditCopyOvIntAction")->isEnabled());
    EXPECT_TRUE(act("EditPasteOvIntAction")->isEnabled());
    EXPECT_FALSE(act("EditCopyScriptLineAction")->isEnabled());

    ctx.settings.composeZoomExtended = false;
    act("ShowCreateAction")->trigger();
    EXPECT_TRUE(act("ShowCreateAction")->isChecked());
    EXPECT_FALSE(act("ShowViewAction")->isChecked());
    EXPECT_TRUE(act("ShowZoomInAction")->isEnabled());
    EXPECT_FALSE(act("ShowZoomOutAction")->isEnabled());
    EXPECT_FALSE(act("ShowZoomAllAction")->isEnabled());
    EXPECT_FALSE(act("ShowPanExactlyAction")->isEnabled());
    EXPECT_FALSE(act("EditCopyOvIntAction")->isEnabled());
    EXPECT_TRUE(act("EditCopyScriptAction")->isEnabled());

    act("ShowZoomInAction")->trigger();
    EXPECT_EQ(form->views().state().composeZoom, 2);
    EXPECT_FALSE(act("ShowZoomInAction")->isEnabled());
    EXPECT_TRUE(act("ShowZoomOutAction")->isEnabled());
}

TEST_F(MainWindow_EnablingTests, SaveFollowsTheModifiedFlagAndLaterWindowsStayOff)
{
    // Save is enabled exactly while the diagram is modified; the server button and diagnostics stay hidden.
    EXPECT_FALSE(act("FileSaveAction")->isEnabled());
    doc.markChanged();
    EXPECT_TRUE(act("FileSaveAction")->isEnabled());
    doc.setModified(false);
    EXPECT_FALSE(act("FileSaveAction")->isEnabled());
    EXPECT_TRUE(act("FileOpenAction")->isEnabled());
    EXPECT_FALSE(act("AsServerAction")->isVisible());
    EXPECT_FALSE(act("ShowIntersectionsAction")->isVisible());
}

TEST_F(MainWindow_CloseTests, UnmodifiedDiagramClosesWithoutAQuestion)
{
    // Nothing changed: no question, the settings are written once.
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(messenger.entries.isEmpty());
    EXPECT_EQ(settingsWritten, 1);
}

TEST_F(MainWindow_CloseTests, TheThreeAnswersOfTheSaveQuestion)
{
    // Opslaan saves and keeps the window; Annuleren keeps it; Niet opslaan closes.
    QTemporaryDir dir;
    doc.fileName = dir.filePath("kruispunt.kvo");
    doc.markChanged();
    messenger.answers = {Messenger::Yes};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(QFile::exists(doc.fileName)); // saved under its own name, no dialog
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_EQ(messenger.entries[0].title, "Bestand opslaan?");
    EXPECT_EQ(messenger.entries[0].text, QStringLiteral("Bestand \"%1\" is gewijzigd.").arg(doc.fileName));
    EXPECT_EQ(settingsWritten, 0);

    doc.markChanged();
    messenger.answers = {Messenger::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(doc.isModified());

    messenger.answers = {Messenger::No};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(settingsWritten, 1);
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Question), 3);
}

TEST_F(MainWindow_CloseTests, SavingAnUntitledDiagramGoesThroughSaveAs)
{
    // Opslaan of a new diagram opens the save dialog; cancelling it keeps the window and the changes.
    doc.markChanged();
    messenger.answers = {Messenger::Yes};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(MainWindow_CloseTests, OpenReadsTheChosenFileIntoTheViews)
{
    // Openen: new diagram, dialog, the file read, its volumes in the grid and its name in the caption.
    QTemporaryDir dir;
    openChoice = dir.filePath("vier takken.kvo");
    test::writeAll(openChoice, "[**General variables**]\r\ndiagramwidth=400\r\n[**Script**]\r\n"
                               "[**Coordinates**]\r\n0001=10;10;\r\n[**Intensities**]\r\n0001=120;I;\r\n"
                               "0002=80;I;\r\n[**Notes**]\r\n");
    act("FileOpenAction")->trigger();
    EXPECT_EQ(doc.fileName, openChoice);
    EXPECT_EQ(form->windowTitle(), "Korvimo - vier takken.kvo");
    EXPECT_EQ(form->overview().grid()->rowCount(), 2);
    EXPECT_EQ(doc.general.diagramwidth, 400);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(messenger.entries.isEmpty());
}

TEST_F(MainWindow_CloseTests, FileCloseMakesANewDiagramOnlyAfterConsent)
{
    // Sluiten with a kept diagram leaves the lists; with "Niet opslaan" they are emptied.
    loadVolumes();
    doc.fileName = "/data/a.kvo";
    doc.markChanged();
    messenger.answers = {Messenger::Cancel};
    act("FileCloseAction")->trigger();
    EXPECT_FALSE(doc.intensities.isEmpty());
    messenger.answers = {Messenger::No};
    act("FileCloseAction")->trigger();
    EXPECT_TRUE(doc.intensities.isEmpty());
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(form->windowTitle(), "Korvimo - Korvimo_Nieuw.kvo");
}

TEST_F(MainWindow_StartupTests, CaptionCoveringPanelAndInformationWindow)
{
    // After start-up: the untitled caption, the covering panel and the information window gone.
    EXPECT_TRUE(test::waitUntil([&] { return form->startupFinished(); }));
    EXPECT_EQ(form->windowTitle(), "Korvimo - Korvimo_Nieuw.kvo");
    EXPECT_FALSE(form->coveringPanel()->isVisible());
    EXPECT_FALSE(form->startupInfo().isVisible());
    EXPECT_EQ(form->objectName(), "HoofdForm");
    EXPECT_NE(form->findChild<QWidget*>("OvIntStringGrid"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("SchaalEdit"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("ScriptListBox"), nullptr);
    EXPECT_NE(form->findChild<QWidget*>("CoordsLabel"), nullptr);
}

TEST_F(MainWindow_StartupTests, CommandLineFileIsOpenedAndNewFormSkipped)
{
    // A file named on the command line is opened; the new-diagram dialog stays away.
    QTemporaryDir dir;
    const QString name = dir.filePath("My Diagram.kvo");
    test::writeAll(name, "[**Intensities**]\r\n0001=5;I;\r\n");
    korvimo::THoofdForm second(ctx, doc, *theme);
    int newForms = 0;
    ctx.settings.startShowNewForm = true;
    second.showNewForm = [&] { ++newForms; };
    second.readSettings = [] {};
    second.writeSettings = [] {};
    second.setStartupInfoMilliseconds(0);
    second.setCommandLineFile(name);
    second.show();
    second.FormActivate();
    second.FormActivate(); // runs once only
    EXPECT_TRUE(test::waitUntil([&] { return second.startupFinished(); }));
    EXPECT_EQ(doc.fileName, name);
    EXPECT_EQ(doc.intensities, QStringList{"0001=5;I;"});
    EXPECT_EQ(newForms, 0);

    korvimo::THoofdForm third(ctx, doc, *theme);
    third.showNewForm = [&] { ++newForms; };
    third.readSettings = [] {};
    third.writeSettings = [] {};
    third.setStartupInfoMilliseconds(0);
    third.show();
    third.FormActivate();
    EXPECT_TRUE(test::waitUntil([&] { return third.startupFinished(); }));
    EXPECT_EQ(newForms, 1);
    EXPECT_TRUE(doc.intensities.isEmpty());
}

TEST_F(MainWindow_StartupTests, MissingCommandLineFileIsReportedAndStartUpGoesOn)
{
    // A file that cannot be opened is reported; the program starts with the empty diagram.
    korvimo::THoofdForm other(ctx, doc, *theme);
    other.readSettings = [] {};
    other.writeSettings = [] {};
    other.setStartupInfoMilliseconds(0);
    other.setCommandLineFile("/no/such/folder/x.kvo");
    other.show();
    other.FormActivate();
    EXPECT_TRUE(test::waitUntil([&] { return other.startupFinished(); }));
    EXPECT_EQ(messenger.count(RecordingMessenger::Entry::Error), 1);
    EXPECT_TRUE(doc.script.isEmpty());
}

TEST_F(MainWindow_StartupTests, ImportShowsWhereTheDocumentationIs)
{
    // Importeren opens nothing; it names the AddOn folder.
    act("FileImportAction")->trigger();
    ASSERT_EQ(messenger.entries.size(), 1);
    EXPECT_EQ(messenger.entries[0].kind, RecordingMessenger::Entry::Information);
    EXPECT_TRUE(messenger.entries[0].text.endsWith(ctx.paths.programFolder + "AddOn"));
}

TEST_F(MainWindow_StartupTests, WindowPositionIsRestoredOnceAndWrittenAtExit)
{
    // A stored entry moves the window when it is shown; the entry is used once and written back at exit.
    TZoomFactorForm& dlg = form->zoomForm();
    ctx.settings.formPositions = {"ZoomFactorForm=M:0;L:40;T:30;W:300;H:200;N:0;", "ArmenForm=M:0;L:5;T:5;W:9;H:9;N:0;"};
    dlg.show();
    EXPECT_EQ(dlg.frameGeometry().topLeft(), QPoint(40, 30));
    EXPECT_EQ(dlg.size(), QSize(300, 200));
    EXPECT_EQ(ctx.settings.formPositions, QStringList{"ArmenForm=M:0;L:5;T:5;W:9;H:9;N:0;"});
    dlg.hide();

    QTemporaryDir dir;
    ctx.paths.settingsFile = dir.filePath("Korvimo/Korvimo.ini");
    korvimo::THoofdForm other(ctx, doc, *theme);
    other.setStartupInfoMilliseconds(0);
    other.show();
    other.move(120, 80);
    other.close();
    const QByteArray ini = test::readAll(ctx.paths.settingsFile);
    EXPECT_TRUE(ini.contains("HoofdForm=M:0;L:120;T:80;")) << ini.constData();
    EXPECT_TRUE(ini.contains("ArmenForm=M:0;L:5;T:5;W:9;H:9;N:0;")); // never opened: kept
}

TEST_F(MainWindow_StartupTests, TenRestartsKeepTheWindowWhereItWas)
{
    // Closed normal or maximised, the main window comes back at the same frame corner with the same normal size,
    // start after start; the MainWindow keys carry the real values.
    QTemporaryDir dir;
    ctx.paths.settingsFile = dir.filePath("Korvimo/Korvimo.ini");
    ctx.settings.languageSet = true;
    // Without a file every setting would start at its default: the new-diagram dialog among them.
    ASSERT_TRUE(korvimo::writeSettingsFile(ctx.settings, ctx.paths.settingsFile));
    auto start = [&](const std::function<void(korvimo::THoofdForm&)>& beforeClose) {
        korvimo::THoofdForm f(ctx, doc, *theme);
        f.setStartupInfoMilliseconds(0);
        f.readSettings = [&] { korvimo::ProgInstellingenOphalen(ctx.settings, ctx.paths.settingsFile); };
        f.show();
        f.FormActivate();
        QApplication::processEvents();
        if (beforeClose)
            beforeClose(f);
        f.close();
        return QString::fromLatin1(test::readAll(ctx.paths.settingsFile));
    };
    QString ini = start([](korvimo::THoofdForm& f) {
        f.resize(700, 500);
        f.move(130, 70);
        QApplication::processEvents();
    });
    ASSERT_TRUE(ini.contains("HoofdForm=M:0;L:130;T:70;W:700;H:500;N:0;")) << ini.toStdString();
    for (const char* line : {"MainWindowMaximized=0", "MainWindowLeft=130", "MainWindowTop=70", "MainWindowWidth=700",
                             "MainWindowHeight=500"})
        EXPECT_TRUE(ini.contains(QLatin1String(line))) << line;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(start({}).contains("HoofdForm=M:0;L:130;T:70;W:700;H:500;N:0;")) << "start " << i;

    ini = start([](korvimo::THoofdForm& f) {
        f.showMaximized();
        QApplication::processEvents();
        EXPECT_TRUE(f.isMaximized());
    });
    ASSERT_TRUE(ini.contains("HoofdForm=M:1;L:130;T:70;W:700;H:500;N:0;")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("MainWindowMaximized=1"));
    EXPECT_TRUE(ini.contains("MainWindowLeft=130"));
    for (int i = 0; i < 10; ++i) {
        bool maximized = false;
        ini = start([&](korvimo::THoofdForm& f) { maximized = f.isMaximized(); });
        EXPECT_TRUE(maximized) << "start " << i;
        ASSERT_TRUE(ini.contains("HoofdForm=M:1;L:130;T:70;W:700;H:500;N:0;")) << "start " << i << ini.toStdString();
    }
    // Made normal again it is at its old place.
    ini = start([](korvimo::THoofdForm& f) {
        f.showNormal();
        QApplication::processEvents();
    });
    EXPECT_TRUE(ini.contains("HoofdForm=M:0;L:130;T:70;W:700;H:500;N:0;")) << ini.toStdString();
}

TEST_F(MainWindow_StartupTests, ReadMeWithoutItsFileShowsAnEmptyViewerAndNoMessage)
{
    // The read-me command on a program folder without the file says nothing itself: the text window opens empty,
    // as the description's editor would; with the file the desktop's viewer gets it.
    QTemporaryDir dir;
    ctx.paths.programFolder = dir.path() + "/";
    QStringList opened;
    form->openReadMe = [&](const QString& path) {
        opened << path;
        return true;
    };
    QString title, text;
    test::whenModalOpens([&](QWidget* w) {
        title = w->windowTitle();
        if (auto* edit = w->findChild<QPlainTextEdit*>())
            text = edit->toPlainText();
        w->close();
    });
    act("HelpReadMeAction")->trigger();
    EXPECT_TRUE(messenger.entries.isEmpty()) << messenger.texts().join('\n').toStdString();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(title, "LeesMij.txt");
    EXPECT_EQ(text, "");

    ASSERT_TRUE(test::writeAll(dir.filePath("LeesMij.txt"), "Lees mij"));
    act("HelpReadMeAction")->trigger();
    EXPECT_EQ(opened, QStringList{dir.filePath("LeesMij.txt")});
}

TEST_F(MainWindow_StartupTests, DiagnosticMarkerShowsTheHiddenCommands)
{
    // With the marker file in the temporary folder at start-up the intersections command and the test check box
    // are there, and the check box switches the renderer's test drawing; without it both stay hidden.
    EXPECT_FALSE(act("ShowIntersectionsAction")->isVisible());
    EXPECT_FALSE(form->overview().testPolyCheckBox()->isVisibleTo(form.get()));
    QTemporaryDir temp;
    ctx.paths.tempFolder = temp.path() + "/";
    ASSERT_TRUE(test::writeAll(temp.filePath(korvimo::kDiagnosticMarkerName), ""));
    korvimo::THoofdForm other(ctx, doc, *theme);
    startWithoutSettingsFile(other, renderer);
    EXPECT_TRUE(ctx.view.diagnosticMode);
    EXPECT_TRUE(other.action("ShowIntersectionsAction")->isVisible());
    QCheckBox* box = other.overview().testPolyCheckBox();
    EXPECT_TRUE(box->isVisibleTo(&other));
    const int before = renderer.renders;
    box->click();
    EXPECT_TRUE(ctx.view.testPolyDrawing);
    EXPECT_GT(renderer.renders, before);
    other.action("ShowIntersectionsAction")->trigger();
    EXPECT_TRUE(ctx.view.showIntersections);
    // The language dialog offers the All.lng template.
    bool templateButton = false;
    test::whenModalOpens([&](QWidget* w) {
        if (auto* b = w->findChild<QPushButton*>("ntTemplateButton"))
            templateButton = b->isVisible();
        w->close();
    });
    other.action("ExtraLanguageAction")->trigger();
    EXPECT_TRUE(templateButton);
}

TEST_F(MainWindow_StartupTests, DarkDesktopStartsWithADarkCoveringPanelAndDarkScrollBoxes)
{
    // On a dark desktop the covering panel is dark from the window's creation on; with the dark interface the
    // compose box around the drawing takes the scroll-area grey, and so does every scroll box of a dialog.
    QPalette darkDesktop;
    darkDesktop.setColor(QPalette::Window, QColor(30, 30, 30));
    darkDesktop.setColor(QPalette::WindowText, QColor(230, 230, 230));
    korvimo::uikit::Theme darkTheme(darkDesktop);
    ctx.settings.interfaceTheme = 1;
    korvimo::THoofdForm other(ctx, doc, darkTheme);
    const QColor background = korvimo::uikit::fromWindowsColor(korvimo::uikit::dark::kBackground);
    const QColor scrollArea = korvimo::uikit::fromWindowsColor(korvimo::uikit::dark::kScrollArea);
    EXPECT_EQ(other.coveringPanel()->palette().color(QPalette::Window), background);
    startWithoutSettingsFile(other, renderer);
    ASSERT_TRUE(darkTheme.darkActive());
    EXPECT_EQ(other.coveringPanel()->palette().color(QPalette::Window), background);
    other.action("ShowCreateAction")->trigger();
    EXPECT_EQ(other.compose().scrollBox()->viewport()->palette().color(QPalette::Window), scrollArea);
    EXPECT_EQ(other.compose().picture()->palette().color(QPalette::Window),
              korvimo::uikit::fromWindowsColor(ctx.settings.drawingBgDarkColor));
    QDialog dialog;
    auto* box = new QScrollArea(&dialog);
    darkTheme.DarkenForm(dialog);
    EXPECT_EQ(box->viewport()->palette().color(QPalette::Window), scrollArea);
}

TEST_F(MainWindow_CloseTests, SaveAsStartsInTheDiagramsFolder)
{
    // The save dialog opens in the folder of the open diagram, with its name; an untitled diagram's in the folder
    // of the last diagram opened or saved, else in the home folder; never the working folder.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("plans"));
    korvimo::THoofdForm other(ctx, doc, *theme);
    startWithoutSettingsFile(other, renderer);
    auto startOf = [&](const char* command) {
        QString folder, name;
        test::whenModalOpens([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            folder = d->directory().absolutePath();
            const QStringList chosen = d->selectedFiles();
            name = chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).fileName();
            d->reject();
        });
        other.action(QString::fromLatin1(command))->trigger();
        return std::make_pair(folder, name);
    };
    doc.fileName = dir.filePath("plans/kruising.kvo");
    EXPECT_EQ(startOf("FileSaveAsAction"), std::make_pair(dir.filePath("plans"), QStringLiteral("kruising.kvo")));
    doc.fileName = ctx.texts.untitledName();
    EXPECT_EQ(startOf("FileSaveAsAction").first, QDir::homePath());
    EXPECT_EQ(startOf("FileOpenAction").first, QDir::homePath());
}
