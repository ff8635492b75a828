#pragma once

#include <cstdint>

#include "common/BlockGrid.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/ByteSink.h"

namespace stackmason {

// The schematic file as exported: uncompressed NBT, a compound "Schematic" holding the shorts
// Height, Length and Width, the empty lists Entities and TileEntities, the string Materials
// "Alpha", and the byte arrays Data and Blocks with one byte per cell, layer by layer, each
// layer row by row, each row from x = 1 up. Numbers are big-endian.

// 124 + 2N bytes for N cells.
std::uint64_t SchematicFileSize(int width, int length, int height);

// Writes the whole file for the grid's cells with the grid's sizes.
void WriteSchematic(const BlockGrid& grid, const ExportedBlocks& blocks, ByteSink& sink);

}  // namespace stackmason
