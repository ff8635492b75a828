#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "editor/canvas/CanvasRepaint.h"
#include "FilesTestSupport.h"
#include "NbtBuilder.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/CompressedFileReader.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/History.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason::testing {
namespace {

// A file laid out as our export writes it.
std::vector<std::uint8_t> OurLayout(int width, int length, int height, const std::vector<std::uint8_t>& data,
                                    const std::vector<std::uint8_t>& blocks) {
    NbtBuilder nbt;
    nbt.Tag(10, "Schematic").ShortTag("Height", height).ShortTag("Length", length).ShortTag("Width", width);
    nbt.Tag(9, "Entities").Byte(10).Int(0).Tag(9, "TileEntities").Byte(10).Int(0);
    nbt.Tag(8, "Materials").Text("Alpha");
    nbt.ByteArrayTag("Data", data).ByteArrayTag("Blocks", blocks).End();
    return nbt.Result();
}

// Loads a schematic as the Load button does once the file is chosen, read with the pack at
// packPath instead of "minecraft.zip" where one is named, and carries out the repaint it
// asks for. True when the building was replaced.
bool Import(FilesTestEditor& test, const std::string& path, const std::string& packPath = {}) {
    const std::size_t errorsBefore = test.dialogs.errors.size();
    LoadBuildingFile(test.editor, FileChoice{path, kSchematicFilter}, packPath);
    ShowRequestedRepaint(test.editor);
    return test.dialogs.errors.size() == errorsBefore;
}

std::size_t PayloadIndex(int x, int y, int h, int width, int length) {
    return static_cast<std::size_t>(((h - 1) * length + (y - 1)) * width + (x - 1));
}

TEST(SchematicExport, WritesTheByteLayoutWithIdsAndDataValues) {
    FilesTestEditor test(3, 2, 2);
    FillSelector(test.editor, {1, 18, 300});
    test.editor.grid.At(1, 1, 1) = 1;
    test.editor.grid.At(3, 1, 1) = 2;
    test.editor.grid.At(2, 1, 2) = 3;
    test.editor.grid.At(1, 2, 2) = 4;    // beyond the pack
    test.editor.grid.At(2, 2, 1) = -12;  // below it
    test.editor.grid.At(0, 1, 1) = 1;    // index-0 planes are not written
    test.editor.grid.At(1, 1, 0) = 1;
    ExportSchematic(test.editor, "example.schematic");
    const std::vector<std::uint8_t> bytes = ReadBytes("example.schematic");
    std::vector<std::uint8_t> data(12, 0);
    std::vector<std::uint8_t> blocks(12, 0);
    data[2] = 8;
    blocks[0] = 1;
    blocks[2] = 18;
    blocks[7] = 300 & 0xFF;
    EXPECT_EQ(bytes, OurLayout(3, 2, 2, data, blocks));
    ASSERT_EQ(bytes.size(), 148u);
    EXPECT_EQ(bytes[106 + 3], 12);
    EXPECT_EQ(bytes[110 + 12], 0x07);
    EXPECT_EQ(bytes[147], 0x00);

    // One cell gives 126 bytes; a width of 512 is stored as 0x02 0x00.
    test.editor.widthSpin.SetValue(512);
    test.editor.lengthSpin.SetValue(1);
    test.editor.heightSpin.SetValue(1);
    NewBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    ExportSchematic(test.editor, "wide.schematic");
    const std::vector<std::uint8_t> wide = ReadBytes("wide.schematic");
    ASSERT_EQ(wide.size(), 124u + 2 * 512);
    EXPECT_EQ(wide[42], 0x02);
    EXPECT_EQ(wide[43], 0x00);
    EXPECT_TRUE(std::all_of(wide.begin() + 110, wide.begin() + 110 + 512, [](std::uint8_t b) { return b == 0; }));
    test.editor.widthSpin.SetValue(1);
    NewBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    ExportSchematic(test.editor, "one.schematic");
    EXPECT_EQ(ReadBytes("one.schematic").size(), 126u);

    ExportSchematic(test.editor, "missing/folder/x.schematic");
    EXPECT_EQ(test.dialogs.errors, std::vector<std::string>{"Could Not Create File !"});
}

TEST(SchematicExport, DataValuesFollowTheTable) {
    struct Row {
        std::int32_t id;
        BlockCode firstCode;
        std::vector<std::uint8_t> values;
    };
    const Row rows[] = {{5, 78, {0, 1, 2, 3}},    {17, 72, {2, 3, 0, 1}}, {24, 58, {1, 0, 2}},
                        {98, 65, {0, 3, 1, 2}},   {155, 53, {1, 2, 0}},   {95, 103, {0, 14, 11}}};
    for (const Row& row : rows) {
        for (BlockCode code = 0; code < 120; ++code) {
            const BlockCode offset = code - row.firstCode;
            const bool listed = offset >= 0 && offset < static_cast<BlockCode>(row.values.size());
            EXPECT_EQ(BlockDataValue(row.id, code), listed ? row.values[static_cast<std::size_t>(offset)] : 0)
                << row.id << " " << code;
        }
    }
    for (BlockCode code = 0; code < 120; ++code) {
        EXPECT_EQ(BlockDataValue(35, code), code >= 13 && code <= 28 ? code - 13 : 0);
        EXPECT_EQ(BlockDataValue(50, code), 6);
        EXPECT_EQ(BlockDataValue(80, code), 7);
        EXPECT_EQ(BlockDataValue(18, code), 8);
        EXPECT_EQ(BlockDataValue(1, code), 0);
        EXPECT_EQ(BlockDataValue(35 + 256, code), 0);
    }
    EXPECT_EQ(BlockDataValue(35, 20), 7);
    EXPECT_EQ(BlockDataValue(5, 40), 0);
}

TEST(SchematicImport, MapsStoredIdsOntoThePack) {
    FilesTestEditor test(2, 2, 2);
    // Codes: 1 stone, 2 cobble, 3 and 4 wool, 5 and 6 quartz.
    WritePack("ids.zip", {"stone_001.png", "cobble_004.png", "wool_035.png", "red_035.png", "quartz_155.png",
                          "chiseled_155.png"});
    const int width = 3, length = 2, height = 2;
    std::vector<std::uint8_t> blocks(12, 0);
    blocks[PayloadIndex(1, 1, 1, width, length)] = 35;
    blocks[PayloadIndex(2, 1, 1, width, length)] = 155;
    blocks[PayloadIndex(3, 1, 1, width, length)] = 99;
    blocks[PayloadIndex(1, 2, 2, width, length)] = 4;
    blocks[PayloadIndex(3, 2, 2, width, length)] = 1;
    WriteBytes("ids.schematic", OurLayout(width, length, height, std::vector<std::uint8_t>(12, 0), blocks));
    WriteBytes("other-data.schematic", OurLayout(width, length, height, std::vector<std::uint8_t>(12, 0xA5), blocks));
    for (const char* path : {"ids.schematic", "other-data.schematic"}) {
        ASSERT_TRUE(Import(test, path, "ids.zip"));
        EXPECT_EQ(test.editor.texturePackName, "ids.zip");
        EXPECT_EQ(test.editor.grid.Width(), 3);
        EXPECT_EQ(test.editor.grid.Length(), 2);
        EXPECT_EQ(test.editor.grid.Height(), 2);
        EXPECT_EQ(test.editor.grid.At(1, 1, 1), 3);
        EXPECT_EQ(test.editor.grid.At(2, 1, 1), 5);
        EXPECT_EQ(test.editor.grid.At(3, 1, 1), 2);
        EXPECT_EQ(test.editor.grid.At(1, 2, 2), 2);
        EXPECT_EQ(test.editor.grid.At(3, 2, 2), 1);
        EXPECT_EQ(test.editor.grid.At(2, 2, 2), 0);
    }
    // Two wool colours come back as the first wool entry.
    test.editor.grid.At(1, 1, 1) = 4;
    test.editor.grid.At(2, 1, 1) = 3;
    test.editor.grid.At(3, 1, 1) = 6;
    ExportSchematic(test.editor, "wool.schematic");
    ASSERT_TRUE(Import(test, "wool.schematic", "ids.zip"));
    EXPECT_EQ(test.editor.grid.At(1, 1, 1), 3);
    EXPECT_EQ(test.editor.grid.At(2, 1, 1), 3);
    EXPECT_EQ(test.editor.grid.At(3, 1, 1), 5);

    // A stored 0 is a block when an entry has the id 0; only "Air" makes all air; a pack of
    // one block takes the unknown ids.
    WritePack("zero.zip", {"stone_001.png", "cobble_004.png", "nothing_000.png"});
    ASSERT_TRUE(Import(test, "ids.schematic", "zero.zip"));
    EXPECT_EQ(test.editor.grid.At(2, 2, 2), 3);
    EXPECT_EQ(test.editor.grid.At(1, 1, 1), 2);
    // A pack that does not open gives air alone.
    ASSERT_TRUE(Import(test, "ids.schematic", "missing.zip"));
    EXPECT_EQ(test.editor.selector.Count(), 1);
    const std::vector<BlockCode> cells = BuildingCells(test.editor);
    EXPECT_TRUE(std::all_of(cells.begin(), cells.end(), [](BlockCode c) { return c == 0; }));
    FillSelector(test.editor, {7});
    EXPECT_EQ(ImportedCodesOf(test.editor.selector)[99], 1);
    EXPECT_EQ(ImportedCodesOf(test.editor.selector)[0], 0);
    EXPECT_TRUE(test.dialogs.errors.empty());
}

// Each import is one step of the history, even when it is not reached through the Load
// requester: two imports, then one undo, give back the first import's building and pack.
TEST(SchematicImport, EachImportIsOneStepOfTheHistory) {
    FilesTestEditor test(2, 2, 2);
    WritePack("first.zip", {"stone_001.png", "cobble_004.png", "wool_035.png"});
    WritePack("second.zip", {"wool_035.png", "cobble_004.png"});
    WriteBytes("first.schematic", OurLayout(2, 3, 1, std::vector<std::uint8_t>(6, 0), {1, 4, 35, 0, 77, 1}));
    WriteBytes("second.schematic", OurLayout(1, 1, 2, std::vector<std::uint8_t>(2, 0), {4, 35}));
    ASSERT_TRUE(Import(test, "first.schematic", "first.zip"));
    const std::vector<BlockCode> first = BuildingCells(test.editor);
    EXPECT_EQ(first, (std::vector<BlockCode>{1, 3, 2, 2, 0, 1}));
    ASSERT_TRUE(Import(test, "second.schematic", "second.zip"));
    EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{2, 1}));
    test.editor.history.Undo(test.editor);
    ShowRequestedRepaint(test.editor);
    EXPECT_EQ(test.editor.grid.Width(), 2);
    EXPECT_EQ(test.editor.grid.Length(), 3);
    EXPECT_EQ(BuildingCells(test.editor), first);
    EXPECT_EQ(test.editor.texturePackName, "first.zip");
}

