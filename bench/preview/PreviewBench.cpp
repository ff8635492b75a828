// Orbitscope's scene build and frame for six buildings: an empty one (ground only), a town
// of 16 hollow houses with roofs and a half-filled random building, all 128 x 128 x 64, and
// the solid, the half-filled random and the empty 512 x 512 x 256 building. Frames are drawn from the
// home camera and from a camera high above the middle looking down, through Mesa under
// xvfb-run at 1024 x 768. Run one benchmark per process (--benchmark_filter) for the peak
// memory of that building alone. The building files stay in the temporary folder for the
// next run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <epoxy/gl.h>

#include "bench/support/PeakMemory.h"
#include "preview/PreviewConfig.h"
#include "preview/app/Controls.h"
#include "preview/app/SceneBuild.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewScene.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace orbitscope {
namespace {

std::string BenchPath(const std::string& name) { return stackmason::test::ProcessTempFile(name); }

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

const std::string& Pack() {
    static const std::string path = WriteBenchPack();
    return path;
}

using CellOf = std::function<int(int x, int y, int layer)>;

// Writes the building row by row, so that making the file takes no memory to speak of. The
// file appears under its name only once it is whole.
void WriteBuilding(const std::string& path, int width, int length, int height, const CellOf& cellOf) {
    const std::string part = path + ".part";
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << width << 'x' << length << 'x' << height << ';' << Pack() << "\r\n--------\r\n";
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
    out.close();
    std::filesystem::rename(part, path);
}

// Half the cells air, the rest one of the eight types at random.
CellOf HalfFilledRandom() {
    auto random = std::make_shared<std::mt19937>(7);
    return [random](int, int, int) { return std::max(std::uniform_int_distribution<int>(-7, 8)(*random), 0); };
}

// 4 x 4 houses of 24 x 24 cells, 32 cells apart: brick walls 12 layers high with glass
// windows, a floor of planks and a stepped roof of tiles.
int TownCell(int x, int y, int layer) {
    const int u = (x - 1) % 32 - 4;
    const int v = (y - 1) % 32 - 4;
    if (u < 0 || v < 0 || u >= 24 || v >= 24)
        return 0;
    const bool wall = u == 0 || v == 0 || u == 23 || v == 23;
    if (layer == 1)
        return 3;  // floor
    if (layer <= 12) {
        if (!wall)
            return 0;
        const bool window = layer >= 5 && layer <= 8 && (u + v) % 6 >= 2 && (u + v) % 6 <= 4;
        return window ? 8 : 1;
    }
    const int step = layer - 13;  // the roof narrows by a cell a layer
    if (step >= 12)
        return 0;
    const bool inside = u >= step && v >= step && u < 24 - step && v < 24 - step;
    const bool rim = u == step || v == step || u == 23 - step || v == 23 - step;
    return inside && rim ? 5 : 0;
}

struct BenchBuilding {
    const char* file;
    int width, length, height;
    CellOf cells;
};

const BenchBuilding& BuildingOf(int building) {
    static const BenchBuilding buildings[] = {
        {"empty.tmp", 128, 128, 64, [](int, int, int) { return 0; }},
        {"town.tmp", 128, 128, 64, TownCell},
        {"random128.tmp", 128, 128, 64, HalfFilledRandom()},
        {"solid512.tmp", 512, 512, 256, [](int, int, int) { return 1; }},
        {"random512.tmp", 512, 512, 256, HalfFilledRandom()},
        {"empty512.tmp", 512, 512, 256, [](int, int, int) { return 0; }},
    };
    return buildings[building];
}

std::string PathOf(int building) {
    const BenchBuilding& shape = BuildingOf(building);
    const std::string path = BenchPath(shape.file);
    if (!std::filesystem::exists(path))
        WriteBuilding(path, shape.width, shape.length, shape.height, shape.cells);
    return path;
}

// The figures only this engine has; kept apart so that an older engine can be measured with
// the same benchmarks.
void EngineFigures(benchmark::State& state, const Engine3D& engine) {
    state.counters["quads"] = static_cast<double>(engine.StaticGeometryQuads(0));
    state.counters["chunks"] = engine.StaticGeometryChunkCount(0);
    state.counters["chunks_drawn"] = engine.ChunksDrawnLastFrame();
}

void BuildingFigures(benchmark::State& state, const Engine3D& engine, const BlockFigures& figures) {
    state.counters["faces"] = static_cast<double>(figures.faces);
    state.counters["instances"] = static_cast<double>(figures.instances);
    state.counters["gpu_MB"] = static_cast<double>(engine.StaticGeometryBytes(0)) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = stackmason::bench::PeakMegabytes();
    EngineFigures(state, engine);
}

// From the preview file to built static geometry, as start-up does it behind its progress
// screen (on every core, progress counted), without a screen.
void BM_SceneBuild(benchmark::State& state) {
    const std::string path = PathOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Engine3D engine;
        BuildProgress progress;
        const BlockFigures figures = BuildScene(engine, path, &progress);
        state.PauseTiming();
        BuildingFigures(state, engine, figures);
        state.ResumeTiming();
    }
}

