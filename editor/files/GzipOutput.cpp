#include "editor/files/GzipOutput.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include <zlib.h>

namespace stackmason {
namespace {

// The window bits that make deflate write a gzip header and trailer round its stream.
constexpr int kGzipWindowBits = 15 + 16;
constexpr std::size_t kOutputBytes = 1 << 20;

// How the stream is compressed: the fastest level with run-length matches only, where it
// pays, since a building is mostly runs of one block (air above all), which this finds at a
// fraction of the time longer searches take and shrinks many times over. A noisy mix of
// blocks it does not even halve, at several times the cost of writing it, so such stretches
// are stored as they are; every so often compressing is tried again, on a short stretch,
// since inflating a stretch that did not pay costs the reader several times what copying a
// stored one does.
constexpr int kCompressed = 1;
constexpr int kStored = 0;
constexpr std::uint64_t kProbeBytes = 256 << 10;
constexpr std::uint64_t kStoredStretchBytes = 8 << 20;
// Compressing pays when the output is at most this share of the input, in tenths.
constexpr std::uint64_t kPayingTenths = 5;
// Writes longer than this are compressed in pieces of it, a level chosen after each.
constexpr std::size_t kPieceBytes = 64 << 10;

}  // namespace

struct GzipOutput::Stream {
    z_stream z{};
};

GzipOutput::GzipOutput(const ByteSink& out) : out_(out), stream_(std::make_unique<Stream>()), buffer_(kOutputBytes) {
    if (deflateInit2(&stream_->z, kCompressed, Z_DEFLATED, kGzipWindowBits, 8, Z_RLE) != Z_OK)
        throw std::bad_alloc();
}

GzipOutput::~GzipOutput() { deflateEnd(&stream_->z); }

void GzipOutput::Write(std::span<const std::uint8_t> bytes) {
    z_stream& z = stream_->z;
    // A piece at a time, so that the level can change within a long write.
    while (!bytes.empty()) {
        const std::span<const std::uint8_t> piece = bytes.first(std::min(bytes.size(), kPieceBytes));
        // zlib takes its input through a non-const pointer but does not write it.
        z.next_in = const_cast<Bytef*>(piece.data());
        z.avail_in = static_cast<uInt>(piece.size());
        Deflate(Z_NO_FLUSH);
        inSinceChoice_ += piece.size();
        ChooseLevel();
        bytes = bytes.subspan(piece.size());
    }
}

void GzipOutput::ChooseLevel() {
    if (level_ == kCompressed && inSinceChoice_ >= kProbeBytes) {
        if (outSinceChoice_ * 10 > inSinceChoice_ * kPayingTenths)
            SetLevel(kStored);
        inSinceChoice_ = outSinceChoice_ = 0;
    } else if (level_ == kStored && inSinceChoice_ >= kStoredStretchBytes) {
        SetLevel(kCompressed);
        inSinceChoice_ = outSinceChoice_ = 0;
    }
}

void GzipOutput::SetLevel(int level) {
    z_stream& z = stream_->z;
    z.avail_in = 0;
    for (;;) {
        z.next_out = buffer_.data();
        z.avail_out = static_cast<uInt>(buffer_.size());
        const int result = deflateParams(&z, level, Z_RLE);
        Emit();
        if (result != Z_BUF_ERROR)
            break;
    }
    level_ = level;
}

void GzipOutput::Emit() {
    const std::size_t made = buffer_.size() - stream_->z.avail_out;
    if (made > 0)
        out_({buffer_.data(), made});
    outSinceChoice_ += made;
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
        Emit();
        if (flush == Z_FINISH ? result == Z_STREAM_END : (z.avail_in == 0 && z.avail_out > 0))
            return;
    }
}

}  // namespace stackmason