TEST(SchematicLoad, RandomBuildingsRoundTripThroughTheMinecraftPack) {
    FilesTestEditor test(1, 1, 1);
    std::vector<std::string> names;
    for (int id = 1; id <= 40; ++id)
        names.push_back("block" + std::to_string(id) + "_" + (id < 10 ? "00" : "0") + std::to_string(id) + ".png");
    WritePack(kSchematicPackName, names);
    WritePack("stackmason.zip", {"stone_001.png"});
    std::mt19937 random(11);
    // The last spans several of the blocks of rows the import reads at a time, split mid-layer.
    const int sizes[][3] = {{1, 1, 1}, {9, 4, 20}, {17, 23, 5}, {300, 70, 5}};
    for (const auto& size : sizes) {
        test.editor.texturePackName = kSchematicPackName;
        LoadTexturePack(test.editor);
        test.editor.widthSpin.SetValue(size[0]);
        test.editor.lengthSpin.SetValue(size[1]);
        test.editor.heightSpin.SetValue(size[2]);
        NewBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        for (int x = 1; x <= size[0]; ++x)
            for (int y = 1; y <= size[1]; ++y)
                for (int h = 1; h <= size[2]; ++h)
                    test.editor.grid.At(x, y, h) = static_cast<BlockCode>(random() % 41);
        const std::vector<BlockCode> saved = BuildingCells(test.editor);
        test.dialogs.Choose("round", kSchematicFilter);
        SaveBuilding(test.editor, false);

        // Another pack and building first; the load switches back.
        test.editor.texturePackName = "stackmason.zip";
        LoadTexturePack(test.editor);
        test.editor.widthSpin.SetValue(3);
        NewBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        const int dropped = test.window.dropped;
        test.dialogs.Choose("round.schematic", kSchematicFilter);
        LoadBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        EXPECT_EQ(test.editor.texturePackName, kSchematicPackName);
        EXPECT_EQ(test.editor.selector.Count(), 41);
        EXPECT_EQ(BuildingCells(test.editor), saved);
        EXPECT_EQ(test.editor.widthSpin.Value(), size[0]);
        EXPECT_EQ(test.editor.lengthSpin.Value(), size[1]);
        EXPECT_EQ(test.editor.heightSpin.Value(), size[2]);
        EXPECT_EQ(test.editor.SelectedBlock(), 1);
        EXPECT_TRUE(test.editor.InTopView());
        EXPECT_EQ(test.editor.CurrentLayer(), 1);
        EXPECT_EQ(test.editor.layerSpin.Maximum(), size[2]);
        EXPECT_EQ(test.painter.canvasWidth, size[0] * 32 + 5);
        EXPECT_EQ(test.window.dropped, dropped + 1);
    }
    EXPECT_TRUE(test.dialogs.errors.empty());
}

