#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/Building.h"
#include "common/PackedBuilding.h"
#include "editor/model/BlockClip.h"
#include "editor/model/CellBox.h"
#include "editor/model/FrontPlane.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

struct Editor;

// The changes an editing operation makes to the building, worked out before any cell changes.
// Each operation computes one of these from the building and its parameters and hands it to
// ApplyEdit, the one place that writes the cells. Applying an edit yields its inverse, itself an
// edit: the history keeps the inverses, and taking a step back or forward applies them the same
// way, so that the first apply, every undo and every redo run the one apply of each kind. Edits
// over whole planes or the whole building say what is done to them rather than hold copies of
// their cells. The repaint an edit asks for follows from what it touched (RepaintFor).
namespace edit {

struct CellWrite {
    int x = 0;
    int y = 0;
    int h = 0;
    BlockCode code = 0;
    friend bool operator==(const CellWrite&, const CellWrite&) = default;
};

// One cell and a code: applying swaps the code held here with the cell's, so one record serves
// both ways. The index is the cell's place in the building's cells (Building::Index), which
// stays valid because the steps are taken back in order.
struct CellSwap {
    std::uint32_t index = 0;
    StoredCode code = 0;
};

// What an edit that changes nothing leaves behind; not kept by the history.
struct Nothing {};

// Cells swapped with the codes held, first to last, or last to first when `backwards`; the
// inverse is the same list the other way round. Every cell edit becomes one of these.
struct SwapCells {
    std::vector<CellSwap> cells;
    bool backwards = false;
    std::size_t HeldBytes() const { return cells.capacity() * sizeof(CellSwap); }
};

// Cells written one after the other; a later write of the same cell wins. In FrontView a write
// on the slice shown also goes into the working plane. Lines and brushes: the whole canvas is
// repainted.
struct SetCells {
    std::vector<CellWrite> writes;
};
// One cell, as SetCells writes it: the pen on the canvas, without taking memory per move. Only
// that cell is repainted.
struct SetCell {
    CellWrite write;
};
// The cells of column (x, y) from layer `top` down to layer `bottom` set to `code`: the downward
// runs of the pen. Only the column's cell on the plane shown is repainted.
struct SetColumn {
    int x = 0;
    int y = 0;
    int top = 0;
    int bottom = 0;
    BlockCode code = 0;
};

// The current plane as the canvas shows it, written whole: `cells` holds `rows` rows of
// `columns` codes from the top left. In TopView row r is the part x >= 1 of the building's row
// (r + 1, plane); in FrontView column c, row r is the cell (plane, c + 1, H - r), and the
// picture also becomes the working plane.
struct SetPlane {
    bool topView = true;
    int plane = 0;
    int columns = 0;
    int rows = 0;
    std::vector<BlockCode> cells;
};

// Every non-air cell of one layer (slice) written into another.
struct MergeLayer {
    int from = 0;
    int to = 0;
};
struct MergeSlice {
    int from = 0;
    int to = 0;
};
// The non-air cells of the working plane written into slice x.
struct StampWorkingPlane {
    int x = 0;
};
struct ClearLayer {
    int h = 0;
};
// Clears slice x, its ground cells included.
struct ClearSlice {
    int x = 0;
};
// A new layer directly above layer `after`; the layers above it move up. It is empty unless
// `cells` holds its cells x, y >= 1 row by row; `topEdge`, when not empty, is the index-0 row
// and column of the new top layer (what removing a layer drops).
struct InsertLayer {
    int after = 0;
    std::vector<StoredCode> cells;
    std::vector<StoredCode> topEdge;
    std::size_t HeldBytes() const { return (cells.capacity() + topEdge.capacity()) * sizeof(StoredCode); }
};
// Drops one layer; the layers above it move down.
struct RemoveLayer {
    int layer = 0;
};
// Exchanges x and y (the ground layer goes with them: clear it first); `plane`, of the new
// extents, becomes the working plane, and the old one takes its place here. It is taken when
// the edit is made, so that applying needs no memory.
struct SwapAxes {
    FrontPlane plane;
};
// Every layer turned by a quarter.
struct TurnLayers {};
// Every layer turned back by a quarter; `lost` holds the codes of the cells the turn moved off
// the layer, in the order Building::ForEachCellTurnedOut visits them (none when all air).
struct TurnLayersBack {
    std::vector<StoredCode> lost;
    std::size_t HeldBytes() const { return lost.capacity() * sizeof(StoredCode); }
};
// A clip written into the building with its corner (0, 0, 0) at cell (x, y, h); the part that
// falls outside cells 1..X, 1..Y, 1..H is left out. With `airKeeps`, an air cell of the clip
// leaves the building's cell as it is, as pasting a layer does. The inverse writes back what
// the cells held.
struct WriteBox {
    int x = 1;
    int y = 1;
    int h = 1;
    BlockClip clip;
    bool airKeeps = false;
    std::size_t HeldBytes() const { return clip.HeldBytes(); }
};
// Every cell of a box inside the building set to one code: clearing a box costs no clip.
struct FillBox {
    CellBox box;
    BlockCode code = 0;
};
// The cells of `box` (those of it in the building) that hold `from` get `to`: all of them
// when `mask` is empty, else those whose bit is set, bit i (word i / 64, bit i % 64) being
// the i-th cell of the box counted x fastest, then y, then h. The inverse takes back just the
// cells that changed, with a mask of one bit per cell of the box: a type replaced throughout
// the largest building keeps 8 MB, not a record per cell.
struct RecodeCells {
    CellBox box;
    BlockCode from = 0;
    BlockCode to = 0;
    std::vector<std::uint64_t> mask;
    std::size_t HeldBytes() const { return mask.capacity() * sizeof(std::uint64_t); }
};
// A building made off to the side takes the place of the current one, which it holds
// afterwards: in the history, this is the building another one replaced.
// Kept in the history packed, since a replaced building is mostly air and as large as the one
// in force.
struct ReplaceBuilding {
    PackedBuilding grid;
    FrontPlane frontPlane;
    std::size_t HeldBytes() const { return grid.Bytes(); }
    void Pack() noexcept { grid.Pack(); }
};
// A texture pack read off to the side takes the place of the current one: its name and the
// selector's items, which hold the block pictures. The selection stays where the new items
// allow, block 1 (or air) otherwise.
struct ReplacePack {
    std::string name;
    SelectorModel selector;
    std::size_t HeldBytes() const;
};
// A loaded building with the pack it was read with, as one change.
struct ReplaceBuildingAndPack {
    ReplaceBuilding building;
    ReplacePack pack;
    std::size_t HeldBytes() const { return building.HeldBytes() + pack.HeldBytes(); }
    void Pack() noexcept { building.Pack(); }
};

}  // namespace edit

