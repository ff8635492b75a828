#pragma once

#include "preview/engine/GlObjects.h"
#include "preview/engine/StaticGeometryBatches.h"

namespace orbitscope {

// Vertices and triangles on the graphics card, drawn in one call.
class GpuMesh {
public:
    // Needs a current context. The data can be let go afterwards.
    explicit GpuMesh(const StaticBatchData& data);
    void Draw(GLenum primitive = GL_TRIANGLES) const;

private:
    GlVertexArray vertexArray_;
    GlBuffer vertices_;
    GlBuffer indices_;
    GLsizei indexCount_ = 0;
};

}  // namespace orbitscope
