#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/files/CompressedFileReader.h"
#include "editor/files/NbtInput.h"
#include "editor/files/SchematicReader.h"

namespace stackmason {

// Turns block id bytes into cell codes two at a time: a table over every pair of ids (256 KB)
// halves the lookups and stores of a table over single ids, where importing the largest
// building spends most of its time.
class IdCodeTable {
public:
    explicit IdCodeTable(const std::array<StoredCode, 256>& codes);
    void Map(const std::uint8_t* ids, std::size_t count, StoredCode* cells) const;

private:
    std::vector<std::uint32_t> pairs_;
    std::array<StoredCode, 256> codes_;
};

// The root tags a schematic is made of, as far as the file holds them.
struct SchematicTags {
    SizeTags sizes;
    bool blocksFound = false;
    std::uint64_t blockCount = 0;
    // The sizes the Blocks array was handed over by as cells, when they came before it and
    // fit it...
    std::optional<std::array<int, 3>> cellsSizes;
    int cellStarts = 0;
    // ...or else its id bytes as they stand. Only the one of the last Blocks tag is held.
    std::unique_ptr<std::uint8_t[]> blocks;
};

// Walks an NBT stream's root compound, reading past every tag of every type at any depth,
// and keeps what a schematic needs from the root's own tags: Width, Height and Length (any
// integer tag) and the Blocks byte array. Lengths in the data are never trusted for more
// than the bytes that actually follow, except Blocks, whose space is reserved only up to
// the cells of the largest building. Where Width, Height and Length come before Blocks and
// fit a building of as many cells as Blocks holds, the ids are turned into codes straight
// into a building of those sizes, a block of rows at a time. The work a file can ask for is
// bounded (NbtInput).
class SchematicTagReader {
public:
    SchematicTagReader(CompressedFileReader& input, const IdCodeTable& codes, CellRows& rows);

    // False when the data is no well-formed NBT compound; Problem() then says why.
    bool ReadRoot();
    const std::string& Problem() const { return nbt_.Problem(); }
    SchematicTags& Tags() { return tags_; }

private:
    bool ReadRootEntry(std::uint8_t type, const std::string& name);
    bool ReadBlocks(std::uint8_t type);
    // The sizes read so far when they fit a building of `count` cells.
    std::optional<std::array<int, 3>> SizesHolding(std::uint64_t count) const;
    bool ReadBlocksIntoRows(const std::array<int, 3>& sizes);

    NbtInput nbt_;
    const IdCodeTable& codes_;
    CellRows& rows_;
    SchematicTags tags_;
};

}  // namespace stackmason
