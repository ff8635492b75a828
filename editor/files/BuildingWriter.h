#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/Building.h"

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

// The whole file for the grid's cells with the grid's sizes.
EncodedBuilding EncodeBuildingFile(const Building& grid, std::string_view packName);

}  // namespace stackmason
