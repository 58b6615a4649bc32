#pragma once
// What every benchmark program starts with: fonts and painting need an
// application object, and no display is used.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace korvimo::bench {

inline int runBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace korvimo::bench
