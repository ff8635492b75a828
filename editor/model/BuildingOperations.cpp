#include "editor/model/BuildingOperations.h"

#include <algorithm>
#include <string>
#include <utility>

#include "editor/model/Edit.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"

namespace stackmason {

StagedBuilding StageBuilding(int width, int length, int height) {
    return StagedBuilding{Building(width, length, height), FrontPlane(length, height)};
}

void PutBuildingInPlace(Editor& editor, StagedBuilding&& building) noexcept {
    // Replacing the building only moves: it cannot fail.
    ApplyEdit(editor, edit::ReplaceBuilding{std::move(building.grid), std::move(building.frontPlane)});
}

void AllocateBuilding(Editor& editor, int width, int length, int height) {
    PutBuildingInPlace(editor, StageBuilding(width, length, height));
}

void NewBuilding(Editor& editor) {
    const int width = editor.widthSpin.Value();
    const int length = editor.lengthSpin.Value();
    const int height = editor.heightSpin.Value();
    NameRunningAction(editor, "make a new building of " + std::to_string(width) + " x " + std::to_string(length) +
                                  " x " + std::to_string(height) + " cells");
    if (editor.grid.Width() == width && editor.grid.Length() == length && editor.grid.Height() == height) {
        // The cells of the same sizes are cleared where they lie: no new memory, and the
        // clear is the only one they get. What can fail comes first.
        FrontPlane frontPlane(length, height);
        MarkEditorChanged(editor);
        editor.grid.Clear();
        editor.frontPlane = std::move(frontPlane);
    } else {
        // Taken before the old building goes, so that a New that fails keeps it.
        StagedBuilding building = StageBuilding(width, length, height);
        MarkEditorChanged(editor);
        PutBuildingInPlace(editor, std::move(building));
    }
    ShowEmptyBuilding(editor);
}

void ShowEmptyBuilding(Editor& editor) {
    editor.viewMode = ViewMode::TopView;
    editor.topViewLayer = 0;
    editor.frontViewLayer = 1;
    editor.viewToggleLabel = "FrontView";
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(1);
    SelectFirstBlock(editor);
    editor.widthSpin.SetValue(editor.grid.Width());
    editor.lengthSpin.SetValue(editor.grid.Length());
    editor.heightSpin.SetValue(editor.grid.Height());
    ApplyCanvasLayout(editor);
    editor.painter.PaintEmptyTopView();
}

void SelectFirstBlock(Editor& editor) { editor.selector.Select(editor.selector.Count() > 1 ? 1 : 0); }

void FitFrontPlane(Editor& editor) {
    if (!editor.frontPlane.HasExtents(editor.grid.Length(), editor.grid.Height()))
        editor.frontPlane = FrontPlane(editor.grid.Length(), editor.grid.Height());
}

void RefreshFrontPlane(Editor& editor) {
    FitFrontPlane(editor);
    const int length = editor.grid.Length();
    const int height = editor.grid.Height();
    const int x = std::clamp(editor.CurrentLayer(), 0, editor.grid.Width());
    for (int p = 1; p <= height; ++p)
        for (int y = 1; y <= length; ++y)
            editor.frontPlane.At(y, p) = editor.grid.Cell(x, y, height - p + 1);
}

}  // namespace stackmason
