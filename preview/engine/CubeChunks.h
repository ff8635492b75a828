#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <glm/vec3.hpp>

#include "preview/engine/CubeFaces.h"

namespace orbitscope {

class BuildProgress;
class WorkerPool;

// Cubes that stand on one lattice (cell (i, j, k) centred on origin + edge * (i, j, k)) are
// kept in chunks of kChunkSide cells along each axis. The faces of a chunk that look the same
// way, lie in one plane and belong to the same kind are merged into rectangles (greedy
// meshing), each rectangle a record of two 32-bit words that the vertex shader unpacks: the
// packed rectangle and its kind. The graphics card holds 8 bytes per merged quad and draws
// it with 4 shared indices; the kind picks the layer of a texture array, so that the opaque
// faces of all kinds facing one way are one draw, nearest first.
inline constexpr int kChunkSide = 16;
inline constexpr int kChunkCells = kChunkSide * kChunkSide * kChunkSide;
// Chunks with few quads (walls, roofs, the surface of a solid building) cost more to cull
// and draw one by one than their quads do: those of one region of kRegionSide cells are
// joined into one chunk.
inline constexpr int kRegionSide = 64;
inline constexpr int kSmallChunkQuads = 1024;

// Face directions in the order of the CubeFace bits: +x, -x, +y, -y, +z, -z.
inline constexpr int kCubeDirections = 6;

// The edges of a quad, as bits: its low and high edge along axis a, then along axis b.
enum QuadEdge : int { kEdgeLowA = 1, kEdgeHighA = 2, kEdgeLowB = 4, kEdgeHighB = 8 };

// One merged quad: the chunk-relative cell of its lowest corner (below kRegionSide), how
// many cells it spans along the two axes of its plane (a and b, see QuadAxes; at most
// kChunkSide) and the way it faces. Its seams are the edges (QuadEdge bits) along which the
// cells beyond hide the quad's cells' sides (there another quad goes on in the same plane
// or a wall rises from it, and the edge is no outline of the building) and the corner of
// another quad may lie inside the edge (a T-junction). The renderer closes the gaps that
// rounding leaves along such edges.
struct ChunkQuad {
    glm::ivec3 cell{0};
    int sizeA = 1;
    int sizeB = 1;
    int direction = 0;
    int seams = 0;
};

// The axes of a direction's plane: normal axis, then a and b (0 x, 1 y, 2 z). The shader
// uses the same table.
struct QuadAxes {
    int normal, a, b;
};
QuadAxes AxesOf(int direction);

// The two words of a quad's record: the rectangle, then kind, direction and seams.
std::uint32_t PackQuad(const ChunkQuad& quad);
std::uint32_t PackKind(int kind, int direction, int seams = 0);
ChunkQuad UnpackQuad(std::uint32_t rectangle, std::uint32_t kindAndDirection);
int KindOf(std::uint32_t kindAndDirection);

// Opaque quads are drawn first, blended ones over them.
enum ChunkGroup { kOpaqueGroup = 0, kBlendedGroup = 1, kChunkGroups = 2 };
inline constexpr int kWordsPerQuad = 2;

// Where the quads of each group and direction lie in the chunk's quad list (counted in quads).
struct ChunkRanges {
    std::array<std::array<int, kCubeDirections>, kChunkGroups> first{};
    std::array<std::array<int, kCubeDirections>, kChunkGroups> count{};
};

// A built chunk: its lattice cell of the low corner, the cells that hold faces (inclusive,
// chunk-relative) and the quads, two words each (PackQuad, PackKind), ordered by group, then
// direction. Quads never cross a border of the kChunkSide grid. Within a direction the opaque quads run from the slice nearest to an eye that
// can see them to the farthest (so that hidden faces fail the depth test before they are
// shaded), the blended ones the other way (so that they are laid over what lies behind them).
struct CubeChunkData {
    glm::ivec3 origin{0};
    glm::ivec3 low{0};
    glm::ivec3 high{0};
    std::vector<std::uint32_t> quads;
    ChunkRanges ranges;
    std::int64_t faces = 0;  // the faces before merging
    std::int64_t QuadCount() const { return static_cast<std::int64_t>(quads.size()) / kWordsPerQuad; }
};

// One direction's plane of a chunk, a slice of kChunkSide x kChunkSide cells: kind + 1 of
// each cell whose face is drawn there (0 where none is), indexed b * kChunkSide + a along the
// plane's axes (QuadAxes).
using PlaneMask = std::array<std::uint16_t, kChunkSide * kChunkSide>;

// Collects cubes by lattice cell, then merges each chunk's faces. A cell holds one cube: a
// later one replaces an earlier one. With merging off every face is its own quad, which
// draws the same picture and is what the merged one is checked against.
//
// Chunks can be meshed on a pool's threads, and while cubes are still being added: cubes that
// come layer by layer (lattice y ascending, as a building is walked) leave each band of
// kChunkSide layers whole when they reach the next, so that band's chunks are meshed then.
class CubeChunkBuilder {
public:
    explicit CubeChunkBuilder(bool merge = true);
    ~CubeChunkBuilder();
    CubeChunkBuilder(const CubeChunkBuilder&) = delete;
    CubeChunkBuilder& operator=(const CubeChunkBuilder&) = delete;

