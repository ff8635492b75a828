#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "editor/files/ByteSink.h"

namespace stackmason {

// A sink that gzip-compresses what it is handed and passes the compressed bytes on to
// another sink a block at a time. Finish ends the stream; it must be called once, after the
// last Write. Throws std::bad_alloc when zlib cannot have its memory.
class GzipOutput {
public:
    explicit GzipOutput(const ByteSink& out);
    ~GzipOutput();
    GzipOutput(const GzipOutput&) = delete;
    GzipOutput& operator=(const GzipOutput&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    void Finish();
    // The sink to hand an encoder.
    ByteSink AsSink() {
        return [this](std::span<const std::uint8_t> bytes) { Write(bytes); };
    }

private:
    struct Stream;
    void Deflate(int flush);
    void Emit();
    void ChooseLevel();
    void SetLevel(int level);

    const ByteSink& out_;
    std::unique_ptr<Stream> stream_;
    std::vector<std::uint8_t> buffer_;
    int level_ = 1;
    std::uint64_t inSinceChoice_ = 0;
    std::uint64_t outSinceChoice_ = 0;
};

}  // namespace stackmason
