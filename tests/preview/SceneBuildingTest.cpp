#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <tuple>

#include <glm/geometric.hpp>

#include "common/Constants.h"
#include "preview/PreviewConfig.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/BlockPlacement.h"
#include "preview/scene/BlockTemplates.h"
#include "preview/scene/PreviewBuilding.h"
#include "preview/scene/PreviewScene.h"
#include "tests/preview/PreviewTestFiles.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ScaledPacks.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace orbitscope {
namespace {

using stackmason::Building;
using stackmason::Rgba;

BlockTemplates OpaqueTemplates(int count) {
    BlockTemplates templates;
    templates.textureSize = 16;
    templates.templates.resize(static_cast<std::size_t>(count));
    return templates;
}

std::map<std::tuple<float, float, float>, stackmason::BlockCode> Instances(const Building& grid, const BlockKinds& kinds) {
    std::map<std::tuple<float, float, float>, stackmason::BlockCode> found;
    ForEachBlockInstance(grid, kinds, [&](stackmason::BlockCode code, const glm::vec3& p, CubeFaceMask) {
        found[{p.x, p.y, p.z}] = code;
    });
    return found;
}

TEST(PreviewFile, ReadsHeaderAndCellsAndSurvivesOddFiles) {
    const std::string path = test::WritePreviewFile("two.tmp", 3, 2, 2, "pack.zip", {{"0/1", "///"}, {"/2/", "///"}});
    PreviewBuilding building = ReadPreviewFile(path);
    EXPECT_EQ(building.grid.Width(), 3);
    EXPECT_EQ(building.grid.Length(), 2);
    EXPECT_EQ(building.grid.Height(), 2);
    EXPECT_EQ(building.packName, "pack.zip");
    EXPECT_EQ(building.grid.At(1, 1, 1), 1);
    EXPECT_EQ(building.grid.At(2, 1, 1), 0);
    EXPECT_EQ(building.grid.At(3, 1, 1), 2);
    EXPECT_EQ(building.grid.At(2, 1, 2), 3);

    PreviewBuilding missing = ReadPreviewFile("/nonexistent/preview.tmp");
    EXPECT_EQ(missing.grid.Width(), 0);
    EXPECT_EQ(missing.grid.Height(), 0);
    EXPECT_TRUE(missing.packName.empty());
    EXPECT_TRUE(ReadPreviewFile("").packName.empty());

    // X = 0 with layers: empty lines would count as rows; reading must still end.
    PreviewBuilding flat = ReadPreviewFile(test::WriteTempFile("flat.tmp", "0x5x3;p.zip\r\n-\r\nlayer 1\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(flat.grid.Width(), 0);
    EXPECT_EQ(flat.grid.Height(), 3);
    EXPECT_EQ(CountExposedFaces(flat.grid, BlockKinds(OpaqueTemplates(3))).total, 0);

    // Sizes far beyond a building, negative sizes, rows too long and binary junk.
    PreviewBuilding huge = ReadPreviewFile(test::WriteTempFile("huge.tmp", "99999x-4x70000;p\r\n-\r\nx\r\n\x01\x02\xff"));
    EXPECT_LE(huge.grid.Width(), 512);
    EXPECT_EQ(huge.grid.Length(), 0);
    EXPECT_LE(huge.grid.Height(), 256);
    PreviewBuilding extraRows = ReadPreviewFile(test::WritePreviewFile("rows.tmp", 2, 1, 1, "p", {{"00", "11", "22"}}));
    EXPECT_EQ(extraRows.grid.At(1, 1, 1), 1);
    EXPECT_EQ(extraRows.grid.CellCount(), 3u * 2u * 2u);
}

// A preview file larger than the bytes the reader takes in: everything after layer H is
// ignored, so its building shows. The file is made large with a hole, which costs nothing.
TEST(PreviewFile, AFileOfAnySizeShowsItsBuilding) {
    const std::string path = test::WritePreviewFile("large.tmp", 3, 2, 2, "pack.zip", {{"0/1", "///"}, {"/2/", "1//"}});
    std::filesystem::resize_file(path, stackmason::kMaxBuildingFileBytes + (64u << 20));
    ASSERT_GT(std::filesystem::file_size(path), stackmason::kMaxBuildingFileBytes);
    const PreviewBuilding building = ReadPreviewFile(path);
    EXPECT_EQ(building.packName, "pack.zip");
    stackmason::Building expected(3, 2, 2);
    expected.At(1, 1, 1) = 1;
    expected.At(3, 1, 1) = 2;
    expected.At(2, 1, 2) = 3;
    expected.At(1, 2, 2) = 2;
    EXPECT_EQ(building.grid, expected);
}

// A hand-written header of 600 x 2 x 1: the preview uses the sizes as they stand.
TEST(PreviewFile, AHeaderWiderThanABuildingIsReadAsItStands) {
    const std::string path = test::WritePreviewFile("wide.tmp", 600, 2, 1, "p.zip",
                                                    {{std::string(599, '/') + "0", "1" + std::string(599, '/')}});
    const PreviewBuilding building = ReadPreviewFile(path);
    ASSERT_EQ(building.grid.Width(), 600);
    EXPECT_EQ(building.grid.At(600, 1, 1), 1);
    EXPECT_EQ(building.grid.At(1, 2, 1), 2);
    const auto found = Instances(building.grid, BlockKinds(OpaqueTemplates(2)));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found.at({600.0f, 1.0f, 0.0f}), 1);  // cell (x, y, l) at (2x - X, 2l - 1, 2y - Y)
    EXPECT_EQ(found.at({-598.0f, 1.0f, 2.0f}), 2);
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
        entries.push_back({stackmason::test::NumberedEntryName("e", i, "_002.png"), {'x'}});
    const BlockTemplates many = LoadBlockTemplates(test::WritePack("many.zip", entries), 64, 512);
    EXPECT_EQ(many.Count(), 4096);
    EXPECT_EQ(many.textureSize, 128);
    EXPECT_EQ(many.templates[0].picture.Width(), 128);
    const std::string few = test::WritePack("few.zip", {entries[0]});
    EXPECT_EQ(LoadBlockTemplates(few, 64, 512).textureSize, 256);
}

// Four colours, one per quarter: red top-left, green top-right, blue bottom-left, yellow
// bottom-right; of a strip, each face is quartered the same way.
stackmason::Image QuadrantPicture(int width, int height) {
    stackmason::Image picture(width, height);
    const int face = width == 6 * height ? height : width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x % face >= face / 2;
            const bool bottom = y >= height / 2;
            picture.SetPixel(x, y, bottom ? (right ? Rgba{255, 255, 0, 255} : Rgba{0, 0, 255, 255})
                                          : (right ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 255}));
        }
    return picture;
}

