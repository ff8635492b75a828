#include "editor/files/BuildingWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/Constants.h"
#include "editor/files/ColumnTiles.h"

namespace stackmason {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparator = "------\r\n";

std::uint8_t CellByte(BlockCode code) { return static_cast<std::uint8_t>(code + kCellByteOffset); }

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
std::vector<std::uint8_t*> LayOutText(const BlockGrid& grid, std::string_view packName, std::uint8_t* out) {
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

// The same test as CellCodeRoundTrips, in a form the compiler turns into vector code.
std::size_t CountUnwritable(const BlockCode* cells, std::size_t count) {
    std::uint32_t unwritable = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t shifted = static_cast<std::uint32_t>(cells[i]) + (kCellByteOffset - 1);
        unwritable += static_cast<std::uint32_t>(shifted > 254u) | static_cast<std::uint32_t>(cells[i] == '\n' - kCellByteOffset) |
                      static_cast<std::uint32_t>(cells[i] == '\r' - kCellByteOffset);
    }
    return unwritable;
}

// Fills the cells of one tile: kTileColumns columns (fewer at the right edge) of kTileRows
// rows (fewer at the far edge), all layers; tile byte (h, r, c) is at
// (h * kTileRows + r) * kTileColumns + c. The grid's fields are held in locals, since byte
// stores could alias them and force reloads. Returns the tile's cells that do not round-trip.
std::size_t FillTile(const BlockCode* firstColumn, const TileShape& shape, std::uint8_t* tile) {
    std::size_t unwritable = 0;
    for (std::size_t c = 0; c < shape.columns; ++c) {
        for (std::size_t r = 0; r < shape.rows; ++r) {
            const BlockCode* column = firstColumn + c * shape.xStride + r * shape.yStride;
            unwritable += CountUnwritable(column, shape.height);
            for (std::size_t h = 0; h < shape.height; ++h)
                tile[(h * kTileRows + r) * kTileColumns + c] = CellByte(column[h]);
        }
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

EncodedBuilding EncodeBuildingFile(const BlockGrid& grid, std::string_view packName) {
    EncodedBuilding encoded;
    encoded.size = static_cast<std::size_t>(BuildingFileSize(
        grid.Width(), grid.Length(), grid.Height(),
        BuildingHeaderLine(grid.Width(), grid.Length(), grid.Height(), packName).size()));
    encoded.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(encoded.size);
    const std::vector<std::uint8_t*> rowStarts = LayOutText(grid, packName, encoded.bytes.get());

    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t length = static_cast<std::size_t>(grid.Length());
    const std::size_t rowStride = width + 2;
    TileShape shape = TileShapeOf(grid);
    const BlockCode* const cells = grid.Data() + grid.Index(1, 1, 1);
    std::vector<std::uint8_t> tile(shape.height * kTileRows * kTileColumns);
    for (std::size_t x0 = 0; x0 < width; x0 += kTileColumns) {
        shape.columns = std::min(kTileColumns, width - x0);
        for (std::size_t y0 = 0; y0 < length; y0 += kTileRows) {
            shape.rows = std::min(kTileRows, length - y0);
            encoded.unwritableCells += FillTile(cells + x0 * shape.xStride + y0 * shape.yStride, shape, tile.data());
            for (std::size_t h = 0; h < shape.height; ++h)
                for (std::size_t r = 0; r < shape.rows; ++r)
                    std::memcpy(rowStarts[h] + (y0 + r) * rowStride + x0,
                                tile.data() + (h * kTileRows + r) * kTileColumns, shape.columns);
        }
    }
    return encoded;
}

}  // namespace stackmason