    // Mesh on pool's threads (none: on the calling thread), count each meshed chunk in
    // progress (may be none) and stop meshing once it is cancelled. Both must outlive Build.
    // whileAdding meshes each band of chunks once the adds have moved above it; a cube added
    // below that still shows, but in a chunk of its own, merged with its own kind and not
    // replacing a cube added before it to the same cell.
    void MeshOn(WorkerPool* pool, BuildProgress* progress, bool whileAdding);

    // kind below kMaxKinds; faces says which faces are drawn. A kind is blended or not for good.
    static constexpr int kMaxKinds = 256;
    void Add(const glm::ivec3& cell, int kind, bool blended, CubeFaceMask faces);
    std::int64_t CubeCount() const { return cubes_; }

    // The chunks in order of their lattice position (y, then z, then x), the small ones of
    // each region joined; the cells are let go. After a cancel, whatever was meshed.
    std::vector<CubeChunkData> Build();

private:
    struct Cells {
        std::array<std::uint16_t, kChunkCells> kind{};  // kind + 1, 0 for none
        std::array<CubeFaceMask, kChunkCells> faces{};
        std::array<std::uint32_t, kCubeDirections> slices{};  // bit s: slice s has faces
    };
    // A chunk from its first cube until Build: its cells until it is meshed, then its mesh.
    struct Slot {
        glm::ivec3 chunk{0};
        std::unique_ptr<Cells> cells;
        CubeChunkData meshed;
        bool posted = false;  // handed to the mesher: its cells belong to the mesher now
    };
    Slot& SlotOf(const glm::ivec3& chunk);
    // Hands every chunk not yet handed over to the mesher.
    void PostWaitingChunks();
    void MeshSlot(Slot& slot) const;
    // Every chunk's mesh, this builder's and then the late cubes', in lattice order; the
    // slots are let go.
    std::vector<CubeChunkData> TakeMeshes();
    CubeChunkData Mesh(const glm::ivec3& chunk, const Cells& cells) const;
    // The faces of one slice that look along direction, as a mask for each group; gives how
    // many each group has.
    using SliceMasks = std::array<PlaneMask, kChunkGroups>;
    std::array<int, kChunkGroups> MaskSlice(const Cells& cells, int direction, int slice, SliceMasks& masks) const;
    // Takes the mask apart into rectangles, merged unless merging is off, and adds them to
    // quads and the chunk's extent; the mask is left empty.
    void EmitRectangles(const Cells& cells, PlaneMask& mask, int direction, int slice, CubeChunkData& data,
                        std::vector<std::uint32_t>& quads) const;

    bool merge_;
    WorkerPool* pool_ = nullptr;
    BuildProgress* progress_ = nullptr;
    bool meshWhileAdding_ = false;
    std::array<bool, kMaxKinds> blended_{};
    std::int64_t cubes_ = 0;
    std::unordered_map<std::uint64_t, std::unique_ptr<Slot>> chunks_;
    std::vector<Slot*> waiting_;  // not yet handed to the mesher
    int highestBand_ = INT32_MIN;  // the highest lattice band of chunks added to
    std::uint64_t lastKey_ = ~std::uint64_t{0};
    Slot* last_ = nullptr;
    std::unique_ptr<CubeChunkBuilder> late_;  // cubes for chunks already meshed
};

}  // namespace orbitscope
