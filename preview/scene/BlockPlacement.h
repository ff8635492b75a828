#pragma once

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
    int Count() const { return static_cast<int>(blended_.size()) - 1; }

private:
    std::vector<std::uint8_t> blended_;  // index 0 is air
};

// The faces of the block at (x, y, layer) that can be seen: a face is hidden by a neighbour
// that is not blended, and between two blended blocks of the same code (the inside of a
// pane of glass). Cells outside the grid are air; (x, y, layer) itself lies in the building.
// The underside of layer 1 lies on the ground plane and is never drawn.
CubeFaceMask ExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds, int x, int y, int layer);

// Calls add(code, position, faces) for every cell that holds a block with at least one
// exposed face. The cells are visited in the building's memory order (layer by layer, row by
// row), which keeps a 512 x 512 x 256 walk in the cache; the order does not change what is
// drawn.
template <class AddInstance>
void ForEachBlockInstance(const stackmason::Building& grid, const BlockKinds& kinds, AddInstance&& add) {
    for (int layer = 1; layer <= grid.Height(); ++layer)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x) {
                const stackmason::BlockCode code = grid.Cell(x, y, layer);
                if (!kinds.IsBlock(code))
                    continue;
                const CubeFaceMask faces = ExposedFaces(grid, kinds, x, y, layer);
                if (faces != 0)
                    add(code, BlockPosition(x, y, layer, grid.Width(), grid.Length()), faces);
            }
}

// Faces drawn per code (index = code, 0 unused) and in all.
struct FaceCounts {
    std::vector<std::int64_t> perCode;
    std::int64_t total = 0;
    std::int64_t instances = 0;
};

FaceCounts CountExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds);

}  // namespace orbitscope