// A pack as "zip -r pack.zip pack" makes it: its folder first, then the pictures inside;
// one entry does not decode. Neither the folder nor the broken entry is a block: they keep
// their codes but are never named in a schematic file, so a stored 0 stays air.
TEST(SchematicLoad, EntriesWithoutPicturesStayOutOfSchematicFiles) {
    FilesTestEditor test(1, 1, 1);
    const std::vector<std::uint8_t> picture = test::EncodePng(test::CoordinateImage(16, 16));
    test::WriteFile(kSchematicPackName, test::MakeZip({{"pack/", {}},
                                                        {"pack/stone_001.png", picture},
                                                        {"pack/broken_004.png", {'n', 'o', 't', 'P', 'N', 'G'}},
                                                        {"pack/dirt_003.png", picture}}));
    const int width = 4, length = 2, height = 1;
    const std::vector<std::uint8_t> stored = {0, 1, 3, 4, 0, 0, 77, 1};
    WriteBytes("zipped.schematic", OurLayout(width, length, height, std::vector<std::uint8_t>(8, 0), stored));
    test.dialogs.Choose("zipped.schematic", kSchematicFilter);
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    ASSERT_EQ(test.editor.selector.Count(), 5);
    // Payload order is x fastest; BuildingCells walks x slowest.
    auto cellsInPayloadOrder = [&] {
        std::vector<BlockCode> cells;
        for (int y = 1; y <= length; ++y)
            for (int x = 1; x <= width; ++x)
                cells.push_back(test.editor.grid.At(x, y, 1));
        return cells;
    };
    // 0 is air; 4 names only the broken entry, so like 77 it is an unknown id (code 2).
    EXPECT_EQ(cellsInPayloadOrder(), (std::vector<BlockCode>{0, 2, 4, 2, 0, 0, 2, 2}));

    // Cells that hold the folder or the broken entry export as air, data 0.
    test.editor.grid.At(1, 2, 1) = 1;
    test.editor.grid.At(2, 2, 1) = 3;
    test.dialogs.Choose("again", kSchematicFilter);
    SaveBuilding(test.editor, false);
    const std::vector<std::uint8_t> exported = ReadBytes("again.schematic");
    EXPECT_EQ(exported, OurLayout(width, length, height, std::vector<std::uint8_t>(8, 0),
                                  {0, 1, 3, 1, 0, 0, 1, 1}));
    test.dialogs.Choose("again.schematic", kSchematicFilter);
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    EXPECT_EQ(cellsInPayloadOrder(), (std::vector<BlockCode>{0, 2, 4, 2, 0, 0, 2, 2}));
    EXPECT_TRUE(test.dialogs.errors.empty());
}

