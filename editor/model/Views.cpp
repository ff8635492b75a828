#include "editor/model/Views.h"

#include <algorithm>

#include "common/Constants.h"
#include "editor/model/BuildingOperations.h"

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
    editor.painter.ResizeCanvas(editor.canvasWidth, editor.canvasHeight);
    const int width = editor.window.ClientWidth();
    const int height = std::max(0, editor.window.ClientHeight() - kToolbarHeight);
    editor.window.PlaceCanvasScroller(0, kToolbarHeight, width, height, editor.canvasWidth, editor.canvasHeight);
}

// Each switch sets the editor's state first and lays out and repaints the canvas last, so
// that a repaint that fails leaves the state whole.
void ShowFrontView(Editor& editor) {
    // The plane's memory first, so that running short of it leaves the view as it was.
    FitFrontPlane(editor);
    editor.viewMode = ViewMode::FrontView;
    editor.topViewLayer = editor.CurrentLayer();
    editor.viewToggleLabel = "TopView";
    editor.layerSpin.SetRange(1, editor.grid.Width());
    editor.layerSpin.SetValue(editor.frontViewLayer);
    RefreshFrontPlane(editor);
    ApplyCanvasLayout(editor);
    editor.painter.RedrawCanvas();
}

void ShowTopView(Editor& editor) {
    editor.viewMode = ViewMode::TopView;
    editor.frontViewLayer = editor.CurrentLayer();
    editor.layerSpin.SetRange(1, editor.grid.Height());
    editor.layerSpin.SetValue(editor.topViewLayer);
    editor.viewToggleLabel = "FrontView";
    ApplyCanvasLayout(editor);
    editor.painter.RedrawCanvas();
}

void ToggleView(Editor& editor) {
    if (editor.InTopView())
        ShowFrontView(editor);
    else
        ShowTopView(editor);
}

void ShowReplacedBuilding(Editor& editor) {
    editor.topViewLayer = 0;
    editor.frontViewLayer = 1;
    editor.layerSpin.SetValue(1);
    editor.viewMode = ViewMode::TopView;
    ShowTopView(editor);
}

}  // namespace stackmason
