#pragma once

#include <string>
#include <variant>
#include <vector>

#include "common/Building.h"
#include "editor/model/FrontPlane.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

struct Editor;

// The changes an editing operation makes to the building, worked out before any cell changes.
// Each operation computes one of these from the building and its parameters, hands it to
// ApplyEdit, then asks the canvas for its repaint. ApplyEdit is the one place that writes the
// cells, so that it can also keep what they held. Edits over whole planes or the whole building
// say what is done to them rather than hold copies of their cells.
namespace edit {

struct CellWrite {
    int x = 0;
    int y = 0;
    int h = 0;
    BlockCode code = 0;
    friend bool operator==(const CellWrite&, const CellWrite&) = default;
};

// Cells written one after the other; a later write of the same cell wins. In FrontView a write
// on the slice shown also goes into the working plane.
struct SetCells {
    std::vector<CellWrite> writes;
};
// One cell, as SetCells writes it: the pen on the canvas, without taking memory per move.
struct SetCell {
    CellWrite write;
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
// A new empty layer directly above layer `after`; the layers above it move up.
struct InsertLayer {
    int after = 0;
};
// Drops one layer; the layers above it move down.
struct RemoveLayer {
    int layer = 0;
};
// Exchanges x and y, the ground layer cleared; `plane`, empty and of the new extents, becomes
// the working plane. It is taken when the edit is made, so that applying needs no memory.
struct SwapAxes {
    FrontPlane plane;
};
// Every layer turned by a quarter.
struct TurnLayers {};
// A building made off to the side takes the place of the current one.
struct ReplaceBuilding {
    Building grid;
    FrontPlane frontPlane;
};
// A texture pack read off to the side takes the place of the current one: its name and the
// selector's items, which hold the block pictures. Nothing is selected afterwards.
struct ReplacePack {
    std::string name;
    SelectorModel selector;
};

}  // namespace edit

using Edit = std::variant<edit::SetCells, edit::SetCell, edit::SetPlane, edit::MergeLayer, edit::MergeSlice,
                          edit::StampWorkingPlane, edit::ClearLayer, edit::ClearSlice, edit::InsertLayer,
                          edit::RemoveLayer, edit::SwapAxes, edit::TurnLayers, edit::ReplaceBuilding,
                          edit::ReplacePack>;

// Applies the edit to the editor's building (and working plane) and records in the editor's
// history what it takes to undo and redo it. Any memory the edit and its record need is taken
// before the first cell changes, so that a failure leaves the building and the history as they
// were; the running action is marked as having changed the editor from that change on. Never
// repaints.
void ApplyEdit(Editor& editor, Edit edit);

}  // namespace stackmason
