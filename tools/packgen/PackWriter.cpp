#include "tools/packgen/PackWriter.h"

#include <cstdio>
#include <ctime>

#include <zip.h>

namespace packgen {
namespace {

// Zip stores a local date and time without a zone, and libzip turns the time given into
// local time: going through mktime keeps the stored value at 1 January 2014, 12:00 whatever
// the build machine's time zone.
std::time_t FixedTime() {
    std::tm date{};
    date.tm_year = 2014 - 1900;
    date.tm_mon = 0;
    date.tm_mday = 1;
    date.tm_hour = 12;
    date.tm_isdst = -1;
    return std::mktime(&date);
}

// Unix "-rw-r--r--" in the high 16 bits of the external attributes.
constexpr std::uint32_t kFileMode = 0100644u << 16;

std::string ErrorText(zip_t* archive, const std::string& what) {
    return what + ": " + zip_strerror(archive);
}

std::string AddFile(zip_t* archive, const ArchiveFile& file) {
    zip_source_t* source = zip_source_buffer(archive, file.bytes.data(), file.bytes.size(), 0);
    if (source == nullptr)
        return ErrorText(archive, file.name);
    const zip_int64_t index = zip_file_add(archive, file.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return ErrorText(archive, file.name);
    }
    const auto at = static_cast<zip_uint64_t>(index);
    if (zip_file_set_mtime(archive, at, FixedTime(), 0) != 0 ||
        zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, 9) != 0 ||
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX, kFileMode) != 0)
        return ErrorText(archive, file.name);
    return {};
}

}  // namespace

std::string WriteArchive(const std::string& path, const std::vector<ArchiveFile>& files) {
    std::remove(path.c_str());  // whatever was there before, even a damaged archive, is replaced
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, error);
        std::string text = path + ": " + zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
        return text;
    }
    for (const ArchiveFile& file : files) {
        std::string failure = AddFile(archive, file);
        if (!failure.empty()) {
            zip_discard(archive);
            return failure;
        }
    }
    if (zip_close(archive) != 0) {
        std::string text = ErrorText(archive, path);
        zip_discard(archive);
        return text;
    }
    return {};
}

}  // namespace packgen
