#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/support/BenchEditors.h"
#include "tests/support/TempFolder.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"
#include "editor/files/SpongeFiles.h"
#include "editor/model/BuildingOperations.h"

// Save, load, export, import and New of the largest building, 512 x 512 x 256 cells of a
// seeded mix of 80 blocks. Each BM_X is read side by side with its BM_XBaseline, the plain
// system operation on as many bytes in the same folder (bench/ratios.sh prints the ratios).
// The folder lies under TMPDIR (else /tmp), on a disk, so that the syncs compare like with
// like; do not point TMPDIR at a RAM disk.

namespace stackmason {
namespace bench {

const std::filesystem::path& WorkingFolder() { return test::ProcessTempFolder(); }

// The largest building, loaded from its text in a working folder of its own.
BenchEditor& LargestBuilding() {
    static BenchEditor* bench = [] {
        std::filesystem::current_path(WorkingFolder());
        auto* made = new BenchEditor;
        LoadLargestBuilding(*made);
        return made;
    }();
    return *bench;
}

// The files the operations write, made once by the operation itself when a benchmark needs
// one before its own has run.
void SaveLargestText(BenchEditor& bench) {
    bench.dialogs.choice = {"largest.txt", kTextFilter};
    SaveBuilding(bench.editor, false);
}

void ExportLargestSchematic(BenchEditor& bench) {
    FillMixedSelector(bench.editor);
    ExportSchematic(bench.editor, "largest.schematic");
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

// Text save: the encode and the safe write (temporary file, flush, sync, rename).
void BM_SaveText(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    for (auto _ : state)
        SaveLargestText(bench);
    SetBytes(state, FileBytes("largest.txt"));
}
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveTextBaseline(benchmark::State& state) {
    SaveLargestText(LargestBuilding());
    const std::vector<std::uint8_t> bytes(FileBytes("largest.txt"), '/');
    for (auto _ : state)
        WriteAndSync("baseline.txt", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_SaveTextBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// Without the sync: what handing the bytes to the page cache costs.
void BM_FwriteTextBytes(benchmark::State& state) {
    SaveLargestText(LargestBuilding());
    const std::vector<std::uint8_t> bytes(FileBytes("largest.txt"), '/');
    for (auto _ : state) {
        std::FILE* file = std::fopen("baseline.txt", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_FwriteTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The safe way of writing alone with the same bytes.
void BM_SafeWriteTextBytes(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    SaveLargestText(bench);
    const std::vector<std::uint8_t> bytes(FileBytes("largest.txt"), '/');
    for (auto _ : state)
        SaveFileReporting(bench.dialogs, "safe.txt", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_SafeWriteTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The encoding alone: what the save adds to the writing.
void BM_EncodeBuildingText(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBuildingFile(bench.editor.grid, kBenchPackName).size);
}
BENCHMARK(BM_EncodeBuildingText)->Unit(benchmark::kMillisecond)->UseRealTime();

// Text load through the Load button, up to the building shown.
void BM_LoadText(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    SaveLargestText(bench);
    for (auto _ : state)
        LoadBuilding(bench.editor);
    SetBytes(state, FileBytes("largest.txt"));
}
BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadTextBaseline(benchmark::State& state) {
    SaveLargestText(LargestBuilding());
    std::vector<std::uint8_t> bytes(FileBytes("largest.txt"));
    for (auto _ : state)
        ReadWhole("largest.txt", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_LoadTextBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    for (auto _ : state)
        ExportSchematic(bench.editor, "largest.schematic");
    SetBytes(state, FileBytes("largest.schematic"));
}
BENCHMARK(BM_ExportSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportSchematicBaseline(benchmark::State& state) {
    ExportLargestSchematic(LargestBuilding());
    const std::vector<std::uint8_t> bytes(FileBytes("largest.schematic"), 1);
    for (auto _ : state)
        WriteAndSync("baseline.schematic", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_ExportSchematicBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    const ExportedBlocks blocks = ExportedBlocksOf(bench.editor.selector);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeSchematic(bench.editor.grid, blocks).size);
}
BENCHMARK(BM_EncodeSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

// The import of an exported largest building into the loaded pack's ids, the building
// replaced.
void BM_ImportSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    ExportLargestSchematic(bench);
    for (auto _ : state)
        ImportSchematic(bench.editor, "largest.schematic");
    SetBytes(state, FileBytes("largest.schematic"));
}
BENCHMARK(BM_ImportSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportSchematicBaseline(benchmark::State& state) {
    ExportLargestSchematic(LargestBuilding());
    std::vector<std::uint8_t> bytes(FileBytes("largest.schematic"));
    for (auto _ : state)
        ReadWhole("largest.schematic", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_ImportSchematicBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// The Sponge schematic of the largest building: the count, the varints and the gzip stream
// through the safe write, against writing and syncing as many bytes; the import (inflate,
// palette, varints, cells) against reading them.
void ExportLargestSponge(BenchEditor& bench) {
    FillMixedSelector(bench.editor);
    ExportSponge(bench.editor, "largest.schem");
}

void BM_ExportSponge(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    for (auto _ : state)
        ExportSponge(bench.editor, "largest.schem");
    SetBytes(state, FileBytes("largest.schem"));
}
BENCHMARK(BM_ExportSponge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportSpongeBaseline(benchmark::State& state) {
    ExportLargestSponge(LargestBuilding());
    const std::vector<std::uint8_t> bytes(FileBytes("largest.schem"), 1);
    for (auto _ : state)
        WriteAndSync("baseline.schem", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_ExportSpongeBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// The import's whole work but reading the pack: the file read and checked, its cells
// mapped onto the loaded pack's blocks into a building off to the side.
void BM_ImportSponge(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    ExportLargestSponge(bench);
    const ImportedStateCodes codes(bench.editor.selector);
    const StateCodes codeOf = [&codes](const std::string& blockState) { return codes.CodeOf(blockState); };
    for (auto _ : state) {
        SpongeReadResult read = ReadSpongeFile("largest.schem", codeOf);
        if (!read.grid)
            bench.dialogs.ShowError(read.problem);
        benchmark::DoNotOptimize(StageSponge(std::move(*read.grid)).grid.Width());
    }
    SetBytes(state, FileBytes("largest.schem"));
}
BENCHMARK(BM_ImportSponge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportSpongeBaseline(benchmark::State& state) {
    ExportLargestSponge(LargestBuilding());
    std::vector<std::uint8_t> bytes(FileBytes("largest.schem"));
    for (auto _ : state)
        ReadWhole("largest.schem", bytes);
    SetBytes(state, bytes.size());
}
BENCHMARK(BM_ImportSpongeBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bytes the building's cells take in memory, as the building stores them.
std::size_t CellBytes(const Editor& editor) { return editor.grid.CellCount() * sizeof(*editor.grid.Layer(0)); }

// New with the largest size while a largest building is open, as a user starts over.
void BM_NewLargest(benchmark::State& state) {
    LargestBuilding();
    auto bench = std::make_unique<BenchEditor>();
    LoadLargestBuilding(*bench);
    for (auto _ : state)
        NewBuilding(bench->editor);
    SetBytes(state, CellBytes(bench->editor));
}
BENCHMARK(BM_NewLargest)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NewLargestBaseline(benchmark::State& state) {
    const std::size_t size = CellBytes(LargestBuilding().editor);
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
BENCHMARK(BM_NewLargestBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace bench
}  // namespace stackmason

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    std::error_code error;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), error);
    benchmark::Shutdown();
    return 0;
}
