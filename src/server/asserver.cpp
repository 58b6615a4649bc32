#include "server/asserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <exception>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>

#include "core/programcontext.h"
#include "document/csvfile.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/integertext.h"
#include "document/kvoimp.h"
#include "document/library.h"
#include "output/pixelexport.h"

namespace korvimo {

namespace {

const QString kCsv = QStringLiteral(".csv");
const QString kKvoimp = QStringLiteral(".kvoimp");

// A script with at least one line that draws something: neither empty, nor
// a text line, nor an inactive one.
bool hasDrawableLine(const QStringList& script)
{
    for (const QString& line : script) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1Char('*')) && !t.startsWith(QLatin1Char('#')))
            return true;
    }
    return false;
}

} // namespace

AsServer::AsServer(ProgramContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_startupFile(ctx.paths.serverStartupFile)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kServerTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &AsServer::AsServerTimerTimer);
    connect(&m_log, &ServerLog::windowLinesChanged, this, &AsServer::logLinesChanged);
    connect(&m_log, &ServerLog::lineLogged, this, &AsServer::lineLogged);
}

AsServer::~AsServer()
{
    m_timer.stop();
    if (m_running)
        m_ctx.runAsServer = false;
    restoreMessenger();
    m_claims.close();
}

void AsServer::setClock(std::function<QDateTime()> clock)
{
    m_clock = clock;
    m_log.setClock(std::move(clock));
}

QDateTime AsServer::now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

QString AsServer::logFileName() const
{
    if (!m_settings.ServerLogFileName.isEmpty())
        return m_settings.ServerLogFileName;
    if (m_ctx.view.diagnosticMode)
        return m_ctx.paths.tempFolder + QString::fromLatin1(kDiagnosticServerLogName);
    return {};
}

void AsServer::LogLine(const QString& text)
{
    m_log.setFileName(logFileName());
    m_log.LogLine(text);
}

void AsServer::installMessenger()
{
    if (m_messengerInstalled)
        return;
    m_previousMessenger = m_ctx.messenger;
    m_ctx.messenger = &m_logMessenger;
    m_messengerInstalled = true;
}

void AsServer::restoreMessenger()
{
    if (!m_messengerInstalled)
        return;
    // Someone else may have installed a messenger meanwhile; theirs stays.
    if (m_ctx.messenger == &m_logMessenger)
        m_ctx.messenger = m_previousMessenger;
    m_messengerInstalled = false;
}

void AsServer::setRunning(bool on)
{
    if (m_running == on)
        return;
    m_running = on;
    m_ctx.runAsServer = on;
    Q_EMIT runningChanged(on);
}

void AsServer::StartButtonClick()
{
    m_timer.start(kServerTickMilliseconds);
    setRunning(true);
    installMessenger();

    if (!m_startupFile.isEmpty())
        readServerStartup(m_startupFile, m_settings);
    applyOverrides(m_overrides, m_settings);

    Q_EMIT logFileNameChanged(logFileName());
    LogLine(QStringLiteral("========================="));
    LogLine(QStringLiteral("Start"));
    // Without a folder the search would run wherever the process happens to
    // be; the server then waits idle until it is given one.
    m_claims.close();
    m_takenOver.clear();
    m_claims.setTimeoutSeconds(m_settings.ClaimTimeout);
    m_claimsFailureLogged = false;
    if (m_settings.WatchDir.isEmpty())
        LogLine(QStringLiteral("Warning: no watched folder (WatchDir) is set; nothing is served."));
    else if (!QFileInfo(m_settings.WatchDir).isDir())
        LogLine(QStringLiteral("Warning: the watched folder %1 does not exist.").arg(m_settings.WatchDir));
    else
        openClaims();
}

