#pragma once

#include <string>

#include "editor/model/EditorPorts.h"

namespace stackmason {

// The canvas and the main window for the editor's operations run without a window (the
// command-line converter, the fuzz targets): nothing is painted, and the layout the window
// is given is shown nowhere. The client size is the main window's own.
class HeadlessPainter final : public CanvasPainter {
public:
    void ResizeCanvas(int, int) override {}
    void PaintEmptyTopView() override {}
    void RedrawCanvas() override {}
    void DrawCell(int, int) override {}
};

class HeadlessWindow final : public WindowPort {
public:
    int ClientWidth() const override { return 939; }
    int ClientHeight() const override { return 741; }
    void PlaceCanvasScroller(int, int, int, int, int, int) override {}
    void FocusCanvasScroller() override {}
    void SetTitle(const std::string&) override {}
    int ScrollX() const override { return 0; }
    int ScrollY() const override { return 0; }
    void ScrollTo(int, int) override {}
    void DropPendingEvents() override {}
};

}  // namespace stackmason
