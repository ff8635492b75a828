#include "preview/engine/EngineRenderer.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "preview/PreviewConfig.h"

namespace orbitscope {
namespace {

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
uniform mat4 uViewProjection;
uniform vec3 uOffset;
out vec3 vWorld;
out vec3 vNormal;
out vec2 vUv;
void main() {
    vWorld = aPosition + uOffset;
    vNormal = aNormal;
    vUv = aUv;
    gl_Position = uViewProjection * vec4(vWorld, 1.0);
}
)";

// Ambient light plus one light: point (0), directional (1) or spot (2), fading to nothing at
// its range.
constexpr const char* kFragmentShader = R"(#version 330 core
in vec3 vWorld;
in vec3 vNormal;
in vec2 vUv;
uniform sampler2D uTexture;
uniform bool uBlended;
uniform bool uLightOn;
uniform int uLightKind;
uniform vec3 uLightPosition;
uniform vec3 uLightDirection;
uniform vec3 uLightColour;
uniform float uLightRange;
uniform float uSpotInner;
uniform float uSpotOuter;
uniform float uAmbient;
out vec4 fragColour;
void main() {
    vec4 texel = texture(uTexture, vUv);
    vec3 lit = vec3(uAmbient);
    if (uLightOn) {
        vec3 toLight = uLightKind == 1 ? -uLightDirection : uLightPosition - vWorld;
        float distance = uLightKind == 1 ? 0.0 : length(toLight);
        vec3 l = normalize(toLight);
        float diffuse = max(dot(normalize(vNormal), l), 0.0);
        float fade = clamp(1.0 - distance / max(uLightRange, 0.001), 0.0, 1.0);
        float cone = uLightKind == 2 ? smoothstep(uSpotOuter, uSpotInner, dot(-l, uLightDirection)) : 1.0;
        lit += (1.0 - uAmbient) * uLightColour * diffuse * fade * cone;
    }
    fragColour = vec4(texel.rgb * lit, uBlended ? texel.a : 1.0);
}
)";

GLint Uniform(const GlProgram& program, const char* name) { return glGetUniformLocation(program.Get(), name); }

void EnsureOnCard(engine::Texture& texture) {
    if (texture.changed || texture.gpu.Get() == 0) {
        texture.gpu = UploadTexture(texture.pixels);
        texture.changed = false;
    }
}

void EnsureOnCard(engine::Mesh& mesh) {
    if (mesh.gpu || !mesh.data)
        return;
    StaticGeometryBatches single;
    single.AddInstance(single.AddKind(mesh.data), glm::vec3(0.0f), kAllCubeFaces);
    std::vector<StaticBatchData> batches = single.Build();
    if (!batches.empty())
        mesh.gpu = std::make_unique<GpuMesh>(batches.front());
}

void EnsureOnCard(engine::StaticBatch& batch) {
    if (batch.gpu || !batch.data)
        return;
    batch.gpu = std::make_unique<GpuMesh>(*batch.data);
    batch.data.reset();
}

}  // namespace

std::unique_ptr<EngineRenderer> EngineRenderer::Create(std::string& why) {
    GlProgram program = LinkProgram(kVertexShader, kFragmentShader, why);
    if (program.Get() == 0)
        return nullptr;
    stackmason::Image white(1, 1, {255, 255, 255, 255});
    return std::unique_ptr<EngineRenderer>(new EngineRenderer(std::move(program), UploadTexture(white)));
}

EngineRenderer::EngineRenderer(GlProgram program, GlTexture white) : program_(std::move(program)), white_(std::move(white)) {
    uniforms_ = {Uniform(program_, "uViewProjection"), Uniform(program_, "uOffset"),        Uniform(program_, "uTexture"),
                 Uniform(program_, "uBlended"),        Uniform(program_, "uLightOn"),       Uniform(program_, "uLightKind"),
                 Uniform(program_, "uLightPosition"),  Uniform(program_, "uLightDirection"),
                 Uniform(program_, "uLightColour"),    Uniform(program_, "uLightRange"),    Uniform(program_, "uSpotInner"),
                 Uniform(program_, "uSpotOuter"),      Uniform(program_, "uAmbient")};
}

