#include "editor/commands/ColumnTranspose.h"

#include <algorithm>

namespace stackmason {

void ColumnTranspose::Apply(BlockGrid& grid) {
    BlockCode* cells = grid.Data();
    const std::size_t count = rows_ * columns_;
    // Entry i = x * (Y + 1) + y goes to y * (X + 1) + x = (i * (X + 1)) mod (count - 1), so
    // the entry that lands on j comes from (j * (Y + 1)) mod (count - 1). The first and the
    // last entry stay where they are.
    for (std::size_t start = 1; start + 1 < count; ++start) {
        if (moved_[start])
            continue;
        std::copy_n(Column(cells, start), run_, spare_.begin());
        std::size_t target = start;
        for (;;) {
            moved_[target] = true;
            const std::size_t source = target * columns_ % (count - 1);
            if (source == start)
                break;
            std::copy_n(Column(cells, source), run_, Column(cells, target));
            target = source;
        }
        std::copy_n(spare_.begin(), run_, Column(cells, target));
    }
}

}  // namespace stackmason
