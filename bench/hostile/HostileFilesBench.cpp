// Every hostile file of tests/support/HostileFiles (each at most 1 MB) through the load paths
// that meet outside files: the editor's Load of each schematic format, its pack load
// (start-up, Load and Select TexturePack all go through LoadTexturePack; this runs Select
// TexturePack), and
// Orbitscope's start-up from the preview file to the built scene, without a window. Any file
// of at most 1 MB must be taken or refused within 2 seconds on a 2-core machine; a run that
// takes longer ends in an error, and the counter "of_goal" gives the share of the 2 seconds
// used.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/model/Editor.h"
#include "editor/packs/TexturePackLoader.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewBuilding.h"
#include "preview/scene/PreviewScene.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestArchives.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;
constexpr double kGoalSeconds = 2.0;

// The files live in a folder of their own, which is the current directory, as the editor
// opens packs from there.
const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path path = test::ProcessTempFolder();
        fs::current_path(path);
        return path;
    }();
    return folder;
}

std::string Write(const test::HostileFile& file, const char* extension) {
    const std::string name = file.name + extension;
    test::WriteFile((Folder() / name).string(), file.bytes);
    return name;
}

struct BenchEditor {
    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Runs load once per iteration and reports the slowest run against the goal.
template <typename Load>
void Measure(benchmark::State& state, std::size_t fileBytes, Load load) {
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        load();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
    }
    state.counters["file_KB"] = static_cast<double>(fileBytes) / 1024.0;
    state.counters["of_goal"] = slowest / kGoalSeconds;
    if (slowest > kGoalSeconds)
        state.SkipWithError("took longer than the 2 s goal");
}

void EditorLoadsSchematic(benchmark::State& state, const test::HostileFile& file) {
    const std::string path = Write(file, ".schematic");
    BenchEditor bench;
    Measure(state, file.bytes.size(), [&] {
        bench.dialogs.Choose(path, kSchematicFilter);
        LoadBuilding(bench.editor);
    });
    state.counters["refused"] = bench.dialogs.errors.empty() ? 0 : 1;
}

void EditorLoadsSponge(benchmark::State& state, const test::HostileFile& file) {
    const std::string path = Write(file, ".schem");
    BenchEditor bench;
    Measure(state, file.bytes.size(), [&] {
        bench.dialogs.Choose(path, kSpongeFilter);
        LoadBuilding(bench.editor);
    });
    state.counters["refused"] = bench.dialogs.errors.empty() ? 0 : 1;
}

void EditorLoadsLitematic(benchmark::State& state, const test::HostileFile& file) {
    const std::string path = Write(file, ".litematic");
    BenchEditor bench;
    Measure(state, file.bytes.size(), [&] {
        bench.dialogs.Choose(path, kLitematicFilter);
        LoadBuilding(bench.editor);
    });
    state.counters["refused"] = bench.dialogs.errors.empty() ? 0 : 1;
}

void EditorSelectsPack(benchmark::State& state, const test::HostileFile& file) {
    const std::string path = Write(file, ".zip");
    BenchEditor bench;
    Measure(state, file.bytes.size(), [&] {
        bench.dialogs.Choose(path, 0);
        SelectTexturePack(bench.editor);
    });
    state.counters["blocks"] = bench.editor.selector.Count() - 1;
}

// A building of a row of each of the first eight block types, naming the pack.
std::string WritePreviewFile(const std::string& pack) {
    const std::string path = (Folder() / ("preview-" + pack + ".tmp")).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "8x2x1;" << pack << "\r\n------\r\nlayer 1\r\n01234567\r\n////////\r\n\r\n";
    return path;
}

void OrbitscopeBuildsScene(benchmark::State& state, const test::HostileFile& file) {
    const std::string preview = WritePreviewFile(Write(file, ".zip"));
    orbitscope::BlockFigures figures;
    Measure(state, file.bytes.size(), [&] {
        orbitscope::Engine3D engine;
        orbitscope::PreviewBuilding building = orbitscope::ReadPreviewFile(preview);
        orbitscope::CreateLightAndGround(engine, building, orbitscope::GroundImagePng());
        figures = orbitscope::BuildBlocks(engine, building);
    });
    state.counters["templates"] = figures.templates;
    state.counters["texture_size"] = figures.textureSize;
}

void RegisterAll() {
    // Kept for the whole run: the benchmarks refer to them.
    static const std::vector<test::HostileFile> schematics = test::HostileSchematics();
    static const std::vector<test::HostileFile> packs = test::HostilePacks();
    static const std::vector<test::HostileFile> sponges = test::HostileSpongeSchematics();
    static const std::vector<test::HostileFile> litematics = test::HostileLitematics();
    const auto add = [](const std::string& name, auto run, const test::HostileFile& file) {
        benchmark::RegisterBenchmark(name.c_str(), [run, &file](benchmark::State& state) { run(state, file); })
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    };
    for (const test::HostileFile& file : schematics)
        add("EditorLoadSchematic/" + file.name, EditorLoadsSchematic, file);
    for (const test::HostileFile& file : sponges)
        add("EditorLoadSponge/" + file.name, EditorLoadsSponge, file);
    for (const test::HostileFile& file : litematics)
        add("EditorLoadLitematic/" + file.name, EditorLoadsLitematic, file);
    for (const test::HostileFile& file : packs)
        add("EditorSelectPack/" + file.name, EditorSelectsPack, file);
    for (const test::HostileFile& file : packs)
        add("OrbitscopeScene/" + file.name, OrbitscopeBuildsScene, file);
}

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    stackmason::RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(stackmason::Folder(), error);
    return 0;
}
