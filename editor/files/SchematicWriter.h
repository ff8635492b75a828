#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "common/Building.h"
#include "editor/files/BlockIdMapping.h"

namespace stackmason {

// The schematic file as exported: uncompressed NBT, a compound "Schematic" holding the shorts
// Height, Length and Width, the empty lists Entities and TileEntities, the string Materials
// "Alpha", and the byte arrays Data and Blocks with one byte per cell, layer by layer, each
// layer row by row, each row from x = 1 up. Numbers are big-endian.

// 124 + 2N bytes for N cells.
std::uint64_t SchematicFileSize(int width, int length, int height);

struct EncodedSchematic {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;

    std::span<const std::uint8_t> Bytes() const { return {bytes.get(), size}; }
};

// The whole file for the grid's cells with the grid's sizes.
EncodedSchematic EncodeSchematic(const Building& grid, const ExportedBlocks& blocks);

}  // namespace stackmason
