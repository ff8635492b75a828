#include <gtest/gtest.h>

#include <map>

#include "preview/engine/Engine3D.h"
#include "preview/scene/BlockPlacement.h"
#include "preview/scene/BlockTemplates.h"
#include "preview/scene/PreviewBuilding.h"
#include "preview/scene/PreviewScene.h"
#include "tests/preview/PreviewTestFiles.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestImages.h"

namespace orbitscope {
namespace {

using stackmason::BlockGrid;
using stackmason::Rgba;

BlockTemplates OpaqueTemplates(int count) {
    BlockTemplates templates;
    templates.textureSize = 16;
    templates.templates.resize(static_cast<std::size_t>(count));
    return templates;
}

std::map<std::tuple<float, float, float>, stackmason::BlockCode> Instances(const BlockGrid& grid, const BlockKinds& kinds) {
    std::map<std::tuple<float, float, float>, stackmason::BlockCode> found;
    ForEachBlockInstance(grid, kinds, [&](stackmason::BlockCode code, const glm::vec3& p, CubeFaceMask) {
        found[{p.x, p.y, p.z}] = code;
    });
    return found;
}

TEST(PreviewFile, ReadsHeaderAndCellsAndSurvivesOddFiles) {
    const std::string path = test::WritePreviewFile("two.tmp", 3, 2, 2, "pack.zip", {{"0/1", "///"}, {"/2/", "///"}});
    PreviewBuilding building = ReadPreviewFile(path);
    EXPECT_EQ(building.width, 3);
    EXPECT_EQ(building.length, 2);
    EXPECT_EQ(building.height, 2);
    EXPECT_EQ(building.packName, "pack.zip");
    EXPECT_EQ(building.grid.At(1, 1, 1), 1);
    EXPECT_EQ(building.grid.At(2, 1, 1), 0);
    EXPECT_EQ(building.grid.At(3, 1, 1), 2);
    EXPECT_EQ(building.grid.At(2, 1, 2), 3);

    PreviewBuilding missing = ReadPreviewFile("/nonexistent/preview.tmp");
    EXPECT_EQ(missing.width, 0);
    EXPECT_EQ(missing.height, 0);
    EXPECT_TRUE(missing.packName.empty());
    EXPECT_TRUE(ReadPreviewFile("").packName.empty());

    // X = 0 with layers: empty lines would count as rows; reading must still end.
    PreviewBuilding flat = ReadPreviewFile(test::WriteTempFile("flat.tmp", "0x5x3;p.zip\r\n-\r\nlayer 1\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(flat.width, 0);
    EXPECT_EQ(flat.height, 3);
    EXPECT_EQ(CountExposedFaces(flat.grid, BlockKinds(OpaqueTemplates(3))).total, 0);

    // Sizes far beyond a building, negative sizes, rows too long and binary junk.
    PreviewBuilding huge = ReadPreviewFile(test::WriteTempFile("huge.tmp", "99999x-4x70000;p\r\n-\r\nx\r\n\x01\x02\xff"));
    EXPECT_LE(huge.width, 512);
    EXPECT_EQ(huge.length, 0);
    EXPECT_LE(huge.height, 256);
    PreviewBuilding extraRows = ReadPreviewFile(test::WritePreviewFile("rows.tmp", 2, 1, 1, "p", {{"00", "11", "22"}}));
    EXPECT_EQ(extraRows.grid.At(1, 1, 1), 1);
    EXPECT_EQ(extraRows.grid.CellCount(), 3u * 2u * 2u);
}

TEST(BlockTemplates, OneTemplatePerEntryWithSizeClippingAndBlending) {
    const std::string path = test::WritePack(
        "templates.zip",
        {{"stone_001.png", test::SolidPng(16, 16, {100, 100, 100, 255})},
         {"strip_002.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(96, 16))},
         {"big_003.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(32, 32))},
         {"t.glass_020.png", test::SolidPng(16, 16, {0, 0, 255, 128})},
         {"T.glass_021.png", test::SolidPng(16, 16, {0, 0, 255, 128})},
         {"blocks/", {}},
         {"blocks/t.ice_079.png", test::SolidPng(8, 8, {0, 255, 255, 128})},
         {"broken_004.png", {'n', 'o', 'p', 'e'}}});
    const BlockTemplates templates = LoadBlockTemplates(path, 64, 512);
    ASSERT_EQ(templates.Count(), 8);
    EXPECT_EQ(templates.textureSize, 16);
    EXPECT_TRUE(templates.HasTemplate(1));
    EXPECT_TRUE(templates.HasTemplate(8));
    EXPECT_FALSE(templates.HasTemplate(0));
    EXPECT_FALSE(templates.HasTemplate(9));

    const auto& strip = templates.templates[1].picture;
    EXPECT_EQ(strip.Width(), 16);
    EXPECT_EQ(strip.Height(), 16);
    EXPECT_EQ(strip.Pixel(15, 3), (Rgba{15, 3, 7, 255}));
    const auto& big = templates.templates[2].picture;
    EXPECT_EQ(big.Width(), 16);
    EXPECT_EQ(big.Pixel(15, 15), (Rgba{15, 15, 7, 255}));
    EXPECT_EQ(templates.templates[6].picture.Width(), 8);  // smaller pictures stay as they are

    EXPECT_FALSE(templates.templates[0].blended);
    EXPECT_TRUE(templates.templates[3].blended);
    EXPECT_FALSE(templates.templates[4].blended);
    EXPECT_FALSE(templates.templates[6].blended);  // the stored name starts with the folder

    EXPECT_FALSE(templates.templates[5].textured);  // the folder keeps its place
    EXPECT_FALSE(templates.templates[7].textured);
    EXPECT_TRUE(templates.templates[6].textured);

    const std::string brokenFirst = test::WritePack(
        "broken_first.zip", {{"broken_001.png", {'x'}}, {"stone_002.png", test::SolidPng(32, 32, {1, 2, 3, 255})}});
    const BlockTemplates afterBroken = LoadBlockTemplates(brokenFirst, 64, 512);
    EXPECT_EQ(afterBroken.textureSize, 64);
    EXPECT_EQ(afterBroken.templates[1].picture.Width(), 32);
    EXPECT_EQ(LoadBlockTemplates(brokenFirst, 64, 16).templates[1].picture.Width(), 32);  // T = 64 stays
    const std::string tall = test::WritePack("tall.zip", {{"tall_001.png", test::SolidPng(8, 40, {1, 2, 3, 255})}});
    const BlockTemplates capped = LoadBlockTemplates(tall, 64, 32);
    EXPECT_EQ(capped.textureSize, 32);
    EXPECT_EQ(capped.templates[0].picture.Height(), 32);

    const BlockTemplates none = LoadBlockTemplates("/nonexistent/pack.zip", 64, 512);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.textureSize, 64);
}

// A pack of many entries whose first picture is large would make every texture that large:
// the textures of the whole pack stay within their budget, 4096 entries get at most 128.
TEST(BlockTemplates, ManyEntriesShrinkTheTextureSize) {
    std::vector<stackmason::test::ArchiveEntry> entries{{"big_001.png", test::SolidPng(256, 256, {1, 2, 3, 255})}};
    for (int i = 1; i < 4096; ++i)
        entries.push_back({"e" + std::to_string(i) + "_002.png", {'x'}});
    const BlockTemplates many = LoadBlockTemplates(test::WritePack("many.zip", entries), 64, 512);
    EXPECT_EQ(many.Count(), 4096);
    EXPECT_EQ(many.textureSize, 128);
    EXPECT_EQ(many.templates[0].picture.Width(), 128);
    const std::string few = test::WritePack("few.zip", {entries[0]});
    EXPECT_EQ(LoadBlockTemplates(few, 64, 512).textureSize, 256);
}

// A pack's pictures share a budget of pixels (as in the editor): those beyond it stay
// untextured in their place, and when the first is one of them T stays as it was.
TEST(BlockTemplates, PicturesBeyondThePacksBudgetStayUntextured) {
    const std::vector<std::uint8_t> huge = stackmason::test::SolidPng(8192, {0, 200, 0, 255});
    std::vector<stackmason::test::ZipItem> items;
    for (int i = 1; i <= 48; ++i)
        items.push_back({stackmason::test::HugeEntryName(i), huge});
    items.push_back({"small_049.png", test::SolidPng(16, 16, {1, 2, 3, 255})});
    const std::string path = test::WriteTempFile("huge.zip", "");
    stackmason::test::WriteFile(path, stackmason::test::DeflatedZip(items));
    const BlockTemplates templates = LoadBlockTemplates(path, 64, 512);
    ASSERT_EQ(templates.Count(), 49);
    EXPECT_EQ(templates.textureSize, 64);
    for (int i = 0; i < 48; ++i)
        EXPECT_FALSE(templates.templates[static_cast<std::size_t>(i)].textured) << i;
    EXPECT_TRUE(templates.templates[48].textured);
    EXPECT_EQ(templates.templates[48].picture.Width(), 16);
    EXPECT_EQ(templates.templates[47].entryName, "huge_0048_048.png");
}

TEST(BlockPlacement, PositionsAndSkippedCells) {
    EXPECT_EQ(BlockPosition(1, 1, 1, 10, 10), glm::vec3(-8, 1, -8));
    EXPECT_EQ(BlockPosition(10, 3, 2, 10, 4), glm::vec3(10, 3, 2));

    BlockGrid grid(4, 3, 2);
    grid.At(1, 1, 1) = 1;
    grid.At(4, 3, 2) = 2;
    grid.At(2, 1, 1) = -3;  // a byte below "/" in a row
    grid.At(3, 1, 1) = 7;   // beyond the pack
    const auto found = Instances(grid, BlockKinds(OpaqueTemplates(2)));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found.at({-2.0f, 1.0f, -1.0f}), 1);
    EXPECT_EQ(found.at({4.0f, 3.0f, 3.0f}), 2);
    // Without a pack nothing is placed.
    EXPECT_TRUE(Instances(grid, BlockKinds(OpaqueTemplates(0))).empty());
}

TEST(BlockPlacement, OnlyVisibleFacesAreCounted) {
    const BlockKinds opaque(OpaqueTemplates(3));
    BlockGrid one(3, 3, 3);
    one.At(2, 2, 2) = 1;
    EXPECT_EQ(CountExposedFaces(one, opaque).total, 6);
    EXPECT_EQ(ExposedFaces(one, opaque, 2, 2, 2), kAllCubeFaces);

    BlockGrid two(3, 1, 1);
    two.At(1, 1, 1) = 1;
    two.At(2, 1, 1) = 2;
    EXPECT_EQ(CountExposedFaces(two, opaque).total, 10);
    EXPECT_EQ(ExposedFaces(two, opaque, 1, 1, 1) & kFacePlusX, 0);

    BlockGrid solid(3, 3, 3);
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int h = 1; h <= 3; ++h)
                solid.At(x, y, h) = 1 + (x + y + h) % 3;
    const FaceCounts counts = CountExposedFaces(solid, opaque);
    EXPECT_EQ(counts.total, 54);
    EXPECT_EQ(counts.instances, 26);  // the middle cube shows nothing
    EXPECT_EQ(counts.perCode[1] + counts.perCode[2] + counts.perCode[3], 54);

    // Glass (code 2): opaque faces behind it stay, glass against glass of its own kind goes,
    // and glass against opaque loses the face it shares.
    BlockTemplates mixed = OpaqueTemplates(3);
    mixed.templates[1].blended = true;
    mixed.templates[2].blended = true;
    const BlockKinds kinds(mixed);
    BlockGrid row(4, 1, 1);
    row.At(1, 1, 1) = 1;
    row.At(2, 1, 1) = 2;
    row.At(3, 1, 1) = 2;
    row.At(4, 1, 1) = 3;
    EXPECT_EQ(ExposedFaces(row, kinds, 1, 1, 1) & kFacePlusX, kFacePlusX);
    EXPECT_EQ(ExposedFaces(row, kinds, 2, 1, 1) & (kFacePlusX | kFaceMinusX), 0);
    EXPECT_EQ(ExposedFaces(row, kinds, 3, 1, 1) & (kFacePlusX | kFaceMinusX), kFacePlusX);
    EXPECT_EQ(ExposedFaces(row, kinds, 4, 1, 1) & kFaceMinusX, kFaceMinusX);
}

TEST(PreviewScene, BuildsGroundLightTemplatesAndStaticGeometryWithoutAScreen) {
    const std::string pack = test::WritePack(
        "scene.zip", {{"stone_001.png", test::SolidPng(16, 16, {90, 90, 90, 255})},
                      {"t.glass_020.png", test::SolidPng(16, 16, {0, 0, 255, 100})}});
    PreviewBuilding building =
        ReadPreviewFile(test::WritePreviewFile("scene.tmp", 3, 1, 1, pack, {{"001"}}));
    Engine3D engine;
    CreateLightAndGround(engine, building, {});
    EXPECT_TRUE(engine.HasEntity(0));
    EXPECT_EQ(engine.EntityX(0), 0.0f);
    const BlockFigures figures = BuildBlocks(engine, building);
    EXPECT_EQ(figures.templates, 2);
    EXPECT_EQ(figures.textureSize, 16);
    EXPECT_EQ(figures.instances, 3);
    // Stone against stone hides both faces; stone keeps its face towards the glass, the
    // glass loses its face towards the stone.
    EXPECT_EQ(figures.faces, 5 + 5 + 5);
    EXPECT_EQ(engine.StaticGeometryBatchCount(0), 2);
    EXPECT_EQ(engine.StaticGeometryBytes(0), 15u * (4 * 24 + 6 * 4));
    EXPECT_FALSE(engine.HasEntity(1));
    EXPECT_FALSE(engine.HasEntity(2));
    EXPECT_EQ(building.grid.CellCount(), 1u);
}

}  // namespace
}  // namespace orbitscope