void EngineRenderer::Render(engine::ViewCamera& view, const engine::Light* light,
                            const engine::ObjectTable<engine::Entity>& entities,
                            const engine::ObjectTable<engine::StaticGeometry>& geometries, int screenWidth,
                            int screenHeight) {
    glUseProgram(program_.Get());
    SetUpView(view, screenWidth, screenHeight);
    SetLight(light);
    glUniform1i(uniforms_.texture, 0);
    glActiveTexture(GL_TEXTURE0);
    DrawPass(false, entities, geometries);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    DrawPass(true, entities, geometries);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_SCISSOR_TEST);
    glBindVertexArray(0);
}

void EngineRenderer::SetUpView(const engine::ViewCamera& view, int screenWidth, int screenHeight) {
    const auto x = static_cast<GLint>(std::lround(view.left / 100.0f * static_cast<float>(screenWidth)));
    const auto w = static_cast<GLsizei>(std::lround(view.width / 100.0f * static_cast<float>(screenWidth)));
    const auto h = static_cast<GLsizei>(std::lround(view.height / 100.0f * static_cast<float>(screenHeight)));
    const auto top = static_cast<GLint>(std::lround(view.top / 100.0f * static_cast<float>(screenHeight)));
    const GLint y = screenHeight - top - h;  // OpenGL counts rows from the bottom
    glViewport(x, y, w, h);
    glScissor(x, y, w, h);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(view.background.r, view.background.g, view.background.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    const GLenum modes[] = {GL_FILL, GL_LINE, GL_POINT};
    glPolygonMode(GL_FRONT_AND_BACK, modes[view.renderMode >= 0 && view.renderMode <= 2 ? view.renderMode : 0]);
    glPointSize(config::kPointSize);
    const float aspect = h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f;
    const glm::mat4 projection =
        glm::perspective(glm::radians(config::kFieldOfViewDegrees), aspect, config::kNearClip, config::kFarClip);
    const glm::mat4 viewProjection = projection * view.camera.ViewMatrix();
    glUniformMatrix4fv(uniforms_.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
}

void EngineRenderer::SetLight(const engine::Light* light) {
    glUniform1f(uniforms_.ambient, config::kAmbientLight);
    glUniform1i(uniforms_.lightOn, light != nullptr);
    if (!light)
        return;
    glUniform1i(uniforms_.lightKind, light->kind);
    glUniform3fv(uniforms_.lightPosition, 1, glm::value_ptr(light->position));
    glUniform3fv(uniforms_.lightDirection, 1, glm::value_ptr(light->direction));
    glUniform3fv(uniforms_.lightColour, 1, glm::value_ptr(light->colour));
    glUniform1f(uniforms_.lightRange, light->range);
    glUniform1f(uniforms_.spotInner, std::cos(glm::radians(config::kSpotInnerDegrees)));
    glUniform1f(uniforms_.spotOuter, std::cos(glm::radians(config::kSpotOuterDegrees)));
}

void EngineRenderer::BindMaterial(const engine::Material* material) {
    glUniform1i(uniforms_.blended, material != nullptr && material->blended);
    if (material && material->texture) {
        EnsureOnCard(*material->texture);
        glBindTexture(GL_TEXTURE_2D, material->texture->gpu.Get());
    } else {
        glBindTexture(GL_TEXTURE_2D, white_.Get());
    }
}

void EngineRenderer::DrawPass(bool blendedPass, const engine::ObjectTable<engine::Entity>& entities,
                              const engine::ObjectTable<engine::StaticGeometry>& geometries) {
    auto inPass = [&](const engine::Material* material) { return (material != nullptr && material->blended) == blendedPass; };
    entities.ForEach([&](const engine::Entity& entity) {
        if (!inPass(entity.material.get()) || !entity.mesh)
            return;
        EnsureOnCard(*entity.mesh);
        if (!entity.mesh->gpu)
            return;
        BindMaterial(entity.material.get());
        glUniform3fv(uniforms_.offset, 1, glm::value_ptr(entity.position));
        entity.mesh->gpu->Draw();
    });
    const glm::vec3 origin(0.0f);
    glUniform3fv(uniforms_.offset, 1, glm::value_ptr(origin));
    geometries.ForEach([&](engine::StaticGeometry& geometry) {
        for (engine::StaticBatch& batch : geometry.batches) {
            if (!inPass(batch.material.get()))
                continue;
            EnsureOnCard(batch);
            BindMaterial(batch.material.get());
            batch.gpu->Draw();
        }
    });
}

}  // namespace orbitscope
