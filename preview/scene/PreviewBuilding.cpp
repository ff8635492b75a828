#include "preview/scene/PreviewBuilding.h"

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"

namespace orbitscope {

PreviewBuilding ReadPreviewFile(const std::string& path) {
    PreviewBuilding building;
    // Read a block at a time straight into the cells: the file is never held whole. Whatever
    // its size, reading ends after layer H, which is all the reading rules look at; the
    // bytes read are bounded all the same (a largest building needs about a quarter of
    // them), so that endless rows or empty lines cannot hold the start-up for long.
    std::optional<stackmason::FileReader> input =
        stackmason::FileReader::OpenStart(path, stackmason::kMaxBuildingFileBytes);
    if (!input)
        return building;
    stackmason::LineReader lines([&input](std::uint8_t* out, std::size_t size) { return input->Read(out, size); });
    stackmason::BuildingFile file = stackmason::ReadBuildingFileAsItStands(lines);
    if (input->Failed())
        return building;
    // The grid's sizes are the header's as they stand, within the cells of the largest
    // building; the scene places the blocks with them, which keeps every index it reads
    // inside the grid.
    building.packName = std::move(file.header.packName);
    building.grid = std::move(file.grid);
    return building;
}

}  // namespace orbitscope
