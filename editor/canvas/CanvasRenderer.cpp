#include "editor/canvas/CanvasRenderer.h"

#include <algorithm>
#include <optional>

#include "common/Constants.h"
#include "editor/packs/BuiltInPictures.h"

namespace stackmason {
namespace {

constexpr int kSilhouetteOpacity = 125;
constexpr Rgba kLabelText{68, 68, 68, 255};
constexpr Rgba kLabelBackground{161, 161, 161, 255};
constexpr int kLabelX = 5;
constexpr int kLabelY = 5;
constexpr std::int32_t kPlaceholderKey = -1;
constexpr std::int32_t kLabelKeys[2] = {0, 1};

}  // namespace

Image BlockLetterLabel(const std::string& text, Rgba textColour, Rgba background) {
    const int advance = 7;
    Image label(static_cast<int>(text.size()) * advance + 2, 13, background);
    for (std::size_t i = 0; i < text.size(); ++i)
        for (int y = 3; y < 10; ++y)
            for (int x = 0; x < 5; ++x)
                label.SetPixel(1 + static_cast<int>(i) * advance + x, y, textColour);
    return label;
}

CanvasRenderer::CanvasRenderer(PixelSurface& surface)
    : surface_(surface), labelRenderer_(BlockLetterLabel), placeholder_(PlaceholderImage()) {
    SetLabelRenderer(BlockLetterLabel);
}

void CanvasRenderer::SetLabelRenderer(LabelRenderer renderer) {
    labelRenderer_ = std::move(renderer);
    labels_[0] = labelRenderer_("TopView", kLabelText, kLabelBackground);
    labels_[1] = labelRenderer_("FrontView", kLabelText, kLabelBackground);
    surface_.ForgetKeys();
}

void CanvasRenderer::ResizeCanvas(int width, int height) {
    surface_.Resize(width, height);
}

void CanvasRenderer::PaintEmptyTopView() {
    ForgetPicturesIfReloaded();
    const SurfaceBatch batch(surface_);
    const Editor& editor = *editor_;
    for (int y = 1; y <= editor.grid.Length(); ++y)
        for (int x = 1; x <= editor.grid.Width(); ++x)
            DrawCode(x - 1, y - 1, 0, 255);
    DrawViewLabel();
}

void CanvasRenderer::RedrawCanvas() {
    ForgetPicturesIfReloaded();
    const SurfaceBatch batch(surface_);
    if (editor_->InTopView())
        RedrawTopView();
    else
        RedrawFrontView();
    editor_->window.FocusCanvasScroller();
}

void CanvasRenderer::RedrawTopView() {
    const Editor& editor = *editor_;
    const int layer = editor.CurrentLayer();
    // The background pass and the layer pass, cell by cell: cells do not overlap, so each
    // cell ends as after the two passes. Row by row, as the building keeps its cells.
    const Building& grid = editor.grid;
    for (int row = 0; row < grid.Length(); ++row) {
        const StoredCode* cells = grid.Row(row + 1, layer) + 1;
        const StoredCode* below = editor.silhouetteOn ? grid.Row(row + 1, layer - 1) + 1 : nullptr;
        for (int column = 0; column < grid.Width(); ++column) {
            DrawCode(column, row, 0, 255);
            const BlockCode value = cells[column];
            if (editor.silhouetteOn) {
                if (below[column] > 0)
                    DrawCode(column, row, below[column], kSilhouetteOpacity);
                if (value != 0)
                    DrawCode(column, row, value, 255);
            } else {
                DrawCode(column, row, value, 255);
            }
        }
    }
    DrawViewLabel();
}

void CanvasRenderer::RedrawFrontView() {
    const Editor& editor = *editor_;
    const int slice = editor.CurrentLayer();
    const Building& grid = editor.grid;
    const int height = grid.Height();
    for (int row = 0; row <= height; ++row)
        for (int column = 0; column < grid.Length(); ++column)
            DrawCode(column, row, grid.Cell(slice, column + 1, height - row), 255);
    DrawViewLabel();
    if (editor.silhouetteOn && slice >= 2)
        for (int row = 0; row <= height; ++row)
            for (int column = 0; column < grid.Length(); ++column) {
                const BlockCode behind = grid.Cell(slice - 1, column + 1, height - row);
                if (behind != 0)
                    DrawCode(column, row, behind, kSilhouetteOpacity);
            }
}

void CanvasRenderer::DrawCell(int a, int b) {
    ForgetPicturesIfReloaded();
    const Editor& editor = *editor_;
    const BlockCode code = editor.InTopView() ? editor.grid.At(a, b, editor.CurrentLayer()) : editor.frontPlane.At(a, b);
    DrawCode(a - 1, b - 1, code, 255);
}

void CanvasRenderer::PaintLayerCells() {
    ForgetPicturesIfReloaded();
    const SurfaceBatch batch(surface_);
    const Editor& editor = *editor_;
    const int layer = editor.CurrentLayer();
    for (int y = 1; y <= editor.grid.Length(); ++y) {
        const StoredCode* cells = editor.grid.Row(y, layer);
        for (int x = 1; x <= editor.grid.Width(); ++x)
            DrawCode(x - 1, y - 1, cells[x], 255);
    }
    DrawViewLabel();
}

namespace {

// The pixels of a rectangle of cells, with room for an outline drawn around it.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
constexpr int kOutlineRoom = 2;

PixelRect PixelsOf(const CanvasCells& cells) {
    return {cells.column * kTileSize - kOutlineRoom, cells.row * kTileSize - kOutlineRoom,
            (cells.column + cells.columns) * kTileSize + kOutlineRoom, (cells.row + cells.rows) * kTileSize + kOutlineRoom};
}

void AddTo(std::optional<PixelRect>& bounds, const CanvasCells& cells) {
    if (cells.Empty())
        return;
    const PixelRect r = PixelsOf(cells);
    if (!bounds) {
        bounds = r;
        return;
    }
    bounds->left = std::min(bounds->left, r.left);
    bounds->top = std::min(bounds->top, r.top);
    bounds->right = std::max(bounds->right, r.right);
    bounds->bottom = std::max(bounds->bottom, r.bottom);
}

}  // namespace

void CanvasRenderer::ShowOverlay() {
    const CanvasOverlay now = OverlayFor(*editor_);
    // The floating copy's picture depends on more than its place (a turn keeps the place), so
    // any floating copy is shown again.
    if (now == overlay_ && now.floating.Empty())
        return;
    std::optional<PixelRect> changed;
    for (const CanvasOverlay& overlay : {overlay_, now}) {
        AddTo(changed, overlay.box);
        AddTo(changed, overlay.floating);
    }
    overlay_ = now;
    if (changed && overlayListener_)
        overlayListener_(changed->left, changed->top, changed->right - changed->left, changed->bottom - changed->top);
}

void CanvasRenderer::DrawViewLabel() {
    const int view = editor_->InTopView() ? 0 : 1;
    surface_.DrawOpaque(kLabelX, kLabelY, labels_[view], kLabelKeys[view]);
}

void CanvasRenderer::DrawCode(int column, int row, BlockCode code, int opacity) {
    if (const Image* picture = editor_->selector.Picture(code))
        surface_.DrawTile(column, row, *picture, code, opacity);
    else
        surface_.DrawTile(column, row, placeholder_, kPlaceholderKey, opacity);
}

void CanvasRenderer::ForgetPicturesIfReloaded() {
    const SelectorModel& pictures = editor_->selector;
    if (pictures.Count() != knownPictureCount_ || pictures.Revision() != knownRevision_) {
        surface_.ForgetKeys();
        knownPictureCount_ = pictures.Count();
        knownRevision_ = pictures.Revision();
    }
}

}  // namespace stackmason
