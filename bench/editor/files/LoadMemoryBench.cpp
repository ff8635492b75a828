// Peak memory of the editor, in its own main window on Qt's offscreen platform, loading the
// largest text building while a largest building is open. Its own program, so that nothing
// else has raised the peak before; `/usr/bin/time -v` on it gives the same figure from outside.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/support/BenchEditors.h"
#include "common/Constants.h"
#include "editor/files/BuildingFiles.h"
#include "editor/shell/MainWindow.h"

namespace stackmason {
namespace {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// What the event loop does after a user action: the pending update paints the canvas.
void ShowChanges() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

void LoadLargestTextWhileLargestOpen(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("stackmason-load-memory-" + std::to_string(::getpid()) + ".txt");
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
    ShowChanges();
    const double openPeak = PeakMegabytes();
    for (auto _ : state) {
        LoadBuilding(window.State());
        ShowChanges();
    }
    state.counters["open_peak_MB"] = openPeak;
    state.counters["peak_MB"] = PeakMegabytes();
    std::filesystem::remove(path);
}
BENCHMARK(LoadLargestTextWhileLargestOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    // The window paints into memory, never onto a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
