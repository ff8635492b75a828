// The generated default packs: the positions that buildings and the schematic export rely on,
// the data values every block exports with, the pictures the programs decode, and
// byte-identical output from run to run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/BlockNames.h"
#include "common/BlockStates.h"
#include "common/FileBytes.h"
#include "common/TexturePackArchive.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/TempFolder.h"

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

const std::vector<Entry>& Minecraft() {
    static const std::vector<Entry> entries = ReadPack(kPackDir + "/minecraft.zip");
    return entries;
}

const std::vector<Entry>& GameBlocks() {
    static const std::vector<Entry> entries = ReadPack(kPackDir + "/gameblocks.zip");
    return entries;
}

// The wool colours in the order of their data values.
const char* const kWoolColours[16] = {"white", "orange", "magenta", "light_blue", "yellow", "lime",  "pink",  "gray",
                                      "light_gray", "cyan", "purple", "blue", "brown", "green", "red", "black"};

// An entry's name without its "t." prefix and its "_NNN.png" block id.
std::string BlockName(std::string name) {
    if (name.starts_with("t."))
        name.erase(0, 2);
    return name.substr(0, name.size() - std::string("_000.png").size());
}

// The data value Minecraft gives the variant an entry's name shows. Blocks of one form and the
// plain form of the others have 0.
std::uint8_t VariantDataValue(const std::string& entryName) {
    const std::string name = BlockName(entryName);
    for (std::uint8_t colour = 0; colour < 16; ++colour)
        if (name == std::string(kWoolColours[colour]) + "_wool")
            return colour;
    static const std::map<std::string, std::uint8_t> kVariants = {
        {"spruce_log", 1}, {"birch_log", 2}, {"jungle_log", 3},
        {"spruce_planks", 1}, {"birch_planks", 2}, {"jungle_planks", 3},
        {"chiseled_sandstone", 1}, {"smooth_sandstone", 2},
        {"mossy_stone_bricks", 1}, {"cracked_stone_bricks", 2}, {"chiseled_stone_bricks", 3},
        {"chiseled_quartz", 1}, {"quartz_pillar", 2},
        {"red_stained_glass", 14}, {"blue_stained_glass", 11},
        // The three ids whose value the export fixes: a torch standing on the floor (Minecraft
        // stands every torch whose value is not 1 to 4, the walls); a snow block, whose one
        // form ignores the value; oak leaves (kind 0 in the low bits) with a decay flag.
        {"torch", 6}, {"snow", 7}, {"leaves", 8},
    };
    const auto variant = kVariants.find(name);
    return variant == kVariants.end() ? 0 : variant->second;
}

// A folder of its own, made current, holding copies of the default packs: the editor opens
// packs by name from the current directory.
class PackWorkspace : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        temp_ = std::make_unique<test::TempFolder>("stackmason-packs");
        folder_ = temp_->Path().string();
        for (const char* pack : {"stackmason.zip", "minecraft.zip"})
            std::filesystem::copy_file(kPackDir + "/" + pack, std::filesystem::path(folder_) / pack);
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        temp_.reset();
    }

    stackmason::testing::CountingPainter painter_;
    stackmason::testing::FakeWindow window_;
    stackmason::testing::FakeDialogs dialogs_;
    Editor editor_{painter_, window_, dialogs_};

private:
    std::filesystem::path previous_;
    std::unique_ptr<test::TempFolder> temp_;
    std::string folder_;
};

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
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(IdAt(13 + i), 35) << NameAt(13 + i);
        EXPECT_TRUE(NameAt(13 + i).starts_with(std::string(kWoolColours[i]) + "_wool")) << "position " << 13 + i << ": " << NameAt(13 + i);
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

// The import knows a stored block id alone, so minecraft.zip holds one entry per id, the
// id's plain form (white wool, oak log), as stackmason.zip has drawn it.
TEST(DefaultPacks, MinecraftHoldsThePlainFormOfEveryId) {
    ASSERT_FALSE(Minecraft().empty());
    std::map<std::int32_t, std::vector<const Entry*>> variantsById;
    for (const Entry& entry : Stackmason())
        variantsById[BlockIdFromEntryName(entry.name)].push_back(&entry);

    std::set<std::int32_t> ids;
    std::set<std::string> names;
    for (const Entry& entry : Minecraft()) {
        names.insert(entry.name);
        const std::int32_t id = BlockIdFromEntryName(entry.name);
        EXPECT_GT(id, 0) << entry.name;
        EXPECT_TRUE(ids.insert(id).second) << entry.name << ": a second entry of id " << id;
        const auto variants = variantsById.find(id);
        ASSERT_NE(variants, variantsById.end()) << entry.name;
        const Entry* plain = variants->second.front();
        for (const Entry* variant : variants->second)
            if (VariantDataValue(variant->name) < VariantDataValue(plain->name))
                plain = variant;
        EXPECT_EQ(entry.name, plain->name);
        EXPECT_EQ(entry.bytes, plain->bytes) << entry.name;
    }
    EXPECT_EQ(ids.size(), variantsById.size());
    EXPECT_EQ(Minecraft().front().name, "stone_001.png");
    for (const char* name : {"white_wool_035.png", "oak_log_017.png", "sandstone_024.png", "quartz_block_155.png",
                             "stone_bricks_098.png", "oak_planks_005.png"})
        EXPECT_TRUE(names.contains(name)) << name;
}