// Packs of random entries, some without a picture, with ids that repeat, are 0 or beyond a
// byte: whatever the pack, an entry without a picture is never what an id imports as and
// always exports as 0, 0; a block that is the first of its id comes back from its own export.
TEST(SchematicImport, EntriesWithoutPicturesNeverTakePartInTheIdMapping) {
    FilesTestEditor test(1, 1, 1);
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        SelectorModel& selector = test.editor.selector;
        selector.Clear();
        selector.Add("Air", Image(32, 32));
        const int entries = static_cast<int>(random() % 8);
        for (int i = 0; i < entries; ++i) {
            selector.Add("entry", Image(32, 32), random() % 3 != 0);
            // Few ids, so that they repeat; some beyond a byte, of which the export keeps the low byte.
            const std::int32_t id = static_cast<std::int32_t>(random() % 6) + (random() % 4 == 0 ? 254 : 0);
            selector.SetData(selector.Count() - 1, id);
        }
        const std::array<BlockCode, 256> imported = ImportedCodesOf(selector);
        const ExportedBlocks exported = ExportedBlocksOf(selector);
        bool anyBlock = false, anyBlockOfIdZero = false;
        for (BlockCode code = 1; code < selector.Count(); ++code) {
            anyBlock = anyBlock || selector.IsBlockPicture(code);
            anyBlockOfIdZero = anyBlockOfIdZero || (selector.IsBlockPicture(code) && selector.Data(code) == 0);
        }
        for (int b = 0; b < 256; ++b) {
            const BlockCode code = imported[static_cast<std::size_t>(b)];
            EXPECT_TRUE(code == 0 || selector.IsBlockPicture(code)) << round << ": " << b << " -> " << code;
            EXPECT_EQ(code != 0, b == 0 ? anyBlockOfIdZero : anyBlock) << round << ": " << b;
        }
        for (BlockCode code = 1; code < selector.Count(); ++code) {
            const std::int32_t id = selector.Data(code);
            if (!selector.IsBlockPicture(code)) {
                EXPECT_EQ(exported.IdOf(code), 0) << round << ": " << code;
                EXPECT_EQ(exported.DataValueOf(code), 0) << round << ": " << code;
                continue;
            }
            EXPECT_EQ(exported.IdOf(code), id & 0xFF);
            if (id > 255)
                continue;
            const BlockCode back = imported[static_cast<std::size_t>(id)];
            EXPECT_LE(back, code) << round << ": " << code;
            EXPECT_EQ(selector.Data(back), id) << round << ": " << code;
        }
    }
}

