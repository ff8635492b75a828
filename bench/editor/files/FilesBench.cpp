#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/support/BuildingText.h"
#include "bench/support/OffscreenWindow.h"
#include "bench/support/WindowBench.h"
#include "common/Constants.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/CodeCounts.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicWriter.h"

// Save, load, export, import and New of the largest building, 512 x 512 x 256 cells of a
// seeded mix of 80 blocks, each as the window runs it: the Load or Save button in the
// editor's main window on Qt's offscreen platform, with its texture pack read and staged,
// the building put in place, the step recorded in the history and the canvas painted. Each
// BM_X is read side by side with its BM_XBaseline, the plain system operation on as many
// bytes in the same folder (bench/ratios.sh prints the ratios).
//
// Each one is registered twice: BM_X for the steady state, as many runs as the library takes,
// and BM_X/first, one run, for the first operation of a session, which bench/ratios.sh runs
// in a fresh process of its own. The folder lies under TMPDIR (else /tmp), on a disk, so that
// the syncs compare like with like; do not point TMPDIR at a RAM disk.

namespace stackmason {
namespace bench {

constexpr const char* kLargestText = "largest.txt";
constexpr const char* kLargestSchematic = "largest.schematic";
constexpr const char* kLargestSponge = "largest.schem";
constexpr const char* kLargestLitematic = "largest.litematic";

// The largest building's text, written once as plain bytes, not by the editor: the first load
// of a process is then the benchmark's own.
void WriteLargestText() {
    static const bool written = [] {
        const std::string text = LargestBuildingText("stackmason.zip");
        std::ofstream file(kLargestText, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "error: cannot write %s\n", kLargestText);
            std::exit(1);
        }
        return true;
    }();
    (void)written;
}

// The one window of the program; the Qt application outlives every benchmark but not main,
// so the window is never destroyed.
WindowBench& Window() {
    static WindowBench* const window = new WindowBench;
    return *window;
}

// The window showing the largest text building, loaded unless it shows it already.
bool showsLargestText = false;

WindowBench& WindowWithLargestText() {
    WriteLargestText();
    WindowBench& window = Window();
    if (!showsLargestText)
        window.Load(kLargestText, kTextFilter);
    showsLargestText = true;
    return window;
}

WindowBench& WindowWithLoaded(const char* path, int filter) {
    WindowBench& window = Window();
    window.Load(path, filter);
    showsLargestText = false;
    return window;
}

// The files the exports write, made once by the export itself when a benchmark needs one
// before its own has run.
void WriteExport(const char* path, int filter) {
    if (!std::filesystem::exists(path))
        WindowWithLargestText().Save(path, filter);
}

std::size_t FileBytes(const char* path) { return static_cast<std::size_t>(std::filesystem::file_size(path)); }

void Fail(const char* what, const char* path) {
    std::fprintf(stderr, "error: %s %s: %s\n", what, path, std::strerror(errno));
    std::exit(1);
}

// The baselines: create or truncate, write everything, sync, close; and open, read
// everything, close.
void WriteAndSync(const char* path, const std::vector<std::uint8_t>& bytes) {
    const int file = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0)
        Fail("cannot create", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(file, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            Fail("cannot write", path);
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(file) != 0)
        Fail("cannot sync", path);
    ::close(file);
}

void ReadWhole(const char* path, std::vector<std::uint8_t>& bytes) {
    const int file = ::open(path, O_RDONLY);
    if (file < 0)
        Fail("cannot open", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file, bytes.data() + done, bytes.size() - done);
        if (got < 0)
            Fail("cannot read", path);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    ::close(file);
    benchmark::DoNotOptimize(bytes.data());
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void WriteBaseline(benchmark::State& state, const char* sizedLike, const char* path) {
    const std::vector<std::uint8_t> bytes(FileBytes(sizedLike), '/');
    for (auto _ : state)
        WriteAndSync(path, bytes);
    SetBytes(state, bytes.size());
}

void ReadBaseline(benchmark::State& state, const char* path) {
    std::vector<std::uint8_t> bytes(FileBytes(path));
    for (auto _ : state)
        ReadWhole(path, bytes);
    SetBytes(state, bytes.size());
}

// Text save: the encode and the safe write (temporary file, flush, sync, rename).
void BM_SaveText(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    for (auto _ : state)
        window.Save("saved.txt", kTextFilter);
    SetBytes(state, FileBytes("saved.txt"));
}

void BM_SaveTextBaseline(benchmark::State& state) {
    WriteLargestText();
    WriteBaseline(state, kLargestText, "baseline.txt");
}

// Text load, from the pack the file names to the building shown in the window.
void BM_LoadText(benchmark::State& state) {
    WriteLargestText();
    WindowBench& window = Window();
    for (auto _ : state)
        window.Load(kLargestText, kTextFilter);
    showsLargestText = true;
    SetBytes(state, FileBytes(kLargestText));
}

void BM_LoadTextBaseline(benchmark::State& state) {
    WriteLargestText();
    ReadBaseline(state, kLargestText);
}

void BM_ExportSchematic(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    for (auto _ : state)
        window.Save(kLargestSchematic, kSchematicFilter);
    SetBytes(state, FileBytes(kLargestSchematic));
}

void BM_ExportSchematicBaseline(benchmark::State& state) {
    WriteExport(kLargestSchematic, kSchematicFilter);
    WriteBaseline(state, kLargestSchematic, "baseline.schematic");
}

// The import of an exported largest building through the Load button: "minecraft.zip" read
// and the ids mapped onto it.
void BM_ImportSchematic(benchmark::State& state) {
    WriteExport(kLargestSchematic, kSchematicFilter);
    for (auto _ : state)
        WindowWithLoaded(kLargestSchematic, kSchematicFilter);
    SetBytes(state, FileBytes(kLargestSchematic));
}

void BM_ImportSchematicBaseline(benchmark::State& state) {
    WriteExport(kLargestSchematic, kSchematicFilter);
    ReadBaseline(state, kLargestSchematic);
}

// The Sponge schematic of the largest building: the count, the varints and the gzip stream
// through the safe write, against writing and syncing as many bytes; the import (inflate,
// palette, varints, cells) against reading them.
void BM_ExportSponge(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    for (auto _ : state)
        window.Save(kLargestSponge, kSpongeFilter);
    SetBytes(state, FileBytes(kLargestSponge));
}

void BM_ExportSpongeBaseline(benchmark::State& state) {
    WriteExport(kLargestSponge, kSpongeFilter);
    WriteBaseline(state, kLargestSponge, "baseline.schem");
}

void BM_ImportSponge(benchmark::State& state) {
    WriteExport(kLargestSponge, kSpongeFilter);
    for (auto _ : state)
        WindowWithLoaded(kLargestSponge, kSpongeFilter);
    SetBytes(state, FileBytes(kLargestSponge));
}

void BM_ImportSpongeBaseline(benchmark::State& state) {
    WriteExport(kLargestSponge, kSpongeFilter);
    ReadBaseline(state, kLargestSponge);
}

// The Litematica schematic of the largest building: the count, the bit packing and the gzip
// stream through the safe write, against writing and syncing as many bytes; the import
// (inflate, palette, unpacking, placing the region) against reading them.
void BM_ExportLitematic(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    for (auto _ : state)
        window.Save(kLargestLitematic, kLitematicFilter);
    SetBytes(state, FileBytes(kLargestLitematic));
}

void BM_ExportLitematicBaseline(benchmark::State& state) {
    WriteExport(kLargestLitematic, kLitematicFilter);
    WriteBaseline(state, kLargestLitematic, "baseline.litematic");
}

void BM_ImportLitematic(benchmark::State& state) {
    WriteExport(kLargestLitematic, kLitematicFilter);
    for (auto _ : state)
        WindowWithLoaded(kLargestLitematic, kLitematicFilter);
    SetBytes(state, FileBytes(kLargestLitematic));
}

void BM_ImportLitematicBaseline(benchmark::State& state) {
    WriteExport(kLargestLitematic, kLitematicFilter);
    ReadBaseline(state, kLargestLitematic);
}

// The bytes the building's cells take in memory, as the building stores them.
std::size_t CellBytes(const Editor& editor) { return editor.grid.CellCount() * sizeof(*editor.grid.Layer(0)); }

// The New button with the largest size while a largest building is open, as a user starts over.
void BM_NewLargest(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    for (auto _ : state)
        window.PressNew();
    showsLargestText = false;
    SetBytes(state, CellBytes(window.State()));
}

void BM_NewLargestBaseline(benchmark::State& state) {
    const std::size_t size = Building(kMaxGridWidth, kMaxGridLength, kMaxGridHeight).CellCount() * sizeof(StoredCode);
    const std::unique_ptr<std::uint8_t[]> cells(new std::uint8_t[size]);
    // The pages are had once beforehand: the baseline is the clearing alone.
    std::memset(cells.get(), 0, size);
    for (auto _ : state) {
        std::memset(cells.get(), 0, size);
        benchmark::DoNotOptimize(cells.get());
        benchmark::ClobberMemory();
    }
    SetBytes(state, size);
}

// Each benchmark for the steady state and, as BM_X/first, for one run in a fresh process.
#define STEADY_AND_FIRST(function)                                                                  \
    BENCHMARK(function)->Unit(benchmark::kMillisecond)->UseRealTime();                              \
    BENCHMARK(function)->Name(#function "/first")->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime()

STEADY_AND_FIRST(BM_SaveText);
STEADY_AND_FIRST(BM_SaveTextBaseline);
STEADY_AND_FIRST(BM_LoadText);
STEADY_AND_FIRST(BM_LoadTextBaseline);
STEADY_AND_FIRST(BM_ExportSchematic);
STEADY_AND_FIRST(BM_ExportSchematicBaseline);
STEADY_AND_FIRST(BM_ImportSchematic);
STEADY_AND_FIRST(BM_ImportSchematicBaseline);
STEADY_AND_FIRST(BM_ExportSponge);
STEADY_AND_FIRST(BM_ExportSpongeBaseline);
STEADY_AND_FIRST(BM_ImportSponge);
STEADY_AND_FIRST(BM_ImportSpongeBaseline);
STEADY_AND_FIRST(BM_ExportLitematic);
STEADY_AND_FIRST(BM_ExportLitematicBaseline);
STEADY_AND_FIRST(BM_ImportLitematic);
STEADY_AND_FIRST(BM_ImportLitematicBaseline);
STEADY_AND_FIRST(BM_NewLargest);
STEADY_AND_FIRST(BM_NewLargestBaseline);

// What the save and the export add to the writing: the encodings alone, and the two ways of
// writing with the same bytes.
void BM_EncodeBuildingText(benchmark::State& state) {
    const Editor& editor = WindowWithLargestText().State();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBuildingFile(editor.grid, "stackmason.zip").size);
}
BENCHMARK(BM_EncodeBuildingText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeSchematic(benchmark::State& state) {
    const Editor& editor = WindowWithLargestText().State();
    const ExportedBlocks blocks = ExportedBlocksOf(editor.selector);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeSchematic(editor.grid, blocks).size);
}
BENCHMARK(BM_EncodeSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FwriteTextBytes(benchmark::State& state) {
    WriteLargestText();
    const std::vector<std::uint8_t> bytes(FileBytes(kLargestText), '/');
    for (auto _ : state) {
        std::FILE* file = std::fopen("baseline.txt", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_FwriteTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SafeWriteTextBytes(benchmark::State& state) {
    WindowBench& window = WindowWithLargestText();
    const std::vector<std::uint8_t> bytes(FileBytes(kLargestText), '/');
    for (auto _ : state)
        SaveFileReporting(window.State().dialogs, "safe.txt", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_SafeWriteTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Counting the codes of the largest building (the material list and the Sponge export's
// palette): all air and mostly air, read against random blocks, should cost the same.
Building LargestOf(double airOdds) {
    Building grid(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    std::mt19937 random(5);
    std::bernoulli_distribution air(airOdds);
    if (airOdds < 1.0)
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                for (int x = 1; x <= grid.Width(); ++x)
                    grid.SetCell(x, y, h, air(random) ? 0 : 1 + static_cast<BlockCode>(random() % 80));
    return grid;
}

void CountCodes(benchmark::State& state, double airOdds) {
    const Building grid = LargestOf(airOdds);
    for (auto _ : state) {
        CodeCounts counts;
        counts.AddBuilding(grid);
        benchmark::DoNotOptimize(counts.Of(0));
    }
    SetBytes(state, grid.CellCount() * sizeof(StoredCode));
}

void BM_CountCodesRandom(benchmark::State& state) { CountCodes(state, 1.0 / 81); }
void BM_CountCodesMostlyAir(benchmark::State& state) { CountCodes(state, 0.99); }
void BM_CountCodesAllAir(benchmark::State& state) { CountCodes(state, 1.0); }
BENCHMARK(BM_CountCodesRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountCodesMostlyAir)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountCodesAllAir)->Unit(benchmark::kMillisecond);

}  // namespace bench
}  // namespace stackmason

int main(int argc, char** argv) {
    stackmason::bench::EnterWorkingFolder("stackmason-files-bench");
    const int result = stackmason::bench::RunOffscreenWindowBenchmarks(argc, argv);
    stackmason::bench::LeaveWorkingFolder();
    return result;
}
