#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/Building.h"

namespace stackmason {

// Splits building file bytes into lines. A line ends at CR, LF, a CR LF pair, a NUL byte or
// the end of the data; the terminator is not part of the line. Past the end every line is
// empty.
class LineReader {
public:
    explicit LineReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::string_view NextLine();
    // The same as NextLine, quicker when the line is `length` bytes long: then its end is
    // checked where it must be instead of searched for.
    std::string_view NextLineExpecting(std::size_t length);
    bool AtEnd() const { return position_ >= bytes_.size(); }

private:
    // Moves past the CR, LF, CR LF or NUL at the position, if any.
    void SkipLineEnd();

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// What the first line of a building file says, as it stands: sizes may be 0, negative or
// beyond the limits of a building.
struct BuildingHeader {
    std::int32_t width = 0;
    std::int32_t length = 0;
    std::int32_t height = 0;
    std::string packName;
};

// The sizes and pack name of a header line such as "29x20x18;stackmason.zip".
BuildingHeader ParseHeaderLine(std::string_view line);

// Reads the header line and the separator line that follows it (which is not looked at).
BuildingHeader ReadHeader(LineReader& lines);

// Reads the layers that follow the header into grid, an all-air grid whose sizes are the ones
// in force: per layer a title line (not looked at), then rows of exactly Width() bytes, one
// cell each (byte - 47), up to the first line of another length, which ends the layer. Rows
// beyond Length() are read and dropped; cells the data does not reach stay air. Stops at the
// end of the data, whatever the sizes say.
void ReadLayers(LineReader& lines, Building& grid);

struct BuildingFile {
    BuildingHeader header;
    Building grid;
};

// A whole building file read with the header's sizes as they stand, each clamped into the
// limits of a building (a negative size counts as 0), so that no header can make the grid
// larger than the largest building.
BuildingFile ReadBuildingFile(std::span<const std::uint8_t> bytes);

}  // namespace stackmason
