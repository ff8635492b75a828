// The scene built as start-up builds it on a thread of its own, with its progress counted:
// the same scene as a build without progress, the stages shown as the screen words them, and
// a cancel that stops the build early.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <tuple>
#include <string>
#include <vector>

#include "preview/app/SceneBuild.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/LayerWalk.h"
#include "preview/scene/PreviewBuilding.h"
#include "tests/preview/PreviewTestFiles.h"

namespace orbitscope {
namespace {

// A building of stone, brick and glass, two thirds of it filled at random: tall enough for
// several bands of chunks.
std::string RandomBuildingFile(const std::string& name, const std::string& pack, int x, int y, int h) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(0, 5);
    std::vector<std::vector<std::string>> layers(static_cast<std::size_t>(h));
    for (auto& layer : layers)
        for (int row = 0; row < y; ++row) {
            std::string text;
            for (int column = 0; column < x; ++column)
                text += "/0/12"[static_cast<std::size_t>(cell(random) % 5)];
            layer.push_back(text);
        }
    return test::WritePreviewFile(name, x, y, h, pack, layers);
}

std::string StonePack() {
    return test::WritePack("threads.zip", {{"stone_001.png", test::SolidPng(16, 16, {90, 90, 90, 255})},
                                           {"brick_045.png", test::SolidPng(16, 16, {150, 60, 40, 255})},
                                           {"t.glass_020.png", test::SolidPng(16, 16, {0, 0, 255, 100})}});
}

TEST(SceneBuild, WithProgressTheSceneIsTheSameAndEveryChunkIsCounted) {
    const std::string file = RandomBuildingFile("threads.tmp", StonePack(), 40, 37, 70);
    Engine3D plain;
    const BlockFigures expected = BuildScene(plain, file, nullptr);
    ASSERT_GT(expected.faces, 0);

    Engine3D counted;
    BuildProgress progress;
    const BlockFigures built = BuildScene(counted, file, &progress);
    EXPECT_EQ(built.instances, expected.instances);
    EXPECT_EQ(built.faces, expected.faces);
    EXPECT_EQ(counted.StaticGeometryQuads(0), plain.StaticGeometryQuads(0));
    EXPECT_EQ(counted.StaticGeometryChunkCount(0), plain.StaticGeometryChunkCount(0));
    EXPECT_EQ(counted.StaticGeometryBytes(0), plain.StaticGeometryBytes(0));
    const BuildProgress::Snapshot last = progress.Now();
    EXPECT_EQ(last.stage, BuildStage::Chunks);
    EXPECT_GT(last.done, 0);
    EXPECT_EQ(last.done, last.total);
}

TEST(SceneBuild, ReadingCountsTheFilesBytes) {
    const std::string file = RandomBuildingFile("reading.tmp", StonePack(), 9, 8, 7);
    BuildProgress progress;
    const PreviewBuilding building = ReadPreviewFile(file, &progress);
    EXPECT_EQ(building.grid.Width(), 9);
    const BuildProgress::Snapshot read = progress.Now();
    EXPECT_EQ(read.stage, BuildStage::Reading);
    EXPECT_EQ(read.total, static_cast<std::int64_t>(std::filesystem::file_size(file)));
    EXPECT_EQ(read.done, read.total);
}

TEST(SceneBuild, ACancelledBuildEndsWithoutBlocks) {
    const std::string file = RandomBuildingFile("cancelled.tmp", StonePack(), 20, 20, 20);
    BuildProgress progress;
    progress.Cancel();
    Engine3D engine;
    const BlockFigures built = BuildScene(engine, file, &progress);
    EXPECT_EQ(built.instances, 0);
    EXPECT_EQ(engine.StaticGeometryFaces(0), 0);
}

// A random building of four block types over an odd number of layers and sizes that are no
// multiple of the chunk's side, some cells holding codes without a template.
stackmason::Building RandomGrid(std::mt19937& random, int x, int y, int h) {
    stackmason::Building grid(x, y, h);
    std::uniform_int_distribution<int> code(-2, 9);
    std::bernoulli_distribution filled(0.3);
    for (int l = 1; l <= h; ++l)
        for (int j = 1; j <= y; ++j)
            for (int i = 1; i <= x; ++i)
                if (filled(random))
                    grid.SetCell(i, j, l, code(random));
    return grid;
}

BlockTemplates FourTemplates() {
    BlockTemplates templates;
    templates.textureSize = 16;
    templates.templates.resize(4);
    templates.templates[2].blended = true;
    return templates;
}

TEST(SceneBuild, TheLayersWalkedOnThreadsComeInTheWalksOrder) {
    std::mt19937 random(5);
    WorkerPool pool(3);
    const BlockKinds kinds(FourTemplates());
    for (int round = 0; round < 4; ++round) {
        const stackmason::Building grid = RandomGrid(random, 7 + round * 9, 5 + round * 7, 3 + round * 11);
        std::vector<PlacedBlock> expected;
        ForEachBlockInstance(grid, kinds, [&](stackmason::BlockCode code, const glm::vec3& position, CubeFaceMask faces) {
            expected.push_back({position, code, faces});
        });
        std::vector<PlacedBlock> walked;
        int layers = 0;
        WalkLayersOnPool(pool, grid, kinds, nullptr, [&](std::span<const PlacedBlock> blocks) {
            walked.insert(walked.end(), blocks.begin(), blocks.end());
            ++layers;
        });
        EXPECT_EQ(layers, grid.Height());
        ASSERT_EQ(walked.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < walked.size(); ++i) {
            EXPECT_EQ(walked[i].position, expected[i].position);
            EXPECT_EQ(walked[i].code, expected[i].code);
            EXPECT_EQ(walked[i].faces, expected[i].faces);
        }
    }
}

TEST(SceneBuild, TheCensusFindsTheChunksAndCodesOfTheCells) {
    std::mt19937 random(9);
    WorkerPool pool(2);
    const BlockKinds kinds(FourTemplates());
    for (int round = 0; round < 6; ++round) {
        const stackmason::Building grid = RandomGrid(random, 3 + round * 8, 20 - round * 3, 1 + round * 7);
        std::set<std::tuple<int, int, int>> chunks;
        std::vector<bool> codes(5, false);
        for (int l = 1; l <= grid.Height(); ++l)
            for (int j = 1; j <= grid.Length(); ++j)
                for (int i = 1; i <= grid.Width(); ++i) {
                    const int code = grid.Cell(i, j, l);
                    if (code < 1 || code > 4)
                        continue;
                    chunks.insert({(i - 1) / 16, (j - 1) / 16, (l - 1) / 16});
                    codes[static_cast<std::size_t>(code)] = true;
                }
        const BuildingCensus census = TakeCensus(pool, grid, kinds);
        EXPECT_EQ(census.chunksWithBlocks, static_cast<std::int64_t>(chunks.size())) << "round " << round;
        EXPECT_EQ(census.codesInUse, codes) << "round " << round;
    }
}

TEST(SceneBuild, AStoppedPackLoadDecodesNoFurtherPicture) {
    int asked = 0;
    const BlockTemplates templates =
        LoadBlockTemplates(StonePack(), 64, 512, [&asked] { return ++asked > 1; });
    ASSERT_EQ(templates.Count(), 3);
    EXPECT_TRUE(templates.templates[0].textured);
    EXPECT_FALSE(templates.templates[1].textured);
    EXPECT_FALSE(templates.templates[2].textured);
    EXPECT_EQ(templates.templates[2].entryName, "t.glass_020.png");
    EXPECT_TRUE(templates.templates[2].blended);
}

TEST(SceneBuild, TheScreenWordsEachStage) {
    EXPECT_EQ(ProgressViewOf({BuildStage::Reading, 50, 100}).text, "Reading building");
    EXPECT_EQ(ProgressViewOf({BuildStage::Pictures, 0, 0}).text, "Loading pictures");
    EXPECT_EQ(ProgressViewOf({BuildStage::Chunks, 1234, 16416}).text, "Building chunks 1,234 / 16,416");
    EXPECT_EQ(ProgressViewOf({BuildStage::Uploading, 0, 0}).text, "Uploading");
    // The bar never runs back from one stage to the next, and never past its end.
    double last = -1.0;
    for (const BuildProgress::Snapshot& now :
         std::vector<BuildProgress::Snapshot>{{BuildStage::Starting, 0, 0},
                                              {BuildStage::Reading, 0, 1000},
                                              {BuildStage::Reading, 1000, 1000},
                                              {BuildStage::Pictures, 0, 0},
                                              {BuildStage::Chunks, 0, 0},
                                              {BuildStage::Chunks, 0, 500},
                                              {BuildStage::Chunks, 700, 500},
                                              {BuildStage::Uploading, 0, 0},
                                              {BuildStage::Done, 0, 0}}) {
        const double fraction = ProgressViewOf(now).fraction;
        EXPECT_GE(fraction, last);
        EXPECT_LE(fraction, 1.0);
        last = fraction;
    }
    EXPECT_EQ(last, 1.0);
}

}  // namespace
}  // namespace orbitscope
