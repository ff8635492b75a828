#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// A building made off to the side: the grid and the working plane, all air, of one size.
// Nothing of the editor changes until it is put in place, so that an action which cannot
// finish preparing it leaves the editor as it was.
struct StagedBuilding {
    Building grid;
    FrontPlane frontPlane;
};

// Allocates an empty building of these sizes; throws std::bad_alloc when the memory cannot
// be had.
StagedBuilding StageBuilding(int width, int length, int height);

// Makes the staged building the editor's, its sizes included; the history keeps the one it
// replaces. Only moves once the history has room for the step (History::Prepare); without that
// room it throws before anything changes.
void PutBuildingInPlace(Editor& editor, StagedBuilding&& building);

// Replaces the building with an empty one of the size shown in the size fields and shows it
// in TopView on layer 1; one step of the history, which keeps the old building. When the grid
// cannot be allocated it throws before anything changes: the old building, its sizes and the
// size fields stay.
void NewBuilding(Editor& editor);

// Shows the building just put in place as New does: empty, in TopView on layer 1, with
// block 1 selected and the size fields showing its sizes.
void ShowEmptyBuilding(Editor& editor);

// Selects block 1 in the selector, or "Air" when the pack has no block.
void SelectFirstBlock(Editor& editor);

// Copies the slice x = current layer into the working plane, first giving the plane the
// extents of the current sizes if it has other ones.
void RefreshFrontPlane(Editor& editor);

// Gives the working plane the extents of the current sizes, unless it has them already;
// throws std::bad_alloc, with the plane as it was, when the memory cannot be had.
void FitFrontPlane(Editor& editor);

// An empty building of the given sizes made the editor's at once (StageBuilding, then
// PutBuildingInPlace); throws, changing nothing, when the memory cannot be had.
void AllocateBuilding(Editor& editor, int width, int length, int height);

}  // namespace stackmason
