#include "core/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

// Everything after the temporary file exists: write, flush to the disk,
// close. Returns 0 or the errno of the step that failed; the descriptor is
// closed either way.
int writeAndClose(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    int err = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0) { // no progress and no reason: treat as a full disk
            err = ENOSPC;
            break;
        }
        p += n;
        left -= n;
    }
    // Some file systems report a full disk only when the data is flushed.
    if (err == 0 && ::fdatasync(fd) != 0 && errno != EINVAL && errno != EROFS)
        err = errno;
    if (::close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    return err;
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
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());

    // A hidden name beside the target, so that the rename stays within one
    // file system and a crash leaves at most a dot-file, never a damaged picture.
    QByteArray temp;
    int fd = -1;
    const QByteArray stem = temporaryStem(info.fileName());
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = QFile::encodeName(folder) + '/' + stem
               + QByteArray::number(QRandomGenerator::global()->generate() | 0x10000000u, 16) + ".tmp";
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        if (error)
            *error = failure("Cannot create file", path, errno);
        return false;
    }
    // Replacing a picture keeps its permissions.
    struct stat old {};
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    int err = writeAndClose(fd, bytes);
    if (err == 0 && ::rename(temp.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        if (error)
            *error = failure("Cannot write file", path, err);
        return false;
    }
    return true;
}

} // namespace korvimo
