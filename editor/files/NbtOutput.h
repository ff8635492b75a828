#pragma once

#include <cstdint>
#include <string_view>

#include "editor/files/ByteSink.h"
#include "editor/files/ModifiedUtf8.h"
#include "editor/files/NbtInput.h"

namespace stackmason {

// Writes NBT tags, big-endian as the format has them, into blocked output: the tags round a
// schematic's arrays, which their writers put into the same output row by row.
class NbtOutput {
public:
    explicit NbtOutput(BlockedOutput& out) : out_(out) {}

    void Byte(std::uint8_t value) { *out_.Reserve(1) = value; }
    void Short(std::int32_t value) { Unsigned(static_cast<std::uint64_t>(value), 2); }
    void Int(std::int64_t value) { Unsigned(static_cast<std::uint64_t>(value), 4); }
    void Long(std::int64_t value) { Unsigned(static_cast<std::uint64_t>(value), 8); }
    // A string as the format has it, in modified UTF-8; names of plain ASCII go as they are.
    void Text(std::string_view text) {
        if (IsPlainNbtText(text)) {
            PutText(text);
            return;
        }
        PutText(ToModifiedUtf8(text));
    }
    void Header(NbtTagType type, std::string_view name) {
        Byte(type);
        Text(name);
    }
    // A list of no compounds.
    void EmptyList(std::string_view name) {
        Header(kNbtList, name);
        Byte(kNbtCompound);
        Int(0);
    }

private:
    void PutText(std::string_view encoded) {
        Short(static_cast<std::int32_t>(encoded.size()));
        out_.Put(encoded);
    }
    void Unsigned(std::uint64_t value, int bytes) {
        std::uint8_t* at = out_.Reserve(static_cast<std::size_t>(bytes));
        for (int i = bytes - 1; i >= 0; --i, value >>= 8)
            at[i] = static_cast<std::uint8_t>(value & 0xFF);
    }

    BlockedOutput& out_;
};

}  // namespace stackmason
