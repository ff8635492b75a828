#include "editor/files/LitematicWriter.h"

#include <bit>
#include <limits>
#include <vector>

#include "editor/files/BlockProperties.h"
#include "editor/files/CodeCounts.h"
#include "editor/files/GameVersions.h"
#include "editor/files/GzipOutput.h"
#include "editor/files/NbtOutput.h"
#include "editor/files/SpongeReader.h"

namespace stackmason {
namespace {

constexpr std::int32_t kLitematicVersion = 6;
constexpr std::int32_t kLitematicSubVersion = 1;

std::uint64_t NonAirCells(const CodeCounts& counts, const StatePalette& palette) {
    std::uint64_t cells = 0;
    for (const BlockCode code : counts.CodesPresent())
        if (palette.IndexOf(code) != 0)
            cells += counts.Of(code);
    return cells;
}

void Vector(NbtOutput& tags, std::string_view name, std::int64_t x, std::int64_t y, std::int64_t z) {
    tags.Header(kNbtCompound, name);
    for (const auto& [axis, value] : {std::pair{"x", x}, std::pair{"y", y}, std::pair{"z", z}}) {
        tags.Header(kNbtInt, axis);
        tags.Int(value);
    }
    tags.Byte(kNbtEnd);
}

void WriteMetadata(NbtOutput& tags, const LayerSource& layers, const LitematicMetadata& metadata,
                   std::uint64_t nonAirCells) {
    tags.Header(kNbtCompound, "Metadata");
    tags.Header(kNbtString, "Name");
    tags.Text(metadata.name);
    tags.Header(kNbtString, "Author");
    tags.Text(metadata.author);
    tags.Header(kNbtString, "Description");
    tags.Text("");
    tags.Header(kNbtInt, "RegionCount");
    tags.Int(1);
    tags.Header(kNbtInt, "TotalBlocks");
    tags.Int(static_cast<std::int64_t>(nonAirCells));
    tags.Header(kNbtInt, "TotalVolume");
    tags.Int(std::int64_t{layers.width} * layers.length * layers.height);
    Vector(tags, "EnclosingSize", layers.width, layers.height, layers.length);
    tags.Header(kNbtLong, "TimeCreated");
    tags.Long(metadata.timeMilliseconds);
    tags.Header(kNbtLong, "TimeModified");
    tags.Long(metadata.timeMilliseconds);
    if (!metadata.packName.empty()) {
        tags.Header(kNbtString, kPackNameTag);
        tags.Text(metadata.packName);
    }
    tags.Byte(kNbtEnd);
}

void WritePalette(NbtOutput& tags, const StatePalette& palette) {
    tags.Header(kNbtList, "BlockStatePalette");
    tags.Byte(kNbtCompound);
    tags.Int(static_cast<std::int64_t>(palette.states.size()));
    for (const std::string& state : palette.states) {
        const ParsedState parsed = ParseState(state);
        tags.Header(kNbtString, "Name");
        tags.Text(parsed.id);
        if (!parsed.properties.empty()) {
            tags.Header(kNbtCompound, "Properties");
            for (const auto& [key, value] : parsed.properties) {
                tags.Header(kNbtString, key);
                tags.Text(value);
            }
            tags.Byte(kNbtEnd);
        }
        tags.Byte(kNbtEnd);
    }
}

// Packs the entries into longs as they come, each long written once it is full.
class PackedLongs {
public:
    PackedLongs(int bits, BlockedOutput& out) : bits_(bits), out_(out) {}

    void Add(std::uint64_t entry) {
        word_ |= entry << used_;
        used_ += bits_;
        if (used_ < 64)
            return;
        Put(word_);
        used_ -= 64;
        // The entry's high bits that did not fit run on into the next long.
        word_ = used_ > 0 ? entry >> (bits_ - used_) : 0;
    }
    void Finish() {
        if (used_ > 0)
            Put(word_);
    }

private:
    void Put(std::uint64_t value) {
        std::uint8_t* at = out_.Reserve(8);
        for (int i = 7; i >= 0; --i, value >>= 8)
            at[i] = static_cast<std::uint8_t>(value & 0xFF);
    }

    int bits_;
    BlockedOutput& out_;
    std::uint64_t word_ = 0;
    int used_ = 0;
};

void WriteBlockStates(const LayerSource& layers, const StatePalette& palette, BlockedOutput& out, int bits) {
    const std::uint32_t* const indexOf = palette.IndexByStoredCode();
    PackedLongs packed(bits, out);
    layers.forEachLayer([&](int, const LayerView& layer) {
        for (int y = 1; y <= layers.length; ++y) {
            const StoredCode* cells = layer.Row(y);
            for (int x = 0; x < layers.width; ++x)
                packed.Add(indexOf[cells[x]]);
        }
    });
    packed.Finish();
}

}  // namespace

int LitematicBitsPerEntry(std::size_t paletteSize) {
    const int width = paletteSize <= 1 ? 0 : static_cast<int>(std::bit_width(paletteSize - 1));
    return width < 2 ? 2 : width;
}

// The palette and the counts in Metadata come before the cells: a first pass over the
// layers counts the codes, a second writes them.
LeftOutCells WriteLitematic(const LayerSource& layers, const PackBlockStates& states,
                            const LitematicMetadata& metadata, const ByteSink& sink) {
    CodeCounts counts;
    layers.forEachLayer([&counts](int, const LayerView& layer) { counts.AddLayer(layer.Holder(), layer.At()); });
    const StatePalette palette = MakeStatePalette(counts, states, metadata.dataVersion);
    const int bits = LitematicBitsPerEntry(palette.states.size());
    const std::uint64_t volume = std::uint64_t(layers.width) * std::uint64_t(layers.length) * std::uint64_t(layers.height);

    GzipOutput gzip(sink);
    const ByteSink compressed = gzip.AsSink();
    {
        BlockedOutput out(compressed);
        NbtOutput tags(out);
        tags.Header(kNbtCompound, "");
        tags.Header(kNbtInt, "MinecraftDataVersion");
        tags.Int(metadata.dataVersion);
        tags.Header(kNbtInt, "Version");
        tags.Int(kLitematicVersion);
        tags.Header(kNbtInt, "SubVersion");
        tags.Int(kLitematicSubVersion);
        WriteMetadata(tags, layers, metadata, NonAirCells(counts, palette));
        tags.Header(kNbtCompound, "Regions");
        tags.Header(kNbtCompound, metadata.name);
        Vector(tags, "Position", 0, 0, 0);
        Vector(tags, "Size", layers.width, layers.height, layers.length);
        WritePalette(tags, palette);
        tags.Header(kNbtLongArray, "BlockStates");
        tags.Int(static_cast<std::int64_t>((volume * static_cast<std::uint64_t>(bits) + 63) / 64));
        WriteBlockStates(layers, palette, out, bits);
        for (const char* list : {"Entities", "TileEntities", "PendingBlockTicks", "PendingFluidTicks"})
            tags.EmptyList(list);
        tags.Byte(kNbtEnd);  // the region
        tags.Byte(kNbtEnd);  // Regions
        tags.Byte(kNbtEnd);  // the root
        out.Flush();
    }
    gzip.Finish();
    return CountLeftOut(counts, states);
}

}  // namespace stackmason
