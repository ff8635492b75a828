#include "editor/model/Views.h"

#include "common/Constants.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Repaint.h"
#include "editor/model/Selection.h"

namespace stackmason {

int CanvasWidthFor(const Editor& editor) {
    const int cells = editor.InTopView() ? editor.grid.Width() : editor.grid.Length();
    return cells * kTileSize + kCanvasMargin;
}

int CanvasHeightFor(const Editor& editor) {
    const int cells = editor.InTopView() ? editor.grid.Length() : editor.grid.Height();
    return cells * kTileSize + kCanvasMargin;
}

void ApplyCanvasLayout(Editor& editor) {
    editor.canvasWidth = CanvasWidthFor(editor);
    editor.canvasHeight = CanvasHeightFor(editor);
    RequestRepaint(editor, RepaintRequest{RepaintKind::None, {}, 0, true});
}

namespace {

// An open box runs to the plane shown in the view it was marked in; once that view is left,
// whatever leaves it (Tab, FlipAxis, an undo, a load), the box keeps the planes it ran through.
void CloseBoxLeavingView(Editor& editor, ViewMode next) {
    if (editor.viewMode != next)
        CloseBox(editor);
}

}  // namespace

// Each switch sets the editor's state and asks for the layout and the full repaint, which the
// canvas side carries out once the state is whole.
void ShowFrontView(Editor& editor) {
    // The plane's memory first, so that running short of it leaves the view as it was.
    FitFrontPlane(editor);
    CloseBoxLeavingView(editor, ViewMode::FrontView);
    editor.viewMode = ViewMode::FrontView;
    editor.topViewLayer = editor.CurrentLayer();
    editor.layerSpin.SetRange(1, editor.grid.Width());
    editor.layerSpin.SetValue(editor.frontViewLayer);
    RefreshFrontPlane(editor);
    ApplyCanvasLayout(editor);
    RequestRepaint(editor, kFullRepaint);
}

void ShowTopView(Editor& editor) {
    CloseBoxLeavingView(editor, ViewMode::TopView);
    editor.viewMode = ViewMode::TopView;
    editor.frontViewLayer = editor.CurrentLayer();
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(editor.topViewLayer);
    ApplyCanvasLayout(editor);
    RequestRepaint(editor, kFullRepaint);
}

std::string ViewToggleLabel(const Editor& editor) { return editor.InTopView() ? "FrontView" : "TopView"; }

void ToggleView(Editor& editor) {
    if (editor.InTopView())
        ShowFrontView(editor);
    else
        ShowTopView(editor);
}

void ShowReplacedBuilding(Editor& editor) {
    CloseBoxLeavingView(editor, ViewMode::TopView);
    editor.topViewLayer = 0;
    editor.frontViewLayer = 1;
    editor.layerSpin.SetValue(1);
    editor.viewMode = ViewMode::TopView;
    ShowTopView(editor);
}

}  // namespace stackmason
