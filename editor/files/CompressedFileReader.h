#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

namespace stackmason {

// Reads a file's bytes whether it is stored plain, gzip-compressed or zlib-compressed: the
// first two bytes tell which. At most limit bytes of content are handed out; a file that
// holds more counts as too large.
class CompressedFileReader {
public:
    enum class Problem { None, CannotOpen, Damaged, TooLarge, ReadError };

    CompressedFileReader(const std::string& path, std::uint64_t limit);
    ~CompressedFileReader();
    CompressedFileReader(const CompressedFileReader&) = delete;
    CompressedFileReader& operator=(const CompressedFileReader&) = delete;

    // Reads up to size bytes into out; fewer only at the end of the content or on a problem.
    std::size_t Read(std::uint8_t* out, std::size_t size);
    // Reads past count bytes; false when the content ends first.
    bool Skip(std::uint64_t count);
    // For compressed content: reads on to the end of the compressed stream, whose check sum
    // shows whether the data came through whole. True for intact and for plain content.
    bool ReachEndIntact();

    Problem GetProblem() const { return problem_; }
    bool Compressed() const { return compressed_; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    bool FillInput();
    std::size_t ReadPlain(std::uint8_t* out, std::size_t size);
    std::size_t ReadInflated(std::uint8_t* out, std::size_t size);
    void SetProblem(Problem problem);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<std::uint8_t> input_;
    std::size_t inputStart_ = 0;
    std::size_t inputEnd_ = 0;
    bool compressed_ = false;
    bool streamEnded_ = false;
    bool inflateReady_ = false;
    z_stream stream_{};
    std::uint64_t limit_;
    std::uint64_t handedOut_ = 0;
    Problem problem_ = Problem::None;
};

}  // namespace stackmason
