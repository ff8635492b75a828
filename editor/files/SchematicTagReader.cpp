#include "editor/files/SchematicTagReader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/Constants.h"
#include "editor/files/SchematicReader.h"

namespace stackmason {
namespace {

enum TagType : std::uint8_t {
    kEnd = 0,
    kByte = 1,
    kShort = 2,
    kInt = 3,
    kLong = 4,
    kFloat = 5,
    kDouble = 6,
    kByteArray = 7,
    kString = 8,
    kList = 9,
    kCompound = 10,
    kIntArray = 11,
    kLongArray = 12,
};

// Real files nest a few levels; this only stops data built to exhaust the stack.
constexpr int kMaxDepth = 512;

// Every tag costs a step of its own, however few bytes it has: an empty compound is one byte,
// and a file of a few hundred kilobytes can inflate to hundreds of millions of them. Besides
// its two arrays, a schematic of the largest building holds entities and tile entities of a
// few dozen tags each; millions of them are far beyond any real building.
constexpr std::uint64_t kMaxTags = std::uint64_t{1} << 24;

// Bytes per element of the tags whose payload has a fixed size; 0 for the others.
int FixedPayloadBytes(std::uint8_t type) {
    switch (type) {
    case kByte:
        return 1;
    case kShort:
        return 2;
    case kInt:
    case kFloat:
        return 4;
    case kLong:
    case kDouble:
        return 8;
    default:
        return 0;
    }
}

// The fewest bytes an element of a list of this type can have: an end tag, a length field,
// or a list's element type and length.
std::uint64_t SmallestPayloadBytes(std::uint8_t type) {
    switch (type) {
    case kString:
        return 2;
    case kList:
        return 5;
    case kByteArray:
    case kIntArray:
    case kLongArray:
        return 4;
    default:
        return 1;
    }
}

int ArrayElementBytes(std::uint8_t type) {
    switch (type) {
    case kByteArray:
        return 1;
    case kIntArray:
        return 4;
    case kLongArray:
        return 8;
    default:
        return 0;
    }
}

std::int64_t SignExtend(std::uint64_t value, int bytes) {
    const int unusedBits = 64 - 8 * bytes;
    return static_cast<std::int64_t>(value << unusedBits) >> unusedBits;
}

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

SchematicTagReader::SchematicTagReader(CompressedFileReader& input, const IdCodeTable& codes)
    : input_(input), codes_(codes), tagsLeft_(kMaxTags) {}

bool SchematicTagReader::Fail(std::string problem) {
    if (problem_.empty())
        problem_ = std::move(problem);
    return false;
}

bool SchematicTagReader::Truncated() {
    switch (input_.GetProblem()) {
    case CompressedFileReader::Problem::Damaged:
        return Fail("its compressed data is damaged");
    case CompressedFileReader::Problem::TooLarge:
        return Fail("it holds far more data than a schematic of the largest building");
    case CompressedFileReader::Problem::ReadError:
        return Fail("reading it failed");
    default:
        return Fail("it ends in the middle of its data");
    }
}

bool SchematicTagReader::ReadExact(void* out, std::size_t size) {
    return input_.Read(static_cast<std::uint8_t*>(out), size) == size || Truncated();
}

bool SchematicTagReader::ReadByte(std::uint8_t& value) { return input_.ReadByte(value) || Truncated(); }

bool SchematicTagReader::ReadUnsigned(int bytes, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < bytes; ++i) {
        std::uint8_t byte = 0;
        if (!ReadByte(byte))
            return false;
        value = (value << 8) | byte;
    }
    return true;
}

bool SchematicTagReader::ReadLength(std::int32_t& value) {
    std::uint64_t raw = 0;
    if (!ReadUnsigned(4, raw))
        return false;
    value = static_cast<std::int32_t>(SignExtend(raw, 4));
    return value >= 0 || Fail("an array or list in it claims a negative length");
}

bool SchematicTagReader::ReadName(std::string& name) {
    std::uint64_t size = 0;
    if (!ReadUnsigned(2, size))
        return false;
    name.resize(static_cast<std::size_t>(size));
    return ReadExact(name.data(), name.size());
}

bool SchematicTagReader::SkipName() {
    std::uint64_t size = 0;
    return ReadUnsigned(2, size) && SkipBytes(size);
}

bool SchematicTagReader::SkipBytes(std::uint64_t count) { return input_.Skip(count) || Truncated(); }

bool SchematicTagReader::CountTags(std::uint64_t count) {
    if (count > tagsLeft_)
        return Fail("it holds more than " + std::to_string(kMaxTags) +
                    " tags, far more than a schematic of the largest building");
    tagsLeft_ -= count;
    return true;
}

// Refuses a list whose elements could not all be there before reading any of them.
bool SchematicTagReader::ClaimElements(std::uint64_t count, std::uint8_t type) {
    if (count * SmallestPayloadBytes(type) > input_.ContentLeftAtMost())
        return Fail("a list in it claims " + std::to_string(count) + " elements, more than the rest of the file holds");
    return CountTags(count);
}

bool SchematicTagReader::ReadRoot() {
    std::uint8_t type = 0;
    if (input_.GetProblem() == CompressedFileReader::Problem::CannotOpen)
        return Fail("it cannot be opened");
    if (!ReadByte(type))
        return false;
    if (type != kCompound)
        return Fail("it does not start with an NBT compound, so it is no schematic file");
    if (!SkipName())
        return false;
    for (;;) {
        std::string name;
        if (!ReadByte(type))
            return false;
        if (type == kEnd)
            return true;
        if (!CountTags(1) || !ReadName(name) || !ReadRootEntry(type, name))
            return false;
    }
}

bool SchematicTagReader::ReadRootEntry(std::uint8_t type, const std::string& name) {
    if (name == "Width")
        return ReadSize(type, name, tags_.width);
    if (name == "Height")
        return ReadSize(type, name, tags_.height);
    if (name == "Length")
        return ReadSize(type, name, tags_.length);
    if (name == "Blocks")
        return ReadBlocks(type);
    return SkipPayload(type, 1);
}

bool SchematicTagReader::ReadSize(std::uint8_t type, const std::string& name, std::optional<std::int64_t>& size) {
    const int bytes = FixedPayloadBytes(type);
    if (bytes == 0 || type == kFloat || type == kDouble)
        return Fail("its \"" + name + "\" tag is not a whole number");
    std::uint64_t raw = 0;
    if (!ReadUnsigned(bytes, raw))
        return false;
    size = SignExtend(raw, bytes);
    return true;
}

bool SchematicTagReader::ReadBlocks(std::uint8_t type) {
    if (type != kByteArray)
        return Fail("its \"Blocks\" tag is not a byte array");
    std::int32_t count = 0;
    if (!ReadLength(count))
        return false;
    if (static_cast<std::uint64_t>(count) > kMaxSchematicCells)
        return Fail("its \"Blocks\" array claims " + std::to_string(count) +
                    " cells, more than the largest building has");
    tags_.blockCount = static_cast<std::uint64_t>(count);
    tags_.blocksFound = true;
    tags_.grid.reset();
    tags_.blocks.reset();
    if (const auto sizes = SizesHolding(tags_.blockCount)) {
        tags_.grid.emplace((*sizes)[0], (*sizes)[1], (*sizes)[2]);
        return ReadBlocksIntoCells(*tags_.grid);
    }
    // Not zero-filled: untouched pages cost no memory if the file ends early.
    tags_.blocks = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(count));
    return ReadExact(tags_.blocks.get(), static_cast<std::size_t>(count));
}

