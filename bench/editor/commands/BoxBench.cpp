// A copy and paste of a 256 x 256 x 128 box on the largest building, 512 x 512 x 256 full of
// blocks, in the editor's main window on Qt's offscreen platform: Ctrl+C, Ctrl+V, a click that
// places the copy and the repaint of the window, as the user waits for them. The baseline is a
// memcpy of the same cells out of the building and back. Each runs for the steady state and,
// as BM_X/first, once in a fresh process.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <vector>

#include "bench/support/BuildingText.h"
#include "bench/support/OffscreenWindow.h"
#include "bench/support/WindowBench.h"
#include "common/Constants.h"
#include "editor/model/Selection.h"
#include "editor/shell/CommandIds.h"

namespace stackmason {
namespace {

constexpr CellBox kBox{129, 129, 1, 384, 384, 128};
// The copy goes onto the upper half of the building, its corner at cell (1, 1) of layer 129.
constexpr int kTargetLayer = 129;

bench::WindowBench& WindowWithLargest() {
    static bench::WindowBench* const window = [] {
        const std::string text = bench::LargestBuildingText("stackmason.zip");
        std::ofstream("largest.txt", std::ios::binary | std::ios::trunc).write(text.data(),
                                                                                 static_cast<std::streamsize>(text.size()));
        auto* made = new bench::WindowBench;
        made->Load("largest.txt", 0);
        return made;
    }();
    return *window;
}

void SelectBox(Editor& editor) {
    editor.selection = BoxSelection{ViewMode::TopView, kBox.h0, kBox.h1, false, kBox.x0, kBox.y0, kBox.x1, kBox.y1};
}

// Ctrl+C, Ctrl+V and the click; the undo that puts the building back is not timed.
void BM_CopyPasteBox(benchmark::State& state) {
    bench::WindowBench& window = WindowWithLargest();
    Editor& editor = window.State();
    editor.layerSpin.SetValue(kTargetLayer);
    using Clock = std::chrono::steady_clock;
    double copyMs = 0, pasteMs = 0, floatMs = 0;
    for (auto _ : state) {
        SelectBox(editor);
        const auto start = Clock::now();
        window.Command(kCopyBox);
        const auto copied = Clock::now();
        window.Command(kPasteBox);
        const auto floated = Clock::now();
        window.ClickCanvas(kTileSize / 2, kTileSize / 2);
        const auto placed = Clock::now();
        floatMs += std::chrono::duration<double, std::milli>(floated - copied).count();
        state.SetIterationTime(std::chrono::duration<double>(placed - start).count());
        copyMs += std::chrono::duration<double, std::milli>(copied - start).count();
        pasteMs += std::chrono::duration<double, std::milli>(placed - copied).count();
        window.Command(kDropBox);
        window.Undo();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["copy_ms"] = copyMs / n;
    state.counters["paste_ms"] = pasteMs / n;
    state.counters["float_ms"] = floatMs / n;
}

// The same cells copied out of the building and into another place of it with memcpy, row by
// row, as the cells lie.
void BM_CopyPasteBoxBaseline(benchmark::State& state) {
    Building& grid = WindowWithLargest().State().grid;
    std::vector<StoredCode> clip(kBox.CellCount());
    const auto rowBytes = static_cast<std::size_t>(kBox.Width()) * sizeof(StoredCode);
    for (auto _ : state) {
        StoredCode* out = clip.data();
        for (int h = kBox.h0; h <= kBox.h1; ++h)
            for (int y = kBox.y0; y <= kBox.y1; ++y, out += kBox.Width())
                std::memcpy(out, grid.Row(y, h) + kBox.x0, rowBytes);
        const StoredCode* in = clip.data();
        for (int h = 0; h < kBox.Height(); ++h)
            for (int y = 0; y < kBox.Length(); ++y, in += kBox.Width())
                std::memcpy(grid.Row(1 + y, kTargetLayer + h) + 1, in, rowBytes);
        benchmark::DoNotOptimize(grid.Layer(0));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_CopyPasteBox)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CopyPasteBox)->Name("BM_CopyPasteBox/first")->Iterations(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CopyPasteBoxBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyPasteBoxBaseline)
    ->Name("BM_CopyPasteBoxBaseline/first")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    stackmason::bench::EnterWorkingFolder("stackmason-box-bench");
    const int result = stackmason::bench::RunOffscreenWindowBenchmarks(argc, argv);
    stackmason::bench::LeaveWorkingFolder();
    return result;
}
