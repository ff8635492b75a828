#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bench/support/BuildingText.h"
#include "common/BuildingReader.h"
#include "common/Constants.h"

namespace stackmason {
namespace {

// The largest building's text, made once for every benchmark of the program.
const std::string& LargestBuildingText() {
    static const std::string text = bench::LargestBuildingText("stackmason.zip");
    return text;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The reader, from the bytes in memory into a new building, as the preview reads it:
// allocation included. Read side by side with BM_ReadBuildingBaseline.
void BM_ReadBuilding(benchmark::State& state) {
    const std::string& text = LargestBuildingText();
    for (auto _ : state) {
        BuildingFile file = ReadBuildingFile(Bytes(text));
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadBuilding)->Unit(benchmark::kMillisecond);
// The first read of a process, for bench/ratios.sh to run in a fresh one.
BENCHMARK(BM_ReadBuilding)->Name("BM_ReadBuilding/first")->Iterations(1)->Unit(benchmark::kMillisecond);

// The reader's baseline: only find the line ends of the same bytes with memchr.
void BM_ReadBuildingBaseline(benchmark::State& state) {
    const std::string& text = LargestBuildingText();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* at = text.data();
        const char* end = text.data() + text.size();
        while (const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
            at = static_cast<const char*>(found) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadBuildingBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBuildingBaseline)->Name("BM_ReadBuildingBaseline/first")->Iterations(1)->Unit(benchmark::kMillisecond);

// The reader filling a grid that already exists, as loading does after the new building.
void BM_ReadLargestBuilding(benchmark::State& state) {
    const std::string& text = LargestBuildingText();
    Building grid(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    for (auto _ : state) {
        LineReader lines(Bytes(text));
        ReadHeader(lines);
        ReadLayers(lines, grid);
        benchmark::DoNotOptimize(grid.Layer(0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLargestBuilding)->Unit(benchmark::kMillisecond);

// For scale: the least any reader must do, one sequential write of every cell of the grid.
void BM_WriteEveryGridCellInOrder(benchmark::State& state) {
    Building grid(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    for (auto _ : state) {
        StoredCode* cells = grid.Layer(0);
        for (std::size_t i = 0; i < grid.CellCount(); ++i)
            cells[i] = static_cast<StoredCode>(static_cast<int>(i & 63) - kCellByteOffset);
        benchmark::DoNotOptimize(grid.Layer(0));
    }
}
BENCHMARK(BM_WriteEveryGridCellInOrder)->Unit(benchmark::kMillisecond);


}  // namespace
}  // namespace stackmason