// A file as another tool could write it: Blocks first, sizes last, tags of every type among
// them, lists with elements, a long name.
std::vector<std::uint8_t> OtherToolsLayout(const std::vector<std::uint8_t>& blocks) {
    NbtBuilder nbt;
    nbt.Tag(10, "Schematic");
    nbt.ByteArrayTag("Blocks", blocks).Tag(8, "Materials").Text("Alpha");
    nbt.Tag(9, "Entities").Byte(10).Int(2);
    nbt.Tag(8, "id").Text("Pig").Tag(9, "Pos").Byte(6).Int(3).Long(1).Long(2).Long(3).End();
    nbt.Tag(10, "Inner").Tag(5, "f").Int(7).Tag(11, "ints").Int(2).Int(1).Int(2).End().End();
    nbt.Tag(9, "TileEntities").Byte(9).Int(2).Byte(2).Int(2).Short(1).Short(2).Byte(0).Int(0);
    nbt.Tag(4, std::string(300, 'n')).Long(-1).Tag(6, "d").Long(5);
    nbt.Tag(12, "longs").Int(2).Long(1).Long(2).Tag(1, "b").Byte(1);
    nbt.ByteArrayTag("Data", std::vector<std::uint8_t>(blocks.size(), 3));
    nbt.ByteArrayTag("Biomes", {1, 2, 3, 4});
    nbt.Tag(3, "WEOffsetX").Int(-5);
    nbt.ShortTag("Width", 2).Tag(3, "Length").Int(3).ShortTag("Height", 1).End();
    return nbt.Result();
}

