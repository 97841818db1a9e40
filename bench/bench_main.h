#pragma once

// The main of the benchmarks that need widgets: a QApplication (headless unless a
// platform is asked for), then every benchmark of the program.

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kst::bench {

inline int runWithWidgets(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kst::bench
