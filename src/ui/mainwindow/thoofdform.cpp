#include "ui/mainwindow/thoofdform.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <typeinfo>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/filecommands.h"
#include "i18n/languagesetup.h"
#include "render/maakmeta.h"
#include "settings/settingsfile.h"
#include "ui/dialogs/filedialogfolder.h"
#include "ui/mainwindow/formpositions.h"
#include "ui/mainwindow/mainactionlist.h"
#include "ui/mainwindow/windowwiring.h"
#include "ui/uitext.h"
#include "ui/views/opstellenpanel.h"
#include "ui/views/overzichtpanel.h"
#include "ui/views/pictures.h"
#include "ui/views/tzoomfactorform.h"
#include "ui/views/viewcontroller.h"
#include "ui/views/volumegrid.h"
#include "uikit/icons.h"
#include "uikit/busycursor.h"

namespace korvimo {

namespace {

// Commands that run here from the start; every other one waits for the
// window that later work brings (provideCommand).
const char* const kBuiltIn[] = {
    "FileNewAction",       "FileOpenAction",         "FileSaveAction",        "FileSaveAsAction",
    "FileCloseAction",     "FileImportAction",       "FileQuitAction",        "ShowViewAction",
    "ShowCreateAction",    "ShowZoomOutAction",      "ShowZoomInAction",      "ShowZoomAllAction",
    "ShowPanAction",       "ShowPanExactlyAction",   "ShowLightDarkAction",   "ShowCoordinatesAction",
    "ShowDirectionsAction", "ShowIntersectionsAction", "ShowRedrawAction",    "HelpReadMeAction",
    "HelpInfoAction",
};

using uikit::BusyCursor;

} // namespace

THoofdForm::THoofdForm(ProgramContext& ctx, DiagramDocument& doc, uikit::Theme& theme, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_doc(doc), m_theme(theme),
      m_version(VersionInfo::fromText(QStringLiteral(KORVIMO_VERSION)))
{
    setObjectName(QStringLiteral("HoofdForm"));
    setWindowIcon(uikit::programIcon(QStringLiteral("program")));
    m_actions = new MainActionList(this);
    buildWindow();

    m_views = new ViewController(m_ctx, m_doc, *m_overview, *m_compose, this);
    connect(m_views, &ViewController::enablingChanged, this, &THoofdForm::InMenuChecken);
    connect(m_views, &ViewController::panStateChanged, this,
            [this](bool down) { action(QStringLiteral("ShowPanAction"))->setChecked(down); });
    connect(&m_doc, &DiagramDocument::modifiedChanged, this, &THoofdForm::InMenuChecken);
    connect(&m_doc.undoStack(), &QUndoStack::canUndoChanged, this, &THoofdForm::InMenuChecken);
    connect(&m_doc.undoStack(), &QUndoStack::canRedoChanged, this, &THoofdForm::InMenuChecken);

    connectDocument();

    m_info = new TOpstartInfoForm(m_version, QStringLiteral("https://korvimo.org"),
                                  m_ctx.settings.language == QLatin1String("Nederlands"), this);
    m_info->setMessenger(m_ctx.messenger);
    m_zoomForm = new TZoomFactorForm(this);
    keepFormPosition(*m_zoomForm, m_ctx.settings.formPositions, this);
    // The main window's own entry is applied by the start-up; the keeper
    // follows its normal place and settles the first placement.
    keepFormPosition(*this, m_ctx.settings.formPositions, this);

    openReadMe = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    readSettings = [this] {
        ProgInstellingenOphalen(m_ctx.settings, m_ctx.paths.settingsFile);
        setUpLanguageTexts(m_ctx.settings, m_ctx.texts, m_ctx.paths.languageFolder);
    };
    writeSettings = [this] {
        const WindowPlacement main = placementOf(*this);
        // Kept for readers outside the program; the program itself goes by
        // the window-position list.
        ProgramSettings& s = m_ctx.settings;
        s.mainWindowMaximized = main.maximized;
        s.mainWindowLeft = main.left;
        s.mainWindowTop = main.top;
        s.mainWindowWidth = main.width;
        s.mainWindowHeight = main.height;
        ProgInstellingenOpslaan(s, {main, placementOf(*m_zoomForm)}, m_ctx.paths.settingsFile, m_ctx.texts,
                                m_ctx.messages());
    };

    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(200);
    m_resizeTimer.setObjectName(QStringLiteral("ResizeTimer"));
    connect(&m_resizeTimer, &QTimer::timeout, this, &THoofdForm::ResizeTimerTimer);

    for (const char* name : kBuiltIn)
        m_available.insert(QString::fromLatin1(name));
    connectCommands();
    wireAllWindows({*this, m_ctx, m_doc, m_theme});
    action(QStringLiteral("AsServerAction"))->setVisible(false);
    action(QStringLiteral("ShowIntersectionsAction"))->setVisible(m_ctx.view.diagnosticMode);
    InMenuChecken();
}

THoofdForm::~THoofdForm() = default;

QAction* THoofdForm::action(const QString& name) const { return m_actions->action(name); }

void THoofdForm::buildWindow()
{
    // Client area of 794 x 541 at 96 DPI below a 60-pixel top strip; Qt's
    // high-DPI scaling takes care of other resolutions.
    resize(794, 541 + 60);
    setMinimumSize(300, 400);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("TopPanel"));
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(2, 2, 2, 2);
    topLayout->setSpacing(2);
    m_bigButton = new QToolButton(top);
    m_bigButton->setObjectName(QStringLiteral("BigButtonImage"));
    m_bigButton->setIcon(uikit::programIcon(QStringLiteral("program")));
    m_bigButton->setIconSize(QSize(44, 44));
    m_bigButton->setFixedSize(52, 52);
    m_bigButton->setAutoRaise(true); // the frame shows only under the pointer
    m_bigButton->setFocusPolicy(Qt::NoFocus);
    topLayout->addWidget(m_bigButton, 0, Qt::AlignTop);

    auto* bars = new QVBoxLayout();
    bars->setContentsMargins(0, 0, 0, 0);
    bars->setSpacing(0);
    auto* menuBar = new QMenuBar(top);
    m_actions->buildMenus(*menuBar);
    bars->addWidget(menuBar);
    auto* toolBar = new QToolBar(top);
    m_actions->buildToolBar(*toolBar);
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    bars->addWidget(toolBar);
    topLayout->addLayout(bars, 1);
    setMenuWidget(top);
    addActions(m_actions->actions());

    connect(m_bigButton, &QToolButton::clicked, this, [menuBar] {
        // Opens the File menu as its accelerator would.
        if (QMenu* file = menuBar->findChild<QMenu*>(QStringLiteral("BestandMenu"))) {
            menuBar->setFocus();
            menuBar->setActiveAction(file->menuAction());
        }
    });

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientPanel"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    m_overview = new OverzichtPanel(central);
    m_compose = new OpstellenPanel(central);
    m_compose->setVisible(false);
    layout->addWidget(m_overview, 1);
    layout->addWidget(m_compose, 1);
    auto* bottom = new QWidget(central);
    bottom->setObjectName(QStringLiteral("OnderPanel"));
    bottom->setFixedHeight(4);
    layout->addWidget(bottom);
    setCentralWidget(central);

    // Covers the window while the start-up steps run.
    m_overAllPanel = new QWidget(central);
    m_overAllPanel->setObjectName(QStringLiteral("OverAllPanel"));
    m_overAllPanel->setAutoFillBackground(true);
    m_overAllPanel->setGeometry(central->rect());
    m_overAllPanel->raise();
    // Before the settings are read the desktop's own scheme decides: a dark
    // desktop must not see a light flash while the program starts.
    if (m_theme.GetRegAppsUseLightTheme() == 0)
        setCoveringColour(uikit::fromWindowsColor(uikit::dark::kBackground));
    central->installEventFilter(this);
}

bool THoofdForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        m_overAllPanel->setGeometry(centralWidget()->rect());
    return QMainWindow::eventFilter(watched, event);
}

