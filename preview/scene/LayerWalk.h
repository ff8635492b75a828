#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include <glm/vec3.hpp>

#include "common/Building.h"
#include "preview/engine/BuildProgress.h"
#include "preview/engine/CubeFaces.h"
#include "preview/engine/WorkerPool.h"
#include "preview/scene/BlockPlacement.h"

namespace orbitscope {

// A block of the building as the scene adds it: ForEachBlockInstance's arguments.
struct PlacedBlock {
    glm::vec3 position;
    stackmason::BlockCode code;
    CubeFaceMask faces;
};

// ForEachBlockInstance with the work spread over the pool: the layers are walked on its
// threads, a few ahead, and each layer's blocks are handed to addLayer on the calling thread,
// layer 1 first, in the order ForEachBlockInstance finds them. Once progress is cancelled
// no further layer is handed over. Returns after every job it posted has run.
void WalkLayersOnPool(WorkerPool& pool, const stackmason::Building& grid, const BlockKinds& kinds,
                      const BuildProgress* progress, const std::function<void(std::span<const PlacedBlock>)>& addLayer);

// What the scene build needs to know of the building before it starts, counted on the pool's
// threads in one pass over the cells.
struct BuildingCensus {
    // Cubes of kChunkSide cells, counted from cell 1 on each axis, that hold a block.
    std::int64_t chunksWithBlocks = 0;
    // Whether code c (index c, 1..kinds.Count()) stands in some cell.
    std::vector<bool> codesInUse;
};
BuildingCensus TakeCensus(WorkerPool& pool, const stackmason::Building& grid, const BlockKinds& kinds);

}  // namespace orbitscope
