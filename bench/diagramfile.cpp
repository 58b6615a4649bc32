// Reading and writing a diagram file of 10,000 lines through the open
// procedure and the writer. Target: under 20 ms each.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "document/diagramfile.h"
#include "document/textfile.h"

using namespace korvimo;

namespace {

// A document of 10,000 file lines: about 6,000 script lines, 2,000
// coordinates, 1,800 volumes and the general variables and notes.
void fill(DiagramDocument& doc)
{
    for (int i = 0; i < 6000; ++i)
        doc.script << QStringLiteral("ARC;1;%1;0002;0004;0003;[0100+0001];[0100];[%2];Color0002;A;N;A;")
                          .arg(i % 9999 + 1, 4, 10, QLatin1Char('0'))
                          .arg(i % 12 + 1, 4, 10, QLatin1Char('0'));
    for (int i = 0; i < 2000; ++i)
        doc.coordinates << QStringLiteral("%1=%2;%3;").arg(i + 1, 4, 10, QLatin1Char('0')).arg(i % 500).arg(i / 4);
    for (int i = 0; i < 1800; ++i)
        doc.intensities << QStringLiteral("%1=%2;I;").arg(i + 1, 4, 10, QLatin1Char('0')).arg(i * 7 % 900);
    const int rest = 10000 - 6000 - 2000 - 1800 - int(generalVariableLines(doc.general).size()) - 5;
    for (int i = 0; i < rest; ++i)
        doc.notes << QStringLiteral("Telling %1, kruispunt Stationsweg / Oostlaan").arg(i);
}

struct Fixture {
    QTemporaryDir dir;
    RecordingMessenger messages;
    ProgramContext ctx;
    QString path;
    Fixture()
    {
        ctx.messenger = &messages;
        DiagramDocument doc;
        fill(doc);
        DiagramFile file(ctx, doc);
        path = dir.filePath("bench.kvo");
        file.StromenBestandOpslaan(path);
    }
};

void BM_ReadDiagram10kLines(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        DiagramDocument doc;
        DiagramFile file(f.ctx, doc);
        file.StromenBestandOpenen(f.path);
        benchmark::DoNotOptimize(doc.script.size());
    }
}
BENCHMARK(BM_ReadDiagram10kLines)->Unit(benchmark::kMillisecond);

void BM_WriteDiagram10kLines(benchmark::State& state)
{
    Fixture f;
    DiagramDocument doc;
    fill(doc);
    DiagramFile file(f.ctx, doc);
    const QString out = f.dir.filePath("out.kvo");
    for (auto _ : state)
        benchmark::DoNotOptimize(file.StromenBestandOpslaan(out));
}
BENCHMARK(BM_WriteDiagram10kLines)->Unit(benchmark::kMillisecond);

// The writer without the disk: building the lines and encoding them. The
// difference to the write above is the temporary file, its flush to disk
// and the rename.
void BM_EncodeDiagram10kLines(benchmark::State& state)
{
    DiagramDocument doc;
    fill(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(textfile::encodeLines(diagramFileLines(doc)).size());
}
BENCHMARK(BM_EncodeDiagram10kLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
