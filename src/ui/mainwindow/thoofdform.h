#pragma once
// `THoofdForm`: the main window. It owns the views and the commands, runs the
// start-up sequence on its first activation, keeps the caption and the
// enabling of the commands in step with the document, and asks whether to
// save a changed diagram before it closes.
#include <QMainWindow>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>
#include <memory>

#include "ui/mainwindow/topstartinfoform.h"
#include "uikit/dpi.h"
#include "uikit/theme.h"

class QAction;
class QToolButton;

namespace korvimo {

class DiagramDocument;
class DiagramFile;
class DiagramRenderer;
class FileCommands;
class MainActionList;
class OpstellenPanel;
class OverzichtPanel;
class TZoomFactorForm;
class ViewController;
struct ProgramContext;

class THoofdForm final : public QMainWindow {
    Q_OBJECT
public:
    THoofdForm(ProgramContext& ctx, DiagramDocument& doc, uikit::Theme& theme, QWidget* parent = nullptr);
    ~THoofdForm() override;

    // The start-up steps; runs once, on the first activation (or when called
    // before it). `commandLineFile` is the file named on the command line.
    void FormActivate();
    void setCommandLineFile(const QString& name) { m_commandLineFile = name; }
    // How long the start-up information stays up (1500 ms in the program).
    void setStartupInfoMilliseconds(int ms) { m_startupInfoMs = ms; }
    bool startupFinished() const { return m_startupFinished; }

    void setRenderer(DiagramRenderer* renderer);

    // The enabling of every command.
    void InMenuChecken();
    void ProgrammaCaptionUpdaten();
    // The save question and the new empty diagram; false when the user kept
    // the open diagram ("&Opslaan" saves it and keeps it, too).
    bool NieuwBestandMaken();

    // Hooks of the commands whose windows come with later work: an action
    // with a handler becomes available; without one it stays disabled.
    void provideCommand(const QString& actionName, std::function<void()> handler);
    bool commandAvailable(const QString& actionName) const { return m_available.contains(actionName); }

    // After the program settings dialog closed: the theme step while the
    // dark interface is not active yet, and the preview redrawn so that a
    // changed dark background colour shows.
    void afterSettingsDialog();

    // Opens a file as the Open command does after its dialog.
    void openFile(const QString& name);

    QAction* action(const QString& name) const;
    ViewController& views() const { return *m_views; }
    OverzichtPanel& overview() const { return *m_overview; }
    OpstellenPanel& compose() const { return *m_compose; }
    TOpstartInfoForm& startupInfo() const { return *m_info; }
    TZoomFactorForm& zoomForm() const { return *m_zoomForm; }
    QTimer& resizeTimer() { return m_resizeTimer; }
    QWidget* coveringPanel() const { return m_overAllPanel; }

    // The open procedure and the file commands, with their hooks into this
    // window and its file dialogs (which tests replace).
    DiagramFile& diagramFile() const { return *m_file; }
    FileCommands& fileCommands() const { return *m_commands; }

    std::function<void()> showNewForm; // the new-diagram dialog
    // The program's own colour choice (one of the diagram's sixteen colours
    // or any other), in decimal Windows colour values; nothing on cancel.
    std::function<std::optional<int>(int current)> chooseColour;
    // Shows the server window and starts server mode; run at start-up when
    // the server start-up file exists, before the new-diagram dialog would.
    std::function<void()> startServer;
    // The settings file: read at start-up, written at exit. Both default to
    // the user's settings file; tests replace them.
    std::function<void()> readSettings;
    std::function<void()> writeSettings;
    // Opens the read-me file in the desktop's viewer; false when there is
    // none. The program then shows the text itself. Tests replace it.
    std::function<bool(const QString& path)> openReadMe;

Q_SIGNALS:
    void startupDone();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void connectCommands();
    void command(const char* name, std::function<void()> handler);
    void setEnabledIf(const char* name, bool on);
    void connectDocument();
    void finishStartup();
    void applyTheme();
    void setCoveringColour(const QColor& colour);
    void helpReadMe();
    void helpInfo();
    void ResizeTimerTimer();
    void reportException(const QString& heading, const std::exception* e);

    ProgramContext& m_ctx;
    DiagramDocument& m_doc;
    uikit::Theme& m_theme;
    uikit::ScaleState m_scale;
    MainActionList* m_actions = nullptr;
    OverzichtPanel* m_overview = nullptr;
    OpstellenPanel* m_compose = nullptr;
    ViewController* m_views = nullptr;
    QWidget* m_overAllPanel = nullptr;
    QToolButton* m_bigButton = nullptr;
    TOpstartInfoForm* m_info = nullptr;
    TZoomFactorForm* m_zoomForm = nullptr;
    std::unique_ptr<DiagramFile> m_file;
    std::unique_ptr<FileCommands> m_commands;
    QTimer m_resizeTimer;
    QSet<QString> m_available;
    VersionInfo m_version;
    QString m_commandLineFile;
    QString m_lastDiagramFolder; // of the last open or save through a dialog
    int m_startupInfoMs = 1500;
    bool m_firstActivation = true;
    bool m_startupFinished = false;
    bool m_darkInterface = false;
};

} // namespace korvimo
