#include "editor/files/CompressedFileReader.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace stackmason {
namespace {

constexpr std::size_t kInputBytes = 256 * 1024;
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kSkipBytes = 64 * 1024;

bool LooksGzip(const std::uint8_t* bytes) { return bytes[0] == 0x1F && bytes[1] == 0x8B; }

// A zlib stream begins with a deflate method byte whose pair with the next is a multiple of
// 31. An NBT file begins with a compound's type, 0x0A, which never passes this test.
bool LooksZlib(const std::uint8_t* bytes) { return (bytes[0] & 0x0F) == 8 && ((bytes[0] << 8) | bytes[1]) % 31 == 0; }

std::uint64_t FileSizeOrUnknown(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? std::numeric_limits<std::uint64_t>::max() : size;
}

}  // namespace

CompressedFileReader::CompressedFileReader(const std::string& path, std::uint64_t limit)
    : file_(std::fopen(path.c_str(), "rb")), input_(kInputBytes), block_(kBlockBytes), limit_(limit) {
    if (!file_) {
        problem_ = Problem::CannotOpen;
        return;
    }
    fileSize_ = FileSizeOrUnknown(path);
    if (!FillInput() || inputEnd_ < 2)
        return;
    compressed_ = LooksGzip(input_.data()) || LooksZlib(input_.data());
    if (!compressed_)
        return;
    // 15 window bits plus 32: zlib tells gzip and zlib headers apart itself.
    if (inflateInit2(&stream_, 15 + 32) != Z_OK) {
        SetProblem(Problem::Damaged);
        return;
    }
    inflateReady_ = true;
}

CompressedFileReader::~CompressedFileReader() {
    if (inflateReady_)
        inflateEnd(&stream_);
}

void CompressedFileReader::SetProblem(Problem problem) {
    if (problem_ == Problem::None)
        problem_ = problem;
}

std::uint64_t CompressedFileReader::ContentLeftAtMost() const {
    const std::uint64_t left = limit_ - handedOut_;
    if (compressed_)
        return left;
    const std::uint64_t unread = fileSize_ > fileRead_ ? fileSize_ - fileRead_ : 0;
    return std::min(left, Buffered() + (inputEnd_ - inputStart_) + unread);
}

bool CompressedFileReader::FillInput() {
    if (inputStart_ < inputEnd_)
        return true;
    inputStart_ = 0;
    inputEnd_ = std::fread(input_.data(), 1, input_.size(), file_.get());
    fileRead_ += inputEnd_;
    if (inputEnd_ == 0 && std::ferror(file_.get()))
        SetProblem(Problem::ReadError);
    return inputEnd_ > 0;
}

std::size_t CompressedFileReader::ReadBeyondBlock(std::uint8_t* out, std::size_t size) {
    if (size > limit_ - handedOut_) {
        SetProblem(Problem::TooLarge);
        return 0;
    }
    std::size_t got = Buffered();
    std::memcpy(out, block_.data() + blockStart_, got);
    Consume(got);
    if (problem_ != Problem::None || !file_)
        return got;
    if (size - got >= block_.size()) {
        // Large reads go straight to the caller's memory.
        const std::size_t made = Produce(out + got, size - got);
        handedOut_ += made;
        return got + made;
    }
    blockStart_ = 0;
    const std::uint64_t allowed = std::min<std::uint64_t>(block_.size(), limit_ - handedOut_);
    blockEnd_ = Produce(block_.data(), static_cast<std::size_t>(allowed));
    const std::size_t take = std::min(size - got, Buffered());
    std::memcpy(out + got, block_.data(), take);
    Consume(take);
    return got + take;
}

std::size_t CompressedFileReader::Produce(std::uint8_t* out, std::size_t size) {
    return compressed_ ? ReadInflated(out, size) : ReadPlain(out, size);
}

std::size_t CompressedFileReader::ReadPlain(std::uint8_t* out, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        if (inputStart_ == inputEnd_ && size - got >= input_.size()) {
            const std::size_t direct = std::fread(out + got, 1, size - got, file_.get());
            fileRead_ += direct;
            if (direct == 0 && std::ferror(file_.get()))
                SetProblem(Problem::ReadError);
            got += direct;
            break;
        }
        if (!FillInput())
            break;
        const std::size_t take = std::min(size - got, inputEnd_ - inputStart_);
        std::memcpy(out + got, input_.data() + inputStart_, take);
        inputStart_ += take;
        got += take;
    }
    return got;
}

std::size_t CompressedFileReader::ReadInflated(std::uint8_t* out, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        if (!FillInput())
            break;
        // Tools may write several gzip members one after the other; anything else after the
        // stream is padding.
        if (streamEnded_) {
            if (input_[inputStart_] != 0x1F)
                break;
            if (inflateReset(&stream_) != Z_OK) {
                SetProblem(Problem::Damaged);
                break;
            }
            streamEnded_ = false;
        }
        stream_.next_in = input_.data() + inputStart_;
        stream_.avail_in = static_cast<uInt>(inputEnd_ - inputStart_);
        const std::size_t want = std::min<std::size_t>(size - got, 1u << 30);
        stream_.next_out = out + got;
        stream_.avail_out = static_cast<uInt>(want);
        const int result = inflate(&stream_, Z_NO_FLUSH);
        got += want - stream_.avail_out;
        inputStart_ = inputEnd_ - stream_.avail_in;
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            SetProblem(Problem::Damaged);
            break;
        }
    }
    return got;
}

bool CompressedFileReader::ReachEndIntact() {
    if (!compressed_)
        return problem_ == Problem::None;
    std::uint8_t scratch[kSkipBytes];
    while (!streamEnded_ && problem_ == Problem::None && Read(scratch, sizeof scratch) > 0) {
    }
    return streamEnded_ && problem_ == Problem::None;
}

bool CompressedFileReader::SkipBeyondBlock(std::uint64_t count) {
    if (count > limit_ - handedOut_) {
        SetProblem(Problem::TooLarge);
        return false;
    }
    if (count > ContentLeftAtMost())
        return false;
    std::uint8_t scratch[kSkipBytes];
    while (count > 0) {
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof scratch));
        if (Read(scratch, step) != step)
            return false;
        count -= step;
    }
    return true;
}

}  // namespace stackmason
