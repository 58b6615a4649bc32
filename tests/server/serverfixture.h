#pragma once
// A server around a real temporary watched folder: the built data folder
// for the template library, a private temporary folder, a start-up file of
// its own and a recording messenger as the program's messenger. Waiting
// runs the real event loop, so the real timer drives the server.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>

#include "core/programcontext.h"
#include "server/asserver.h"
#include "support/testsupport.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace test {

struct ServerEnv {
    QTemporaryDir temp;
    QString watch; // the watched folder, with its "/"
    QString startup;
    QString logFile;
    korvimo::RecordingMessenger messenger;
    korvimo::ProgramContext ctx;
    std::unique_ptr<korvimo::AsServer> server;
    QList<korvimo::ServerRequestOutcome> outcomes;

    explicit ServerEnv(bool deleteOld = false)
    {
        ctx.paths = korvimo::ProgramPaths::forProgramFolder(binDir() + QStringLiteral("/"));
        QDir(temp.path()).mkpath(QStringLiteral("tmp"));
        QDir(temp.path()).mkpath(QStringLiteral("watch"));
        ctx.paths.tempFolder = temp.path() + QStringLiteral("/tmp/");
        ctx.messenger = &messenger;
        // Small pictures keep the sanitised build quick; the width rules are
        // the same at any size.
        ctx.settings.exportBmpSize = 160;
        watch = temp.path() + QStringLiteral("/watch/");
        logFile = temp.path() + QStringLiteral("/server.log");
        startup = temp.path() + QStringLiteral("/AsServer.StartUp");
        writeStartup(watch, deleteOld);
        server = std::make_unique<korvimo::AsServer>(ctx);
        server->setStartupFile(startup);
        QObject::connect(server.get(), &korvimo::AsServer::requestHandled,
                         [this](const korvimo::ServerRequestOutcome& o) { outcomes.append(o); });
    }

    void writeStartup(const QString& folder, bool deleteOld)
    {
        writeAll(startup, QStringLiteral("WatchDir=%1\r\nServerLogFileName=%2\r\nDeleteOldDiagrams=%3\r\n")
                              .arg(folder, logFile, deleteOld ? "1" : "0")
                              .toUtf8());
    }

    // A request in the watched folder, its time stamp already five seconds
    // old (past every wait for a writer) unless fresh (then it must wait for
    // its quarter second and is read on trial).
    QString drop(const QString& name, const QByteArray& bytes, bool fresh = false)
    {
        const QString path = watch + name;
        writeAll(path, bytes);
        if (!fresh)
            setAge(path, 5000);
        return path;
    }

    QString dropExample(const QString& name, const QString& example)
    {
        return drop(name, readAll(binDir() + QStringLiteral("/AddOn/") + example));
    }

    // Keeps the event loop running until done() or the limit (a generous
    // bound, not a speed requirement).
    static bool spinUntil(const std::function<bool()>& done, int limitMs = 20000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > limitMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    bool waitForOutcomes(int n) { return spinUntil([&] { return outcomes.size() >= n; }); }

    static void setAge(const QString& path, qint64 ms, const QDateTime& from = QDateTime::currentDateTime())
    {
        const qint64 at = from.toMSecsSinceEpoch() - ms;
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = at / 1000;
        times[0].tv_nsec = times[1].tv_nsec = (at % 1000) * 1000000;
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    }

    QStringList logFileLines() const
    {
        return QString::fromUtf8(readAll(logFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The texts of the log file's lines, without their time.
    QStringList logTexts() const
    {
        QStringList out;
        for (const QString& l : logFileLines())
            out << l.mid(22);
        return out;
    }
};

inline QByteArray crlfLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// A four-arm import request with the given picture width.
inline QByteArray kvoimpRequest(int width, const QString& extraGeneral = {})
{
    QStringList r = {"[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400",
                     QStringLiteral("ExportSizeWidth=%1").arg(width), "[**General variables**]", "title01=Plein"};
    if (!extraGeneral.isEmpty())
        r << extraGeneral;
    r << "[**Arms**]" << "ARMNO;ANGLE;NAME" << "1;10;a" << "2;95;b" << "3;190;c" << "4;280;d"
      << "[**OD**]" << "ARMFROM;ARMTO;VOLUME" << "1;2;120" << "2;3;150" << "3;4;140" << "4;1;60";
    return crlfLines(r);
}

} // namespace test
