#include "tests/support/TestArchives.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include <zip.h>

namespace stackmason::test {

std::string NumberedEntryName(const std::string& prefix, int number, const std::string& suffix) {
    std::string name = prefix;
    name += std::to_string(number);
    name += suffix;
    return name;
}

std::vector<std::uint8_t> MakeZip(const std::vector<ArchiveEntry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        std::abort();
    for (const ArchiveEntry& entry : entries) {
        if (!entry.name.empty() && entry.name.back() == '/') {
            zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_UTF_8);
            continue;
        }
        zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        if (zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) < 0)
            std::abort();
    }
    if (zip_close(archive) != 0)
        std::abort();
    std::vector<std::uint8_t> bytes = TakeZipSourceBytes(target);
    zip_error_fini(&error);
    return bytes;
}

std::vector<std::uint8_t> TakeZipSourceBytes(zip_source* source) {
    std::vector<std::uint8_t> bytes;
    zip_source_open(source);
    zip_source_seek(source, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(zip_source_tell(source)));
    zip_source_seek(source, 0, SEEK_SET);
    zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    zip_source_free(source);
    return bytes;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace stackmason::test
