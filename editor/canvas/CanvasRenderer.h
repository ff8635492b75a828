#pragma once

#include <functional>
#include <string>

#include "editor/canvas/CanvasOverlay.h"
#include "editor/canvas/PixelSurface.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Paints the editor's current plane onto a pixel surface: the full repaint of either view,
// the single-cell repaint and the view label.
class CanvasRenderer final : public CanvasPainter {
public:
    // Renders a label text opaque: glyphs in the text colour on a rectangle of the background.
    using LabelRenderer = std::function<Image(const std::string& text, Rgba textColour, Rgba background)>;

    explicit CanvasRenderer(PixelSurface& surface);

    // The editor whose state the repaints read; set once, before the first paint.
    void Attach(Editor& editor) { editor_ = &editor; }
    void SetLabelRenderer(LabelRenderer renderer);

    void ResizeCanvas(int width, int height) override;
    void PaintEmptyTopView() override;
    void RedrawCanvas() override;
    void DrawCell(int a, int b) override;
    void PaintLayerCells() override;
    void ShowOverlay() override;

    // The overlay last shown, and who is told the pixel rectangle where it changed.
    const CanvasOverlay& Overlay() const { return overlay_; }
    void SetOverlayListener(std::function<void(int x, int y, int width, int height)> listener) {
        overlayListener_ = std::move(listener);
    }

private:
    void RedrawTopView();
    void RedrawFrontView();
    void DrawViewLabel();
    void DrawCode(int column, int row, BlockCode code, int opacity);
    void ForgetPicturesIfReloaded();

    PixelSurface& surface_;
    Editor* editor_ = nullptr;
    LabelRenderer labelRenderer_;
    Image labels_[2];
    Image placeholder_;
    int knownPictureCount_ = -1;
    int knownRevision_ = -1;
    CanvasOverlay overlay_;
    std::function<void(int, int, int, int)> overlayListener_;
};

// A plain label for use without a font: each character a 5 x 7 block of the text colour on a
// rectangle of the background, as wide and high as the text would be.
Image BlockLetterLabel(const std::string& text, Rgba textColour, Rgba background);

}  // namespace stackmason
