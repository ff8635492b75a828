#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/Building.h"

namespace stackmason {

// Where a LineReader gets its bytes when it reads them a block at a time: up to `size` bytes
// into `out`, 0 at the end.
using ByteSource = std::function<std::size_t(std::uint8_t* out, std::size_t size)>;

// Splits building file bytes into lines. A line ends at CR, LF, a CR LF pair, a NUL byte or
// the end of the data; the terminator is not part of the line. Past the end every line is
// empty. A line handed out stays valid until the next call.
class LineReader {
public:
    static constexpr std::size_t kBlockBytes = 1 << 20;

    // Over bytes in memory.
    explicit LineReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    // Over bytes read from the source a block at a time, of which no more is held than a
    // block and the longest line.
    explicit LineReader(ByteSource source, std::size_t blockBytes = kBlockBytes);

    std::string_view NextLine();
    // The same as NextLine, quicker when the line is `length` bytes long: then its end is
    // checked where it must be instead of searched for.
    std::string_view NextLineExpecting(std::size_t length);
    bool AtEnd() { return position_ >= bytes_.size() && !Fill(1); }

private:
    // Moves past the CR, LF, CR LF or NUL at the position, if any.
    void SkipLineEnd();
    // Makes `count` bytes from the position held, or all the source has left; the bytes
    // held move to the start of the window. False when no more came.
    bool Fill(std::size_t count);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    ByteSource source_;
    bool sourceEnded_ = true;
    std::size_t blockBytes_ = 0;
    std::unique_ptr<std::uint8_t[]> window_;
    std::size_t capacity_ = 0;
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

// Reads one layer's title and rows into layer h of grid, as ReadLayers does for each: rows
// 1..Length() are stored, rows beyond are read and dropped up to the line that ends the
// layer. Rows the layer does not hold are left as they were.
void ReadLayer(LineReader& lines, int h, Building& grid);

struct BuildingFile {
    BuildingHeader header;
    Building grid;
};

// A whole building file read with the header's sizes as they stand, each clamped into the
// limits of a building (a negative size counts as 0), so that no header can make the grid
// larger than the largest building.
BuildingFile ReadBuildingFile(LineReader& lines);
BuildingFile ReadBuildingFile(std::span<const std::uint8_t> bytes);

// The grid the header's sizes give as they stand (a negative size counts as 0), such as a
// row 600 cells long, as long as that grid, index-0 planes included, holds no more cells
// than the largest building's: memory stays bounded while every shape of building within it
// is read. Beyond that, each size is clamped into the limits of a building instead.
Building GridAsItStands(const BuildingHeader& header);

// A whole building file read into GridAsItStands; reading ends after layer H.
BuildingFile ReadBuildingFileAsItStands(LineReader& lines);

}  // namespace stackmason
