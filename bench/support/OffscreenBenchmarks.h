#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>

namespace stackmason::bench {

// The main of a benchmark program that paints with Qt: it paints into memory on Qt's offscreen
// platform, never onto a display. `Application` is the Qt application the program needs.
template <typename Application>
int RunOffscreenBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace stackmason::bench
