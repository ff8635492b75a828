// The generated default packs: the positions that buildings and the schematic export rely on,
// the pictures the programs decode, and byte-identical output from run to run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/BlockNames.h"
#include "common/FileBytes.h"
#include "common/TexturePackArchive.h"

namespace stackmason {
namespace {

const std::string kPackDir = STACKMASON_PACK_DIR;

struct Entry {
    std::string name;
    std::vector<std::uint8_t> bytes;
    Image image;
};

std::vector<Entry> ReadPack(const std::string& path) {
    std::vector<Entry> entries;
    auto pack = TexturePackArchive::Open(path);
    if (!pack)
        return entries;
    for (int i = 0; i < pack->EntryCount(); ++i)
        entries.push_back({pack->Entry(i).name, pack->ReadEntry(i).value_or(std::vector<std::uint8_t>{}),
                           pack->ReadEntryImage(i).value_or(Image{})});
    return entries;
}

const std::vector<Entry>& Stackmason() {
    static const std::vector<Entry> entries = ReadPack(kPackDir + "/stackmason.zip");
    return entries;
}

// The block id and the name of the entry at a 1-based position.
std::int32_t IdAt(int position) { return BlockIdFromEntryName(Stackmason().at(position - 1).name); }
const std::string& NameAt(int position) { return Stackmason().at(position - 1).name; }

bool IsJpeg(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() > 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool HasSeeThroughPixels(const Image& image) {
    return std::any_of(image.Pixels().begin(), image.Pixels().end(), [](Rgba p) { return p.a < 255; });
}

std::size_t DistinctColours(const Image& image) {
    std::set<std::uint32_t> colours;
    for (const Rgba& p : image.Pixels())
        colours.insert(std::uint32_t{p.r} << 24 | std::uint32_t{p.g} << 16 | std::uint32_t{p.b} << 8 | p.a);
    return colours.size();
}

TEST(DefaultPacks, StackmasonKeepsTheFixedPositions) {
    ASSERT_GE(Stackmason().size(), 84u);
    EXPECT_EQ(IdAt(1), 1);
    EXPECT_NE(NameAt(1).find("stone"), std::string::npos);
    EXPECT_EQ(IdAt(2), 2);

    // Their order is the data value the schematic export writes for each position.
    const char* wool[16] = {"white", "orange", "magenta", "light_blue", "yellow", "lime",  "pink",  "gray",
                            "light_gray", "cyan", "purple", "blue", "brown", "green", "red", "black"};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(IdAt(13 + i), 35) << NameAt(13 + i);
        EXPECT_TRUE(NameAt(13 + i).starts_with(std::string(wool[i]) + "_wool")) << "position " << 13 + i << ": " << NameAt(13 + i);
    }
    struct Fixed {
        int position;
        std::int32_t id;
        const char* startsWith;
    };
    const Fixed fixed[] = {
        {53, 155, "chiseled_quartz"}, {54, 155, "quartz_pillar"},  {55, 155, "quartz_block"},
        {58, 24, "chiseled_sandstone"}, {59, 24, "sandstone"},      {60, 24, "smooth_sandstone"},
        {65, 98, "stone_bricks"},      {66, 98, "chiseled_stone"}, {67, 98, "mossy_stone"},
        {68, 98, "cracked_stone"},     {72, 17, "birch_log"},      {73, 17, "jungle_log"},
        {74, 17, "oak_log"},           {75, 17, "spruce_log"},     {78, 5, "oak_planks"},
        {79, 5, "spruce_planks"},      {80, 5, "birch_planks"},    {81, 5, "jungle_planks"},
    };
    for (const Fixed& f : fixed) {
        EXPECT_EQ(IdAt(f.position), f.id) << NameAt(f.position);
        EXPECT_TRUE(NameAt(f.position).starts_with(f.startsWith)) << "position " << f.position << ": " << NameAt(f.position);
    }
}

TEST(DefaultPacks, StackmasonNamesCarryIdsAndReadableTexts) {
    std::set<std::string> names;
    for (const Entry& entry : Stackmason()) {
        EXPECT_TRUE(names.insert(entry.name).second) << "twice: " << entry.name;
        EXPECT_TRUE(entry.name.ends_with(".png")) << entry.name;
        EXPECT_EQ(entry.name.find('/'), std::string::npos) << entry.name;
        const std::int32_t id = BlockIdFromEntryName(entry.name);
        EXPECT_GT(id, 0) << entry.name;
        EXPECT_LT(id, 256) << entry.name;  // the schematic stores one byte per block
        const std::string text = ItemTextFromEntryName(entry.name);
        EXPECT_EQ(text + ".png", entry.name);
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", id);
        EXPECT_TRUE(text.ends_with(std::string("_") + digits)) << text;
    }
    for (const char* name : {"t.glass_020.png", "t.water_009.png", "t.leaves_018.png", "t.ice_079.png",
                             "cobblestone_004.png", "bricks_045.png", "obsidian_049.png", "snow_080.png"})
        EXPECT_TRUE(names.contains(name)) << name;
}

TEST(DefaultPacks, StackmasonPicturesDecodeWithTheirShapes) {
    ASSERT_FALSE(Stackmason().empty());
    EXPECT_EQ(Stackmason()[0].image.Height(), 16);  // both programs take the tile size from it
    int strips = 0, small = 0, large = 0, jpegs = 0, blended = 0;
    for (const Entry& entry : Stackmason()) {
        const Image& image = entry.image;
        ASSERT_FALSE(image.IsEmpty()) << entry.name << " does not decode";
        const bool strip = image.Width() == 6 * image.Height();
        EXPECT_TRUE(strip || image.Width() == image.Height()) << entry.name;
        EXPECT_TRUE(image.Height() == 16 || image.Height() == 32) << entry.name;
        strips += strip && image.Height() == 16;
        small += !strip && image.Height() == 16;
        large += !strip && image.Height() == 32;
        jpegs += IsJpeg(entry.bytes);
        EXPECT_GE(DistinctColours(LeftmostFace(image)), 4u) << entry.name << " is nearly blank";
        if (IsBlendedEntryName(entry.name)) {
            ++blended;
            EXPECT_TRUE(HasSeeThroughPixels(image)) << entry.name << " is marked see-through but opaque";
        } else {
            EXPECT_FALSE(HasSeeThroughPixels(image)) << entry.name << " has alpha but no t. prefix";
        }
    }
    EXPECT_GE(strips, 2);
    EXPECT_GT(small, 0);
    EXPECT_GT(large, 0);
    EXPECT_GE(jpegs, 1);
    EXPECT_GE(blended, 4);
}

TEST(DefaultPacks, MinecraftHoldsTheFirstBlockOfEveryId) {
    const std::vector<Entry> minecraft = ReadPack(kPackDir + "/minecraft.zip");
    ASSERT_FALSE(minecraft.empty());
    std::vector<const Entry*> firstOfEachId(256, nullptr);
    for (const Entry& entry : Stackmason()) {
        const std::int32_t id = BlockIdFromEntryName(entry.name);
        if (id > 0 && id < 256 && firstOfEachId[id] == nullptr)
            firstOfEachId[id] = &entry;
    }
    std::vector<const Entry*> expected;
    for (const Entry* entry : firstOfEachId)
        if (entry != nullptr)
            expected.push_back(entry);

    ASSERT_EQ(minecraft.size(), expected.size());
    std::int32_t previous = 0;
    for (std::size_t i = 0; i < minecraft.size(); ++i) {
        const std::int32_t id = BlockIdFromEntryName(minecraft[i].name);
        EXPECT_GT(id, previous) << minecraft[i].name << " breaks the ascending, unique order";
        previous = id;
        EXPECT_EQ(minecraft[i].name, expected[i]->name);
        EXPECT_EQ(minecraft[i].bytes, expected[i]->bytes) << minecraft[i].name;
    }
    EXPECT_EQ(BlockIdFromEntryName(minecraft.front().name), 1);
}

// Runs the generator into a folder of its own under another time zone than the build's:
// archive times are local times, so a zone-dependent date would show here.
TEST(DefaultPacks, GeneratingAgainGivesTheSameBytes) {
    std::string folder = (std::filesystem::path(testing::TempDir()) / "packgen_XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string command = std::string("TZ=XST-5:30 '") + STACKMASON_PACKGEN + "' '" + folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* pack : {"/stackmason.zip", "/minecraft.zip"}) {
        const auto built = ReadFileBytes(kPackDir + pack, 1u << 26);
        const auto again = ReadFileBytes(folder + pack, 1u << 26);
        ASSERT_TRUE(built && again) << pack;
        EXPECT_TRUE(*built == *again) << pack << " differs between runs";
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace stackmason
