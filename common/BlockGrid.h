#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace stackmason {

// 0 is air; n >= 1 is the n-th entry of the loaded texture pack.
using BlockCode = std::int32_t;

// A building of width x length x height cells addressed (x, y, h), 1-based, with the planes
// x = 0, y = 0 and h = 0 present as well (h = 0 is the ground under the building). One
// contiguous block, h varying fastest, then y, then x. Accesses are unchecked in release
// builds: callers keep their indices within 0..Width(), 0..Length(), 0..Height().
class BlockGrid {
public:
    BlockGrid() = default;
    // All cells air. Negative sizes count as 0.
    BlockGrid(int width, int length, int height);

    int Width() const { return width_; }
    int Length() const { return length_; }
    int Height() const { return height_; }
    std::size_t CellCount() const { return cells_.size(); }

    std::size_t Index(int x, int y, int h) const {
        assert(x >= 0 && x <= width_ && y >= 0 && y <= length_ && h >= 0 && h <= height_);
        return (static_cast<std::size_t>(x) * (length_ + 1) + y) * (height_ + 1) + h;
    }
    BlockCode At(int x, int y, int h) const { return cells_[Index(x, y, h)]; }
    BlockCode& At(int x, int y, int h) { return cells_[Index(x, y, h)]; }

    // Every cell air, the index-0 planes included.
    void Clear();

    // Gives the same cells, in the same storage order, new extents with the same cell count,
    // for operations that rearrange the cells in place. False, and nothing changes, when the
    // counts differ.
    bool Reshape(int width, int length, int height);

    BlockCode* Data() { return cells_.data(); }
    const BlockCode* Data() const { return cells_.data(); }

    friend bool operator==(const BlockGrid&, const BlockGrid&) = default;

private:
    int width_ = 0;
    int length_ = 0;
    int height_ = 0;
    std::vector<BlockCode> cells_ = std::vector<BlockCode>(1, 0);
};

}  // namespace stackmason
