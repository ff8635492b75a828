// The scene built as start-up builds it on a thread of its own, with its progress counted:
// the same scene as a build without progress, the stages shown as the screen words them, and
// a cancel that stops the build early.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "preview/app/SceneBuild.h"
#include "preview/engine/Engine3D.h"
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
