#pragma once

#include <QImage>
#include <QRect>
#include <unordered_map>

#include "editor/canvas/CanvasOverlay.h"
#include "editor/model/Editor.h"

class QPainter;

namespace stackmason {

// Paints the canvas overlay over the cells: the floating copy's pictures half transparent in
// a dashed frame, and the selected box's outline.
class OverlayPainter {
public:
    void Paint(QPainter& painter, const QRect& area, const CanvasOverlay& overlay, const Editor& editor);

private:
    const QImage& PictureOf(const Editor& editor, BlockCode code);
    void PaintFloatingCopy(QPainter& painter, const QRect& area, const CanvasOverlay& overlay, const Editor& editor);

    std::unordered_map<BlockCode, QImage> pictures_;
    int picturesRevision_ = -1;
    int pictureCount_ = -1;
};

}  // namespace stackmason
