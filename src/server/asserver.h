#pragma once
// Server mode without its window: the start-up file, Start and Stop, the
// 500 ms tick that turns one data file of the watched folder into a JPEG
// picture, the log and the clean-up of old pictures. The server window
// (TServerForm) is a view of this object: its buttons call
// StartButtonClick and StopButtonClick, its labels and list follow the
// signals. The command-line tool runs the same object without a window.
//
// Contract:
// - Start reads the start-up file anew (a file that cannot be read keeps
//   the previous settings), applies the overrides, switches the timer on,
//   sets ctx.runAsServer and installs a messenger that writes every message
//   of the readers and the renderer to the log. Stop undoes all three; the
//   previous messenger is back afterwards. Destroying a running server
//   stops it without logging.
// - A tick handles at most one data file: ".csv" files before ".kvoimp"
//   files, each kind by name. A file that may still be being written (see
//   watchfolder.h) is left for a later tick; its AA00005 line is logged once
//   while it stays so, and the next ready file is served meanwhile.
// - Every request gets a new document. Its picture is the watched folder +
//   the data file's name without its last extension + ".jpg", written with
//   the settings exportPixAntiAliased and ExportBmpSize (an import request's
//   ExportSizeWidth applies to its own picture only). The picture appears
//   whole or not at all: it is written under a temporary name and renamed.
// - A request from which no diagram could be read (a malformed number, a
//   reader's error, nothing to draw) gives no picture, and an older picture
//   of the same name is removed, so that it cannot pass for the answer; the
//   reason is logged. A drawing with errors is still written, as on the
//   screen, and the renderer's messages are logged.
// - The data file is deleted after every request, written or not. One that
//   cannot be deleted is logged once and passed over until it changes, so
//   it never blocks the queue.
// - At second 10 of a minute, with DeleteOldDiagrams on, every picture of
//   the folder more than 30 whole minutes old is deleted.
// - Ticks never overlap; Stop (also from inside a tick, while the readers
//   let events run) lets the request in hand finish and no tick follows.
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>

#include "server/serverlog.h"
#include "server/serverstartup.h"
#include "server/watchfolder.h"

namespace korvimo {

struct ProgramContext;
class Messenger;

inline constexpr int kServerTickMilliseconds = 500;
inline constexpr int kOldDiagramMinutes = 30;
// The log file in the temporary folder when ServerLogFileName is empty and
// diagnostic mode is on.
inline constexpr const char* kDiagnosticServerLogName = "Korvimo_Server.log";

// What became of one request (the signal requestHandled carries it).
struct ServerRequestOutcome {
    QString dataFile;
    QString pictureFile;
    bool pictureWritten = false;
    bool dataFileRemoved = false;
    QString failure; // why no picture was written; empty when one was
};

class AsServer : public QObject {
    Q_OBJECT
public:
    explicit AsServer(ProgramContext& ctx, QObject* parent = nullptr);
    ~AsServer() override;

    // Where Start reads its settings: ctx.paths.serverStartupFile unless set;
    // empty for no start-up file (the overrides alone).
    void setStartupFile(const QString& path) { m_startupFile = path; }
    QString startupFile() const { return m_startupFile; }
    // Applied over the start-up file at every Start.
    void setOverrides(const ServerStartupOverrides& overrides) { m_overrides = overrides; }

    void StartButtonClick();
    void StopButtonClick();
    // One tick; the timer calls it. Does nothing inside another tick.
    void AsServerTimerTimer();
    // A line to the log file and the window list.
    void LogLine(const QString& text);

    bool isRunning() const { return m_running; }
    // True while a tick works (the command-line tool waits for it to end).
    bool inTick() const { return m_inTick; }

    const QString& WatchDir() const { return m_settings.WatchDir; }
    const QString& ServerLogFileName() const { return m_settings.ServerLogFileName; }
    bool DeleteOldDiagrams() const { return m_settings.DeleteOldDiagrams; }
    int ReadyChar() const { return m_readyChar; }
    // "Running... " and the indicator character of the last tick.
    QString runningText() const { return m_runningText; }
    // The file the log is written to: ServerLogFileName, or the diagnostic
    // log in diagnostic mode, or empty.
    QString logFileName() const;
    // The window list (at most six lines, oldest first).
    QStringList logLines() const { return m_log.windowLines(); }

    // The clean-up on its own: every picture more than 30 whole minutes
    // older than now is deleted (and logged).
    void deleteOldPictures(const QDateTime& now);

    // Where the time comes from for the log, the second-10 rule and the age
    // of pictures; the local clock unless set. (Whether a data file has
    // settled always goes by the real clock: file time stamps do.)
    void setClock(std::function<QDateTime()> clock);
    // The write check of watchfolder.h; Any unless set.
    void setWriteCheck(WriteCheck check) { m_writeCheck = check; }

Q_SIGNALS:
    void runningChanged(bool running);
    void runningTextChanged(const QString& text);
    void logLinesChanged(const QStringList& lines);
    // Every logged line as the window shows it.
    void lineLogged(const QString& windowLine);
    void logFileNameChanged(const QString& fileName);
    void requestHandled(const ServerRequestOutcome& outcome);
    // After every tick, when the server is idle again.
    void tickFinished();

private:
    struct FileState {
        qint64 size = -1;
        qint64 modified = 0;
        bool operator==(const FileState&) const = default;
    };
    static FileState stateOf(const QString& path);

    QDateTime now() const;
    // The first data file that is ready, or empty; csv tells its kind.
    QString findRequest(bool* csv);
    ServerRequestOutcome handleRequest(const QString& dataFile, bool csv);
    void removeDataFile(const QString& dataFile, ServerRequestOutcome& outcome);
    void installMessenger();
    void restoreMessenger();
    void setRunning(bool on);

    ProgramContext& m_ctx;
    ServerLog m_log;
    ServerLogMessenger m_logMessenger{m_log};
    Messenger* m_previousMessenger = nullptr;
    bool m_messengerInstalled = false;
    QTimer m_timer;
    QString m_startupFile;
    ServerStartupOverrides m_overrides;
    ServerStartup m_settings;
    bool m_running = false;
    bool m_inTick = false;
    int m_readyChar = 0;
    QString m_runningText;
    std::function<QDateTime()> m_clock;
    WriteCheck m_writeCheck = WriteCheck::Any;
    SettleWatch m_settle;
    QSet<QString> m_busyLogged;           // busy files whose AA00005 was logged
    QHash<QString, FileState> m_stuck;    // served files that could not be deleted
};

} // namespace korvimo
