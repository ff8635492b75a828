// Orbitscope's scene from a preview file and a pack, without a window: the engine keeps
// pixels and vertices until a frame draws them. The input is two bytes (little-endian) of
// preview file length, the preview file, then the pack's entries as the texture pack target
// takes them; the pack is stored as "pack.zip" beside the preview file, which the file's
// header may name or not.
#include <unistd.h>

#include <cstdint>
#include <span>

#include "common/TexturePackArchive.h"
#include "fuzz/FuzzSupport.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewBuilding.h"
#include "preview/scene/PreviewScene.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stackmason;
    using fuzz::Require;
    if (size < 2)
        return -1;
    static const bool inScratch = chdir(fuzz::ScratchFolder().c_str()) == 0;
    Require(inScratch, "scratch folder is the current directory");
    const std::size_t previewSize = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
    const std::span<const std::uint8_t> preview(data + 2, previewSize);
    const std::span<const std::uint8_t> pack(data + 2 + previewSize, size - 2 - previewSize);
    fuzz::WriteScratchFile("preview.tmp", preview);
    const std::vector<fuzz::ZipEntry> entries = fuzz::DecodeEntries(pack);
    fuzz::WriteScratchFile("pack.zip", fuzz::StoredZip(entries));

    orbitscope::PreviewBuilding building = orbitscope::ReadPreviewFile("preview.tmp");
    Require(building.grid.CellCount() <= std::size_t{513} * 513 * 257, "no more cells than the largest building");
    // Large grids are bounded by the reader; walking them for every input would only slow
    // the search down.
    if (building.grid.CellCount() > (1u << 20))
        return -1;
    const std::size_t cells = static_cast<std::size_t>(building.grid.Width()) * building.grid.Length() * building.grid.Height();
    orbitscope::Engine3D engine;
    orbitscope::CreateLightAndGround(engine, building, orbitscope::GroundImagePng());
    const orbitscope::BlockFigures figures = orbitscope::BuildBlocks(engine, building);
    Require(figures.instances >= 0 && static_cast<std::size_t>(figures.instances) <= cells, "at most one cube a cell");
    // Picture bytes may hold zip signatures of their own, so the count is the archive's as
    // the shared reader sees it, not the harness's list.
    if (building.packName == "pack.zip") {
        const auto archive = stackmason::TexturePackArchive::Open("pack.zip");
        Require(figures.templates == (archive ? archive->EntryCount() : 0), "one template per pack entry");
    }
    return 0;
}
