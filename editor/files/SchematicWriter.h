#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "common/Building.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingLayers.h"
#include "editor/files/ByteSink.h"

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

// Hands the file for the grid's cells with the grid's sizes to the sink, a block at a time,
// without holding the whole of it. The layers are passed over twice, for Data and for Blocks.
void WriteSchematic(const LayerSource& layers, const ExportedBlocks& blocks, const ByteSink& sink);
void WriteSchematic(const Building& grid, const ExportedBlocks& blocks, const ByteSink& sink);

// The whole file in memory, for callers that want its bytes.
EncodedSchematic EncodeSchematic(const Building& grid, const ExportedBlocks& blocks);

}  // namespace stackmason
