#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <glm/vec3.hpp>

#include "common/Image.h"
#include "preview/engine/Camera.h"
#include "preview/engine/CubeChunks.h"
#include "preview/engine/GlObjects.h"
#include "preview/engine/GpuMesh.h"
#include "preview/engine/LightReach.h"
#include "preview/engine/MeshData.h"
#include "preview/engine/ObjectTable.h"
#include "preview/engine/StaticGeometryBatches.h"

// The engine's objects as Engine3D keeps them. Pixels and vertices stay in memory until the
// first frame that needs them moves them to the graphics card, so that everything but
// drawing works without a graphics context.
namespace orbitscope::engine {

struct Texture {
    stackmason::Image pixels;  // transparent black when created; let go once on the card and freed
    GlTexture gpu;
    bool changed = true;
    bool freed = false;  // no longer reachable by its number, so never drawn into again
};

struct Material {
    std::shared_ptr<Texture> texture;
    bool blended = false;
};

struct Mesh {
    std::shared_ptr<const MeshData> data;
    WorldBox bounds;  // round the mesh's own origin
    std::unique_ptr<GpuMesh> gpu;
};

struct Entity {
    std::shared_ptr<Mesh> mesh;
    std::shared_ptr<Material> material;
    glm::vec3 position{0.0f};
};

struct ViewCamera {
    Camera camera;
    float left = 0, top = 0, width = 100, height = 100;  // per cent of the screen
    glm::vec3 background{0.0f};
    int renderMode = 0;
};

struct Light {
    glm::vec3 colour{1.0f};
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, -1.0f, 0.0f};
    int kind = 0;
    float range = 1000.0f;
    float constant = 1.0f;
};

struct StaticBatch {
    std::shared_ptr<Material> material;
    std::optional<StaticBatchData> data;  // let go once on the graphics card
    std::unique_ptr<GpuMesh> gpu;
    std::int64_t faces = 0;
    std::size_t bytes = 0;
};

// One chunk of a static geometry's merged cube faces: its packed quads (see CubeChunks.h)
// in a buffer texture that the vertex shader reads.
struct CubeChunk {
    glm::vec3 cellZero{0.0f};  // world centre of the chunk's first cell
    WorldBox box;              // round its faces, in world space
    ChunkRanges ranges;
    std::vector<std::uint32_t> quads;  // let go once on the graphics card
    GlBuffer buffer;
    GlTexture texture;
    // The opaque quads' edges that have a skirt to draw (quad << 2 | edge), on the card.
    GlBuffer seamBuffer;
    GlTexture seamTexture;
    int seamCount = 0;
    std::int64_t faces = 0;
    std::int64_t quadCount = 0;
};

// Where cube instances stand: cell (i, j, k) is centred on origin + edge * (i, j, k).
struct CubeLattice {
    glm::vec3 origin{0.0f};
    float edge = 0.0f;
};

struct StaticGeometry {
    glm::vec3 region{0.0f};
    // Cubes on the lattice go to the chunks; any other instance to the batches.
    StaticGeometryBatches builder;
    CubeChunkBuilder cubes;
    bool mergeCubes = true;              // else every cube goes to the batches
    std::optional<CubeLattice> lattice;  // set by the first cube instance
    std::vector<std::shared_ptr<Mesh>> kindMeshes;
    // The kind each entity number was last added as, by the mesh and material it had then;
    // the geometry holds both, so neither address can be taken by another object meanwhile.
    struct EntityKind {
        const Mesh* mesh = nullptr;
        const Material* material = nullptr;
        int kind = -1;
    };
    std::vector<EntityKind> entityKinds;
    std::vector<std::shared_ptr<Material>> kindMaterials;  // until the chunks' pictures are on the card
    GlTexture kindPictures;  // one layer per kind, for the chunks
    std::vector<StaticBatch> batches;
    std::vector<CubeChunk> chunks;
    WorldBox bounds;  // of the built batches and chunks, in world space
    bool built = false;
};

}  // namespace orbitscope::engine
