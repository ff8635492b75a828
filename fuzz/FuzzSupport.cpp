#include "fuzz/FuzzSupport.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace stackmason::fuzz {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t Crc(const std::vector<std::uint8_t>& bytes) {
    return static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}


class TagWalk {
public:
    TagWalk(std::span<const std::uint8_t> nbt, std::string_view nested, std::string_view packTag)
        : nbt_(nbt), nested_(nested), packTag_(packTag) {}

    std::optional<StatedTags> Run() {
        if (Take(1) != 10 || !SkipName() || !Compound(0, true))
            return std::nullopt;
        if (failed_)
            return std::nullopt;
        StatedTags stated;
        if (sizes_[0] && sizes_[1] && sizes_[2])
            stated.sizes = std::array{*sizes_[0], *sizes_[1], *sizes_[2]};
        stated.packNames = std::move(packNames_);
        return stated;
    }

private:
    std::int64_t Take(int count) {
        std::int64_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (at_ >= nbt_.size()) {
                failed_ = true;
                return 0;
            }
            value = value << 8 | nbt_[at_++];
        }
        // Sign-extended from the width read.
        const int bits = 8 * count;
        return bits < 64 && (value >> (bits - 1)) ? value - (std::int64_t{1} << bits) : value;
    }
    bool Skip(std::int64_t count) {
        if (count < 0 || static_cast<std::uint64_t>(count) > nbt_.size() - at_)
            return !(failed_ = true);
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    bool SkipName() { return Skip(Take(2) & 0xFFFF); }
    std::string Name() {
        const std::int64_t length = Take(2) & 0xFFFF;
        if (!Skip(length))
            return {};
        return std::string(nbt_.begin() + static_cast<std::ptrdiff_t>(at_ - length),
                           nbt_.begin() + static_cast<std::ptrdiff_t>(at_));
    }
    // The entries of a compound; `own` when they are the schematic's own tags.
    bool Compound(int depth, bool own) {
        while (!failed_) {
            const int type = static_cast<int>(Take(1) & 0xFF);
            if (type == 0)
                return !failed_;
            const std::string name = Name();
            const int width = type == 1 ? 1 : type == 2 ? 2 : type == 3 ? 4 : type == 4 ? 8 : 0;
            if (own && width > 0 && (name == "Width" || name == "Length" || name == "Height")) {
                sizes_[name == "Width" ? 0 : name == "Length" ? 1 : 2] = Take(width);
                continue;
            }
            if (own && type == 10 && depth == 0 && !nested_.empty() && name == nested_) {
                if (!Compound(depth + 1, true))
                    return false;
                continue;
            }
            if (own && type == 10 && !packTag_.empty() && name == "Metadata") {
                if (!Metadata(depth + 1))
                    return false;
                continue;
            }
            if (!Payload(type, depth + 1))
                return false;
        }
        return false;
    }
    bool Metadata(int depth) {
        while (!failed_) {
            const int type = static_cast<int>(Take(1) & 0xFF);
            if (type == 0)
                return !failed_;
            const std::string name = Name();
            if (type == 8 && name == packTag_) {
                packNames_.push_back(Name());
                continue;
            }
            if (!Payload(type, depth + 1))
                return false;
        }
        return false;
    }
    bool Payload(int type, int depth) {
        if (depth > 600)
            return !(failed_ = true);
        switch (type) {
        case 1: case 2: case 3: case 4: case 5: case 6:
            return Skip(type == 1 ? 1 : type == 2 ? 2 : type == 3 || type == 5 ? 4 : 8);
        case 7: case 11: case 12:
            return Skip(Take(4) * (type == 7 ? 1 : type == 11 ? 4 : 8));
        case 8:
            return SkipName();
        case 9: {
            const int inner = static_cast<int>(Take(1) & 0xFF);
            const std::int64_t count = Take(4);
            for (std::int64_t i = 0; i < count && !failed_; ++i)
                if (!Payload(inner, depth + 1))
                    return false;
            return !failed_;
        }
        case 10:
            return Compound(depth, false);
        default:
            return !(failed_ = true);
        }
    }

    std::span<const std::uint8_t> nbt_;
    std::string_view nested_;
    std::string_view packTag_;
    std::size_t at_ = 0;
    bool failed_ = false;
    std::array<std::optional<std::int64_t>, 3> sizes_;
    std::vector<std::string> packNames_;
};

}  // namespace