TEST(SchematicImport, ReadsFilesOfOtherToolsPlainOrCompressed) {
    FilesTestEditor test(2, 2, 2);
    WritePack("ids.zip", {"stone_001.png", "cobble_004.png", "wool_035.png"});
    const std::vector<std::uint8_t> blocks = {1, 4, 35, 0, 77, 1};
    const std::vector<std::uint8_t> plain = OtherToolsLayout(blocks);
    WriteBytes("plain.schematic", plain);
    WriteBytes("gzip.schematic", Gzip(plain));
    WriteBytes("zlib.schematic", Zlib(plain));
    std::vector<std::uint8_t> twoMembers = Gzip(std::vector<std::uint8_t>(plain.begin(), plain.begin() + 40));
    const std::vector<std::uint8_t> rest = Gzip(std::vector<std::uint8_t>(plain.begin() + 40, plain.end()));
    twoMembers.insert(twoMembers.end(), rest.begin(), rest.end());
    WriteBytes("members.schematic", twoMembers);
    WriteBytes("ours.schematic", Gzip(OurLayout(2, 3, 1, std::vector<std::uint8_t>(6, 0), blocks)));
    for (const char* path :
         {"plain.schematic", "gzip.schematic", "zlib.schematic", "members.schematic", "ours.schematic"}) {
        NewBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        ASSERT_TRUE(Import(test, path, "ids.zip")) << path << ": " << test.dialogs.errors.back();
        EXPECT_EQ(test.editor.grid.Width(), 2);
        EXPECT_EQ(test.editor.grid.Length(), 3);
        EXPECT_EQ(test.editor.grid.Height(), 1);
        // Payload order: x fastest, then y.
        EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{1, 3, 2, 2, 0, 1})) << path;
    }
    EXPECT_TRUE(test.dialogs.errors.empty());
}

struct EditorSnapshot {
    std::vector<BlockCode> cells;
    int width, length, height, widthField, selectorCount, dropped;
    std::string packName;
    bool operator==(const EditorSnapshot&) const = default;
};

EditorSnapshot Snapshot(const FilesTestEditor& test) {
    const Editor& e = test.editor;
    return {BuildingCells(e), e.grid.Width(), e.grid.Length(), e.grid.Height(), e.widthSpin.Value(),
            e.selector.Count(), test.window.dropped, e.texturePackName};
}

