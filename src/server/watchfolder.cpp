#include "server/watchfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvimo {

namespace {

QStringList filesEndingIn(const QString& folder, const QString& extension)
{
    QStringList out;
    if (folder.isEmpty())
        return out;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : entries) {
        const QString name = fi.fileName();
        // A bare ".csv" has no name to give the picture.
        if (name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive) && fi.isFile())
            out.append(fi.absoluteFilePath());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// 1 held, 0 not held, -1 the lease cannot tell.
int leaseCheck(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    int result = -1;
    // Should a writer open the file in the moment the lease is held, the
    // kernel tells the holder with a signal - SIGIO unless said otherwise,
    // and SIGIO ends a process. SIGURG is ignored unless someone asks for it.
    if (::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        result = 0;
    } else if (errno == EAGAIN) {
        result = 1;
    }
    ::close(fd);
    return result;
}

// Whether the fdinfo of an open file names a mode that writes.
bool fdinfoWrites(const char* fdinfoPath)
{
    FILE* f = std::fopen(fdinfoPath, "re");
    if (!f)
        return false;
    char line[128];
    bool writes = false;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "flags:", 6) == 0) {
            const unsigned long flags = std::strtoul(line + 6, nullptr, 8);
            writes = (flags & O_ACCMODE) != O_RDONLY;
            break;
        }
    }
    std::fclose(f);
    return writes;
}

bool procScan(const QByteArray& path)
{
    struct stat target {};
    if (::stat(path.constData(), &target) != 0)
        return false;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    bool held = false;
    char buf[600]; // two names of up to 255 bytes and the rest of the path
    while (!held) {
        const dirent* p = ::readdir(proc);
        if (!p)
            break;
        if (p->d_name[0] < '0' || p->d_name[0] > '9')
            continue;
        std::snprintf(buf, sizeof buf, "/proc/%s/fd", p->d_name);
        DIR* fds = ::opendir(buf); // other users' processes are not ours to see
        if (!fds)
            continue;
        while (const dirent* d = ::readdir(fds)) {
            if (d->d_name[0] == '.')
                continue;
            std::snprintf(buf, sizeof buf, "/proc/%s/fd/%s", p->d_name, d->d_name);
            struct stat st {};
            if (::stat(buf, &st) != 0 || st.st_ino != target.st_ino || st.st_dev != target.st_dev)
                continue;
            std::snprintf(buf, sizeof buf, "/proc/%s/fdinfo/%s", p->d_name, d->d_name);
            if (fdinfoWrites(buf)) {
                held = true;
                break;
            }
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return held;
}

} // namespace

QStringList requestFiles(const QString& folder, const QString& extension)
{
    return filesEndingIn(folder, extension);
}

QStringList pictureFiles(const QString& folder)
{
    return filesEndingIn(folder, QStringLiteral(".jpg"));
}

QList<RequestFile> requestsOldestFirst(const QString& folder)
{
    QList<RequestFile> out;
    for (const bool csv : {true, false})
        for (const QString& path : filesEndingIn(folder, csv ? QStringLiteral(".csv") : QStringLiteral(".kvoimp")))
            out.append({path, csv, QFileInfo(path).lastModified().toMSecsSinceEpoch()});
    // Stable: one kind after the other and by name stays the tie-break.
    std::stable_sort(out.begin(), out.end(),
                     [](const RequestFile& a, const RequestFile& b) { return a.modified < b.modified; });
    return out;
}

qint64 changeTimeNs(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}

QString plainPictureName(const QString& folder, const QString& fileName)
{
    return folder + QFileInfo(fileName).completeBaseName() + QStringLiteral(".jpg");
}

QString answerPictureName(const QString& folder, const QString& fileName, bool companionWaiting, qint64 arrivedNs)
{
    const QString plain = plainPictureName(folder, fileName);
    const bool csv = fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    if ((csv && companionWaiting) || (arrivedNs >= 0 && changeTimeNs(plain) > arrivedNs))
        return folder + QFileInfo(fileName).fileName() + QStringLiteral(".jpg");
    return plain;
}

bool heldOpenForWriting(const QString& path, WriteCheck check)
{
    const QByteArray native = QFile::encodeName(path);
    if (check != WriteCheck::ProcScan) {
        const int lease = leaseCheck(native);
        if (lease >= 0 || check == WriteCheck::Lease)
            return lease == 1;
    }
    return procScan(native);
}

bool SettleWatch::settled(const QString& path, const QDateTime& now)
{
    const QFileInfo fi(path);
    const qint64 size = fi.size();
    const qint64 modified = fi.lastModified().toMSecsSinceEpoch();
    const qint64 nowMs = now.toMSecsSinceEpoch();
    Seen& s = m_seen[path];
    if (s.size != size || s.modified != modified)
        s = {size, modified, nowMs};
    const qint64 age = nowMs - modified;
    const qint64 unchanged = nowMs - s.since;
    if (age >= kSettleMilliseconds || unchanged >= kSettleMilliseconds)
        return true;
    const qint64 wait = kSettleMilliseconds - std::max(age, unchanged);
    if (m_waitHint == 0 || wait < m_waitHint)
        m_waitHint = std::max<qint64>(wait, 1);
    return false;
}

void SettleWatch::forgetAllBut(const QStringList& present)
{
    for (auto it = m_seen.begin(); it != m_seen.end();) {
        if (present.contains(it.key()))
            ++it;
        else
            it = m_seen.erase(it);
    }
}

} // namespace korvimo
