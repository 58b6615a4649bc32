// How long the import readers take: the shipped OD example end to end (the
// template opened, filled, scaled and its arms placed), and an import request
// with a large direction table. Targets: an import well under 50 ms, so that
// the server keeps up with files arriving every tick of 500 ms.
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/programcontext.h"
#include "document/diagramfile.h"
#include "document/library.h"

using namespace korvimo;

namespace {

QString dataFolder()
{
    // The build copies data/ beside the binaries.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/");
}

void openOnce(const QString& path, const QString& temp)
{
    RecordingMessenger messenger;
    ProgramContext ctx;
    ctx.paths = ProgramPaths::forProgramFolder(dataFolder());
    ctx.paths.tempFolder = temp;
    ctx.messenger = &messenger;
    DiagramDocument doc;
    DiagramFile files(ctx, doc);
    DiagramLibrary library(ctx);
    files.setTemplateLibrary(&library);
    files.StromenBestandOpenen(path);
    benchmark::DoNotOptimize(doc.intensities.size());
}

void BM_OdExample(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = dataFolder() + QStringLiteral("AddOn/Voorbeeld.in");
    for (auto _ : state)
        openOnce(path, temp.path() + QStringLiteral("/"));
}
BENCHMARK(BM_OdExample)->Unit(benchmark::kMillisecond);

void BM_RequestWithDirections(benchmark::State& state)
{
    QTemporaryDir temp;
    const QString path = temp.path() + QStringLiteral("/big.kvoimp");
    QByteArray req = "[**Import variables**]\r\nVolumesType=DIR\r\nBaseDiagramFromLibrary=010800\r\n[**DIR**]\r\n"
                     "DIRECTION;VOLUME\r\n";
    for (int i = 0; i < state.range(0); ++i)
        req += QByteArray::number(1 + i % 56).rightJustified(4, '0') + ";" + QByteArray::number(i % 997) + "\r\n";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(req);
    f.close();
    for (auto _ : state)
        openOnce(path, temp.path() + QStringLiteral("/"));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RequestWithDirections)->Arg(56)->Arg(10000)->Unit(benchmark::kMillisecond);

QString writeRequest(const QTemporaryDir& temp, const QByteArray& bytes)
{
    const QString path = temp.path() + QStringLiteral("/wide.kvoimp");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Tables are read in time linear in their cells, however the cells are
// laid out. Target: each request below in under 0.5 s.
// An OD table of range(0) columns (about 57 KB for 10,000): one header, one row.
void BM_RequestWithWideOdTable(benchmark::State& state)
{
    QTemporaryDir temp;
    QByteArray header = "ARMFROM;ARMTO;VOLUME";
    QByteArray row = "1;2;120";
    for (int i = 0; i < state.range(0); ++i) {
        header += ";C" + QByteArray::number(i);
        row += ";" + QByteArray::number(i % 10);
    }
    const QString path = writeRequest(temp, "[**Import variables**]\r\nVolumesType=OD\r\nBaseDiagramFromLibrary=011400\r\n"
                                            "[**Arms**]\r\nARMNO;ANGLE;NAME\r\n1;0;a\r\n2;90;b\r\n[**OD**]\r\n"
                                            + header + "\r\n" + row + "\r\n");
    for (auto _ : state)
        openOnce(path, temp.path() + QStringLiteral("/"));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RequestWithWideOdTable)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// An arms table of about 2.6 MB: range(0) rows of eight named columns.
void BM_RequestWithLargeArmsTable(benchmark::State& state)
{
    QTemporaryDir temp;
    QByteArray req = "[**Import variables**]\r\nVolumesType=DIR\r\nBaseDiagramFromLibrary=011400\r\n"
                     "[**Arms**]\r\nARMNO;ANGLE;NAME;ROAD;KIND;LANES;SPEED;REMARK\r\n";
    for (int i = 0; i < state.range(0); ++i)
        req += QByteArray::number(1 + i % 8) + ";" + QByteArray::number(i % 360) + ";\"Street " + QByteArray::number(i)
               + "\";N" + QByteArray::number(i % 300) + ";urban;2;50;\"counted\"\r\n";
    const QString path = writeRequest(temp, req);
    state.counters["bytes"] = double(req.size());
    for (auto _ : state)
        openOnce(path, temp.path() + QStringLiteral("/"));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RequestWithLargeArmsTable)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return korvimo::bench::runBenchmarks(argc, argv); }
