#pragma once

#include <cstddef>
#include <vector>

#include "common/BlockGrid.h"

namespace stackmason {

// The grid's columns (x, y), each a run of H + 1 codes, form an (X + 1) x (Y + 1) matrix
// stored row by row; swapping the axes transposes it. Done in place by following the cycles
// of the permutation, so even the largest building needs no second grid of 270 MB.
class ColumnTranspose {
public:
    // Takes the little memory the transpose needs; throws std::bad_alloc before any cell moves.
    explicit ColumnTranspose(const BlockGrid& grid)
        : rows_(static_cast<std::size_t>(grid.Width()) + 1), columns_(static_cast<std::size_t>(grid.Length()) + 1),
          run_(static_cast<std::size_t>(grid.Height()) + 1), moved_(rows_ * columns_, false), spare_(run_) {}

    // Moves every column (x, y) to (y, x), once per object. The grid keeps its extents; the
    // caller reshapes it.
    void Apply(BlockGrid& grid);

private:
    BlockCode* Column(BlockCode* cells, std::size_t entry) const { return cells + entry * run_; }

    std::size_t rows_;
    std::size_t columns_;
    std::size_t run_;
    std::vector<bool> moved_;
    std::vector<BlockCode> spare_;
};

}  // namespace stackmason
