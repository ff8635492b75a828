#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

namespace stackmason {

// Reads a file's bytes whether it is stored plain, gzip-compressed or zlib-compressed: the
// first two bytes tell which. At most limit bytes of content are handed out; a file that
// holds more counts as too large. The content is made a block at a time, so that the many
// reads of a few bytes each that a parser makes cost a copy each and no more.
class CompressedFileReader {
public:
    enum class Problem { None, CannotOpen, Damaged, TooLarge, ReadError };

    CompressedFileReader(const std::string& path, std::uint64_t limit);
    ~CompressedFileReader();
    CompressedFileReader(const CompressedFileReader&) = delete;
    CompressedFileReader& operator=(const CompressedFileReader&) = delete;

    // Reads up to size bytes into out; fewer only at the end of the content or on a problem.
    std::size_t Read(std::uint8_t* out, std::size_t size) {
        // An empty array's storage may be null, which memcpy must never be given.
        if (size == 0)
            return 0;
        if (size <= Buffered()) {
            std::memcpy(out, block_.data() + blockStart_, size);
            Consume(size);
            return size;
        }
        return ReadBeyondBlock(out, size);
    }
    // One byte; false at the end of the content or on a problem.
    bool ReadByte(std::uint8_t& value) {
        if (Buffered() > 0) {
            value = block_[blockStart_];
            Consume(1);
            return true;
        }
        return ReadBeyondBlock(&value, 1) == 1;
    }
    // Reads past count bytes; false when the content ends first. A count beyond the limit
    // fails at once as too large.
    bool Skip(std::uint64_t count) {
        if (count <= Buffered()) {
            Consume(static_cast<std::size_t>(count));
            return true;
        }
        return SkipBeyondBlock(count);
    }
    // For compressed content: reads on to the end of the compressed stream, whose check sum
    // shows whether the data came through whole. True for intact and for plain content.
    bool ReachEndIntact();
    // The most content bytes that can still come: what the limit leaves, and for plain
    // content no more than the file holds. Lets a parser refuse a length that cannot be
    // right without reading up to it.
    std::uint64_t ContentLeftAtMost() const;

    Problem GetProblem() const { return problem_; }
    bool Compressed() const { return compressed_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Content made but not yet handed out, never more than the limit allows.
    std::size_t Buffered() const { return blockEnd_ - blockStart_; }
    void Consume(std::size_t size) {
        blockStart_ += size;
        handedOut_ += size;
    }
    std::size_t ReadBeyondBlock(std::uint8_t* out, std::size_t size);
    bool SkipBeyondBlock(std::uint64_t count);
    std::size_t Produce(std::uint8_t* out, std::size_t size);
    bool FillInput();
    std::size_t ReadPlain(std::uint8_t* out, std::size_t size);
    std::size_t ReadInflated(std::uint8_t* out, std::size_t size);
    void SetProblem(Problem problem);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::uint64_t fileSize_ = 0;
    std::uint64_t fileRead_ = 0;
    std::vector<std::uint8_t> input_;
    std::size_t inputStart_ = 0;
    std::size_t inputEnd_ = 0;
    std::vector<std::uint8_t> block_;
    std::size_t blockStart_ = 0;
    std::size_t blockEnd_ = 0;
    bool compressed_ = false;
    bool streamEnded_ = false;
    bool inflateReady_ = false;
    z_stream stream_{};
    std::uint64_t limit_;
    std::uint64_t handedOut_ = 0;
    Problem problem_ = Problem::None;
};

}  // namespace stackmason
