#include "editor/commands/RotateLayers.h"

#include "editor/model/Edit.h"
#include "editor/model/History.h"

namespace stackmason {

// The layers are turned cell by cell rather than through a picture coloured by block code:
// a picture's colours cover only the first codes, and every code must come out as it went in.
void RotateLayers(Editor& editor) {
    if (!editor.InTopView())
        return;
    const StepScope step(editor);
    // The work buffer is taken before any cell moves; without it nothing changes.
    ApplyEdit(editor, edit::TurnLayers{});
}

}  // namespace stackmason
