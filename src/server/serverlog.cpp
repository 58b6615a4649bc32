#include "server/serverlog.h"

#include <QFile>
#include <QRegularExpression>

#include "core/safefile.h"

namespace korvimo {

namespace {

QString oneLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
    QString s = text;
    return s.replace(breaks, QStringLiteral(" "));
}

} // namespace

QString serverLogFileLine(const QDateTime& at, const QString& text)
{
    return at.toString(QStringLiteral("yyyyMMdd hh:mm:ss.zzz ")) + oneLine(text);
}

QString serverLogWindowLine(const QDateTime& at, const QString& text)
{
    return at.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral("  ") + oneLine(text);
}

bool trimServerLogFile(const QString& path, qint64 maxBytes)
{
    QFile f(path);
    if (f.size() <= maxBytes || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    f.close();
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        lines.append(QByteArrayView(bytes).sliced(start, end - start));
        start = end + 1;
    }
    const qsizetype keep = lines.size() / 2;
    QByteArray out;
    for (qsizetype i = lines.size() - keep; i < lines.size(); ++i) {
        out += lines[i];
        out += '\n';
    }
    return writeWholeFile(path, out, nullptr);
}

ServerLog::ServerLog(QObject* parent) : QObject(parent) {}

void ServerLog::LogLine(const QString& text)
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    if (!m_fileName.isEmpty())
        appendToFile(serverLogFileLine(now, text));
    const QString windowLine = serverLogWindowLine(now, text);
    m_window.append(windowLine);
    while (m_window.size() > kServerLogWindowLines)
        m_window.removeFirst();
    Q_EMIT lineLogged(windowLine);
    Q_EMIT windowLinesChanged(m_window);
}

void ServerLog::appendToFile(const QString& line)
{
    QFile f(m_fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QByteArray bytes = line.toUtf8() + '\n';
    const bool written = f.write(bytes) == bytes.size() && f.flush();
    const qint64 size = f.size();
    f.close();
    if (written && size > kServerLogMaxBytes)
        trimServerLogFile(m_fileName);
}

void ServerLogMessenger::error(const QString& text)
{
    if (errors++ == 0)
        firstError = text;
    m_log.LogLine(text);
}

void ServerLogMessenger::information(const QString& text) { m_log.LogLine(text); }

void ServerLogMessenger::warning(const QString& text) { m_log.LogLine(text); }

int ServerLogMessenger::question(const QString& title, const QString& text, const QString&,
                                 const QString&, const QString&, int)
{
    m_log.LogLine(title + QStringLiteral(": ") + text + QStringLiteral(" (answered: cancel)"));
    return Cancel;
}

} // namespace korvimo
