#include "editor/files/CodeCounts.h"

#include <cstring>

namespace stackmason {
namespace {

constexpr std::size_t kSameRun = 8;

// Whether the eight cells from `cells` all hold the code of the first: two word compares.
bool EightSame(const StoredCode* cells) {
    const std::uint64_t repeated = static_cast<std::uint16_t>(cells[0]) * std::uint64_t{0x0001000100010001};
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, cells, sizeof(low));
    std::memcpy(&high, cells + 4, sizeof(high));
    return ((low ^ repeated) | (high ^ repeated)) == 0;
}

}  // namespace

CodeCounts::CodeCounts() : counts_(kCodes * kLanes, 0) {}

std::uint64_t CodeCounts::Of(BlockCode code) const {
    if (!Building::Fits(code))
        return 0;
    const std::size_t slot = Slot(static_cast<StoredCode>(code));
    std::uint64_t sum = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane)
        sum += counts_[lane * kCodes + slot];
    return sum;
}

std::vector<BlockCode> CodeCounts::CodesPresent() const {
    std::vector<BlockCode> codes;
    for (std::size_t slot = 0; slot < kCodes; ++slot) {
        std::uint64_t any = 0;
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            any |= counts_[lane * kCodes + slot];
        if (any != 0)
            codes.push_back(static_cast<BlockCode>(slot) + kLowest);
    }
    return codes;
}

void CodeCounts::AddRun(const StoredCode* cells, std::size_t count) {
    static_assert(kLanes == 4, "a mixed run feeds four lanes in turn");
    std::uint64_t* const lane0 = counts_.data();
    std::uint64_t* const lane1 = lane0 + kCodes;
    std::uint64_t* const lane2 = lane1 + kCodes;
    std::uint64_t* const lane3 = lane2 + kCodes;
    std::size_t i = 0;
    for (; i + kSameRun <= count; i += kSameRun) {
        const StoredCode* run = cells + i;
        if (EightSame(run)) {
            lane0[Slot(run[0])] += kSameRun;
            continue;
        }
        ++lane0[Slot(run[0])];
        ++lane1[Slot(run[1])];
        ++lane2[Slot(run[2])];
        ++lane3[Slot(run[3])];
        ++lane0[Slot(run[4])];
        ++lane1[Slot(run[5])];
        ++lane2[Slot(run[6])];
        ++lane3[Slot(run[7])];
    }
    for (; i < count; ++i)
        ++lane0[Slot(cells[i])];
}

void CodeCounts::AddLayer(const Building& grid, int h) {
    for (int y = 1; y <= grid.Length(); ++y)
        AddRun(grid.Row(y, h) + 1, static_cast<std::size_t>(grid.Width()));
}

void CodeCounts::AddSlice(const Building& grid, int x) {
    std::uint64_t* const counts = counts_.data();
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            ++counts[static_cast<std::size_t>(y) % kLanes * kCodes + Slot(static_cast<StoredCode>(grid.Cell(x, y, h)))];
}

void CodeCounts::AddBuilding(const Building& grid) {
    for (int h = 1; h <= grid.Height(); ++h)
        AddLayer(grid, h);
}

}  // namespace stackmason
