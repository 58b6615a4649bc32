#include "core/inputfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvimo {

namespace {

struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

InputCheck failed(InputProblem problem, int err = 0)
{
    InputCheck c;
    c.problem = problem;
    if (err != 0)
        c.reason = qt_error_string(err);
    return c;
}

// Opens without waiting for a FIFO's writer and checks what was opened.
InputCheck openChecked(const QString& path, qint64 maxBytes, Fd& file, qint64* size)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return failed(InputProblem::CannotOpen, ENOENT);
    file.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0)
        return failed(InputProblem::CannotOpen, errno);
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return failed(InputProblem::CannotOpen, errno);
    if (!S_ISREG(st.st_mode))
        return failed(InputProblem::NotRegular);
    if (st.st_size > maxBytes)
        return failed(InputProblem::TooLarge);
    *size = st.st_size;
    return {};
}

} // namespace

InputCheck checkInputFile(const QString& path, qint64 maxBytes)
{
    Fd file;
    qint64 size = 0;
    return openChecked(path, maxBytes, file, &size);
}

InputCheck readInputFile(const QString& path, QByteArray* bytes, qint64 maxBytes)
{
    bytes->clear();
    Fd file;
    qint64 size = 0;
    InputCheck check = openChecked(path, maxBytes, file, &size);
    if (!check.ok())
        return check;
    // Regular files never block, but reads stay in the usual mode all the same.
    ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray out;
    out.resize(qsizetype(size));
    qint64 filled = 0;
    for (;;) {
        if (filled == out.size()) {
            // The file may have grown since fstat: read on, but never past the limit.
            if (filled > maxBytes)
                return failed(InputProblem::TooLarge);
            out.resize(qsizetype(std::min<qint64>(maxBytes + 1, std::max<qint64>(filled * 2, filled + 65536))));
        }
        const ssize_t n = ::read(file.fd, out.data() + filled, size_t(out.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failed(InputProblem::ReadFailed, errno);
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return failed(InputProblem::TooLarge);
    out.truncate(qsizetype(filled));
    *bytes = std::move(out);
    return {};
}

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    const QByteArray na = QFile::encodeName(a);
    const QByteArray nb = QFile::encodeName(b);
    if (na.isEmpty() || nb.isEmpty() || ::stat(na.constData(), &sa) != 0 || ::stat(nb.constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace korvimo
