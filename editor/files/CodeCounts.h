#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/Building.h"

namespace stackmason {

// How many cells of a part of the building hold each code, air included. Every code a cell
// can store has its counter, so counting is one pass without a look-up.
//
// A building is mostly air and long runs of one block, and a counter raised cell after cell
// waits each time for its own last increment. So a run of eight equal cells is counted with
// one addition, and the cells of a mixed run go to four counters in turn, summed when read:
// the all-air building costs no more than the one of random blocks.
class CodeCounts {
public:
    CodeCounts();

    std::uint64_t Of(BlockCode code) const;
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
    static constexpr std::size_t kCodes = std::size_t{1} << 16;
    static constexpr std::size_t kLanes = 4;

    static std::size_t Slot(StoredCode code) { return static_cast<std::size_t>(BlockCode{code} - kLowest); }
    void AddRun(const StoredCode* cells, std::size_t count);

    // Lane l's counter of a code is at l * kCodes + Slot(code): four arrays side by side.
    std::vector<std::uint64_t> counts_;
};

}  // namespace stackmason
