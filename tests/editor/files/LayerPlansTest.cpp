#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "editor/files/LayerPlans.h"
#include "editor/model/Views.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

// An editor with a building of these sizes, all air, and a selector of air and six blocks.
struct PlanFixture {
    PlanFixture(int width, int length, int height) {
        Editor& e = fixture.editor;
        e.selector.Add("Air", Image(32, 32));
        for (int code = 1; code <= 6; ++code)
            e.selector.Add("block " + std::to_string(code), Image(32, 32));
        e.grid = Building(width, length, height);
    }
    testing::EditorFixture fixture;
    Editor& editor = fixture.editor;
};

// Every plane's count of each code, counted here cell by cell: plane -> code -> count.
using PlaneCounts = std::map<int, std::map<BlockCode, std::uint64_t>>;

PlaneCounts CountEachPlane(const Building& grid, bool topView) {
    PlaneCounts counts;
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x)
                if (const BlockCode code = grid.At(x, y, h); code != 0)
                    ++counts[topView ? h : x][code];
    return counts;
}

TEST(LayerPlans, OnePagePerPlaneThatHoldsABlockInOrder) {
    PlanFixture f(7, 5, 6);
    f.editor.grid.At(2, 2, 1) = 1;
    f.editor.grid.At(7, 5, 3) = 2;
    f.editor.grid.At(1, 1, 6) = 3;
    const LayerPlan top = MakeLayerPlan(f.editor, "house.txt");
    std::vector<std::string> titles;
    for (const PlanPage& page : top.pages)
        titles.push_back(page.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Layer 1", "Layer 3", "Layer 6"}));
    EXPECT_EQ(top.buildingName, "house.txt");
    EXPECT_EQ(top.pages[1].cells, (PlaneRect{1, 1, 7, 5}));

    ShowFrontView(f.editor);
    const LayerPlan front = MakeLayerPlan(f.editor, "");
    titles.clear();
    for (const PlanPage& page : front.pages)
        titles.push_back(page.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Slice 1", "Slice 2", "Slice 7"}));
    EXPECT_EQ(front.buildingName, "untitled");
    EXPECT_EQ(front.pages[0].cells, (PlaneRect{1, 1, 5, 6}));

    f.editor.grid = Building(3, 3, 3);
    EXPECT_TRUE(MakeLayerPlan(f.editor, "empty").pages.empty());
}

// Each page lists exactly the blocks on its part of the plane, with their count on the plane,
// as the material list of that plane gives it, and their count from plane 1 up to it.
TEST(LayerPlans, LegendsCountWhatThePlanesAndTheMaterialListsCount) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        const bool topView = seed % 2 == 0;
        PlanFixture f(1 + static_cast<int>(random() % 70), 1 + static_cast<int>(random() % 70),
                      1 + static_cast<int>(random() % 6));
        Building& grid = f.editor.grid;
        for (int h = 1; h <= grid.Height(); ++h) {
            if (random() % 3 == 0)
                continue;  // an empty plane now and then
            for (int y = 1; y <= grid.Length(); ++y)
                for (int x = 1; x <= grid.Width(); ++x)
                    if (random() % 4 == 0)
                        grid.At(x, y, h) = 1 + static_cast<int>(random() % 6);
        }
        if (!topView)
            ShowFrontView(f.editor);
        const PlaneCounts counts = CountEachPlane(grid, topView);
        const LayerPlan plan = MakeLayerPlan(f.editor, "b", PlanSettings{PaperSize::A4, 6.0, 10.0, 2});
        std::set<int> planesSeen;
        for (const PlanPage& page : plan.pages) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " " + page.title);
            ASSERT_TRUE(counts.contains(page.plane));
            planesSeen.insert(page.plane);
            std::set<BlockCode> onPage;
            for (int row = page.cells.row; row < page.cells.row + page.cells.rows; ++row)
                for (int column = page.cells.column; column < page.cells.column + page.cells.columns; ++column) {
                    const BlockCode code = topView ? grid.At(column, row, page.plane)
                                                   : grid.At(page.plane, column, grid.Height() + 1 - row);
                    if (code != 0)
                        onPage.insert(code);
                }
            std::set<BlockCode> listed;
            f.editor.layerSpin.SetValue(page.plane);
            const MaterialList planeList = CountMaterials(f.editor, MaterialScope::CurrentPlane);
            for (const PlanLegendRow& row : page.legend) {
                listed.insert(row.code);
                EXPECT_EQ(*row.name, "block " + std::to_string(row.code));
                EXPECT_EQ(row.onPlane, counts.at(page.plane).at(row.code));
                std::uint64_t upTo = 0;
                for (const auto& [plane, planeCounts] : counts)
                    if (plane <= page.plane && planeCounts.contains(row.code))
                        upTo += planeCounts.at(row.code);
                EXPECT_EQ(row.upToPlane, upTo);
                bool inList = false;
                for (const MaterialRow& material : planeList.rows)
                    if (material.code == row.code) {
                        inList = true;
                        EXPECT_EQ(material.count, row.onPlane);
                    }
                EXPECT_TRUE(inList);
            }
            EXPECT_EQ(listed, onPage);
            for (std::size_t i = 1; i < page.legend.size(); ++i)
                EXPECT_GE(page.legend[i - 1].onPlane, page.legend[i].onPlane);
        }
        std::set<int> planesWithBlocks;
        for (const auto& entry : counts)
            planesWithBlocks.insert(entry.first);
        EXPECT_EQ(planesSeen, planesWithBlocks) << "seed " << seed;
    }
}

