#pragma once

#include <algorithm>
#include <cstddef>

namespace stackmason {

// A box of building cells (x, y, h), both corners included: x0 <= x1, y0 <= y1, h0 <= h1.
struct CellBox {
    int x0 = 1;
    int y0 = 1;
    int h0 = 1;
    int x1 = 0;
    int y1 = 0;
    int h1 = 0;

    // The box with corners a and b in any order.
    static CellBox Spanning(int ax, int ay, int ah, int bx, int by, int bh) {
        return {std::min(ax, bx), std::min(ay, by), std::min(ah, bh),
                std::max(ax, bx), std::max(ay, by), std::max(ah, bh)};
    }

    bool Empty() const { return x1 < x0 || y1 < y0 || h1 < h0; }
    int Width() const { return Empty() ? 0 : x1 - x0 + 1; }
    int Length() const { return Empty() ? 0 : y1 - y0 + 1; }
    int Height() const { return Empty() ? 0 : h1 - h0 + 1; }
    std::size_t CellCount() const {
        return static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Length()) *
               static_cast<std::size_t>(Height());
    }
    bool Contains(int x, int y, int h) const {
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && h >= h0 && h <= h1;
    }
    // The cells both boxes hold; an empty box when none.
    CellBox Intersected(const CellBox& other) const {
        return {std::max(x0, other.x0), std::max(y0, other.y0), std::max(h0, other.h0),
                std::min(x1, other.x1), std::min(y1, other.y1), std::min(h1, other.h1)};
    }
    friend bool operator==(const CellBox&, const CellBox&) = default;
};

}  // namespace stackmason