bool AsServer::openClaims()
{
    if (m_claims.isOpen())
        return true;
    // A folder that is not there (a share not mounted yet) is waited for,
    // never made.
    if (!QFileInfo(m_settings.WatchDir).isDir())
        return false;
    QString error;
    if (m_claims.open(m_settings.WatchDir, &error)) {
        m_claimsFailureLogged = false;
        return true;
    }
    if (!m_claimsFailureLogged) {
        m_claimsFailureLogged = true;
        LogLine(m_ctx.texts.format(QStringLiteral("AA00236"), {m_claims.claimsFolder() + m_claims.owner(), error}));
    }
    return false;
}

void AsServer::takeOverAbandoned()
{
    for (const ClaimTakeover& t : m_claims.takeOverAbandoned()) {
        for (const TakenOverRequest& request : t.taken) {
            LogLine(m_ctx.texts.format(QStringLiteral("AA00234"), {request.request, t.owner}));
            m_takenOver.append(request);
        }
        for (const QString& request : t.superseded)
            LogLine(m_ctx.texts.format(QStringLiteral("AA00235"), {request, t.owner}));
    }
}

void AsServer::StopButtonClick()
{
    m_timer.stop();
    const bool wasRunning = m_running;
    setRunning(false);
    if (m_runningText.size()) {
        m_runningText.clear();
        Q_EMIT runningTextChanged(m_runningText);
    }
    if (wasRunning)
        LogLine(QStringLiteral("Stop"));
    // A request in hand keeps logging its messages until it is finished.
    if (!m_inTick) {
        restoreMessenger();
        m_claims.close();
    }
}

void AsServer::AsServerTimerTimer()
{
    if (m_inTick)
        return;
    m_inTick = true;
    m_timer.stop();
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();

    static const char kIndicator[] = {'|', '/', '-', '\\'};
    m_runningText = QStringLiteral("Running... ") + QLatin1Char(kIndicator[m_readyChar]);
    Q_EMIT runningTextChanged(m_runningText);
    m_readyChar = (m_readyChar + 1) % 4;

    bool served = false;
    if (m_running && !m_settings.WatchDir.isEmpty() && openClaims()) {
        takeOverAbandoned();
        // What a dead server left goes first: it is the oldest.
        while (!served && !m_takenOver.isEmpty()) {
            const TakenOverRequest t = m_takenOver.takeFirst();
            if (!QFileInfo::exists(t.claimed))
                continue;
            const bool csv = t.request.endsWith(kCsv, Qt::CaseInsensitive);
            const ServerRequestOutcome outcome =
                serveClaimed({t.request, csv, QFileInfo(t.claimed).lastModified().toMSecsSinceEpoch()}, t.claimed,
                             t.arrivedNs);
            served = true;
            Q_EMIT requestHandled(outcome);
        }
        for (const RequestFile& request : served ? QList<RequestFile>() : findRequests()) {
            // The other system may have taken its request back meanwhile,
            // and another server may have been faster.
            if (!QFileInfo::exists(request.path) || !isWritten(request))
                continue;
            // The trial comes last: it reads the file, the other checks
            // only look.
            if (!passesTrial(request, QDateTime::currentMSecsSinceEpoch()))
                continue;
            const std::optional<ServerRequestOutcome> outcome = handleRequest(request);
            if (!outcome)
                continue;
            served = true;
            Q_EMIT requestHandled(*outcome);
            break;
        }
    }

    const QDateTime t = now();
    if (m_running && m_settings.DeleteOldDiagrams && t.time().second() == 10)
        deleteOldPictures(t);

    m_inTick = false;
    if (!m_running) {
        restoreMessenger();
        m_claims.close();
    }
    if (m_running) {
        // A file that only waits for its quarter second is looked at again
        // as soon as that has passed, rather than a whole tick later.
        const qint64 hint = served ? 0 : m_settle.waitHint();
        m_timer.start(hint > 0 && hint + 20 < kServerTickMilliseconds ? int(hint + 20)
                                                                        : kServerTickMilliseconds);
    }
    Q_EMIT tickFinished();
}

AsServer::FileState AsServer::stateOf(const QString& path)
{
    const QFileInfo fi(path);
    return {fi.size(), fi.lastModified().toMSecsSinceEpoch()};
}

