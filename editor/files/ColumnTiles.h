#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/BlockGrid.h"

namespace stackmason {

// The grid keeps the layers of one column next to each other (h fastest, then y, then x);
// the files keep a layer's rows together, x fastest. The files' bytes are converted a tile
// at a time: kTileColumns neighbouring columns of one row, every layer of them. Each column
// is read whole, in the grid's own order, into the tile's bytes of that column; the tile is
// then turned round in blocks of 8 x 8 bytes, so that each layer's bytes of the tile make
// one whole cache line of the file. Storing byte by byte straight into 256 layers instead
// costs several times as much.
inline constexpr std::size_t kTileColumns = 64;

// Bytes per column in a tile: the height rounded up to whole blocks of 8.
inline constexpr std::size_t TileColumnBytes(std::size_t height) { return (height + 7) / 8 * 8; }

// One tile of the building's cells: columns x0 + 1 .. x0 + columns of row y + 1, every layer.
// firstCell is the grid index of the cell (x0 + 1, y + 1, 1); the next column's cells follow
// columnStride further on.
struct ColumnTile {
    std::size_t x0;
    std::size_t y;
    std::size_t columns;
    std::size_t firstCell;
    std::size_t columnStride;
    // The offset of the tile's first cell inside each layer of a file body that keeps a
    // layer's rows together, rowStride bytes per row.
    std::size_t LayerOffset(std::size_t rowStride) const { return y * rowStride + x0; }
};

// Visits every tile of the building x 1..X, y 1..Y, x0 outermost as the grid is stored.
template <typename Visit>
void ForEachColumnTile(const BlockGrid& grid, Visit visit) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const std::size_t length = static_cast<std::size_t>(grid.Length());
    const std::size_t xStride = grid.Index(1, 0, 0);
    const std::size_t yStride = grid.Index(0, 1, 0);
    const std::size_t first = grid.Index(1, 1, 1);
    for (std::size_t x0 = 0; x0 < width; x0 += kTileColumns) {
        const std::size_t columns = std::min(kTileColumns, width - x0);
        for (std::size_t y = 0; y < length; ++y)
            visit(ColumnTile{x0, y, columns, first + x0 * xStride + y * yStride, xStride});
    }
}

// Turns round an 8 x 8 block of bytes held as 8 words, row r's byte k in bits 8k to 8k + 7.
inline void TransposeBlock(std::uint64_t rows[8]) {
    static_assert(std::endian::native == std::endian::little, "the tiles take words as bytes in little-endian order");
    constexpr std::uint64_t kHalves = 0x00000000FFFFFFFFull;
    constexpr std::uint64_t kQuarters = 0x0000FFFF0000FFFFull;
    constexpr std::uint64_t kEighths = 0x00FF00FF00FF00FFull;
    auto swap = [&rows](int a, int b, int shift, std::uint64_t mask) {
        const std::uint64_t t = ((rows[a] >> shift) ^ rows[b]) & mask;
        rows[b] ^= t;
        rows[a] ^= t << shift;
    };
    for (int i = 0; i < 4; ++i)
        swap(i, i + 4, 32, kHalves);
    for (int i : {0, 1, 4, 5})
        swap(i, i + 2, 16, kQuarters);
    for (int i : {0, 2, 4, 6})
        swap(i, i + 1, 8, kEighths);
}

// Copies size bytes, size at most 8; whole words, the common case, as one move.
inline void CopyUpTo8(void* to, const void* from, std::size_t size) {
    if (size == 8)
        std::memcpy(to, from, 8);
    else
        std::memcpy(to, from, size);
}

// Writes a tile whose column c holds its bytes at tile + c * TileColumnBytes(height) to the
// layers' rows: byte (c, h) goes to rowOf(h)[c], for c < columns and h < height.
template <typename RowOf>
void WriteTileToLayers(const std::uint8_t* tile, std::size_t columns, std::size_t height, RowOf rowOf) {
    const std::size_t columnBytes = TileColumnBytes(height);
    for (std::size_t h0 = 0; h0 < height; h0 += 8) {
        const std::size_t rows = std::min<std::size_t>(8, height - h0);
        for (std::size_t c0 = 0; c0 < columns; c0 += 8) {
            const std::size_t width = std::min<std::size_t>(8, columns - c0);
            std::uint64_t block[8] = {};
            for (std::size_t i = 0; i < width; ++i)
                std::memcpy(&block[i], tile + (c0 + i) * columnBytes + h0, 8);
            TransposeBlock(block);
            for (std::size_t k = 0; k < rows; ++k)
                CopyUpTo8(rowOf(h0 + k) + c0, &block[k], width);
        }
    }
}

// The reverse: byte rowOf(h)[c] goes to the tile's column c, for c < columns, h < height.
template <typename RowOf>
void ReadTileFromLayers(std::uint8_t* tile, std::size_t columns, std::size_t height, RowOf rowOf) {
    const std::size_t columnBytes = TileColumnBytes(height);
    for (std::size_t h0 = 0; h0 < height; h0 += 8) {
        const std::size_t rows = std::min<std::size_t>(8, height - h0);
        for (std::size_t c0 = 0; c0 < columns; c0 += 8) {
            const std::size_t width = std::min<std::size_t>(8, columns - c0);
            std::uint64_t block[8] = {};
            for (std::size_t k = 0; k < rows; ++k)
                CopyUpTo8(&block[k], rowOf(h0 + k) + c0, width);
            TransposeBlock(block);
            for (std::size_t i = 0; i < width; ++i)
                std::memcpy(tile + (c0 + i) * columnBytes + h0, &block[i], 8);
        }
    }
}

}  // namespace stackmason
