#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stackmason {

// The whole content of the file at path, or nothing when it cannot be opened or read, or
// when it is larger than maxBytes (checked before anything is allocated).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t maxBytes);

// A file read a block at a time, for readers that never need the whole of it at once.
class FileReader {
public:
    // Nothing when the file cannot be opened or is larger than maxBytes. No more than
    // maxBytes are read, should the file grow meanwhile.
    static std::optional<FileReader> Open(const std::string& path, std::uint64_t maxBytes);
    // A file of any size, of which no more than maxBytes are read: for readers that stop
    // where what they need ends, so that only what they read costs time.
    static std::optional<FileReader> OpenStart(const std::string& path, std::uint64_t maxBytes);
    ~FileReader();
    FileReader(FileReader&& other) noexcept;
    FileReader& operator=(FileReader&&) = delete;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Up to size bytes; 0 at the end of the file or when reading failed.
    std::size_t Read(std::uint8_t* out, std::size_t size);
    // Whether a read failed, so that what was read is not the whole file.
    bool Failed() const { return failed_; }

private:
    FileReader(int fd, std::uint64_t maxBytes) : fd_(fd), left_(maxBytes) {}

    int fd_ = -1;
    std::uint64_t left_ = 0;
    bool failed_ = false;
};

}  // namespace stackmason
