#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <glm/vec3.hpp>

#include "preview/engine/CubeFaces.h"
#include "preview/engine/MeshData.h"

namespace orbitscope {

// One vertex as the static geometry hands it to the graphics card.
struct StaticVertex {
    float position[3];
    float uv[2];
    std::int8_t normal[4];  // signed normalised, w unused
};
static_assert(sizeof(StaticVertex) == 24);

// The merged triangles of every instance of one kind.
struct StaticBatchData {
    int kind = 0;
    std::vector<StaticVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::int64_t FaceCount() const { return static_cast<std::int64_t>(vertices.size() / 4); }
    std::size_t ByteSize() const {
        return vertices.size() * sizeof(StaticVertex) + indices.size() * sizeof(std::uint32_t);
    }
};

// Collects instances of a few kinds of mesh and merges them into one batch per kind, the way
// static block worlds are drawn: each instance is kept as a small record while adding, and the
// build counts the faces that will be drawn, allocates each batch once and fills it. Only
// the cube faces an instance names are emitted; quads that are no cube face always are.
class StaticGeometryBatches {
public:
    // A new kind drawing this mesh; kinds are numbered 0, 1, ... in the order they are made.
    int AddKind(std::shared_ptr<const MeshData> mesh);
    int KindCount() const { return static_cast<int>(meshes_.size()); }

    void AddInstance(int kind, const glm::vec3& position, CubeFaceMask faces);
    std::size_t InstanceCount() const { return instances_.size(); }

    // One batch for each kind that has faces to draw, in kind order. The instances are let go.
    std::vector<StaticBatchData> Build();

private:
    struct Instance {
        glm::vec3 position;
        std::uint16_t kind;
        CubeFaceMask faces;
    };
    std::int64_t FacesOf(const Instance& instance) const;
    void Emit(const Instance& instance, StaticBatchData& batch) const;

    std::vector<std::shared_ptr<const MeshData>> meshes_;
    std::vector<Instance> instances_;
};

}  // namespace orbitscope
