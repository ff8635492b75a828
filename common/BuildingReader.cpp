#include "common/BuildingReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/Constants.h"
#include "common/NumberParser.h"

namespace stackmason {
namespace {

bool IsLineEnd(std::uint8_t byte) { return byte == '\r' || byte == '\n' || byte == '\0'; }

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

// Reads one layer's title and rows into layer h: rows 1..Length() are stored, rows beyond
// are read and dropped up to the line that ends the layer. Rows the layer does not hold stay air.
void ReadLayer(LineReader& lines, int h, Building& grid) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    lines.NextLine();
    for (int y = 1; !lines.AtEnd(); ++y) {
        const std::string_view row = lines.NextLine();
        if (row.size() != width)
            return;
        if (y > grid.Length())
            continue;
        StoredCode* cells = grid.Row(y, h) + 1;
        for (std::size_t x = 0; x < width; ++x)
            cells[x] = static_cast<StoredCode>(static_cast<std::uint8_t>(row[x]) - kCellByteOffset);
    }
}

}  // namespace

std::string_view LineReader::NextLine() {
    const std::size_t end = bytes_.size();
    if (position_ >= end)
        return {};
    const std::uint8_t* data = bytes_.data();
    const std::size_t start = position_;
    const std::size_t lineEnd = std::min(FindLineEnd(data, start, end), end);
    position_ = lineEnd;
    if (position_ < end) {
        const bool crLf = data[position_] == '\r' && position_ + 1 < end && data[position_ + 1] == '\n';
        position_ += crLf ? 2 : 1;
    }
    return {reinterpret_cast<const char*>(data + start), lineEnd - start};
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

void ReadLayers(LineReader& lines, Building& grid) {
    for (int h = 1; h <= grid.Height() && !lines.AtEnd(); ++h)
        ReadLayer(lines, h, grid);
}

BuildingFile ReadBuildingFile(std::span<const std::uint8_t> bytes) {
    LineReader lines(bytes);
    BuildingFile file;
    file.header = ReadHeader(lines);
    file.grid = Building(std::clamp(file.header.width, 0, kMaxGridWidth),
                          std::clamp(file.header.length, 0, kMaxGridLength),
                          std::clamp(file.header.height, 0, kMaxGridHeight));
    ReadLayers(lines, file.grid);
    return file;
}

}  // namespace stackmason