std::optional<std::array<int, 3>> SchematicTagReader::SizesHolding(std::uint64_t count) const {
    const auto fits = [](const std::optional<std::int64_t>& size, int maximum) {
        return size && *size >= 1 && *size <= maximum;
    };
    if (!fits(tags_.width, kMaxGridWidth) || !fits(tags_.length, kMaxGridLength) || !fits(tags_.height, kMaxGridHeight))
        return std::nullopt;
    const std::array<int, 3> sizes = {static_cast<int>(*tags_.width), static_cast<int>(*tags_.length),
                                      static_cast<int>(*tags_.height)};
    if (std::uint64_t(sizes[0]) * std::uint64_t(sizes[1]) * std::uint64_t(sizes[2]) != count)
        return std::nullopt;
    return sizes;
}

bool SchematicTagReader::ReadBlocksIntoCells(Building& grid) {
    // Rows lie one after the other in the array, layer by layer, as in the cells.
    constexpr std::size_t kChunkBytes = 64 * 1024;
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t rowsPerChunk = std::max<std::size_t>(kChunkBytes / width, 1);
    const auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(rowsPerChunk * width);
    std::size_t rowsHeld = 0;
    const std::uint8_t* ids = nullptr;
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y) {
            if (rowsHeld == 0) {
                const std::size_t rowsLeft =
                    std::size_t(grid.Height() - h) * std::size_t(grid.Length()) + std::size_t(grid.Length() - y + 1);
                rowsHeld = std::min(rowsPerChunk, rowsLeft);
                if (!ReadExact(chunk.get(), rowsHeld * width))
                    return false;
                ids = chunk.get();
            }
            codes_.Map(ids, width, grid.Row(y, h) + 1);
            ids += width;
            --rowsHeld;
        }
    return true;
}

bool SchematicTagReader::SkipPayload(std::uint8_t type, int depth) {
    if (depth > kMaxDepth)
        return Fail("its tags are nested more than " + std::to_string(kMaxDepth) + " levels deep");
    if (const int bytes = FixedPayloadBytes(type); bytes > 0)
        return SkipBytes(static_cast<std::uint64_t>(bytes));
    if (const int bytes = ArrayElementBytes(type); bytes > 0) {
        std::int32_t count = 0;
        return ReadLength(count) && SkipBytes(static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(bytes));
    }
    switch (type) {
    case kString:
        return SkipName();
    case kList:
        return SkipList(depth);
    case kCompound:
        return SkipCompound(depth);
    default:
        return Fail("it holds a tag of the unknown type " + std::to_string(type));
    }
}

bool SchematicTagReader::SkipList(int depth) {
    std::uint8_t elementType = 0;
    std::int32_t count = 0;
    if (!ReadByte(elementType) || !ReadLength(count))
        return false;
    if (count == 0)
        return true;
    if (elementType == kEnd)
        return Fail("it holds a list of end tags with elements");
    if (const int bytes = FixedPayloadBytes(elementType); bytes > 0)
        return SkipBytes(static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(bytes));
    if (!ClaimElements(static_cast<std::uint64_t>(count), elementType))
        return false;
    for (std::int32_t i = 0; i < count; ++i)
        if (!SkipPayload(elementType, depth + 1))
            return false;
    return true;
}

bool SchematicTagReader::SkipCompound(int depth) {
    for (;;) {
        std::uint8_t type = 0;
        if (!ReadByte(type))
            return false;
        if (type == kEnd)
            return true;
        if (!CountTags(1) || !SkipName() || !SkipPayload(type, depth + 1))
            return false;
    }
}

}  // namespace stackmason
