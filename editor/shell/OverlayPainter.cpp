#include "editor/shell/OverlayPainter.h"

#include <QPainter>
#include <algorithm>

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr double kFloatingOpacity = 0.6;
const QColor kBoxColour(0, 220, 255);
const QColor kFloatingFrameColour(255, 210, 0);

QRect PixelsOf(const CanvasCells& cells) {
    return {cells.column * kTileSize, cells.row * kTileSize, cells.columns * kTileSize, cells.rows * kTileSize};
}

// An outline just inside the rectangle's edge, bright on a dark rim so that it shows on
// every block and on the grid lines.
void PaintOutline(QPainter& painter, const QRect& pixels, const QColor& colour, Qt::PenStyle style) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(pixels.adjusted(2, 2, -2, -2));
    painter.setPen(QPen(colour, 2, style, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(pixels.adjusted(2, 2, -2, -2));
}

// The canvas cells that show building cells in the view: no margin, no ground strip.
CanvasCells BuildingCellsShown(const Editor& editor) {
    const Building& grid = editor.grid;
    return editor.InTopView() ? CanvasCells{0, 0, grid.Width(), grid.Length()}
                              : CanvasCells{0, 0, grid.Length(), grid.Height()};
}

}  // namespace

const QImage& OverlayPainter::PictureOf(const Editor& editor, BlockCode code) {
    const SelectorModel& selector = editor.selector;
    if (selector.Revision() != picturesRevision_ || selector.Count() != pictureCount_) {
        pictures_.clear();
        picturesRevision_ = selector.Revision();
        pictureCount_ = selector.Count();
    }
    auto [entry, added] = pictures_.try_emplace(code);
    if (added && selector.Picture(code)) {
        const Image shown = selector.ShownImage(code);
        entry->second = QImage(reinterpret_cast<const uchar*>(shown.Pixels().data()), shown.Width(), shown.Height(),
                               shown.Width() * 4, QImage::Format_RGBA8888)
                            .copy();
    }
    return entry->second;
}

void OverlayPainter::PaintFloatingCopy(QPainter& painter, const QRect& area, const CanvasOverlay& overlay,
                                       const Editor& editor) {
    const CanvasCells& floating = overlay.floating;
    const CanvasCells shown = BuildingCellsShown(editor);
    const int firstColumn = std::max({floating.column, shown.column, area.left() / kTileSize});
    const int lastColumn = std::min({floating.column + floating.columns, shown.columns, area.right() / kTileSize + 1}) - 1;
    const int firstRow = std::max({floating.row, shown.row, area.top() / kTileSize});
    const int lastRow = std::min({floating.row + floating.rows, shown.rows, area.bottom() / kTileSize + 1}) - 1;
    painter.setOpacity(kFloatingOpacity);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            if (const BlockCode code = FloatingCodeAt(editor, overlay, column, row); code != 0)
                if (const QImage& picture = PictureOf(editor, code); !picture.isNull())
                    painter.drawImage(QRect(column * kTileSize, row * kTileSize, kTileSize, kTileSize), picture);
    painter.setOpacity(1.0);
    PaintOutline(painter, PixelsOf(floating), kFloatingFrameColour, Qt::DashLine);
}

void OverlayPainter::Paint(QPainter& painter, const QRect& area, const CanvasOverlay& overlay, const Editor& editor) {
    if (overlay.Empty())
        return;
    painter.save();
    if (!overlay.box.Empty())
        PaintOutline(painter, PixelsOf(overlay.box), kBoxColour, Qt::SolidLine);
    if (!overlay.floating.Empty())
        PaintFloatingCopy(painter, area, overlay, editor);
    painter.restore();
}

}  // namespace stackmason
