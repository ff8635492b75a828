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

}  // namespace

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
