#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "common/BuildingReader.h"
#include "common/Constants.h"

namespace stackmason {
namespace {

// The text of a largest building, 512 x 512 x 256, with cells of codes 0 to 80.
const std::string& LargestBuildingText() {
    static const std::string text = [] {
        std::string out = "512x512x256;stackmason.zip\r\n------\r\n";
        out.reserve(70'000'000);
        std::mt19937 random(1);
        for (int h = 1; h <= kMaxGridHeight; ++h) {
            out += "layer " + std::to_string(h) + "\r\n";
            for (int y = 1; y <= kMaxGridLength; ++y) {
                for (int x = 1; x <= kMaxGridWidth; ++x)
                    out += static_cast<char>(kCellByteOffset + static_cast<int>(random() % 81));
                out += "\r\n";
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Baseline: only find the line ends of the same bytes.
void BM_FindLineEndsWithMemchr(benchmark::State& state) {
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
BENCHMARK(BM_FindLineEndsWithMemchr)->Unit(benchmark::kMillisecond);

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

// The whole file into a new grid, as the preview reads it: allocation included.
void BM_ReadLargestBuildingIntoNewGrid(benchmark::State& state) {
    const std::string& text = LargestBuildingText();
    for (auto _ : state) {
        BuildingFile file = ReadBuildingFile(Bytes(text));
        benchmark::DoNotOptimize(file.grid.Layer(0));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLargestBuildingIntoNewGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason
