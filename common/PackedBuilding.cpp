#include "common/PackedBuilding.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace stackmason {
namespace {

constexpr std::size_t kPaletteLimit = 256;
constexpr std::uint16_t kNoIndex = 0xFFFF;

// Deflating pays only for indices that are mostly one value (air around a few walls): below
// this many bits a cell by their counts' entropy. Random blocks keep their byte a cell, which
// unpacks at the speed of memory where inflating them would take seconds for the largest
// building.
constexpr double kDeflateBelowBits = 2.0;

// zlib's memory comes from operator new like every other allocation, so that a failure
// anywhere reaches the packer the same way.
voidpf AllocateForZlib(voidpf, uInt items, uInt size) {
    return ::operator new(static_cast<std::size_t>(items) * size, std::nothrow);
}
void FreeForZlib(voidpf, voidpf address) { ::operator delete(address); }

// One deflate stream for all the chunks of a building, reset between them: no header, no
// check value, the fastest level (mostly-air indices shrink as far at level 1 as at 9).
class Deflater {
public:
    Deflater() {
        stream_.zalloc = AllocateForZlib;
        stream_.zfree = FreeForZlib;
        if (deflateInit2(&stream_, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
    }
    ~Deflater() { deflateEnd(&stream_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The bytes deflated, or nothing when that does not make them smaller.
    std::vector<std::uint8_t> Deflate(const std::uint8_t* bytes, std::size_t count) {
        std::vector<std::uint8_t> out(deflateBound(&stream_, static_cast<uLong>(count)));
        deflateReset(&stream_);
        stream_.next_in = const_cast<Bytef*>(bytes);
        stream_.avail_in = static_cast<uInt>(count);
        stream_.next_out = out.data();
        stream_.avail_out = static_cast<uInt>(out.size());
        const int result = deflate(&stream_, Z_FINISH);
        if (result == Z_MEM_ERROR)
            throw std::bad_alloc();
        if (result != Z_STREAM_END || stream_.total_out >= count)
            return {};
        out.resize(stream_.total_out);
        out.shrink_to_fit();
        return out;
    }

private:
    z_stream stream_{};
};

class Inflater {
public:
    Inflater() {
        stream_.zalloc = AllocateForZlib;
        stream_.zfree = FreeForZlib;
        if (inflateInit2(&stream_, -15) != Z_OK)
            throw std::bad_alloc();
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    void Inflate(const std::vector<std::uint8_t>& deflated, std::uint8_t* out, std::size_t count) {
        inflateReset(&stream_);
        stream_.next_in = const_cast<Bytef*>(deflated.data());
        stream_.avail_in = static_cast<uInt>(deflated.size());
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(count);
        const int result = inflate(&stream_, Z_FINISH);
        // The bytes were deflated here from exactly `count` bytes: only memory can be missing.
        if (result != Z_STREAM_END)
            throw std::bad_alloc();
    }

private:
    z_stream stream_{};
};

bool AllAir(const StoredCode* cells, std::size_t count) {
    // Word compares a stretch at a time: a mostly-air building has most of its chunks all
    // air, and any other chunk is told apart within its first stretch.
    constexpr std::size_t kStretch = 64;
    std::size_t i = 0;
    for (; i + kStretch <= count; i += kStretch) {
        std::uint64_t any = 0;
        for (std::size_t k = 0; k < kStretch; k += 4) {
            std::uint64_t word = 0;
            std::memcpy(&word, cells + i + k, sizeof(word));
            any |= word;
        }
        if (any != 0)
            return false;
    }
    for (; i < count; ++i)
        if (cells[i] != 0)
            return false;
    return true;
}

// Bits a cell that an ideal coder of these counts would need.
double EntropyBits(const std::array<std::uint32_t, kPaletteLimit>& counts, std::size_t used, std::size_t cells) {
    double bits = 0;
    for (std::size_t i = 0; i < used; ++i)
        bits += counts[i] * std::log2(static_cast<double>(cells) / counts[i]);
    return bits / static_cast<double>(cells);
}

// Work memory for packing one chunk after another: the index of each code seen in the chunk,
// and the chunk's indices.
struct PackWork {
    std::vector<std::uint16_t> indexOf = std::vector<std::uint16_t>(std::size_t{1} << 16, kNoIndex);
    std::vector<std::uint8_t> indices = std::vector<std::uint8_t>(PackedBuilding::kChunkCells);
    Deflater deflater;
};

std::size_t Slot(StoredCode code) { return static_cast<std::uint16_t>(code); }

// Whether every code lies in 0..255; then each cell is its low byte, written to `bytes`: one
// plain loop the compiler turns into vector code, several times faster than building a
// palette.
bool NarrowToBytes(const StoredCode* cells, std::size_t count, std::uint8_t* bytes) {
    std::uint16_t high = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto code = static_cast<std::uint16_t>(cells[i]);
        high |= code;
        bytes[i] = static_cast<std::uint8_t>(code);
    }
    return high <= 0xFF;
}

// Where the run of the byte at `from` ends: 16 bytes compared at a time where the machine can,
// since a mostly-air chunk is runs of hundreds of cells.
std::size_t RunEnd(const std::uint8_t* bytes, std::size_t from, std::size_t count) {
    const std::uint8_t value = bytes[from];
    std::size_t end = from + 1;
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(value));
    for (; end + 16 <= count; end += 16) {
        const __m128i stretch = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + end));
        const auto same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(stretch, wanted)));
        if (same != 0xFFFF)
            return end + static_cast<std::size_t>(std::countr_one(same));
    }
#endif
    while (end < count && bytes[end] == value)
        ++end;
    return end;
}

// Each run as its byte and, in 7-bit groups lowest first, how many cells after the first
// repeat it; nothing when that is no smaller than the bytes.
std::vector<std::uint8_t> ByteRuns(const std::uint8_t* bytes, std::size_t count) {
    std::vector<std::uint8_t> runs;
    runs.reserve(count / 8);
    for (std::size_t i = 0; i < count;) {
        const std::size_t end = RunEnd(bytes, i, count);
        runs.push_back(bytes[i]);
        std::size_t repeats = end - i - 1;
        for (; repeats >= 0x80; repeats >>= 7)
            runs.push_back(static_cast<std::uint8_t>(repeats | 0x80));
        runs.push_back(static_cast<std::uint8_t>(repeats));
        i = end;
        if (runs.size() >= count)
            return {};
    }
    runs.shrink_to_fit();
    return runs;
}

// Air runs are skipped: a fresh building's cells are air already.
void FillRuns(const std::vector<std::uint8_t>& runs, StoredCode* cells) {
    const std::uint8_t* at = runs.data();
    const std::uint8_t* const end = at + runs.size();
    while (at < end) {
        const StoredCode code = *at++;
        std::size_t repeats = 0;
        for (int shift = 0;; shift += 7) {
            const std::uint8_t group = *at++;
            repeats |= static_cast<std::size_t>(group & 0x7F) << shift;
            if ((group & 0x80) == 0)
                break;
        }
        if (code != 0)
            std::fill_n(cells, repeats + 1, code);
        cells += repeats + 1;
    }
}

void Widen(const std::uint8_t* bytes, StoredCode* cells, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        cells[i] = bytes[i];
}

// Runs in three cells of four: what run lengths shrink many times over. Deflating them as well
// shrank the largest mostly-air building no further but took three times as long to pack and
// unpack, which undoing a load waits for. The bytes are compared a stretch at a time, in
// counters of a byte that vectorise, and the answer is no as soon as too many differ, which
// for a random chunk is within its first quarter.
bool MostlyRuns(const std::uint8_t* bytes, std::size_t count) {
    constexpr std::size_t kStretch = 255;
    std::size_t differ = 0;
    for (std::size_t i = 1; i < count;) {
        const std::size_t end = std::min(count, i + kStretch);
        std::uint8_t differInStretch = 0;
        for (; i < end; ++i)
            differInStretch = static_cast<std::uint8_t>(differInStretch + (bytes[i] != bytes[i - 1] ? 1 : 0));
        differ += differInStretch;
        // Of the cells after the first, at most this many can still repeat the one before.
        if ((count - 1 - differ) * 4 < count * 3)
            return false;
    }
    return true;
}

}  // namespace

PackedBuilding::PackedBuilding(Building&& building) noexcept
    : width_(building.Width()), length_(building.Length()), height_(building.Height()) {
    plain_.emplace(std::move(building));
}

void PackedBuilding::Pack() noexcept {
    if (!plain_)
        return;
    try {
        chunks_ = PackCells(plain_->Layer(0), plain_->CellCount());
        packed_ = true;
        plain_.reset();
    } catch (...) {
        // Plain it stays: more memory than packed, never a building lost.
    }
}

std::size_t PackedBuilding::Bytes() const {
    if (plain_)
        return (plain_->CellCount() + plain_->LayerCells()) * sizeof(StoredCode);
    std::size_t bytes = chunks_.capacity() * sizeof(Chunk);
    for (const Chunk& chunk : chunks_)
        bytes += chunk.palette.capacity() * sizeof(StoredCode) + chunk.bytes.capacity();
    return bytes;
}

Building PackedBuilding::Unpack() && {
    if (plain_) {
        Building building = std::move(*plain_);
        plain_.reset();
        return building;
    }
    if (!packed_)
        return Building();
    Building building(width_, length_, height_);
    UnpackCells(chunks_, building.Layer(0), building.CellCount());
    chunks_ = {};
    packed_ = false;
    return building;
}

std::vector<PackedBuilding::Chunk> PackedBuilding::PackCells(const StoredCode* cells, std::size_t count) {
    std::vector<Chunk> chunks((count + kChunkCells - 1) / kChunkCells);
    auto work = std::make_unique<PackWork>();
    std::array<std::uint32_t, kPaletteLimit> counts{};
    for (std::size_t c = 0; c < chunks.size(); ++c) {
        const StoredCode* from = cells + c * kChunkCells;
        const std::size_t cellCount = std::min(kChunkCells, count - c * kChunkCells);
        Chunk& chunk = chunks[c];
        if (AllAir(from, cellCount))
            continue;
        const std::uint8_t* bytes = work->indices.data();
        if (NarrowToBytes(from, cellCount, work->indices.data())) {
            if (MostlyRuns(bytes, cellCount))
                chunk.bytes = ByteRuns(bytes, cellCount);
            chunk.form = chunk.bytes.empty() ? Form::Bytes : Form::ByteRuns;
            if (chunk.form == Form::Bytes)
                chunk.bytes.assign(bytes, bytes + cellCount);
            continue;
        }
        std::vector<StoredCode> palette;
        palette.reserve(kPaletteLimit);
        counts.fill(0);
        bool wide = false;
        for (std::size_t i = 0; i < cellCount; ++i) {
            std::uint16_t& index = work->indexOf[Slot(from[i])];
            if (index == kNoIndex) {
                if (palette.size() == kPaletteLimit) {
                    wide = true;
                    break;
                }
                index = static_cast<std::uint16_t>(palette.size());
                palette.push_back(from[i]);
            }
            work->indices[i] = static_cast<std::uint8_t>(index);
            ++counts[index];
        }
        for (StoredCode code : palette)
            work->indexOf[Slot(code)] = kNoIndex;
        if (wide) {
            chunk.form = Form::Cells;
            chunk.bytes.resize(cellCount * sizeof(StoredCode));
            std::memcpy(chunk.bytes.data(), from, chunk.bytes.size());
            continue;
        }
        chunk.palette.assign(palette.begin(), palette.end());
        if (EntropyBits(counts, palette.size(), cellCount) < kDeflateBelowBits)
            chunk.bytes = work->deflater.Deflate(work->indices.data(), cellCount);
        if (!chunk.bytes.empty()) {
            chunk.form = Form::DeflatedIndices;
            continue;
        }
        chunk.form = Form::Indices;
        chunk.bytes.assign(work->indices.begin(), work->indices.begin() + static_cast<std::ptrdiff_t>(cellCount));
    }
    return chunks;
}

void PackedBuilding::UnpackCells(const std::vector<Chunk>& chunks, StoredCode* cells, std::size_t count) {
    std::vector<std::uint8_t> inflated(kChunkCells);
    std::optional<Inflater> inflater;
    for (std::size_t c = 0; c < chunks.size(); ++c) {
        StoredCode* to = cells + c * kChunkCells;
        const std::size_t cellCount = std::min(kChunkCells, count - c * kChunkCells);
        const Chunk& chunk = chunks[c];
        const std::uint8_t* indices = chunk.bytes.data();
        switch (chunk.form) {
        case Form::Air:
            // A fresh building's cells are air already.
            continue;
        case Form::ByteRuns:
            FillRuns(chunk.bytes, to);
            continue;
        case Form::Bytes:
            Widen(chunk.bytes.data(), to, cellCount);
            continue;
        case Form::Cells:
            std::memcpy(to, chunk.bytes.data(), cellCount * sizeof(StoredCode));
            continue;
        case Form::DeflatedIndices:
            if (!inflater)
                inflater.emplace();
            inflater->Inflate(chunk.bytes, inflated.data(), cellCount);
            indices = inflated.data();
            break;
        case Form::Indices:
            break;
        }
        const StoredCode* palette = chunk.palette.data();
        for (std::size_t i = 0; i < cellCount; ++i)
            to[i] = palette[indices[i]];
    }
}

}  // namespace stackmason
