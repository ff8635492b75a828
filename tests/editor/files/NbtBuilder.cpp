#include "NbtBuilder.h"

#include <stdexcept>

#include <zlib.h>

namespace stackmason::testing {

NbtBuilder& NbtBuilder::Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

NbtBuilder& NbtBuilder::Short(std::int32_t value) {
    Byte(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    return Byte(static_cast<std::uint8_t>(value & 0xFF));
}

NbtBuilder& NbtBuilder::Int(std::int64_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        Byte(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    return *this;
}

NbtBuilder& NbtBuilder::Long(std::int64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8)
        Byte(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    return *this;
}

NbtBuilder& NbtBuilder::Text(std::string_view text) {
    Short(static_cast<std::int32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

NbtBuilder& NbtBuilder::Bytes(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

NbtBuilder& NbtBuilder::Tag(std::uint8_t type, std::string_view name) { return Byte(type).Text(name); }

NbtBuilder& NbtBuilder::ByteArrayTag(std::string_view name, const std::vector<std::uint8_t>& bytes) {
    return Tag(7, name).Int(static_cast<std::int64_t>(bytes.size())).Bytes(bytes);
}

namespace {

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data, int windowBits) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())) + 64);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::vector<std::uint8_t> Gzip(const std::vector<std::uint8_t>& data) { return Deflate(data, 15 + 16); }

std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& data) { return Deflate(data, 15); }

}  // namespace stackmason::testing
