// From a request file appearing in the watched folder to its anti-aliased
// 1000-pixel JPEG, with the server's real 500 ms tick: each round waits a
// random part of a tick, drops an import request (written beside, then
// renamed into place, as a careful writer does) and times until the
// picture is there. One server runs through all rounds, warmed up by a
// first request, as a server in use is. The median is the figure to watch;
// wait_ms (the tick and the quarter second a new file must stand still) and
// handle_ms (reading, drawing, smoothing, writing) tell where it goes.
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <random>

#include "core/programcontext.h"
#include "server/asserver.h"

using namespace korvimo;

namespace {

QByteArray request()
{
    const QStringList lines = {
        "[**Import variables**]", "VolumesType=OD", "BaseDiagramFromLibrary=011400", "ExportSizeWidth=1000",
        "[**General variables**]", "title01=Kruispunt Marktplein", "[**Arms**]", "ARMNO;ANGLE;NAME",
        "1;10;Hoofdstraat", "2;95;Kerkweg", "3;190;Hoofdstraat", "4;280;Stationslaan", "[**OD**]",
        "ARMFROM;ARMTO;VOLUME", "1;2;120", "1;3;480", "1;4;65", "2;1;95", "2;3;150", "2;4;210", "3;1;510",
        "3;2;70", "3;4;140", "4;1;60", "4;2;230", "4;3;85"};
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

void spinFor(qint64 ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(ms - t.elapsed()));
}

// One running server for every repetition.
struct Served {
    QTemporaryDir temp;
    QString watch = temp.path() + QStringLiteral("/watch/");
    RecordingMessenger messenger;
    ProgramContext ctx;
    std::unique_ptr<AsServer> server;
    QByteArray bytes = request();
    std::mt19937 random{7};
    int round = 0;
    bool done = false;
    bool written = false;
    QElapsedTimer sinceDrop;
    qint64 handlingStart = 0;

    Served()
    {
        QDir().mkpath(watch);
        QDir().mkpath(temp.path() + QStringLiteral("/tmp"));
        ctx.paths = ProgramPaths::detect(QCoreApplication::applicationDirPath());
        ctx.paths.tempFolder = temp.path() + QStringLiteral("/tmp/");
        ctx.messenger = &messenger;
        ctx.settings.exportBmpSize = 1000;
        ctx.settings.exportPixAntiAliased = true;
        server = std::make_unique<AsServer>(ctx);
        server->setStartupFile(QString());
        server->setOverrides({watch, temp.path() + QStringLiteral("/server.log"), false});
        QObject::connect(server.get(), &AsServer::requestHandled, [this](const ServerRequestOutcome& o) {
            done = true;
            written = o.pictureWritten;
        });
        QObject::connect(server.get(), &AsServer::lineLogged, [this](const QString& line) {
            if (line.contains(QLatin1String("  Import=")))
                handlingStart = sinceDrop.nsecsElapsed();
        });
        server->StartButtonClick();
        drop(); // warm-up: fonts, the library, the first pictures
    }

    // Drops one request and waits for its picture; nanoseconds, or -1.
    qint64 drop()
    {
        const QString name = watch + QStringLiteral("r%1.kvoimp").arg(round++);
        const QString beside = name + QStringLiteral(".part");
        QFile f(beside);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return -1;
        f.close();
        done = false;
        handlingStart = 0;
        sinceDrop.start();
        QFile::rename(beside, name);
        while (!done && sinceDrop.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done && written ? sinceDrop.nsecsElapsed() : -1;
    }
};

void BM_RequestToPicture(benchmark::State& state)
{
    static Served served;
    std::uniform_int_distribution<int> phase(0, kServerTickMilliseconds - 1);
    double waiting = 0, handling = 0;
    for (auto _ : state) {
        spinFor(phase(served.random));
        const qint64 ns = served.drop();
        if (ns < 0) {
            state.SkipWithError("no picture within 10 s");
            break;
        }
        state.SetIterationTime(double(ns) / 1e9);
        waiting += double(served.handlingStart) / 1e6;
        handling += double(ns - served.handlingStart) / 1e6;
    }
    state.counters["wait_ms"] = benchmark::Counter(waiting, benchmark::Counter::kAvgIterations);
    state.counters["handle_ms"] = benchmark::Counter(handling, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RequestToPicture)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
