#include "common/TexturePackArchive.h"

#include <zip.h>

#include "common/Constants.h"
#include "common/ImageDecoding.h"

namespace stackmason {

void TexturePackArchive::ZipCloser::operator()(zip* archive) const { zip_discard(archive); }

TexturePackArchive::TexturePackArchive(zip* archive, std::unique_ptr<std::vector<std::uint8_t>> ownedBytes)
    : ownedBytes_(std::move(ownedBytes)), archive_(archive) {}

std::optional<TexturePackArchive> TexturePackArchive::Open(const std::string& path) {
    int error = 0;
    zip* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr)
        return std::nullopt;
    return TexturePackArchive(archive, nullptr);
}

std::optional<TexturePackArchive> TexturePackArchive::OpenFromMemory(std::span<const std::uint8_t> bytes) {
    auto owned = std::make_unique<std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(owned->data(), owned->size(), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return std::nullopt;
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(source);
        return std::nullopt;
    }
    return TexturePackArchive(archive, std::move(owned));
}

int TexturePackArchive::EntryCount() const {
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    return count < 0 ? 0 : static_cast<int>(std::min<zip_int64_t>(count, kMaxPackEntries));
}

PackEntry TexturePackArchive::Entry(int index) const {
    PackEntry entry;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
        return entry;
    if (stat.valid & ZIP_STAT_NAME)
        entry.name = stat.name;
    if (stat.valid & ZIP_STAT_SIZE)
        entry.size = stat.size;
    entry.isDirectory = !entry.name.empty() && entry.name.back() == '/';
    return entry;
}

std::optional<std::vector<std::uint8_t>> TexturePackArchive::ReadEntry(int index) const {
    const PackEntry entry = Entry(index);
    if (entry.isDirectory || entry.size > kMaxEntryBytes)
        return std::nullopt;
    // The buffer before the file, so that running short of memory leaves no file open.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(entry.size));
    zip_file_t* file = zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr)
        return std::nullopt;
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const zip_int64_t got = zip_fread(file, bytes.data() + filled, bytes.size() - filled);
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    zip_fclose(file);
    if (filled != bytes.size())
        return std::nullopt;
    return bytes;
}

std::optional<Image> TexturePackArchive::ReadEntryImage(int index) const {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadEntry(index);
    if (!bytes)
        return std::nullopt;
    return DecodeImage(*bytes);
}

}  // namespace stackmason
