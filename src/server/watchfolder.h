#pragma once
// What the server looks at in the watched folder: the request files of one
// kind, and whether another process may still be writing one.
//
// On this platform any file opens for reading, even while it is being
// written, so "can it be opened" tells nothing. A request counts as still
// being written while
// - its time stamp changed within the last quarter second (and it has not
//   been seen unchanged for that long - that covers a time stamp in the
//   future, from another machine's clock), or
// - some process holds it open for writing. That is asked of the kernel
//   with a read lease (refused while the file is open for writing anywhere),
//   and where no lease can be taken (another owner, a file system without
//   leases) by looking through the open files of the processes in /proc that
//   this user may see.
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

namespace korvimo {

inline constexpr qint64 kSettleMilliseconds = 250;

// The regular files of folder whose name ends in extension (with its dot,
// compared without regard to case, as the Windows file search does), sorted
// by name. Hidden files count; folders and other special files do not.
QStringList requestFiles(const QString& folder, const QString& extension);

// A request waiting in the watched folder.
struct RequestFile {
    QString path;
    bool csv = false;      // found by the ".csv" search, else ".kvoimp"
    qint64 modified = 0;   // time stamp, ms since the epoch
};

// The requests of both kinds, oldest time stamp first, so that neither kind
// waits behind a stream of the other; of equal time stamps the ".csv" goes
// first, then by name (the order of one search after the other).
QList<RequestFile> requestsOldestFirst(const QString& folder);

// The picture that answers the request fileName of folder, which arrived
// (its status-change time, which a rename into the folder sets and no
// writer can set back) at arrivedNs: folder + the name without its last
// extension + ".jpg", except that the name keeps the request's extension
// ("a.kvoimp" -> "a.kvoimp.jpg") when
// - the request is a ".csv" and a ".kvoimp" of the same name waits too
//   (companionWaiting): two requests never share one answer, and of such a
//   pair the import request keeps the plain name, whichever is served first;
// - or the plain picture was put in place after this request arrived: it
//   answers another request of the same name that was here at the same time.
QString answerPictureName(const QString& folder, const QString& fileName, bool companionWaiting, qint64 arrivedNs);
QString plainPictureName(const QString& folder, const QString& fileName);

// The status-change time of path in ns, or -1.
qint64 changeTimeNs(const QString& path);

// The pictures a clean-up looks at: the regular files ending in ".jpg" (any
// case), sorted by name.
QStringList pictureFiles(const QString& folder);

enum class WriteCheck {
    Any,      // the lease where it can be taken, else /proc
    Lease,    // only the lease; unknown counts as not held
    ProcScan, // only the /proc scan
};

// True when a process (this one included) holds path open for writing, as
// far as the chosen check can tell.
bool heldOpenForWriting(const QString& path, WriteCheck check = WriteCheck::Any);

// Remembers what each request looked like when it was last seen, to tell
// when its time stamp has stood still for a quarter second.
class SettleWatch {
public:
    // True when the file's time stamp is at least a quarter second older
    // than now, or the file has been seen with the same size and time stamp
    // at least a quarter second ago. Records what was seen.
    bool settled(const QString& path, const QDateTime& now);

    // Milliseconds until a file that is not settled may be; 0 when unknown.
    qint64 waitHint() const { return m_waitHint; }
    void beginScan() { m_waitHint = 0; }

    // Forgets files that are gone.
    void forgetAllBut(const QStringList& present);

private:
    struct Seen {
        qint64 size = -1;
        qint64 modified = 0; // ms since the epoch
        qint64 since = 0;    // when first seen like this
    };
    QHash<QString, Seen> m_seen;
    qint64 m_waitHint = 0;
};

} // namespace korvimo