// What the export writes for every entry of both packs, taken from the editor as it loads
// the pack: the data value of the variant the entry shows.
TEST_F(PackWorkspace, EveryEntryExportsTheDataValueOfItsVariant) {
    const std::pair<const char*, const std::vector<Entry>*> packs[] = {{"stackmason.zip", &Stackmason()},
                                                                       {"minecraft.zip", &Minecraft()}};
    for (const auto& [pack, packEntries] : packs) {
        const std::vector<Entry>& entries = *packEntries;
        editor_.texturePackName = pack;
        LoadTexturePack(editor_);
        ASSERT_EQ(editor_.selector.Count(), static_cast<int>(entries.size()) + 1) << pack;
        const ExportedBlocks exported = ExportedBlocksOf(editor_.selector);
        for (BlockCode code = 1; code < editor_.selector.Count(); ++code) {
            const std::string& name = entries[static_cast<std::size_t>(code - 1)].name;
            EXPECT_EQ(exported.IdOf(code), BlockIdFromEntryName(name)) << pack << ": " << name;
            EXPECT_EQ(exported.DataValueOf(code), VariantDataValue(name)) << pack << ": " << name << " at " << code;
        }
    }
}

// A building of every block of minecraft.zip, saved as a schematic and loaded again: the same
// blocks come back, and the file names each with its id and its variant's data value.
TEST_F(PackWorkspace, MinecraftBuildingsRoundTripThroughSchematics) {
    const int count = static_cast<int>(Minecraft().size());
    editor_.texturePackName = kSchematicPackName;
    LoadTexturePack(editor_);
    editor_.widthSpin.SetValue(count);
    editor_.lengthSpin.SetValue(1);
    editor_.heightSpin.SetValue(2);
    NewBuilding(editor_);
    for (int x = 1; x <= count; ++x)
        editor_.grid.At(x, 1, 2) = x;
    dialogs_.Choose("every_block", kSchematicFilter);
    SaveBuilding(editor_, false);
    const auto bytes = ReadFileBytes("every_block.schematic", 1u << 20);
    ASSERT_TRUE(bytes);
    const std::size_t cells = static_cast<std::size_t>(count) * 2;
    ASSERT_EQ(bytes->size(), 124 + 2 * cells);
    for (int x = 1; x <= count; ++x) {
        const std::string& name = Minecraft()[static_cast<std::size_t>(x - 1)].name;
        const std::size_t index = static_cast<std::size_t>(count + x - 1);  // the upper layer
        EXPECT_EQ((*bytes)[110 + index], VariantDataValue(name)) << name;
        EXPECT_EQ((*bytes)[123 + cells + index], BlockIdFromEntryName(name)) << name;
    }

    editor_.texturePackName = "stackmason.zip";
    LoadTexturePack(editor_);
    NewBuilding(editor_);
    dialogs_.Choose("every_block.schematic", kSchematicFilter);
    LoadBuilding(editor_);
    EXPECT_EQ(editor_.texturePackName, kSchematicPackName);
    ASSERT_EQ(editor_.grid.Width(), count);
    for (int x = 1; x <= count; ++x) {
        EXPECT_EQ(editor_.grid.At(x, 1, 1), 0) << x;
        EXPECT_EQ(editor_.grid.At(x, 1, 2), x) << x;
    }
    EXPECT_TRUE(dialogs_.errors.empty());
}

// ---- gameblocks.zip: the game's building blocks.

