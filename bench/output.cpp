// Figures for the pixel export: the smoothing reduction alone, and whole
// anti-aliased exports of a four-arm intersection to PNG and JPEG (render,
// rasterise at four times the size, reduce, encode, write). Peak memory is
// the process's max RSS after each benchmark.
#include "benchsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <random>
#include <sys/resource.h>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/areaaveragereduce.h"
#include "output/pixelexport.h"

using namespace korvimo;

namespace {

double maxRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

QString name4(int n) { return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')); }

// A four-arm intersection of 800 × 800 diagram units: per arm an incoming
// and an outgoing band, twelve turning flows, volume labels, a background
// and a north arrow.
void fourArmDiagram(DiagramDocument& doc)
{
    doc.general.diagramwidth = 800;
    doc.general.diagramheight = 800;
    const double cx = 400, cy = 400;
    for (int a = 0; a < 4; ++a) {
        const double rad = a * M_PI / 2;
        const double dx = std::cos(rad), dy = -std::sin(rad);
        doc.coordinates << QStringLiteral("%1=%2;%3;").arg(name4(2 * a + 1)).arg(qRound(cx + 350 * dx)).arg(qRound(cy + 350 * dy));
        doc.coordinates << QStringLiteral("%1=%2;%3;").arg(name4(2 * a + 2)).arg(qRound(cx + 110 * dx)).arg(qRound(cy + 110 * dy));
    }
    doc.coordinates << QStringLiteral("0020=10;10;") << QStringLiteral("0021=790;790;")
                    << QStringLiteral("0022=740;60;");
    int volume = 1;
    doc.intensities << QStringLiteral("0100=0;V;") << QStringLiteral("0101=40;V;")
                    << QStringLiteral("0102=-40;V;");
    doc.script << QStringLiteral("REC;1;0020;0021;GV;16777215;15790320;")
               << QStringLiteral("NTH;1;0022;40;");
    for (int a = 0; a < 4; ++a) {
        QStringList in;
        for (int b = 0; b < 4; ++b) {
            if (b == a)
                continue;
            const QString v = name4(volume);
            doc.intensities << QStringLiteral("%1=%2;I;").arg(v).arg(150 + 97 * volume);
            in << v;
            doc.script << QStringLiteral("LNE;1;%1;%2;[0101];[%3];Color%4;N;A;")
                              .arg(name4(2 * a + 2), name4(2 * b + 2), v, name4(b + 1));
            ++volume;
        }
        doc.script << QStringLiteral("LNE;1;%1;%2;[0101];[%3];Color0005;N;N;")
                          .arg(name4(2 * a + 1), name4(2 * a + 2), in.join(QLatin1Char('+')));
        doc.script << QStringLiteral("TXT;1;P;%1;[0100];[0102];0;C;YNN;100;0;I;[%2];")
                          .arg(name4(2 * a + 1), in.join(QLatin1Char('+')));
        doc.script << QStringLiteral("TXT;1;R;[%1;%2];C;[0100];[0101];0;C;NNN;80;0;T;[\"Arm %3\"];")
                          .arg(name4(2 * a + 1), name4(2 * a + 2))
                          .arg(a + 1);
    }
}

void BM_AreaAverageReduce4000To1000(benchmark::State& state)
{
    QImage src(4000, 4000, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < src.height(); ++y) {
        auto* p = reinterpret_cast<quint32*>(src.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            p[x] = rng();
    }
    QImage target;
    for (auto _ : state) {
        AreaAverageReduce(src, target, 1000, 1000);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["maxRSS_MB"] = maxRssMb();
}
BENCHMARK(BM_AreaAverageReduce4000To1000)->Unit(benchmark::kMillisecond);

void exportFourArms(benchmark::State& state, const char* type, const char* file)
{
    RecordingMessenger messages;
    ProgramContext ctx;
    ctx.messenger = &messages;
    DiagramDocument doc;
    fourArmDiagram(doc);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(file));
    for (auto _ : state) {
        if (!ExportAsPixelFile(doc, ctx, QString::fromLatin1(type), true, 1000, path)) {
            state.SkipWithError("export failed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    // To look at the picture: KORVIMO_BENCH_KEEP=folder keeps a copy there.
    const QString keep = qEnvironmentVariable("KORVIMO_BENCH_KEEP");
    if (!keep.isEmpty()) {
        QFile::remove(keep + QLatin1Char('/') + QString::fromLatin1(file));
        QFile::copy(path, keep + QLatin1Char('/') + QString::fromLatin1(file));
    }
    state.counters["maxRSS_MB"] = maxRssMb();
    if (!messages.entries.isEmpty())
        state.SetLabel(messages.entries.front().text.toStdString());
}

void BM_ExportFourArmsPng(benchmark::State& state) { exportFourArms(state, "PNG", "four.png"); }
void BM_ExportFourArmsJpeg(benchmark::State& state) { exportFourArms(state, "JPG", "four.jpg"); }
BENCHMARK(BM_ExportFourArmsPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFourArmsJpeg)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
