#include "editor/model/BuildingOperations.h"

#include <algorithm>
#include <string>
#include <utility>

#include "editor/model/Edit.h"
#include "editor/model/Repaint.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"

namespace stackmason {

StagedBuilding StageBuilding(int width, int length, int height) {
    return StagedBuilding{Building(width, length, height), FrontPlane(length, height)};
}

void PutBuildingInPlace(Editor& editor, StagedBuilding&& building) {
    ApplyEdit(editor, edit::ReplaceBuilding{PackedBuilding(std::move(building.grid)), std::move(building.frontPlane)});
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
    const StepScope step(editor);
    // Taken before the old building goes, so that a New that fails keeps it; the old one goes
    // to the history, which is the remedy for a New that asks nothing.
    StagedBuilding building = StageBuilding(width, length, height);
    PutBuildingInPlace(editor, std::move(building));
    ShowEmptyBuilding(editor);
}

void ShowEmptyBuilding(Editor& editor) {
    editor.viewMode = ViewMode::TopView;
    editor.topViewLayer = 0;
    editor.frontViewLayer = 1;
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(1);
    SelectFirstBlock(editor);
    editor.widthSpin.SetValue(editor.grid.Width());
    editor.lengthSpin.SetValue(editor.grid.Length());
    editor.heightSpin.SetValue(editor.grid.Height());
    ApplyCanvasLayout(editor);
    RequestRepaint(editor, RepaintRequest{RepaintKind::EmptyTopView, {}, 0, true});
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