TEST(SchematicImport, RefusesBrokenAndHostileFilesChangingNothing) {
    FilesTestEditor test(3, 2, 2);
    WritePack(kSchematicPackName, {"stone_001.png", "grass_002.png", "dirt_003.png"});
    WritePack("stackmason.zip", {"stone_001.png"});
    LoadTexturePack(test.editor);
    test.editor.grid.At(2, 1, 2) = 1;
    const EditorSnapshot before = Snapshot(test);

    const std::vector<std::uint8_t> good = OurLayout(2, 1, 1, {0, 0}, {1, 2});
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    auto root = [] { return NbtBuilder().Tag(10, "Schematic"); };
    auto sized = [&](int width, int length, int height) {
        return root().ShortTag("Width", width).ShortTag("Length", length).ShortTag("Height", height);
    };
    files.push_back({"empty", {}});
    files.push_back({"text", {'2', 'x', '1', 'x', '1', ';', '\r', '\n'}});
    files.push_back({"no end", std::vector<std::uint8_t>(good.begin(), good.end() - 1)});
    files.push_back({"half gzip", [&] {
                         std::vector<std::uint8_t> gz = Gzip(good);
                         gz.resize(gz.size() / 2);
                         return gz;
                     }()});
    files.push_back({"no width", root().ShortTag("Length", 1).ShortTag("Height", 1).ByteArrayTag("Blocks", {1}).End().Result()});
    files.push_back({"no blocks", sized(1, 1, 1).End().Result()});
    files.push_back({"width 0", sized(0, 1, 1).ByteArrayTag("Blocks", {}).End().Result()});
    files.push_back({"width 513", sized(513, 1, 1).ByteArrayTag("Blocks", std::vector<std::uint8_t>(513)).End().Result()});
    files.push_back({"height 257", sized(1, 1, 257).ByteArrayTag("Blocks", std::vector<std::uint8_t>(257)).End().Result()});
    files.push_back({"length -1", sized(1, -1, 1).ByteArrayTag("Blocks", {1}).End().Result()});
    files.push_back({"short blocks", sized(2, 2, 1).ByteArrayTag("Blocks", {1, 2, 3}).End().Result()});
    files.push_back({"huge blocks", sized(512, 512, 256).Tag(7, "Blocks").Int(512 * 512 * 256).Bytes({1, 2}).Result()});
    files.push_back({"lying blocks", sized(1, 1, 1).Tag(7, "Blocks").Int(0x7FFFFFFF).Byte(1).Result()});
    files.push_back({"negative array", sized(1, 1, 1).Tag(7, "Data").Int(-1).ByteArrayTag("Blocks", {1}).End().Result()});
    files.push_back({"lying ints", sized(1, 1, 1).ByteArrayTag("Blocks", {1}).Tag(11, "x").Int(0x7FFFFFFF).End().Result()});
    files.push_back({"unknown type", sized(1, 1, 1).ByteArrayTag("Blocks", {1}).Tag(13, "x").End().Result()});
    files.push_back({"width text", root().Tag(8, "Width").Text("1").ShortTag("Length", 1).ShortTag("Height", 1).ByteArrayTag("Blocks", {1}).End().Result()});
    files.push_back({"resized", sized(2, 1, 1).ByteArrayTag("Blocks", {1, 2}).ShortTag("Width", 1).ShortTag("Length", 2).End().Result()});
    files.push_back({"blocks ints", sized(1, 1, 1).Tag(11, "Blocks").Int(1).Int(1).End().Result()});
    files.push_back({"end list", sized(1, 1, 1).ByteArrayTag("Blocks", {1}).Tag(9, "l").Byte(0).Int(5).End().Result()});
    files.push_back({"deep", [&] {
                         NbtBuilder nbt = sized(1, 1, 1).ByteArrayTag("Blocks", {1});
                         nbt.Tag(9, "deep");
                         for (int i = 0; i < 100000; ++i)
                             nbt.Byte(9).Int(1);
                         return nbt.Result();
                     }()});
    for (const auto& [name, bytes] : files) {
        WriteBytes("broken.schematic", bytes);
        test.dialogs.Choose("broken.schematic", kSchematicFilter);
        LoadBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        ASSERT_FALSE(test.dialogs.errors.empty()) << name;
        EXPECT_NE(test.dialogs.errors.back().find("broken.schematic"), std::string::npos) << name;
        EXPECT_EQ(Snapshot(test), before) << name << ": " << test.dialogs.errors.back();
        test.dialogs.errors.clear();
    }

    // Every cut of a good file, plain and compressed, is refused as well.
    for (const std::vector<std::uint8_t>& whole : {good, Gzip(good)}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            WriteBytes("cut.schematic", std::vector<std::uint8_t>(whole.begin(), whole.begin() + size));
            EXPECT_FALSE(Import(test, "cut.schematic")) << size;
            EXPECT_EQ(Snapshot(test), before) << size;
        }
    }

    test.dialogs.errors.clear();
    test.dialogs.Choose("nowhere.schematic", kSchematicFilter);
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    EXPECT_EQ(test.dialogs.errors, std::vector<std::string>{"Could not open file!"});
    EXPECT_EQ(Snapshot(test), before);

    // The good file itself loads, and switches to the pack.
    WriteBytes("good.schematic", good);
    test.dialogs.Choose("good.schematic", kSchematicFilter);
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    EXPECT_EQ(test.editor.texturePackName, kSchematicPackName);
    EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{1, 2}));
}

