#include "common/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <utility>

namespace stackmason {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return std::nullopt;
    return bytes;
}

}  // namespace stackmason

namespace stackmason {

std::optional<FileReader> FileReader::Open(const std::string& path, std::uint64_t maxBytes) {
    std::optional<FileReader> file = OpenStart(path, maxBytes);
    struct stat status {};
    if (file && (::fstat(file->fd_, &status) != 0 || static_cast<std::uint64_t>(status.st_size) > maxBytes))
        return std::nullopt;
    return file;
}

std::optional<FileReader> FileReader::OpenStart(const std::string& path, std::uint64_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return FileReader(fd, maxBytes);
}

FileReader::FileReader(FileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), left_(other.left_), failed_(other.failed_) {}

FileReader::~FileReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t FileReader::Read(std::uint8_t* out, std::size_t size) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, left_));
    while (size > 0 && !failed_) {
        const ssize_t read = ::read(fd_, out, size);
        if (read >= 0) {
            left_ -= static_cast<std::uint64_t>(read);
            return static_cast<std::size_t>(read);
        }
        if (errno != EINTR)
            failed_ = true;
    }
    return 0;
}

}  // namespace stackmason
