#pragma once

#include <optional>

#include "editor/model/CellBox.h"
#include "editor/model/Editor.h"

namespace stackmason {

// The building's cells x 1..X, y 1..Y, h 1..H.
CellBox WholeBuilding(const Building& grid);

// The box the builder selected as it stands now; none without a selection, or when the box no
// longer lies inside the building (after New, Load, or a change of sizes).
std::optional<CellBox> SelectedBox(const Editor& editor);

// Starts a box on the plane shown at one corner of its rectangle, (a, b) in the plane's
// coordinates: (x, y) in TopView, (y, h) in FrontView. It stays open: its far plane follows
// the plane shown until it is closed.
void StartBox(Editor& editor, int a, int b);
// Moves the rectangle's other corner.
void StretchBox(Editor& editor, int a, int b);
// Fixes the far plane of an open box where it is now.
void CloseBox(Editor& editor);

}  // namespace stackmason
