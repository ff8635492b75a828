#include "editor/files/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace stackmason {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr int kNameAttempts = 100;

std::string TemporaryPathFor(const std::string& target, int attempt) {
    const std::filesystem::path path(target);
    // Appended piece by piece: GCC 12 reports a false -Wrestrict for `"." + std::string` in
    // optimised builds.
    std::string name = ".";
    name += path.filename().string();
    name += ".saving-";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(attempt);
    return (path.parent_path() / name).string();
}

// An existing target that could not be opened for writing cannot be replaced either: a
// read-only file keeps its protection although its folder would allow the rename.
bool TargetMayBeReplaced(const std::string& target, struct stat& status, bool& exists) {
    exists = ::stat(target.c_str(), &status) == 0;
    if (!exists)
        return true;
    if (S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return ::access(target.c_str(), W_OK) == 0;
}

}  // namespace

namespace {

// A link is followed, so that the rename replaces the file it names rather than the link.
std::string ResolvedTarget(std::string target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error))
        return target;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved.string();
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : targetPath_(ResolvedTarget(std::move(targetPath))) {
    if (!CreateTemporary())
        failureReason_ = std::strerror(errno);
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::CreateTemporary() {
    struct stat status {};
    bool exists = false;
    if (targetPath_.empty()) {
        errno = ENOENT;
        return false;
    }
    if (!TargetMayBeReplaced(targetPath_, status, exists))
        return false;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = TemporaryPathFor(targetPath_, attempt);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporaryPath_ = candidate;
            // A replaced file keeps the permissions it had.
            if (exists)
                ::fchmod(fd_, status.st_mode & 07777);
            buffer_.reserve(kBufferBytes);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || failed_)
        return;
    if (buffer_.size() + bytes.size() > kBufferBytes && !FlushBuffer())
        return;
    if (bytes.size() >= kBufferBytes) {
        WriteAll(bytes.data(), bytes.size());
        return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

bool AtomicFileWriter::FlushBuffer() {
    const bool written = WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
}

bool AtomicFileWriter::WriteAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail();
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void AtomicFileWriter::Fail() {
    if (!failed_)
        failureReason_ = std::strerror(errno);
    failed_ = true;
}

AtomicFileWriter::Result AtomicFileWriter::Commit() {
    if (committed_)
        return Result::Written;
    if (fd_ < 0)
        return Result::CannotCreate;
    if (!failed_ && FlushBuffer() && ::fsync(fd_) != 0)
        Fail();
    if (::close(fd_) != 0)
        Fail();
    fd_ = -1;
    if (!failed_ && std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0)
        Fail();
    if (failed_) {
        Discard();
        return Result::WriteFailed;
    }
    committed_ = true;
    temporaryPath_.clear();
    return Result::Written;
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

}  // namespace stackmason
