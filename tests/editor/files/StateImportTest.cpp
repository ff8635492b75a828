// How the block states of a file find their blocks: in the pack of the game's blocks, in the
// pack a file of ours names, and what the user is told of the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FilesTestSupport.h"
#include "NbtBuilder.h"
#include "common/BlockStates.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/GameVersions.h"
#include "editor/files/StateImport.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t k1_13 = 1631;
constexpr std::int64_t k1_20_4 = 3700;

class GameBlocksMapping : public ::testing::Test {
protected:
    void SetUp() override {
        CopyDefaultPack(kGameBlocksPackName);
        pack_ = StageTexturePack(kGameBlocksPackName);
        ASSERT_GT(pack_.selector.Count(), 200);
    }

    struct Expected {
        const char* state;
        std::int64_t dataVersion;
        const char* entry;  // nullptr for air
        StateMatch match;
    };

    void Check(const std::vector<Expected>& cases) const {
        for (const Expected& c : cases) {
            const ImportedStateCodes codes(pack_.selector, c.dataVersion);
            const MappedState mapped = codes.Map(c.state);
            const BlockCode expected = c.entry ? CodeOfItem(pack_.selector, c.entry) : 0;
            EXPECT_EQ(mapped.code, expected) << c.state << " of " << c.dataVersion << " became "
                                             << (mapped.code > 0 ? pack_.selector.ItemAt(mapped.code).text : "air");
            EXPECT_EQ(mapped.match, c.match) << c.state << " of " << c.dataVersion;
        }
    }

    FilesTestEditor test_{1, 1, 1};
    StagedPack pack_;
};

TEST_F(GameBlocksMapping, SameStatesWhateverTheOrderOfTheirPropertiesAndTheDefaultsLeftOut) {
    Check({
        {"minecraft:stone_slab[waterlogged=false,type=bottom]", k1_13, "stone_slab_044", StateMatch::Exact},
        {"minecraft:stone_slab[type=double,waterlogged=false]", k1_13, "double_stone_slab_043", StateMatch::Exact},
        {"minecraft:oak_log", k1_13, "oak_log_017", StateMatch::Exact},
        {" white_wool ", k1_13, "white_wool_035", StateMatch::Exact},
        {"minecraft:spruce_door[powered=false,open=false,hinge=left,half=lower,facing=north]", k1_13,
         "spruce_door_193", StateMatch::Exact},
        // Connections, snow and a leaf's distance are the game's to work out.
        {"minecraft:oak_fence[east=true,north=false,south=true,waterlogged=false,west=false]", k1_20_4,
         "t.oak_fence_085", StateMatch::Exact},
        {"minecraft:spruce_leaves[distance=3,persistent=true,waterlogged=false]", k1_20_4, "t.spruce_leaves_018",
         StateMatch::Exact},
        {"minecraft:grass_block[snowy=true]", k1_20_4, "grass_block_002", StateMatch::Exact},
        {"minecraft:air", k1_20_4, nullptr, StateMatch::Exact},
        {"minecraft:cave_air", k1_20_4, nullptr, StateMatch::Exact},
        {"void_air", k1_20_4, nullptr, StateMatch::Exact},
    });
}

// The start-up pack holds the double slab before the slab; each state still finds its own.
TEST(StackmasonPackMapping, TheSlabIsNotTakenForTheDoubleSlabWhateverTheOrder) {
    FilesTestEditor test(1, 1, 1);
    CopyDefaultPack("stackmason.zip");
    const StagedPack pack = StageTexturePack("stackmason.zip");
    const ImportedStateCodes codes(pack.selector, k1_13);
    EXPECT_EQ(codes.Map("minecraft:stone_slab[waterlogged=false,type=bottom]").code,
              CodeOfItem(pack.selector, "stone_slab_044"));
    EXPECT_EQ(codes.Map("minecraft:stone_slab[waterlogged=false,type=double]").code,
              CodeOfItem(pack.selector, "double_stone_slab_043"));
    EXPECT_EQ(codes.Map("minecraft:stone_slab[type=top,waterlogged=false]").code,
              CodeOfItem(pack.selector, "stone_slab_044"));
}

