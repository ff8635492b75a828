#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "common/CellMemory.h"

namespace stackmason {

// 0 is air; n >= 1 is the n-th entry of the loaded texture pack. Negative codes come from
// building files whose bytes lie below the air byte.
using BlockCode = std::int32_t;

// How a cell holds its code: every code that can arise fits (-47..208 from building files,
// up to the pack's entry cap from imports).
using StoredCode = std::int16_t;

// The building's sizes and cells: width x length x height cells addressed (x, y, h), 1-based,
// with the planes x = 0, y = 0 and h = 0 present as well (h = 0 is the ground under the
// building). The cells lie layer by layer, as in the building files: h slowest, then y, then
// x, so that cell (x, y, h) is at (h * (Y + 1) + y) * (X + 1) + x. A row (y, h) is X + 1
// neighbouring cells, a layer (Y + 1) rows.
//
// At and Set check the cell and the code and throw std::out_of_range; Cell, SetCell, Row and
// Layer are for the hot loops and check nothing in release builds. A building moved from has
// no cells: it can only be assigned or destroyed.
class Building {
public:
    // The cell a non-const At gives: reads and writes the code through the checked path.
    class CellReference {
    public:
        CellReference& operator=(BlockCode code) {
            building_.Set(x_, y_, h_, code);
            return *this;
        }
        operator BlockCode() const { return building_.Cell(x_, y_, h_); }

    private:
        friend class Building;
        CellReference(Building& building, int x, int y, int h) : building_(building), x_(x), y_(y), h_(h) {}
        Building& building_;
        int x_;
        int y_;
        int h_;
    };

    // A building of no cells but the corner (0, 0, 0).
    Building() : Building(0, 0, 0) {}
    // All cells air. Negative sizes count as 0. Throws std::bad_alloc when the memory cannot
    // be had.
    Building(int width, int length, int height);
    Building(const Building& other);
    Building& operator=(const Building& other);
    Building(Building&& other) noexcept;
    Building& operator=(Building&& other) noexcept;
    ~Building() = default;

    int Width() const { return width_; }
    int Length() const { return length_; }
    int Height() const { return height_; }
    std::size_t CellCount() const { return LayerCells() * (static_cast<std::size_t>(height_) + 1); }
    std::size_t RowCells() const { return static_cast<std::size_t>(width_) + 1; }
    std::size_t LayerCells() const { return RowCells() * (static_cast<std::size_t>(length_) + 1); }

    bool Contains(int x, int y, int h) const {
        return x >= 0 && x <= width_ && y >= 0 && y <= length_ && h >= 0 && h <= height_;
    }
    static bool Fits(BlockCode code) {
        return code >= std::numeric_limits<StoredCode>::min() && code <= std::numeric_limits<StoredCode>::max();
    }

    // Checked access: std::out_of_range for a cell outside the building or a code that does not fit.
    BlockCode At(int x, int y, int h) const;
    CellReference At(int x, int y, int h) {
        Check(x, y, h);
        return CellReference(*this, x, y, h);
    }
    void Set(int x, int y, int h, BlockCode code);

    // Unchecked access for the hot loops.
    std::size_t Index(int x, int y, int h) const {
        assert(Contains(x, y, h));
        return (static_cast<std::size_t>(h) * (static_cast<std::size_t>(length_) + 1) + static_cast<std::size_t>(y)) *
                   RowCells() +
               static_cast<std::size_t>(x);
    }
    BlockCode Cell(int x, int y, int h) const { return cells_[Index(x, y, h)]; }
    void SetCell(int x, int y, int h, BlockCode code) {
        assert(Fits(code));
        cells_[Index(x, y, h)] = static_cast<StoredCode>(code);
    }
    // Cells (0, y, h) .. (X, y, h).
    StoredCode* Row(int y, int h) { return cells_ + Index(0, y, h); }
    const StoredCode* Row(int y, int h) const { return cells_ + Index(0, y, h); }
    // Cells (0, 0, h) .. (X, Y, h), row by row.
    StoredCode* Layer(int h) { return Row(0, h); }
    const StoredCode* Layer(int h) const { return Row(0, h); }

    // Every cell air, the index-0 planes included. A building of the same sizes as a fresh
    // one costs no new memory this way.
    void Clear();

