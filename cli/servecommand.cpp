// korvimo-cli serve [WATCHDIR] [--log FILE] [--delete-old]
//                   [--claim-timeout SECONDS]: runs server mode
// without a display until SIGINT or SIGTERM. Without WATCHDIR the settings
// come from "AsServer.StartUp" in the program folder, read anew as the
// server starts; the options are applied over them. Every log line is also
// printed on stderr. A signal lets the request in hand finish, then the
// server gives back what it had claimed, stops, and the command ends with
// status 0. Several of these may watch one folder (see requestclaims.h).
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "cli/clicommands.h"
#include "server/asserver.h"
#include "settings/settingsfile.h"

namespace korvimo::cli {

namespace {

// The write end of the self-pipe: the handler may do nothing but write.
int g_signalPipe[2] = {-1, -1};

void onSignal(int signo)
{
    const int saved = errno;
    const char byte = char(signo);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

class SignalWatch {
public:
    SignalWatch()
    {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &sa, &m_oldInt);
        ::sigaction(SIGTERM, &sa, &m_oldTerm);
        notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read);
    }
    ~SignalWatch()
    {
        delete notifier;
        if (g_signalPipe[0] < 0)
            return;
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        ::sigaction(SIGTERM, &m_oldTerm, nullptr);
        ::close(g_signalPipe[0]);
        ::close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }
    bool ok() const { return notifier != nullptr; }
    void drain()
    {
        char buf[16];
        while (::read(g_signalPipe[0], buf, sizeof buf) > 0) {
        }
    }
    QSocketNotifier* notifier = nullptr;

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

} // namespace

int serveCommand(const QStringList& args, ProgramContext& ctx)
{
    ServerStartupOverrides overrides;
    QStringList folders;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--log")) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("--log needs a FILE"));
            overrides.ServerLogFileName = QFileInfo(args[++i]).absoluteFilePath();
        } else if (a == QLatin1String("--delete-old")) {
            overrides.DeleteOldDiagrams = true;
        } else if (a == QLatin1String("--claim-timeout")) {
            bool ok = false;
            const int seconds = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || seconds < kMinClaimTimeoutSeconds)
                return usageError(QStringLiteral("--claim-timeout needs a whole number of seconds, at least %1")
                                      .arg(kMinClaimTimeoutSeconds));
            overrides.ClaimTimeout = seconds;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(QStringLiteral("unknown option \"%1\"").arg(a));
        } else {
            folders.append(a);
        }
    }
    if (folders.size() > 1)
        return usageError(QStringLiteral("serve watches one folder"));

    // The pictures follow the user's export settings, as in the program.
    ProgInstellingenOphalen(ctx.settings, ctx.paths.settingsFile);

    AsServer server(ctx);
    if (!folders.isEmpty()) {
        const QFileInfo dir(folders[0]);
        if (!dir.isDir()) {
            ctx.messages().error(QStringLiteral("\"%1\" is not a folder").arg(folders[0]));
            return 1;
        }
        overrides.WatchDir = dir.absoluteFilePath();
        server.setStartupFile(QString());
    } else if (!QFileInfo::exists(ctx.paths.serverStartupFile)) {
        return usageError(QStringLiteral("no WATCHDIR given and %1 does not exist").arg(ctx.paths.serverStartupFile));
    }
    server.setOverrides(overrides);

    QObject::connect(&server, &AsServer::lineLogged, [](const QString& line) {
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    });

    SignalWatch watch;
    if (!watch.ok()) {
        ctx.messages().error(QStringLiteral("cannot watch for signals: %1").arg(qt_error_string(errno)));
        return 1;
    }
    bool stopping = false;
    auto quitWhenIdle = [&server] {
        if (!server.inTick())
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    QObject::connect(watch.notifier, &QSocketNotifier::activated, [&] {
        watch.drain();
        if (stopping)
            return;
        stopping = true;
        server.StopButtonClick();
        quitWhenIdle();
    });
    QObject::connect(&server, &AsServer::tickFinished, [&] {
        if (stopping)
            quitWhenIdle();
    });

    server.StartButtonClick();
    if (server.WatchDir().isEmpty() || !QFileInfo(server.WatchDir()).isDir()) {
        server.StopButtonClick();
        ctx.messages().error(QStringLiteral("no watched folder to serve (WatchDir in %1)").arg(ctx.paths.serverStartupFile));
        return 1;
    }
    QCoreApplication::exec();
    if (server.isRunning())
        server.StopButtonClick();
    return 0;
}

} // namespace korvimo::cli