std::vector<std::uint8_t> Gzip(std::span<const std::uint8_t> bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32);
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::optional<std::vector<std::uint8_t>> PlainBytes(std::span<const std::uint8_t> bytes) {
    const bool gzip = bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
    const bool zlib = bytes.size() >= 2 && (bytes[0] & 0x0F) == 8 && ((bytes[0] << 8) | bytes[1]) % 31 == 0;
    if (!gzip && !zlib)
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        z_stream stream{};
        if (inflateInit2(&stream, 15 + 32) != Z_OK)
            return std::nullopt;
        stream.next_in = const_cast<Bytef*>(bytes.data() + at);
        stream.avail_in = static_cast<uInt>(bytes.size() - at);
        int result = Z_OK;
        std::uint8_t chunk[1 << 14];
        while (result == Z_OK) {
            stream.next_out = chunk;
            stream.avail_out = sizeof chunk;
            result = inflate(&stream, Z_NO_FLUSH);
            out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
            if (out.size() > (std::size_t{300} << 20))
                result = Z_DATA_ERROR;
        }
        at = bytes.size() - stream.avail_in;
        inflateEnd(&stream);
        if (result != Z_STREAM_END)
            return std::nullopt;
    }
    return out;
}

std::optional<StatedTags> StatedTags::Of(std::span<const std::uint8_t> nbt, std::string_view nested,
                                         std::string_view packTag) {
    return TagWalk(nbt, nested, packTag).Run();
}

const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        const std::filesystem::path path = base / ("stackmason-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes) {
    const std::string path = ScratchFolder() + "/" + std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> StoredZip(const std::vector<ZipEntry>& entries) {
    std::vector<std::uint8_t> zip;
    std::vector<std::uint8_t> directory;
    for (const ZipEntry& entry : entries) {
        const std::uint32_t offset = static_cast<std::uint32_t>(zip.size());
        const std::uint32_t crc = Crc(entry.bytes);
        const auto size = static_cast<std::uint32_t>(entry.bytes.size());
        const auto nameLength = static_cast<std::uint16_t>(entry.name.size());
        PutLe(zip, 0x04034b50, 4);
        PutLe(zip, 20, 2);  // version needed
        PutLe(zip, 0, 2);   // flags
        PutLe(zip, 0, 2);   // stored
        PutLe(zip, 0, 4);   // time and date
        PutLe(zip, crc, 4);
        PutLe(zip, size, 4);
        PutLe(zip, size, 4);
        PutLe(zip, nameLength, 2);
        PutLe(zip, 0, 2);
        zip.insert(zip.end(), entry.name.begin(), entry.name.end());
        zip.insert(zip.end(), entry.bytes.begin(), entry.bytes.end());

        PutLe(directory, 0x02014b50, 4);
        PutLe(directory, 20, 2);  // made by
        PutLe(directory, 20, 2);  // needed
        PutLe(directory, 0, 2);
        PutLe(directory, 0, 2);
        PutLe(directory, 0, 4);
        PutLe(directory, crc, 4);
        PutLe(directory, size, 4);
        PutLe(directory, size, 4);
        PutLe(directory, nameLength, 2);
        PutLe(directory, 0, 2);  // extra
        PutLe(directory, 0, 2);  // comment
        PutLe(directory, 0, 2);  // disk
        PutLe(directory, 0, 2);  // internal attributes
        PutLe(directory, 0, 4);  // external attributes
        PutLe(directory, offset, 4);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
    }
    const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    PutLe(zip, 0x06054b50, 4);
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, entries.size(), 2);
    PutLe(zip, entries.size(), 2);
    PutLe(zip, directory.size(), 4);
    PutLe(zip, directoryOffset, 4);
    PutLe(zip, 0, 2);
    return zip;
}

std::vector<ZipEntry> DecodeEntries(std::span<const std::uint8_t> input) {
    std::vector<ZipEntry> entries;
    std::size_t at = 0;
    auto take = [&](std::size_t count) {
        const std::size_t n = std::min(count, input.size() - at);
        std::span<const std::uint8_t> part = input.subspan(at, n);
        at += n;
        return part;
    };
    while (at < input.size()) {
        ZipEntry entry;
        const std::size_t nameLength = take(1)[0];
        const auto name = take(nameLength);
        entry.name.assign(name.begin(), name.end());
        const auto sizeBytes = take(2);
        std::size_t size = 0;
        for (std::size_t i = 0; i < sizeBytes.size(); ++i)
            size |= static_cast<std::size_t>(sizeBytes[i]) << (8 * i);
        const auto data = take(size);
        entry.bytes.assign(data.begin(), data.end());
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::uint8_t> EncodeEntries(const std::vector<ZipEntry>& entries) {
    std::vector<std::uint8_t> out;
    for (const ZipEntry& entry : entries) {
        const std::size_t nameLength = std::min<std::size_t>(entry.name.size(), 255);
        out.push_back(static_cast<std::uint8_t>(nameLength));
        out.insert(out.end(), entry.name.begin(), entry.name.begin() + static_cast<std::ptrdiff_t>(nameLength));
        const std::size_t size = std::min<std::size_t>(entry.bytes.size(), 0xFFFF);
        PutLe(out, size, 2);
        out.insert(out.end(), entry.bytes.begin(), entry.bytes.begin() + static_cast<std::ptrdiff_t>(size));
    }
    return out;
}

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

}  // namespace stackmason::fuzz
