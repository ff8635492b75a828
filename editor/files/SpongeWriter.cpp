#include "editor/files/SpongeWriter.h"

#include <string_view>
#include <vector>

#include "common/BlockStates.h"
#include "editor/files/CodeCounts.h"
#include "editor/files/GameVersions.h"
#include "editor/files/GzipOutput.h"
#include "editor/files/NbtOutput.h"
#include "editor/files/SpongeReader.h"

namespace stackmason {
namespace {

constexpr std::int32_t kSpongeVersion = 2;

int VarintBytes(std::uint32_t value) {
    int bytes = 1;
    for (; value >= 0x80; value >>= 7)
        ++bytes;
    return bytes;
}

std::uint64_t BlockDataBytes(const CodeCounts& counts, const StatePalette& palette) {
    std::uint64_t bytes = 0;
    for (const BlockCode code : counts.CodesPresent())
        bytes += counts.Of(code) *
                 static_cast<std::uint64_t>(VarintBytes(palette.IndexOf(code)));
    return bytes;
}

void WriteHead(NbtOutput& tags, const LayerSource& layers, const SpongeMetadata& metadata, const StatePalette& palette) {
    tags.Header(kNbtCompound, "Schematic");
    tags.Header(kNbtInt, "Version");
    tags.Int(kSpongeVersion);
    tags.Header(kNbtInt, "DataVersion");
    tags.Int(metadata.dataVersion);
    tags.Header(kNbtShort, "Width");
    tags.Short(layers.width);
    tags.Header(kNbtShort, "Height");
    tags.Short(layers.height);
    tags.Header(kNbtShort, "Length");
    tags.Short(layers.length);
    tags.Header(kNbtIntArray, "Offset");
    tags.Int(3);
    for (int i = 0; i < 3; ++i)
        tags.Int(0);
    tags.Header(kNbtCompound, "Metadata");
    tags.Header(kNbtString, "Name");
    tags.Text(metadata.name);
    tags.Header(kNbtLong, "Date");
    tags.Long(metadata.dateMilliseconds);
    if (!metadata.packName.empty()) {
        tags.Header(kNbtString, kPackNameTag);
        tags.Text(metadata.packName);
    }
    tags.Byte(kNbtEnd);
    tags.Header(kNbtInt, "PaletteMax");
    tags.Int(static_cast<std::int64_t>(palette.states.size()));
    tags.Header(kNbtCompound, "Palette");
    for (std::size_t index = 0; index < palette.states.size(); ++index) {
        tags.Header(kNbtInt, palette.states[index]);
        tags.Int(static_cast<std::int64_t>(index));
    }
    tags.Byte(kNbtEnd);
}

// The cells' palette indexes, a row at a time: one byte each while the palette has fewer
// than 128 states, which is what nearly every building has.
void WriteBlockData(const LayerSource& layers, const StatePalette& palette, BlockedOutput& out) {
    const std::size_t width = static_cast<std::size_t>(layers.width);
    const std::uint32_t* const indexOf = palette.IndexByStoredCode();
    const bool oneByte = palette.states.size() <= 0x80;
    layers.forEachLayer([&](int, const LayerView& layer) {
        for (int y = 1; y <= layers.length; ++y) {
            const StoredCode* cells = layer.Row(y);
            if (oneByte) {
                std::uint8_t* row = out.Reserve(width);
                for (std::size_t x = 0; x < width; ++x)
                    row[x] = static_cast<std::uint8_t>(indexOf[cells[x]]);
                continue;
            }
            for (std::size_t x = 0; x < width; ++x) {
                std::uint32_t index = indexOf[cells[x]];
                std::uint8_t* at = out.Reserve(static_cast<std::size_t>(VarintBytes(index)));
                for (; index >= 0x80; index >>= 7)
                    *at++ = static_cast<std::uint8_t>((index & 0x7F) | 0x80);
                *at = static_cast<std::uint8_t>(index);
            }
        }
    });
}

}  // namespace

// The palette and the block data's length come before the data: a first pass over the
// layers counts the codes, a second writes them.
LeftOutCells WriteSpongeSchematic(const LayerSource& layers, const PackBlockStates& states,
                                  const SpongeMetadata& metadata, const ByteSink& sink) {
    CodeCounts counts;
    layers.forEachLayer([&counts](int, const LayerView& layer) { counts.AddLayer(layer.Holder(), layer.At()); });
    const StatePalette palette = MakeStatePalette(counts, states, metadata.dataVersion);

    GzipOutput gzip(sink);
    const ByteSink compressed = gzip.AsSink();
    {
        BlockedOutput out(compressed);
        NbtOutput tags(out);
        WriteHead(tags, layers, metadata, palette);
        tags.Header(kNbtByteArray, "BlockData");
        tags.Int(static_cast<std::int64_t>(BlockDataBytes(counts, palette)));
        WriteBlockData(layers, palette, out);
        tags.EmptyList("BlockEntities");
        tags.Byte(kNbtEnd);
        out.Flush();
    }
    gzip.Finish();
    return CountLeftOut(counts, states);
}

LeftOutCells WriteSpongeSchematic(const Building& grid, const PackBlockStates& states, const SpongeMetadata& metadata,
                                  const ByteSink& sink) {
    return WriteSpongeSchematic(LayersOf(grid), states, metadata, sink);
}

}  // namespace stackmason
