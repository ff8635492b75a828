#include "common/BuildingReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "common/Constants.h"
#include "common/NumberParser.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace stackmason {
namespace {

bool IsLineEnd(std::uint8_t byte) { return byte == '\r' || byte == '\n' || byte == '\0'; }

// Whether any of the bytes is CR, LF or NUL; 16 bytes at a time where the machine can.
bool HoldsLineEnd(const std::uint8_t* data, std::size_t count) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i ends = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)),
                                          _mm_cmpeq_epi8(bytes, nul));
        if (_mm_movemask_epi8(ends) != 0)
            return true;
    }
#endif
    for (; i < count; ++i)
        if (IsLineEnd(data[i]))
            return true;
    return false;
}

// Stores the cells of a row's bytes (byte - 47); 16 at a time where the machine can.
void StoreRow(const std::uint8_t* bytes, std::size_t count, StoredCode* cells) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i offset = _mm_set1_epi16(kCellByteOffset);
    for (; i + 16 <= count; i += 16) {
        const __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cells + i), _mm_sub_epi16(_mm_unpacklo_epi8(row, zero), offset));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cells + i + 8), _mm_sub_epi16(_mm_unpackhi_epi8(row, zero), offset));
    }
#endif
    for (; i < count; ++i)
        cells[i] = static_cast<StoredCode>(bytes[i] - kCellByteOffset);
}

// The position of the first CR, LF or NUL at or after from, or end. Cell bytes are
// normally far above 0x0D, so eight bytes at a time are first tested for holding any byte
// below 0x0E at all.
std::size_t FindLineEnd(const std::uint8_t* data, std::size_t from, std::size_t end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = from;
    while (i + 8 <= end) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        if (((word - kOnes * 0x0E) & ~word & kHighBits) != 0)
            break;
        i += 8;
    }
    while (i < end && !IsLineEnd(data[i]))
        ++i;
    return i;
}

}  // namespace

LineReader::LineReader(ByteSource source, std::size_t blockBytes)
    : source_(std::move(source)), sourceEnded_(false), blockBytes_(std::max<std::size_t>(blockBytes, 1)) {}

bool LineReader::Fill(std::size_t count) {
    if (sourceEnded_)
        return false;
    const std::size_t kept = bytes_.size() - position_;
    if (count > capacity_ || capacity_ == 0) {
        // Grows only for a line longer than a block, which a building file does not hold.
        const std::size_t capacity = std::max({count, blockBytes_, 2 * capacity_});
        auto window = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (kept > 0)
            std::memcpy(window.get(), bytes_.data() + position_, kept);
        window_ = std::move(window);
        capacity_ = capacity;
    } else if (kept > 0) {
        std::memmove(window_.get(), bytes_.data() + position_, kept);
    }
    std::size_t filled = kept;
    while (filled < capacity_) {
        const std::size_t read = source_(window_.get() + filled, capacity_ - filled);
        if (read == 0) {
            sourceEnded_ = true;
            break;
        }
        filled += read;
    }
    bytes_ = {window_.get(), filled};
    position_ = 0;
    return filled > kept;
}

void LineReader::SkipLineEnd() {
    const std::size_t end = bytes_.size();
    if (position_ < end) {
        const bool crLf = bytes_[position_] == '\r' && position_ + 1 < end && bytes_[position_ + 1] == '\n';
        position_ += crLf ? 2 : 1;
    }
}

std::string_view LineReader::NextLine() {
    if (position_ >= bytes_.size() && !Fill(1))
        return {};
    // Bytes from the position known to hold no line end.
    std::size_t scanned = 0;
    for (;;) {
        const std::size_t end = bytes_.size();
        const std::uint8_t* data = bytes_.data();
        const std::size_t lineEnd = std::min(FindLineEnd(data, position_ + scanned, end), end);
        // The line is whole when its end is held, with the byte after a CR that may be the
        // first half of a CR LF, or when the source has nothing more.
        const bool whole = lineEnd < end ? data[lineEnd] != '\r' || lineEnd + 1 < end || sourceEnded_ : sourceEnded_;
        if (whole) {
            const std::size_t start = position_;
            position_ = lineEnd;
            SkipLineEnd();
            return {reinterpret_cast<const char*>(data + start), lineEnd - start};
        }
        scanned = lineEnd - position_;
        Fill(scanned + 2);
    }
}

