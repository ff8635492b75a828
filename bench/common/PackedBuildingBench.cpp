// Packing and unpacking the largest building, 512 x 512 x 256, as the history keeps one that
// a load or New replaced: random blocks and a building as builders make them, mostly air.
// Goal: unpacking (what undoing a load waits for) under 0.5 s; the packed size is the
// counter packed_MB.
#include <benchmark/benchmark.h>

#include <random>
#include <utility>

#include "common/Constants.h"
#include "common/PackedBuilding.h"

namespace stackmason {
namespace {

Building RandomBlocks() {
    Building grid(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    std::mt19937 random(1);
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x)
                grid.SetCell(x, y, h, static_cast<BlockCode>(random() % 81));
    return grid;
}

// Walls round the edge, a floor every sixth layer, one cell in 200 a random block.
Building MostlyAir() {
    Building grid(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    std::mt19937 random(1);
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x) {
                if (x == 1 || x == grid.Width() || y == 1 || y == grid.Length())
                    grid.SetCell(x, y, h, 1 + (x + y) % 3);
                else if (h % 6 == 1)
                    grid.SetCell(x, y, h, 7);
                else if (random() % 200 == 0)
                    grid.SetCell(x, y, h, 1 + static_cast<BlockCode>(random() % 80));
            }
    return grid;
}

Building Largest(bool mostlyAir) { return mostlyAir ? MostlyAir() : RandomBlocks(); }

void Pack(benchmark::State& state, bool mostlyAir) {
    const Building original = Largest(mostlyAir);
    std::size_t packedBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PackedBuilding packed{Building(original)};
        state.ResumeTiming();
        packed.Pack();
        packedBytes = packed.Bytes();
    }
    state.counters["packed_MB"] = static_cast<double>(packedBytes) / (1 << 20);
}

void Unpack(benchmark::State& state, bool mostlyAir) {
    PackedBuilding packed{Largest(mostlyAir)};
    packed.Pack();
    state.counters["packed_MB"] = static_cast<double>(packed.Bytes()) / (1 << 20);
    for (auto _ : state) {
        Building unpacked = std::move(packed).Unpack();
        state.PauseTiming();
        packed = PackedBuilding(std::move(unpacked));
        packed.Pack();
        state.ResumeTiming();
    }
}

void BM_PackLargestRandom(benchmark::State& state) { Pack(state, false); }
void BM_PackLargestMostlyAir(benchmark::State& state) { Pack(state, true); }
void BM_UnpackLargestRandom(benchmark::State& state) { Unpack(state, false); }
void BM_UnpackLargestMostlyAir(benchmark::State& state) { Unpack(state, true); }
BENCHMARK(BM_PackLargestRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackLargestMostlyAir)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackLargestRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackLargestMostlyAir)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason
