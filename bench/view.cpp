// The screen redraw of a 500-line diagram: record it (MaakMeta for the
// screen) and play it into the overview picture, straight (method 1) and
// three-fold supersampled and reduced (methods 2 and 3). Target: under 50 ms.
#include "benchsupport.h"

#include <QImage>
#include <QPainter>

#include <vector>

#include "canvas/metafile.h"
#include "canvas/qtplayer.h"
#include "core/programcontext.h"
#include "document/diagramdocument.h"
#include "output/areaaveragereduce.h"
#include "output/bandedraster.h"
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

// The 500-line diagram with what recording it takes.
struct SampleDiagram {
    SampleDiagram()
    {
        ctx.messenger = &messenger;
        fillDiagram(doc);
    }
    void record() { MaakMeta(doc, ctx, target, QStringLiteral("EMF"), QStringLiteral("S")); }

    ProgramContext ctx;
    StderrMessenger messenger;
    DiagramDocument doc;
    Metafile target;
};

enum class Method { Straight = 1, AreaAverage = 2, QtSmooth = 3 };

// What the overview does on a redraw: record, then play into the picture
// straight (method 1) or threefold supersampled in bands over the cores and
// reduced (methods 2 and 3).
void redraw(benchmark::State& state, Method method)
{
    SampleDiagram d;
    const Metafile& target = d.target;
    std::vector<QtPlayer> players(4);
    const QSize picture(800, 800);
    const QRect drawing(0, 0, picture.width(), picture.height());
    for (auto _ : state) {
        d.record();
        if (method == Method::Straight) {
            QImage img(picture, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            players[0].play(target, p, QRectF(drawing));
            p.end();
            benchmark::DoNotOptimize(img.constBits());
        } else {
            const QSize big = picture * 3;
            const int lanes = bandLanesFor(qint64(big.width()) * big.height());
            QImage small = drawSupersampledInBands(
                big, picture, Qt::white,
                method == Method::AreaAverage ? BandReduction::AreaAverage : BandReduction::QtSmooth, lanes,
                [&](QPainter& p, int lane) {
                    p.scale(3, 3);
                    players[size_t(lane)].play(target, p, QRectF(drawing));
                },
                state.range(0) ? qint64(big.width()) * big.height() / state.range(0) : kDefaultBandPixels);
            benchmark::DoNotOptimize(small.constBits());
        }
    }
    state.counters["records"] = static_cast<double>(target.records().size());
}

void BM_RedrawStraight(benchmark::State& state) { redraw(state, Method::Straight); }
void BM_RedrawSupersampledAreaAverage(benchmark::State& state) { redraw(state, Method::AreaAverage); }
void BM_RedrawSupersampledSmooth(benchmark::State& state) { redraw(state, Method::QtSmooth); }

BENCHMARK(BM_RedrawStraight)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(0);
// The argument: how many bands the picture is cut into (0: bands of the
// export's default size). The overview uses one band a lane, at most 3 M
// pixels a band (2 bands on two cores). One band of the whole 2400 × 2400
// is several times slower with Qt's smooth scaling.
BENCHMARK(BM_RedrawSupersampledAreaAverage)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_RedrawSupersampledSmooth)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(0)->Arg(1)->Arg(2);

// The parts of a supersampled redraw, to see where its time goes.
void BM_RecordOnly(benchmark::State& state)
{
    SampleDiagram d;
    for (auto _ : state)
        d.record();
}

void BM_PlayThreeFold(benchmark::State& state)
{
    SampleDiagram d;
    d.record();
    QtPlayer player;
    QImage big(QSize(2400, 2400), QImage::Format_RGB32);
    for (auto _ : state) {
        big.fill(Qt::white);
        QPainter p(&big);
        player.play(d.target, p, QRectF(0, 0, big.width(), big.height()));
        p.end();
        benchmark::DoNotOptimize(big.constBits());
    }
}

void BM_ReduceThreeFold(benchmark::State& state)
{
    QImage big(QSize(2400, 2400), QImage::Format_RGB32);
    big.fill(Qt::white);
    QImage small;
    for (auto _ : state) {
        AreaAverageReduce(big, small, 800, 800);
        benchmark::DoNotOptimize(small.constBits());
    }
}

BENCHMARK(BM_RecordOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayThreeFold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceThreeFold)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
