#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "editor/files/CompressedFileReader.h"
#include "editor/files/NbtInput.h"

namespace stackmason {

// The root tags a schematic is made of, as far as the file holds them.
struct SchematicTags {
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::optional<std::int64_t> length;
    bool blocksFound = false;
    std::unique_ptr<std::uint8_t[]> blocks;
    std::uint64_t blockCount = 0;
};

// Walks an NBT stream's root compound, reading past every tag of every type at any depth,
// and keeps what a schematic needs from the root's own tags: Width, Height and Length (any
// integer tag) and the Blocks byte array. Lengths in the data are never trusted for more
// than the bytes that actually follow, except Blocks, whose space is reserved only up to
// the cells of the largest building. The work a file can ask for is bounded (NbtInput).
class SchematicTagReader {
public:
    explicit SchematicTagReader(CompressedFileReader& input);

    // False when the data is no well-formed NBT compound; Problem() then says why.
    bool ReadRoot();
    const std::string& Problem() const { return nbt_.Problem(); }
    SchematicTags& Tags() { return tags_; }

private:
    bool ReadRootEntry(std::uint8_t type, const std::string& name);
    bool ReadBlocks(std::uint8_t type);

    NbtInput nbt_;
    SchematicTags tags_;
};

}  // namespace stackmason
