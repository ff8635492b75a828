#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace stackmason::testing {

// Builds NBT data by hand, for files as other tools write them and for broken ones.
class NbtBuilder {
public:
    NbtBuilder& Byte(std::uint8_t value);
    NbtBuilder& Short(std::int32_t value);
    NbtBuilder& Int(std::int64_t value);
    NbtBuilder& Long(std::int64_t value);
    NbtBuilder& Text(std::string_view text);
    NbtBuilder& Bytes(const std::vector<std::uint8_t>& bytes);
    // A named tag's type and name; its payload follows.
    NbtBuilder& Tag(std::uint8_t type, std::string_view name);
    NbtBuilder& ShortTag(std::string_view name, std::int32_t value) { return Tag(2, name).Short(value); }
    NbtBuilder& ByteArrayTag(std::string_view name, const std::vector<std::uint8_t>& bytes);
    NbtBuilder& End() { return Byte(0); }

    const std::vector<std::uint8_t>& Result() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// The data as a gzip file and as a zlib stream.
std::vector<std::uint8_t> Gzip(const std::vector<std::uint8_t>& data);
std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& data);

}  // namespace stackmason::testing
