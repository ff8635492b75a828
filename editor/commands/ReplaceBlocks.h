#pragma once

#include "editor/model/CellBox.h"
#include "editor/model/Editor.h"
#include "editor/model/MaterialScope.h"

namespace stackmason {

// Every cell of `scope` (the part of it inside the building) that holds `from` gets `to`, as
// one step. Replacing a type by itself changes nothing; replacing it by air deletes it.
void ReplaceBlocks(Editor& editor, BlockCode from, BlockCode to, const CellBox& scope);

// The cells a replace from the material list works on: the selected box when there is one,
// else those its list of that scope counts, so that a replace takes away what a row counted.
CellBox ReplaceScope(const Editor& editor, MaterialScope scope);

}  // namespace stackmason
