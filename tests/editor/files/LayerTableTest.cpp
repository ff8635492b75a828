// The layer-by-block table, read back by a CSV reader of the tests' own and checked against a
// cell-by-cell count of the building.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FilesTestSupport.h"
#include "editor/files/LayerPlans.h"
#include "editor/files/MaterialList.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason::testing {
namespace {

using Table = std::vector<std::vector<std::string>>;

// Splits CSV text into lines of fields, undoing the quoting: a field in quotes may hold
// commas, line ends and doubled quotes. Every line must end in LF.
Table ReadCsv(const std::string& csv) {
    Table lines;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t at = 0; at < csv.size(); ++at) {
        const char c = csv[at];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (at + 1 < csv.size() && csv[at + 1] == '"')
                field += csv[++at];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\n') {
            fields.push_back(std::exchange(field, {}));
            if (c == '\n')
                lines.push_back(std::exchange(fields, {}));
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && fields.empty() && !quoted) << "the text does not end in a line end";
    return lines;
}

// Each code's count on each plane, counted cell by cell: planes are layers h or slices x.
using PlaneCount = std::map<BlockCode, std::vector<std::uint64_t>>;

PlaneCount CountCells(const Building& grid, bool byLayer) {
    const int planes = byLayer ? grid.Height() : grid.Width();
    PlaneCount counts;
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x) {
                const BlockCode code = grid.Cell(x, y, h);
                if (code == 0)
                    continue;
                std::vector<std::uint64_t>& row = counts[code];
                row.resize(static_cast<std::size_t>(planes), 0);
                ++row[static_cast<std::size_t>((byLayer ? h : x) - 1)];
            }
    return counts;
}

std::uint64_t Sum(const std::vector<std::uint64_t>& counts) {
    std::uint64_t sum = 0;
    for (const std::uint64_t count : counts)
        sum += count;
    return sum;
}

std::string NameOf(const SelectorModel& selector, BlockCode code) {
    return code > 0 && code < selector.Count() ? selector.ItemAt(code).text : "block code " + std::to_string(code);
}

// Checks the editor's table, in the view it shows, against the cells: the header, a row per
// block type in the order of its total (then its code), every plane's count, the total and the
// material list's name, state and count of each block.
void ExpectTableOfCells(const Editor& editor) {
    const bool byLayer = editor.InTopView();
    const int planes = byLayer ? editor.grid.Height() : editor.grid.Width();
    const PlaneCount cells = CountCells(editor.grid, byLayer);
    const Table table = ReadCsv(LayerTableCsv(editor));
    ASSERT_FALSE(table.empty());

    std::vector<std::string> header{"Block", "Block state"};
    for (int plane = 1; plane <= planes; ++plane)
        header.push_back((byLayer ? "Layer " : "Slice ") + std::to_string(plane));
    header.push_back("Total");
    EXPECT_EQ(table[0], header);

    std::vector<BlockCode> order;
    for (const auto& [code, counts] : cells)
        order.push_back(code);
    std::stable_sort(order.begin(), order.end(),
                     [&](BlockCode a, BlockCode b) { return Sum(cells.at(a)) > Sum(cells.at(b)); });
    ASSERT_EQ(table.size(), order.size() + 1);

    std::map<BlockCode, MaterialRow> listed;
    for (const MaterialRow& row : CountMaterials(editor, MaterialScope::Building).rows)
        listed[row.code] = row;
    for (std::size_t index = 0; index < order.size(); ++index) {
        const BlockCode code = order[index];
        const std::vector<std::string>& line = table[index + 1];
        SCOPED_TRACE("code " + std::to_string(code));
        ASSERT_EQ(line.size(), header.size());
        EXPECT_EQ(line[0], NameOf(editor.selector, code));
        EXPECT_EQ(line[0], listed.at(code).name);
        EXPECT_EQ(line[1], listed.at(code).blockState);
        for (int plane = 1; plane <= planes; ++plane)
            EXPECT_EQ(line[static_cast<std::size_t>(plane) + 1],
                      std::to_string(cells.at(code)[static_cast<std::size_t>(plane - 1)]))
                << "plane " << plane;
        EXPECT_EQ(line.back(), std::to_string(Sum(cells.at(code))));
        EXPECT_EQ(line.back(), std::to_string(listed.at(code).count));
    }
}

// A building of the default Minecraft pack's blocks, a code beyond the pack among them, with
// empty planes both ways, equal totals and blocks on the ground that is not part of it.
struct PackedBuilding {
    PackedBuilding() {
        CopyDefaultPack("minecraft.zip");
        StagedPack pack = StageTexturePack("minecraft.zip");
        test.editor.selector.TakeItemsOf(pack.selector);
        Building& grid = test.editor.grid;
        std::mt19937 random(7);
        const int beyond = test.editor.selector.Count() + 3;
        std::uniform_int_distribution<int> code(1, 40);
        for (int h = 1; h <= grid.Height(); ++h)
            for (int y = 1; y <= grid.Length(); ++y)
                for (int x = 1; x <= grid.Width(); ++x)
                    // Layers 2 and 6 and slices 1 and 4 stay empty.
                    if (h != 2 && h != 6 && x != 1 && x != 4 && random() % 3 != 0)
                        grid.At(x, y, h) = random() % 20 == 0 ? beyond : code(random);
        for (int x = 1; x <= grid.Width(); ++x)
            grid.At(x, 1, 0) = 1;
    }