// The archive order is the block numbering of every building made with the pack.
const char* const kGameBlockOrder[] = {
    "stone_001", "granite_001", "polished_granite_001", "diorite_001", "polished_diorite_001", "andesite_001",
    "polished_andesite_001", "grass_block_002", "dirt_003", "grass_path_208", "sand_012", "red_sand_012",
    "gravel_013", "clay_082", "snow_block_080", "snow_layer_078", "t.ice_079", "packed_ice_174",
    "bedrock_007", "t.water_009", "lava_011", "obsidian_049", "netherrack_087", "soul_sand_088",
    "end_stone_121", "mycelium_110", "coal_ore_016", "iron_ore_015", "gold_ore_014", "diamond_ore_056",
    "redstone_ore_073", "lapis_ore_021", "emerald_ore_129", "nether_quartz_ore_153", "coal_block_173",
    "iron_block_042", "gold_block_041", "diamond_block_057", "redstone_block_152", "lapis_block_022",
    "emerald_block_133", "cobblestone_004", "mossy_cobblestone_048", "stone_bricks_098",
    "mossy_stone_bricks_098", "cracked_stone_bricks_098", "chiseled_stone_bricks_098", "smooth_stone_043",
    "sandstone_024", "chiseled_sandstone_024", "cut_sandstone_024", "smooth_sandstone_block_043",
    "red_sandstone_179", "chiseled_red_sandstone_179", "cut_red_sandstone_179", "smooth_red_sandstone_181",
    "bricks_045", "nether_bricks_112", "quartz_block_155", "chiseled_quartz_155", "quartz_pillar_155",
    "smooth_quartz_043", "prismarine_168", "prismarine_bricks_168", "dark_prismarine_168", "stone_slab_044",
    "double_stone_slab_043", "cobblestone_slab_044", "sandstone_slab_044", "brick_slab_044",
    "stone_brick_slab_044", "quartz_slab_044", "cobblestone_stairs_067", "sandstone_stairs_128",
    "brick_stairs_108", "stone_brick_stairs_109", "nether_brick_stairs_114", "quartz_stairs_156",
    "t.cobblestone_wall_139", "oak_planks_005", "spruce_planks_005", "birch_planks_005", "jungle_planks_005",
    "acacia_planks_005", "dark_oak_planks_005", "oak_log_017", "spruce_log_017", "birch_log_017",
    "jungle_log_017", "acacia_log_162", "dark_oak_log_162", "oak_stairs_053", "spruce_stairs_134",
    "birch_stairs_135", "jungle_stairs_136", "acacia_stairs_163", "dark_oak_stairs_164", "oak_slab_126",
    "spruce_slab_126", "birch_slab_126", "jungle_slab_126", "acacia_slab_126", "dark_oak_slab_126",
    "t.oak_fence_085", "t.spruce_fence_188", "t.birch_fence_189", "t.jungle_fence_190", "t.acacia_fence_192",
    "t.dark_oak_fence_191", "oak_door_064", "spruce_door_193", "birch_door_194", "jungle_door_195",
    "acacia_door_196", "dark_oak_door_197", "t.oak_leaves_018", "t.spruce_leaves_018", "t.birch_leaves_018",
    "t.jungle_leaves_018", "t.acacia_leaves_161", "t.dark_oak_leaves_161", "white_wool_035",
    "orange_wool_035", "magenta_wool_035", "light_blue_wool_035", "yellow_wool_035", "lime_wool_035",
    "pink_wool_035", "gray_wool_035", "light_gray_wool_035", "cyan_wool_035", "purple_wool_035",
    "blue_wool_035", "brown_wool_035", "green_wool_035", "red_wool_035", "black_wool_035",
    "white_concrete_251", "orange_concrete_251", "magenta_concrete_251", "light_blue_concrete_251",
    "yellow_concrete_251", "lime_concrete_251", "pink_concrete_251", "gray_concrete_251",
    "light_gray_concrete_251", "cyan_concrete_251", "purple_concrete_251", "blue_concrete_251",
    "brown_concrete_251", "green_concrete_251", "red_concrete_251", "black_concrete_251", "terracotta_172",
    "white_terracotta_159", "orange_terracotta_159", "magenta_terracotta_159", "light_blue_terracotta_159",
    "yellow_terracotta_159", "lime_terracotta_159", "pink_terracotta_159", "gray_terracotta_159",
    "light_gray_terracotta_159", "cyan_terracotta_159", "purple_terracotta_159", "blue_terracotta_159",
    "brown_terracotta_159", "green_terracotta_159", "red_terracotta_159", "black_terracotta_159",
    "t.white_stained_glass_095", "t.orange_stained_glass_095", "t.magenta_stained_glass_095",
    "t.light_blue_stained_glass_095", "t.yellow_stained_glass_095", "t.lime_stained_glass_095",
    "t.pink_stained_glass_095", "t.gray_stained_glass_095", "t.light_gray_stained_glass_095",
    "t.cyan_stained_glass_095", "t.purple_stained_glass_095", "t.blue_stained_glass_095",
    "t.brown_stained_glass_095", "t.green_stained_glass_095", "t.red_stained_glass_095",
    "t.black_stained_glass_095", "t.glass_020", "t.glass_pane_102", "t.iron_bars_101", "glowstone_089",
    "sea_lantern_169", "t.torch_050", "t.wall_torch_050", "t.ladder_065", "bookshelf_047",
    "crafting_table_058", "furnace_061", "chest_054", "tnt_046", "pumpkin_086", "jack_o_lantern_091",
    "melon_103", "t.cactus_081", "hay_block_170", "sponge_019", "note_block_025", "t.mob_spawner_052",
    "unknown",
};

