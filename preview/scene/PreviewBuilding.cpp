#include "preview/scene/PreviewBuilding.h"

#include <algorithm>
#include <filesystem>

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"

namespace orbitscope {

PreviewBuilding ReadPreviewFile(const std::string& path, BuildProgress* progress) {
    PreviewBuilding building;
    // Read a block at a time straight into the cells: the file is never held whole. Whatever
    // its size, reading ends after layer H, which is all the reading rules look at; the
    // bytes read are bounded all the same (a largest building needs about a quarter of
    // them), so that endless rows or empty lines cannot hold the start-up for long.
    std::optional<stackmason::FileReader> input =
        stackmason::FileReader::OpenStart(path, stackmason::kMaxBuildingFileBytes);
    if (!input)
        return building;
    if (progress) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        // No more than the bytes that are read at most.
        progress->Begin(BuildStage::Reading,
                        error ? 0 : static_cast<std::int64_t>(std::min<std::uintmax_t>(size, stackmason::kMaxBuildingFileBytes)));
    }
    stackmason::LineReader lines([&input, progress](std::uint8_t* out, std::size_t size) -> std::size_t {
        if (progress == nullptr)
            return input->Read(out, size);
        if (progress->Cancelled())
            return 0;
        const std::size_t read = input->Read(out, size);
        progress->Advance(static_cast<std::int64_t>(read));
        return read;
    });
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
