// Playing a diagram-sized recording into a pixel image: the cost of every
// redraw of the views and of every pixel export. Target: a 200-element
// recording into 1000 × 1000 pixels in under 20 ms.
#include "benchsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cmath>

#include "canvas/metacanvas.h"
#include "canvas/metafileio.h"
#include "canvas/qtplayer.h"

using namespace korvimo;

namespace {

// Elements like the renderer's: filled bands with outlines and arrow heads,
// arcs with wide pens, and rotated volume labels.
Metafile diagramRecording(int elements)
{
    Metafile mf(10000, 10000);
    MetaCanvas c(mf);
    c.setFontName(QStringLiteral("Arial"));
    for (int i = 0; i < elements; ++i) {
        const double a = i * 2 * M_PI / elements;
        const int cx = 5000 + static_cast<int>(3500 * std::cos(a));
        const int cy = 5000 - static_cast<int>(3500 * std::sin(a));
        const int colour = (i * 0x3F1F7) & 0xFFFFFF;
        switch (i % 4) {
        case 0:
            c.setPenWidth(5);
            c.setPenColor(colour);
            c.setBrushColor(colour);
            c.setBrushClear(false);
            c.polygon({{5000, 5000}, {cx, cy}, {cx + 150, cy + 150}, {5150, 5150}});
            c.moveTo(5000, 5000);
            c.lineTo(cx, cy);
            c.polygon({{cx, cy}, {cx + 75, cy - 120}, {cx + 150, cy + 150}});
            break;
        case 1:
            c.setPenWidth(150);
            c.setPenColor(colour);
            c.arc(cx - 800, cy - 800, cx + 800, cy + 800, cx + 800, cy, cx, cy - 800);
            break;
        case 2:
            c.setBrushClear(true);
            c.setFontSize(100);
            c.setFontColor(colour);
            c.setFontRotation((i * 37) % 3600, (i * 37) % 3600);
            c.textOut(cx, cy, QString::number(i * 13));
            c.setFontRotation(0, 0);
            break;
        default:
            c.setPenWidth(5);
            c.setBrushColor(0xFFFF00);
            c.setBrushClear(false);
            c.ellipse(cx - 25, cy - 25, cx + 25, cy + 25);
            c.rectangle(cx + 50, cy - 100, cx + 400, cy);
        }
    }
    return mf;
}

void BM_PlayDiagramInto1000x1000(benchmark::State& state)
{
    const Metafile mf = diagramRecording(200);
    const bool antialias = state.range(0) != 0;
    for (auto _ : state) {
        QImage img = renderToImage(mf, QSize(1000, 1000), antialias);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetLabel(antialias ? "antialiased" : "aliased");
}
BENCHMARK(BM_PlayDiagramInto1000x1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RecordDiagram(benchmark::State& state)
{
    for (auto _ : state) {
        Metafile mf = diagramRecording(200);
        benchmark::DoNotOptimize(mf.records().size());
    }
}
BENCHMARK(BM_RecordDiagram)->Unit(benchmark::kMillisecond);

void BM_WriteAndReadEmf(benchmark::State& state)
{
    const Metafile mf = diagramRecording(200);
    const QString path = QDir::tempPath() + QStringLiteral("/$1_korvimo-bench-canvas.emf");
    for (auto _ : state) {
        writeEmf(mf, path);
        auto back = readMetafileFile(path);
        benchmark::DoNotOptimize(back);
    }
    QFile::remove(path);
}
BENCHMARK(BM_WriteAndReadEmf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