void THoofdForm::command(const char* name, std::function<void()> handler)
{
    QAction* a = action(QString::fromLatin1(name));
    const QString heading = QString::fromLatin1(name);
    connect(a, &QAction::triggered, this, [this, handler = std::move(handler), heading] {
        // A failed command is reported; the program goes on.
        try {
            handler();
        } catch (const std::exception& e) {
            reportException(heading, &e);
        } catch (...) {
            reportException(heading, nullptr);
        }
    });
}

void THoofdForm::provideCommand(const QString& actionName, std::function<void()> handler)
{
    m_available.insert(actionName);
    command(actionName.toLatin1().constData(), std::move(handler));
    InMenuChecken();
}

void THoofdForm::reportException(const QString& heading, const std::exception* e)
{
    const QString cls = e ? QString::fromLatin1(typeid(*e).name()) : QStringLiteral("Unknown");
    const QString msg = e ? QString::fromLocal8Bit(e->what()) : QStringLiteral("Unknown");
    m_ctx.messages().error(heading + QStringLiteral("\n\nException class name = ") + cls
                           + QStringLiteral("\r\nException message = ") + msg);
}

void THoofdForm::connectCommands()
{
    command("FileNewAction", [this] {
        // The open diagram stays until the dialog's OK replaces it: Cancel
        // keeps it.
        if (!m_commands->mayReplace())
            return;
        if (showNewForm)
            showNewForm();
        else
            m_commands->makeNewDocument();
    });
    command("FileOpenAction", [this] { m_commands->Openen1Click(); });
    command("FileSaveAction", [this] { m_commands->Opslaan1Click(); });
    command("FileSaveAsAction", [this] { m_commands->Opslaanals1Click(); });
    command("FileCloseAction", [this] { m_commands->Sluiten1Click(); });
    command("FileImportAction", [this] { m_commands->Importeren1Click(); });
    command("FileQuitAction", [this] { close(); });

    command("ShowViewAction", [this] { m_views->showOverview(); });
    command("ShowCreateAction", [this] { m_views->showCompose(); });
    command("ShowZoomOutAction", [this] { m_views->zoomOut(); });
    command("ShowZoomInAction", [this] { m_views->zoomIn(); });
    command("ShowZoomAllAction", [this] { m_views->zoomAllCommand(); });
    command("ShowPanAction", [this] { m_views->togglePan(); });
    command("ShowPanExactlyAction", [this] { m_views->panExactly(*m_zoomForm); });
    command("ShowLightDarkAction", [this] { m_views->toggleLightDark(); });
    command("ShowCoordinatesAction", [this] {
        m_ctx.view.showCoordinates = action(QStringLiteral("ShowCoordinatesAction"))->isChecked();
        m_views->OpnieuwTekenen();
    });
    command("ShowDirectionsAction", [this] {
        m_ctx.view.showDirections = action(QStringLiteral("ShowDirectionsAction"))->isChecked();
        m_views->OpnieuwTekenen();
    });
    command("ShowIntersectionsAction", [this] {
        m_ctx.view.showIntersections = action(QStringLiteral("ShowIntersectionsAction"))->isChecked();
        m_views->OpnieuwTekenen();
    });
    command("ShowRedrawAction", [this] { m_views->OpnieuwTekenen(); });
    command("HelpReadMeAction", [this] { helpReadMe(); });
    command("HelpInfoAction", [this] { helpInfo(); });
    connect(action(QStringLiteral("ShowLightDarkAction")), &QAction::triggered, this, [this] {
        action(QStringLiteral("ShowLightDarkAction"))->setChecked(m_views->state().lightDarkPreview);
    });
}