using Edit = std::variant<edit::Nothing, edit::SwapCells, edit::SetCells, edit::SetCell, edit::SetColumn,
                          edit::SetPlane, edit::MergeLayer, edit::MergeSlice, edit::StampWorkingPlane,
                          edit::ClearLayer, edit::ClearSlice, edit::InsertLayer, edit::RemoveLayer, edit::SwapAxes,
                          edit::TurnLayers, edit::TurnLayersBack, edit::WriteBox, edit::FillBox, edit::RecodeCells,
                          edit::ReplaceBuilding, edit::ReplacePack, edit::ReplaceBuildingAndPack>;

// Applies the edit to the editor's building (and working plane), records its inverse in the
// editor's history and asks for the repaint of what it touched. Any memory the edit and its
// record need is taken before the first cell changes, so that a failure leaves the building
// and the history as they were; the running action is marked as having changed the editor from
// that change on. An edit that changes nothing records nothing.
void ApplyEdit(Editor& editor, Edit edit);

// Applies the edit as ApplyEdit does, without the history: `inverse` receives what takes it
// back, once the editor has changed (edit::Nothing when nothing changed). The history's undo
// and redo run the inverses through this.
void ApplyAndInvert(Editor& editor, Edit&& edit, Edit& inverse);

// The memory an edit holds, as the history counts it.
std::size_t HeldBytes(const Edit& edit);
// Puts what an edit holds into the form the history keeps it in (a replaced building packed).
// Cannot fail: what cannot be packed stays as it is.
void PackForKeeping(Edit& edit) noexcept;

}  // namespace stackmason
