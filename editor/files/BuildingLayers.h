#pragma once

#include <functional>

#include "common/Building.h"

namespace stackmason {

// One layer of a building as the writers take it: rows y = 1..Y of X codes each, from x = 1.
class LayerView {
public:
    LayerView(const Building& holder, int at) : holder_(holder), at_(at) {}

    const StoredCode* Row(int y) const { return holder_.Row(y, at_) + 1; }
    // The building whose layer `At()` holds the cells, for code that counts a layer.
    const Building& Holder() const { return holder_; }
    int At() const { return at_; }

private:
    const Building& holder_;
    int at_;
};

using LayerVisitor = std::function<void(int h, const LayerView& layer)>;

// A building's sizes and its layers, handed bottom up to a visitor as often as a writer needs
// a pass over them: the layers of a building held whole, or those of a file read again for
// each pass and held one at a time, so that a writer never needs the whole building.
struct LayerSource {
    int width = 0;
    int length = 0;
    int height = 0;
    std::function<void(const LayerVisitor& visit)> forEachLayer;
};

inline LayerSource LayersOf(const Building& grid) {
    return LayerSource{grid.Width(), grid.Length(), grid.Height(), [&grid](const LayerVisitor& visit) {
                           for (int h = 1; h <= grid.Height(); ++h)
                               visit(h, LayerView(grid, h));
                       }};
}

}  // namespace stackmason
