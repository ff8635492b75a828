#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <random>
#include <vector>

#include "CommandTestEditor.h"
#include "editor/commands/ReplaceBlocks.h"
#include "editor/files/MaterialList.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Edit.h"
#include "editor/model/History.h"
#include "editor/model/Views.h"
#include "tests/editor/support/AllocationFaults.h"

namespace stackmason {
namespace {

using testing::AllocationLimit;
using testing::CommandTestEditor;
using testing::RunShown;
using testing::SameCells;
using testing::WorkingCells;

// Slice x as FrontView pictures it, in the working plane's order: picture row p shows layer
// H + 1 - p.
std::vector<BlockCode> SlicePicture(const Building& grid, int x) {
    std::vector<BlockCode> cells;
    for (int p = 1; p <= grid.Height(); ++p)
        for (int y = 1; y <= grid.Length(); ++y)
            cells.push_back(grid.At(x, y, grid.Height() + 1 - p));
    return cells;
}

// How many cells the material list of that scope counts for the code.
std::uint64_t Counted(const Editor& editor, MaterialScope scope, BlockCode code) {
    for (const MaterialRow& row : CountMaterials(editor, scope).rows)
        if (row.code == code)
            return row.count;
    return 0;
}

// Where a replace may act, worked out cell by cell without the code's boxes: a cell of the
// building proper (never the ground or an index-0 plane), and of the plane shown or the box.
struct ScopeOracle {
    enum Kind { kBuilding, kPlane, kBox } kind = kBuilding;
    bool topView = true;
    int plane = 1;
    CellBox box;