    // Whole layers, the index-0 row and column of each included.
    void ClearLayer(int h);
    void CopyLayer(int from, int to);
    void SwapLayers(int a, int b);
    // Additive copy: the non-air cells (x, y >= 1) of layer `from` overwrite those of `to`.
    void MergeLayer(int from, int to);

    // Whole slices x: every (y, h), the index-0 ones included.
    void ClearSlice(int x);
    // Additive copy: the non-air cells (y, h >= 1) of slice `from` overwrite those of `to`.
    void MergeSlice(int from, int to);

    // The building with `height` layers. Each cell (x, y >= 1) of layer h comes from layer
    // sourceOf(h) of this one, or is air when that is not a layer of it; the index-0 row and
    // column of layer h are this one's of layer h, or air above its height. Throws
    // std::bad_alloc, this one untouched, when the memory cannot be had.
    template <typename SourceOf>
    Building Restacked(int height, SourceOf sourceOf) const {
        Building result(width_, length_, height);
        for (int h = 0; h <= result.height_; ++h)
            result.FillRestackedLayer(*this, h, sourceOf(h));
        return result;
    }
    // An air layer put after layer `after`, and layer h taken out: the restacked buildings of
    // the layer commands.
    Building WithLayerInserted(int after) const;
    Building WithLayerRemoved(int layer) const;

    // Swaps the x and y axes: cell (x, y, h) moves to (y, x, h), every layer and the index-0
    // planes included, and the width and length trade places. Needs no memory.
    void Transpose() noexcept;

    // Work memory for one layer, as TurnLayers takes it; throws std::bad_alloc. Callers that
    // must not fail once they have started take it first.
    std::vector<StoredCode> LayerWorkspace() const { return std::vector<StoredCode>(LayerCells()); }

    // Turns layers 1..H by 90 degrees clockwise as TopView shows them (x to the right, y
    // downwards), about the cell (X div 2 + 1, Y div 2 + 1). Cells turned out of the layer are
    // lost, cells that receive nothing become air; the index-0 row and column stay. Cannot
    // fail with a workspace of this building.
    void TurnLayers(std::vector<StoredCode>& workspace);
    void TurnLayers() {
        auto workspace = LayerWorkspace();
        TurnLayers(workspace);
    }
    // The turn taken back: every cell gets the code of the cell it turns to, or air when that
    // lies outside the layer. Restores every cell the turn kept in the layer.
    void TurnLayersBack(std::vector<StoredCode>& workspace);
    void TurnLayersBack() {
        auto workspace = LayerWorkspace();
        TurnLayersBack(workspace);
    }
    // Calls visit(x, y, h) for every cell x, y >= 1 of layers 1..H that the turn moves out of
    // its layer, row by row.
    template <typename Visit>
    void ForEachCellTurnedOut(Visit visit) const {
        const int centreX = width_ / 2 + 1;
        const int centreY = length_ / 2 + 1;
        // (x, y) goes to (Cx - (y - Cy), Cy + (x - Cx)): inside for these rows and columns.
        const int firstRow = centreX + centreY - width_, lastRow = centreX + centreY - 1;
        const int firstColumn = centreX - centreY + 1, lastColumn = centreX - centreY + length_;
        for (int h = 1; h <= height_; ++h)
            for (int y = 1; y <= length_; ++y) {
                if (y < firstRow || y > lastRow) {
                    for (int x = 1; x <= width_; ++x)
                        visit(x, y, h);
                    continue;
                }
                for (int x = 1; x <= std::min(width_, firstColumn - 1); ++x)
                    visit(x, y, h);
                for (int x = std::max(1, lastColumn + 1); x <= width_; ++x)
                    visit(x, y, h);
            }
    }

    friend bool operator==(const Building& a, const Building& b);

private:
    void Check(int x, int y, int h) const;
    void FillRestackedLayer(const Building& source, int h, int sourceLayer);

    int width_ = 0;
    int length_ = 0;
    int height_ = 0;
    // One layer more than the cells need: the transpose writes each turned layer into the
    // free slot next to it, so that it needs neither a copy of a layer nor memory of its own.
    // Zeroed by the system when taken, so that a new building needs no clear of its own.
    CellMemory storage_;
    StoredCode* cells_ = nullptr;
};

}  // namespace stackmason
