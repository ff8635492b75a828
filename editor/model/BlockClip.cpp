#include "editor/model/BlockClip.h"

#include <algorithm>
#include <cassert>

namespace stackmason {

BlockClip::BlockClip(int width, int length, int height)
    : width_(std::max(0, width)), length_(std::max(0, length)), height_(std::max(0, height)),
      cells_(std::make_shared<std::vector<StoredCode>>(static_cast<std::size_t>(width_) *
                                                        static_cast<std::size_t>(length_) *
                                                        static_cast<std::size_t>(height_))) {}

BlockClip ClipOfBox(const Building& grid, const CellBox& box) {
    assert(box.Empty() || (grid.Contains(box.x0, box.y0, box.h0) && grid.Contains(box.x1, box.y1, box.h1)));
    BlockClip clip(box.Width(), box.Length(), box.Height());
    for (int k = 0; k < clip.Height(); ++k)
        for (int j = 0; j < clip.Length(); ++j)
            std::copy_n(grid.Row(box.y0 + j, box.h0 + k) + box.x0, clip.Width(), clip.Row(j, k));
    return clip;
}

namespace {

// A clip of the given sizes whose cell (i, j, k) is the source's cell source(i, j) on layer k.
template <typename SourceOf>
BlockClip Remapped(const BlockClip& clip, int width, int length, SourceOf source) {
    BlockClip result(width, length, clip.Height());
    for (int k = 0; k < clip.Height(); ++k)
        for (int j = 0; j < length; ++j)
            for (int i = 0; i < width; ++i) {
                const auto [si, sj] = source(i, j);
                result.At(i, j, k) = clip.At(si, sj, k);
            }
    return result;
}

struct Cell2 {
    int i;
    int j;
};

}  // namespace

// Clockwise, (i, j) moves to (L - 1 - j, i); each new cell comes from (j, L - 1 - i).
BlockClip TurnedClockwise(const BlockClip& clip) {
    const int length = clip.Length();
    return Remapped(clip, clip.Length(), clip.Width(), [&](int i, int j) { return Cell2{j, length - 1 - i}; });
}

BlockClip TurnedAnticlockwise(const BlockClip& clip) {
    const int width = clip.Width();
    return Remapped(clip, clip.Length(), clip.Width(), [&](int i, int j) { return Cell2{width - 1 - j, i}; });
}

BlockClip MirroredLeftRight(const BlockClip& clip) {
    BlockClip result = clip;
    for (int k = 0; k < clip.Height(); ++k)
        for (int j = 0; j < clip.Length(); ++j)
            std::reverse(result.Row(j, k), result.Row(j, k) + clip.Width());
    return result;
}

BlockClip MirroredFrontBack(const BlockClip& clip) {
    BlockClip result(clip.Width(), clip.Length(), clip.Height());
    for (int k = 0; k < clip.Height(); ++k)
        for (int j = 0; j < clip.Length(); ++j)
            std::copy_n(clip.Row(clip.Length() - 1 - j, k), clip.Width(), result.Row(j, k));
    return result;
}

}  // namespace stackmason
