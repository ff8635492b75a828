// The whole-building commands on the largest building, 512 x 512 x 256, and the fill on the
// largest layer. Goals: FlipAxis 1 s, RotateLayers 1.5 s, FillArea 30 ms.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "bench/support/BenchEditors.h"
#include "common/Constants.h"
#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"
#include "editor/model/BuildingOperations.h"
#include "tests/editor/support/FakePorts.h"

namespace stackmason {
namespace {

// An editor with a building of these sizes, loaded from a generated file: a seeded mix of 80
// blocks in every cell, so that every page of the building is in use.
std::unique_ptr<bench::BenchEditor> LoadedEditor(int width, int length, int height) {
    auto made = std::make_unique<bench::BenchEditor>();
    bench::LoadGeneratedBuilding(*made, width, length, height);
    return made;
}

// An editor with an empty building of these sizes, made by New.
struct BenchEditor {
    BenchEditor(int width, int length, int height) {
        for (int code = 0; code <= 2; ++code)
            editor.selector.Add("Block " + std::to_string(code), Image(32, 32));
        editor.widthSpin.SetValue(width);
        editor.lengthSpin.SetValue(length);
        editor.heightSpin.SetValue(height);
        NewBuilding(editor);
    }

    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// The square building, and an oblong one whose column matrix has irregular cycles.
void BM_FlipAxis(benchmark::State& state) {
    auto bench = LoadedEditor(512, static_cast<int>(state.range(0)), 256);
    for (auto _ : state)
        FlipAxis(bench->editor);
    benchmark::DoNotOptimize(bench->editor);
}
BENCHMARK(BM_FlipAxis)->Arg(512)->Arg(300)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RotateLayers(benchmark::State& state) {
    auto bench = LoadedEditor(512, 512, 256);
    for (auto _ : state)
        RotateLayers(bench->editor);
    benchmark::DoNotOptimize(bench->editor);
}
BENCHMARK(BM_RotateLayers)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 512 x 512 layer emptied by Clear Layer, alone (height 1) and as layer 129 of the largest
// building, the other layers full of blocks.
void BM_FillArea(benchmark::State& state) {
    const int height = static_cast<int>(state.range(0));
    auto bench = LoadedEditor(512, 512, height);
    Editor& editor = bench->editor;
    editor.layerSpin.SetValue(height / 2 + 1);
    ClearLayer(editor);
    editor.cursorCell = {256, 256};
    int block = 1;
    for (auto _ : state) {
        // Each pass refills the whole layer with the other block.
        editor.selector.Select(block);
        FillArea(editor);
        block = 3 - block;
    }
    benchmark::DoNotOptimize(editor);
}
BENCHMARK(BM_FillArea)->Arg(1)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();

// A layer inserted in the middle of a 512 x 512 x 255 building full of blocks, the tallest
// one a layer can still be added to; the removal that makes room again is not timed.
void BM_InsertLayer(benchmark::State& state) {
    auto bench = LoadedEditor(512, 512, kMaxGridHeight - 1);
    bench->editor.layerSpin.SetValue(128);
    for (auto _ : state) {
        InsertLayer(bench->editor);
        state.PauseTiming();
        RemoveLayer(bench->editor);
        bench->editor.layerSpin.SetValue(128);
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(bench->editor);
}
BENCHMARK(BM_InsertLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

// Insert and remove a layer in the middle of a 512 x 512 x 200 building.
void BM_InsertThenRemoveLayer(benchmark::State& state) {
    auto bench = std::make_unique<BenchEditor>(512, 512, 200);
    bench->editor.layerSpin.SetValue(100);
    for (auto _ : state) {
        InsertLayer(bench->editor);
        RemoveLayer(bench->editor);
    }
    benchmark::DoNotOptimize(bench->editor);
}
BENCHMARK(BM_InsertThenRemoveLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace stackmason
