#include "editor/commands/FlipAxis.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "editor/model/Views.h"

namespace stackmason {
namespace {

// The grid's columns (x, y), each a run of H + 1 codes, form an (X + 1) x (Y + 1) matrix
// stored row by row; swapping the axes transposes it. Done in place by following the cycles
// of the permutation, so even the largest building needs no second grid of 270 MB.
class ColumnTranspose {
public:
    // Takes the little memory the transpose needs; throws std::bad_alloc before any cell moves.
    explicit ColumnTranspose(const BlockGrid& grid)
        : rows_(static_cast<std::size_t>(grid.Width()) + 1), columns_(static_cast<std::size_t>(grid.Length()) + 1),
          run_(static_cast<std::size_t>(grid.Height()) + 1), moved_(rows_ * columns_, false), spare_(run_) {}

    void Apply(BlockGrid& grid) {
        BlockCode* cells = grid.Data();
        const std::size_t count = rows_ * columns_;
        // Entry i = x * (Y + 1) + y goes to y * (X + 1) + x = (i * (X + 1)) mod (count - 1);
        // the first and the last entry stay.
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

private:
    BlockCode* Column(BlockCode* cells, std::size_t entry) const { return cells + entry * run_; }

    std::size_t rows_;
    std::size_t columns_;
    std::size_t run_;
    std::vector<bool> moved_;
    std::vector<BlockCode> spare_;
};

void ClearGround(BlockGrid& grid) {
    for (int x = 0; x <= grid.Width(); ++x)
        for (int y = 0; y <= grid.Length(); ++y)
            grid.At(x, y, 0) = 0;
}

}  // namespace

void FlipAxis(Editor& editor) {
    if (!editor.InTopView())
        ShowTopView(editor);
    const int width = editor.gridLength;
    const int length = editor.gridWidth;
    const int height = editor.gridHeight;
    try {
        FrontPlane plane(length, height);
        ColumnTranspose transpose(editor.grid);
        transpose.Apply(editor.grid);
        editor.frontPlane = std::move(plane);
    } catch (const std::bad_alloc&) {
        editor.dialogs.ShowError("Not enough memory to swap the axes. The building is unchanged.");
        return;
    } catch (const std::length_error&) {
        editor.dialogs.ShowError("Not enough memory to swap the axes. The building is unchanged.");
        return;
    }
    editor.grid.Reshape(width, length, height);
    ClearGround(editor.grid);
    editor.gridWidth = width;
    editor.gridLength = length;

    editor.widthSpin.SetValue(width);
    editor.lengthSpin.SetValue(length);
    editor.heightSpin.SetValue(height);
    editor.layerSpin.SetRange(1, height);
    // Lays the canvas out for the new sizes and repaints.
    ShowReplacedBuilding(editor);
}

}  // namespace stackmason
