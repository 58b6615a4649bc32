#include "core/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvimo {

namespace {

QString failure(const char* what, const QString& path, int err)
{
    return QStringLiteral("%1 \"%2\". %3")
        .arg(QString::fromLatin1(what), QDir::toNativeSeparators(path), qt_error_string(err));
}

// Writes all of it at the position (or, offset < 0, at the file's end).
// Returns 0 or the errno of the failure.
int writeAll(int fd, const char* p, qsizetype left, qint64 offset)
{
    while (left > 0) {
        const ssize_t n = offset < 0 ? ::write(fd, p, static_cast<size_t>(left))
                                     : ::pwrite(fd, p, static_cast<size_t>(left), static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0) // no progress and no reason: treat as a full disk
            return ENOSPC;
        p += n;
        left -= n;
        if (offset >= 0)
            offset += n;
    }
    return 0;
}

// "." + as much of the target's name as fits + "." - then 8 hex digits and
// ".tmp" follow. The whole name stays within the 255 bytes a file name may
// have, so every name the target may legally have can be written; the name
// is cut at a character, never inside one.
QByteArray temporaryStem(const QString& fileName)
{
    constexpr qsizetype kNameMax = 255;
    constexpr qsizetype kFixed = 1 + 1 + 8 + 4; // the dots, the digits, ".tmp"
    QString kept = fileName;
    QByteArray encoded = QFile::encodeName(kept);
    while (encoded.size() > kNameMax - kFixed && !kept.isEmpty()) {
        kept.chop(kept.size() >= 2 && kept.at(kept.size() - 1).isLowSurrogate() ? 2 : 1);
        encoded = QFile::encodeName(kept);
    }
    return '.' + encoded + '.';
}

} // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    SafeFileWriter file(path);
    const bool ok = file.open() && file.write(bytes.constData(), bytes.size()) && file.commit();
    if (!ok && error)
        *error = file.error();
    return ok;
}

SafeFileWriter::SafeFileWriter(const QString& path) : m_path(path) {}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::fail(const char* what, int err)
{
    discard();
    if (m_error.isEmpty())
        m_error = failure(what, m_path, err);
    return false;
}

void SafeFileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temp.constData());
    }
}

bool SafeFileWriter::open()
{
    const QFileInfo info(m_path);
    const QString folder = info.absolutePath();
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());

    // A hidden name beside the target, so that the rename stays within one
    // file system and a crash leaves at most a dot-file, never a damaged picture.
    int fd = -1;
    const QByteArray stem = temporaryStem(info.fileName());
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        m_temp = QFile::encodeName(folder) + '/' + stem
                 + QByteArray::number(QRandomGenerator::global()->generate() | 0x10000000u, 16) + ".tmp";
        fd = ::open(m_temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        if (m_error.isEmpty())
            m_error = failure("Cannot create file", m_path, errno);
        return false;
    }
    m_fd = fd;
    m_end = 0;
    // Replacing a picture keeps its permissions.
    struct stat old {};
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    return true;
}

bool SafeFileWriter::write(const char* data, qsizetype size)
{
    return writeAt(m_end, data, size);
}

bool SafeFileWriter::writeAt(qint64 offset, const char* data, qsizetype size)
{
    if (m_fd < 0)
        return fail("Cannot write file", m_error.isEmpty() ? EBADF : 0);
    if (const int err = writeAll(m_fd, data, size, offset))
        return fail("Cannot write file", err);
    m_end = std::max<qint64>(m_end, offset + size);
    return true;
}

bool SafeFileWriter::commit()
{
    if (m_fd < 0)
        return fail("Cannot write file", EBADF);
    int err = 0;
    // Some file systems report a full disk only when the data is flushed.
    if (::fdatasync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        err = errno;
    if (::close(m_fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    m_fd = -1;
    const QByteArray target = QFile::encodeName(QFileInfo(m_path).absoluteFilePath());
    if (err == 0 && ::rename(m_temp.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(m_temp.constData());
        if (m_error.isEmpty())
            m_error = failure("Cannot write file", m_path, err);
        return false;
    }
    return true;
}

} // namespace korvimo
