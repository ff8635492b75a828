#include "editor/files/SchematicTagReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "editor/files/SchematicReader.h"

namespace stackmason {
namespace {

// Every tag costs a step of its own, however few bytes it has: an empty compound is one byte,
// and a file of a few hundred kilobytes can inflate to hundreds of millions of them. Besides
// its two arrays, a schematic of the largest building holds entities and tile entities of a
// few dozen tags each; millions of them are far beyond any real building.
constexpr std::uint64_t kMaxTags = std::uint64_t{1} << 24;

}  // namespace

IdCodeTable::IdCodeTable(const std::array<StoredCode, 256>& codes) : pairs_(65536), codes_(codes) {
    // The first id of a pair is its low byte and its code the low half, as they lie in memory.
    for (std::size_t second = 0; second < 256; ++second)
        for (std::size_t first = 0; first < 256; ++first)
            pairs_[second << 8 | first] = static_cast<std::uint16_t>(codes[first]) |
                                          static_cast<std::uint32_t>(static_cast<std::uint16_t>(codes[second])) << 16;
}

void IdCodeTable::Map(const std::uint8_t* ids, std::size_t count, StoredCode* cells) const {
    static_assert(std::endian::native == std::endian::little, "pairs are laid out for little-endian memory");
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint16_t low;
        std::uint16_t high;
        std::memcpy(&low, ids + i, 2);
        std::memcpy(&high, ids + i + 2, 2);
        const std::uint64_t four = pairs_[low] | std::uint64_t{pairs_[high]} << 32;
        std::memcpy(cells + i, &four, sizeof four);
    }
    for (; i < count; ++i)
        cells[i] = codes_[ids[i]];
}

SchematicTagReader::SchematicTagReader(CompressedFileReader& input, const IdCodeTable& codes, CellRows& rows)
    : nbt_(input, kMaxTags), codes_(codes), rows_(rows) {}

bool SchematicTagReader::ReadRoot() {
    return nbt_.ReadRootStart() &&
           nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) { return ReadRootEntry(type, name); });
}

bool SchematicTagReader::ReadRootEntry(std::uint8_t type, const std::string& name) {
    if (auto* size = SizeTagNamed(tags_.sizes, name))
        return nbt_.ReadInteger(type, name, *size);
    if (name == "Blocks")
        return ReadBlocks(type);
    return nbt_.SkipPayload(type, 1);
}

bool SchematicTagReader::ReadBlocks(std::uint8_t type) {
    if (type != kNbtByteArray)
        return nbt_.Fail("its \"Blocks\" tag is not a byte array");
    std::int32_t count = 0;
    if (!nbt_.ReadLength(count))
        return false;
    if (static_cast<std::uint64_t>(count) > kMaxSchematicCells)
        return nbt_.Fail("its \"Blocks\" array claims " + std::to_string(count) +
                         " cells, more than the largest building has");
    tags_.blockCount = static_cast<std::uint64_t>(count);
    tags_.blocksFound = true;
    tags_.cellsSizes.reset();
    tags_.blocks.reset();
    if (const auto sizes = SizesHolding(tags_.blockCount)) {
        tags_.cellsSizes = sizes;
        ++tags_.cellStarts;
        rows_.Start((*sizes)[0], (*sizes)[1], (*sizes)[2]);
        return ReadBlocksIntoRows(*sizes);
    }
    // Not zero-filled: untouched pages cost no memory if the file ends early.
    tags_.blocks = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(count));
    return nbt_.ReadExact(tags_.blocks.get(), static_cast<std::size_t>(count));
}
std::optional<std::array<int, 3>> SchematicTagReader::SizesHolding(std::uint64_t count) const {
    const auto sizes = FittingSizes(tags_.sizes);
    if (!sizes || std::uint64_t((*sizes)[0]) * std::uint64_t((*sizes)[1]) * std::uint64_t((*sizes)[2]) != count)
        return std::nullopt;
    return sizes;
}

bool SchematicTagReader::ReadBlocksIntoRows(const std::array<int, 3>& sizes) {
    // Rows lie one after the other in the array, layer by layer, as in the cells.
    constexpr std::size_t kChunkBytes = 64 * 1024;
    const auto [gridWidth, gridLength, gridHeight] = sizes;
    const std::size_t width = static_cast<std::size_t>(gridWidth);
    const std::size_t rowsPerChunk = std::max<std::size_t>(kChunkBytes / width, 1);
    const auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(rowsPerChunk * width);
    std::size_t rowsHeld = 0;
    const std::uint8_t* ids = nullptr;
    for (int h = 1; h <= gridHeight; ++h)
        for (int y = 1; y <= gridLength; ++y) {
            if (rowsHeld == 0) {
                const std::size_t rowsLeft =
                    std::size_t(gridHeight - h) * std::size_t(gridLength) + std::size_t(gridLength - y + 1);
                rowsHeld = std::min(rowsPerChunk, rowsLeft);
                if (!nbt_.ReadExact(chunk.get(), rowsHeld * width))
                    return false;
                ids = chunk.get();
            }
            codes_.Map(ids, width, rows_.Row(y, h));
            ids += width;
            --rowsHeld;
        }
    return true;
}


}  // namespace stackmason
