#pragma once

#include <memory>
#include <string>
#include <vector>

#include <glm/mat4x4.hpp>

#include "preview/engine/EngineObjects.h"
#include "preview/engine/GlObjects.h"

namespace orbitscope {

// Draws the engine's objects with OpenGL: opaque objects first (chunks nearest first, then
// meshes and batches), then the alpha-blended ones without writing depth (chunks farthest
// first, after the rest). Meshes and batches are drawn from their vertices; the chunks of
// merged cube faces by a second program that makes each quad's corners from its packed
// record. Needs the screen's context to be current.
class EngineRenderer {
public:
    // Nothing when the shaders do not build; why then says what the driver said.
    static std::unique_ptr<EngineRenderer> Create(std::string& why);

    // Gives the number of chunks drawn: those in view and not found behind nearer ones.
    int Render(engine::ViewCamera& view, const engine::Light* light, const engine::ObjectTable<engine::Entity>& entities,
               const engine::ObjectTable<engine::StaticGeometry>& geometries, int screenWidth, int screenHeight);

    // A chunk in view and the directions of its faces that can face the camera.
    struct VisibleChunk {
        engine::CubeChunk* chunk;
        const engine::StaticGeometry* geometry;
        CubeFaceMask directions;
        float distance;  // from the eye to the chunk's middle
        bool hidden;     // behind what was drawn before it
    };

private:
    struct Uniforms {
        GLint viewProjection, offset, texture, blended, lightOn, lightKind, lightPosition, lightDirection, lightColour,
            lightRange, spotInner, spotOuter, ambient, quads, firstQuad, cellZero, edge, layers, seamWidth, seamDepth, skirts,
            seams, seamBits;
    };
    struct Program {
        GlProgram program;
        Uniforms uniforms{};
    };
    struct BoxUniforms {
        GLint viewProjection, low, high;
    };
    EngineRenderer(Program meshes, Program chunks, GlProgram boxes, GlTexture white);

    glm::mat4 SetUpView(const engine::ViewCamera& view, int screenWidth, int screenHeight);
    // How wide the skirts along the chunks' quads' seams are, for this view.
    void SetSeamUniforms();
    void SetFrameUniforms(const Program& program, const glm::mat4& viewProjection, const engine::Light* light);
    void BindMaterial(const Uniforms& uniforms, const engine::Material* material);
    void FindVisibleChunks(const engine::ObjectTable<engine::StaticGeometry>& geometries, const glm::mat4& viewProjection,
                           const glm::vec3& eye);
    void DrawPass(bool blendedPass, const engine::ObjectTable<engine::Entity>& entities,
                  const engine::ObjectTable<engine::StaticGeometry>& geometries);
    void DrawChunks(bool blendedPass);
    void UploadChunk(engine::CubeChunk& chunk);
    // The skirts along the seams of the chunk's opaque quads; the quads are still in memory.
    void UploadSeams(engine::CubeChunk& chunk);
    // Draws them, after the chunk's opaque quads.
    void DrawSkirts(const engine::CubeChunk& chunk);
    // The shared quad indices, for draws of up to this many quads.
    void EnsureQuadIndices(std::size_t quads);
    // Starts the query of the chunk's box, or false when the chunk is drawn without asking.
    bool AskWhetherBoxShows(const VisibleChunk& visible);

    Program meshes_;
    Program chunks_;
    GlProgram boxes_;
    BoxUniforms boxUniforms_{};
    GlQuery query_;
    GlTexture white_;
    GlVertexArray chunkVertexArray_;  // holds the quad indices every chunk shares
    GlBuffer quadIndices_;
    std::size_t quadIndexCapacity_ = 0;
    std::vector<VisibleChunk> visible_;
    int hidden_ = 0;  // of the visible chunks, found behind nearer ones
    glm::mat4 viewProjection_{1.0f};
    glm::vec3 eye_{0.0f};
    int viewportHeight_ = 1;
    int renderMode_ = 0;
};

}  // namespace orbitscope
