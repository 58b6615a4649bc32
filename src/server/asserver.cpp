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

// Whether a file can be made in the picture's folder, tried with a name of
// our own so that the picture itself is never emptied or exposed half-made.
bool folderTakesPicture(const QString& picture)
{
    const QFileInfo fi(picture);
    const QByteArray probe = QFile::encodeName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName()
                                               + QStringLiteral(".%1.probe").arg(::getpid()));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

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
    if (m_settings.WatchDir.isEmpty())
        LogLine(QStringLiteral("Warning: no watched folder (WatchDir) is set; nothing is served."));
    else if (!QFileInfo(m_settings.WatchDir).isDir())
        LogLine(QStringLiteral("Warning: the watched folder %1 does not exist.").arg(m_settings.WatchDir));
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
    if (!m_inTick)
        restoreMessenger();
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
    if (m_running) {
        bool csv = false;
        const QString request = findRequest(&csv);
        // The other system may have taken its request back meanwhile.
        if (!request.isEmpty() && QFileInfo::exists(request)) {
            served = true;
            const ServerRequestOutcome outcome = handleRequest(request, csv);
            Q_EMIT requestHandled(outcome);
        }
    }

    const QDateTime t = now();
    if (m_running && m_settings.DeleteOldDiagrams && t.time().second() == 10)
        deleteOldPictures(t);

    m_inTick = false;
    if (!m_running)
        restoreMessenger();
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

QString AsServer::findRequest(bool* csv)
{
    const QDateTime realNow = QDateTime::currentDateTime();
    m_settle.beginScan();
    QStringList present;
    QString found;
    for (const QString& extension : {kCsv, kKvoimp}) {
        const QStringList files = requestFiles(m_settings.WatchDir, extension);
        present += files;
        if (!found.isEmpty())
            continue;
        for (const QString& file : files) {
            const auto stuck = m_stuck.constFind(file);
            if (stuck != m_stuck.cend()) {
                if (*stuck == stateOf(file))
                    continue;
                m_stuck.erase(stuck); // changed: a new request under the old name
            }
            const bool ready = m_settle.settled(file, realNow) && !heldOpenForWriting(file, m_writeCheck);
            if (!ready) {
                if (!m_busyLogged.contains(file)) {
                    m_busyLogged.insert(file);
                    LogLine(m_ctx.texts.format(QStringLiteral("AA00005"), {file}));
                }
                continue;
            }
            found = file;
            *csv = extension == kCsv;
            break;
        }
    }
    m_settle.forgetAllBut(present);
    for (auto it = m_busyLogged.begin(); it != m_busyLogged.end();)
        it = present.contains(*it) && *it != found ? std::next(it) : m_busyLogged.erase(it);
    for (auto it = m_stuck.begin(); it != m_stuck.end();)
        it = present.contains(it.key()) ? std::next(it) : m_stuck.erase(it);
    return found;
}

ServerRequestOutcome AsServer::handleRequest(const QString& dataFile, bool csv)
{
    ServerRequestOutcome outcome;
    outcome.dataFile = dataFile;
    const QFileInfo info(dataFile);
    const QString picture = m_settings.WatchDir + info.completeBaseName() + QStringLiteral(".jpg");
    outcome.pictureFile = picture;
    LogLine(QStringLiteral("Import=") + dataFile);
    LogLine(QStringLiteral("Export=") + picture);

    // The log messenger is installed while the server runs; it counts the
    // errors of this request.
    m_logMessenger.resetCount();
    const int configuredWidth = m_ctx.settings.exportBmpSize;

    DiagramDocument doc;
    DiagramFile file(m_ctx, doc);
    DiagramLibrary library(m_ctx);
    library.setLeftHandTraffic(m_ctx.settings.libLeftHandTraffic);
    library.TekstenDiagramOphalenUitBestand();
    file.setTemplateLibrary(&library);
    file.BasisInstellingenDatabestand();
    doc.fileName = file.untitledName();
    doc.setModified(false);

    try {
        if (csv)
            CSVBestandOpenen(dataFile, file);
        else
            KvoimpBestandOpenen(dataFile, file);
    } catch (const ConversionError& e) {
        m_logMessenger.error(e.text());
    } catch (const std::exception& e) {
        m_logMessenger.error(QString::fromLocal8Bit(e.what()));
    }
    doc.fileName = info.completeBaseName();

    if (m_logMessenger.errors > 0)
        outcome.failure = m_logMessenger.firstError;
    else if (!hasDrawableLine(doc.script))
        outcome.failure = QStringLiteral("nothing to draw");

    if (!outcome.failure.isEmpty()) {
        LogLine(QStringLiteral("Error: no diagram could be made from %1 (%2); no picture written.")
                    .arg(dataFile, outcome.failure));
        if (QFileInfo::exists(picture)) {
            if (QFile::remove(picture))
                LogLine(QStringLiteral("Removed the older picture ") + picture);
            else
                LogLine(QStringLiteral("Warning: cannot remove the older picture ") + picture);
        }
    } else if (!folderTakesPicture(picture)) {
        LogLine(m_ctx.texts.format(QStringLiteral("AA00001"), {picture}));
        outcome.failure = QStringLiteral("the picture cannot be written");
    } else {
        outcome.pictureWritten = ExportAsPixelFile(doc, m_ctx, QStringLiteral("JPG"),
                                                   m_ctx.settings.exportPixAntiAliased,
                                                   m_ctx.settings.exportBmpSize, picture);
        if (!outcome.pictureWritten) {
            LogLine(m_ctx.texts.format(QStringLiteral("AA00001"), {picture}));
            outcome.failure = m_logMessenger.firstError.isEmpty() ? QStringLiteral("the picture cannot be written")
                                                                   : m_logMessenger.firstError;
        }
    }

    m_ctx.settings.exportBmpSize = configuredWidth;

    removeDataFile(dataFile, outcome);
    doc.setModified(false);
    LogLine(QStringLiteral("FunctionFinish:CreateDiagram"));
    return outcome;
}

void AsServer::removeDataFile(const QString& dataFile, ServerRequestOutcome& outcome)
{
    outcome.dataFileRemoved = QFile::remove(dataFile) || !QFileInfo::exists(dataFile);
    if (!outcome.dataFileRemoved) {
        m_stuck.insert(dataFile, stateOf(dataFile));
        LogLine(QStringLiteral("Warning: cannot delete %1; it is passed over until it changes.").arg(dataFile));
    }
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