QList<RequestFile> AsServer::findRequests()
{
    const QDateTime realNow = QDateTime::currentDateTime();
    const qint64 realNowMs = realNow.toMSecsSinceEpoch();
    m_settle.beginScan();

    const QList<RequestFile> all = requestsOldestFirst(m_settings.WatchDir);
    QStringList present;
    QList<RequestFile> ready;
    for (const RequestFile& request : all) {
        const QString& file = request.path;
        present << file;
        const auto stuck = m_stuck.constFind(file);
        if (stuck != m_stuck.cend()) {
            if (*stuck == stateOf(file))
                continue;
            m_stuck.erase(stuck); // changed: a new request under the old name
        }
        const auto retry = m_retries.find(file);
        if (retry != m_retries.end()) {
            if (retry->state != stateOf(file))
                m_retries.erase(retry);
            else if (realNowMs < retry->notBefore)
                continue;
        }
        ready << request;
    }
    m_settle.forgetAllBut(present);
    for (auto it = m_busyLogged.begin(); it != m_busyLogged.end();)
        it = present.contains(*it) ? std::next(it) : m_busyLogged.erase(it);
    for (auto it = m_stuck.begin(); it != m_stuck.end();)
        it = present.contains(it.key()) ? std::next(it) : m_stuck.erase(it);
    for (auto it = m_retries.begin(); it != m_retries.end();)
        it = present.contains(it.key()) ? std::next(it) : m_retries.erase(it);
    for (auto it = m_trials.begin(); it != m_trials.end();)
        it = present.contains(it.key()) ? std::next(it) : m_trials.erase(it);
    return ready;
}

bool AsServer::isWritten(const RequestFile& request)
{
    const QString& file = request.path;
    if (m_settle.settled(file, QDateTime::currentDateTime()) && !heldOpenForWriting(file, m_writeCheck)) {
        m_busyLogged.remove(file);
        return true;
    }
    if (!m_busyLogged.contains(file)) {
        m_busyLogged.insert(file);
        LogLine(m_ctx.texts.format(QStringLiteral("AA00005"), {file}));
    }
    return false;
}

bool AsServer::passesTrial(const RequestFile& request, qint64 realNowMs)
{
    const FileState state = stateOf(request.path);
    const auto trial = m_trials.find(request.path);
    if (trial != m_trials.end()) {
        if (trial->state == state)
            // Nobody wrote on: what is there is the whole request, to be
            // answered as it reads.
            return realNowMs - trial->at >= kTrialWindowMilliseconds;
        LogLine(m_ctx.texts.format(QStringLiteral("AA00233"), {request.path}));
        m_trials.erase(trial);
    }
    // A writer that is done long since is not second-guessed.
    if (realNowMs - state.modified >= kTrialWindowMilliseconds)
        return true;
    RecordingMessenger quiet;
    Messenger* const previous = m_ctx.messenger;
    m_ctx.messenger = &quiet;
    const int configuredWidth = m_ctx.settings.exportBmpSize;
    DiagramDocument doc;
    const QString failure = readRequest(request.path, request.csv, doc, state.size);
    m_ctx.settings.exportBmpSize = configuredWidth;
    m_ctx.messenger = previous;
    if (failure.isEmpty())
        return true;
    m_trials.insert(request.path, {stateOf(request.path), realNowMs});
    return false;
}

