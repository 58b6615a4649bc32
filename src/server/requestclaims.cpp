#include "server/requestclaims.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio> // renameat2, RENAME_NOREPLACE
#include <cstring>

namespace korvimo {

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

qint64 stampOf(const QByteArray& path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

void touch(const QByteArray& path)
{
    if (::utimensat(AT_FDCWD, path.constData(), nullptr, 0) != 0 && errno == ENOENT) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

bool isRequestName(const QString& name)
{
    return name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
           || name.endsWith(QLatin1String(".kvoimp"), Qt::CaseInsensitive);
}

// A host name that can stand in a file name.
QString safeHostName()
{
    QString host = QSysInfo::machineHostName();
    for (QChar& c : host)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    return host.isEmpty() ? QStringLiteral("host") : host.left(64);
}

} // namespace

bool moveWithoutReplacing(const QString& from, const QString& to, int* err)
{
    const QByteArray f = native(from);
    const QByteArray t = native(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return true;
    // NFS and some other file systems know no RENAME_NOREPLACE; a hard link
    // refuses an existing name everywhere.
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
        if (::link(f.constData(), t.constData()) == 0) {
            ::unlink(f.constData());
            return true;
        }
    }
    if (err)
        *err = errno;
    return false;
}

RequestClaims::RequestClaims()
    : m_host(safeHostName())
{
    m_owner = QStringLiteral("%1~%2~%3")
                  .arg(m_host)
                  .arg(::getpid())
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    m_clock.start();
}

RequestClaims::~RequestClaims() { close(); }

void RequestClaims::setTimeoutSeconds(int seconds)
{
    m_timeoutSeconds = std::max(seconds, kMinClaimTimeoutSeconds);
}

bool RequestClaims::open(const QString& watchDir, QString* error)
{
    close();
    m_watchDir = watchDir;
    const QString own = claimsFolder() + m_owner + QLatin1Char('/');
    if (!QDir().mkpath(own)) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_ownFolder = own;
    m_aliveFile = native(own + QLatin1String(kAliveFileName));
    touch(m_aliveFile);
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
    }
    m_heartbeat = std::thread([this] { heartbeatLoop(); });
    return true;
}

void RequestClaims::heartbeatLoop()
{
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(kAliveIntervalMilliseconds), [this] { return m_stop; }))
        touch(m_aliveFile);
}

void RequestClaims::close()
{
    if (m_heartbeat.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_heartbeat.join();
    }
    if (m_ownFolder.isEmpty())
        return;
    const QDir own(m_ownFolder);
    for (const QFileInfo& fi : own.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (isRequestName(fi.fileName()))
            putBack(fi.absoluteFilePath());
        else
            QFile::remove(fi.absoluteFilePath());
    }
    QDir().rmdir(m_ownFolder);
    QDir().rmdir(claimsFolder()); // only when no other server uses it
    m_ownFolder.clear();
}

QString RequestClaims::claim(const QString& request, bool* gone, QString* error)
{
    *gone = false;
    const QString claimed = m_ownFolder + QFileInfo(request).fileName();
    if (::rename(native(request).constData(), native(claimed).constData()) == 0)
        return claimed;
    int err = errno;
    // Someone cleared the claim folders away: make the own one again.
    if (err == ENOENT && QFileInfo::exists(request) && !QFileInfo::exists(m_ownFolder) && QDir().mkpath(m_ownFolder)) {
        touch(m_aliveFile);
        if (::rename(native(request).constData(), native(claimed).constData()) == 0)
            return claimed;
        err = errno;
    }
    if (err == ENOENT) {
        *gone = true;
    } else if (error) {
        *error = QString::fromLocal8Bit(std::strerror(err));
    }
    return {};
}

bool RequestClaims::putBack(const QString& claimed, QString* error)
{
    const QString target = m_watchDir + QFileInfo(claimed).fileName();
    int err = 0;
    if (moveWithoutReplacing(claimed, target, &err))
        return true;
    if (err == EEXIST)
        QFile::remove(claimed);
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(err));
    return false;
}

bool RequestClaims::claimedAnywhere(const QString& fileName) const
{
    if (m_watchDir.isEmpty())
        return false;
    const QDir claims(claimsFolder());
    for (const QString& owner : claims.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (QFileInfo::exists(claims.absoluteFilePath(owner) + QLatin1Char('/') + fileName))
            return true;
    return false;
}

bool RequestClaims::ownerIsGone(const QString& owner, const QString& folder)
{
    const qint64 stamp = stampOf(native(folder + QLatin1String(kAliveFileName)));
    const qint64 nowMs = m_clock.elapsed();
    Seen& seen = m_seen[owner];
    if (seen.since == 0 || seen.stamp != stamp)
        seen = {stamp, nowMs == 0 ? 1 : nowMs};
    const qint64 still = nowMs - seen.since;
    if (still >= qint64(m_timeoutSeconds) * 1000)
        return true;
    // On this host a process that is gone is seen at once; the short wait
    // covers a pid of another pid namespace that merely looks free.
    const QStringList parts = owner.split(QLatin1Char('~'));
    if (parts.size() == 3 && parts[0] == m_host && still >= 3 * kAliveIntervalMilliseconds) {
        bool ok = false;
        const pid_t pid = pid_t(parts[1].toInt(&ok));
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            return true;
    }
    return false;
}

QList<ClaimTakeover> RequestClaims::takeOverAbandoned()
{
    QList<ClaimTakeover> out;
    if (!isOpen())
        return out;
    const QDir claims(claimsFolder());
    const QStringList owners = claims.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (auto it = m_seen.begin(); it != m_seen.end();)
        it = owners.contains(it.key()) ? std::next(it) : m_seen.erase(it);
    for (const QString& owner : owners) {
        if (owner == m_owner)
            continue;
        const QString folder = claims.absoluteFilePath(owner) + QLatin1Char('/');
        if (!ownerIsGone(owner, folder))
            continue;
        ClaimTakeover t;
        t.owner = owner;
        const QDir dead(folder);
        for (const QFileInfo& fi : dead.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
            const QString name = fi.fileName();
            if (name == QLatin1String(kAliveFileName))
                continue;
            if (!isRequestName(name)) {
                QFile::remove(fi.absoluteFilePath()); // a picture that was never finished
                continue;
            }
            const QString path = fi.absoluteFilePath();
            if (QFileInfo::exists(m_watchDir + name)) {
                if (QFile::remove(path))
                    t.superseded << m_watchDir + name;
                continue;
            }
            struct stat st {};
            const qint64 arrived = ::stat(native(path).constData(), &st) == 0
                                       ? qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec
                                       : -1;
            // Of two servers taking over at once, one gets each request: a
            // plain rename is atomic everywhere (a link would not be), and
            // only this server writes into its own folder.
            const QString mine = m_ownFolder + name;
            if (!QFileInfo::exists(mine) && ::rename(native(path).constData(), native(mine).constData()) == 0)
                t.taken << TakenOverRequest{m_watchDir + name, mine, arrived};
        }
        QFile::remove(folder + QLatin1String(kAliveFileName));
        if (QDir().rmdir(folder))
            m_seen.remove(owner);
        if (!t.taken.isEmpty() || !t.superseded.isEmpty())
            out << t;
    }
    return out;
}

} // namespace korvimo