// Tiles cover the plane, stay on it, repeat `overlap` cells of their neighbours and fit a page.
TEST(LayerPlans, TilesCoverTheLargestLayerWithTheirOverlap) {
    const std::vector<PlaneRect> tiles = SplitIntoTiles(512, 512, 60, 40, 2);
    std::vector<int> covered(512 * 512);
    std::set<int> columnStarts, rowStarts;
    for (const PlaneRect& tile : tiles) {
        EXPECT_GE(tile.column, 1);
        EXPECT_GE(tile.row, 1);
        EXPECT_LE(tile.column + tile.columns - 1, 512);
        EXPECT_LE(tile.row + tile.rows - 1, 512);
        EXPECT_LE(tile.columns, 60);
        EXPECT_LE(tile.rows, 40);
        columnStarts.insert(tile.column);
        rowStarts.insert(tile.row);
        for (int r = tile.row; r < tile.row + tile.rows; ++r)
            for (int c = tile.column; c < tile.column + tile.columns; ++c)
                ++covered[static_cast<std::size_t>((r - 1) * 512 + (c - 1))];
    }
    for (int count : covered)
        ASSERT_GE(count, 1);
    // Each tile after the first brings 58 new columns (38 new rows): 9 across, 14 down.
    EXPECT_EQ(columnStarts.size(), 9u);
    EXPECT_EQ(rowStarts.size(), 14u);
    EXPECT_EQ(tiles.size(), 9u * 14u);
    EXPECT_EQ(*std::next(columnStarts.begin()), 59);
    EXPECT_EQ(tiles.front(), (PlaneRect{1, 1, 60, 40}));
    EXPECT_EQ(tiles.back(), (PlaneRect{465, 495, 48, 18}));

    PlanFixture f(512, 512, 1);
    for (int y = 1; y <= 512; ++y)
        f.editor.grid.At(1 + (y * 7) % 512, y, 1) = 1 + y % 6;
    const LayerPlan plan = MakeLayerPlan(f.editor, "big");
    ASSERT_GT(plan.pages.size(), 1u);
    for (const PlanPage& page : plan.pages) {
        const PlanPageLayout layout = PageLayout(PaperSize::A4, page.landscape);
        EXPECT_GE(page.cellMm, plan.settings.smallestCellMm);
        EXPECT_LE(page.cells.columns * page.cellMm, layout.grid.width + 1e-6);
        EXPECT_LE(page.cells.rows * page.cellMm, layout.grid.height + 1e-6);
        EXPECT_LT(page.tileColumn, page.tileColumns);
        EXPECT_LT(page.tileRow, page.tileRows);
    }
}

// A plane that fits one page gets one page, at the largest cell size the page allows up to
// the settings' largest.
TEST(LayerPlans, ASmallPlaneFitsOnePageWithCellsAsLargeAsAllowed) {
    PlanFixture f(10, 8, 1);
    f.editor.grid.At(5, 5, 1) = 2;
    const LayerPlan plan = MakeLayerPlan(f.editor, "small");
    ASSERT_EQ(plan.pages.size(), 1u);
    EXPECT_EQ(plan.pages[0].tileColumns * plan.pages[0].tileRows, 1);
    EXPECT_DOUBLE_EQ(plan.pages[0].cellMm, plan.settings.largestCellMm);
    EXPECT_EQ(plan.pages[0].legend.size(), 1u);
    EXPECT_EQ(plan.materials.total, 1u);

    const PlanPageLayout portrait = PageLayout(PaperSize::A4, false);
    EXPECT_DOUBLE_EQ(portrait.pageWidth, 210);
    EXPECT_DOUBLE_EQ(portrait.pageHeight, 297);
    const PlanPageLayout letter = PageLayout(PaperSize::Letter, true);
    EXPECT_DOUBLE_EQ(letter.pageWidth, 279.4);
    for (const PlanPageLayout& layout : {portrait, letter}) {
        EXPECT_LE(layout.grid.x + layout.grid.width, layout.pageWidth);
        EXPECT_LE(layout.grid.y + layout.grid.height, layout.legend.y + layout.legend.height);
        EXPECT_GT(layout.grid.width, 100);
        EXPECT_GT(layout.grid.height, 100);
    }
}

}  // namespace
}  // namespace stackmason
