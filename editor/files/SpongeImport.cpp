#include <utility>

#include "editor/files/SpongeFiles.h"

namespace stackmason {

StagedBuilding StageSponge(Building&& grid) {
    FrontPlane frontPlane(grid.Length(), grid.Height());
    return StagedBuilding{std::move(grid), std::move(frontPlane)};
}

}  // namespace stackmason
