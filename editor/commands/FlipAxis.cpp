#include "editor/commands/FlipAxis.h"

#include <utility>

#include "editor/model/Edit.h"
#include "editor/model/History.h"
#include "editor/model/Views.h"

namespace stackmason {

void FlipAxis(Editor& editor) {
    const StepScope step(editor);
    const int width = editor.grid.Length();
    const int length = editor.grid.Width();
    const int height = editor.grid.Height();
    // All memory is taken before anything changes, the switch to TopView included; without
    // it nothing changes.
    edit::SwapAxes swap{FrontPlane(length, height)};
    // The ground does not go with the building; clearing it is the last thing that can fail.
    ApplyEdit(editor, edit::ClearLayer{0});
    if (!editor.InTopView())
        ShowTopView(editor);
    ApplyEdit(editor, std::move(swap));

    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    editor.layerSpin.SetRange(1, height);
    // Lays the canvas out for the new sizes and repaints.
    ShowReplacedBuilding(editor);
}

}  // namespace stackmason
