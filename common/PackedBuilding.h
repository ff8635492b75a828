#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/Building.h"

namespace stackmason {

// A building set aside, as the history keeps one that another replaced, in a fraction of its
// memory: a building is mostly air, and a few dozen block types at most meet in one place.
//
// Taking the building is a move and cannot fail; packing it afterwards gives its cells back
// and cannot fail either, since where the memory for the packed form cannot be had the
// building simply stays as it was given. So whoever keeps one never holds a gap.
//
// The cells are packed in independent chunks: an all-air chunk costs nothing, one of at most
// 256 codes is a palette and a byte per cell, deflated when that byte is mostly one value, and
// the rare chunk of more codes keeps its cells as they are. Codes 0 to 255, which is all that
// text files and most packs give, are their own byte and need no palette, kept as runs where
// the chunk is mostly runs (walls, floors and air). Unpacking is then a widening, a fill per
// run or a look-up per cell, with an inflate only for the rare chunk of other codes.
class PackedBuilding {
public:
    // Holds nothing: unpacks to the building of no cells but the corner.
    PackedBuilding() = default;
    // Holds the building as it is, without taking any memory.
    explicit PackedBuilding(Building&& building) noexcept;
    PackedBuilding(PackedBuilding&&) noexcept = default;
    PackedBuilding& operator=(PackedBuilding&&) noexcept = default;
    PackedBuilding(const PackedBuilding&) = delete;
    PackedBuilding& operator=(const PackedBuilding&) = delete;
    ~PackedBuilding() = default;

    // Packs the building held as it was given and gives its cells back; keeps it as it is when
    // the memory for packing cannot be had.
    void Pack() noexcept;
    bool IsPacked() const { return packed_; }

    int Width() const { return width_; }
    int Length() const { return length_; }
    int Height() const { return height_; }
    // The memory held: the building's cells while it is plain, the packed chunks once packed.
    std::size_t Bytes() const;

    // The building, cell for cell as it was given; this one is left holding nothing. A plain
    // building is moved out and cannot fail; a packed one needs a building's worth of memory
    // and throws std::bad_alloc, this one untouched, when that cannot be had.
    Building Unpack() &&;

    // How many cells one chunk packs: the last one of a building may hold fewer.
    static constexpr std::size_t kChunkCells = std::size_t{1} << 16;

private:
    enum class Form : std::uint8_t {
        // Every cell 0: nothing is kept.
        Air,
        // Every code 0..255, a byte per cell: the codes themselves, which need no palette.
        Bytes,
        // The bytes as runs: each a byte and how many cells after the first repeat it.
        ByteRuns,
        // A palette index per cell.
        Indices,
        // The indices deflated.
        DeflatedIndices,
        // The cells' own bytes.
        Cells,
    };
    struct Chunk {
        Form form = Form::Air;
        std::vector<StoredCode> palette;
        std::vector<std::uint8_t> bytes;
    };

    static std::vector<Chunk> PackCells(const StoredCode* cells, std::size_t count);
    static void UnpackCells(const std::vector<Chunk>& chunks, StoredCode* cells, std::size_t count);

    std::optional<Building> plain_;
    std::vector<Chunk> chunks_;
    int width_ = 0;
    int length_ = 0;
    int height_ = 0;
    bool packed_ = false;
};

}  // namespace stackmason