// A file's names are those of its release: 1.13's "stone_slab" is the smooth stone slab,
// that of 1.14 on a new block.
TEST_F(GameBlocksMapping, NamesAreTakenAtTheFilesRelease) {
    Check({
        {"minecraft:dirt_path", k1_20_4, "grass_path_208", StateMatch::Exact},
        {"minecraft:grass_path", k1_13, "grass_path_208", StateMatch::Exact},
        {"minecraft:smooth_stone_slab[type=bottom,waterlogged=false]", k1_20_4, "stone_slab_044", StateMatch::Exact},
        {"minecraft:stone_slab[type=bottom,waterlogged=false]", k1_20_4, "stone_slab_044", StateMatch::Approximate},
        {"minecraft:stone_slab[type=bottom,waterlogged=false]", 1952, "stone_slab_044", StateMatch::Approximate},
        {"minecraft:stone_slab[type=bottom,waterlogged=false]", 1951, "stone_slab_044", StateMatch::Exact},
        {"minecraft:short_grass", k1_20_4, "unknown", StateMatch::Unknown},
    });
}

TEST_F(GameBlocksMapping, OtherStatesOfTheSameBlockAndTheNearestOfTheFamily) {
    Check({
        {"minecraft:oak_stairs[facing=east,half=top,shape=straight,waterlogged=false]", k1_20_4, "oak_stairs_053",
         StateMatch::Approximate},
        {"minecraft:birch_slab[type=top,waterlogged=false]", k1_20_4, "birch_slab_126", StateMatch::Approximate},
        {"minecraft:oak_log[axis=x]", k1_20_4, "oak_log_017", StateMatch::Approximate},
        {"minecraft:granite_slab[type=bottom,waterlogged=false]", k1_20_4, "stone_slab_044", StateMatch::Approximate},
        {"minecraft:cut_sandstone_slab[type=bottom,waterlogged=false]", k1_20_4, "sandstone_slab_044",
         StateMatch::Approximate},
        {"minecraft:prismarine_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]", k1_20_4,
         "prismarine_168", StateMatch::Approximate},
        {"minecraft:andesite_wall[east=none,north=low,south=none,up=true,waterlogged=false,west=none]", k1_20_4,
         "t.cobblestone_wall_139", StateMatch::Approximate},
        {"minecraft:stripped_spruce_log[axis=y]", k1_20_4, "spruce_log_017", StateMatch::Approximate},
        {"minecraft:cherry_planks", k1_20_4, "birch_planks_005", StateMatch::Approximate},
        {"minecraft:mangrove_door[facing=east,half=upper,hinge=left,open=false,powered=false]", k1_20_4,
         "acacia_door_196", StateMatch::Approximate},
        {"minecraft:crimson_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]", k1_20_4,
         "dark_oak_stairs_164", StateMatch::Approximate},
        {"minecraft:iron_door[facing=north,half=lower,hinge=left,open=false,powered=false]", k1_20_4, "oak_door_064",
         StateMatch::Approximate},
        {"minecraft:soul_wall_torch[facing=east]", k1_20_4, "t.wall_torch_050", StateMatch::Approximate},
        {"minecraft:lantern[hanging=false,waterlogged=false]", k1_20_4, "t.torch_050", StateMatch::Approximate},
        {"minecraft:red_carpet", k1_20_4, "red_wool_035", StateMatch::Approximate},
        {"minecraft:lime_concrete_powder", k1_20_4, "lime_concrete_251", StateMatch::Approximate},
        {"minecraft:blue_glazed_terracotta[facing=south]", k1_20_4, "blue_terracotta_159", StateMatch::Approximate},
        {"minecraft:cyan_stained_glass_pane[east=false,north=true,south=true,waterlogged=false,west=false]", k1_20_4,
         "t.cyan_stained_glass_095", StateMatch::Approximate},
        {"minecraft:deepslate_diamond_ore", k1_20_4, "diamond_ore_056", StateMatch::Approximate},
        {"minecraft:tinted_glass", k1_20_4, "t.glass_020", StateMatch::Approximate},
        {"minecraft:podzol[snowy=false]", k1_20_4, "dirt_003", StateMatch::Approximate},
        // A double slab is its material's full block, not half of one.
        {"minecraft:cobblestone_slab[type=double,waterlogged=false]", k1_20_4, "cobblestone_004",
         StateMatch::Approximate},
        {"minecraft:stone_slab[type=double,waterlogged=false]", k1_13, "double_stone_slab_043", StateMatch::Exact},
    });
}

