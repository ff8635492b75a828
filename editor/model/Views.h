#pragma once

#include <string>

#include "editor/model/Editor.h"

namespace stackmason {

// Canvas size in pixels for the current view: cells x 32 + 5 each way.
int CanvasWidthFor(const Editor& editor);
int CanvasHeightFor(const Editor& editor);

// Sizes the canvas for the current view and asks for the layout: the canvas side sizes it and
// places the scroller below the toolbar, as wide as the window's client area.
void ApplyCanvasLayout(Editor& editor);

// Each switch keeps the layer of the view it leaves and restores that of the view it enters,
// and asks for the layout and a full repaint.
void ShowFrontView(Editor& editor);
void ShowTopView(Editor& editor);
// The label of the context menu's view toggle: the view it switches to.
std::string ViewToggleLabel(const Editor& editor);
// Switches to the other view.
void ToggleView(Editor& editor);

// The ending that loading a building, importing one and swapping the axes share: TopView on
// layer 1, the next FrontView on slice 1.
void ShowReplacedBuilding(Editor& editor);

}  // namespace stackmason