void THoofdForm::setRenderer(DiagramRenderer* renderer) { m_views->setRenderer(renderer); }

void THoofdForm::setEnabledIf(const char* name, bool on)
{
    const QString n = QString::fromLatin1(name);
    action(n)->setEnabled(on && m_available.contains(n));
}

void THoofdForm::InMenuChecken()
{
    for (QAction* a : m_actions->actions())
        a->setEnabled(m_available.contains(a->objectName()));
    setEnabledIf("FileSaveAction", m_doc.isModified());
    setEnabledIf("EditUndoAction", m_doc.undoStack().canUndo());
    setEnabledIf("EditRedoAction", m_doc.undoStack().canRedo());

    const ViewState& st = m_views->state();
    const bool overview = st.view == ViewKind::Overview;
    action(QStringLiteral("ShowViewAction"))->setChecked(overview);
    action(QStringLiteral("ShowCreateAction"))->setChecked(!overview);
    if (overview) {
        setEnabledIf("ShowZoomInAction", true);
        setEnabledIf("ShowZoomOutAction", true);
        setEnabledIf("ShowZoomAllAction", true);
        setEnabledIf("ShowPanExactlyAction", true);
        const bool rows = m_views->gridDataRows() > 0;
        setEnabledIf("EditCopyOvIntAction", rows);
        setEnabledIf("EditPasteOvIntAction", rows);
        setEnabledIf("EditCopyScriptLineAction", false);
        setEnabledIf("EditPasteScriptLineAction", false);
        setEnabledIf("EditCopyScriptAction", false);
    } else {
        // Off, ComposeZoomExtended gives the two zooms 1 and 2 without Zoom
        // all or exact zoom; on, each step in goes one pixel per unit further.
        setEnabledIf("ShowZoomInAction", st.composeZoom < m_views->composeZoomCeiling());
        setEnabledIf("ShowZoomOutAction", st.composeZoom != 1);
        setEnabledIf("ShowZoomAllAction", m_views->composeZoomExtended());
        setEnabledIf("ShowPanExactlyAction", m_views->composeZoomExtended());
        setEnabledIf("EditCopyOvIntAction", false);
        setEnabledIf("EditPasteOvIntAction", false);
        setEnabledIf("EditCopyScriptLineAction", true);
        setEnabledIf("EditPasteScriptLineAction", true);
        setEnabledIf("EditCopyScriptAction", true);
    }
    action(QStringLiteral("ShowIntersectionsAction"))->setVisible(m_ctx.view.diagnosticMode);
    m_overview->testPolyCheckBox()->setVisible(m_ctx.view.diagnosticMode);
}

