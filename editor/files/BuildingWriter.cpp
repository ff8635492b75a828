#include "editor/files/BuildingWriter.h"

#include <algorithm>
#include <cstring>

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparator = "------\r\n";


std::string LayerTitle(int layer) { return "layer " + std::to_string(layer) + "\r\n"; }

std::uint64_t LayerTextSize(int width, int length, int layer) {
    return LayerTitle(layer).size() + std::uint64_t(length) * (std::uint64_t(width) + 2) + kLineEnd.size();
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

std::size_t WriteBuildingFile(const LayerSource& layers, std::string_view packName, const ByteSink& sink) {
    BlockedOutput out(sink);
    out.Put(BuildingHeaderLine(layers.width, layers.length, layers.height, packName));
    out.Put(kLineEnd);
    out.Put(kSeparator);
    const std::size_t width = static_cast<std::size_t>(layers.width);
    std::size_t unwritable = 0;
    layers.forEachLayer([&](int h, const LayerView& layer) {
        out.Put(LayerTitle(h));
        for (int y = 1; y <= layers.length; ++y) {
            std::uint8_t* row = out.Reserve(width + kLineEnd.size());
            unwritable += ConvertRow(layer.Row(y), width, row);
            std::memcpy(row + width, kLineEnd.data(), kLineEnd.size());
        }
        out.Put(kLineEnd);
    });
    out.Flush();
    return unwritable;
}

std::size_t WriteBuildingFile(const Building& grid, std::string_view packName, const ByteSink& sink) {
    return WriteBuildingFile(LayersOf(grid), packName, sink);
}

std::size_t CountUnwritableCells(const LayerSource& layers) {
    const std::size_t width = static_cast<std::size_t>(layers.width);
    const auto row = std::make_unique_for_overwrite<std::uint8_t[]>(width);
    std::size_t unwritable = 0;
    layers.forEachLayer([&](int, const LayerView& layer) {
        for (int y = 1; y <= layers.length; ++y)
            unwritable += ConvertRow(layer.Row(y), width, row.get());
    });
    return unwritable;
}

std::size_t CountUnwritableCells(const Building& grid) { return CountUnwritableCells(LayersOf(grid)); }

EncodedBuilding EncodeBuildingFile(const Building& grid, std::string_view packName) {
    EncodedBuilding encoded;
    encoded.size = static_cast<std::size_t>(BuildingFileSize(
        grid.Width(), grid.Length(), grid.Height(),
        BuildingHeaderLine(grid.Width(), grid.Length(), grid.Height(), packName).size()));
    encoded.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(encoded.size);
    std::uint8_t* at = encoded.bytes.get();
    encoded.unwritableCells = WriteBuildingFile(grid, packName, [&at](std::span<const std::uint8_t> block) {
        at = std::copy(block.begin(), block.end(), at);
    });
    return encoded;
}

}  // namespace stackmason
