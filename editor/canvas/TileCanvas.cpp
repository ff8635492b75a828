#include "editor/canvas/TileCanvas.h"

#include <algorithm>

namespace stackmason {
namespace {

// Compositions are forgotten and unused tiles dropped once this many tiles exist (4 KB each).
constexpr std::size_t kTileLimit = 8192;
constexpr std::int32_t kNotOpaque = -1;

bool IsOpaque(const Image& picture) {
    if (picture.Width() != kTileSize || picture.Height() != kTileSize)
        return false;
    return std::all_of(picture.Pixels().begin(), picture.Pixels().end(), [](Rgba p) { return p.a == 255; });
}

std::uint64_t CompositionKey(TileCanvas::TileId under, std::int32_t key, int parameter) {
    return (static_cast<std::uint64_t>(under) << 40) ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) << 8) ^
           static_cast<std::uint64_t>(parameter);
}

// Picture pixel (x, y), transparent outside the picture.
Rgba PictureAt(const Image& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height())
        return {};
    return picture.Pixel(x, y);
}

}  // namespace

TileCanvas::TileCanvas() {
    Tile blank;
    blank.fill(kCanvasBlank);
    tiles_.push_back(blank);
}

Rgba TileCanvas::Pixel(int x, int y) const {
    return tiles_[TileAt(x / kTileSize, y / kTileSize)][static_cast<std::size_t>(y % kTileSize) * kTileSize + x % kTileSize];
}

void TileCanvas::Resize(int width, int height) {
    const int columns = (std::max(0, width) + kTileSize - 1) / kTileSize;
    const int rows = (std::max(0, height) + kTileSize - 1) / kTileSize;
    if (columns != columns_ || rows != rows_) {
        std::vector<TileId> cells(static_cast<std::size_t>(columns) * rows, 0);
        for (int row = 0; row < std::min(rows, rows_); ++row)
            for (int column = 0; column < std::min(columns, columns_); ++column)
                cells[static_cast<std::size_t>(row) * columns + column] = TileAt(column, row);
        cells_ = std::move(cells);
        columns_ = columns;
        rows_ = rows;
    }
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    CompactIfLarge();
    Changed(0, 0, width_, height_);
}

void TileCanvas::DrawTile(int column, int row, const Image& picture, std::int32_t key, int opacity) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    TileId& cell = cells_[CellIndex(column, row)];
    cell = Compose(cell, picture, key, std::clamp(opacity, 0, 255));
    Changed(column * kTileSize, row * kTileSize, kTileSize, kTileSize);
    CompactIfLarge();
}

void TileCanvas::DrawOpaque(int x, int y, const Image& picture, std::int32_t key) {
    const int firstColumn = std::max(0, x / kTileSize);
    const int firstRow = std::max(0, y / kTileSize);
    const int lastColumn = std::min(columns_ - 1, (x + picture.Width() - 1) / kTileSize);
    const int lastRow = std::min(rows_ - 1, (y + picture.Height() - 1) / kTileSize);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column) {
            TileId& cell = cells_[CellIndex(column, row)];
            cell = ComposeFragment(cell, picture, key, x - column * kTileSize, y - row * kTileSize);
        }
    Changed(x, y, picture.Width(), picture.Height());
    CompactIfLarge();
}

void TileCanvas::ForgetKeys() {
    ForgetCompositions();
    fragments_.clear();
}

bool TileCanvas::FindStoredComposition(std::uint64_t compositionKey, TileId& id) {
    const auto found = compositions_.find(compositionKey);
    if (found == compositions_.end())
        return false;
    MemoSlot(compositionKey) = {compositionKey, found->second, true};
    id = found->second;
    return true;
}

void TileCanvas::ForgetCompositions() {
    compositions_.clear();
    memo_.fill({});
}

TileCanvas::TileId TileCanvas::Compose(TileId under, const Image& picture, std::int32_t key, int opacity) {
    // An opaque picture drawn fully hides what was there: one tile per picture.
    const bool maybeOpaque = opacity == 255;
    TileId known = 0;
    if (maybeOpaque && FindComposition(CompositionKey(0xFFFFFF, key, 255), known) &&
        known != static_cast<TileId>(kNotOpaque))
        return known;
    const std::uint64_t compositionKey = CompositionKey(under, key, opacity);
    if (FindComposition(compositionKey, known))
        return known;

    Tile tile = tiles_[under];
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            Rgba& pixel = tile[static_cast<std::size_t>(y) * kTileSize + x];
            pixel = BlendPixel(PictureAt(picture, x, y), pixel, opacity);
        }
    const TileId id = AddTile(tile);
    compositions_[compositionKey] = id;
    if (maybeOpaque) {
        const std::uint64_t pureKey = CompositionKey(0xFFFFFF, key, 255);
        if (!compositions_.contains(pureKey))
            compositions_[pureKey] = IsOpaque(picture) ? id : static_cast<TileId>(kNotOpaque);
    }
    return id;
}

TileCanvas::TileId TileCanvas::ComposeFragment(TileId under, const Image& picture, std::int32_t key, int offsetX,
                                               int offsetY) {
    // Offsets lie in -8192..31 (a picture is at most 8192 pixels wide).
    const std::uint64_t compositionKey = (static_cast<std::uint64_t>(under) << 44) ^
                                         (static_cast<std::uint64_t>(key & 0xFFFF) << 28) ^
                                         (static_cast<std::uint64_t>((offsetX + 8192) & 0x3FFF) << 14) ^
                                         static_cast<std::uint64_t>((offsetY + 8192) & 0x3FFF);
    if (const auto found = fragments_.find(compositionKey); found != fragments_.end())
        return found->second;
    Tile tile = tiles_[under];
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) {
            const int px = x - offsetX, py = y - offsetY;
            if (px >= 0 && py >= 0 && px < picture.Width() && py < picture.Height()) {
                Rgba pixel = picture.Pixel(px, py);
                pixel.a = 255;
                tile[static_cast<std::size_t>(y) * kTileSize + x] = pixel;
            }
        }
    const TileId id = AddTile(tile);
    fragments_[compositionKey] = id;
    return id;
}

TileCanvas::TileId TileCanvas::AddTile(const Tile& tile) {
    tiles_.push_back(tile);
    return static_cast<TileId>(tiles_.size() - 1);
}

void TileCanvas::Compact() {
    std::vector<TileId> renumbered(tiles_.size(), 0);
    std::vector<bool> used(tiles_.size(), false);
    used[0] = true;
    for (TileId id : cells_)
        used[id] = true;
    std::vector<Tile> kept;
    for (std::size_t id = 0; id < tiles_.size(); ++id)
        if (used[id]) {
            renumbered[id] = static_cast<TileId>(kept.size());
            kept.push_back(tiles_[id]);
        }
    for (TileId& id : cells_)
        id = renumbered[id];
    tiles_ = std::move(kept);
    ForgetCompositions();
    fragments_.clear();
    // A canvas that really shows this many different cells keeps them without compacting again soon.
    tileLimit_ = std::max(kTileLimit, 2 * tiles_.size());
    if (renumberListener_)
        renumberListener_();
}

void TileCanvas::ReportChange(int x, int y, int width, int height) {
    if (listener_)
        listener_(x, y, width, height);
}

void TileCanvas::EndBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0 || !batchChanged_)
        return;
    batchChanged_ = false;
    ReportChange(batchLeft_, batchTop_, batchRight_ - batchLeft_, batchBottom_ - batchTop_);
}

}  // namespace stackmason
