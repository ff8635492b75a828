// The editor's memory over a session with the largest building, in its own main window on
// Qt's offscreen platform: six loads of two largest buildings in turn, then a New and three
// undos, with the memory held resident after each (counters rss_1 .. rss_6, rss_new,
// rss_undo_1 .. rss_undo_3) and the real and CPU time of each undo. Goal: every figure within twice the
// building's cells and 100 MB (about 370 MB), every undo under 0.5 s.
//
// Run each benchmark in a process of its own (--benchmark_filter), so that nothing else has
// raised the memory before: /random for buildings of random blocks, /mostly_air for buildings
// as builders make them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

#include "bench/support/BuildingText.h"
#include "bench/support/OffscreenWindow.h"
#include "bench/support/PeakMemory.h"
#include "bench/support/WindowBench.h"
#include "common/Constants.h"
#include "editor/files/FileRequests.h"

namespace stackmason {
namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush())
        std::abort();
}

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void SessionOfLargestLoads(benchmark::State& state, bool mostlyAir) {
    const char* files[] = {"first.txt", "second.txt"};
    for (unsigned seed = 1; seed <= 2; ++seed) {
        const std::string text =
            mostlyAir ? bench::MostlyAirBuildingText(kMaxGridWidth, kMaxGridLength, kMaxGridHeight, "stackmason.zip", seed)
                      : bench::BuildingText(kMaxGridWidth, kMaxGridLength, kMaxGridHeight, "stackmason.zip", seed);
        WriteText(files[seed - 1], text);
    }
    bench::WindowBench window;
    state.counters["rss_start"] = bench::ResidentMegabytes();
    for (auto _ : state) {
        for (int load = 1; load <= 6; ++load) {
            window.Load(files[(load - 1) % 2], kTextFilter);
            state.counters["rss_" + std::to_string(load)] = bench::ResidentMegabytes();
        }
        window.PressNew();
        state.counters["rss_new"] = bench::ResidentMegabytes();
        for (int undo = 1; undo <= 3; ++undo) {
            const auto start = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            window.Undo();
            state.counters["undo_ms_" + std::to_string(undo)] = Milliseconds(std::chrono::steady_clock::now() - start);
            state.counters["undo_cpu_ms_" + std::to_string(undo)] =
                1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            state.counters["rss_undo_" + std::to_string(undo)] = bench::ResidentMegabytes();
        }
    }
    state.counters["history_MB"] = static_cast<double>(window.State().history.Bytes()) / (1 << 20);
    state.counters["peak_MB"] = bench::PeakMegabytes();
}

void Random(benchmark::State& state) { SessionOfLargestLoads(state, false); }
void MostlyAir(benchmark::State& state) { SessionOfLargestLoads(state, true); }
BENCHMARK(Random)->Name("SessionOfLargestLoads/random")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MostlyAir)->Name("SessionOfLargestLoads/mostly_air")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    stackmason::bench::EnterWorkingFolder("stackmason-memory-bench");
    const int result = stackmason::bench::RunOffscreenWindowBenchmarks(argc, argv);
    stackmason::bench::LeaveWorkingFolder();
    return result;
}