std::array<Rgba, 4> Corners(const stackmason::Image& picture) {
    const int right = picture.Width() - 1, bottom = picture.Height() - 1;
    return {picture.Pixel(0, 0), picture.Pixel(right, 0), picture.Pixel(0, bottom), picture.Pixel(right, bottom)};
}

// When T is held below the first picture's height (by the largest side or by the pack's
// texture budget), every picture shrinks by the same ratio instead of losing its edges, the
// way the editor shrinks its 32 x 32 images; what lies beyond the first picture's square is
// still cut off first.
TEST(BlockTemplates, PicturesAboveTheTextureSizeShrinkByOneRatio) {
    const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, yellow{255, 255, 0, 255};
    const std::array<Rgba, 4> quartered{red, green, blue, yellow};
    const std::string path = test::WritePack(
        "shrunk.zip", {{"coords_001.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(64, 64))},
                       {"quarters_002.png", stackmason::test::EncodePng(QuadrantPicture(64, 64))},
                       {"strip_003.png", stackmason::test::EncodePng(QuadrantPicture(384, 64))},
                       {"larger_004.png", stackmason::test::EncodePng(QuadrantPicture(128, 128))},
                       {"small_005.png", stackmason::test::EncodePng(QuadrantPicture(32, 16))}});
    const BlockTemplates templates = LoadBlockTemplates(path, 64, 48);
    ASSERT_EQ(templates.Count(), 5);
    EXPECT_EQ(templates.textureSize, 48);
    const auto& coords = templates.templates[0].picture;
    ASSERT_EQ(coords.Width(), 48);
    ASSERT_EQ(coords.Height(), 48);
    for (int i = 0; i < 48; ++i)  // the nearest pixel, 64 / 48 apart
        EXPECT_EQ(coords.Pixel(i, 47 - i), (Rgba{static_cast<std::uint8_t>(i * 64 / 48),
                                                 static_cast<std::uint8_t>((47 - i) * 64 / 48), 7, 255}));
    EXPECT_EQ(Corners(templates.templates[1].picture), quartered);
    EXPECT_EQ(Corners(templates.templates[2].picture), quartered);  // the strip's leftmost face
    const auto& larger = templates.templates[3].picture;  // its top-left 64 x 64, all red
    EXPECT_EQ(larger.Width(), 48);
    EXPECT_EQ(Corners(larger), (std::array<Rgba, 4>{red, red, red, red}));
    const auto& small = templates.templates[4].picture;  // the same ratio: 24 x 12, at the corner
    EXPECT_EQ(small.Width(), 24);
    EXPECT_EQ(small.Height(), 12);
    EXPECT_EQ(Corners(small), quartered);

    // 300 pictures of 512 pixels share the budget at T = 472; each keeps all four quarters.
    std::vector<stackmason::test::ArchiveEntry> many{{"first_001.png", stackmason::test::EncodePng(QuadrantPicture(512, 512))}};
    for (int i = 1; i < 300; ++i)
        many.push_back({stackmason::test::NumberedEntryName("e", i, "_002.png"), {'x'}});
    const BlockTemplates budgeted = LoadBlockTemplates(test::WritePack("budgeted.zip", many), 64, 512);
    EXPECT_EQ(budgeted.textureSize, 472);
    EXPECT_EQ(budgeted.templates[0].picture.Width(), 472);
    EXPECT_EQ(Corners(budgeted.templates[0].picture), quartered);

    // Two pictures of 1024 pixels under the 512 limit.
    const std::vector<std::uint8_t> big = stackmason::test::EncodePng(QuadrantPicture(1024, 1024));
    const BlockTemplates capped = LoadBlockTemplates(test::WritePack("capped.zip", {{"a_001.png", big}, {"b_002.png", big}}), 64, 512);
    EXPECT_EQ(capped.textureSize, 512);
    EXPECT_EQ(Corners(capped.templates[0].picture), quartered);
    EXPECT_EQ(Corners(capped.templates[1].picture), quartered);
}

// A pack's pictures share a budget of pixels (as in the editor): those beyond it show the
// T x T missing picture in their place, and when the first is one of them T stays as it was.
// An entry that is no picture stays untextured.
TEST(BlockTemplates, PicturesBeyondThePacksBudgetShowTheMissingPicture) {
    const std::vector<std::uint8_t> huge = stackmason::test::SolidPng(8192, {0, 200, 0, 255});
    std::vector<stackmason::test::ZipItem> items;
    for (int i = 1; i <= 48; ++i)
        items.push_back({stackmason::test::HugeEntryName(i), huge});
    items.push_back({"small_049.png", test::SolidPng(16, 16, {1, 2, 3, 255})});
    items.push_back({"notes_050.png", {'n', 'o'}});
    const std::string path = test::WriteTempFile("huge.zip", "");
    stackmason::test::WriteFile(path, stackmason::test::DeflatedZip(items));
    const BlockTemplates templates = LoadBlockTemplates(path, 64, 512);
    ASSERT_EQ(templates.Count(), 50);
    EXPECT_EQ(templates.textureSize, 64);
    EXPECT_EQ(templates.leftOut, 48);
    for (int i = 0; i < 48; ++i) {
        const BlockTemplate& entry = templates.templates[static_cast<std::size_t>(i)];
        EXPECT_TRUE(entry.textured && entry.missing) << i;
    }
    EXPECT_EQ(templates.missingPicture, stackmason::MissingPicture(64));
    EXPECT_TRUE(templates.templates[48].textured);
    EXPECT_FALSE(templates.templates[48].missing);
    EXPECT_EQ(templates.templates[48].picture.Width(), 16);
    EXPECT_FALSE(templates.templates[49].textured);
    EXPECT_FALSE(templates.templates[49].missing);
    EXPECT_EQ(templates.templates[47].entryName, "huge_0048_048.png");
}

// The lines of the engine's log after building the scene of a one-block building on the pack.
std::vector<std::string> SceneLogLines(const std::string& packPath) {
    const std::string log = test::WriteTempFile("scene.log", "");
    {
        Engine3D engine;
        engine.InitEngine3D(config::kEngineLogFlag, log);
        PreviewBuilding building = ReadPreviewFile(test::WriteTempFile("one.tmp", "1x1x1;" + packPath + "\r\n-\r\nlayer 1\r\n0\r\n"));
        BuildBlocks(engine, building);
    }
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The scene says once in the engine's log how many pictures were left out, and says nothing
// of a pack that loads whole.
TEST(BlockTemplates, LeftOutPicturesAreLoggedOnce) {
    const std::vector<std::uint8_t> huge = stackmason::test::SolidPng(8192, {0, 200, 0, 255});
    const std::string path = test::WriteTempFile("logged.zip", "");
    stackmason::test::WriteFile(path, stackmason::test::DeflatedZip({{"a_001.png", huge}, {"b_002.png", huge},
                                                                     {"c_003.png", test::SolidPng(16, 16, {1, 2, 3, 255})}}));
    const auto mentions = [](const std::vector<std::string>& lines) {
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& line) { return line.find("left out") != std::string::npos; });
    };
    const std::vector<std::string> lines = SceneLogLines(path);
    ASSERT_EQ(mentions(lines), 1);
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.find("left out") != std::string::npos; });
    EXPECT_NE(line->find("2 of 3 pictures left out"), std::string::npos) << *line;

    const std::string whole = test::WriteTempFile("whole.zip", "");
    stackmason::test::WriteFile(whole, stackmason::test::DeflatedZip({{"c_001.png", test::SolidPng(16, 16, {1, 2, 3, 255})}}));
    EXPECT_EQ(mentions(SceneLogLines(whole)), 0);
}

