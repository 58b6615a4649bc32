#include "ui/dialogs/tserverform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "server/asserver.h"

namespace korvimo {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TServerForm::TServerForm(AsServer& server, QWidget* parent) : QDialog(parent), m_server(server)
{
    setObjectName(QStringLiteral("ServerForm"));
    setWindowTitle(QStringLiteral("Run as server"));
    setModal(false);

    auto* info = new QLabel(QStringLiteral("More information in logfile:"), this);
    info->setObjectName(QStringLiteral("Label1"));
    LogFileNameLabel = new QLabel(this);
    LogFileNameLabel->setObjectName(QStringLiteral("LogFileNameLabel"));
    LogFileNameLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RunningLabel = new QLabel(this);
    RunningLabel->setObjectName(QStringLiteral("RunningLabel"));
    QFont mono(QStringLiteral("Courier New"));
    RunningLabel->setFont(mono);
    StartButton = button(this, "StartButton", "Start");
    StopButton = button(this, "StopButton", "Stop");
    MinimizeButton = button(this, "MinimizeButton", "Minimize");
    CloseButton = button(this, "CloseButton", "Close");
    LogMemo = new QPlainTextEdit(this);
    LogMemo->setObjectName(QStringLiteral("LogMemo"));
    LogMemo->setReadOnly(true);
    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogMemo->setMinimumSize(520, 120);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(RunningLabel, 1);
    for (QPushButton* b : {StartButton, StopButton, MinimizeButton, CloseButton})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addWidget(LogFileNameLabel);
    layout->addLayout(buttons);
    layout->addWidget(LogMemo, 1);

    connect(StartButton, &QPushButton::clicked, this, &TServerForm::StartButtonClick);
    connect(StopButton, &QPushButton::clicked, this, &TServerForm::StopButtonClick);
    connect(MinimizeButton, &QPushButton::clicked, this, [] {
        // Minimises the application: every window that is shown.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isWindow() && !w->parentWidget())
                w->showMinimized();
    });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_server, &AsServer::runningChanged, this, &TServerForm::showState);
    connect(&m_server, &AsServer::runningTextChanged, RunningLabel, &QLabel::setText);
    connect(&m_server, &AsServer::logLinesChanged, this, &TServerForm::showLog);
    connect(&m_server, &AsServer::logFileNameChanged, LogFileNameLabel, &QLabel::setText);
    showState(m_server.isRunning());
    showLog(m_server.logLines());
    LogFileNameLabel->setText(m_server.logFileName());
}

void TServerForm::StartButtonClick()
{
    m_server.StartButtonClick();
    LogFileNameLabel->setText(m_server.logFileName());
}

void TServerForm::StopButtonClick() { m_server.StopButtonClick(); }

void TServerForm::showState(bool running)
{
    StartButton->setEnabled(!running);
    CloseButton->setEnabled(!running);
    StopButton->setEnabled(running);
    MinimizeButton->setEnabled(running);
    RunningLabel->setVisible(running);
    if (running && RunningLabel->text().isEmpty())
        RunningLabel->setText(QStringLiteral("Running... "));
}

void TServerForm::showLog(const QStringList& lines) { LogMemo->setPlainText(lines.join(QLatin1Char('\n'))); }

void TServerForm::closeEvent(QCloseEvent* event)
{
    // The title bar hides the window; the server goes on.
    event->accept();
}

void TServerForm::reject()
{
    // Escape hides, as the title bar does.
    hide();
}

} // namespace korvimo
