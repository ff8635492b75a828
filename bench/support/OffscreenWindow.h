#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

namespace stackmason::bench {

// What the event loop does after a user action: the pending update paints the window.
inline void ShowWindowChanges() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// The main of a benchmark program that runs the editor's window: it paints into memory on
// Qt's offscreen platform, never onto a display.
inline int RunOffscreenWindowBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace stackmason::bench
