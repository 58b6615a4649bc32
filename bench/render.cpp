// Recording a diagram of 200 script lines: the cost of one redraw before
// any player runs (target: well under 2 ms).
#include "benchsupport.h"


#include "canvas/metafile.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "render/maakmeta.h"

using namespace korvimo;

namespace {

// 40 points on a ring, 60 volume and value lines, 200 script lines: bands
// with every arrow combination, groups and comments, as a large
// intersection has them.
void fillDiagram(DiagramDocument& doc)
{
    doc.general.diagramwidth = 1000;
    doc.general.diagramheight = 1000;
    for (int i = 1; i <= 40; ++i)
        doc.coordinates << QStringLiteral("%1=%2;%3;")
                               .arg(i, 4, 10, QLatin1Char('0'))
                               .arg(500 + (i * 37) % 400 - 200)
                               .arg(500 + (i * 53) % 400 - 200);
    for (int i = 1; i <= 50; ++i)
        doc.intensities << QStringLiteral("%1=%2;I;").arg(i, 4, 10, QLatin1Char('0')).arg(i * 23 % 900);
    for (int i = 100; i < 110; ++i)
        doc.intensities << QStringLiteral("%1=%2;V;").arg(i, 4, 10, QLatin1Char('0')).arg(i % 7 * 5);
    static const char* arrows[] = {"N;N;", "A;N;", "N;A;", "A;A;"};
    for (int i = 0; i < 200; ++i) {
        if (i % 25 == 0) {
            doc.script << QStringLiteral("GRP;1;Diagram1;");
            continue;
        }
        if (i % 17 == 0) {
            doc.script << QStringLiteral("*comment %1").arg(i);
            continue;
        }
        doc.script << QStringLiteral("LNE;1;%1;%2;[%3];[%4+%5];Color%6;%7")
                          .arg(i % 40 + 1, 4, 10, QLatin1Char('0'))
                          .arg((i * 7) % 40 + 1, 4, 10, QLatin1Char('0'))
                          .arg(100 + i % 10, 4, 10, QLatin1Char('0'))
                          .arg(i % 50 + 1, 4, 10, QLatin1Char('0'))
                          .arg((i * 3) % 50 + 1, 4, 10, QLatin1Char('0'))
                          .arg(i % 16 + 1, 4, 10, QLatin1Char('0'))
                          .arg(QLatin1String(arrows[i % 4]));
    }
}

void recordDiagram(benchmark::State& state, bool intersections)
{
    DiagramDocument doc;
    fillDiagram(doc);
    RecordingMessenger messenger;
    ProgramContext ctx;
    ctx.messenger = &messenger;
    ctx.paths.tempFolder = QStringLiteral("/nonexistent-korvimo-bench/");
    ctx.view.showIntersections = intersections;
    Metafile target;
    for (auto _ : state) {
        const RenderOutcome outcome = MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("S"));
        benchmark::DoNotOptimize(outcome.completed);
    }
    state.counters["records"] = static_cast<double>(target.records().size());
}

void BM_Record200Lines(benchmark::State& state) { recordDiagram(state, false); }
void BM_Record200LinesWithCheckList(benchmark::State& state) { recordDiagram(state, true); }

} // namespace

BENCHMARK(BM_Record200Lines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Record200LinesWithCheckList)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
