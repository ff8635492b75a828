#include "editor/files/SchematicWriter.h"

#include <algorithm>
#include <memory>

#include "editor/files/NbtOutput.h"

namespace stackmason {
namespace {

std::uint32_t CellCount(const LayerSource& layers) {
    return static_cast<std::uint32_t>(layers.width) * static_cast<std::uint32_t>(layers.length) *
           static_cast<std::uint32_t>(layers.height);
}

// Converts one row's cells into data values and ids. The tables are held in locals, since
// byte stores could alias them.
void ConvertRow(const StoredCode* cells, std::size_t count, const ExportedBlocks& blocks, std::uint8_t* dataValues,
                std::uint8_t* ids) {
    const std::uint8_t* const idTable = blocks.ids.data();
    const std::uint8_t* const dataTable = blocks.dataValues.data();
    const std::uint32_t tableSize = static_cast<std::uint32_t>(blocks.ids.size());
    for (std::size_t i = 0; i < count; ++i) {
        // Codes outside the pack, negative ones included, export as air.
        const std::uint32_t code = static_cast<std::uint32_t>(BlockCode{cells[i]});
        const bool inPack = code < tableSize;
        dataValues[i] = inPack ? dataTable[code] : 0;
        ids[i] = inPack ? idTable[code] : 0;
    }
}

// One of the arrays, whose cell (x, y, h) is at ((h - 1) * Y + (y - 1)) * X + (x - 1): the
// building's own rows in its own order, one pass over its layers. The array not wanted is
// written to scratch.
void WriteArray(const LayerSource& layers, const ExportedBlocks& blocks, bool ids, BlockedOutput& out) {
    const std::size_t width = static_cast<std::size_t>(layers.width);
    const auto scratch = std::make_unique_for_overwrite<std::uint8_t[]>(width);
    layers.forEachLayer([&](int, const LayerView& layer) {
        for (int y = 1; y <= layers.length; ++y) {
            std::uint8_t* row = out.Reserve(width);
            if (ids)
                ConvertRow(layer.Row(y), width, blocks, scratch.get(), row);
            else
                ConvertRow(layer.Row(y), width, blocks, row, scratch.get());
        }
    });
}

}  // namespace

std::uint64_t SchematicFileSize(int width, int length, int height) {
    return 124 + 2 * std::uint64_t(width) * std::uint64_t(length) * std::uint64_t(height);
}

void WriteSchematic(const LayerSource& layers, const ExportedBlocks& blocks, const ByteSink& sink) {
    const std::uint32_t cellCount = CellCount(layers);
    BlockedOutput out(sink);
    NbtOutput tags(out);
    tags.Header(kNbtCompound, "Schematic");
    tags.Header(kNbtShort, "Height");
    tags.Short(layers.height);
    tags.Header(kNbtShort, "Length");
    tags.Short(layers.length);
    tags.Header(kNbtShort, "Width");
    tags.Short(layers.width);
    tags.EmptyList("Entities");
    tags.EmptyList("TileEntities");
    tags.Header(kNbtString, "Materials");
    tags.Text("Alpha");
    tags.Header(kNbtByteArray, "Data");
    tags.Int(cellCount);
    WriteArray(layers, blocks, false, out);
    tags.Header(kNbtByteArray, "Blocks");
    tags.Int(cellCount);
    WriteArray(layers, blocks, true, out);
    tags.Byte(kNbtEnd);
    out.Flush();
}

void WriteSchematic(const Building& grid, const ExportedBlocks& blocks, const ByteSink& sink) {
    WriteSchematic(LayersOf(grid), blocks, sink);
}

EncodedSchematic EncodeSchematic(const Building& grid, const ExportedBlocks& blocks) {
    EncodedSchematic encoded;
    encoded.size = static_cast<std::size_t>(SchematicFileSize(grid.Width(), grid.Length(), grid.Height()));
    encoded.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(encoded.size);
    std::uint8_t* at = encoded.bytes.get();
    WriteSchematic(grid, blocks, [&at](std::span<const std::uint8_t> block) {
        at = std::copy(block.begin(), block.end(), at);
    });
    return encoded;
}

}  // namespace stackmason
