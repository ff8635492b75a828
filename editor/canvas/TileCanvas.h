#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "common/Constants.h"
#include "editor/canvas/PixelSurface.h"

namespace stackmason {

// The canvas's pixels, kept as one shared 32 x 32 tile per cell. Since every paint puts a
// whole picture on a cell, a cell's pixels follow from the tile it had and the picture drawn,
// so equal compositions share one tile: a 512 x 512 cell canvas costs a megabyte of tile
// numbers instead of a gigabyte of pixels, and a full repaint is a lookup per cell.
class TileCanvas final : public PixelSurface {
public:
    using Tile = std::array<Rgba, kTileSize * kTileSize>;
    using TileId = std::uint32_t;

    TileCanvas();

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    TileId TileAt(int column, int row) const { return cells_[CellIndex(column, row)]; }
    const Tile& TilePixels(TileId id) const { return tiles_[id]; }
    std::size_t TileCount() const { return tiles_.size(); }
    Rgba Pixel(int x, int y) const;

    void Resize(int width, int height) override;
    void DrawTile(int column, int row, const Image& picture, std::int32_t key, int opacity) override;
    void DrawOpaque(int x, int y, const Image& picture, std::int32_t key) override;
    void ForgetKeys() override;
    void BeginBatch() override { ++batchDepth_; }
    void EndBatch() override;

    // Told the pixel rectangle that changed, so a widget can repaint it; within a batch, once at
    // its end, with the rectangle around every change of the batch.
    void SetChangeListener(std::function<void(int x, int y, int width, int height)> listener) {
        listener_ = std::move(listener);
    }
    // Told when tile numbers were renumbered (every cached tile picture is stale).
    void SetRenumberListener(std::function<void()> listener) { renumberListener_ = std::move(listener); }

private:
    std::size_t CellIndex(int column, int row) const { return static_cast<std::size_t>(row) * columns_ + column; }
    // A composition already made: from the memo, else from the map.
    bool FindComposition(std::uint64_t compositionKey, TileId& id) {
        const MemoEntry& memo = MemoSlot(compositionKey);
        if (memo.used && memo.key == compositionKey) {
            id = memo.id;
            return true;
        }
        return FindStoredComposition(compositionKey, id);
    }
    bool FindStoredComposition(std::uint64_t compositionKey, TileId& id);
    void ForgetCompositions();
    TileId Compose(TileId under, const Image& picture, std::int32_t key, int opacity);
    TileId ComposeFragment(TileId under, const Image& picture, std::int32_t key, int offsetX, int offsetY);
    TileId AddTile(const Tile& tile);
    // Drops unused tiles and forgets compositions once the tiles take too much memory.
    void CompactIfLarge() {
        if (tiles_.size() > tileLimit_)
            Compact();
    }
    void Compact();
    // A change of a pixel rectangle: reported now, or added to the open batch's bounds.
    void Changed(int x, int y, int width, int height) {
        if (batchDepth_ == 0) {
            ReportChange(x, y, width, height);
        } else if (!batchChanged_) {
            batchLeft_ = x, batchTop_ = y, batchRight_ = x + width, batchBottom_ = y + height;
            batchChanged_ = true;
        } else {
            batchLeft_ = std::min(batchLeft_, x);
            batchTop_ = std::min(batchTop_, y);
            batchRight_ = std::max(batchRight_, x + width);
            batchBottom_ = std::max(batchBottom_, y + height);
        }
    }
    void ReportChange(int x, int y, int width, int height);

    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<TileId> cells_;
    std::vector<Tile> tiles_;
    // (tile under, picture key, opacity or fragment offset) -> composed tile.
    std::unordered_map<std::uint64_t, TileId> compositions_;
    // A direct-mapped memo in front of compositions_: a full repaint asks for the same few
    // compositions hundreds of thousands of times, and a hash map lookup costs more than the
    // rest of drawing a cell.
    static constexpr int kMemoBits = 10;
    struct MemoEntry {
        std::uint64_t key = 0;
        TileId id = 0;
        bool used = false;
    };
    std::array<MemoEntry, std::size_t{1} << kMemoBits> memo_{};
    MemoEntry& MemoSlot(std::uint64_t compositionKey) {
        return memo_[(compositionKey * 0x9E3779B97F4A7C15ULL) >> (64 - kMemoBits)];
    }
    // (tile under, picture key, picture offset) -> tile with part of an opaque picture copied on.
    std::unordered_map<std::uint64_t, TileId> fragments_;
    std::size_t tileLimit_ = 8192;
    std::function<void(int, int, int, int)> listener_;
    // The open batches and the bounds (left, top, right, bottom; exclusive) of their changes.
    int batchDepth_ = 0;
    bool batchChanged_ = false;
    int batchLeft_ = 0, batchTop_ = 0, batchRight_ = 0, batchBottom_ = 0;
    std::function<void()> renumberListener_;
};

}  // namespace stackmason
