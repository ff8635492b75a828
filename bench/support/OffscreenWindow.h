#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include "bench/support/OffscreenBenchmarks.h"

namespace stackmason::bench {

// What the event loop does after a user action: the pending update paints the window.
inline void ShowWindowChanges() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// The main of a benchmark program that runs the editor's window.
inline int RunOffscreenWindowBenchmarks(int argc, char** argv) { return RunOffscreenBenchmarks<QApplication>(argc, argv); }

}  // namespace stackmason::bench
