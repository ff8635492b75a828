// The Sponge schematic export and import: files read back by a small NBT reader of the
// tests' own, round trips through the default Minecraft pack, files as other tools write
// them, and files that must be refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <variant>

#include <zlib.h>

#include "FilesTestSupport.h"
#include "NbtBuilder.h"
#include "TestNbtReader.h"
#include "common/BlockStates.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/FileRequests.h"
#include "editor/files/GameVersions.h"
#include "editor/files/MaterialList.h"
#include "editor/files/SpongeFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason::testing {
namespace {

const std::string kPackDir = STACKMASON_PACK_DIR;

// The cells of a written file as block states, in the file's index order x + z W + y W L.
std::vector<std::string> DecodeBlocks(const Nbt& schematic) {
    std::map<std::int64_t, std::string> stateOf;
    for (const auto& [state, index] : schematic["Palette"].compound) {
        EXPECT_EQ(index.type, 3) << state;
        EXPECT_TRUE(stateOf.emplace(index.number, state).second) << "index twice: " << index.number;
    }
    std::vector<std::string> cells;
    const std::vector<std::uint8_t>& data = schematic["BlockData"].bytes;
    for (std::size_t at = 0; at < data.size();) {
        std::int64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t byte = data.at(at++);
            value |= std::int64_t{byte & 0x7F} << shift;
            if (!(byte & 0x80))
                break;
        }
        cells.push_back(stateOf.at(value));
    }
    return cells;
}

std::pair<std::string, Nbt> ReadSchem(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0x1F);  // gzip
    EXPECT_EQ(bytes[1], 0x8B);
    const std::vector<std::uint8_t> content = Gunzip(bytes);
    return TestNbtReader(content).Root();
}

void SaveAs(FilesTestEditor& test, const std::string& name, int filter) {
    test.dialogs.Choose(name, filter);
    SaveBuilding(test.editor, false);
}

void LoadAs(Editor& editor, FakeDialogs& dialogs, const std::string& path, int filter) {
    dialogs.Choose(path, filter);
    LoadBuilding(editor);
}

void CopyMinecraftPack() { CopyDefaultPack("minecraft.zip"); }

// ---- Export.

