#pragma once

// An NBT reader of the tests' own, independent of the editor's, for the files the editor
// writes: it takes every tag whole and fails on anything unexpected.
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

namespace stackmason::testing {

struct Nbt;
using NbtCompound = std::map<std::string, Nbt>;
struct Nbt {
    std::uint8_t type = 0;
    std::int64_t number = 0;
    std::string text;
    std::vector<std::uint8_t> bytes;
    std::vector<std::int64_t> numbers;
    std::vector<Nbt> list;
    std::uint8_t listType = 0;
    NbtCompound compound;

    const Nbt& operator[](const std::string& name) const {
        const auto found = compound.find(name);
        if (found == compound.end())
            throw std::runtime_error("no tag " + name);
        return found->second;
    }
    bool Has(const std::string& name) const { return compound.contains(name); }
};

inline std::vector<std::uint8_t> Gunzip(const std::vector<std::uint8_t>& data) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 16) != Z_OK)
        throw std::runtime_error("inflateInit2");
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> chunk(1 << 16);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END)
            throw std::runtime_error("not a whole gzip stream");
        out.insert(out.end(), chunk.begin(), chunk.end() - stream.avail_out);
    }
    inflateEnd(&stream);
    return out;
}

class TestNbtReader {
public:
    explicit TestNbtReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    // The root's name and payload.
    std::pair<std::string, Nbt> Root() {
        const auto type = static_cast<std::uint8_t>(Take(1));
        std::string name = Name();
        Nbt root = Payload(type);
        if (at_ != bytes_.size())
            throw std::runtime_error("bytes after the root");
        return {name, root};
    }

private:
    std::int64_t Take(int bytes) {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            if (at_ >= bytes_.size())
                throw std::runtime_error("cut short");
            value = value << 8 | bytes_[at_++];
        }
        const int unused = 64 - 8 * bytes;
        return static_cast<std::int64_t>(value << unused) >> unused;
    }
    std::string Name() {
        const auto size = static_cast<std::size_t>(static_cast<std::uint16_t>(Take(2)));
        std::string name;
        for (std::size_t i = 0; i < size; ++i)
            name += static_cast<char>(Take(1));
        return name;
    }
    Nbt Payload(std::uint8_t type) {
        Nbt tag;
        tag.type = type;
        switch (type) {
        case 1: tag.number = Take(1); break;
        case 2: tag.number = Take(2); break;
        case 3: tag.number = Take(4); break;
        case 4: tag.number = Take(8); break;
        case 7:
            for (std::int64_t n = Take(4), i = 0; i < n; ++i)
                tag.bytes.push_back(static_cast<std::uint8_t>(Take(1)));
            break;
        case 8: tag.text = Name(); break;
        case 9: {
            tag.listType = static_cast<std::uint8_t>(Take(1));
            for (std::int64_t n = Take(4), i = 0; i < n; ++i)
                tag.list.push_back(Payload(tag.listType));
            break;
        }
        case 10:
            for (std::uint8_t inner = static_cast<std::uint8_t>(Take(1)); inner != 0;
                 inner = static_cast<std::uint8_t>(Take(1))) {
                std::string name = Name();
                if (tag.compound.contains(name))
                    throw std::runtime_error("tag twice: " + name);
                tag.compound[name] = Payload(inner);
            }
            break;
        case 11:
            for (std::int64_t n = Take(4), i = 0; i < n; ++i)
                tag.numbers.push_back(Take(4));
            break;
        case 12:
            for (std::int64_t n = Take(4), i = 0; i < n; ++i)
                tag.numbers.push_back(Take(8));
            break;
        default: throw std::runtime_error("unexpected tag type " + std::to_string(type));
        }
        return tag;
    }

    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};


}  // namespace stackmason::testing