// The default pack with every picture scaled up to 512 pixels high loads whole: each texture
// is the top-left 512 x 512 square of the scaled picture.
TEST(BlockTemplates, DefaultPackScaledTo512PixelsLoadsWhole) {
    const stackmason::test::ScaledPack scaled = stackmason::test::ScaleUpPack(STACKMASON_PACK_DIR "/stackmason.zip", 512);
    const std::string path = test::WriteTempFile("scaled512.zip", "");
    stackmason::test::WriteFile(path, scaled.archive);
    const BlockTemplates templates = LoadBlockTemplates(path, 64, 512);
    ASSERT_EQ(templates.Count(), static_cast<int>(scaled.pictures.size()));
    EXPECT_EQ(templates.textureSize, 512);
    EXPECT_EQ(templates.leftOut, 0);
    for (int i = 0; i < templates.Count(); ++i) {
        const std::optional<stackmason::Image>& source = scaled.pictures[static_cast<std::size_t>(i)];
        const BlockTemplate& entry = templates.templates[static_cast<std::size_t>(i)];
        ASSERT_TRUE(source) << i;
        ASSERT_TRUE(entry.textured) << i;
        ASSERT_EQ(entry.picture.Width(), 512) << i;
        ASSERT_EQ(entry.picture.Height(), 512) << i;
        bool same = true;
        for (int y = 0; y < 512 && same; ++y)
            for (int x = 0; x < 512 && same; ++x)
                same = entry.picture.Pixel(x, y) == source->Pixel(x, y);
        EXPECT_TRUE(same) << i;
    }
}

