#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "common/BlockStates.h"
#include "common/Building.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingLayers.h"
#include "editor/files/ByteSink.h"
#include "editor/files/StatePalette.h"

namespace stackmason {

// The Sponge schematic file (".schem") as the export writes it: version 2, gzip-compressed
// NBT. Its root compound "Schematic" holds Version 2, the DataVersion of the release whose
// block names it uses (SpongeMetadata), Width, Height and Length (the building's X, H and Y), Offset [0, 0, 0], Metadata
// with the file's Name, the Date of writing (milliseconds since 1970) and the pack's name
// (kPackNameTag), PaletteMax, the
// Palette of block states and their indexes (air first, then the others by block code),
// BlockData with each cell's palette index as a varint, cell (x, y, h) at
// (x - 1) + (y - 1) X + (h - 1) X Y, and an empty BlockEntities list.

struct SpongeMetadata {
    std::string name;
    std::int64_t dateMilliseconds = 0;
    // The pack the building was made with, so that this editor reads the file back with it;
    // other readers skip the tag. Not written when empty.
    std::string packName;
    // The game release the block names are those of, and the file's DataVersion.
    std::int64_t dataVersion = kBlockStateDataVersion;
};

// Hands the compressed file to the sink a block at a time, never holding the whole of it.
// The layers are passed over twice: to count the codes for the palette, then to write them.
LeftOutCells WriteSpongeSchematic(const LayerSource& layers, const PackBlockStates& states,
                                  const SpongeMetadata& metadata, const ByteSink& sink);
LeftOutCells WriteSpongeSchematic(const Building& grid, const PackBlockStates& states, const SpongeMetadata& metadata,
                                  const ByteSink& sink);

}  // namespace stackmason