// Small files may inflate to hundreds of megabytes of tags, each a step of its own. A list
// that claims more elements than the rest of the file can hold, more tags than a schematic
// of the largest building has, or more content than the limit are refused before the work;
// files just within the bounds load.
TEST(SchematicImport, BoundsTheWorkAFileCanAskFor) {
    FilesTestEditor test(3, 2, 2);
    WritePack(kSchematicPackName, {"stone_001.png"});
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* problem;  // nullptr: the file loads, a building of one block of id 1
    };
    NbtBuilder lyingList;
    lyingList.Tag(10, "Schematic").Tag(9, "Entities").Byte(10).Int(1000);
    for (int i = 0; i < 10; ++i)
        lyingList.End();
    const std::vector<Case> cases = {
        {"500 million empty compounds", test::HugeListSchematic(500'000'000), "claims 500000000 elements"},
        {"a thousand empty compounds", test::HugeListSchematic(1000), nullptr},
        {"as many tags as may be", test::ManyTagsSchematic((1u << 24) - 4), nullptr},
        {"a tag too many", test::ManyTagsSchematic((1u << 24) - 3), "more than 16777216 tags"},
        {"250 MB of data", test::LargeDataSchematic(250'000'000), nullptr},
        {"300 MB of data", test::LargeDataSchematic(300'000'000), "far more data"},
        {"a plain file's list cut short", lyingList.Result(), "claims 1000 elements"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("work.schematic", c.bytes);
        test.editor.widthSpin.SetValue(3);
        test.editor.lengthSpin.SetValue(2);
        test.editor.heightSpin.SetValue(2);
        NewBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        test.editor.grid.At(2, 1, 2) = 1;
        const EditorSnapshot before = Snapshot(test);
        test.dialogs.errors.clear();
        test.dialogs.Choose("work.schematic", kSchematicFilter);
        LoadBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        if (c.problem == nullptr) {
            EXPECT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
            EXPECT_EQ(BuildingCells(test.editor), std::vector<BlockCode>{1});
            continue;
        }
        ASSERT_EQ(test.dialogs.errors.size(), 1u);
        EXPECT_NE(test.dialogs.errors[0].find(c.problem), std::string::npos) << test.dialogs.errors[0];
        EXPECT_EQ(Snapshot(test), before);
    }
}

// The reader makes its content a block at a time; whatever mix of small and large reads
// and skips a parser makes, plain or compressed, it hands out the file's bytes in order,
// and exactly up to its limit.
TEST(CompressedFileReader, HandsOutTheSameBytesWhateverTheReadSizes) {
    TemporaryWorkingDirectory directory;
    std::mt19937 random(11);
    std::vector<std::uint8_t> content(700'000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = (i / 50'000) % 2 ? 0 : static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> members = Gzip({content.begin(), content.begin() + 300'001});
    const std::vector<std::uint8_t> second = Gzip({content.begin() + 300'001, content.end()});
    members.insert(members.end(), second.begin(), second.end());
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> forms = {
        {"plain", content}, {"gzip", Gzip(content)}, {"zlib", Zlib(content)}, {"members", members}};
    for (const auto& [form, bytes] : forms) {
        WriteBytes("content", bytes);
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(std::string(form) + " round " + std::to_string(round));
            CompressedFileReader reader("content", content.size() + static_cast<std::uint64_t>(round % 2));
            std::size_t at = 0;
            while (at < content.size()) {
                const std::size_t sizes[] = {1, 2, 4, 5, 100, 70'000, 200'000};
                const std::size_t size = std::min(sizes[random() % std::size(sizes)], content.size() - at);
                // Exact for plain content, where the file's size tells.
                if (std::string(form) == "plain") {
                    ASSERT_EQ(reader.ContentLeftAtMost(), content.size() - at);
                } else {
                    ASSERT_GE(reader.ContentLeftAtMost(), content.size() - at);
                }
                switch (random() % 3) {
                case 0: {
                    std::vector<std::uint8_t> got(size);
                    ASSERT_EQ(reader.Read(got.data(), size), size);
                    ASSERT_TRUE(std::equal(got.begin(), got.end(), content.begin() + static_cast<std::ptrdiff_t>(at)));
                    break;
                }
                case 1: {
                    std::uint8_t byte = 0;
                    ASSERT_TRUE(reader.ReadByte(byte));
                    ASSERT_EQ(byte, content[at]);
                    at += 1;
                    continue;
                }
                default:
                    ASSERT_TRUE(reader.Skip(size));
                }
                at += size;
            }
            EXPECT_TRUE(reader.ReachEndIntact());
            // Within the limit, the content just ends.
            std::uint8_t more = 0;
            if (round % 2 == 1) {
                EXPECT_EQ(reader.Read(&more, 1), 0u);
                EXPECT_EQ(reader.GetProblem(), CompressedFileReader::Problem::None);
            }
        }
        // One byte short of the limit: the last read is refused as too large.
        CompressedFileReader tight("content", content.size() - 1);
        EXPECT_TRUE(tight.Skip(content.size() - 2));
        EXPECT_FALSE(tight.Skip(2));
        EXPECT_EQ(tight.GetProblem(), CompressedFileReader::Problem::TooLarge);
    }
}

}  // namespace
}  // namespace stackmason::testing