std::string_view LineReader::NextLineExpecting(std::size_t length) {
    // The row, its line end and the byte after that, which may complete a CR LF.
    if (bytes_.size() - position_ < length + 2)
        Fill(length + 2);
    const std::uint8_t* data = bytes_.data();
    const std::size_t start = position_;
    if (start >= bytes_.size() || bytes_.size() - start <= length || !IsLineEnd(data[start + length]) ||
        HoldsLineEnd(data + start, length))
        return NextLine();
    position_ = start + length;
    SkipLineEnd();
    return {reinterpret_cast<const char*>(data + start), length};
}

BuildingHeader ParseHeaderLine(std::string_view line) {
    BuildingHeader header;
    const std::size_t semicolon = line.find(';');
    header.packName = std::string(semicolon == std::string_view::npos ? line : line.substr(semicolon + 1));

    std::int32_t* sizes[] = {&header.width, &header.length, &header.height};
    std::string_view rest = line;
    for (std::int32_t* size : sizes) {
        const std::size_t x = rest.find('x');
        *size = ParseDecimal(rest.substr(0, x));
        if (x == std::string_view::npos)
            break;
        rest = rest.substr(x + 1);
    }
    return header;
}

BuildingHeader ReadHeader(LineReader& lines) {
    BuildingHeader header = ParseHeaderLine(lines.NextLine());
    lines.NextLine();
    return header;
}

void ReadLayer(LineReader& lines, int h, Building& grid) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    lines.NextLine();
    for (int y = 1; !lines.AtEnd(); ++y) {
        const std::string_view row = lines.NextLineExpecting(width);
        if (row.size() != width)
            return;
        if (y > grid.Length())
            continue;
        StoredCode* cells = grid.Row(y, h) + 1;
        StoreRow(reinterpret_cast<const std::uint8_t*>(row.data()), width, cells);
    }
}

void ReadLayers(LineReader& lines, Building& grid) {
    for (int h = 1; h <= grid.Height() && !lines.AtEnd(); ++h)
        ReadLayer(lines, h, grid);
}

BuildingFile ReadBuildingFile(std::span<const std::uint8_t> bytes) {
    LineReader lines(bytes);
    return ReadBuildingFile(lines);
}

namespace {

// Each size clamped into the limits of a building, a negative one to 0.
Building ClampedGrid(const BuildingHeader& header) {
    return Building(std::clamp(header.width, 0, kMaxGridWidth), std::clamp(header.length, 0, kMaxGridLength),
                    std::clamp(header.height, 0, kMaxGridHeight));
}

BuildingFile ReadIntoGrid(LineReader& lines, Building (*gridOf)(const BuildingHeader&)) {
    BuildingFile file;
    file.header = ReadHeader(lines);
    file.grid = gridOf(file.header);
    ReadLayers(lines, file.grid);
    return file;
}

}  // namespace

Building GridAsItStands(const BuildingHeader& header) {
    const auto stored = [](std::int32_t size) { return static_cast<std::uint64_t>(std::max(size, 0)) + 1; };
    constexpr std::uint64_t kLargest =
        std::uint64_t{kMaxGridWidth + 1} * std::uint64_t{kMaxGridLength + 1} * std::uint64_t{kMaxGridHeight + 1};
    const std::uint64_t row = stored(header.width);
    const std::uint64_t layer = row * stored(header.length);  // both at most 2^31: no overflow
    const bool fits = layer <= kLargest && layer * stored(header.height) <= kLargest;
    if (!fits)
        return ClampedGrid(header);
    return Building(header.width, header.length, header.height);
}

BuildingFile ReadBuildingFileAsItStands(LineReader& lines) { return ReadIntoGrid(lines, GridAsItStands); }

BuildingFile ReadBuildingFile(LineReader& lines) { return ReadIntoGrid(lines, ClampedGrid); }

}  // namespace stackmason
