#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <glm/vec3.hpp>

#include "preview/engine/CubeFaces.h"

namespace orbitscope {

// Cubes that stand on one lattice (cell (i, j, k) centred on origin + edge * (i, j, k)) are
// kept in chunks of kChunkSide cells along each axis. The faces of a chunk that look the same
// way, lie in one plane and belong to the same kind are merged into rectangles (greedy
// meshing), each rectangle one packed 32-bit record that the vertex shader unpacks: the
// graphics card holds 4 bytes per merged quad and draws it with 4 shared indices.
inline constexpr int kChunkSide = 32;
inline constexpr int kChunkCells = kChunkSide * kChunkSide * kChunkSide;

// Face directions in the order of the CubeFace bits: +x, -x, +y, -y, +z, -z.
inline constexpr int kCubeDirections = 6;

// One merged quad: the chunk-relative cell of its lowest corner, how many cells it spans
// along the two axes of its plane (a and b, see QuadAxes) and the way it faces.
struct ChunkQuad {
    glm::ivec3 cell{0};
    int sizeA = 1;
    int sizeB = 1;
    int direction = 0;
};

// The axes of a direction's plane: normal axis, then a and b (0 x, 1 y, 2 z). The shader
// uses the same table.
struct QuadAxes {
    int normal, a, b;
};
QuadAxes AxesOf(int direction);

std::uint32_t PackQuad(const ChunkQuad& quad);
ChunkQuad UnpackQuad(std::uint32_t record);

// Where a kind's quads of each direction lie in the chunk's record list.
struct ChunkKindRanges {
    int kind = 0;
    std::array<int, kCubeDirections> first{};
    std::array<int, kCubeDirections> count{};
};

// A built chunk: its lattice cell of the low corner, the cells that hold faces (inclusive,
// chunk-relative) and the records, ordered by kind, then direction.
struct CubeChunkData {
    glm::ivec3 origin{0};
    glm::ivec3 low{0};
    glm::ivec3 high{0};
    std::vector<std::uint32_t> quads;
    std::vector<ChunkKindRanges> kinds;
    std::int64_t faces = 0;  // the faces before merging
};

// Collects cubes by lattice cell, then merges each chunk's faces. A cell holds one cube: a
// later one replaces an earlier one. With merging off every face is its own quad, which
// draws the same picture and is what the merged one is checked against.
class CubeChunkBuilder {
public:
    explicit CubeChunkBuilder(bool merge = true) : merge_(merge) {}

    // kind below 0xFFFF; faces says which faces are drawn.
    void Add(const glm::ivec3& cell, int kind, CubeFaceMask faces);
    std::int64_t CubeCount() const { return cubes_; }

    // The chunks in order of their lattice position (y, then z, then x); the cells are let go.
    std::vector<CubeChunkData> Build();

private:
    struct Cells {
        std::array<std::uint16_t, kChunkCells> kind{};  // kind + 1, 0 for none
        std::array<CubeFaceMask, kChunkCells> faces{};
        std::array<std::uint32_t, kCubeDirections> slices{};  // bit s: slice s has faces
    };
    Cells& CellsOf(const glm::ivec3& chunk);
    CubeChunkData Mesh(const glm::ivec3& chunk, const Cells& cells) const;

    bool merge_;
    std::int64_t cubes_ = 0;
    std::unordered_map<std::uint64_t, std::unique_ptr<Cells>> chunks_;
    std::uint64_t lastKey_ = ~std::uint64_t{0};
    Cells* last_ = nullptr;
};

}  // namespace orbitscope
