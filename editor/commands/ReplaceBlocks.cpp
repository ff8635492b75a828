#include "editor/commands/ReplaceBlocks.h"

#include "editor/model/Edit.h"
#include "editor/model/History.h"
#include "editor/model/Selection.h"

namespace stackmason {

void ReplaceBlocks(Editor& editor, BlockCode from, BlockCode to, const CellBox& scope) {
    if (from == to || scope.Empty())
        return;
    const StepScope step(editor);
    ApplyEdit(editor, edit::RecodeCells{scope, from, to, {}});
}

CellBox ReplaceScope(const Editor& editor, MaterialScope scope) {
    return SelectedBox(editor).value_or(ScopeCells(editor, scope));
}

}  // namespace stackmason