QString AsServer::readRequest(const QString& path, bool csv, DiagramDocument& doc, qint64 size)
{
    DiagramFile file(m_ctx, doc);
    DiagramLibrary library(m_ctx);
    library.setLeftHandTraffic(m_ctx.settings.libLeftHandTraffic);
    library.TekstenDiagramOphalenUitBestand();
    file.setTemplateLibrary(&library);
    file.BasisInstellingenDatabestand();
    doc.fileName = file.untitledName();
    doc.setModified(false);

    // The readers take a file whole; a request is a few kilobytes, and an
    // unattended server must not be made to swallow whatever lands here.
    if (size > kMaxRequestBytes)
        return QStringLiteral("the file is larger than %1 bytes").arg(kMaxRequestBytes);
    int errors = 0;
    QString firstError;
    // Counts what the messenger in place hears during the reading.
    class Counting final : public Messenger {
    public:
        Counting(Messenger& inner, int& errors, QString& first) : m_inner(inner), m_errors(errors), m_first(first) {}
        void error(const QString& t) override
        {
            if (m_errors++ == 0)
                m_first = t;
            m_inner.error(t);
        }
        void information(const QString& t) override { m_inner.information(t); }
        void warning(const QString& t) override { m_inner.warning(t); }
        using Messenger::question;
        int question(const QString& a, const QString& b, const QString& c, const QString& d, const QString& e,
                     int f) override
        {
            return m_inner.question(a, b, c, d, e, f);
        }

    private:
        Messenger& m_inner;
        int& m_errors;
        QString& m_first;
    } counting(m_ctx.messages(), errors, firstError);
    Messenger* const previous = m_ctx.messenger;
    m_ctx.messenger = &counting;
    try {
        if (csv)
            CSVBestandOpenen(path, file);
        else
            KvoimpBestandOpenen(path, file);
    } catch (const ConversionError& e) {
        counting.error(e.text());
    } catch (const std::exception& e) {
        counting.error(QString::fromLocal8Bit(e.what()));
    }
    m_ctx.messenger = previous;
    if (errors > 0)
        return firstError;
    if (!hasDrawableLine(doc.script))
        return QStringLiteral("nothing to draw");
    return {};
}

std::optional<ServerRequestOutcome> AsServer::handleRequest(const RequestFile& request)
{
    const QString& dataFile = request.path;
    const qint64 arrived = changeTimeNs(dataFile);

    bool gone = false;
    QString claimError;
    const QString claimed = m_claims.claim(dataFile, &gone, &claimError);
    if (claimed.isEmpty()) {
        if (!gone) {
            m_stuck.insert(dataFile, stateOf(dataFile));
            LogLine(m_ctx.texts.format(QStringLiteral("AA00237"), {dataFile, claimError}));
        }
        return std::nullopt;
    }
    m_trials.remove(dataFile);
    return serveClaimed(request, claimed, arrived);
}

ServerRequestOutcome AsServer::serveClaimed(const RequestFile& request, const QString& claimed, qint64 arrived)
{
    const QString& dataFile = request.path;
    const QFileInfo info(dataFile);
    const qint64 size = QFileInfo(claimed).size();

    // Of a ".csv" and a ".kvoimp" of one name, waiting here or in the hands
    // of any server, each gets its own picture.
    const QString companionName = info.completeBaseName() + (request.csv ? QStringLiteral(".kvoimp") : QStringLiteral(".csv"));
    bool companion = false;
    for (const QString& f : QDir(m_settings.WatchDir).entryList({companionName}, QDir::Files | QDir::Hidden))
        companion = companion || f.compare(companionName, Qt::CaseInsensitive) == 0;
    companion = companion || m_claims.claimedAnywhere(companionName);
    QString picture = answerPictureName(m_settings.WatchDir, info.fileName(), companion, arrived);

    ServerRequestOutcome outcome;
    outcome.dataFile = dataFile;
    outcome.pictureFile = picture;
    LogLine(QStringLiteral("Import=") + dataFile);
    LogLine(QStringLiteral("Export=") + picture);
    if (picture != plainPictureName(m_settings.WatchDir, info.fileName()))
        LogLine(m_ctx.texts.format(QStringLiteral("AA00232"),
                                   {plainPictureName(m_settings.WatchDir, info.fileName()), dataFile, picture}));

    const int configuredWidth = m_ctx.settings.exportBmpSize;
    DiagramDocument doc;
    outcome.failure = readRequest(claimed, request.csv, doc, size);
    doc.fileName = info.completeBaseName();

    if (!outcome.failure.isEmpty()) {
        LogLine(QStringLiteral("Error: no diagram could be made from %1 (%2); no picture written.")
                    .arg(dataFile, outcome.failure));
        removeOlderPicture(picture);
        removeDataFile(claimed, outcome, dataFile);
    } else {
        // Made beside the claim and renamed in: the folder never shows half
        // a picture, and a server that dies leaves no stray file there.
        const QString making = m_claims.ownFolder() + QFileInfo(picture).fileName();
        m_logMessenger.resetCount();
        bool written = ExportAsPixelFile(doc, m_ctx, QStringLiteral("JPG"), m_ctx.settings.exportPixAntiAliased,
                                         m_ctx.settings.exportBmpSize, making);
        QString why = m_logMessenger.firstError;
        if (written && ::rename(QFile::encodeName(making).constData(), QFile::encodeName(picture).constData()) != 0) {
            why = QString::fromLocal8Bit(std::strerror(errno));
            written = false;
        }
        if (written) {
            outcome.pictureWritten = true;
            m_retries.remove(dataFile);
            removeDataFile(claimed, outcome, dataFile);
        } else {
            QFile::remove(making);
            pictureNotWritten(request, claimed, why.isEmpty() ? QStringLiteral("the picture cannot be written") : why,
                              outcome);
        }
    }

    m_ctx.settings.exportBmpSize = configuredWidth;
    doc.setModified(false);
    LogLine(QStringLiteral("FunctionFinish:CreateDiagram"));
    return outcome;
}

