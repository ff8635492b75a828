#include "common/TexturePackArchive.h"

#include <zip.h>

#include <filesystem>

#include "common/Constants.h"
#include "common/ImageDecoding.h"

namespace stackmason {

namespace {

// bzip2, which libzip may read too, spends several times as long per byte as inflating does,
// and turns a few bytes into 64 MB of output.
constexpr std::uint64_t kCostlyMethodWeight = 8;

}  // namespace

PackWorkBudget PackWorkBudget::ForArchiveOfSize(std::uint64_t archiveBytes) {
    // The per-byte allowances cannot overflow: no file is anywhere near 2^57 bytes.
    return {kPackInflatedBytesFloor + kPackInflatedBytesPerArchiveByte * archiveBytes,
            kPackPixelFloor + kPackPixelsPerArchiveByte * archiveBytes};
}

void TexturePackArchive::ZipCloser::operator()(zip* archive) const { zip_discard(archive); }

TexturePackArchive::TexturePackArchive(zip* archive, std::unique_ptr<std::vector<std::uint8_t>> ownedBytes,
                                       std::uint64_t archiveBytes)
    : ownedBytes_(std::move(ownedBytes)), archive_(archive), budget_(PackWorkBudget::ForArchiveOfSize(archiveBytes)) {}

std::optional<TexturePackArchive> TexturePackArchive::Open(const std::string& path) {
    int error = 0;
    zip* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr)
        return std::nullopt;
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    return TexturePackArchive(archive, nullptr, sizeError ? 0 : size);
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
    const std::uint64_t size = owned->size();
    return TexturePackArchive(archive, std::move(owned), size);
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

std::uint64_t TexturePackArchive::InflatingCost(int index, std::uint64_t size) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE)
        return size * kCostlyMethodWeight;
    return size;
}

std::optional<std::vector<std::uint8_t>> TexturePackArchive::ReadEntry(int index) {
    bool leftOut = false;
    return ReadEntryBytes(index, leftOut);
}

std::optional<std::vector<std::uint8_t>> TexturePackArchive::ReadEntryBytes(int index, bool& leftOut) {
    const PackEntry entry = Entry(index);
    if (entry.isDirectory || entry.size > kMaxEntryBytes)
        return std::nullopt;
    // Spent before reading: an entry that turns out damaged has cost the time all the same.
    const std::uint64_t cost = InflatingCost(index, entry.size);
    if (cost > budget_.inflatedBytes) {
        leftOut = true;
        return std::nullopt;
    }
    budget_.inflatedBytes -= cost;
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

std::optional<Image> TexturePackArchive::ReadEntryImage(int index) { return ReadEntryPicture(index).image; }

EntryPicture TexturePackArchive::ReadEntryPicture(int index) {
    EntryPicture picture;
    const std::optional<std::vector<std::uint8_t>> bytes = ReadEntryBytes(index, picture.leftOut);
    if (bytes) {
        PixelAllowance allowance{budget_.decodedPixels};
        picture.image = DecodeImage(*bytes, allowance);
        budget_.decodedPixels = allowance.pixels;
        picture.leftOut = allowance.overdrawn;
    }
    if (picture.leftOut)
        ++leftOut_;
    return picture;
}

}  // namespace stackmason
