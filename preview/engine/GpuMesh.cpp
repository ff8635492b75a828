#include "preview/engine/GpuMesh.h"

#include <cstddef>

namespace orbitscope {

GpuMesh::GpuMesh(const StaticBatchData& data)
    : vertexArray_(NewGlVertexArray()),
      vertices_(NewGlBuffer()),
      indices_(NewGlBuffer()),
      indexCount_(static_cast<GLsizei>(data.indices.size())) {
    glBindVertexArray(vertexArray_.Get());
    glBindBuffer(GL_ARRAY_BUFFER, vertices_.Get());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.vertices.size() * sizeof(StaticVertex)),
                 data.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_.Get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.indices.size() * sizeof(std::uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);
    constexpr auto kStride = static_cast<GLsizei>(sizeof(StaticVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<void*>(offsetof(StaticVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_BYTE, GL_TRUE, kStride, reinterpret_cast<void*>(offsetof(StaticVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<void*>(offsetof(StaticVertex, uv)));
    glBindVertexArray(0);
}

void GpuMesh::Draw(GLenum primitive) const {
    glBindVertexArray(vertexArray_.Get());
    glDrawElements(primitive, indexCount_, GL_UNSIGNED_INT, nullptr);
}

}  // namespace orbitscope
