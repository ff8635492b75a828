#include "editor/files/SchematicTagReader.h"

#include "editor/files/SchematicReader.h"

namespace stackmason {
namespace {

// Every tag costs a step of its own, however few bytes it has: an empty compound is one byte,
// and a file of a few hundred kilobytes can inflate to hundreds of millions of them. Besides
// its two arrays, a schematic of the largest building holds entities and tile entities of a
// few dozen tags each; millions of them are far beyond any real building.
constexpr std::uint64_t kMaxTags = std::uint64_t{1} << 24;

}  // namespace

SchematicTagReader::SchematicTagReader(CompressedFileReader& input) : nbt_(input, kMaxTags) {}

bool SchematicTagReader::ReadRoot() {
    return nbt_.ReadRootStart() &&
           nbt_.ReadCompound([this](std::uint8_t type, const std::string& name) { return ReadRootEntry(type, name); });
}

bool SchematicTagReader::ReadRootEntry(std::uint8_t type, const std::string& name) {
    if (name == "Width")
        return nbt_.ReadInteger(type, name, tags_.width);
    if (name == "Height")
        return nbt_.ReadInteger(type, name, tags_.height);
    if (name == "Length")
        return nbt_.ReadInteger(type, name, tags_.length);
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
    // Not zero-filled: untouched pages cost no memory if the file ends early.
    tags_.blocks = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(count));
    tags_.blockCount = static_cast<std::uint64_t>(count);
    tags_.blocksFound = true;
    return nbt_.ReadExact(tags_.blocks.get(), static_cast<std::size_t>(count));
}

}  // namespace stackmason
