#pragma once

#include <memory>
#include <string>

#include <glm/mat4x4.hpp>

#include "preview/engine/EngineObjects.h"
#include "preview/engine/GlObjects.h"

namespace orbitscope {

// Draws the engine's objects with OpenGL: one shader, opaque objects first, then the
// alpha-blended ones without writing depth. Needs the screen's context to be current.
class EngineRenderer {
public:
    // Nothing when the shaders do not build; why then says what the driver said.
    static std::unique_ptr<EngineRenderer> Create(std::string& why);

    void Render(engine::ViewCamera& view, const engine::Light* light, const engine::ObjectTable<engine::Entity>& entities,
                const engine::ObjectTable<engine::StaticGeometry>& geometries, int screenWidth, int screenHeight);

private:
    struct Uniforms {
        GLint viewProjection, offset, texture, blended, lightOn, lightKind, lightPosition, lightDirection, lightColour,
            lightRange, spotInner, spotOuter, ambient;
    };
    EngineRenderer(GlProgram program, GlTexture white);

    void SetUpView(const engine::ViewCamera& view, int screenWidth, int screenHeight);
    void SetLight(const engine::Light* light);
    void BindMaterial(const engine::Material* material);
    void DrawPass(bool blendedPass, const engine::ObjectTable<engine::Entity>& entities,
                  const engine::ObjectTable<engine::StaticGeometry>& geometries);

    GlProgram program_;
    GlTexture white_;
    Uniforms uniforms_{};
};

}  // namespace orbitscope
