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
    const std::uint64_t* lanes = counts_.data() + Slot(static_cast<StoredCode>(code)) * kLanes;
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

std::vector<BlockCode> CodeCounts::CodesPresent() const {
    std::vector<BlockCode> codes;
    for (std::size_t slot = 0; slot < kCodes; ++slot) {
        const std::uint64_t* lanes = counts_.data() + slot * kLanes;
        if ((lanes[0] | lanes[1] | lanes[2] | lanes[3]) != 0)
            codes.push_back(static_cast<BlockCode>(slot) + kLowest);
    }
    return codes;
}

void CodeCounts::AddRun(const StoredCode* cells, std::size_t count) {
    std::uint64_t* const counts = counts_.data();
    std::size_t i = 0;
    for (; i + kSameRun <= count; i += kSameRun) {
        if (EightSame(cells + i)) {
            counts[Slot(cells[i]) * kLanes] += kSameRun;
            continue;
        }
        for (std::size_t k = 0; k < kSameRun; ++k)
            ++counts[Slot(cells[i + k]) * kLanes + k % kLanes];
    }
    for (; i < count; ++i)
        ++counts[Slot(cells[i]) * kLanes + i % kLanes];
}

void CodeCounts::AddLayer(const Building& grid, int h) {
    for (int y = 1; y <= grid.Length(); ++y)
        AddRun(grid.Row(y, h) + 1, static_cast<std::size_t>(grid.Width()));
}

void CodeCounts::AddSlice(const Building& grid, int x) {
    std::uint64_t* const counts = counts_.data();
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            ++counts[Slot(static_cast<StoredCode>(grid.Cell(x, y, h))) * kLanes + static_cast<std::size_t>(y) % kLanes];
}

void CodeCounts::AddBuilding(const Building& grid) {
    for (int h = 1; h <= grid.Height(); ++h)
        AddLayer(grid, h);
}

}  // namespace stackmason
