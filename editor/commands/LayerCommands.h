#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// Commands on the current plane: in TopView the layer h = current layer, in FrontView the
// slice x = current layer. Every command that changes cells ends with a full repaint.

// Remembers the current plane's number; its content is read only when pasting.
void CopyLayer(Editor& editor);

// Writes every non-air cell of the remembered plane into the current plane. Does nothing
// before the first copy or when the remembered plane no longer exists in the current view.
void PasteLayer(Editor& editor);

// TopView only: a new empty layer directly above the current one, which becomes current.
// Stops at the tallest building the size field allows.
void InsertLayer(Editor& editor);

// TopView only: drops the current layer, the layers above it move down. The last layer of a
// building is never removed.
void RemoveLayer(Editor& editor);

// Merges the current plane into the next one and makes that current. In FrontView the plane
// stamped is the working plane, so repeating the command extrudes one drawing into depth.
void DuplicateLayer(Editor& editor);

// Empties the current plane, in FrontView the slice's ground cells included.
void ClearLayer(Editor& editor);

}  // namespace stackmason
