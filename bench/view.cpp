// The screen redraw of a 500-line diagram: record it (MaakMeta for the
// screen) and play it into the overview picture, straight (method 1) and
// three-fold supersampled and reduced (method 2). Target: under 50 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/areaaveragereduce.h"
#include "render/maakmeta.h"

namespace {

using namespace korvimo;

// 500 script lines over 40 points: straight flows of different volumes.
void fillDiagram(DiagramDocument& doc)
{
    doc.general.diagramwidth = 800;
    doc.general.diagramheight = 800;
    for (int i = 0; i < 40; ++i) {
        const int x = 60 + (i * 97) % 680;
        const int y = 60 + (i * 61) % 680;
        doc.coordinates << QStringLiteral("%1=%2;%3;").arg(i + 1, 4, 10, QLatin1Char('0')).arg(x).arg(y);
    }
    for (int i = 0; i < 50; ++i)
        doc.intensities << QStringLiteral("%1=%2;I;").arg(i + 1, 4, 10, QLatin1Char('0')).arg(50 + i * 17);
    for (int i = 0; i < 500; ++i) {
        const int a = i % 40 + 1;
        const int b = (i * 7 + 3) % 40 + 1;
        if (a == b)
            continue;
        doc.script << QStringLiteral("LNE;1;%1;%2;[%3];[%4];Color%5;N;A;")
                          .arg(a, 4, 10, QLatin1Char('0'))
                          .arg(b, 4, 10, QLatin1Char('0'))
                          .arg(i % 50 + 1, 4, 10, QLatin1Char('0'))
                          .arg(i % 50 + 1, 4, 10, QLatin1Char('0'))
                          .arg(i % 16 + 1, 4, 10, QLatin1Char('0'));
    }
}

void redraw(benchmark::State& state, bool supersample)
{
    ProgramContext ctx;
    StderrMessenger messenger;
    ctx.messenger = &messenger;
    DiagramDocument doc;
    fillDiagram(doc);
    Metafile target;
    QtPlayer player;
    const QSize picture(800, 800);
    for (auto _ : state) {
        MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("S"));
        if (supersample) {
            QImage big(picture * 3, QImage::Format_RGB32);
            big.fill(Qt::white);
            QPainter p(&big);
            player.play(target, p, QRectF(0, 0, big.width(), big.height()));
            p.end();
            QImage small;
            AreaAverageReduce(big, small, picture.width(), picture.height());
            benchmark::DoNotOptimize(small.constBits());
        } else {
            QImage img(picture, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            player.play(target, p, QRectF(0, 0, img.width(), img.height()));
            p.end();
            benchmark::DoNotOptimize(img.constBits());
        }
    }
    state.counters["records"] = static_cast<double>(target.records().size());
}

void BM_RedrawStraight(benchmark::State& state) { redraw(state, false); }
void BM_RedrawSupersampled(benchmark::State& state) { redraw(state, true); }

BENCHMARK(BM_RedrawStraight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawSupersampled)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
