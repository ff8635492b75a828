// Litematica's schematic, both ways: every exported cell decoded by the tests' own NBT reader
// and bit unpacker, round trips through the default Minecraft pack, files written by hand as
// Litematica and other tools write them, and files that must be refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "FilesTestSupport.h"
#include "NbtBuilder.h"
#include "TestNbtReader.h"
#include "common/BlockStates.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/GameVersions.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/support/HostileFiles.h"

namespace stackmason::testing {
namespace {

void SaveAs(FilesTestEditor& test, const std::string& name, int filter) {
    test.dialogs.Choose(name, filter);
    SaveBuilding(test.editor, false);
}

void LoadAs(FilesTestEditor& test, const std::string& path, int filter) {
    test.dialogs.Choose(path, filter);
    LoadBuilding(test.editor);
}

void UsePack(FilesTestEditor& test, const std::string& name) {
    StagedPack pack = StageTexturePack(name);
    test.editor.selector.TakeItemsOf(pack.selector);
    test.editor.texturePackName = name;
}

void Resize(FilesTestEditor& test, int width, int length, int height) {
    test.editor.widthSpin.SetValue(width);
    test.editor.lengthSpin.SetValue(length);
    test.editor.heightSpin.SetValue(height);
    NewBuilding(test.editor);
}

// The fewest bits, at least 2, that number every entry of a palette of this size.
int BitsFor(std::size_t paletteSize) {
    int bits = 2;
    while ((std::size_t{1} << bits) < paletteSize)
        ++bits;
    return bits;
}

// Entry i is bits i*b .. i*b + b - 1 of the longs, bit k of the stream being bit k % 64 of
// long k / 64: taken one bit at a time, apart from any word arithmetic.
std::vector<std::uint32_t> UnpackBitwise(const std::vector<std::int64_t>& longs, int bits, std::size_t count) {
    std::vector<std::uint32_t> entries(count, 0);
    for (std::size_t i = 0; i < count; ++i)
        for (int b = 0; b < bits; ++b) {
            const std::size_t bit = i * static_cast<std::size_t>(bits) + static_cast<std::size_t>(b);
            const auto word = static_cast<std::uint64_t>(longs.at(bit / 64));
            entries[i] |= static_cast<std::uint32_t>((word >> (bit % 64)) & 1) << b;
        }
    return entries;
}

std::vector<std::int64_t> PackBitwise(const std::vector<std::uint32_t>& entries, int bits) {
    const std::size_t total = entries.size() * static_cast<std::size_t>(bits);
    std::vector<std::uint64_t> longs((total + 63) / 64, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (int b = 0; b < bits; ++b)
            if ((entries[i] >> b) & 1) {
                const std::size_t bit = i * static_cast<std::size_t>(bits) + static_cast<std::size_t>(b);
                longs[bit / 64] |= std::uint64_t{1} << (bit % 64);
            }
    return {longs.begin(), longs.end()};
}

// A palette entry as a state: its Name, and its Properties in key order.
std::string EntryState(const Nbt& entry) {
    std::string state = entry["Name"].text;
    if (!entry.Has("Properties"))
        return state;
    EXPECT_FALSE(entry["Properties"].compound.empty()) << state;
    char separator = '[';
    for (const auto& [key, value] : entry["Properties"].compound) {
        EXPECT_EQ(value.type, 8) << state << " " << key;
        state += separator + key + "=" + value.text;
        separator = ',';
    }
    return state + "]";
}

struct WrittenRegion {
    std::int64_t sizeX = 0, sizeY = 0, sizeZ = 0;
    std::vector<std::string> palette;
    int bits = 0;
    std::size_t longs = 0;
    // The state of each cell, in the file's order (y SizeZ + z) SizeX + x.
    std::vector<std::string> cells;
};

WrittenRegion DecodeRegion(const Nbt& region) {
    WrittenRegion written;
    written.sizeX = region["Size"]["x"].number;
    written.sizeY = region["Size"]["y"].number;
    written.sizeZ = region["Size"]["z"].number;
    EXPECT_EQ(region["BlockStatePalette"].listType, 10);
    for (const Nbt& entry : region["BlockStatePalette"].list)
        written.palette.push_back(EntryState(entry));
    written.bits = BitsFor(written.palette.size());
    EXPECT_EQ(region["BlockStates"].type, 12);
    written.longs = region["BlockStates"].numbers.size();
    const auto volume = static_cast<std::size_t>(written.sizeX * written.sizeY * written.sizeZ);
    for (const std::uint32_t entry : UnpackBitwise(region["BlockStates"].numbers, written.bits, volume))
        written.cells.push_back(written.palette.at(entry));
    return written;
}

Nbt ReadLitematic(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0x1F);  // gzip
    EXPECT_EQ(bytes[1], 0x8B);
    const auto [name, root] = TestNbtReader(Gunzip(bytes)).Root();
    EXPECT_EQ(name, "");
    return root;
}

// ---- Export.

// Buildings of 7 x 5 x 3 cells whose palettes hold 1, 2, 3, 5, 17 states, and one of every
// state a pack can name (more than 128, 8 bits an entry): each cell, decoded bit by bit, is its block's state as the
// default release names it, at the place the builder's axes give it.
TEST(LitematicExport, WritesLitematicasTagsAndEveryCellAtItsPlace) {
    FilesTestEditor test(1, 1, 1);
    CopyDefaultPack("minecraft.zip");
    std::vector<std::string> manyNames;
    for (const BlockStateRow& row : BlockStateTable())
        manyNames.push_back(std::string(row.name) + "_" + std::to_string(100 + manyNames.size() % 100) + ".png");
    WritePack("many.zip", manyNames);
    const std::int64_t release = DefaultGameRelease().dataVersion;
    for (const std::size_t paletteSize : {1u, 2u, 3u, 5u, 17u, 1000u}) {
        SCOPED_TRACE("palette of " + std::to_string(paletteSize));
        const bool all = paletteSize == 1000;
        const int width = all ? 16 : 7, length = all ? 13 : 5, height = 3;
        Resize(test, width, length, height);
        const std::string packName = all ? "many.zip" : "minecraft.zip";
        UsePack(test, packName);
        const PackBlockStates states(test.editor.selector);
        // Codes of distinct states in the file, as many as the palette wants besides air.
        std::vector<BlockCode> codes;
        std::set<std::string> seen;
        for (BlockCode code = 1; code < test.editor.selector.Count() && seen.size() + 1 < paletteSize; ++code)
            if (states.HasState(code) && seen.insert(StateAtRelease(states.StateOf(code), release)).second)
                codes.push_back(code);
        std::vector<std::string> expected;
        std::int64_t nonAir = 0;
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x) {
                    const std::size_t index = static_cast<std::size_t>(((h - 1) * length + (y - 1)) * width + (x - 1));
                    const bool air = codes.empty() || (index % 4 == 3 && !all);
                    const BlockCode code = air ? 0 : codes[(all ? index : index * 7 + static_cast<std::size_t>(h)) % codes.size()];
                    test.editor.grid.At(x, y, h) = code;
                    expected.push_back(air ? "minecraft:air" : StateAtRelease(states.StateOf(code), release));
                    nonAir += air ? 0 : 1;
                }
        test.editor.grid.At(2, 1, 0) = codes.empty() ? 0 : codes[0];  // the ground is not written
        SaveAs(test, "House", kLitematicFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();

        const Nbt root = ReadLitematic("House.litematic");
        EXPECT_EQ(root["Version"].number, 6);
        EXPECT_EQ(root["Version"].type, 3);
        EXPECT_EQ(root["SubVersion"].number, 1);
        EXPECT_EQ(root["MinecraftDataVersion"].number, release);
        const Nbt& metadata = root["Metadata"];
        EXPECT_EQ(metadata["Name"].text, "House");
        EXPECT_EQ(metadata["Author"].text, "Stackmason");
        EXPECT_EQ(metadata["Description"].type, 8);
        EXPECT_EQ(metadata["Description"].text, "");
        EXPECT_EQ(metadata["RegionCount"].number, 1);
        EXPECT_EQ(metadata["TotalBlocks"].number, nonAir);
        EXPECT_EQ(metadata["TotalVolume"].number, width * length * height);
        EXPECT_EQ(metadata["EnclosingSize"]["x"].number, width);
        EXPECT_EQ(metadata["EnclosingSize"]["y"].number, height);
        EXPECT_EQ(metadata["EnclosingSize"]["z"].number, length);
        EXPECT_EQ(metadata["TimeCreated"].type, 4);
        EXPECT_GT(metadata["TimeCreated"].number, 1500000000000);  // milliseconds
        EXPECT_EQ(metadata["TimeModified"].number, metadata["TimeCreated"].number);
        EXPECT_EQ(metadata["StackmasonPack"].text, packName);
        ASSERT_EQ(root["Regions"].compound.size(), 1u);
        const Nbt& region = root["Regions"]["House"];
        for (const char* axis : {"x", "y", "z"}) {
            EXPECT_EQ(region["Position"][axis].type, 3);
            EXPECT_EQ(region["Position"][axis].number, 0);
        }
        for (const char* list : {"Entities", "TileEntities", "PendingBlockTicks", "PendingFluidTicks"})
            EXPECT_TRUE(region[list].list.empty()) << list;
        EXPECT_FALSE(region["BlockStatePalette"].list.at(0).Has("Properties"));

        const WrittenRegion written = DecodeRegion(region);
        EXPECT_EQ(written.sizeX, width);
        EXPECT_EQ(written.sizeY, height);
        EXPECT_EQ(written.sizeZ, length);
        ASSERT_FALSE(written.palette.empty());
        EXPECT_EQ(written.palette[0], "minecraft:air");
        if (!all) {
            EXPECT_EQ(written.palette.size(), paletteSize);
        } else {
            EXPECT_GT(written.palette.size(), 128u);
        }
        EXPECT_EQ(std::set<std::string>(written.palette.begin(), written.palette.end()).size(), written.palette.size());
        const std::size_t volume = static_cast<std::size_t>(width * length * height);
        EXPECT_EQ(written.longs, (volume * static_cast<std::size_t>(written.bits) + 63) / 64);
        EXPECT_EQ(written.cells, expected);
    }
}

// The names are those of the release written for: 1.13's "stone_slab" is the later smooth
// stone slab, its "grass_path" 1.17's "dirt_path". Blocks without a state go out as air and
// are reported.
TEST(LitematicExport, NamesBlocksAsTheReleaseDoesAndReportsBlocksLeftOut) {
    FilesTestEditor test(4, 1, 1);
    CopyDefaultPack("minecraft.zip");
    UsePack(test, "minecraft.zip");
    const SelectorModel& selector = test.editor.selector;
    BlockCode slab = 0, path = 0;
    for (BlockCode code = 1; code < selector.Count(); ++code) {
        if (selector.ItemAt(code).text == "stone_slab_044")
            slab = code;
        if (selector.ItemAt(code).text.starts_with("grass_path"))
            path = code;
    }
    ASSERT_NE(slab, 0);
    test.editor.grid.At(1, 1, 1) = slab;
    test.editor.grid.At(2, 1, 1) = path;
    test.editor.grid.At(3, 1, 1) = 250;  // beyond the pack
    SaveAs(test, "Slab", kLitematicFilter);
    ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
    const WrittenRegion written = DecodeRegion(ReadLitematic("Slab.litematic")["Regions"]["Slab"]);
    ASSERT_EQ(written.cells.size(), 4u);
    EXPECT_EQ(written.cells[0], "minecraft:smooth_stone_slab[type=bottom,waterlogged=false]");
    if (path != 0) {
        EXPECT_EQ(written.cells[1], "minecraft:dirt_path");
    }
    EXPECT_EQ(written.cells[2], "minecraft:air");
    ASSERT_EQ(test.dialogs.infos.size(), 1u);
    EXPECT_NE(test.dialogs.infos[0].find("1 cell was written as air"), std::string::npos) << test.dialogs.infos[0];
    EXPECT_NE(test.dialogs.infos[0].find("block code 250: 1"), std::string::npos) << test.dialogs.infos[0];

    // The extension rule of the other types.
    SaveAs(test, "Tower.litematic", kLitematicFilter);
    SaveAs(test, "Tower.LITEMATIC", kLitematicFilter);
    EXPECT_TRUE(std::filesystem::exists("Tower.litematic"));
    EXPECT_TRUE(std::filesystem::exists("Tower.LITEMATIC.litematic"));
}

// ---- Round trips.

// Random buildings over the Minecraft pack come back cell for cell with their pack; cells
// without a state come back as air.
TEST(LitematicRoundTrip, GivesBackTheCellsAndThePack) {
    FilesTestEditor test(1, 1, 1);
    CopyDefaultPack("minecraft.zip");
    CopyDefaultPack(kGameBlocksPackName);
    std::mt19937 random(31);
    for (int round = 0; round < 6; ++round) {
        const int width = 1 + static_cast<int>(random() % 40), length = 1 + static_cast<int>(random() % 40),
                  height = 1 + static_cast<int>(random() % 10);
        Resize(test, width, length, height);
        UsePack(test, "minecraft.zip");
        const PackBlockStates states(test.editor.selector);
        const int codes = test.editor.selector.Count();
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x)
                    test.editor.grid.At(x, y, h) = random() % 3 == 0 ? 0 : static_cast<BlockCode>(random() % codes);
        const Building before = test.editor.grid;
        SaveAs(test, "round", kLitematicFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        test.dialogs.infos.clear();
        Resize(test, 3, 3, 3);
        UsePack(test, "stackmason.zip");

        LoadAs(test, "round.litematic", kLitematicFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
        EXPECT_EQ(test.editor.texturePackName, "minecraft.zip");
        ASSERT_EQ(test.editor.grid.Width(), width);
        ASSERT_EQ(test.editor.grid.Length(), length);
        ASSERT_EQ(test.editor.grid.Height(), height);
        for (int h = 1; h <= height; ++h)
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x) {
                    const BlockCode code = before.At(x, y, h);
                    ASSERT_EQ(test.editor.grid.At(x, y, h), states.HasState(code) ? code : 0) << x << "," << y << "," << h;
                }
    }
}

// ---- Files as Litematica and other tools write them.

struct HandRegion {
    std::string name;
    std::array<std::int64_t, 3> position;
    std::array<std::int64_t, 3> size;
    // Each entry a Name and its Properties in the order written.
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> palette;
    std::vector<std::uint32_t> entries;  // in the order (y SizeZ + z) SizeX + x
    std::ptrdiff_t extraLongs = 0;
};

void Vector(NbtBuilder& nbt, const char* name, const std::array<std::int64_t, 3>& value) {
    nbt.Tag(10, name).Tag(3, "x").Int(value[0]).Tag(3, "y").Int(value[1]).Tag(3, "z").Int(value[2]).End();
}

// A file as Litematica writes it, with the tags of each region in another order than ours.
std::vector<std::uint8_t> HandFile(int version, const std::vector<HandRegion>& regions, bool gzip = true) {
    NbtBuilder nbt;
    nbt.Tag(10, "");
    nbt.Tag(3, "Version").Int(version);
    if (version >= 6)
        nbt.Tag(3, "SubVersion").Int(1);
    nbt.Tag(3, "MinecraftDataVersion").Int(2586);
    nbt.Tag(10, "Metadata").Tag(8, "Name").Text("Other").Tag(8, "Author").Text("someone");
    nbt.Tag(11, "PreviewImageData").Int(2).Int(-1).Int(7).Tag(3, "RegionCount").Int(static_cast<std::int64_t>(regions.size())).End();
    nbt.Tag(10, "Regions");
    for (const HandRegion& region : regions) {
        nbt.Tag(10, region.name);
        nbt.Tag(9, "TileEntities").Byte(10).Int(1).Tag(3, "x").Int(0).Tag(8, "id").Text("minecraft:chest").End();
        const int bits = BitsFor(region.palette.size());
        std::vector<std::int64_t> longs = PackBitwise(region.entries, bits);
        longs.resize(static_cast<std::size_t>(static_cast<std::ptrdiff_t>(longs.size()) + region.extraLongs), 0);
        nbt.Tag(12, "BlockStates").Int(static_cast<std::int64_t>(longs.size()));
        for (const std::int64_t value : longs)
            nbt.Long(value);
        nbt.Tag(9, "BlockStatePalette").Byte(10).Int(static_cast<std::int64_t>(region.palette.size()));
        for (const auto& [name, properties] : region.palette) {
            if (!properties.empty()) {
                nbt.Tag(10, "Properties");
                for (const auto& [key, value] : properties)
                    nbt.Tag(8, key).Text(value);
                nbt.End();
            }
            nbt.Tag(8, "Name").Text(name).End();
        }
        Vector(nbt, "Size", region.size);
        Vector(nbt, "Position", region.position);
        nbt.Tag(9, "Entities").Byte(0).Int(0);
        nbt.End();
    }
    nbt.End().End();
    return gzip ? Gzip(nbt.Result()) : nbt.Result();
}

using World = std::map<std::tuple<std::int64_t, std::int64_t, std::int64_t>, std::string>;

// The model: each region's cells at their places in the world, a later region's blocks over
// an earlier's, air not put down.
World PlaceByModel(const std::vector<HandRegion>& regions) {
    World world;
    for (const HandRegion& region : regions) {
        std::array<std::int64_t, 3> low{}, extent{};
        for (int axis = 0; axis < 3; ++axis) {
            extent[axis] = region.size[axis] < 0 ? -region.size[axis] : region.size[axis];
            low[axis] = region.size[axis] < 0 ? region.position[axis] + region.size[axis] + 1 : region.position[axis];
        }
        std::size_t i = 0;
        for (std::int64_t y = 0; y < extent[1]; ++y)
            for (std::int64_t z = 0; z < extent[2]; ++z)
                for (std::int64_t x = 0; x < extent[0]; ++x, ++i) {
                    const auto& [name, properties] = region.palette.at(region.entries.at(i));
                    if (name == "minecraft:air" || name == "minecraft:cave_air" || name == "minecraft:void_air")
                        continue;
                    std::map<std::string, std::string> sorted(properties.begin(), properties.end());
                    std::string state = name;
                    char separator = '[';
                    for (const auto& [key, value] : sorted) {
                        state += separator + key + "=" + value;
                        separator = ',';
                    }
                    world[{low[0] + x, low[1] + y, low[2] + z}] = sorted.empty() ? state : state + "]";
                }
    }
    return world;
}

// The code of the first entry of the pack with exactly this state.
BlockCode CodeOfState(const SelectorModel& selector, const std::string& state) {
    const PackBlockStates states(selector);
    for (BlockCode code = 1; code < selector.Count(); ++code)
        if (states.StateOf(code) == state)
            return code;
    ADD_FAILURE() << "no entry with " << state;
    return -1;
}

const std::vector<std::pair<std::string, std::string>> kDoorProperties = {
    {"powered", "false"}, {"open", "false"}, {"hinge", "left"}, {"half", "lower"}, {"facing", "north"}};

// Two regions, one of negative sizes overlapping the other, palettes with unused entries and
// Properties out of order: a 3 x 2 x 3 building (x 10..12, z -3..-2, y 64..66).
std::vector<HandRegion> TwoRegions() {
    HandRegion base{"Base", {10, 64, -3}, {3, 1, 2}, {}, {}, 0};
    base.palette = {{"minecraft:air", {}},
                    {"minecraft:stone", {}},
                    {"minecraft:beacon", {}},  // unused
                    {"minecraft:oak_log", {{"axis", "x"}}},
                    {"minecraft:oak_planks", {}}};
    base.entries = {1, 4, 1,  //  z -3
                    3, 1, 4};  // z -2
    HandRegion tower{"Tower", {12, 66, -2}, {-2, -3, 1}, {}, {}, 0};  // x 11..12, y 64..66, z -2
    tower.palette = {{"minecraft:oak_door", kDoorProperties}, {"minecraft:cave_air", {}}, {"minecraft:glass", {}}};
    tower.entries = {1, 0,   // y 64: cave air keeps the base's stone, the door covers its planks
                     2, 1,   // y 65
                     2, 2};  // y 66
    return {base, tower};
}

void ExpectBuildingOfModel(const Editor& editor, const World& world, std::array<std::int64_t, 3> low,
                           std::array<int, 3> sizes) {
    ASSERT_EQ(editor.grid.Width(), sizes[0]);
    ASSERT_EQ(editor.grid.Length(), sizes[1]);
    ASSERT_EQ(editor.grid.Height(), sizes[2]);
    const BlockCode log = CodeOfItem(editor.selector, "oak_log_017");
    for (int h = 1; h <= sizes[2]; ++h)
        for (int y = 1; y <= sizes[1]; ++y)
            for (int x = 1; x <= sizes[0]; ++x) {
                const auto at = world.find({low[0] + x - 1, low[1] + h - 1, low[2] + y - 1});
                const BlockCode expected = at == world.end()                         ? 0
                                           : at->second == "minecraft:oak_log[axis=x]" ? log
                                                                                        : CodeOfState(editor.selector, at->second);
                ASSERT_EQ(editor.grid.At(x, y, h), expected) << x << "," << y << "," << h;
            }
}

TEST(LitematicImport, PlacesSeveralRegionsOfOtherToolsInOneBuilding) {
    for (const int version : {4, 5, 6, 7}) {
        SCOPED_TRACE("version " + std::to_string(version));
        FilesTestEditor test(5, 6, 7);
        CopyDefaultPack(kGameBlocksPackName);
        const std::vector<HandRegion> regions = TwoRegions();
        WriteBytes("other.litematic", HandFile(version, regions, version != 5));
        UsePack(test, "stackmason.zip");
        LoadAs(test, "other.litematic", kLitematicFilter);
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        EXPECT_EQ(test.editor.texturePackName, kGameBlocksPackName);
        EXPECT_EQ(test.editor.widthSpin.Value(), 3);
        EXPECT_EQ(test.editor.heightSpin.Value(), 3);
        ExpectBuildingOfModel(test.editor, PlaceByModel(regions), {10, 64, -3}, {3, 2, 3});
        // Spot checks of the model itself: the log and the stone of the base are kept under
        // the tower's cave air, its door covers the planks.
        EXPECT_EQ(test.editor.grid.At(1, 2, 1), CodeOfItem(test.editor.selector, "oak_log_017"));
        EXPECT_EQ(test.editor.grid.At(2, 2, 1), CodeOfItem(test.editor.selector, "stone_001"));
        EXPECT_EQ(test.editor.grid.At(3, 2, 1),
                  CodeOfState(test.editor.selector,
                              "minecraft:oak_door[facing=north,half=lower,hinge=left,open=false,powered=false]"));
        ASSERT_EQ(test.dialogs.infos.size(), 1u);
        EXPECT_NE(test.dialogs.infos[0].find("1 cell of minecraft:oak_log[axis=x] became oak_log_017"), std::string::npos)
            << test.dialogs.infos[0];
        EXPECT_EQ(test.dialogs.infos[0].find("beacon"), std::string::npos) << test.dialogs.infos[0];
    }
}

// A palette of 300 states takes 9 bits an entry, so that entries span two longs: each
// cell still gets the block its entry names.
TEST(LitematicImport, ReadsPalettesOfMoreThan256States) {
    FilesTestEditor test(2, 2, 2);
    CopyDefaultPack(kGameBlocksPackName);
    HandRegion region{"Big", {-5, 0, 7}, {20, 1, 16}, {}, {}, 0};
    for (int k = 0; k < 300; ++k)
        region.palette.push_back(k % 3 == 0   ? std::pair{std::string("minecraft:air"), std::vector<std::pair<std::string, std::string>>{}}
                                 : k % 3 == 1 ? std::pair{std::string("minecraft:stone"),
                                                          std::vector<std::pair<std::string, std::string>>{{"n", std::to_string(k)}}}
                                              : std::pair{std::string("minecraft:glass"),
                                                          std::vector<std::pair<std::string, std::string>>{{"n", std::to_string(k)}}});
    for (std::uint32_t i = 0; i < 320; ++i)
        region.entries.push_back((i * 7 + i / 20) % 300);
    WriteBytes("big.litematic", HandFile(6, {region}));
    LoadAs(test, "big.litematic", kLitematicFilter);
    ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
    ASSERT_EQ(test.editor.grid.Width(), 20);
    ASSERT_EQ(test.editor.grid.Length(), 16);
    ASSERT_EQ(test.editor.grid.Height(), 1);
    const BlockCode stone = CodeOfItem(test.editor.selector, "stone_001");
    const BlockCode glass = CodeOfState(test.editor.selector, "minecraft:glass");
    for (int y = 1; y <= 16; ++y)
        for (int x = 1; x <= 20; ++x) {
            const std::uint32_t entry = region.entries[static_cast<std::size_t>((y - 1) * 20 + (x - 1))];
            ASSERT_EQ(test.editor.grid.At(x, y, 1), entry % 3 == 0 ? 0 : entry % 3 == 1 ? stone : glass) << x << "," << y;
        }
}

// ---- Refusals.

TEST(LitematicImport, RefusesWhatItCannotTakeAndChangesNothing) {
    struct Case {
        std::string name;
        int version;
        std::vector<HandRegion> regions;
        std::string says;
    };
    std::vector<HandRegion> farApart = TwoRegions();
    farApart[1].position[0] = 600;
    std::vector<HandRegion> tooTall = TwoRegions();
    tooTall[1].position[1] = 64 + 300;
    std::vector<HandRegion> longer = TwoRegions();
    longer[0].extraLongs = 1;
    std::vector<HandRegion> shorter = TwoRegions();
    shorter[1].extraLongs = -1;
    std::vector<HandRegion> outOfRange = TwoRegions();
    outOfRange[1].entries[3] = 3;  // a palette of 3 entries at 2 bits
    std::vector<HandRegion> zeroSize = TwoRegions();
    zeroSize[0].size[2] = 0;
    zeroSize[0].entries.clear();
    const std::vector<Case> cases = {
        {"old", 3, TwoRegions(), "version 3, and only versions 4 to 7"},
        {"new", 8, TwoRegions(), "version 8, and only versions 4 to 7"},
        {"empty", 6, {}, "no regions"},
        {"wide", 6, farApart, "more than the largest building"},
        {"tall", 6, tooTall, "more than the largest building"},
        {"longer", 6, longer, "holds 2 longs of \"BlockStates\", where its 6 cells need 1"},
        {"shorter", 6, shorter, "its region \"Tower\" holds 0 longs"},
        {"range", 6, outOfRange, "names the palette entry 3, which its palette of 3 states lacks"},
        {"flat", 6, zeroSize, "which is empty or more than a building holds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilesTestEditor test(3, 2, 2);
        CopyDefaultPack(kGameBlocksPackName);
        UsePack(test, "stackmason.zip");
        test.editor.grid.At(2, 1, 2) = 3;
        const Building before = test.editor.grid;
        WriteBytes(c.name + ".litematic", HandFile(c.version, c.regions));
        LoadAs(test, c.name + ".litematic", kLitematicFilter);
        ASSERT_EQ(test.dialogs.errors.size(), 1u);
        EXPECT_NE(test.dialogs.errors[0].find(c.says), std::string::npos) << test.dialogs.errors[0];
        EXPECT_NE(test.dialogs.errors[0].find(c.name + ".litematic"), std::string::npos) << test.dialogs.errors[0];
        EXPECT_TRUE(test.editor.grid == before);
        EXPECT_EQ(test.editor.texturePackName, "stackmason.zip");
        EXPECT_TRUE(test.dialogs.infos.empty());
    }
}

// An empty long array, with more of the region's tags after it, plain and compressed: the
// file is read on past it and refused for the longs its cells need.
TEST(LitematicImport, RefusesRegionsOfEmptyBlockStates) {
    for (const bool gzip : {false, true}) {
        SCOPED_TRACE(gzip ? "gzip" : "plain");
        FilesTestEditor test(3, 2, 2);
        CopyDefaultPack(kGameBlocksPackName);
        test.editor.grid.At(1, 2, 1) = 2;
        const Building before = test.editor.grid;
        std::vector<HandRegion> regions = TwoRegions();
        regions[0].extraLongs = -1;
        regions[1].extraLongs = -1;
        WriteBytes("empty-longs.litematic", HandFile(7, regions, gzip));
        LoadAs(test, "empty-longs.litematic", kLitematicFilter);
        ASSERT_EQ(test.dialogs.errors.size(), 1u);
        EXPECT_NE(test.dialogs.errors[0].find("its region \"Base\" holds 0 longs of \"BlockStates\", where its 6 cells need 1"),
                  std::string::npos)
            << test.dialogs.errors[0];
        EXPECT_TRUE(test.editor.grid == before);
        EXPECT_TRUE(test.dialogs.infos.empty());
    }
}

// Small files that ask for the most work: the largest building of one state, the most longs
// a file may hold (a palette of 8192 states no pack has), three such buildings of stone over
// each other, and a long array that claims 2^31 - 1 longs it does not hold. All but the last
// are taken whole.
TEST(LitematicImport, TakesTheLargestFilesAndRefusesLyingArrays) {
    const std::vector<test::HostileFile> files = test::HostileLitematics();
    ASSERT_EQ(files.size(), 4u);
    for (const test::HostileFile& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_LE(file.bytes.size(), std::size_t{1} << 20);
        FilesTestEditor test(3, 2, 2);
        CopyDefaultPack(kGameBlocksPackName);
        const Building before = test.editor.grid;
        WriteBytes(file.name + ".litematic", file.bytes);
        LoadAs(test, file.name + ".litematic", kLitematicFilter);
        if (file.name == "claims-most-longs") {
            ASSERT_EQ(test.dialogs.errors.size(), 1u);
            EXPECT_NE(test.dialogs.errors[0].find("more than the largest building needs"), std::string::npos)
                << test.dialogs.errors[0];
            EXPECT_TRUE(test.editor.grid == before);
            continue;
        }
        ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
        ASSERT_EQ(test.editor.grid.Width(), 512);
        ASSERT_EQ(test.editor.grid.Length(), 512);
        ASSERT_EQ(test.editor.grid.Height(), 256);
        BlockCode expected = -1;
        for (BlockCode code = 1; code < test.editor.selector.Count(); ++code)
            if (file.name != "most-longs" ? test.editor.selector.ItemAt(code).text == "stone_001"
                                          : BlockNameOfEntry(test.editor.selector.ItemAt(code).text) == kUnknownBlockName)
                expected = code;
        ASSERT_GT(expected, 0);
        std::uint64_t others = 0;
        for (int h = 1; h <= 256; ++h)
            for (int y = 1; y <= 512; ++y)
                for (int x = 1; x <= 512; ++x)
                    others += test.editor.grid.At(x, y, h) != expected;
        EXPECT_EQ(others, 0u);
    }
}

}  // namespace
}  // namespace stackmason::testing
