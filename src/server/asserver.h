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
// - A tick handles at most one data file, the oldest of both kinds (equal
//   time stamps: ".csv" first, then by name). A file that may still be
//   being written (see watchfolder.h) is left for a later tick; its AA00005
//   line is logged once while it stays so, and the next ready file is
//   served meanwhile. A request that changed within the last two seconds is
//   read on trial first; when it does not read as a complete diagram it
//   waits: if its size or time stamp changes again within two seconds it
//   is read once more, otherwise it is answered as failed.
// - Before reading, the server claims the request by renaming it into its
//   own claim folder (requestclaims.h), so several servers can watch one
//   folder: each request is answered by exactly one of them, and the
//   requests of a server that died are taken over after the claim timeout.
// - Every request gets a new document. Its picture is named as
//   answerPictureName (watchfolder.h) says - normally the watched folder +
//   the data file's name without its last extension + ".jpg" - written with
//   the settings exportPixAntiAliased and ExportBmpSize (an import request's
//   ExportSizeWidth applies to its own picture only). The picture appears
//   whole or not at all: it is made in the claim folder and renamed in.
// - A request from which no diagram could be read (a malformed number, a
//   reader's error, nothing to draw, a file over kMaxRequestBytes) gives no
//   picture, and an older picture of the same name is removed, so that it
//   cannot pass for the answer; the reason is logged, the request deleted.
//   A drawing with errors is still written, as on the screen, and the
//   renderer's messages are logged.
// - A picture that cannot be written (a full disk) removes the older
//   picture of that name as well, but keeps the request: it goes back into
//   the folder and is tried again at the next tick; when that fails too,
//   AA00001 is logged once and the request is tried again every minute
//   (without further lines) until it is answered or replaced.
// - A request that cannot be claimed or deleted is logged once and passed
//   over until it changes, so it never blocks the queue.
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
#include <optional>

#include "server/requestclaims.h"
#include "server/serverlog.h"
#include "server/serverstartup.h"
#include "server/watchfolder.h"

namespace korvimo {

struct ProgramContext;
class Messenger;
class DiagramDocument;

inline constexpr int kServerTickMilliseconds = 500;
inline constexpr int kOldDiagramMinutes = 30;
// Larger data files are not read: answered as failed and removed.
inline constexpr qint64 kMaxRequestBytes = 16 * 1024 * 1024;
// A request that changed this recently is read on trial before it is taken,
// and one that failed that trial waits this long for its writer to go on.
inline constexpr qint64 kTrialWindowMilliseconds = 2000;
// How long a request whose picture could not be written twice waits for
// its next try.
inline constexpr qint64 kWriteRetryMilliseconds = 60000;
// The log file in the temporary folder when ServerLogFileName is empty and
// diagnostic mode is on.
inline constexpr const char* kDiagnosticServerLogName = "Korvimo_Server.log";

// What became of one request (the signal requestHandled carries it).
struct ServerRequestOutcome {
    QString dataFile;
    QString pictureFile;
    bool pictureWritten = false;
    bool dataFileRemoved = false;
    bool keptForRetry = false; // the picture could not be written; the request waits
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
    // The claims of this server (its owner name, its folder while running).
    const RequestClaims& claims() const { return m_claims; }
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
    struct Retry {
        FileState state;
        int failures = 0;
        qint64 notBefore = 0; // ms since the epoch
    };
    struct Trial {
        FileState state;
        qint64 at = 0; // ms since the epoch, when it failed to read
    };

    QDateTime now() const;
    // The data files that may be served, in the order to serve them; each
    // still has to pass isWritten and passesTrial (they are asked only until
    // one is served, as they cost more the more files wait).
    QList<RequestFile> findRequests();
    // Whether nobody writes the request any more (AA00005 logged once if not).
    bool isWritten(const RequestFile& request);
    bool passesTrial(const RequestFile& request, qint64 realNowMs);
    // Empty when the request went to another server meanwhile.
    std::optional<ServerRequestOutcome> handleRequest(const RequestFile& request);
    // Serves a request that lies in the own claim folder; arrived is when
    // it came (see answerPictureName).
    ServerRequestOutcome serveClaimed(const RequestFile& request, const QString& claimed, qint64 arrived);
    // Fills doc from the request file; why no diagram came of it, or empty.
    QString readRequest(const QString& path, bool csv, DiagramDocument& doc, qint64 size);
    void pictureNotWritten(const RequestFile& request, const QString& claimed, const QString& why,
                           ServerRequestOutcome& outcome);
    void removeOlderPicture(const QString& picture);
    void removeDataFile(const QString& dataFile, ServerRequestOutcome& outcome, const QString& shownName);
    bool openClaims();
    void takeOverAbandoned();
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
    QHash<QString, FileState> m_stuck;    // files that could not be claimed or deleted
    QHash<QString, Retry> m_retries;      // requests whose picture could not be written
    QHash<QString, Trial> m_trials;       // young requests that did not read as complete
    RequestClaims m_claims;
    QList<TakenOverRequest> m_takenOver;  // claims of dead servers, served first
    bool m_claimsFailureLogged = false;
};

} // namespace korvimo
