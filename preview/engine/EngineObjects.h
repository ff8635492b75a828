#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <glm/vec3.hpp>

#include "common/Image.h"
#include "preview/engine/Camera.h"
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
    stackmason::Image pixels;  // transparent black when created
    GlTexture gpu;
    bool changed = true;
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

struct StaticGeometry {
    glm::vec3 region{0.0f};
    StaticGeometryBatches builder;
    std::vector<std::shared_ptr<Mesh>> kindMeshes;
    std::vector<std::shared_ptr<Material>> kindMaterials;
    std::vector<StaticBatch> batches;
    WorldBox bounds;  // of the built batches, in world space
    bool built = false;
};

}  // namespace orbitscope::engine
