#include "editor/files/NbtInput.h"

#include <filesystem>

#include "common/Constants.h"
#include "editor/files/ModifiedUtf8.h"

namespace stackmason {
namespace {

// Real files nest a few levels; this only stops data built to exhaust the stack.
constexpr int kMaxDepth = 512;

// Bytes per element of the tags whose payload has a fixed size; 0 for the others.
int FixedPayloadBytes(std::uint8_t type) {
    switch (type) {
    case kNbtByte:
        return 1;
    case kNbtShort:
        return 2;
    case kNbtInt:
    case kNbtFloat:
        return 4;
    case kNbtLong:
    case kNbtDouble:
        return 8;
    default:
        return 0;
    }
}

// The fewest bytes an element of a list of this type can have: an end tag, a length field,
// or a list's element type and length.
std::uint64_t SmallestPayloadBytes(std::uint8_t type) {
    switch (type) {
    case kNbtString:
        return 2;
    case kNbtList:
        return 5;
    case kNbtByteArray:
    case kNbtIntArray:
    case kNbtLongArray:
        return 4;
    default:
        return 1;
    }
}

int ArrayElementBytes(std::uint8_t type) {
    switch (type) {
    case kNbtByteArray:
        return 1;
    case kNbtIntArray:
        return 4;
    case kNbtLongArray:
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

NbtInput::NbtInput(CompressedFileReader& input, std::uint64_t maxTags)
    : input_(input), maxTags_(maxTags), tagsLeft_(maxTags) {}

bool NbtInput::Fail(std::string problem) {
    if (problem_.empty())
        problem_ = std::move(problem);
    return false;
}

bool NbtInput::Truncated() {
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

bool NbtInput::ReadRootStart() {
    std::uint8_t type = 0;
    if (input_.GetProblem() == CompressedFileReader::Problem::CannotOpen)
        return Fail("it cannot be opened");
    if (!ReadByte(type))
        return false;
    if (type != kNbtCompound)
        return Fail("it does not start with an NBT compound, so it is no schematic file");
    return SkipName();
}

bool NbtInput::ReadExact(void* out, std::size_t size) {
    return input_.Read(static_cast<std::uint8_t*>(out), size) == size || Truncated();
}

bool NbtInput::ReadUnsigned(int bytes, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < bytes; ++i) {
        std::uint8_t byte = 0;
        if (!ReadByte(byte))
            return false;
        value = (value << 8) | byte;
    }
    return true;
}

bool NbtInput::ReadLength(std::int32_t& value) {
    std::uint64_t raw = 0;
    if (!ReadUnsigned(4, raw))
        return false;
    value = static_cast<std::int32_t>(SignExtend(raw, 4));
    return value >= 0 || Fail("an array or list in it claims a negative length");
}

bool NbtInput::ReadName(std::string& name) {
    std::uint64_t size = 0;
    if (!ReadUnsigned(2, size))
        return false;
    name.resize(static_cast<std::size_t>(size));
    if (!ReadExact(name.data(), name.size()))
        return false;
    name = FromModifiedUtf8(name);
    return true;
}

bool NbtInput::ReadInteger(std::uint8_t type, const std::string& name, std::optional<std::int64_t>& value) {
    const int bytes = FixedPayloadBytes(type);
    if (bytes == 0 || type == kNbtFloat || type == kNbtDouble)
        return Fail("its \"" + name + "\" tag is not a whole number");
    std::uint64_t raw = 0;
    if (!ReadUnsigned(bytes, raw))
        return false;
    value = SignExtend(raw, bytes);
    return true;
}

bool NbtInput::SkipName() {
    std::uint64_t size = 0;
    return ReadUnsigned(2, size) && SkipBytes(size);
}

bool NbtInput::SkipBytes(std::uint64_t count) { return input_.Skip(count) || Truncated(); }

bool NbtInput::CountTags(std::uint64_t count) {
    if (count > tagsLeft_)
        return Fail("it holds more than " + std::to_string(maxTags_) +
                    " tags, far more than a schematic of the largest building");
    tagsLeft_ -= count;
    return true;
}

bool NbtInput::ClaimElements(std::uint64_t count, std::uint8_t type) {
    if (count * SmallestPayloadBytes(type) > input_.ContentLeftAtMost())
        return Fail("a list in it claims " + std::to_string(count) + " elements, more than the rest of the file holds");
    return CountTags(count);
}

bool NbtInput::SkipPayload(std::uint8_t type, int depth) {
    if (depth > kMaxDepth)
        return Fail("its tags are nested more than " + std::to_string(kMaxDepth) + " levels deep");
    if (const int bytes = FixedPayloadBytes(type); bytes > 0)
        return SkipBytes(static_cast<std::uint64_t>(bytes));
    if (const int bytes = ArrayElementBytes(type); bytes > 0) {
        std::int32_t count = 0;
        return ReadLength(count) && SkipBytes(static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(bytes));
    }
    switch (type) {
    case kNbtString:
        return SkipName();
    case kNbtList:
        return SkipList(depth);
    case kNbtCompound:
        return SkipCompound(depth);
    default:
        return Fail("it holds a tag of the unknown type " + std::to_string(type));
    }
}

bool NbtInput::SkipList(int depth) {
    std::uint8_t elementType = 0;
    std::int32_t count = 0;
    if (!ReadByte(elementType) || !ReadLength(count))
        return false;
    if (count == 0)
        return true;
    if (elementType == kNbtEnd)
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

bool NbtInput::SkipCompound(int depth) {
    for (;;) {
        std::uint8_t type = 0;
        if (!ReadByte(type))
            return false;
        if (type == kNbtEnd)
            return true;
        if (!CountTags(1) || !SkipName() || !SkipPayload(type, depth + 1))
            return false;
    }
}

std::string ImportRefusalText(const std::string& path, const std::string& readAs, const std::string& problem) {
    return "Could not import " + std::filesystem::path(path).filename().string() + " as " + readAs + ": " + problem +
           ". Nothing was changed.";
}

namespace {

std::string SizeProblem(const std::optional<std::int64_t>& size, const char* name, int maximum) {
    if (!size)
        return std::string("it has no \"") + name + "\" tag";
    if (*size < 1 || *size > maximum)
        return std::string("its \"") + name + "\" of " + std::to_string(*size) + " lies outside 1 to " +
               std::to_string(maximum);
    return {};
}

}  // namespace

std::optional<std::int64_t>* SizeTagNamed(SizeTags& sizes, const std::string& name) {
    if (name == "Width")
        return &sizes.width;
    if (name == "Height")
        return &sizes.height;
    if (name == "Length")
        return &sizes.length;
    return nullptr;
}

std::string SizesProblem(const SizeTags& sizes) {
    for (std::string problem : {SizeProblem(sizes.width, "Width", kMaxGridWidth),
                                SizeProblem(sizes.length, "Length", kMaxGridLength),
                                SizeProblem(sizes.height, "Height", kMaxGridHeight)})
        if (!problem.empty())
            return problem;
    return {};
}

std::optional<std::array<int, 3>> FittingSizes(const SizeTags& sizes) {
    if (!SizesProblem(sizes).empty())
        return std::nullopt;
    return std::array<int, 3>{static_cast<int>(*sizes.width), static_cast<int>(*sizes.length),
                              static_cast<int>(*sizes.height)};
}

std::string EndProblem(CompressedFileReader& input) {
    if (input.ReachEndIntact())
        return {};
    return input.GetProblem() == CompressedFileReader::Problem::TooLarge
               ? "it holds far more data than a schematic of the largest building"
               : "its compressed data is cut short or damaged";
}

}  // namespace stackmason
