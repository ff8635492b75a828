#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

#include "common/Building.h"
#include "preview/engine/CubeFaces.h"
#include "preview/scene/BlockTemplates.h"

namespace orbitscope {

// World centre of the cell (x, y, layer): building x along world x, building y along world z,
// layers up along world y, layer 1 standing on the ground plane y = 0.
glm::vec3 BlockPosition(int x, int y, int layer, int width, int length);

// Which codes stand for a drawn cube and how each is drawn. Codes without a template
// (negative, beyond the pack, or any code when there is no pack) are treated as air.
class BlockKinds {
public:
    explicit BlockKinds(const BlockTemplates& templates);

    bool IsBlock(stackmason::BlockCode code) const {
        return code >= 1 && static_cast<std::size_t>(code) < blended_.size();
    }
    bool IsBlended(stackmason::BlockCode code) const { return blended_[static_cast<std::size_t>(code)] != 0; }
    // Whether a neighbour hides the face of block self that it touches: any block that is not
    // blended does, and a blended one hides the faces of its own kind (the inside of a pane
    // of glass).
    bool HidesFace(stackmason::BlockCode self, stackmason::BlockCode neighbour) const {
        return IsBlock(neighbour) && (!IsBlended(neighbour) || neighbour == self);
    }
    int Count() const { return static_cast<int>(blended_.size()) - 1; }

private:
    std::vector<std::uint8_t> blended_;  // index 0 is air
};

// The faces of the block at (x, y, layer) that can be seen: a face is hidden by a neighbour
// that is not blended, and between two blended blocks of the same code (the inside of a
// pane of glass). Cells outside the grid are air; (x, y, layer) itself lies in the building.
// The underside of layer 1 is drawn too: the ground is one-sided, and a camera under it must
// see the building closed from below.
CubeFaceMask ExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds, int x, int y, int layer);

// ForEachBlockInstance for the layers firstLayer..lastLayer only (within 1..H).
template <class AddInstance>
void ForEachBlockInstanceInLayers(const stackmason::Building& grid, const BlockKinds& kinds, int firstLayer,
                                  int lastLayer, AddInstance&& add) {
    // ExposedFaces by rows: the neighbours of cell x are x +- 1 of the row and x of the rows
    // beside, above and below, which the index-0 planes of air keep inside the array.
    const int width = grid.Width();
    for (int layer = std::max(firstLayer, 1); layer <= std::min(lastLayer, grid.Height()); ++layer)
        for (int y = 1; y <= grid.Length(); ++y) {
            const stackmason::StoredCode* row = grid.Row(y, layer);
            const stackmason::StoredCode* front = grid.Row(y - 1, layer);
            const stackmason::StoredCode* back = y < grid.Length() ? grid.Row(y + 1, layer) : nullptr;
            const stackmason::StoredCode* below = layer > 1 ? grid.Row(y, layer - 1) : nullptr;
            const stackmason::StoredCode* above = layer < grid.Height() ? grid.Row(y, layer + 1) : nullptr;
            for (int x = 1; x <= width; ++x) {
                const stackmason::BlockCode code = row[x];
                if (!kinds.IsBlock(code))
                    continue;
                auto hides = [&](const stackmason::StoredCode* line, int at) {
                    return line != nullptr && kinds.HidesFace(code, line[at]);
                };
                CubeFaceMask faces = 0;
                if (!(x < width && kinds.HidesFace(code, row[x + 1]))) faces |= kFacePlusX;
                if (!kinds.HidesFace(code, row[x - 1])) faces |= kFaceMinusX;
                if (!hides(above, x)) faces |= kFacePlusY;
                if (!hides(below, x)) faces |= kFaceMinusY;
                if (!hides(back, x)) faces |= kFacePlusZ;
                if (!hides(front, x)) faces |= kFaceMinusZ;
                if (faces != 0)
                    add(code, BlockPosition(x, y, layer, width, grid.Length()), faces);
            }
        }
}

// Calls add(code, position, faces) for every cell that holds a block with at least one
// exposed face, faces being ExposedFaces of the cell. The cells are visited in the building's
// memory order (layer by layer, row by row), which keeps a 512 x 512 x 256 walk in the cache;
// the order does not change what is drawn.
template <class AddInstance>
void ForEachBlockInstance(const stackmason::Building& grid, const BlockKinds& kinds, AddInstance&& add) {
    ForEachBlockInstanceInLayers(grid, kinds, 1, grid.Height(), add);
}

// Faces drawn per code (index = code, 0 unused) and in all.
struct FaceCounts {
    std::vector<std::int64_t> perCode;
    std::int64_t total = 0;
    std::int64_t instances = 0;
};

FaceCounts CountExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds);

}  // namespace orbitscope
