#include "editor/files/GzipOutput.h"

#include <new>
#include <stdexcept>

#include <zlib.h>

namespace stackmason {
namespace {

// The window bits that make deflate write a gzip header and trailer round its stream.
constexpr int kGzipWindowBits = 15 + 16;
constexpr std::size_t kOutputBytes = 1 << 20;

}  // namespace

struct GzipOutput::Stream {
    z_stream z{};
};

GzipOutput::GzipOutput(const ByteSink& out) : out_(out), stream_(std::make_unique<Stream>()), buffer_(kOutputBytes) {
    // The fastest level with run-length matches only: a building is mostly runs of one
    // block, which this finds at a fraction of the time the longer searches take, and the
    // file stays a few times smaller than its content.
    if (deflateInit2(&stream_->z, 1, Z_DEFLATED, kGzipWindowBits, 8, Z_RLE) != Z_OK)
        throw std::bad_alloc();
}

GzipOutput::~GzipOutput() { deflateEnd(&stream_->z); }

void GzipOutput::Write(std::span<const std::uint8_t> bytes) {
    z_stream& z = stream_->z;
    // zlib takes its input through a non-const pointer but does not write it.
    z.next_in = const_cast<Bytef*>(bytes.data());
    z.avail_in = static_cast<uInt>(bytes.size());
    Deflate(Z_NO_FLUSH);
}

void GzipOutput::Finish() {
    stream_->z.next_in = nullptr;
    stream_->z.avail_in = 0;
    Deflate(Z_FINISH);
}

void GzipOutput::Deflate(int flush) {
    z_stream& z = stream_->z;
    for (;;) {
        z.next_out = buffer_.data();
        z.avail_out = static_cast<uInt>(buffer_.size());
        const int result = deflate(&z, flush);
        if (result == Z_STREAM_ERROR)
            throw std::logic_error("the gzip stream was used after its end");
        const std::size_t made = buffer_.size() - z.avail_out;
        if (made > 0)
            out_({buffer_.data(), made});
        if (flush == Z_FINISH ? result == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0))
            return;
    }
}

}  // namespace stackmason