enum Camera { kHome = 0, kAbove = 1 };

// Camera 0 home (aimed at the ground's centre) or high above the middle, looking down on
// the whole building.
void PlaceCamera(Engine3D& engine, int camera, const BenchBuilding& shape) {
    AimPreviewCamera(engine);
    if (camera == kHome)
        return;
    const float reach = 2.5f * static_cast<float>(std::max(shape.width, shape.length));
    engine.MoveCamera(0, {0.0f, 2.0f * static_cast<float>(shape.height) + reach, 0.0f}, Engine3D::Move::Absolute);
    engine.CameraLookAt(0, glm::vec3(0.0f));
}

// One frame drawn to the end (glFinish), after the first one has moved the geometry to the
// card; the time to that first frame, from reading the file on, is a counter of its own.
void BM_Frame(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    SdlScreen screen;
    if (std::getenv("DISPLAY") == nullptr || !screen.InitVideo() ||
        !screen.OpenWindow(config::kScreenWidth, config::kScreenHeight, "bench", 0) || !screen.OpenScreen(0)) {
        state.SkipWithError("no display: run under xvfb-run -a");
        return;
    }
    const std::string path = PathOf(which);
    const auto start = std::chrono::steady_clock::now();
    Engine3D engine;
    engine.AntialiasingMode(config::kAntialiasingMode);
    if (!engine.AttachScreen(config::kScreenWidth, config::kScreenHeight)) {
        state.SkipWithError("no OpenGL 3.3 core");
        return;
    }
    BuildProgress progress;
    const BlockFigures figures = BuildScene(engine, path, &progress);
    PlaceCamera(engine, static_cast<int>(state.range(1)), BuildingOf(which));
    engine.RenderWorld();  // the first frame moves the geometry to the card
    glFinish();
    state.counters["first_frame_s"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (auto _ : state) {
        engine.RenderWorld();
        glFinish();
    }
    BuildingFigures(state, engine, figures);
}

void Buildings(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"building"});
    for (int building = 0; building < 6; ++building)
        benchmark->Args({building});
}

void BuildingsAndCameras(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"building", "camera"});
    for (int building = 0; building < 6; ++building)
        for (int camera : {kHome, kAbove})
            benchmark->Args({building, camera});
}

// building: 0 empty, 1 town, 2 random 128 (all 128 x 128 x 64), 3 solid, 4 random, 5 empty
// (all 512 x 512 x 256); camera: 0 home, 1 above.
BENCHMARK(BM_SceneBuild)->Apply(Buildings)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Frame)->Apply(BuildingsAndCameras)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

}  // namespace
}  // namespace orbitscope