TEST(BlockPlacement, PositionsAndSkippedCells) {
    EXPECT_EQ(BlockPosition(1, 1, 1, 10, 10), glm::vec3(-8, 1, -8));
    EXPECT_EQ(BlockPosition(10, 3, 2, 10, 4), glm::vec3(10, 3, 2));

    Building grid(4, 3, 2);
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
    Building one(3, 3, 3);
    one.At(2, 2, 2) = 1;
    EXPECT_EQ(CountExposedFaces(one, opaque).total, 6);
    EXPECT_EQ(ExposedFaces(one, opaque, 2, 2, 2), kAllCubeFaces);

    Building two(3, 1, 1);
    two.At(1, 1, 1) = 1;
    two.At(2, 1, 1) = 2;
    EXPECT_EQ(CountExposedFaces(two, opaque).total, 10);  // undersides on the ground included
    EXPECT_EQ(ExposedFaces(two, opaque, 1, 1, 1) & kFacePlusX, 0);

    Building solid(3, 3, 3);
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y)
            for (int h = 1; h <= 3; ++h)
                solid.At(x, y, h) = 1 + (x + y + h) % 3;
    const FaceCounts counts = CountExposedFaces(solid, opaque);
    // 6 sides of 9 faces, the underside on the ground included: seen from below the
    // building is closed.
    EXPECT_EQ(counts.total, 54);
    // Only the middle cube shows nothing; the one under it shows its underside.
    EXPECT_EQ(counts.instances, 26);
    EXPECT_EQ(counts.perCode[1] + counts.perCode[2] + counts.perCode[3], 54);
    EXPECT_EQ(ExposedFaces(solid, opaque, 1, 1, 1) & kFaceMinusY, kFaceMinusY);
    EXPECT_EQ(ExposedFaces(solid, opaque, 2, 2, 1), kFaceMinusY);
    EXPECT_EQ(ExposedFaces(solid, opaque, 1, 1, 2) & kFaceMinusY, 0);
    Building raised(1, 1, 2);
    raised.At(1, 1, 2) = 1;
    EXPECT_EQ(ExposedFaces(raised, opaque, 1, 1, 2), kAllCubeFaces);  // over air, not the ground

    // Glass (code 2): opaque faces behind it stay, glass against glass of its own kind goes,
    // and glass against opaque loses the face it shares.
    BlockTemplates mixed = OpaqueTemplates(3);
    mixed.templates[1].blended = true;
    mixed.templates[2].blended = true;
    const BlockKinds kinds(mixed);
    Building row(4, 1, 1);
    row.At(1, 1, 1) = 1;
    row.At(2, 1, 1) = 2;
    row.At(3, 1, 1) = 2;
    row.At(4, 1, 1) = 3;
    EXPECT_EQ(ExposedFaces(row, kinds, 1, 1, 1) & kFacePlusX, kFacePlusX);
    EXPECT_EQ(ExposedFaces(row, kinds, 2, 1, 1) & (kFacePlusX | kFaceMinusX), 0);
    EXPECT_EQ(ExposedFaces(row, kinds, 3, 1, 1) & (kFacePlusX | kFaceMinusX), kFacePlusX);
    EXPECT_EQ(ExposedFaces(row, kinds, 4, 1, 1) & kFaceMinusX, kFaceMinusX);
}

