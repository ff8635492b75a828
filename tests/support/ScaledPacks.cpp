#include "tests/support/ScaledPacks.h"

#include <cstdlib>

#include <zip.h>

#include "common/ImageDecoding.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason::test {
namespace {

std::vector<std::uint8_t> ReadWholeEntry(zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0)
        std::abort();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.size));
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (file == nullptr || zip_fread(file, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
        std::abort();
    zip_fclose(file);
    return bytes;
}

}  // namespace

Image RepeatPixels(const Image& source, int factor) {
    Image scaled(source.Width() * factor, source.Height() * factor);
    for (int y = 0; y < scaled.Height(); ++y)
        for (int x = 0; x < scaled.Width(); ++x)
            scaled.SetPixel(x, y, source.Pixel(x / factor, y / factor));
    return scaled;
}

ScaledPack ScaleUpPack(const std::string& sourcePath, int height) {
    int error = 0;
    zip_t* archive = zip_open(sourcePath.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr)
        std::abort();
    ScaledPack pack;
    std::vector<ArchiveEntry> entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        std::string name = zip_get_name(archive, index, 0);
        std::vector<std::uint8_t> bytes = name.ends_with('/') ? std::vector<std::uint8_t>{} : ReadWholeEntry(archive, index);
        std::optional<Image> picture = DecodeImage(bytes);
        if (picture) {
            if (height % picture->Height() != 0)
                std::abort();
            picture = RepeatPixels(*picture, height / picture->Height());
            bytes = EncodePng(*picture);
        }
        entries.push_back({std::move(name), std::move(bytes)});
        pack.pictures.push_back(std::move(picture));
    }
    zip_discard(archive);
    pack.archive = MakeZip(entries);
    return pack;
}

}  // namespace stackmason::test
