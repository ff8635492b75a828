#include "preview/engine/StaticGeometryBatches.h"

#include <cmath>
#include <stdexcept>

namespace orbitscope {
namespace {

bool Drawn(const MeshQuad& quad, CubeFaceMask faces) { return quad.face == kNotACubeFace || (quad.face & faces) != 0; }

std::int8_t PackNormal(float component) { return static_cast<std::int8_t>(std::lround(component * 127.0f)); }

}  // namespace

int StaticGeometryBatches::AddKind(std::shared_ptr<const MeshData> mesh) {
    if (meshes_.size() >= 0xFFFF)
        throw std::length_error("too many kinds of static geometry instance");
    meshes_.push_back(std::move(mesh));
    return KindCount() - 1;
}

void StaticGeometryBatches::AddInstance(int kind, const glm::vec3& position, CubeFaceMask faces) {
    if (kind < 0 || kind >= KindCount())
        return;
    instances_.push_back({position, static_cast<std::uint16_t>(kind), faces});
}

std::int64_t StaticGeometryBatches::FacesOf(const Instance& instance) const {
    std::int64_t count = 0;
    for (const MeshQuad& quad : meshes_[instance.kind]->quads)
        count += Drawn(quad, instance.faces) ? 1 : 0;
    return count;
}

void StaticGeometryBatches::Emit(const Instance& instance, StaticBatchData& batch) const {
    for (const MeshQuad& quad : meshes_[instance.kind]->quads) {
        if (!Drawn(quad, instance.faces))
            continue;
        const auto first = static_cast<std::uint32_t>(batch.vertices.size());
        for (const MeshVertex& corner : quad.corners) {
            const glm::vec3 p = corner.position + instance.position;
            batch.vertices.push_back({{p.x, p.y, p.z},
                                      {corner.uv.x, corner.uv.y},
                                      {PackNormal(corner.normal.x), PackNormal(corner.normal.y),
                                       PackNormal(corner.normal.z), 0}});
        }
        for (std::uint32_t offset : {0u, 1u, 2u, 0u, 2u, 3u})
            batch.indices.push_back(first + offset);
    }
}

std::vector<StaticBatchData> StaticGeometryBatches::Build() {
    std::vector<std::int64_t> faces(meshes_.size(), 0);
    for (const Instance& instance : instances_)
        faces[instance.kind] += FacesOf(instance);

    std::vector<StaticBatchData> batches;
    std::vector<int> batchOfKind(meshes_.size(), -1);
    for (std::size_t kind = 0; kind < meshes_.size(); ++kind) {
        if (faces[kind] == 0)
            continue;
        if (faces[kind] * 4 > static_cast<std::int64_t>(UINT32_MAX))
            throw std::length_error("static geometry batch too large");
        batchOfKind[kind] = static_cast<int>(batches.size());
        StaticBatchData& batch = batches.emplace_back();
        batch.kind = static_cast<int>(kind);
        batch.vertices.reserve(static_cast<std::size_t>(faces[kind]) * 4);
        batch.indices.reserve(static_cast<std::size_t>(faces[kind]) * 6);
    }
    for (const Instance& instance : instances_)
        if (batchOfKind[instance.kind] >= 0)
            Emit(instance, batches[static_cast<std::size_t>(batchOfKind[instance.kind])]);
    std::vector<Instance>().swap(instances_);
    return batches;
}

}  // namespace orbitscope
