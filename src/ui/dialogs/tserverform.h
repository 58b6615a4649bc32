#pragma once
// `TServerForm` ("Run as server"): the window of server mode. It shows the
// log file's name, the running indicator and the last log lines, and has
// Start, Stop, Minimize and Close. The work itself is AsServer's
// (server/asserver.h); the window follows its signals. Hiding the window
// does not stop the server; "Close" is only possible while it is stopped.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korvimo {

class AsServer;

class TServerForm final : public QDialog {
    Q_OBJECT
public:
    TServerForm(AsServer& server, QWidget* parent = nullptr);

    void StartButtonClick();
    void StopButtonClick();

    QLabel* LogFileNameLabel = nullptr;
    QLabel* RunningLabel = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* MinimizeButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QPlainTextEdit* LogMemo = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void showState(bool running);
    void showLog(const QStringList& lines);

    AsServer& m_server;
};

} // namespace korvimo
