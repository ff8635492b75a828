#pragma once

#include <cstdint>
#include <string>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingLayers.h"
#include "editor/files/ByteSink.h"
#include "editor/files/SpongeWriter.h"

namespace stackmason {

// Litematica's schematic (".litematic") as the export writes it: version 6 (SubVersion 1),
// gzip-compressed NBT, its root compound named "". It holds MinecraftDataVersion, Metadata
// (Name, Author, Description, RegionCount 1, TotalBlocks, TotalVolume, EnclosingSize,
// TimeCreated, TimeModified and the pack's name, kPackNameTag) and Regions with one region
// named after the file: Position {0, 0, 0}, Size {X, H, Y}, BlockStatePalette (air first),
// BlockStates and empty lists of entities, tile entities and pending ticks.
//
// The axes are the builder's: the file's x is the column (east), its z the row (south) and its
// y the layer minus 1. BlockStates packs each cell's palette index into
// max(2, bit width of (palette size - 1)) bits, from the low bits of the first long on, an
// entry running on into the next long where it falls so; cell (x, y, h) is entry
// ((h - 1) Y + (y - 1)) X + (x - 1).

struct LitematicMetadata {
    std::string name;
    std::string author;
    std::int64_t timeMilliseconds = 0;
    // As for SpongeMetadata; not written when empty.
    std::string packName;
    // The release whose block names the palette uses.
    std::int64_t dataVersion = 0;
};

// The bits an entry of BlockStates takes for a palette of this many states.
int LitematicBitsPerEntry(std::size_t paletteSize);

// Hands the compressed file to the sink a block at a time, never holding the whole of it.
// The layers are passed over twice: to count the codes for the palette, then to write them.
LeftOutCells WriteLitematic(const LayerSource& layers, const PackBlockStates& states,
                            const LitematicMetadata& metadata, const ByteSink& sink);

}  // namespace stackmason
