#include "editor/commands/RotateLayers.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace stackmason {
namespace {

// Layers turned per pass. Within a grid column the layers lie next to each other, so a pass
// moves short runs of codes instead of single cells scattered across the whole grid.
constexpr int kLayersPerPass = 16;

class LayerTurn {
public:
    LayerTurn(BlockGrid& grid, int width, int length)
        : grid_(grid), width_(width), length_(length), centreX_(width / 2 + 1), centreY_(length / 2 + 1),
          buffer_(static_cast<std::size_t>(width) * length * kLayersPerPass) {}

    // Turns layers first .. first + count - 1 (count at most kLayersPerPass).
    void TurnLayers(int first, int count) {
        for (int x = 1; x <= width_; ++x)
            for (int y = 1; y <= length_; ++y)
                std::copy_n(Column(x, y, first), count, Saved(x, y));
        for (int a = 1; a <= width_; ++a)
            for (int b = 1; b <= length_; ++b)
                TakeSource(a, b, first, count);
    }

private:
    // Cell (x, y) goes to (Cx - (y - Cy), Cy + (x - Cx)); so target (a, b) receives the cell
    // (Cx + (b - Cy), Cy - (a - Cx)), or air when that lies outside the layer.
    void TakeSource(int a, int b, int first, int count) {
        const int x = centreX_ + (b - centreY_);
        const int y = centreY_ - (a - centreX_);
        BlockCode* target = Column(a, b, first);
        if (x >= 1 && x <= width_ && y >= 1 && y <= length_)
            std::copy_n(Saved(x, y), count, target);
        else
            std::fill_n(target, count, 0);
    }

    BlockCode* Column(int x, int y, int h) { return grid_.Data() + grid_.Index(x, y, h); }
    BlockCode* Saved(int x, int y) {
        return buffer_.data() + (static_cast<std::size_t>(x - 1) * length_ + (y - 1)) * kLayersPerPass;
    }

    BlockGrid& grid_;
    int width_;
    int length_;
    int centreX_;
    int centreY_;
    std::vector<BlockCode> buffer_;
};

}  // namespace

void RotateLayers(Editor& editor) {
    if (!editor.InTopView())
        return;
    try {
        LayerTurn turn(editor.grid, editor.gridWidth, editor.gridLength);
        for (int first = 1; first <= editor.gridHeight; first += kLayersPerPass)
            turn.TurnLayers(first, std::min(kLayersPerPass, editor.gridHeight - first + 1));
    } catch (const std::bad_alloc&) {
        editor.dialogs.ShowError("Not enough memory to turn the layers. The building is unchanged.");
        return;
    }
    editor.painter.RedrawCanvas();
}

}  // namespace stackmason
