#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "common/Building.h"
#include "editor/model/CellBox.h"

namespace stackmason {

// Cells lifted out of a box of the building: width x length x height codes addressed
// (i, j, k) from 0, i along x fastest, then j along y, then k up the layers. Copies share their
// cells until one of them is written to: the clipboard, the floating copy and the edit that
// places it are one block of memory, and a large box is not copied on each of those steps.
class BlockClip {
public:
    BlockClip() = default;
    // All air. Throws std::bad_alloc when the memory cannot be had.
    BlockClip(int width, int length, int height);

    int Width() const { return width_; }
    int Length() const { return length_; }
    int Height() const { return height_; }
    bool Empty() const { return !cells_ || cells_->empty(); }
    std::size_t CellCount() const { return cells_ ? cells_->size() : 0; }
    std::size_t HeldBytes() const { return cells_ ? cells_->capacity() * sizeof(StoredCode) : 0; }

    StoredCode At(int i, int j, int k) const { return (*cells_)[Index(i, j, k)]; }
    StoredCode& At(int i, int j, int k) { return Own()[Index(i, j, k)]; }
    // Cells (0, j, k) .. (width - 1, j, k).
    const StoredCode* Row(int j, int k) const { return cells_->data() + Index(0, j, k); }
    StoredCode* Row(int j, int k) { return Own().data() + Index(0, j, k); }

    friend bool operator==(const BlockClip& a, const BlockClip& b) {
        return a.width_ == b.width_ && a.length_ == b.length_ && a.height_ == b.height_ &&
               (a.cells_ == b.cells_ || (a.cells_ && b.cells_ && *a.cells_ == *b.cells_));
    }

private:
    // The cells for writing: a copy of their own first when they are shared. Throws
    // std::bad_alloc when the copy cannot be had.
    std::vector<StoredCode>& Own() {
        if (cells_.use_count() > 1)
            cells_ = std::make_shared<std::vector<StoredCode>>(*cells_);
        return *cells_;
    }

    std::size_t Index(int i, int j, int k) const {
        return (static_cast<std::size_t>(k) * static_cast<std::size_t>(length_) + static_cast<std::size_t>(j)) *
                   static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(i);
    }

    int width_ = 0;
    int length_ = 0;
    int height_ = 0;
    std::shared_ptr<std::vector<StoredCode>> cells_;
};

// The cells of a box that lies inside the building.
BlockClip ClipOfBox(const Building& grid, const CellBox& box);

// The clip turned by a quarter about the vertical axis, clockwise as TopView shows it (x to
// the right, y downwards): its width and length trade places.
BlockClip TurnedClockwise(const BlockClip& clip);
BlockClip TurnedAnticlockwise(const BlockClip& clip);
// Mirrored left to right (along x) and front to back (along y).
BlockClip MirroredLeftRight(const BlockClip& clip);
BlockClip MirroredFrontBack(const BlockClip& clip);

}  // namespace stackmason
