#include "editor/files/CodeCounts.h"

namespace stackmason {

CodeCounts::CodeCounts()
    : counts_(static_cast<std::size_t>(std::numeric_limits<StoredCode>::max()) - static_cast<std::size_t>(kLowest) + 1,
              0) {}

std::vector<BlockCode> CodeCounts::CodesPresent() const {
    std::vector<BlockCode> codes;
    for (std::size_t i = 0; i < counts_.size(); ++i)
        if (counts_[i] > 0)
            codes.push_back(static_cast<BlockCode>(i) + kLowest);
    return codes;
}

void CodeCounts::AddLayer(const Building& grid, int h) {
    std::uint64_t* const counts = counts_.data();
    for (int y = 1; y <= grid.Length(); ++y) {
        const StoredCode* row = grid.Row(y, h);
        for (int x = 1; x <= grid.Width(); ++x)
            ++counts[static_cast<std::size_t>(BlockCode{row[x]} - kLowest)];
    }
}

void CodeCounts::AddSlice(const Building& grid, int x) {
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            ++counts_[static_cast<std::size_t>(grid.Cell(x, y, h) - kLowest)];
}

void CodeCounts::AddBuilding(const Building& grid) {
    for (int h = 1; h <= grid.Height(); ++h)
        AddLayer(grid, h);
}

}  // namespace stackmason