TEST(SpongeExport, WritesVersionTwoWithThePaletteAndVarintsInBuildingOrder) {
    FilesTestEditor test(3, 2, 2);
    WritePack("pack.zip", {"stone_001.png", "t.leaves_018.png", "oak_stairs_053.png", "mystery_250.png"});
    StagedPack pack = StageTexturePack("pack.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    // (x, y, h) -> index x-1 + (y-1) 3 + (h-1) 6.
    test.editor.grid.At(1, 1, 1) = 2;
    test.editor.grid.At(3, 1, 1) = 1;
    test.editor.grid.At(1, 2, 1) = 3;
    test.editor.grid.At(2, 1, 2) = 4;  // no block state: air, and counted
    test.editor.grid.At(3, 2, 2) = 4;
    test.editor.grid.At(2, 2, 2) = 9;  // beyond the pack
    test.editor.grid.At(1, 1, 0) = 1;  // the ground is not written
    SaveAs(test, "House", kSpongeFilter);
    ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
    ASSERT_TRUE(std::filesystem::exists("House.schem"));

    const auto [rootName, root] = ReadSchem("House.schem");
    EXPECT_EQ(rootName, "Schematic");
    EXPECT_EQ(root["Version"].number, 2);
    EXPECT_EQ(root["Version"].type, 3);
    EXPECT_EQ(root["DataVersion"].number, 3465);  // 1.20.1, unless the user chooses another
    EXPECT_EQ(root["Width"].number, 3);
    EXPECT_EQ(root["Height"].number, 2);
    EXPECT_EQ(root["Length"].number, 2);
    EXPECT_EQ(root["Offset"].numbers, (std::vector<std::int64_t>{0, 0, 0}));
    EXPECT_EQ(root["Metadata"]["Name"].text, "House");
    EXPECT_EQ(root["Metadata"]["Date"].type, 4);
    EXPECT_GT(root["Metadata"]["Date"].number, 1500000000000);  // milliseconds
    EXPECT_EQ(root["PaletteMax"].number, static_cast<std::int64_t>(root["Palette"].compound.size()));
    EXPECT_EQ(root["BlockEntities"].list.size(), 0u);
    EXPECT_TRUE(root["Palette"].Has("minecraft:air"));

    const std::string air = "minecraft:air", stone = "minecraft:stone", leaves = "minecraft:oak_leaves[persistent=true]",
                      stairs = "minecraft:oak_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]";
    EXPECT_EQ(DecodeBlocks(root), (std::vector<std::string>{leaves, air, stone, stairs, air, air,  //
                                                            air, air, air, air, air, air}));
    ASSERT_EQ(test.dialogs.infos.size(), 1u);
    EXPECT_NE(test.dialogs.infos[0].find("3 cells were written as air"), std::string::npos) << test.dialogs.infos[0];
    EXPECT_NE(test.dialogs.infos[0].find("mystery_250: 2"), std::string::npos) << test.dialogs.infos[0];
    EXPECT_NE(test.dialogs.infos[0].find("block code 9: 1"), std::string::npos) << test.dialogs.infos[0];

    // The extension rule of the other types: an exact ".schem" stays, anything else gets one.
    SaveAs(test, "Tower.schem", kSpongeFilter);
    SaveAs(test, "Tower.SCHEM", kSpongeFilter);
    EXPECT_TRUE(std::filesystem::exists("Tower.schem"));
    EXPECT_TRUE(std::filesystem::exists("Tower.SCHEM.schem"));
    EXPECT_FALSE(std::filesystem::exists("Tower.schem.schem"));
}

// A file for a chosen release has that release's DataVersion and names.
TEST(SpongeExport, NamesBlocksAsTheChosenReleaseDoes) {
    FilesTestEditor test(3, 1, 1);
    WritePack("pack.zip", {"stone_slab_044.png", "grass_path_208.png", "stone_001.png"});
    StagedPack pack = StageTexturePack("pack.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    for (int x = 1; x <= 3; ++x)
        test.editor.grid.At(x, 1, 1) = x;
    const std::string packName = "pack.zip";
    const LayerSource layers = LayersOf(test.editor.grid);
    struct Case {
        std::int64_t dataVersion;
        std::vector<std::string> states;
    };
    for (const Case& c : {Case{1631, {"minecraft:stone_slab[type=bottom,waterlogged=false]", "minecraft:grass_path",
                                      "minecraft:stone"}},
                          Case{2586, {"minecraft:smooth_stone_slab[type=bottom,waterlogged=false]",
                                      "minecraft:grass_path", "minecraft:stone"}},
                          Case{4790, {"minecraft:smooth_stone_slab[type=bottom,waterlogged=false]",
                                      "minecraft:dirt_path", "minecraft:stone"}}}) {
        SCOPED_TRACE(c.dataVersion);
        ASSERT_TRUE(FormatOfFilter(kSpongeFilter)
                        .save(SavedBuilding{layers, test.editor.selector, packName, c.dataVersion}, test.dialogs,
                              "release.schem"));
        const auto [name, root] = ReadSchem("release.schem");
        EXPECT_EQ(root["DataVersion"].number, c.dataVersion);
        EXPECT_EQ(DecodeBlocks(root), c.states);
    }
}

// The save requester offers every release, oldest first, and preselects the session's: the
// default until the builder picks another, then that one for every later save, whose file
// carries its DataVersion and names. The load requester offers no release.
TEST(SaveRequester, HandsTheReleaseChosenForTheSessionToTheSave) {
    FilesTestEditor test(3, 1, 1);
    WritePack("pack.zip", {"stone_slab_044.png", "grass_path_208.png", "stone_001.png"});
    StagedPack pack = StageTexturePack("pack.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    for (int x = 1; x <= 3; ++x)
        test.editor.grid.At(x, 1, 1) = x;
    const std::vector<std::string> names1_13{"minecraft:stone_slab[type=bottom,waterlogged=false]",
                                             "minecraft:grass_path", "minecraft:stone"};
    const std::vector<std::string> names1_20{"minecraft:smooth_stone_slab[type=bottom,waterlogged=false]",
                                             "minecraft:dirt_path", "minecraft:stone"};
    struct Save {
        const char* file;
        int choice;  // -1: the requester answered without a choice
        const char* preselected;
        std::int64_t dataVersion;
        const std::vector<std::string>& names;
    };
    // 1.13.2 is the third release of the list (1.13, 1.13.1, 1.13.2).
    const int index1_13_2 = 2;
    const int indexNewest = static_cast<int>(GameReleases().size()) - 1;
    for (const Save& save : {Save{"default.schem", -1, "1.20.1", 3465, names1_20},
                             Save{"chosen.schem", index1_13_2, "1.20.1", 1631, names1_13},
                             Save{"kept.schem", -1, "1.13.2", 1631, names1_13},
                             Save{"newest.schem", indexNewest, "1.13.2", 4790, names1_20}}) {
        SCOPED_TRACE(save.file);
        test.dialogs.Choose(save.file, kSpongeFilter, save.choice);
        SaveBuilding(test.editor, false);
        const FileRequest& request = test.dialogs.requests.back();
        EXPECT_EQ(request.choiceLabel, "Game version:");
        ASSERT_EQ(request.choices.size(), GameReleases().size());
        EXPECT_EQ(request.choices.front(), "1.13");
        EXPECT_EQ(request.choices.back(), "26.1.2");
        for (std::size_t i = 1; i < request.choices.size(); ++i)
            EXPECT_LT(FindGameRelease(request.choices[i - 1])->dataVersion,
                      FindGameRelease(request.choices[i])->dataVersion)
                << request.choices[i];
        ASSERT_GE(request.selectedChoice, 0);
        EXPECT_EQ(request.choices[static_cast<std::size_t>(request.selectedChoice)], save.preselected);
        EXPECT_EQ(request.filters.size(), FileFormats().size());
        EXPECT_EQ(request.title, "Save Building ");
        const auto [name, root] = ReadSchem(save.file);
        EXPECT_EQ(root["DataVersion"].number, save.dataVersion);
        EXPECT_EQ(DecodeBlocks(root), save.names);
    }
    EXPECT_TRUE(test.dialogs.errors.empty());

    test.dialogs.Cancel();
    LoadBuilding(test.editor);
    EXPECT_EQ(test.dialogs.requests.back().title, "Load Building ");
    EXPECT_TRUE(test.dialogs.requests.back().choices.empty());
    EXPECT_TRUE(test.dialogs.requests.back().choiceLabel.empty());
}

// The material list names blocks as the session's release does, the default one until the
// save requester picks another; a block with no state stays without one.
TEST(MaterialList, NamesBlocksAsTheReleaseOfTheSession) {
    FilesTestEditor test(4, 1, 1);
    WritePack("pack.zip", {"stone_slab_044.png", "grass_path_208.png", "stone_001.png", "no_state.png"});
    StagedPack pack = StageTexturePack("pack.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    for (int x = 1; x <= 4; ++x)
        test.editor.grid.At(x, 1, 1) = x;
    const auto states = [&] {
        std::map<std::string, std::string> named;
        for (const MaterialRow& row : CountMaterials(test.editor, MaterialScope::Building).rows)
            named[row.name] = row.blockState;
        return named;
    };
    using Named = std::map<std::string, std::string>;
    EXPECT_EQ(states(), (Named{{"stone_slab_044", "minecraft:smooth_stone_slab[type=bottom,waterlogged=false]"},
                               {"grass_path_208", "minecraft:dirt_path"},
                               {"stone_001", "minecraft:stone"},
                               {"no_state", ""}}));

    test.dialogs.Choose("old", kTextFilter, 2);  // 1.13.2
    SaveBuilding(test.editor, false);
    EXPECT_EQ(states(), (Named{{"stone_slab_044", "minecraft:stone_slab[type=bottom,waterlogged=false]"},
                               {"grass_path_208", "minecraft:grass_path"},
                               {"stone_001", "minecraft:stone"},
                               {"no_state", ""}}));
    test.dialogs.Choose("materials", 0);
    ASSERT_TRUE(SaveMaterialList(test.editor, CountMaterials(test.editor, MaterialScope::Building)));
    EXPECT_EQ(ReadText("materials.csv"),
              "name,block state,count\n"
              "stone_slab_044,\"minecraft:stone_slab[type=bottom,waterlogged=false]\",1\n"
              "grass_path_208,minecraft:grass_path,1\n"
              "stone_001,minecraft:stone,1\n"
              "no_state,,1\n");
    EXPECT_TRUE(test.dialogs.requests.back().choices.empty());
}

// The game's strings are modified UTF-8: an emoji is its surrogate pair, three bytes a half,
// and a byte of a foreign file name that is no UTF-8 becomes U+FFFD. The file still loads.
TEST(SpongeExport, WritesTheFileNameInModifiedUtf8) {
    FilesTestEditor test(2, 2, 1);
    CopyMinecraftPack();
    StagedPack pack = StageTexturePack("minecraft.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    test.editor.texturePackName = "minecraft.zip";
    test.editor.grid.At(2, 1, 1) = 1;
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Haus \xF0\x9F\x98\x80", "Haus \xED\xA0\xBD\xED\xB8\x80"},     // U+1F600
        {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},       // two and three bytes stay
        {"Old\xE9", "Old\xEF\xBF\xBD"},                                      // Latin-1, no UTF-8
    };
    for (const auto& [name, written] : names) {
        SCOPED_TRACE(name);
        SaveAs(test, name, kSpongeFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        const auto [rootName, root] = ReadSchem(name + ".schem");
        EXPECT_EQ(root["Metadata"]["Name"].text, written);
        EXPECT_EQ(DecodeBlocks(root)[1], "minecraft:stone");

        test.editor.grid.At(2, 1, 1) = 0;
        LoadAs(test.editor, test.dialogs, name + ".schem", kSpongeFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.grid.At(2, 1, 1), 1);
    }
}

TEST(SpongeExport, NamesEveryDefaultPackEntryAndPropertiesInKeyOrder) {
    FilesTestEditor test(1, 1, 1);
    for (const char* pack : {"minecraft.zip", "stackmason.zip"}) {
        const StagedPack staged = StageTexturePack(kPackDir + "/" + pack);
        ASSERT_GT(staged.selector.Count(), 60) << pack;
        const PackBlockStates states(staged.selector);
        for (BlockCode code = 1; code < staged.selector.Count(); ++code) {
            const std::string& state = states.StateOf(code);
            ASSERT_TRUE(state.starts_with("minecraft:")) << pack << " " << staged.selector.ItemAt(code).text;
            const std::size_t open = state.find('[');
            if (open == std::string::npos)
                continue;
            ASSERT_TRUE(state.ends_with("]")) << state;
            std::vector<std::string> keys;
            std::string properties = state.substr(open + 1, state.size() - open - 2) + ",";
            for (std::size_t at = 0; at < properties.size();) {
                const std::size_t comma = properties.find(',', at);
                const std::string property = properties.substr(at, comma - at);
                ASSERT_NE(property.find('='), std::string::npos) << state;
                keys.push_back(property.substr(0, property.find('=')));
                at = comma + 1;
            }
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << state;
            EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << state;
        }
    }
    // Names the users named, and one form for doors and slabs.
    const std::map<std::string, std::string> expected = {
        {"grass_002", "minecraft:grass_block"},
        {"hardened_clay_172", "minecraft:terracotta"},
        {"snow_080", "minecraft:snow_block"},
        {"snow_layer_078", "minecraft:snow[layers=1]"},
        {"t.mob_spawner_052", "minecraft:spawner"},
        {"t.leaves_018", "minecraft:oak_leaves[persistent=true]"},
        {"oak_log_017", "minecraft:oak_log[axis=y]"},
        {"smooth_sandstone_024", "minecraft:cut_sandstone"},
        {"wooden_door_064", "minecraft:oak_door[facing=north,half=lower,hinge=left,open=false,powered=false]"},
        {"stone_slab_044", "minecraft:stone_slab[type=bottom,waterlogged=false]"},
    };
    for (const auto& [entry, state] : expected)
        EXPECT_EQ(BlockStateOfEntry(entry, 0).value_or("none"), state) << entry;
    // Another pack: by name where the table has it, else by the id's plain form, else none.
    EXPECT_EQ(BlockStateOfEntry("t.spruce_leaves_018", 18).value_or("none"), "minecraft:spruce_leaves[persistent=true]");
    EXPECT_EQ(BlockStateOfEntry("my_red_wool_035", 35).value_or("none"), "minecraft:white_wool");
    EXPECT_EQ(BlockStateOfEntry("whatever_199", 199), std::nullopt);
}

// The table: every name once, every id with exactly one plain form (data value 0), every
// (id, data value) once, and states that the import maps back to a row of the same id.
TEST(BlockStateTable, HasOneRowPerNameAndOnePlainFormPerId) {
    std::set<std::string_view> names;
    std::map<std::int32_t, int> plainForms;
    std::set<std::pair<std::int32_t, std::int32_t>> legacy;
    for (const BlockStateRow& row : BlockStateTable()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(row.state.starts_with("minecraft:")) << row.state;
        EXPECT_EQ(BlockNameOfEntry(std::string("t.") + std::string(row.name) + "_123.png"), row.name);
        if (row.legacyData == kNameOnly)
            continue;
        EXPECT_TRUE(legacy.insert({row.legacyId, row.legacyData}).second) << row.name;
        plainForms[row.legacyId] += row.legacyData == 0;
    }
    for (const auto& [id, count] : plainForms)
        EXPECT_EQ(count, 1) << "id " << id;
}

// The block-state table's 1.13 states as 1.20.1 names them: of its blocks, two were renamed.
std::string NamedAsIn1_20_1(const std::string& state13) {
    for (const auto& [before, after] : {std::pair{"minecraft:stone_slab[", "minecraft:smooth_stone_slab["},
                                        std::pair{"minecraft:grass_path", "minecraft:dirt_path"}})
        if (state13.starts_with(before))
            return after + state13.substr(std::string_view(before).size());
    return state13;
}

// ---- Round trips.

// Random buildings over the whole Minecraft pack and over a pack of more than 128 block
// states (palette indexes of two varint bytes), exported and imported again: the file names
// its pack, which lies in the folder, so every cell comes back as the first entry with its
// block state; cells without a state as air. With "minecraft.zip" that is every cell as it
// was. The file is also read by the tests' own reader, which must see each cell's state.
TEST(SpongeRoundTrip, EveryCellComesBackAsTheFirstEntryOfItsBlock) {
    FilesTestEditor test(1, 1, 1);
    CopyMinecraftPack();
    std::vector<std::string> manyNames;
    for (const BlockStateRow& row : BlockStateTable())
        manyNames.push_back(std::string(row.name) + "_" + std::to_string(100 + manyNames.size() % 100) + ".png");
    manyNames.push_back("unnamed_thing_251.png");
    WritePack("many.zip", manyNames);

    std::mt19937 random(15);
    for (int round = 0; round < 12; ++round) {
        const bool many = round % 3 == 2;
        const StagedPack pack = StageTexturePack(many ? "many.zip" : "minecraft.zip");
        const int codes = pack.selector.Count();
        // The larger pack's rounds are large enough to use more than 128 of its states.
        const int width = many ? 32 : 1 + static_cast<int>(random() % 40);
        const int length = many ? 32 : 1 + static_cast<int>(random() % 40);
        const int height = many ? 4 : 1 + static_cast<int>(random() % 12);
        test.editor.widthSpin.SetValue(width);
        test.editor.lengthSpin.SetValue(length);
        test.editor.heightSpin.SetValue(height);
        NewBuilding(test.editor);
        StagedPack copy = StageTexturePack(many ? "many.zip" : "minecraft.zip");
        test.editor.selector.TakeItemsOf(copy.selector);
        test.editor.texturePackName = many ? "many.zip" : "minecraft.zip";
        const PackBlockStates states(test.editor.selector);
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x)
                    test.editor.grid.At(x, y, h) = random() % 4 == 0 ? 0 : static_cast<BlockCode>(random() % codes);
        const Building before = test.editor.grid;

        SaveAs(test, "round", kSpongeFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        const auto [name, root] = ReadSchem("round.schem");
        const std::vector<std::string> written = DecodeBlocks(root);
        ASSERT_EQ(written.size(), static_cast<std::size_t>(width * length * height));

        if (many) {
            ASSERT_GT(std::set<std::string>(written.begin(), written.end()).size(), 128u);
        }

        LoadAs(test.editor, test.dialogs, "round.schem", kSpongeFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        ASSERT_EQ(test.editor.texturePackName, many ? "many.zip" : "minecraft.zip");
        EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
        const PackBlockStates loaded(test.editor.selector);
        std::map<std::string, BlockCode> firstLoadedState;
        for (BlockCode code = 1; code < test.editor.selector.Count(); ++code)
            if (loaded.HasState(code))
                firstLoadedState.try_emplace(loaded.StateOf(code), code);
        ASSERT_EQ(test.editor.grid.Width(), width);
        ASSERT_EQ(test.editor.grid.Length(), length);
        ASSERT_EQ(test.editor.grid.Height(), height);
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x) {
                    const BlockCode code = before.At(x, y, h);
                    const std::string& state = states.StateOf(code);
                    const std::size_t index = static_cast<std::size_t>((x - 1) + (y - 1) * width + (h - 1) * width * length);
                    ASSERT_EQ(written[index], state.empty() ? "minecraft:air" : NamedAsIn1_20_1(state))
                        << x << "," << y << "," << h;
                    const BlockCode expected = state.empty() ? 0 : firstLoadedState.at(state);
                    ASSERT_EQ(test.editor.grid.At(x, y, h), expected) << x << "," << y << "," << h << " " << state;
                }
        // A pack with one entry per block, as "minecraft.zip" is, gives every cell back.
        for (int h = 1; h <= height && !many; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x) {
                    if (states.HasState(before.At(x, y, h))) {
                        ASSERT_EQ(test.editor.grid.At(x, y, h), before.At(x, y, h));
                    }
                }
        test.dialogs.infos.clear();
    }
}

// ---- Files as other tools write them.

// Tags in another order, the palette numbered not by first use, extras, block entities and
// full properties on every block; the cells of a 2 x 2 x 2 building, x + z W + y W L.
std::vector<std::uint8_t> OtherToolsBlocks(NbtBuilder& nbt, bool versionThree) {
    nbt.Tag(10, "Palette")
        .Tag(3, "minecraft:oak_log[axis=x]").Int(7)
        .Tag(3, "minecraft:stone").Int(2)
        .Tag(3, "minecraft:air").Int(5)
        .Tag(3, "minecraft:cave_air").Int(0)
        .Tag(3, "minecraft:beacon").Int(1)
        .Tag(3, "minecraft:oak_leaves[distance=7,persistent=false]").Int(3)
        .End();
    nbt.Tag(9, versionThree ? "BlockEntities" : "TileEntities").Byte(10).Int(1);
    nbt.Tag(3, "x").Int(0).Tag(8, versionThree ? "Id" : "id").Text("minecraft:chest").End();
    // 7 is 0x07; 0x85 0x00 is 5 written in two bytes, as a loose writer may.
    return {7, 0x85, 0x00, 2, 1, 3, 0, 5, 5};
}

std::vector<BlockCode> ExpectedOtherToolsCells(const SelectorModel& pack) {
    const BlockCode log = CodeOfItem(pack, "oak_log_017"), stone = CodeOfItem(pack, "stone_001"),
                    leaves = CodeOfItem(pack, "t.oak_leaves_018"), unknown = CodeOfItem(pack, "unknown");
    // BuildingCells order: x outermost, h innermost.
    // Cells by file index: 0 log, 1 air, 2 stone, 3 beacon, 4 leaves, 5 air, 6 air, 7 air.
    const BlockCode byIndex[8] = {log, 0, stone, unknown, leaves, 0, 0, 0};
    std::vector<BlockCode> cells;
    for (int x = 1; x <= 2; ++x)
        for (int y = 1; y <= 2; ++y)
            for (int h = 1; h <= 2; ++h)
                cells.push_back(byIndex[(x - 1) + (y - 1) * 2 + (h - 1) * 4]);
    return cells;
}

TEST(SpongeImport, ReadsVersionsOneToThreeAsOtherToolsWriteThem) {
    enum class Packing { Gzip, Zlib, Plain };
    struct Case {
        int version;
        Packing packing;
    };
    for (const Case& c : {Case{1, Packing::Plain}, Case{2, Packing::Gzip}, Case{2, Packing::Zlib}, Case{3, Packing::Gzip},
                          Case{3, Packing::Plain}}) {
        SCOPED_TRACE("version " + std::to_string(c.version));
        FilesTestEditor test(5, 6, 7);
        CopyDefaultPack(kGameBlocksPackName);
        NbtBuilder nbt;
        nbt.Tag(10, c.version == 3 ? "" : "Schematic");
        if (c.version == 3)
            nbt.Tag(10, "Schematic");
        nbt.Tag(10, "Metadata").Tag(10, "WorldEdit").Tag(8, "Version").Text("7.3").End().End();
        nbt.Tag(9, "Entities").Byte(10).Int(0);
        nbt.Tag(2, "Length").Short(2).Tag(2, "Width").Short(2);
        nbt.Tag(11, "Offset").Int(3).Int(-4).Int(60).Int(2);
        std::vector<std::uint8_t> data;
        if (c.version == 3) {
            nbt.Tag(10, "Blocks");
            data = OtherToolsBlocks(nbt, true);
            nbt.ByteArrayTag("Data", data).End();
            nbt.Tag(10, "Biomes").Tag(10, "Palette").Tag(3, "minecraft:plains").Int(0).End().ByteArrayTag("Data", {0}).End();
        } else {
            data = OtherToolsBlocks(nbt, false);
            nbt.ByteArrayTag("BlockData", data);
            nbt.Tag(3, "PaletteMax").Int(8);
        }
        nbt.Tag(3, "DataVersion").Int(3465).Tag(3, "Version").Int(c.version).Tag(2, "Height").Short(2).End();
        if (c.version == 3)
            nbt.End();
        const std::vector<std::uint8_t> file = c.packing == Packing::Gzip   ? Gzip(nbt.Result())
                                               : c.packing == Packing::Zlib ? Zlib(nbt.Result())
                                                                            : nbt.Result();
        WriteBytes("other.schem", file);
        test.editor.texturePackName = "stackmason.zip";
        test.editor.layerSpin.SetValue(4);
        LoadAs(test.editor, test.dialogs, "other.schem", kSpongeFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.grid.Width(), 2);
        EXPECT_EQ(test.editor.grid.Length(), 2);
        EXPECT_EQ(test.editor.grid.Height(), 2);
        EXPECT_EQ(test.editor.widthSpin.Value(), 2);
        EXPECT_EQ(test.editor.heightSpin.Value(), 2);
        EXPECT_EQ(test.editor.texturePackName, kGameBlocksPackName);
        EXPECT_EQ(test.editor.CurrentLayer(), 1);
        EXPECT_TRUE(test.editor.InTopView());
        EXPECT_EQ(test.editor.SelectedBlock(), 1);
        EXPECT_EQ(BuildingCells(test.editor), ExpectedOtherToolsCells(test.editor.selector));
        // The log lies on its side, the leaves would decay, the beacon has no picture.
        ASSERT_EQ(test.dialogs.infos.size(), 1u);
        for (const std::string line : {"1 cell of minecraft:oak_log[axis=x] became oak_log_017",
                                       "1 cell of minecraft:oak_leaves[distance=7,persistent=false] became t.oak_leaves_018",
                                       "1 cell of minecraft:beacon became unknown"})
            EXPECT_NE(test.dialogs.infos[0].find(line), std::string::npos) << line << "\n" << test.dialogs.infos[0];
    }
}

// ---- Refusals.

std::vector<std::uint8_t> Version2File(int version, int width, int height, int length,
                                       const std::vector<std::pair<std::string, int>>& palette,
                                       const std::vector<std::uint8_t>& data) {
    NbtBuilder nbt;
    nbt.Tag(10, "Schematic");
    if (version > 0)
        nbt.Tag(3, "Version").Int(version);
    nbt.Tag(2, "Width").Short(width).Tag(2, "Height").Short(height).Tag(2, "Length").Short(length);
    nbt.Tag(10, "Palette");
    for (const auto& [state, index] : palette)
        nbt.Tag(3, state).Int(index);
    nbt.End().ByteArrayTag("BlockData", data).End();
    return nbt.Result();
}

TEST(SpongeImport, RefusesWhatItCannotTakeAndChangesNothing) {
    const std::vector<std::pair<std::string, int>> palette = {{"minecraft:air", 0}, {"minecraft:stone", 1}};
    const std::vector<std::uint8_t> two = {0, 1};
    const std::vector<std::uint8_t> good = Version2File(2, 2, 1, 1, palette, two);
    const std::vector<std::uint8_t> wholeGzip = Gzip(good);
    const std::vector<std::uint8_t> cutGzip(wholeGzip.begin(), wholeGzip.end() - 6);
    NbtBuilder notCompound;
    notCompound.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(2, "Width").Short(1).Tag(2, "Height").Short(1);
    notCompound.Tag(2, "Length").Short(1).Tag(9, "Palette").Byte(8).Int(0).ByteArrayTag("BlockData", {0}).End();
    // Sizes and palette given again after the data, which was decoded by the first ones.
    const auto givenAgain = [](bool sizes) {
        NbtBuilder nbt;
        nbt.Tag(10, "Schematic").Tag(3, "Version").Int(2).Tag(3, "DataVersion").Int(1631);
        nbt.Tag(2, "Width").Short(2).Tag(2, "Height").Short(1);
        nbt.Tag(2, "Length").Short(1).Tag(10, "Palette").Tag(3, "minecraft:air").Int(0);
        nbt.Tag(3, "minecraft:stone").Int(1).End().ByteArrayTag("BlockData", {0, 1});
        if (sizes)
            nbt.Tag(2, "Width").Short(1).Tag(2, "Length").Short(2);
        else
            nbt.Tag(10, "Palette").Tag(3, "minecraft:stone").Int(0).Tag(3, "minecraft:air").Int(1).End();
        return nbt.End().Result();
    };
    // Without its "Version" a file is read as version 1 only where it holds what that holds.
    NbtBuilder noVersion;
    noVersion.Tag(10, "Schematic").Tag(2, "Width").Short(2).Tag(2, "Height").Short(1).Tag(2, "Length").Short(1);
    noVersion.Tag(10, "Blocks").Tag(10, "Palette").Tag(3, "minecraft:air").Int(0).End();
    noVersion.ByteArrayTag("Data", two).End().End();
    NbtBuilder hugeData;
    hugeData.Tag(10, "Schematic").Tag(7, "BlockData").Int(0x7FFFFFF0).End();

    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {noVersion.Result(), "no \"Version\""},
        {Version2File(4, 2, 1, 1, palette, two), "version 4"},
        {Version2File(2, 600, 1, 1, palette, two), "\"Width\" of 600"},
        {Version2File(2, 2, 0, 1, palette, two), "\"Height\" of 0"},
        {Version2File(2, 2, 1, 1, palette, {0}), "ends after 1 of its 2 cells"},
        {Version2File(2, 2, 1, 1, palette, {0, 1, 1}), "more than the 2 cells"},
        {Version2File(2, 2, 1, 1, palette, {0, 2}), "palette index 2"},
        {Version2File(2, 2, 1, 1, palette, {0, 0x81, 0x81, 0x81, 0x81, 0x81, 0}), "longer than five bytes"},
        // Rows wide enough to be read eight indexes at a time: the fault lies inside a block
        // of eight, in the second row.
        {Version2File(2, 12, 1, 2, palette, [] {
             std::vector<std::uint8_t> data(24, 1);
             data[15] = 2;
             return data;
         }()),
         "palette index 2"},
        {Version2File(2, 12, 1, 2, palette, std::vector<std::uint8_t>(21, 1)), "ends after 21 of its 24 cells"},
        {Version2File(2, 12, 1, 2, palette, std::vector<std::uint8_t>(25, 1)), "more than the 24 cells"},
        {Version2File(2, 2, 1, 1, {{"minecraft:air", 0}, {"minecraft:stone", 0}}, two), "both"},
        {Version2File(2, 2, 1, 1, {{"minecraft:air", -1}}, two), "index -1"},
        {givenAgain(true), "sizes change after its block data"},
        {givenAgain(false), "palette comes again after its block data"},
        {notCompound.Result(), "not a compound"},
        {hugeData.Result(), "more than the largest building"},
        {cutGzip, "cut short or damaged"},
        {{'h', 'e', 'l', 'l', 'o'}, "does not start with an NBT compound"},
    };
    FilesTestEditor test(4, 3, 2);
    test.editor.grid.At(2, 2, 2) = 1;
    const std::vector<BlockCode> cells = BuildingCells(test.editor);
    for (const auto& [bytes, problem] : cases) {
        SCOPED_TRACE(problem);
        WriteBytes("bad.schem", bytes);
        test.dialogs.errors.clear();
        LoadAs(test.editor, test.dialogs, "bad.schem", kSpongeFilter);
        ASSERT_EQ(test.dialogs.errors.size(), 1u);
        EXPECT_TRUE(test.dialogs.errors[0].starts_with("Could not import bad.schem as a Sponge schematic: "))
            << test.dialogs.errors[0];
        EXPECT_NE(test.dialogs.errors[0].find(problem), std::string::npos) << test.dialogs.errors[0];
        EXPECT_EQ(BuildingCells(test.editor), cells);
        EXPECT_EQ(test.editor.texturePackName, "stackmason.zip");
        EXPECT_EQ(test.editor.widthSpin.Value(), 4);
    }
    test.dialogs.errors.clear();
    LoadAs(test.editor, test.dialogs, "no-such-file.schem", kSpongeFilter);
    EXPECT_EQ(test.dialogs.errors, std::vector<std::string>{"Could not open file!"});
    // The good file loads.
    WriteBytes("good.schem", Gzip(good));
    test.dialogs.errors.clear();
    LoadAs(test.editor, test.dialogs, "good.schem", kSpongeFilter);
    EXPECT_TRUE(test.dialogs.errors.empty());
    EXPECT_EQ(test.editor.grid.Width(), 2);
}

}  // namespace
}  // namespace stackmason::testing
