#include <vector>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/SpongeFiles.h"

namespace stackmason {
namespace {

// The code of each palette index; indexes the palette lacks are never named by a cell.
std::vector<StoredCode> CodesOfPalette(const SpongeSchematic& schematic, const SelectorModel& pack) {
    const ImportedStateCodes codes(pack);
    std::vector<StoredCode> result(schematic.palette.size(), 0);
    for (std::size_t index = 0; index < schematic.palette.size(); ++index)
        if (schematic.palette[index])
            result[index] = static_cast<StoredCode>(codes.CodeOf(*schematic.palette[index]));
    return result;
}

}  // namespace

StagedBuilding StageSponge(const SpongeSchematic& schematic, const SelectorModel& pack) {
    const std::vector<StoredCode> codes = CodesOfPalette(schematic, pack);
    StagedBuilding building = StageBuilding(schematic.width, schematic.length, schematic.height);
    Building& grid = building.grid;
    const std::uint8_t* at = schematic.blockData.get();
    const std::uint8_t* const end = at + schematic.blockDataBytes;
    // The reader has checked that the data holds one index of the palette per cell.
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y) {
            StoredCode* cells = grid.Row(y, h);
            for (int x = 1; x <= grid.Width(); ++x) {
                std::uint32_t index = *at;
                if (index < 0x80)
                    ++at;
                else
                    ReadVarint(at, end, index);
                cells[x] = codes[index];
            }
        }
    return building;
}

}  // namespace stackmason
