// Scene build figures for the largest building and a random one, and the time of one frame.
// The frame benchmark needs a display: run this program under xvfb-run for it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <epoxy/gl.h>

#include "preview/app/Controls.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewScene.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace orbitscope {
namespace {

std::string BenchPath(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() / "orbitscope_bench";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// Eight block types, the last one alpha-blended.
std::string WriteBenchPack() {
    std::vector<stackmason::test::ArchiveEntry> entries;
    for (int i = 1; i <= 8; ++i) {
        const std::string name = (i == 8 ? "t.glass_" : "block_") + std::to_string(100 + i) + ".png";
        entries.push_back({name, stackmason::test::EncodePng(stackmason::test::CoordinateImage(16, 16))});
    }
    const std::string path = BenchPath("bench.zip");
    stackmason::test::WriteFile(path, stackmason::test::MakeZip(entries));
    return path;
}

// Writes the building row by row, so that making the file takes no memory to speak of.
template <class CellOf>
std::string WriteBuilding(const std::string& name, int width, int length, int height, const std::string& pack, CellOf cellOf) {
    const std::string path = BenchPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << width << 'x' << length << 'x' << height << ';' << pack << "\r\n--------\r\n";
    std::string row(static_cast<std::size_t>(width), '/');
    for (int h = 1; h <= height; ++h) {
        out << "layer " << h << "\r\n";
        for (int y = 1; y <= length; ++y) {
            for (int x = 1; x <= width; ++x)
                row[static_cast<std::size_t>(x - 1)] = static_cast<char>(47 + cellOf(x, y, h));
            out << row << "\r\n";
        }
        out << "\r\n";
    }
    return path;
}

const std::string& Pack() {
    static const std::string path = WriteBenchPack();
    return path;
}

const std::string& SolidBuilding() {
    static const std::string path = WriteBuilding("solid.tmp", 512, 512, 256, Pack(), [](int, int, int) { return 1; });
    return path;
}

const std::string& RandomBuilding() {
    static const std::string path = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> cell(-7, 8);  // about half air
        return WriteBuilding("random.tmp", 128, 128, 64, Pack(), [&](int, int, int) { return std::max(cell(random), 0); });
    }();
    return path;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// From the preview file to built static geometry, as start-up does it, without a screen.
void BuildScene(benchmark::State& state, const std::string& path) {
    BlockFigures figures;
    std::size_t bytes = 0;
    for (auto _ : state) {
        Engine3D engine;
        PreviewBuilding building = ReadPreviewFile(path);
        CreatePreviewCamera(engine);
        CreateLightAndGround(engine, building, GroundImagePng());
        figures = BuildBlocks(engine, building);
        bytes = engine.StaticGeometryBytes(0);
    }
    state.counters["faces"] = static_cast<double>(figures.faces);
    state.counters["instances"] = static_cast<double>(figures.instances);
    state.counters["vertex_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = PeakMegabytes();
}

void BM_SceneBuildSolid512x512x256(benchmark::State& state) { BuildScene(state, SolidBuilding()); }
void BM_SceneBuildRandom128x128x64(benchmark::State& state) { BuildScene(state, RandomBuilding()); }

void BM_FrameRandom128x128x64(benchmark::State& state) {
    SdlScreen screen;
    if (std::getenv("DISPLAY") == nullptr || !screen.InitVideo() || !screen.OpenWindow(1024, 768, "bench", 0) ||
        !screen.OpenScreen(0)) {
        state.SkipWithError("no display: run under xvfb-run -a");
        return;
    }
    Engine3D engine;
    if (!engine.AttachScreen(1024, 768)) {
        state.SkipWithError("no OpenGL 3.3 core");
        return;
    }
    PreviewBuilding building = ReadPreviewFile(RandomBuilding());
    CreatePreviewCamera(engine);
    CreateLightAndGround(engine, building, GroundImagePng());
    AimPreviewCamera(engine);
    const BlockFigures figures = BuildBlocks(engine, building);
    engine.RenderWorld();  // the first frame moves the geometry to the card
    glFinish();
    for (auto _ : state) {
        engine.RenderWorld();
        glFinish();
    }
    state.counters["faces"] = static_cast<double>(figures.faces);
    state.counters["batches"] = engine.StaticGeometryBatchCount(0);
}

// The solid building first, so that the peak memory it reports is its own.
BENCHMARK(BM_SceneBuildSolid512x512x256)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SceneBuildRandom128x128x64)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FrameRandom128x128x64)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace orbitscope
