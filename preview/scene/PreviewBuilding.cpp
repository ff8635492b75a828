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
    // The grid's sizes are the header's, limited to the largest building; placing the blocks
    // with them keeps every index the scene reads inside the grid.
    building.width = file.grid.Width();
    building.length = file.grid.Length();
    building.height = file.grid.Height();
    building.packName = std::move(file.header.packName);
    building.grid = std::move(file.grid);
    return building;
}

}  // namespace orbitscope
