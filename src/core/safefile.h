#pragma once
// Writing a file so that a failure never leaves a partial file behind: the
// bytes go to a temporary file in the target's folder, which is renamed over
// the target only when everything reached the disk.
#include <QByteArray>
#include <QString>

namespace korvimo {

// True when path now holds exactly bytes. Otherwise the target is as it was
// (absent, or the old file), no temporary file remains, and *error holds the
// failed step's message with the system's reason, for example
//   Cannot create file "/x/plan.png". Not a directory
//   Cannot write file "/x/plan.png". No space left on device
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// The same for a file made a piece at a time (a picture too large to hold
// in memory): the pieces go to the temporary file, and commit() puts it in
// place. Until then, and whenever a step fails, the target is as it was;
// an uncommitted temporary file is removed when the writer goes.
class SafeFileWriter {
public:
    explicit SafeFileWriter(const QString& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool open();
    // Appends at the end of what was written so far.
    bool write(const char* data, qsizetype size);
    // Writes at a position, past the end too (the gap reads as zeros).
    bool writeAt(qint64 offset, const char* data, qsizetype size);
    // Flushed to the disk, closed and renamed over the target.
    bool commit();
    // The failed step's message, in the form writeWholeFile gives.
    const QString& error() const { return m_error; }

private:
    bool fail(const char* what, int err);
    void discard();

    QString m_path;
    QByteArray m_temp;
    int m_fd = -1;
    qint64 m_end = 0;
    QString m_error;
};

} // namespace korvimo
