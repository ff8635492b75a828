// The whole-building commands on the largest building, 512 x 512 x 256, and the fill on the
// largest layer. Goals: FlipAxis 1 s, RotateLayers 1.5 s, FillArea 30 ms.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"
#include "editor/model/BuildingOperations.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace {

struct BenchEditor {
    BenchEditor(int width, int length, int height) {
        for (int code = 0; code <= 2; ++code)
            editor.selector.Add("Block " + std::to_string(code), Image(32, 32));
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
    }
    // Every third cell a block, so that every page of the grid is in use.
    void Furnish() {
        for (int x = 1; x <= editor.grid.Width(); ++x)
            for (int y = 1; y <= editor.grid.Length(); ++y)
                for (int h = 1; h <= editor.grid.Height(); ++h)
                    editor.grid.At(x, y, h) = (x + y + h) % 3 == 0 ? (x + h) % 7 + 1 : 0;
    }

    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// The square building, and an oblong one whose column matrix has irregular cycles.
void BM_FlipAxis(benchmark::State& state) {
    auto bench = std::make_unique<BenchEditor>(512, static_cast<int>(state.range(0)), 256);
    bench->Furnish();
    for (auto _ : state)
        FlipAxis(bench->editor);
    benchmark::DoNotOptimize(bench->editor.grid.Layer(0));
}
BENCHMARK(BM_FlipAxis)->Arg(512)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RotateLayers(benchmark::State& state) {
    auto bench = std::make_unique<BenchEditor>(512, 512, 256);
    bench->Furnish();
    for (auto _ : state)
        RotateLayers(bench->editor);
    benchmark::DoNotOptimize(bench->editor.grid.Layer(0));
}
BENCHMARK(BM_RotateLayers)->Unit(benchmark::kMillisecond)->UseRealTime();

// An empty 512 x 512 layer, alone (height 1) and as layer 128 of the largest building, where
// the cells of one layer lie 257 codes apart.
void BM_FillArea(benchmark::State& state) {
    const int height = static_cast<int>(state.range(0));
    auto bench = std::make_unique<BenchEditor>(512, 512, height);
    Editor& editor = bench->editor;
    editor.layerSpin.SetValue(height / 2 + 1);
    editor.cursorCell = {256, 256};
    int block = 1;
    for (auto _ : state) {
        // Each pass refills the whole layer with the other block.
        editor.selector.Select(block);
        FillArea(editor);
        block = 3 - block;
    }
    benchmark::DoNotOptimize(editor.grid.Layer(0));
}
BENCHMARK(BM_FillArea)->Arg(1)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();

// Insert and remove a layer in the middle of a 512 x 512 x 200 building.
void BM_InsertThenRemoveLayer(benchmark::State& state) {
    auto bench = std::make_unique<BenchEditor>(512, 512, 200);
    bench->editor.layerSpin.SetValue(100);
    for (auto _ : state) {
        InsertLayer(bench->editor);
        RemoveLayer(bench->editor);
    }
    benchmark::DoNotOptimize(bench->editor.grid.Layer(0));
}
BENCHMARK(BM_InsertThenRemoveLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace stackmason