    FilesTestEditor test{9, 5, 6};
};

TEST(LayerTable, CountsEveryBlockOnEveryLayer) {
    PackedBuilding building;
    ExpectTableOfCells(building.test.editor);
    // A row holds a state with commas, which comes quoted; the reader above took it back.
    const std::string csv = LayerTableCsv(building.test.editor);
    EXPECT_NE(csv.find("\"minecraft:"), std::string::npos);
    EXPECT_NE(csv.find("\nblock code " + std::to_string(building.test.editor.selector.Count() + 3) + ","),
              std::string::npos);
}

TEST(LayerTable, CountsSlicesInFrontView) {
    PackedBuilding building;
    Editor& editor = building.test.editor;
    ShowFrontView(editor);
    ASSERT_FALSE(editor.InTopView());
    ExpectTableOfCells(editor);
}

// Equal totals go by code; the all-air building has the header alone.
TEST(LayerTable, OrdersEqualTotalsByCodeAndLeavesAirOut) {
    FilesTestEditor test(3, 2, 2);
    FillSelector(test.editor, {1, 2, 3, 4, 5});
    EXPECT_EQ(LayerTableCsv(test.editor), "Block,Block state,Layer 1,Layer 2,Total\n");
    Building& grid = test.editor.grid;
    grid.At(1, 1, 2) = 4;
    grid.At(2, 1, 2) = 2;
    grid.At(3, 2, 1) = 5;
    grid.At(1, 2, 1) = 2;
    EXPECT_EQ(LayerTableCsv(test.editor),
              "Block,Block state,Layer 1,Layer 2,Total\n"
              "block 2,minecraft:grass_block,1,1,2\n"
              "block 4,minecraft:cobblestone,0,1,1\n"
              "block 5,minecraft:oak_planks,1,0,1\n");
    ExpectTableOfCells(test.editor);
}

// Counted plane by plane from outside the editor, as the converter counts a file a layer at
// a time: the planes may come from different holders, and one plane's counts never leak into
// the next.
TEST(LayerTable, PlaneCountsTakeEachPlaneAlone) {
    Building first(4, 2, 3);
    first.At(1, 1, 1) = 3;
    first.At(2, 1, 1) = 3;
    first.At(1, 2, 3) = 7;
    Building second(4, 2, 1);
    second.At(4, 2, 1) = 3;
    PlaneCounts counts;
    counts.AddLayer(first, 1);
    counts.AddLayer(first, 2);
    counts.AddLayer(second, 1);
    counts.AddLayer(first, 3);
    ASSERT_EQ(counts.Planes(), 4);
    const std::vector<std::vector<std::uint64_t>> expected{{2, 0, 1, 0}, {0, 0, 0, 1}};
    for (int plane = 1; plane <= 4; ++plane) {
        EXPECT_EQ(counts.On(plane, 3), expected[0][static_cast<std::size_t>(plane - 1)]) << plane;
        EXPECT_EQ(counts.On(plane, 7), expected[1][static_cast<std::size_t>(plane - 1)]) << plane;
        EXPECT_EQ(counts.On(plane, 0), 0u) << "air is not counted";
    }
    EXPECT_EQ(counts.Whole().Of(3), 3u);
    EXPECT_EQ(counts.Whole().Of(7), 1u);
}

// The save requester for CSV: ".csv" appended, the table written; cancelled, nothing is;
// an existing file is replaced only when the user says yes.
TEST(LayerTable, SavesThroughACsvRequester) {
    FilesTestEditor test(3, 1, 2);
    FillSelector(test.editor, {1, 2});
    test.editor.grid.At(1, 1, 1) = 1;
    test.editor.grid.At(2, 1, 2) = 1;
    test.editor.grid.At(3, 1, 2) = 2;
    const std::string header = "Block,Block state,Layer 1,Layer 2,Total\n";
    const std::string table = header + "block 1,minecraft:stone,1,1,2\nblock 2,minecraft:grass_block,0,1,1\n";

    test.dialogs.Choose("table", 0);
    ASSERT_TRUE(SaveLayerTable(test.editor));
    EXPECT_EQ(ReadText("table.csv"), table);
    EXPECT_EQ(test.dialogs.requests.back().title, "Save layer table");
    ASSERT_EQ(test.dialogs.requests.back().filters.size(), 1u);
    EXPECT_EQ(test.dialogs.requests.back().filters[0].second, "*.csv");

    test.dialogs.Cancel();
    EXPECT_FALSE(SaveLayerTable(test.editor));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);

    test.editor.grid.At(1, 1, 1) = 0;
    test.dialogs.answerYes = false;
    test.dialogs.Choose("table.csv", 0);
    EXPECT_FALSE(SaveLayerTable(test.editor));
    EXPECT_EQ(ReadText("table.csv"), table);
    test.dialogs.answerYes = true;
    test.dialogs.Choose("table.csv", 0);
    EXPECT_TRUE(SaveLayerTable(test.editor));
    EXPECT_EQ(ReadText("table.csv"), header + "block 1,minecraft:stone,0,1,1\nblock 2,minecraft:grass_block,0,1,1\n");
    EXPECT_TRUE(test.dialogs.errors.empty());
}

}  // namespace
}  // namespace stackmason::testing