void AsServer::pictureNotWritten(const RequestFile& request, const QString& claimed, const QString& why,
                                 ServerRequestOutcome& outcome)
{
    const QString& dataFile = request.path;
    outcome.failure = why;
    // An older picture of that name must not pass for the answer.
    removeOlderPicture(outcome.pictureFile);
    QString error;
    if (!m_claims.putBack(claimed, &error)) {
        // A newer request took the name meanwhile; it will be answered.
        outcome.dataFileRemoved = true;
        LogLine(m_ctx.texts.format(QStringLiteral("AA00001"), {outcome.pictureFile}));
        return;
    }
    outcome.keptForRetry = true;
    Retry& retry = m_retries[dataFile];
    retry.state = stateOf(dataFile);
    ++retry.failures;
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    if (retry.failures == 1) {
        retry.notBefore = 0;
        LogLine(m_ctx.texts.format(QStringLiteral("AA00230"), {outcome.pictureFile, why, dataFile}));
    } else {
        retry.notBefore = nowMs + kWriteRetryMilliseconds;
        if (retry.failures == 2) {
            LogLine(m_ctx.texts.format(QStringLiteral("AA00001"), {outcome.pictureFile}));
            LogLine(m_ctx.texts.format(QStringLiteral("AA00231"), {dataFile, why}));
        }
    }
}

void AsServer::removeOlderPicture(const QString& picture)
{
    const QFileInfo fi(picture);
    if (!fi.exists() || fi.isDir())
        return;
    if (QFile::remove(picture))
        LogLine(QStringLiteral("Removed the older picture ") + picture);
    else
        LogLine(QStringLiteral("Warning: cannot remove the older picture ") + picture);
}

void AsServer::removeDataFile(const QString& claimed, ServerRequestOutcome& outcome, const QString& shownName)
{
    outcome.dataFileRemoved = QFile::remove(claimed) || !QFileInfo::exists(claimed);
    if (!outcome.dataFileRemoved)
        LogLine(QStringLiteral("Warning: cannot delete %1.").arg(shownName));
}

void AsServer::deleteOldPictures(const QDateTime& at)
{
    const QString folder = m_settings.WatchDir;
    for (const QString& path : pictureFiles(folder)) {
        const QFileInfo fi(path);
        const qint64 ageMs = fi.lastModified().msecsTo(at);
        if (ageMs / 60000 <= kOldDiagramMinutes)
            continue;
        if (QFile::remove(path))
            LogLine(QStringLiteral("Deleted old diagram: ") + folder + fi.fileName());
        else
            LogLine(QStringLiteral("Warning: Cannot deleted old diagram: ") + folder + fi.fileName());
    }
}

} // namespace korvimo
