#include "preview/scene/PreviewBuilding.h"

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"

namespace orbitscope {

PreviewBuilding ReadPreviewFile(const std::string& path) {
    PreviewBuilding building;
    const auto bytes = stackmason::ReadFileBytes(path, stackmason::kMaxBuildingFileBytes);
    if (!bytes)
        return building;
    stackmason::BuildingFile file = stackmason::ReadBuildingFile(*bytes);
    // The grid's sizes are the header's, limited to the largest building; the scene places
    // the blocks with them, which keeps every index it reads inside the grid.
    building.packName = std::move(file.header.packName);
    building.grid = std::move(file.grid);
    return building;
}

}  // namespace orbitscope
