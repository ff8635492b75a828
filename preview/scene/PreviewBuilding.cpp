#include "preview/scene/PreviewBuilding.h"

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"

namespace orbitscope {

PreviewBuilding ReadPreviewFile(const std::string& path) {
    PreviewBuilding building;
    // Read a block at a time straight into the cells: the file is never held whole.
    std::optional<stackmason::FileReader> input = stackmason::FileReader::Open(path, stackmason::kMaxBuildingFileBytes);
    if (!input)
        return building;
    stackmason::LineReader lines([&input](std::uint8_t* out, std::size_t size) { return input->Read(out, size); });
    stackmason::BuildingFile file = stackmason::ReadBuildingFile(lines);
    if (input->Failed())
        return building;
    // The grid's sizes are the header's, limited to the largest building; the scene places
    // the blocks with them, which keeps every index it reads inside the grid.
    building.packName = std::move(file.header.packName);
    building.grid = std::move(file.grid);
    return building;
}

}  // namespace orbitscope