// What has nothing near in the pack is never made into a real block.
TEST_F(GameBlocksMapping, BlocksWithNothingNearBecomeTheUnknownEntry) {
    Check({
        {"minecraft:beacon", k1_20_4, "unknown", StateMatch::Unknown},
        {"minecraft:oak_sign[rotation=0,waterlogged=false]", k1_20_4, "unknown", StateMatch::Unknown},
        {"minecraft:oak_button[face=floor,facing=north,powered=false]", k1_20_4, "unknown", StateMatch::Unknown},
        {"minecraft:red_bed[facing=north,occupied=false,part=foot]", k1_20_4, "unknown", StateMatch::Unknown},
        {"mymod:oak_log", k1_20_4, "unknown", StateMatch::Unknown},
    });
    // A pack without such an entry leaves them air, still counted as unknown.
    WritePack("plain.zip", {"stone_001.png", "grass_002.png"});
    const StagedPack plain = StageTexturePack("plain.zip");
    const MappedState beacon = ImportedStateCodes(plain.selector, k1_20_4).Map("minecraft:beacon");
    EXPECT_EQ(beacon.code, 0);
    EXPECT_EQ(beacon.match, StateMatch::Unknown);
}

TEST(ImportReport, ListsWhatWasNotExactMostCellsFirstWithinItsLines) {
    StagedPack pack;
    pack.name = "blocks.zip";
    for (const char* text : {"Air", "oak_stairs_053", "unknown"})
        pack.selector.Add(text, Image(32, 32));
    std::vector<ImportedState> states = {
        {"minecraft:stone", {5, StateMatch::Exact}, 900},
        {"minecraft:beacon", {2, StateMatch::Unknown}, 1},
        {"minecraft:oak_stairs[facing=east]", {1, StateMatch::Approximate}, 40},
        {"minecraft:oak_stairs[facing=west]", {1, StateMatch::Approximate}, 40},
        {"minecraft:cherry_log", {1, StateMatch::Approximate}, 0},  // no cells: not said
    };
    EXPECT_EQ(ImportReportText(states, pack, 10),
              "Not every block of this file is in the pack blocks.zip as it is. These came in as the nearest block "
              "of the pack, or as \"unknown\" (saved as air):\n"
              "40 cells of minecraft:oak_stairs[facing=east] became oak_stairs_053\n"
              "40 cells of minecraft:oak_stairs[facing=west] became oak_stairs_053\n"
              "1 cell of minecraft:beacon became unknown");
    const std::string capped = ImportReportText(states, pack, 1);
    EXPECT_TRUE(capped.ends_with("\n40 cells of minecraft:oak_stairs[facing=east] became oak_stairs_053\n"
                                 "and 2 more block states in 41 cells"))
        << capped;
    states.resize(1);
    EXPECT_EQ(ImportReportText(states, pack, 10), "");
}

// ---- Loads in the window.

void LoadAs(FilesTestEditor& test, const std::string& path) {
    test.dialogs.Choose(path, kSpongeFilter);
    LoadBuilding(test.editor);
}

// A building of one cell per entry of the pack, in a row.
void FillWithEveryEntry(FilesTestEditor& test, const std::string& packName) {
    StagedPack pack = StageTexturePack(packName);
    const int count = pack.selector.Count() - 1;
    test.editor.widthSpin.SetValue(count);
    test.editor.lengthSpin.SetValue(1);
    test.editor.heightSpin.SetValue(1);
    NewBuilding(test.editor);
    test.editor.selector.TakeItemsOf(pack.selector);
    test.editor.texturePackName = packName;
    for (int x = 1; x <= count; ++x)
        test.editor.grid.At(x, 1, 1) = x;
}

