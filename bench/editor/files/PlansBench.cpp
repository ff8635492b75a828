// The layer booklet (PDF) as the menu and the converter write it, through the safe writer:
// a 128 x 128 x 64 house of walls, floors and a roof (goal: within 5 s) and the largest
// building, 512 x 512 x 256 cells of a seeded mix of 80 blocks (goal: within 60 s and 500 MB).
// The blocks are the default Minecraft pack's, names and pictures (codes past its 76 blocks print
// as unknown ones). Each reports its pages, the
// file's size and the process's peak memory; BM_X/first is one run in a fresh process
// (bench/ratios.sh), BM_X the steady state.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/support/BenchEditors.h"
#include "bench/support/BuildingText.h"
#include "bench/support/OffscreenBenchmarks.h"
#include "bench/support/PeakMemory.h"
#include "common/Constants.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/LayerPlans.h"
#include "editor/files/PlanPainter.h"
#include "editor/files/SavedFile.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/support/TempFolder.h"

namespace stackmason {
namespace {

// A house as builders make them: outer and inner walls of planks with glass bands, a stone
// floor every 12 layers, and a stepped roof over the top 16 layers.
int HouseCell(int x, int y, int h) {
    constexpr int kSide = 128, kRoofFrom = 48;
    const int edge = std::min(std::min(x, kSide + 1 - x), std::min(y, kSide + 1 - y));
    if (h > kRoofFrom)
        return edge == (h - kRoofFrom) * 4 || edge == (h - kRoofFrom) * 4 - 1 ? 6 : 0;
    if (h % 12 == 1)
        return 4;
    const bool wall = edge == 1 || x == 64 || y == 64;
    if (!wall)
        return 0;
    return h % 12 >= 5 && h % 12 <= 7 && (x + y) % 6 < 3 ? 20 : 5;
}

void Load(bench::BenchEditor& bench, const std::string& text) {
    const std::string path = test::ProcessTempFile("plans-building.txt");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    bench.dialogs.choice = {path, kTextFilter};
    LoadBuilding(bench.editor);
    std::filesystem::remove(path);
    // Its 76 blocks name most of the 80 codes; the few beyond print as the editor shows them.
    StagedPack pack = StageTexturePack(std::string(STACKMASON_PACK_DIR) + "/minecraft.zip");
    bench.editor.selector.TakeItemsOf(pack.selector);
}

bench::BenchEditor& House() {
    static const std::unique_ptr<bench::BenchEditor> made = [] {
        auto editor = std::make_unique<bench::BenchEditor>();
        Load(*editor, bench::GeneratedBuildingText(128, 128, 64, "minecraft.zip", HouseCell));
        return editor;
    }();
    return *made;
}

bench::BenchEditor& Largest() {
    static const std::unique_ptr<bench::BenchEditor> made = [] {
        auto editor = std::make_unique<bench::BenchEditor>();
        Load(*editor, bench::LargestBuildingText("minecraft.zip"));
        return editor;
    }();
    return *made;
}

// The plan made and the booklet written as the menu writes them, once per iteration.
void WriteBooklet(benchmark::State& state, bench::BenchEditor& bench) {
    Editor& editor = bench.editor;
    const std::string path = test::ProcessTempFile("plans.pdf");
    std::size_t pages = 0;
    for (auto _ : state) {
        const LayerPlan plan = MakeLayerPlan(editor, "bench");
        pages = static_cast<std::size_t>(CoverPageCount(plan)) + plan.pages.size();
        if (!SaveFileReporting(editor.dialogs, path, [&](const ByteSink& sink) {
                WriteLayerBooklet(plan, editor.grid, editor.selector, sink);
            }))
            state.SkipWithError("the booklet was not written");
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    state.counters["peak_mb"] = bench::PeakMegabytes();
    std::filesystem::remove(path);
}

void BM_HouseBooklet(benchmark::State& state) { WriteBooklet(state, House()); }
void BM_LargestBooklet(benchmark::State& state) { WriteBooklet(state, Largest()); }

#define STEADY_AND_FIRST(function, iterations)                                                          \
    BENCHMARK(function)->Iterations(iterations)->Unit(benchmark::kMillisecond)->UseRealTime();          \
    BENCHMARK(function)->Name(#function "/first")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime()

// The house first: the peak memory is the process's, and the largest building raises it.
STEADY_AND_FIRST(BM_HouseBooklet, 5);
STEADY_AND_FIRST(BM_LargestBooklet, 1);

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) { return stackmason::bench::RunOffscreenBenchmarks<QGuiApplication>(argc, argv); }