void THoofdForm::ProgrammaCaptionUpdaten()
{
    const QString file = QFileInfo(m_doc.fileName).fileName();
    QString caption = QString::fromLatin1(kProgramName);
    if (!file.isEmpty())
        caption += QStringLiteral(" - ") + file;
    setWindowTitle(caption);
}

bool THoofdForm::NieuwBestandMaken() { return m_commands->NieuwBestandMaken(); }

void THoofdForm::connectDocument()
{
    m_file = std::make_unique<DiagramFile>(m_ctx, m_doc);
    DocumentHooks& h = m_file->hooks;
    h.setCaption = [this](const QString& caption) { setWindowTitle(caption); };
    h.resetViewState = [this] { m_views->resetViewState(); };
    h.rebuildOverview = [this] {
        m_views->rebuildVolumeGrid();
        m_views->showDocumentLists();
    };
    h.zoomAll = [this] { m_views->zoomAll(false); };
    h.redraw = [this] { m_views->OpnieuwTekenen(); };
    h.updateMenu = [this] { InMenuChecken(); };
    h.setOverviewDrawingVisible = [this](bool visible) { m_overview->picture()->setVisible(visible); };
    h.setBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    h.panToolOff = [this] { m_views->setPanIdle(); };

    m_commands = std::make_unique<FileCommands>(*m_file);
    // Both dialogs start where the open diagram lies, or where the last one
    // was opened or saved in this run, never in the working folder.
    m_commands->dialogs.openFileName = [this](const QString& filter) {
        const QString start = dialogStartPath(
            {documentFolder(m_doc.fileName, m_ctx.paths.tempFolder), m_lastDiagramFolder}, QString());
        const QString name = QFileDialog::getOpenFileName(this, QString(), start, filter);
        if (!name.isEmpty())
            m_lastDiagramFolder = QFileInfo(name).absolutePath();
        return name;
    };
    m_commands->dialogs.saveFileName = [this](const QString& filter, const QString& proposed) {
        const QString start = dialogStartPath(
            {documentFolder(m_doc.fileName, m_ctx.paths.tempFolder), m_lastDiagramFolder}, proposed);
        // Save As asks about overwriting itself, in the program's own words.
        const QString name = QFileDialog::getSaveFileName(this, QString(), start, filter, nullptr,
                                                          QFileDialog::DontConfirmOverwrite);
        if (!name.isEmpty())
            m_lastDiagramFolder = QFileInfo(name).absolutePath();
        return name;
    };
}

void THoofdForm::openFile(const QString& name) { m_file->StromenBestandOpenen(name); }

bool THoofdForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_firstActivation)
        QTimer::singleShot(0, this, &THoofdForm::FormActivate);
    return QMainWindow::event(event);
}

void THoofdForm::FormActivate()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    // The marker file is looked for once, at the start, as the renderer's
    // diagnostic files and the hidden commands go by it for the whole run.
    m_ctx.view.diagnosticMode = diagnosticMarkerPresent(m_ctx.paths.tempFolder);
    InMenuChecken();
    m_doc.setModified(false);
    m_views->state().readout = QPoint(0, 0);
    m_views->state().coordinatePick = false;
    ProgrammaCaptionUpdaten();

    m_scale.noteInitialScale(screen());
    m_ctx.printFontFactor = m_scale.printFontFactor();
    if (readSettings)
        readSettings();
    restoreFormPosition(*this, m_ctx.settings.formPositions, this);
    applyTheme();

    // The modified flag is still clear, so nothing is asked.
    m_commands->NieuwBestandMaken();
    if (!m_commandLineFile.isEmpty())
        openFile(m_commandLineFile);

    // The start-up information stays up for a moment while the window is
    // already usable behind it.
    m_info->setCloseButtonVisible(false);
    m_info->adjustSize();
    m_info->move(geometry().center() - m_info->rect().center());
    m_info->show();
    QTimer::singleShot(m_startupInfoMs, this, &THoofdForm::finishStartup);
}