// Every entry of each default pack, exported and imported again, is the same block: with its
// own pack in the folder as the same code, and without it in the pack of the game's blocks.
TEST(SpongeRoundTrip, EveryEntryOfEachDefaultPackComesBackAsTheSameBlock) {
    for (const std::string name : {"stackmason.zip", "minecraft.zip", kGameBlocksPackName}) {
        SCOPED_TRACE(name);
        FilesTestEditor test(1, 1, 1);
        CopyDefaultPack(name);
        CopyDefaultPack(kGameBlocksPackName);
        FillWithEveryEntry(test, name);
        const PackBlockStates states(test.editor.selector);
        const Building before = test.editor.grid;
        test.dialogs.Choose("round", kSpongeFilter);
        SaveBuilding(test.editor, false);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        test.dialogs.infos.clear();

        LoadAs(test, "round.schem");
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.texturePackName, name);
        EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
        for (int x = 1; x <= before.Width(); ++x)
            EXPECT_EQ(test.editor.grid.At(x, 1, 1), states.HasState(x) ? x : 0) << x;

        if (name == kGameBlocksPackName)
            continue;
        fs::remove(name);
        LoadAs(test, "round.schem");
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.texturePackName, kGameBlocksPackName);
        EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
        const PackBlockStates loaded(test.editor.selector);
        for (int x = 1; x <= before.Width(); ++x)
            EXPECT_EQ(loaded.StateOf(test.editor.grid.At(x, 1, 1)), states.StateOf(x)) << x;
    }
}

// A file of another tool: the palette in any order, newer names, the data version after the
// data; one "Info" box says what was approximated.
std::vector<std::uint8_t> OtherToolFile(const std::string& packTag, bool dataVersionFirst, bool versionTag = true) {
    NbtBuilder nbt;
    nbt.Tag(10, "Schematic");
    if (versionTag)
        nbt.Tag(3, "Version").Int(versionTag ? 2 : 1);
    if (dataVersionFirst)
        nbt.Tag(3, "DataVersion").Int(k1_20_4);
    nbt.Tag(10, "Metadata");
    if (!packTag.empty())
        nbt.Tag(8, "StackmasonPack").Text(packTag);
    nbt.End();
    nbt.ShortTag("Width", 3).ShortTag("Height", 1).ShortTag("Length", 2);
    nbt.Tag(10, "Palette")
        .Tag(3, "minecraft:dirt_path").Int(3)
        .Tag(3, "minecraft:oak_stairs[waterlogged=false,shape=straight,half=bottom,facing=south]").Int(0)
        .Tag(3, "minecraft:air").Int(1)
        .Tag(3, "minecraft:beacon").Int(2)
        .End();
    nbt.ByteArrayTag("BlockData", {0, 0, 3, 2, 1, 0});
    if (!dataVersionFirst)
        nbt.Tag(3, "DataVersion").Int(k1_20_4);
    return Gzip(nbt.End().Result());
}