// The row walk that builds the scene finds the faces that ExposedFaces gives cell by cell,
// for buildings of every shape with air, opaque and blended blocks and codes without a
// template.
TEST(BlockPlacement, TheSceneWalkFindsEveryCellsExposedFaces) {
    std::mt19937 random(11);
    BlockTemplates templates = OpaqueTemplates(4);
    templates.templates[1].blended = true;
    templates.templates[3].blended = true;
    const BlockKinds kinds(templates);
    for (int round = 0; round < 60; ++round) {
        std::uniform_int_distribution<int> side(1, 9);
        Building grid(side(random), side(random), side(random));
        std::uniform_int_distribution<int> code(-2, 6);  // air, blocks, and codes without a template
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                for (int x = 1; x <= grid.Width(); ++x)
                    grid.At(x, y, h) = std::max(code(random), round % 2 == 0 ? 0 : -2);
        std::map<std::tuple<float, float, float>, CubeFaceMask> expected;
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                for (int x = 1; x <= grid.Width(); ++x)
                    if (kinds.IsBlock(grid.Cell(x, y, h)) && ExposedFaces(grid, kinds, x, y, h) != 0) {
                        const glm::vec3 p = BlockPosition(x, y, h, grid.Width(), grid.Length());
                        expected[{p.x, p.y, p.z}] = ExposedFaces(grid, kinds, x, y, h);
                    }
        std::map<std::tuple<float, float, float>, CubeFaceMask> found;
        ForEachBlockInstance(grid, kinds, [&](stackmason::BlockCode, const glm::vec3& p, CubeFaceMask faces) {
            found[{p.x, p.y, p.z}] = faces;
        });
        ASSERT_EQ(found, expected) << "round " << round;
    }
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
    // glass loses its face towards the stone; the undersides on the ground are drawn.
    EXPECT_EQ(figures.faces, 5 + 5 + 5);
    // The two stones' tops, undersides and long sides merge: 6 quads of stone and 5 of
    // glass, in one chunk (an opaque and a blended draw group), each quad an 8-byte record.
    EXPECT_EQ(engine.StaticGeometryQuads(0), 6 + 5);
    EXPECT_EQ(engine.StaticGeometryChunkCount(0), 1);
    EXPECT_EQ(engine.StaticGeometryBatchCount(0), 2);
    EXPECT_EQ(engine.StaticGeometryBytes(0), 11u * 8);
    EXPECT_FALSE(engine.HasEntity(1));
    EXPECT_FALSE(engine.HasEntity(2));
    EXPECT_EQ(building.grid.CellCount(), 1u);
}

