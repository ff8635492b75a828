#include "editor/files/BuildingWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparator = "------\r\n";


std::string LayerTitle(int layer) { return "layer " + std::to_string(layer) + "\r\n"; }

std::uint64_t LayerTextSize(int width, int length, int layer) {
    return LayerTitle(layer).size() + std::uint64_t(length) * (std::uint64_t(width) + 2) + kLineEnd.size();
}

std::uint8_t* Put(std::uint8_t* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// Writes everything but the cells: header, separator, titles, every row's CR LF and the
// empty line of each layer. Returns where each layer's first row starts.
std::vector<std::uint8_t*> LayOutText(const Building& grid, std::string_view packName, std::uint8_t* out) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    out = Put(out, BuildingHeaderLine(grid.Width(), grid.Length(), grid.Height(), packName));
    out = Put(out, kLineEnd);
    out = Put(out, kSeparator);
    std::vector<std::uint8_t*> rowStarts;
    for (int layer = 1; layer <= grid.Height(); ++layer) {
        out = Put(out, LayerTitle(layer));
        rowStarts.push_back(out);
        for (int y = 1; y <= grid.Length(); ++y)
            out = Put(out + width, kLineEnd);
        out = Put(out, kLineEnd);
    }
    return rowStarts;
}

// Converts one row's cells into bytes and returns how many of them do not round-trip (the
// test of CellCodeRoundTrips), in a form the compiler turns into vector code.
std::size_t ConvertRow(const StoredCode* cells, std::size_t count, std::uint8_t* bytes) {
    std::uint32_t unwritable = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t byte = static_cast<std::uint32_t>(cells[i] + kCellByteOffset);
        bytes[i] = static_cast<std::uint8_t>(byte);
        unwritable += static_cast<std::uint32_t>(byte - 1 > 254u) | static_cast<std::uint32_t>(byte == '\n') |
                      static_cast<std::uint32_t>(byte == '\r');
    }
    return unwritable;
}

}  // namespace

std::string BuildingHeaderLine(int width, int length, int height, std::string_view packName) {
    return std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) + ";" +
           std::string(packName);
}

std::uint64_t BuildingFileSize(int width, int length, int height, std::size_t headerLength) {
    std::uint64_t size = headerLength + kLineEnd.size() + kSeparator.size();
    for (int layer = 1; layer <= height; ++layer)
        size += LayerTextSize(width, length, layer);
    return size;
}

EncodedBuilding EncodeBuildingFile(const Building& grid, std::string_view packName) {
    EncodedBuilding encoded;
    encoded.size = static_cast<std::size_t>(BuildingFileSize(
        grid.Width(), grid.Length(), grid.Height(),
        BuildingHeaderLine(grid.Width(), grid.Length(), grid.Height(), packName).size()));
    encoded.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(encoded.size);
    const std::vector<std::uint8_t*> rowStarts = LayOutText(grid, packName, encoded.bytes.get());

    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t rowStride = width + 2;
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            encoded.unwritableCells += ConvertRow(grid.Row(y, h) + 1, width,
                                                  rowStarts[static_cast<std::size_t>(h - 1)] + (y - 1) * rowStride);
    return encoded;
}

}  // namespace stackmason