TEST(SpongeImport, FilesOfOtherToolsComeInWithTheGameBlocksAndAReport) {
    FilesTestEditor test(4, 4, 4);
    CopyDefaultPack(kGameBlocksPackName);
    CopyDefaultPack("stackmason.zip");
    fs::create_directory("sub");
    CopyDefaultPack("stackmason.zip");
    fs::copy_file("stackmason.zip", "sub/mine.zip");
    // Read as the data comes, or held until the data version is known; a named pack that is
    // no bare file name in this folder is not opened.
    for (const auto& [packTag, first] : {std::pair{"", true}, std::pair{"", false}, std::pair{"sub/mine.zip", true},
                                          std::pair{"../stackmason.zip", true}, std::pair{"none.zip", true}}) {
        SCOPED_TRACE(std::string(packTag) + (first ? " first" : " last"));
        WriteBytes("other.schem", OtherToolFile(packTag, first));
        test.dialogs.infos.clear();
        LoadAs(test, "other.schem");
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.texturePackName, kGameBlocksPackName);
        const SelectorModel& pack = test.editor.selector;
        const BlockCode stairs = CodeOfItem(pack, "oak_stairs_053"), path = CodeOfItem(pack, "grass_path_208"),
                        unknown = CodeOfItem(pack, "unknown");
        EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{stairs, unknown, stairs, 0, path, stairs}));
        ASSERT_EQ(test.dialogs.infos.size(), 1u);
        EXPECT_EQ(test.dialogs.infos[0].substr(test.dialogs.infos[0].find('\n')),
                  "\n3 cells of minecraft:oak_stairs[waterlogged=false,shape=straight,half=bottom,facing=south] "
                  "became oak_stairs_053\n1 cell of minecraft:beacon became unknown");
    }
    // A file without its version that holds what version 1 holds.
    WriteBytes("old.schem", OtherToolFile("", false, false));
    LoadAs(test, "old.schem");
    ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
    EXPECT_EQ(test.editor.grid.Width(), 3);
    // A file whose states are all in the pack it names is read with that pack, quietly.
    test.dialogs.infos.clear();
    NbtBuilder own;
    own.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(k1_13);
    own.Tag(10, "Metadata").Tag(8, "StackmasonPack").Text("stackmason.zip").End();
    own.ShortTag("Width", 2).ShortTag("Height", 1).ShortTag("Length", 1);
    own.Tag(10, "Palette").Tag(3, "minecraft:air").Int(0).Tag(3, "minecraft:stone_slab[type=bottom,waterlogged=false]").Int(1).End();
    own.ByteArrayTag("BlockData", {1, 0}).End();
    WriteBytes("own.schem", Gzip(own.Result()));
    // Named by a path, the pack is not looked for, though it holds every state.
    WriteBytes("elsewhere.schem", [&] {
        NbtBuilder copy;
        copy.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(k1_13);
        copy.Tag(10, "Metadata").Tag(8, "StackmasonPack").Text("sub/mine.zip").End();
        copy.ShortTag("Width", 2).ShortTag("Height", 1).ShortTag("Length", 1);
        copy.Tag(10, "Palette").Tag(3, "minecraft:air").Int(0).Tag(3, "minecraft:stone").Int(1).End();
        copy.ByteArrayTag("BlockData", {1, 0}).End();
        return Gzip(copy.Result());
    }());
    LoadAs(test, "elsewhere.schem");
    EXPECT_EQ(test.editor.texturePackName, kGameBlocksPackName);
    LoadAs(test, "own.schem");
    ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
    EXPECT_EQ(test.editor.texturePackName, "stackmason.zip");
    EXPECT_EQ(test.editor.grid.At(1, 1, 1), CodeOfItem(test.editor.selector, "stone_slab_044"));
    EXPECT_TRUE(test.dialogs.infos.empty());
}

// ---- Releases.

// Each release's names, read back at that release, are the newest names of the same blocks;
// the renames come in at their releases and not before.
TEST(GameReleases, NamesWrittenForAReleaseReadBackAsTheSameBlocks) {
    const std::span<const GameRelease> releases = GameReleases();
    ASSERT_FALSE(releases.empty());
    EXPECT_EQ(releases.front().name, "1.13");
    EXPECT_EQ(releases.back().dataVersion, NewestKnownDataVersion());
    for (std::size_t i = 1; i < releases.size(); ++i)
        EXPECT_LT(releases[i - 1].dataVersion, releases[i].dataVersion) << releases[i].name;
    EXPECT_EQ(DefaultGameRelease().name, "1.20.1");
    EXPECT_EQ(FindGameRelease("1.20.1"), &DefaultGameRelease());
    EXPECT_EQ(FindGameRelease("1.20.9"), nullptr);
    for (const BlockStateRow& row : BlockStateTable()) {
        const std::string id = BlockIdOfState(row.state);
        for (const GameRelease& release : releases)
            EXPECT_EQ(BlockIdAtNewest(BlockIdAtRelease(id, release.dataVersion), release.dataVersion),
                      BlockIdAtNewest(id, k1_13))
                << id << " at " << release.name;
    }
    const std::int64_t v1_16_5 = FindGameRelease("1.16.5")->dataVersion, v1_17 = FindGameRelease("1.17")->dataVersion;
    EXPECT_EQ(StateAtRelease("minecraft:stone_slab[type=bottom,waterlogged=false]", FindGameRelease("1.13.2")->dataVersion),
              "minecraft:stone_slab[type=bottom,waterlogged=false]");
    EXPECT_EQ(StateAtRelease("minecraft:stone_slab[type=bottom,waterlogged=false]", FindGameRelease("1.14")->dataVersion),
              "minecraft:smooth_stone_slab[type=bottom,waterlogged=false]");
    EXPECT_EQ(StateAtRelease("minecraft:grass_path", v1_16_5), "minecraft:grass_path");
    EXPECT_EQ(StateAtRelease("minecraft:grass_path", v1_17), "minecraft:dirt_path");
}

}  // namespace
}  // namespace stackmason::testing
