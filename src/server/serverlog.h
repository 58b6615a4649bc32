#pragma once
// The server's log: every line goes to the log file (when there is one) and
// to a short list of the latest lines that the server window shows.
//
// Contract:
// - A file line is the local time as "yyyyMMdd hh:mm:ss.zzz ", then the
//   text; a window line is the time as "yyyy-MM-dd hh:mm:ss", two blanks,
//   then the text. Line breaks inside a text become one blank each run, so
//   one entry is always one line (and trimming never splits an entry).
// - The file is UTF-8 text with LF line ends, created when missing and
//   opened for appending for every line, so other programs may read, move
//   or delete it at any moment. A file that cannot be opened loses nothing
//   but that file line: the window list still gets it.
// - When the file has grown past 500000 bytes, its oldest lines are removed
//   until at most half of the lines remain; the shortened file replaces the
//   old one in one rename, so a failure leaves the longer file.
// - The window list holds at most six lines, the newest last.
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>

#include "core/messenger.h"

namespace korvimo {

inline constexpr qint64 kServerLogMaxBytes = 500000;
inline constexpr int kServerLogWindowLines = 6;

// The line formats, without a line end.
QString serverLogFileLine(const QDateTime& at, const QString& text);
QString serverLogWindowLine(const QDateTime& at, const QString& text);

// Keeps the newest half of the file's lines (n lines keep n / 2, rounded
// down) when the file is larger than maxBytes. True when the file was
// shortened.
bool trimServerLogFile(const QString& path, qint64 maxBytes = kServerLogMaxBytes);

class ServerLog : public QObject {
    Q_OBJECT
public:
    explicit ServerLog(QObject* parent = nullptr);

    // The file the lines are appended to; empty for none.
    void setFileName(const QString& path) { m_fileName = path; }
    QString fileName() const { return m_fileName; }

    // Where the time of a line comes from; the local clock unless set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void LogLine(const QString& text);

    // The latest lines in window format, oldest first (at most six).
    QStringList windowLines() const { return m_window; }

Q_SIGNALS:
    // After every line, with the whole window list.
    void windowLinesChanged(const QStringList& lines);
    // Every line as the window shows it (the command-line tool prints these).
    void lineLogged(const QString& windowLine);

private:
    void appendToFile(const QString& line);

    QString m_fileName;
    std::function<QDateTime()> m_clock;
    QStringList m_window;
};

// The messenger that is installed while the server runs: every message that
// would be shown in a box is logged instead, and every question is logged
// and answered with Cancel (nobody is there to answer it).
class ServerLogMessenger final : public Messenger {
public:
    explicit ServerLogMessenger(ServerLog& log) : m_log(log) {}
    void error(const QString& text) override;
    void information(const QString& text) override;
    void warning(const QString& text) override;
    using Messenger::question;
    int question(const QString& title, const QString& text, const QString& yesCaption,
                 const QString& noCaption, const QString& cancelCaption, int defaultAnswer) override;

    // Errors since the last reset, so that the server can tell
    // a request that was read with complaints.
    int errors = 0;
    QString firstError;
    void resetCount()
    {
        errors = 0;
        firstError.clear();
    }

private:
    ServerLog& m_log;
};

} // namespace korvimo