    bool Holds(const Building& grid, int x, int y, int h) const {
        if (x < 1 || y < 1 || h < 1 || x > grid.Width() || y > grid.Length() || h > grid.Height())
            return false;
        if (kind == kPlane)
            return topView ? h == plane : x == plane;
        if (kind == kBox)
            return x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1 && h >= box.h0 && h <= box.h1;
        return true;
    }
};

int Draw(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

// Every cell, the ground and the index-0 planes included, a random code of 0..4, air the most.
void FillRandomly(Building& grid, std::mt19937& random) {
    for (int h = 0; h <= grid.Height(); ++h)
        for (int y = 0; y <= grid.Length(); ++y)
            for (int x = 0; x <= grid.Width(); ++x)
                grid.At(x, y, h) = std::max(0, Draw(random, -3, 4));
}

// Over random buildings, views, planes, scopes and codes: the cells of that type inside the
// scope, and no other, take the new code, which are exactly those the list of that scope
// counted; undo gives every cell back and redo the replaced building again. In FrontView the
// working plane keeps showing the slice through all three.
TEST(ReplaceBlocks, ChangesExactlyTheCellsOfTheTypeInTheScopeAndUndoesAsOneStep) {
    int replacesThatChanged = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        CommandTestEditor t(Draw(random, 1, 9), Draw(random, 1, 9), Draw(random, 1, 7));
        Editor& e = t.editor;
        FillRandomly(e.grid, random);
        ScopeOracle oracle;
        oracle.topView = Draw(random, 0, 1) == 0;
        if (!oracle.topView)
            ShowFrontView(e);
        oracle.plane = Draw(random, 1, oracle.topView ? e.grid.Height() : e.grid.Width());
        e.layerSpin.SetValue(oracle.plane);
        if (!oracle.topView)
            RefreshFrontPlane(e);
        oracle.kind = static_cast<ScopeOracle::Kind>(Draw(random, 0, 2));
        const MaterialScope listed = oracle.kind == ScopeOracle::kPlane ? MaterialScope::CurrentPlane
                                                                        : MaterialScope::Building;
        CellBox scope = ReplaceScope(e, listed);
        if (oracle.kind == ScopeOracle::kBox) {
            // Boxes reach past every edge of the building, as a box outliving a smaller one may.
            scope = CellBox::Spanning(Draw(random, -1, e.grid.Width() + 1), Draw(random, -1, e.grid.Length() + 1),
                                      Draw(random, -1, e.grid.Height() + 1), Draw(random, -1, e.grid.Width() + 1),
                                      Draw(random, -1, e.grid.Length() + 1), Draw(random, -1, e.grid.Height() + 1));
            oracle.box = scope;
        }
        const BlockCode from = Draw(random, 0, 4);
        const BlockCode to = Draw(random, 0, 5);

        const Building before = e.grid;
        Building expected = e.grid;
        std::uint64_t changes = 0;
        for (int h = 0; h <= before.Height(); ++h)
            for (int y = 0; y <= before.Length(); ++y)
                for (int x = 0; x <= before.Width(); ++x)
                    if (oracle.Holds(before, x, y, h) && before.At(x, y, h) == from && from != to) {
                        expected.At(x, y, h) = to;
                        ++changes;
                    }
        if (oracle.kind != ScopeOracle::kBox && from != 0 && from != to) {
            EXPECT_EQ(Counted(e, listed, from), changes) << "the row counted other cells than a replace changes";
        }
        const std::size_t steps = e.history.UndoCount();

        RunShown(e, [&](Editor& editor) { ReplaceBlocks(editor, from, to, scope); });
        ASSERT_TRUE(SameCells(e.grid, expected));
        if (changes == 0) {
            EXPECT_EQ(e.history.UndoCount(), steps) << "a replace that changed nothing is no step";
            continue;
        }
        ++replacesThatChanged;
        EXPECT_EQ(t.painter.redraws, 1);
        EXPECT_EQ(e.history.UndoCount(), steps + 1);
        if (oracle.kind != ScopeOracle::kBox && from != 0) {
            EXPECT_EQ(Counted(e, listed, from), 0u) << "the row's type is left in its scope";
        }
        const auto expectPlaneShowsSlice = [&](const char* when) {
            if (!oracle.topView) {
                EXPECT_EQ(WorkingCells(e.frontPlane), SlicePicture(e.grid, oracle.plane)) << when;
            }
        };
        expectPlaneShowsSlice("after the replace");

        ASSERT_TRUE(e.history.Undo(e));
        ASSERT_TRUE(SameCells(e.grid, before)) << "undo";
        EXPECT_EQ(e.InTopView(), oracle.topView);
        EXPECT_EQ(e.CurrentLayer(), oracle.plane);
        expectPlaneShowsSlice("after the undo");

        ASSERT_TRUE(e.history.Redo(e));
        ASSERT_TRUE(SameCells(e.grid, expected)) << "redo";
        expectPlaneShowsSlice("after the redo");
        ASSERT_TRUE(e.history.Undo(e));
        ASSERT_TRUE(SameCells(e.grid, before)) << "a second undo";
    }
    EXPECT_GT(replacesThatChanged, 100) << "too few draws changed a cell to tell anything";
}

// The recorded form: a mask over a box that reaches past the building counts the box's cells
// x fastest, then y, then h, and changes only cells of the building holding `from`.
TEST(ReplaceBlocks, AMaskPicksCellsOfItsBoxInsideTheBuilding) {
    CommandTestEditor t(3, 2, 2);
    Editor& e = t.editor;
    for (int h = 0; h <= 2; ++h)
        for (int y = 0; y <= 2; ++y)
            for (int x = 0; x <= 3; ++x)
                e.grid.At(x, y, h) = 4;
    e.grid.At(2, 2, 1) = 3;
    const CellBox box{0, 0, 0, 4, 2, 2};  // 5 x 3 x 3 cells, from the index-0 planes on
    const auto bit = [&](int x, int y, int h) { return static_cast<std::size_t>((h * 3 + y) * 5 + x); };
    std::vector<std::uint64_t> mask(1, 0);
    for (const std::size_t chosen : {bit(1, 1, 1), bit(3, 2, 2), bit(2, 2, 1), bit(0, 1, 1), bit(2, 0, 2)})
        mask[0] |= std::uint64_t{1} << chosen;
    Building expected = e.grid;
    expected.At(1, 1, 1) = 5;
    expected.At(3, 2, 2) = 5;  // (2, 2, 1) holds 3, (0, 1, 1) and (2, 0, 2) lie outside the building

    ApplyEdit(e, edit::RecodeCells{box, 4, 5, mask});
    EXPECT_TRUE(SameCells(e.grid, expected));
    ASSERT_TRUE(e.history.Undo(e));
    expected.At(1, 1, 1) = 4;
    expected.At(3, 2, 2) = 4;
    EXPECT_TRUE(SameCells(e.grid, expected));

    const std::vector<std::uint64_t> shortMask{~std::uint64_t{0}};  // 64 bits for 729 cells
    EXPECT_THROW(ApplyEdit(e, edit::RecodeCells{{1, 1, 1, 9, 9, 9}, 4, 5, shortMask}), std::invalid_argument);
    EXPECT_THROW(ApplyEdit(e, edit::RecodeCells{box, 4, 70000, {}}), std::out_of_range);
    EXPECT_TRUE(SameCells(e.grid, expected)) << "a refused edit changes nothing";
}

// A block type replaced throughout the largest building is recorded with a bit per cell, not
// a record per cell: the history stays near 8 MB, and undo and redo still hold every cell.
TEST(ReplaceBlocks, TheLargestBuildingReplacedWholeKeepsAHistoryOfABitPerCell) {
    CommandTestEditor t(512, 512, 256);
    Editor& e = t.editor;
    Building& g = e.grid;
    const auto fillAll = [&](StoredCode code) {
        for (int h = 1; h <= g.Height(); ++h)
            for (int y = 1; y <= g.Length(); ++y)
                std::fill_n(g.Row(y, h) + 1, g.Width(), code);
    };
    const auto cellsHolding = [&](StoredCode code) {
        std::size_t count = 0;
        for (int h = 1; h <= g.Height(); ++h)
            for (int y = 1; y <= g.Length(); ++y)
                count += static_cast<std::size_t>(std::count(g.Row(y, h) + 1, g.Row(y, h) + 1 + g.Width(), code));
        return count;
    };
    constexpr std::size_t kCells = std::size_t{512} * 512 * 256;
    fillAll(1);
    e.history.Clear();

    ReplaceBlocks(e, 1, 2, ReplaceScope(e, MaterialScope::Building));
    EXPECT_EQ(cellsHolding(2), kCells);
    EXPECT_LE(e.history.Bytes(), std::size_t{10} << 20);
    ASSERT_EQ(e.history.UndoCount(), 1u);

    ASSERT_TRUE(e.history.Undo(e));
    EXPECT_EQ(cellsHolding(1), kCells);
    ASSERT_TRUE(e.history.Redo(e));
    EXPECT_EQ(cellsHolding(2), kCells);
    EXPECT_LE(e.history.Bytes(), std::size_t{10} << 20);
}

// FrontView, the current slice: the working plane shows the replaced slice at once and after
// undo and redo, while a replace elsewhere in the building leaves the plane as it was (here a
// plane from an earlier slice, still to be stamped with Ctrl+D).
TEST(ReplaceBlocks, FrontViewSliceKeepsTheWorkingPlaneOnTheSlice) {
    CommandTestEditor t(5, 4, 3);
    Editor& e = t.editor;
    e.grid.At(2, 1, 1) = 3;
    e.grid.At(2, 4, 3) = 3;
    e.grid.At(2, 2, 2) = 1;
    e.grid.At(3, 1, 1) = 3;  // another slice: stays
    ShowFrontView(e);
    e.layerSpin.SetValue(2);
    RefreshFrontPlane(e);

    ReplaceBlocks(e, 3, 4, ReplaceScope(e, MaterialScope::CurrentPlane));
    EXPECT_EQ(e.grid.At(2, 1, 1), 4);
    EXPECT_EQ(e.grid.At(2, 4, 3), 4);
    EXPECT_EQ(e.grid.At(3, 1, 1), 3);
    EXPECT_EQ(WorkingCells(e.frontPlane), SlicePicture(e.grid, 2));
    ASSERT_TRUE(e.history.Undo(e));
    EXPECT_EQ(e.grid.At(2, 1, 1), 3);
    EXPECT_EQ(WorkingCells(e.frontPlane), SlicePicture(e.grid, 2));
    ASSERT_TRUE(e.history.Redo(e));
    EXPECT_EQ(WorkingCells(e.frontPlane), SlicePicture(e.grid, 2));

    e.layerSpin.SetValue(1);  // a wheel step: the plane still holds slice 2
    const std::vector<BlockCode> stale = WorkingCells(e.frontPlane);
    ReplaceBlocks(e, 3, 5, ReplaceScope(e, MaterialScope::Building));
    EXPECT_EQ(e.grid.At(3, 1, 1), 5);
    EXPECT_EQ(WorkingCells(e.frontPlane), stale) << "slice 1 holds no 3";
}

// Without the memory for its record the replace fails before any cell changes, and leaves no
// step behind.
TEST(ReplaceBlocks, WithoutMemoryForItsRecordChangesNothing) {
    CommandTestEditor t(200, 200, 4);
    Editor& e = t.editor;
    for (int x = 1; x <= 200; ++x)
        e.grid.At(x, x, 2) = 1;
    const Building before = e.grid;
    const std::size_t steps = e.history.UndoCount();
    {
        AllocationLimit limit(4096);  // the record is 20 KB
        EXPECT_THROW(ReplaceBlocks(e, 1, 2, ReplaceScope(e, MaterialScope::Building)), std::bad_alloc);
    }
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(e.history.UndoCount(), steps);
}

}  // namespace
}  // namespace stackmason
