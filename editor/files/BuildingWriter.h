#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/Building.h"
#include "editor/files/BuildingLayers.h"
#include "editor/files/ByteSink.h"

namespace stackmason {

// The building text format as written: a header line "XxYxH;pack", a line of six hyphens,
// then per layer "layer h", Y rows of X cell bytes and an empty line, every line ended by
// CR LF. A cell is stored as the byte (code + 47) mod 256, so air is "/".

// Whether a code comes back unchanged from its byte: the byte must not wrap round and must
// not be NUL, LF or CR, which end a row on reading. That leaves -46 to 208 without -37, -34.
constexpr bool CellCodeRoundTrips(BlockCode code) {
    const std::int64_t byte = std::int64_t{code} + 47;
    return byte >= 1 && byte <= 255 && byte != '\n' && byte != '\r';
}

std::string BuildingHeaderLine(int width, int length, int height, std::string_view packName);

// Number of bytes of the file for these sizes and header line length.
std::uint64_t BuildingFileSize(int width, int length, int height, std::size_t headerLength);

struct EncodedBuilding {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    // Cells x 1..X, y 1..Y, h 1..H whose code does not round-trip.
    std::size_t unwritableCells = 0;

    std::span<const std::uint8_t> Bytes() const { return {bytes.get(), size}; }
};

// Hands the file for the grid's cells with the grid's sizes to the sink, a block at a time,
// without holding the whole of it. Returns the number of cells whose code does not round-trip
// (their bytes are written all the same: the caller decides whether to keep the file).
std::size_t WriteBuildingFile(const LayerSource& layers, std::string_view packName, const ByteSink& sink);
std::size_t WriteBuildingFile(const Building& grid, std::string_view packName, const ByteSink& sink);

// The cells x 1..X, y 1..Y, h 1..H whose code does not round-trip, without writing anything.
std::size_t CountUnwritableCells(const LayerSource& layers);
std::size_t CountUnwritableCells(const Building& grid);

// The whole file in memory, for callers that want its bytes.
EncodedBuilding EncodeBuildingFile(const Building& grid, std::string_view packName);

}  // namespace stackmason
