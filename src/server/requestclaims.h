#pragma once
// How several servers share one watched folder without answering a request
// twice or losing one. A server takes a request by renaming it into a claim
// folder of its own, WatchDir/.korvimo-claims/<owner>/, before it reads it.
// rename() is atomic on a local file system and on NFS and SMB servers, so
// of two servers that reach for the same request exactly one gets it; the
// other finds it gone and looks for the next one.
//
// Contract:
// - owner is "<host>~<pid>~<random>", unique for every run of a server.
//   Its folder holds the claimed requests, the picture being made (renamed
//   into the watched folder when whole) and ".alive", whose time stamp a
//   background thread renews every second while the server is open.
// - A claim folder whose ".alive" has not changed for the claim timeout, as
//   measured by this process's own clock (so the clocks of other machines do
//   not matter), or, on this host, whose process is gone and whose ".alive"
//   has stood still for three seconds, belongs to a server that died. Its
//   requests are moved into the own claim folder, to be served from there
//   (a newer request of the same name waiting in the watched folder
//   supersedes one: that one is dropped), and the rest of its folder is
//   removed.
// - close() moves whatever is still claimed back into the watched folder and
//   removes the own claim folder.
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace korvimo {

inline constexpr const char* kClaimFolderName = ".korvimo-claims";
inline constexpr const char* kAliveFileName = ".alive";
inline constexpr int kDefaultClaimTimeoutSeconds = 120;
inline constexpr int kMinClaimTimeoutSeconds = 3;
inline constexpr qint64 kAliveIntervalMilliseconds = 1000;

// Moves from to to unless to exists (then false with EEXIST in *err);
// atomic where the file system offers it, else by link and unlink.
bool moveWithoutReplacing(const QString& from, const QString& to, int* err = nullptr);

// A request taken over from a server that died.
struct TakenOverRequest {
    QString request; // its name in the watched folder
    QString claimed; // where it lies now, in the own claim folder
    qint64 arrivedNs = -1; // when the dead server claimed it
};

// What happened to abandoned claims during one look.
struct ClaimTakeover {
    QString owner;
    QList<TakenOverRequest> taken;
    QStringList superseded; // requests dropped for a newer one of that name
};

class RequestClaims {
public:
    RequestClaims();
    ~RequestClaims();
    RequestClaims(const RequestClaims&) = delete;
    RequestClaims& operator=(const RequestClaims&) = delete;

    const QString& owner() const { return m_owner; }
    // The watched folder (with its "/") this works in; close() first when
    // it changes.
    bool open(const QString& watchDir, QString* error);
    void close();
    bool isOpen() const { return !m_ownFolder.isEmpty(); }
    QString ownFolder() const { return m_ownFolder; }
    QString claimsFolder() const { return m_watchDir + QLatin1String(kClaimFolderName) + QLatin1Char('/'); }

    void setTimeoutSeconds(int seconds);
    int timeoutSeconds() const { return m_timeoutSeconds; }

    // Moves request (a file of the watched folder) into the own folder. The
    // claimed path, or empty: *gone tells that another server was faster,
    // otherwise *error holds the reason.
    QString claim(const QString& request, bool* gone, QString* error);
    // Puts a claimed request back into the watched folder under its name.
    // False when a newer request took the name meanwhile (the claimed one
    // is then removed) or the move failed.
    bool putBack(const QString& claimed, QString* error = nullptr);

    // Whether a file of this name lies in any server's claim folder.
    bool claimedAnywhere(const QString& fileName) const;

    // Looks at the other claim folders and returns what dead servers left.
    QList<ClaimTakeover> takeOverAbandoned();

private:
    void heartbeatLoop();
    bool ownerIsGone(const QString& owner, const QString& folder);

    QString m_owner;
    QString m_host;
    QString m_watchDir;
    QString m_ownFolder;
    int m_timeoutSeconds = kDefaultClaimTimeoutSeconds;

    struct Seen {
        qint64 stamp = 0;      // ".alive" time stamp, ns
        qint64 since = 0;      // own monotonic ms when first seen so
    };
    QHash<QString, Seen> m_seen;
    QElapsedTimer m_clock;

    std::thread m_heartbeat;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    QByteArray m_aliveFile; // encoded, for the thread
};

} // namespace korvimo
