// Peak memory of the editor, in its own main window on Qt's offscreen platform, loading the
// largest text building while a largest building is open. Its own program, so that nothing
// else has raised the peak before; `/usr/bin/time -v` on it gives the same figure from outside.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "editor/canvas/CanvasRepaint.h"
#include "bench/support/BenchEditors.h"
#include "bench/support/OffscreenWindow.h"
#include "bench/support/PeakMemory.h"
#include "tests/support/TempFolder.h"
#include "common/Constants.h"
#include "editor/files/BuildingFiles.h"
#include "editor/shell/MainWindow.h"

namespace stackmason {
namespace {

void LoadLargestTextWhileLargestOpen(benchmark::State& state) {
    const std::filesystem::path path = test::ProcessTempFile("largest.txt");
    bench::WriteGeneratedBuilding(path.string(), kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    auto owned = std::make_unique<bench::FixedChoiceDialogs>();
    bench::FixedChoiceDialogs& dialogs = *owned;
    dialogs.choice = {path.string(), kTextFilter};
    MainWindow window(std::move(owned));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::abort();
    // The building that is open when the user loads another.
    LoadBuilding(window.State());
    ShowRequestedRepaint(window.State());
    bench::ShowWindowChanges();
    const double openPeak = bench::PeakMegabytes();
    for (auto _ : state) {
        LoadBuilding(window.State());
        ShowRequestedRepaint(window.State());
        bench::ShowWindowChanges();
    }
    state.counters["open_peak_MB"] = openPeak;
    state.counters["peak_MB"] = bench::PeakMegabytes();
    std::filesystem::remove(path);
}
BENCHMARK(LoadLargestTextWhileLargestOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) { return stackmason::bench::RunOffscreenWindowBenchmarks(argc, argv); }
