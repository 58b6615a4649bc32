// Figures for the pixel export: the smoothing reduction alone, and whole
// anti-aliased exports to PNG and JPEG. Peak memory is reported as max RSS.
#include <benchmark/benchmark.h>

#include <QImage>

#include <random>
#include <sys/resource.h>

#include "output/areaaveragereduce.h"

using namespace korvimo;

namespace korvimo { extern long g_fallbacks; }
namespace {

double maxRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
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
    state.counters["maxRSS_MB"] = maxRssMb(); state.counters["fb"] = double(g_fallbacks) / double(state.iterations());
}
BENCHMARK(BM_AreaAverageReduce4000To1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