// The light's range 900 with constant attenuation 0: a small building's scene lies well within
// it and is lit exactly as before; across a building 512 cells wide the light would fade to
// nothing, so there the range grows until the farthest corner keeps three quarters of it.
TEST(PreviewScene, TheLightReachesAcrossTheWholeScene) {
    const std::string pack = test::WritePack("light.zip", {{"stone_001.png", test::SolidPng(16, 16, {90, 90, 90, 255})}});
    auto rangeFor = [&](int width, int length, int height) {
        const std::vector<std::string> rows(static_cast<std::size_t>(length), std::string(static_cast<std::size_t>(width), '0'));
        PreviewBuilding building = ReadPreviewFile(test::WritePreviewFile("light.tmp", width, length, height, pack, {rows}));
        Engine3D engine;
        CreateLightAndGround(engine, building, {});
        BuildBlocks(engine, building);
        return engine.LightRangeOf(0);
    };
    EXPECT_EQ(rangeFor(10, 10, 3), 900.0f);
    EXPECT_EQ(rangeFor(29, 20, 18), 900.0f);
    EXPECT_EQ(rangeFor(0, 0, 0), 900.0f);

    // Light at (2H + 50, 2Y + 40, -60); the ground's far corner at (-(X + 5), 0, Y + 5).
    const float range = rangeFor(512, 512, 1);
    const float farthest = glm::length(glm::vec3(52 + 517, 1064, -60 - 517));
    EXPECT_NEAR(1.0f - farthest / range, 0.75f, 0.001f);
    EXPECT_EQ(Engine3D().LightRangeOf(0), 0.0f);
}

}  // namespace
}  // namespace orbitscope
