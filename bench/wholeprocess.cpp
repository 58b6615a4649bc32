// Whole-process figures of korvimo-cli, as a user meets them: start-up,
// reading, drawing, smoothing, encoding and writing, one process a run.
// Each benchmark runs the command five times and reports the median wall
// time (real_time) with the process's peak memory (peak_MiB, the largest of
// the runs) and its CPU time (cpu_ms: user + system of the child, which
// says more than the wall time on a loaded machine).
//
// The inputs: the sample diagram, and diagrams made from it the way large
// ones grow — its script 30 and 300 times over one background, 20,000 texts,
// 2,000 full-picture gradients.
#include "benchsupport.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const QString kSample = QStringLiteral(KORVIMO_SOURCE_DIR "/data/AddOn/Voorbeeld.kvo");
const QString kRequest = QStringLiteral(KORVIMO_SOURCE_DIR "/data/AddOn/Voorbeeld.kvoimp");

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString inFolder(const QString& name) { return folder().filePath(name); }

// The sample's sections: everything before the script, the script, the rest.
struct SampleParts {
    QString head, tail;
    QStringList background, others;
};

SampleParts sampleParts()
{
    QFile f(kSample);
    f.open(QIODevice::ReadOnly);
    const QString all = QString::fromLatin1(f.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SampleParts p;
    const qsizetype s = all.indexOf(QStringLiteral("[**Script**]\n"));
    const qsizetype c = all.indexOf(QStringLiteral("[**Coordinates**]\n"));
    p.head = all.left(s);
    p.tail = all.mid(c + 18);
    for (const QString& line : all.mid(s + 13, c - s - 13).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("REC")) || line.startsWith(QLatin1String("GRP;1;Background")))
            p.background << line;
        else
            p.others << line;
    }
    return p;
}

void writeDiagram(const QString& name, const SampleParts& p, const QStringList& script,
                  const QStringList& extraCoordinates = {})
{
    QString text = p.head + QStringLiteral("[**Script**]\n") + script.join(QLatin1Char('\n'))
                   + QStringLiteral("\n[**Coordinates**]\n");
    if (!extraCoordinates.isEmpty())
        text += extraCoordinates.join(QLatin1Char('\n')) + QLatin1Char('\n');
    text += p.tail;
    QFile f(inFolder(name));
    f.open(QIODevice::WriteOnly);
    f.write(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toLatin1());
}

void makeInputs()
{
    static bool made = false;
    if (made)
        return;
    made = true;
    const SampleParts p = sampleParts();
    for (const int times : {30, 300}) {
        QStringList script = p.background;
        for (int k = 0; k < times; ++k)
            script << p.others;
        writeDiagram(QStringLiteral("x%1.kvo").arg(times), p, script);
    }
    QStringList points, texts;
    for (int i = 0; i < 400; ++i)
        points << QStringLiteral("K%1=%2;%3;").arg(i, 3, 10, QLatin1Char('0')).arg(10 + (i * 37) % 480).arg(10 + (i * 53) % 470);
    const int turns[] = {0, 0, 0, 30, 90};
    for (int i = 0; i < 20000; ++i)
        texts << QStringLiteral("TXT;1;P;K%1;[0300];[0300];%2;L;NNN;100;0;T;[\"Tekst nummer %3 op punt\"];")
                     .arg(i % 400, 3, 10, QLatin1Char('0'))
                     .arg(turns[i % 5])
                     .arg(i, 5, 10, QLatin1Char('0'));
    writeDiagram(QStringLiteral("texts20k.kvo"), p, texts, points);
    QStringList gradients;
    for (int i = 0; i < 2000; ++i)
        gradients << QStringLiteral("REC;1;0020;0021;GV;16777215;%1;").arg((i * 4099) % 16777215);
    writeDiagram(QStringLiteral("rec2000.kvo"), p, gradients);
}

struct Run {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
    int status = -1;
};

Run runCli(const QStringList& args)
{
    std::vector<QByteArray> bytes;
    bytes.push_back(QByteArray(KORVIMO_CLI));
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
                     + usage.ru_stime.tv_usec / 1e6;
    run.peakMiB = usage.ru_maxrss / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

void wholeProcess(benchmark::State& state, const QStringList& args, int expectedStatus = 0)
{
    makeInputs();
    double peak = 0, cpu = 0;
    for (auto _ : state) {
        const Run run = runCli(args);
        if (run.status != expectedStatus) {
            state.SkipWithError("korvimo-cli did not finish as expected");
            break;
        }
        state.SetIterationTime(run.wallSeconds);
        peak = std::max(peak, run.peakMiB);
        cpu += run.cpuSeconds;
    }
    state.counters["peak_MiB"] = peak;
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

#define WHOLE_PROCESS(name, ...)                                                                   \
    void name(benchmark::State& state) { wholeProcess(state, __VA_ARGS__); }                       \
    BENCHMARK(name)->UseManualTime()->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)  \
        ->Unit(benchmark::kMillisecond)

// The targets, row by row.
WHOLE_PROCESS(BM_Cli_Check, {QStringLiteral("check"), kSample});
WHOLE_PROCESS(BM_Cli_SamplePng1000, {QStringLiteral("render"), kSample, inFolder("s.png"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_SampleJpeg1000, {QStringLiteral("render"), kSample, inFolder("s.jpg"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_SampleBmp1000, {QStringLiteral("render"), kSample, inFolder("s.bmp"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_SamplePng4000, {QStringLiteral("render"), kSample, inFolder("s4.png"), "--width", "4000"});
WHOLE_PROCESS(BM_Cli_SampleEmf, {QStringLiteral("render"), kSample, inFolder("s.emf")});
WHOLE_PROCESS(BM_Cli_Script1000LinesPng1000,
              {QStringLiteral("render"), inFolder("x30.kvo"), inFolder("x30.png"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_Script10000LinesPng1000,
              {QStringLiteral("render"), inFolder("x300.kvo"), inFolder("x300.png"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_Script10000LinesEmf, {QStringLiteral("render"), inFolder("x300.kvo"), inFolder("x300.emf")});
// The server's work once a request stands still: read it, draw, smooth,
// write the JPEG (bench_server times the same inside a running server).
WHOLE_PROCESS(BM_Cli_RequestJpeg1000, {QStringLiteral("render"), kRequest, inFolder("r.jpg"), "--width", "1000"});
// Inputs that grew without bound before: they must stay linear and small.
// The same texts a third as wide: the two must differ by about the pixels'
// share, not by the glyphs' size.
WHOLE_PROCESS(BM_Cli_Texts20000Png300,
              {QStringLiteral("render"), inFolder("texts20k.kvo"), inFolder("t3.png"), "--width", "300"});
WHOLE_PROCESS(BM_Cli_Texts20000Png1000,
              {QStringLiteral("render"), inFolder("texts20k.kvo"), inFolder("t.png"), "--width", "1000"});
WHOLE_PROCESS(BM_Cli_Gradients2000Emf, {QStringLiteral("render"), inFolder("rec2000.kvo"), inFolder("g.emf")}, 1);
WHOLE_PROCESS(BM_Cli_SamplePng16384, {QStringLiteral("render"), kSample, inFolder("w.png"), "--width", "16384"});
WHOLE_PROCESS(BM_Cli_SampleBmp16000, {QStringLiteral("render"), kSample, inFolder("w.bmp"), "--width", "16000"});

} // namespace

int main(int argc, char** argv)
{
    qputenv("XDG_CONFIG_HOME", QDir::tempPath().toLocal8Bit() + "/korvimo-bench-config");
    return korvimo::bench::runBenchmarks(argc, argv);
}
