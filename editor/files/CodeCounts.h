#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "common/Building.h"

namespace stackmason {

// How many cells of a part of the building hold each code, air included. Every code a cell
// can store has its counter, so counting is one pass without a look-up.
class CodeCounts {
public:
    CodeCounts();

    std::uint64_t Of(BlockCode code) const {
        return Building::Fits(code) ? counts_[static_cast<std::size_t>(code - kLowest)] : 0;
    }
    // The codes with a count, air included, in ascending order.
    std::vector<BlockCode> CodesPresent() const;

    // Counts the cells x 1..X, y 1..Y of layer h.
    void AddLayer(const Building& grid, int h);
    // Counts the cells y 1..Y, h 1..H of slice x.
    void AddSlice(const Building& grid, int x);
    // Counts every cell x 1..X, y 1..Y, h 1..H: the ground under the building is not one.
    void AddBuilding(const Building& grid);

private:
    static constexpr BlockCode kLowest = std::numeric_limits<StoredCode>::min();
    std::vector<std::uint64_t> counts_;
};

}  // namespace stackmason
