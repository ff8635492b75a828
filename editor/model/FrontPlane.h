#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

#include "common/Building.h"

namespace stackmason {

// The FrontView working copy of one slice, addressed (y, p) with p the picture row counted
// from the top (p = 1 is the top layer). Row 0 and column 0 exist but are never used.
class FrontPlane {
public:
    FrontPlane() = default;
    FrontPlane(int length, int height);

    int Length() const { return length_; }
    int Height() const { return height_; }
    bool HasExtents(int length, int height) const { return length_ == length && height_ == height; }

    BlockCode At(int y, int p) const { return cells_[Index(y, p)]; }
    BlockCode& At(int y, int p) { return cells_[Index(y, p)]; }

private:
    std::size_t Index(int y, int p) const {
        assert(y >= 0 && y <= length_ && p >= 0 && p <= height_);
        return static_cast<std::size_t>(y) * (height_ + 1) + p;
    }

    int length_ = 0;
    int height_ = 0;
    std::vector<BlockCode> cells_ = std::vector<BlockCode>(1, 0);
};

}  // namespace stackmason
