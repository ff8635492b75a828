#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace stackmason {

// The largest building has this many cells, so no schematic we take holds more ids.
inline constexpr std::uint64_t kMaxSchematicCells = 512ull * 512ull * 256ull;

// What the import needs from a schematic file: its sizes and one block id byte per cell, in
// the files' order (layer by layer, row by row, x fastest).
struct Schematic {
    int width = 0;
    int length = 0;
    int height = 0;
    std::unique_ptr<std::uint8_t[]> blocks;

    std::size_t CellCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(length) * static_cast<std::size_t>(height);
    }
};

struct SchematicReadResult {
    std::optional<Schematic> schematic;
    // Set when the file is refused: the text for the user, naming what is wrong.
    std::string problem;
};

// Reads a schematic file as Minecraft tools write it: NBT, plain or gzip- or zlib-compressed,
// whose root compound holds Width, Height, Length and a Blocks byte array of Width x Length
// x Height bytes, in any order and among any other tags. Sizes must fit a building (1 to 512
// wide and long, 1 to 256 high). Nothing is allocated on the word of a length field beyond
// what the largest building needs.
SchematicReadResult ReadSchematicFile(const std::string& path);

}  // namespace stackmason
