#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/files/CompressedFileReader.h"

namespace stackmason {

enum NbtTagType : std::uint8_t {
    kNbtEnd = 0,
    kNbtByte = 1,
    kNbtShort = 2,
    kNbtInt = 3,
    kNbtLong = 4,
    kNbtFloat = 5,
    kNbtDouble = 6,
    kNbtByteArray = 7,
    kNbtString = 8,
    kNbtList = 9,
    kNbtCompound = 10,
    kNbtIntArray = 11,
    kNbtLongArray = 12,
};

// An NBT stream read from a file, plain or compressed, with the reading steps every reader of
// Minecraft files shares: numbers, names, and reading past any tag of any type at any depth.
// Each step returns false once the data is cut short or wrong, and the first problem is kept
// for the user, in words that follow "Could not import ... : ".
//
// Lengths in the data are never trusted for more than the bytes that actually follow. The
// work a file can ask for is bounded: a list that claims more elements than the rest of the
// content could hold is refused before its first element, and so is a file of more tags than
// maxTags.
class NbtInput {
public:
    NbtInput(CompressedFileReader& input, std::uint64_t maxTags);

    // The root compound's type byte and name; false for data that is no NBT compound.
    bool ReadRootStart();
    // Reads the entries of a compound whose start was read, calling entry(type, name) for each,
    // which must read its payload; up to and with its end tag.
    template <typename Entry>
    bool ReadCompound(Entry&& entry) {
        for (;;) {
            std::uint8_t type = 0;
            if (!ReadByte(type))
                return false;
            if (type == kNbtEnd)
                return true;
            std::string name;
            if (!CountTags(1) || !ReadName(name) || !entry(type, name))
                return false;
        }
    }

    bool ReadByte(std::uint8_t& value) { return input_.ReadByte(value) || Truncated(); }
    bool ReadExact(void* out, std::size_t size);
    // A big-endian number of 1 to 8 bytes.
    bool ReadUnsigned(int bytes, std::uint64_t& value);
    // An array's or a list's length; a negative one is refused.
    bool ReadLength(std::int32_t& value);
    // A tag's name or a string payload, from the file's modified UTF-8 into UTF-8.
    bool ReadName(std::string& name);
    // The payload of an integer tag of any width, named `name` for the problem text.
    bool ReadInteger(std::uint8_t type, const std::string& name, std::optional<std::int64_t>& value);
    bool SkipBytes(std::uint64_t count);
    bool SkipPayload(std::uint8_t type, int depth);
    // Refuses a list whose elements could not all be there, before reading any of them.
    bool ClaimElements(std::uint64_t count, std::uint8_t type);

    // Keeps the first problem; always false.
    bool Fail(std::string problem);
    const std::string& Problem() const { return problem_; }
    CompressedFileReader& Input() { return input_; }

private:
    bool SkipName();
    bool CountTags(std::uint64_t count);
    bool SkipList(int depth);
    bool SkipCompound(int depth);
    bool Truncated();

    CompressedFileReader& input_;
    std::string problem_;
    std::uint64_t maxTags_;
    std::uint64_t tagsLeft_;
};

// The refusal of a file that an import cannot take, naming it, the kind of file it was read
// as (for example "a schematic") and the problem.
std::string ImportRefusalText(const std::string& path, const std::string& readAs, const std::string& problem);

// The size tags a schematic gives a building, as far as the file holds them.
struct SizeTags {
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::optional<std::int64_t> length;
};

// The size tag of that name ("Width", "Height" or "Length"), or null.
std::optional<std::int64_t>* SizeTagNamed(SizeTags& sizes, const std::string& name);

// An empty text when Width, Length and Height are there and fit a building (1 to 512 wide
// and long, 1 to 256 high); otherwise the problem of the first that does not.
std::string SizesProblem(const SizeTags& sizes);
// Width, Length and Height when they fit a building.
std::optional<std::array<int, 3>> FittingSizes(const SizeTags& sizes);

// An empty text when the input came through whole to its end; otherwise the problem.
std::string EndProblem(CompressedFileReader& input);

}  // namespace stackmason