TEST(GameBlocks, HoldsItsEntriesInTheirFixedOrder) {
    ASSERT_EQ(GameBlocks().size(), 208u);
    ASSERT_EQ(std::size(kGameBlockOrder), 208u);
    for (std::size_t i = 0; i < GameBlocks().size(); ++i)
        EXPECT_EQ(GameBlocks()[i].name, std::string(kGameBlockOrder[i]) + ".png") << "position " << i + 1;
}

// Every block but the unknown mark exports as a state of its own, so an import maps each
// state back onto exactly one entry; the unknown mark has no id and no state (it is air).
TEST(GameBlocks, EveryBlockHasAStateOfItsOwn) {
    ASSERT_FALSE(GameBlocks().empty());
    std::map<std::string, std::string> entryOfState;
    for (const Entry& entry : GameBlocks()) {
        const std::int32_t id = BlockIdFromEntryName(entry.name);
        const std::optional<std::string_view> state = BlockStateOfEntry(ItemTextFromEntryName(entry.name), id);
        if (entry.name == "unknown.png") {
            EXPECT_EQ(id, 0);
            EXPECT_FALSE(state.has_value()) << *state;
            continue;
        }
        EXPECT_GT(id, 0) << entry.name;
        ASSERT_TRUE(state.has_value()) << entry.name << " has no block state";
        const auto [other, added] = entryOfState.try_emplace(std::string(*state), entry.name);
        EXPECT_TRUE(added) << entry.name << " and " << other->second << " are both " << *state;
    }
    EXPECT_EQ(entryOfState.size(), 207u);

    // Whatever the other default packs export, a building of them comes in through this one.
    for (const std::vector<Entry>* pack : {&Stackmason(), &Minecraft()}) {
        ASSERT_FALSE(pack->empty());
        for (const Entry& entry : *pack) {
            const auto state = BlockStateOfEntry(ItemTextFromEntryName(entry.name), BlockIdFromEntryName(entry.name));
            ASSERT_TRUE(state.has_value()) << entry.name;
            EXPECT_TRUE(entryOfState.contains(std::string(*state))) << entry.name << " exports " << *state
                                                                     << ", which gameblocks.zip lacks";
        }
    }
}

// Each picture tells its block from all others, as the editor shows it (the leftmost face),
// and only the see-through blocks carry alpha.
TEST(GameBlocks, PicturesDecodeAndDifferFromEachOther) {
    ASSERT_FALSE(GameBlocks().empty());
    std::map<std::vector<std::uint32_t>, std::string> pictures;
    for (const Entry& entry : GameBlocks()) {
        const Image& image = entry.image;
        ASSERT_FALSE(image.IsEmpty()) << entry.name << " does not decode";
        EXPECT_TRUE(image.Width() == image.Height() || image.Width() == 6 * image.Height()) << entry.name;
        EXPECT_TRUE(image.Height() == 16 || image.Height() == 32) << entry.name;
        EXPECT_EQ(IsBlendedEntryName(entry.name), HasSeeThroughPixels(image)) << entry.name;
        const Image face = LeftmostFace(image);
        if (entry.name != "unknown.png") {  // a flat board on purpose
            EXPECT_GE(DistinctColours(face), 4u) << entry.name << " is nearly blank";
        }
        std::vector<std::uint32_t> pixels{static_cast<std::uint32_t>(face.Width())};
        for (const Rgba& p : face.Pixels())
            pixels.push_back(std::uint32_t{p.r} << 24 | std::uint32_t{p.g} << 16 | std::uint32_t{p.b} << 8 | p.a);
        const auto [other, added] = pictures.try_emplace(std::move(pixels), entry.name);
        EXPECT_TRUE(added) << entry.name << " looks exactly like " << other->second;
    }
}

// Runs the generator into a folder of its own under another time zone than the build's:
// archive times are local times, so a zone-dependent date would show here.
TEST(DefaultPacks, GeneratingAgainGivesTheSameBytes) {
    const test::TempFolder temp("stackmason-packgen");
    const std::string folder = temp.Path().string();
    const std::string command = std::string("TZ=XST-5:30 '") + STACKMASON_PACKGEN + "' '" + folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* pack : {"/stackmason.zip", "/minecraft.zip", "/gameblocks.zip"}) {
        const auto built = ReadFileBytes(kPackDir + pack, 1u << 26);
        const auto again = ReadFileBytes(folder + pack, 1u << 26);
        ASSERT_TRUE(built && again) << pack;
        EXPECT_TRUE(*built == *again) << pack << " differs between runs";
    }
}

}  // namespace
}  // namespace stackmason
