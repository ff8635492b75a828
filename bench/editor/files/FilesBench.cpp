#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "common/Constants.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"
#include "editor/model/BuildingOperations.h"
#include "tests/editor/support/FakePorts.h"

// Save, load, export and import of the largest building, 512 x 512 x 256 cells of a mix of
// blocks, each next to plain fwrite or fread of as many bytes in the same folder.

namespace stackmason {
namespace bench {

// Always chooses the same file; errors end the benchmark.
class FixedChoiceDialogs : public DialogPort {
public:
    void ShowError(const std::string& text) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
        std::exit(1);
    }
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<FileChoice> AskOpenFile(const FileRequest&) override { return choice; }
    std::optional<FileChoice> AskSaveFile(const FileRequest&) override { return choice; }
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { return true; }
    void ShowInfoWindow() override {}

    FileChoice choice;
};

struct BenchEditor {
    testing::CountingPainter painter;
    testing::FakeWindow window;
    FixedChoiceDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

const std::filesystem::path& WorkingFolder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("stackmason-files-bench-" + std::to_string(::getpid()));
    return folder;
}

// 80 blocks whose ids repeat some (wool), as a loaded pack would give them. Loading a text
// file reloads the pack it names, which this folder does not hold, so the benchmarks that
// need the ids set them again.
void FillMixedSelector(Editor& editor) {
    editor.selector.Clear();
    editor.selector.Add("Air", Image(32, 32));
    for (int code = 1; code <= 80; ++code) {
        editor.selector.Add("block", Image(32, 32));
        editor.selector.SetData(code, code >= 13 && code <= 28 ? 35 : code % 60 + 1);
    }
}

// The largest building, cells of codes 0 to 80, in a working folder of its own.
BenchEditor& LargestBuilding() {
    static BenchEditor* bench = [] {
        std::filesystem::create_directories(WorkingFolder());
        std::filesystem::current_path(WorkingFolder());
        auto* made = new BenchEditor;
        Editor& editor = made->editor;
        editor.texturePackName = "no-such-pack.zip";
        FillMixedSelector(editor);
        editor.widthSpin.SetValue(kMaxGridWidth);
        editor.lengthSpin.SetValue(kMaxGridLength);
        editor.heightSpin.SetValue(kMaxGridHeight);
        NewBuilding(editor);
        std::mt19937 random(1);
        for (int x = 1; x <= kMaxGridWidth; ++x)
            for (int y = 1; y <= kMaxGridLength; ++y)
                for (int h = 1; h <= kMaxGridHeight; ++h)
                    editor.grid.At(x, y, h) = static_cast<BlockCode>(random() % 81);
        return made;
    }();
    return *bench;
}

std::uint64_t TextBytes() {
    return BuildingFileSize(kMaxGridWidth, kMaxGridLength, kMaxGridHeight, std::string("512x512x256;").size() + 16);
}

std::uint64_t SchematicBytes() { return SchematicFileSize(kMaxGridWidth, kMaxGridLength, kMaxGridHeight); }

void FwriteFile(const char* path, const std::vector<std::uint8_t>& bytes, bool sync) {
    std::FILE* file = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
    if (sync)
        ::fsync(::fileno(file));
    std::fclose(file);
}

void FreadFile(const char* path, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
}

void BM_FwriteTextBytes(benchmark::State& state) {
    LargestBuilding();
    const std::vector<std::uint8_t> bytes(TextBytes(), '/');
    for (auto _ : state)
        FwriteFile("baseline.txt", bytes, state.range(0) != 0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FwriteTextBytes)->ArgName("fsync")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The safe way of writing alone (temporary file, flush, sync, rename) with the same bytes.
void BM_SafeWriteTextBytes(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    const std::vector<std::uint8_t> bytes(TextBytes(), '/');
    for (auto _ : state)
        SaveFileReporting(bench.dialogs, "safe.txt", bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SafeWriteTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveBuilding(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    bench.dialogs.choice = {"largest.txt", kTextFilter};
    for (auto _ : state)
        SaveBuilding(bench.editor, false);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TextBytes()));
}
BENCHMARK(BM_SaveBuilding)->Unit(benchmark::kMillisecond)->UseRealTime();

// The encoding alone: what the save adds to the writing.
void BM_EncodeBuildingText(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBuildingFile(bench.editor.grid, "stackmason.zip").size);
}
BENCHMARK(BM_EncodeBuildingText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FreadTextBytes(benchmark::State& state) {
    LargestBuilding();
    std::vector<std::uint8_t> bytes(TextBytes());
    FwriteFile("baseline.txt", bytes, false);
    for (auto _ : state)
        FreadFile("baseline.txt", bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FreadTextBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadBuilding(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    bench.dialogs.choice = {"largest.txt", kTextFilter};
    SaveBuilding(bench.editor, false);
    for (auto _ : state)
        LoadBuilding(bench.editor);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TextBytes()));
}
BENCHMARK(BM_LoadBuilding)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FwriteSchematicBytes(benchmark::State& state) {
    LargestBuilding();
    const std::vector<std::uint8_t> bytes(SchematicBytes(), 1);
    for (auto _ : state)
        FwriteFile("baseline.schematic", bytes, state.range(0) != 0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FwriteSchematicBytes)->ArgName("fsync")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    for (auto _ : state)
        ExportSchematic(bench.editor, "largest.schematic");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * SchematicBytes()));
}
BENCHMARK(BM_ExportSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    const ExportedBlocks blocks = ExportedBlocksOf(bench.editor.selector);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeSchematic(bench.editor.grid, blocks).size);
}
BENCHMARK(BM_EncodeSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FreadSchematicBytes(benchmark::State& state) {
    LargestBuilding();
    std::vector<std::uint8_t> bytes(SchematicBytes());
    FwriteFile("baseline.schematic", bytes, false);
    for (auto _ : state)
        FreadFile("baseline.schematic", bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FreadSchematicBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The import into the loaded pack's ids, the building replaced.
void BM_ImportSchematic(benchmark::State& state) {
    BenchEditor& bench = LargestBuilding();
    FillMixedSelector(bench.editor);
    ExportSchematic(bench.editor, "largest.schematic");
    for (auto _ : state)
        ImportSchematic(bench.editor, "largest.schematic");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * SchematicBytes()));
}
BENCHMARK(BM_ImportSchematic)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace bench
}  // namespace stackmason

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code error;
    std::filesystem::remove_all(stackmason::bench::WorkingFolder(), error);
    benchmark::Shutdown();
    return 0;
}