void THoofdForm::finishStartup()
{
    m_info->hide();
    m_info->setCloseButtonVisible(true);
    m_overAllPanel->hide();
    m_ctx.runAsServer = false;
    if (QFile::exists(m_ctx.paths.serverStartupFile)) {
        action(QStringLiteral("AsServerAction"))->setVisible(true);
        if (startServer)
            startServer();
    }
    m_startupFinished = true;
    if (m_ctx.settings.startShowNewForm && m_commandLineFile.isEmpty() && !m_ctx.runAsServer && showNewForm)
        showNewForm();
    Q_EMIT startupDone();
}

void THoofdForm::applyTheme()
{
    if (m_darkInterface)
        return;
    int theme = m_ctx.settings.interfaceTheme;
    const bool dark = uikit::wantsDarkInterface(uikit::DarkModeAllowed(), &theme, m_theme.GetRegAppsUseLightTheme());
    m_ctx.settings.interfaceTheme = theme;
    if (!dark) {
        setCoveringColour(palette().color(QPalette::Button));
        return;
    }
    BusyCursor busy;
    m_darkInterface = true;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        m_theme.SetDarkModeForApplication(*app);
    m_views->setDarkScrollBoxes(true);
    m_views->setLightDark(true);
    action(QStringLiteral("ShowLightDarkAction"))->setChecked(true);
    m_overview->grid()->setShowGrid(false);
    m_theme.DarkenForm(*this);
    setCoveringColour(uikit::fromWindowsColor(uikit::dark::kBackground));
}

void THoofdForm::setCoveringColour(const QColor& colour)
{
    QPalette p = m_overAllPanel->palette();
    p.setColor(QPalette::Window, colour);
    m_overAllPanel->setPalette(p);
}

void THoofdForm::afterSettingsDialog()
{
    if (!m_darkInterface)
        applyTheme();
    if (m_views->state().lightDarkPreview) {
        m_views->setLightDark(false);
        m_views->setLightDark(true);
    }
}

void THoofdForm::helpReadMe()
{
    const bool dutch = m_ctx.settings.language == QLatin1String("Nederlands");
    const QString path = m_ctx.paths.programFolder + (dutch ? QStringLiteral("LeesMij.txt") : QStringLiteral("ReadMe.txt"));
    // The desktop's viewer first; without one, or without the file, the
    // program's own window - the text editor's part in the description, which
    // opens on a missing file too and says nothing itself.
    QFile file(path);
    const bool readable = file.open(QIODevice::ReadOnly);
    if (readable && openReadMe && openReadMe(path))
        return;
    QDialog viewer(this);
    viewer.setObjectName(QStringLiteral("ReadMeForm"));
    viewer.setWindowTitle(QFileInfo(path).fileName());
    auto* layout = new QVBoxLayout(&viewer);
    auto* text = new QPlainTextEdit(&viewer);
    text->setReadOnly(true);
    text->setPlainText(readable ? QString::fromUtf8(file.readAll()) : QString());
    layout->addWidget(text);
    viewer.resize(640, 480);
    viewer.exec();
}

void THoofdForm::helpInfo()
{
    m_info->setCloseButtonVisible(true);
    m_info->adjustSize();
    m_info->move(geometry().center() - m_info->rect().center());
    m_info->exec();
}

void THoofdForm::closeEvent(QCloseEvent* event)
{
    if (!NieuwBestandMaken()) {
        event->ignore();
        return;
    }
    try {
        if (writeSettings)
            writeSettings();
    } catch (const std::exception& e) {
        reportException(QStringLiteral("Error-MainFormClose"), &e);
    } catch (...) {
        reportException(QStringLiteral("Error-MainFormClose"), nullptr);
    }
    m_resizeTimer.stop();
    event->accept();
}

void THoofdForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Arming an armed timer does not restart it: a burst of resizes ends in
    // one Zoom all.
    if (!m_resizeTimer.isActive())
        m_resizeTimer.start();
}

void THoofdForm::ResizeTimerTimer()
{
    m_resizeTimer.stop();
    m_views->zoomAll();
}

} // namespace korvimo
