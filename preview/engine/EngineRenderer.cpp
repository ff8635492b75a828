#include "preview/engine/EngineRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "preview/PreviewConfig.h"
#include "preview/engine/ViewCulling.h"

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

// A merged quad of a chunk from its packed record and kind (see CubeChunks.h): four vertices
// per quad, numbered by the shared index list, corner k of quad uFirstQuad + index / 4. The
// corners, their order and the texture coordinates are those of the cube's own faces,
// stretched over the cells the quad spans, with the picture repeated once per cell.
//
// A long quad's edge passes the corners of the shorter quads beside it (a T-junction): the
// two are rasterised from different end points and can leave pixel centres between them
// uncovered, through which the background shows. So along each of its seams (the edges where
// another quad goes on in its plane or a wall rises from it, and another quad's corner lies
// inside the edge) an opaque quad has a skirt: a strip in its own plane from the edge
// outward, a fraction of a pixel wide at its depth (uSeamWidth, world units per unit of
// depth), drawn a few steps of the depth buffer farther back than it lies (uSeamDepth).
// Beyond a seam the face that goes on or the wall that rises lies in front of the skirt, so
// a skirt shows only in the gaps; the outline of the building has none and stays as it is.
// The skirts are drawn apart (uSkirts), four vertices each from the chunk's list of seams
// (uSeams: quad << 2 | edge): the edge's end corner, its start corner, then the start and the
// end moved out, so that the index list of the quads draws them turned as the quad is. A
// corner moves out across every seam that meets there, so that the skirts of a corner join.
constexpr const char* kChunkVertexShader = R"(#version 330 core
uniform mat4 uViewProjection;
uniform usamplerBuffer uQuads;
uniform int uFirstQuad;
uniform vec3 uCellZero;
uniform float uEdge;
uniform float uSeamWidth;
// The seam bit (QuadEdge) of edge e of a quad facing direction d, at 4 d + e (SeamBitOfEdge).
uniform int uSeamBits[24];
uniform float uSeamDepth;
uniform bool uSkirts;
uniform usamplerBuffer uSeams;
out vec3 vWorld;
out vec3 vNormal;
out vec2 vUv;
flat out int vLayer;
const vec3 kNormal[6] = vec3[6](vec3(1, 0, 0), vec3(-1, 0, 0), vec3(0, 1, 0), vec3(0, -1, 0), vec3(0, 0, 1), vec3(0, 0, -1));
const vec3 kUp[6] = vec3[6](vec3(0, 1, 0), vec3(0, 1, 0), vec3(0, 0, -1), vec3(0, 0, 1), vec3(0, 1, 0), vec3(0, 1, 0));
const ivec3 kAxisA[3] = ivec3[3](ivec3(0, 0, 1), ivec3(1, 0, 0), ivec3(1, 0, 0));
const ivec3 kAxisB[3] = ivec3[3](ivec3(0, 1, 0), ivec3(0, 0, 1), ivec3(0, 1, 0));
const vec2 kSigns[4] = vec2[4](vec2(-1, -1), vec2(1, -1), vec2(1, 1), vec2(-1, 1));
// Edge e runs from corner e to corner e + 1; its outward direction along right and up.
const vec2 kOutward[4] = vec2[4](vec2(0, -1), vec2(1, 0), vec2(0, 1), vec2(-1, 0));
void main() {
    int vertex = gl_VertexID & 3;
    int quadIndex = uFirstQuad + gl_VertexID / 4;
    int corner = vertex;
    int skirtEdge = -1;
    if (uSkirts) {
        int seam = int(texelFetch(uSeams, uFirstQuad + gl_VertexID / 4).r);
        skirtEdge = seam & 3;
        quadIndex = seam >> 2;
        corner = (vertex == 0 || vertex == 3) ? (skirtEdge + 1) & 3 : skirtEdge;
    }
    uvec2 quad = texelFetch(uQuads, quadIndex).rg;
    uint record = quad.r;
    ivec3 cell = ivec3(uvec3(record, record >> 6u, record >> 12u) & 63u);
    int sizeA = int((record >> 18u) & 63u) + 1;
    int sizeB = int((record >> 24u) & 63u) + 1;
    vLayer = int(quad.g & 255u);
    int direction = int((quad.g >> 8u) & 7u);
    int seams = int((quad.g >> 11u) & 15u);
    vec3 axisA = vec3(kAxisA[direction / 2]);
    vec3 axisB = vec3(kAxisB[direction / 2]);
    vec3 span = vec3(1.0) + axisA * float(sizeA - 1) + axisB * float(sizeB - 1);
    vec3 normal = kNormal[direction];
    vec3 up = kUp[direction];
    vec3 right = cross(up, normal);
    float across = dot(abs(right), span);
    float high = dot(abs(up), span);
    vec2 s = kSigns[corner];
    vec3 centre = uCellZero + uEdge * (vec3(cell) + (span - 1.0) * 0.5);
    vWorld = centre + uEdge * 0.5 * (normal + s.x * across * right + s.y * high * up);
    vUv = vec2((s.x + 1.0) * 0.5 * across, (1.0 - s.y) * 0.5 * high);
    vNormal = normal;
    gl_Position = uViewProjection * vec4(vWorld, 1.0);
    if (uSkirts && vertex >= 2) {
        // Growing by the signed depth keeps the width even along an edge that reaches past
        // the eye. Far off, a pixel spans cells: it grows no more than an eighth of a cell.
        float width = clamp(2.0 * uSeamWidth * gl_Position.w, -uEdge / 8.0, uEdge / 8.0);
        vec2 grow = vec2(0.0);
        for (int side = 0; side < 2; ++side) {  // the edges from this corner and to it
            int edge = (corner + 3 * side) & 3;
            if ((seams & uSeamBits[direction * 4 + edge]) != 0)
                grow += kOutward[edge];
        }
        vec3 shift = width * (grow.x * right + grow.y * up);
        vWorld += shift;
        vUv += width * vec2(grow.x, -grow.y) / uEdge;
        gl_Position += uViewProjection * vec4(shift, 0.0);
    }
    if (uSkirts)
        gl_Position.z += uSeamDepth * gl_Position.w;
}
)";

// A chunk's box, 12 triangles from gl_VertexID, for asking whether any of it would pass the
// depth test. Nothing is written.
constexpr const char* kBoxVertexShader = R"(#version 330 core
uniform mat4 uViewProjection;
uniform vec3 uLow;
uniform vec3 uHigh;
const int kCorners[36] = int[36](0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                                 2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5);
void main() {
    int corner = kCorners[gl_VertexID];
    vec3 pick = vec3(corner & 1, (corner >> 1) & 1, (corner >> 2) & 1);
    gl_Position = uViewProjection * vec4(mix(uLow, uHigh, pick), 1.0);
}
)";
constexpr const char* kBoxFragmentShader = R"(#version 330 core
out vec4 fragColour;
void main() { fragColour = vec4(0.0); }
)";

// Ambient light plus one light: point (0), directional (1) or spot (2), fading to nothing at
// its range. The texel comes from the mesh's texture or, for chunks, from the kind's layer
// of the kinds' texture array (the two headers below).
constexpr const char* kMeshPicture = R"(#version 330 core
uniform sampler2D uTexture;
vec4 Picture(vec2 uv) { return texture(uTexture, uv); }
)";
constexpr const char* kChunkPicture = R"(#version 330 core
uniform sampler2DArray uLayers;
flat in int vLayer;
vec4 Picture(vec2 uv) { return texture(uLayers, vec3(uv, float(vLayer))); }
)";
constexpr const char* kFragmentShader = R"(
in vec3 vWorld;
in vec3 vNormal;
in vec2 vUv;
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
    vec4 texel = Picture(vUv);
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
        if (texture.freed)
            texture.pixels = stackmason::Image();  // nothing can draw into it any more
    }
}

// The picture a material shows: white without a texture, as BindMaterial draws it.
stackmason::Image PictureOf(const engine::Material* material) {
    if (!material || !material->texture)
        return stackmason::Image(1, 1, {255, 255, 255, 255});
    const engine::Texture& texture = *material->texture;
    if (texture.pixels.IsEmpty() && texture.gpu.Get() != 0)
        return DownloadTexture(texture.gpu);
    return texture.pixels;
}

// Nearest-pixel scaling, for a picture whose size differs from the other kinds' (the scene
// gives every kind the same size, so this only keeps odd uses drawable).
stackmason::Image Resized(const stackmason::Image& picture, int width, int height) {
    if (picture.Width() == width && picture.Height() == height)
        return picture;
    stackmason::Image result(width, height);
    if (picture.IsEmpty())
        return result;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.SetPixel(x, y, picture.Pixel(x * picture.Width() / width, y * picture.Height() / height));
    return result;
}

// One layer per kind of the geometry, then the materials' textures are the geometry's no
// longer: once nothing else holds them, their pixels go.
void EnsureOnCard(engine::StaticGeometry& geometry) {
    if (geometry.kindPictures.Get() != 0 || geometry.chunks.empty())
        return;
    std::vector<stackmason::Image> layers;
    int width = 1;
    int height = 1;
    for (const std::shared_ptr<engine::Material>& material : geometry.kindMaterials) {
        layers.push_back(PictureOf(material.get()));
        width = std::max(width, layers.back().Width());
        height = std::max(height, layers.back().Height());
    }
    for (stackmason::Image& layer : layers)
        layer = Resized(layer, width, height);
    geometry.kindPictures = UploadTextureArray(layers);
    std::vector<std::shared_ptr<engine::Material>>().swap(geometry.kindMaterials);  // the batches keep theirs
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

// How wide the skirts along the quads' seams are, in pixels. The gaps come from rounding
// corners to the rasteriser's sub-pixel grid (1/256 of a pixel under Mesa), so a fortieth of
// a pixel closes them several times over; a closed room seen from 64 poses still showed gaps
// at a thousandth. Wider skirts began to change pixels along edges that the picture of
// single faces does not (at a twentieth), so they stay this narrow.
constexpr float kSeamOverlapPixels = 0.025f;
// Quad q's corners are vertices 4q .. 4q + 3, drawn as the triangles (0, 1, 2) and (0, 2, 3)
// as a cube's faces are; a skirt's four vertices take the same list.
GlBuffer QuadIndices(std::size_t quads) {
    std::vector<std::uint32_t> indices;
    indices.reserve(quads * 6);
    for (std::uint32_t q = 0; q < quads; ++q)
        for (std::uint32_t corner : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(4 * q + corner);
    GlBuffer buffer = NewGlBuffer();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer.Get());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    return buffer;
}

template <class Uniforms>
Uniforms FindUniforms(const GlProgram& program) {
    return {Uniform(program, "uViewProjection"), Uniform(program, "uOffset"),       Uniform(program, "uTexture"),
            Uniform(program, "uBlended"),        Uniform(program, "uLightOn"),      Uniform(program, "uLightKind"),
            Uniform(program, "uLightPosition"),  Uniform(program, "uLightDirection"), Uniform(program, "uLightColour"),
            Uniform(program, "uLightRange"),     Uniform(program, "uSpotInner"),    Uniform(program, "uSpotOuter"),
            Uniform(program, "uAmbient"),        Uniform(program, "uQuads"),        Uniform(program, "uFirstQuad"),
            Uniform(program, "uCellZero"),       Uniform(program, "uEdge"),         Uniform(program, "uLayers"),
            Uniform(program, "uSeamWidth"),      Uniform(program, "uSeamDepth"),    Uniform(program, "uSkirts"),
            Uniform(program, "uSeams"),          Uniform(program, "uSeamBits")};
}

// Render modes 0, 1 and 2: filled, wireframe, points.
GLenum PolygonModeOf(int renderMode) {
    constexpr GLenum kModes[] = {GL_FILL, GL_LINE, GL_POINT};
    return kModes[renderMode >= 0 && renderMode <= 2 ? renderMode : 0];
}

// The texture units: the material's picture, the chunk's quad records, the kinds' pictures.
constexpr GLint kPictureUnit = 0;
constexpr GLint kQuadUnit = 1;
constexpr GLint kLayerUnit = 2;
constexpr GLint kSeamUnit = 3;
// Where a quad's seams lie in the second word of its record (PackKind).
constexpr std::uint32_t kSeamShift = 11;

// The seam bit of edge e (from corner e to e + 1) of a quad facing direction: the edge's
// outward direction along the quad's right and up, against the axes a and b of its plane.
// The vertex shader is handed the same table (uSeamBits).
std::uint32_t SeamBitOfEdge(int direction, int edge) {
    static const glm::vec3 kNormals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    static const glm::vec3 kUps[6] = {{0, 1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}};
    static const glm::vec2 kOutwards[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    const glm::vec3 up = kUps[direction];
    const glm::vec3 right = glm::cross(up, kNormals[direction]);
    const glm::vec3 outward = kOutwards[edge].x * right + kOutwards[edge].y * up;
    const QuadAxes axes = AxesOf(direction);
    const float alongA = outward[axes.a];
    const float alongB = outward[axes.b];
    if (std::abs(alongA) > 0.5f)
        return alongA > 0.0f ? kEdgeHighA : kEdgeLowA;
    return alongB > 0.0f ? kEdgeHighB : kEdgeLowB;
}

}  // namespace

std::unique_ptr<EngineRenderer> EngineRenderer::Create(std::string& why) {
    const std::string meshFragments = std::string(kMeshPicture) + kFragmentShader;
    const std::string chunkFragments = std::string(kChunkPicture) + kFragmentShader;
    Program meshes{LinkProgram(kVertexShader, meshFragments.c_str(), why), {}};
    Program chunks{LinkProgram(kChunkVertexShader, chunkFragments.c_str(), why), {}};
    GlProgram boxes = LinkProgram(kBoxVertexShader, kBoxFragmentShader, why);
    if (meshes.program.Get() == 0 || chunks.program.Get() == 0 || boxes.Get() == 0)
        return nullptr;
    meshes.uniforms = FindUniforms<Uniforms>(meshes.program);
    chunks.uniforms = FindUniforms<Uniforms>(chunks.program);
    stackmason::Image white(1, 1, {255, 255, 255, 255});
    return std::unique_ptr<EngineRenderer>(
        new EngineRenderer(std::move(meshes), std::move(chunks), std::move(boxes), UploadTexture(white)));
}

EngineRenderer::EngineRenderer(Program meshes, Program chunks, GlProgram boxes, GlTexture white)
    : meshes_(std::move(meshes)), chunks_(std::move(chunks)), boxes_(std::move(boxes)), white_(std::move(white)) {
    boxUniforms_ = {Uniform(boxes_, "uViewProjection"), Uniform(boxes_, "uLow"), Uniform(boxes_, "uHigh")};
    query_ = NewGlQuery();
    chunkVertexArray_ = NewGlVertexArray();
    EnsureQuadIndices(static_cast<std::size_t>(kChunkCells));
}

int EngineRenderer::Render(engine::ViewCamera& view, const engine::Light* light,
                           const engine::ObjectTable<engine::Entity>& entities,
                           const engine::ObjectTable<engine::StaticGeometry>& geometries, int screenWidth,
                           int screenHeight) {
    const glm::mat4 viewProjection = SetUpView(view, screenWidth, screenHeight);
    viewProjection_ = viewProjection;
    renderMode_ = view.renderMode;
    SetFrameUniforms(chunks_, viewProjection, light);
    SetSeamUniforms();
    SetFrameUniforms(meshes_, viewProjection, light);
    FindVisibleChunks(geometries, viewProjection, view.camera.Position());
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
    return static_cast<int>(visible_.size()) - hidden_;
}

glm::mat4 EngineRenderer::SetUpView(const engine::ViewCamera& view, int screenWidth, int screenHeight) {
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
    glPolygonMode(GL_FRONT_AND_BACK, PolygonModeOf(view.renderMode));
    glPointSize(config::kPointSize);
    viewportHeight_ = h;
    const float aspect = h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f;
    const glm::mat4 projection =
        glm::perspective(glm::radians(config::kFieldOfViewDegrees), aspect, config::kNearClip, config::kFarClip);
    return projection * view.camera.ViewMatrix();
}

void EngineRenderer::SetFrameUniforms(const Program& program, const glm::mat4& viewProjection,
                                      const engine::Light* light) {
    const Uniforms& u = program.uniforms;
    glUseProgram(program.program.Get());
    glUniformMatrix4fv(u.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
    glUniform1i(u.texture, kPictureUnit);
    glUniform1i(u.quads, kQuadUnit);
    glUniform1i(u.layers, kLayerUnit);
    glUniform1i(u.seams, kSeamUnit);
    glUniform1f(u.ambient, config::kAmbientLight);
    glUniform1i(u.lightOn, light != nullptr);
    if (!light)
        return;
    glUniform1i(u.lightKind, light->kind);
    glUniform3fv(u.lightPosition, 1, glm::value_ptr(light->position));
    glUniform3fv(u.lightDirection, 1, glm::value_ptr(light->direction));
    glUniform3fv(u.lightColour, 1, glm::value_ptr(light->colour));
    glUniform1f(u.lightRange, light->range);
    glUniform1f(u.spotInner, std::cos(glm::radians(config::kSpotInnerDegrees)));
    glUniform1f(u.spotOuter, std::cos(glm::radians(config::kSpotOuterDegrees)));
}

void EngineRenderer::SetSeamUniforms() {
    // The height of one pixel at depth 1 is the height of the view there over its rows.
    const float pixel = 2.0f * std::tan(glm::radians(config::kFieldOfViewDegrees) / 2.0f) /
                        static_cast<float>(std::max(viewportHeight_, 1));
    glUseProgram(chunks_.program.Get());
    glUniform1f(chunks_.uniforms.seamWidth, kSeamOverlapPixels * pixel);
    // 64 steps of a 24-bit depth buffer (2 / 2^24 in clip depth): more than the rounding of
    // two triangles' depths at one pixel, less than anything behind a seam lies back.
    glUniform1f(chunks_.uniforms.seamDepth, 64.0f * 2.0f / 16777216.0f);
    std::array<GLint, kCubeDirections * 4> bits{};
    for (int direction = 0; direction < kCubeDirections; ++direction)
        for (int edge = 0; edge < 4; ++edge)
            bits[static_cast<std::size_t>(direction * 4 + edge)] = static_cast<GLint>(SeamBitOfEdge(direction, edge));
    glUniform1iv(chunks_.uniforms.seamBits, static_cast<GLsizei>(bits.size()), bits.data());
}

void EngineRenderer::BindMaterial(const Uniforms& uniforms, const engine::Material* material) {
    glUniform1i(uniforms.blended, material != nullptr && material->blended);
    if (material && material->texture) {
        EnsureOnCard(*material->texture);
        glBindTexture(GL_TEXTURE_2D, material->texture->gpu.Get());
    } else {
        glBindTexture(GL_TEXTURE_2D, white_.Get());
    }
}

void EngineRenderer::FindVisibleChunks(const engine::ObjectTable<engine::StaticGeometry>& geometries,
                                       const glm::mat4& viewProjection, const glm::vec3& eye) {
    visible_.clear();
    eye_ = eye;
    const ViewFrustum frustum(viewProjection);
    geometries.ForEach([&](engine::StaticGeometry& geometry) {
        EnsureOnCard(geometry);
        for (engine::CubeChunk& chunk : geometry.chunks)
            if (frustum.MayShow(chunk.box))
                visible_.push_back({&chunk, &geometry, FacingDirections(chunk.box, eye),
                                    glm::distance(eye, (chunk.box.low + chunk.box.high) * 0.5f), false});
    });
    std::sort(visible_.begin(), visible_.end(),
              [](const VisibleChunk& l, const VisibleChunk& r) { return l.distance < r.distance; });
}

void EngineRenderer::EnsureQuadIndices(std::size_t quads) {
    if (quads <= quadIndexCapacity_)
        return;
    quadIndexCapacity_ = std::max(quads, 2 * quadIndexCapacity_);
    glBindVertexArray(chunkVertexArray_.Get());
    quadIndices_ = QuadIndices(quadIndexCapacity_);
    glBindVertexArray(0);
}

void EngineRenderer::UploadChunk(engine::CubeChunk& chunk) {
    if (chunk.buffer.Get() != 0)
        return;
    std::size_t longest = 0;
    for (const auto& group : chunk.ranges.count)
        longest = std::max<std::size_t>(longest, static_cast<std::size_t>(std::accumulate(group.begin(), group.end(), 0)));
    EnsureQuadIndices(longest);
    glBindVertexArray(chunkVertexArray_.Get());
    chunk.buffer = NewGlBuffer();
    glBindBuffer(GL_TEXTURE_BUFFER, chunk.buffer.Get());
    glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(chunk.quads.size() * sizeof(std::uint32_t)),
                 chunk.quads.data(), GL_STATIC_DRAW);
    chunk.texture = NewGlTexture();
    glBindTexture(GL_TEXTURE_BUFFER, chunk.texture.Get());
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RG32UI, chunk.buffer.Get());
    UploadSeams(chunk);
    std::vector<std::uint32_t>().swap(chunk.quads);  // the card holds them now
}

void EngineRenderer::DrawSkirts(const engine::CubeChunk& chunk) {
    if (chunk.seamCount == 0)
        return;
    const Uniforms& u = chunks_.uniforms;
    glActiveTexture(GL_TEXTURE0 + kSeamUnit);
    glBindTexture(GL_TEXTURE_BUFFER, chunk.seamTexture.Get());
    glUniform1i(u.skirts, 1);
    glUniform1i(u.firstQuad, 0);
    // Those turned away from the eye fall to back-face culling with their quads.
    glDrawElements(GL_TRIANGLES, chunk.seamCount * 6, GL_UNSIGNED_INT, nullptr);
    glUniform1i(u.skirts, 0);
    glActiveTexture(GL_TEXTURE0 + kQuadUnit);
}

void EngineRenderer::UploadSeams(engine::CubeChunk& chunk) {
    // Blended quads write no depth, so a skirt would be laid over the face beside them.
    const int first = chunk.ranges.first[kOpaqueGroup][0];
    const int end = chunk.ranges.first[kOpaqueGroup][kCubeDirections - 1] + chunk.ranges.count[kOpaqueGroup][kCubeDirections - 1];
    std::vector<std::uint32_t> seams;
    for (int quad = first; quad < end; ++quad) {
        const std::uint32_t word = chunk.quads[static_cast<std::size_t>(quad) * kWordsPerQuad + 1];
        const std::uint32_t bits = word >> kSeamShift;
        if (bits == 0)
            continue;
        const int direction = static_cast<int>((word >> 8) & 7u);
        for (std::uint32_t edge = 0; edge < 4; ++edge)
            if ((bits & SeamBitOfEdge(direction, static_cast<int>(edge))) != 0)
                seams.push_back(static_cast<std::uint32_t>(quad) << 2 | edge);
    }
    chunk.seamCount = static_cast<int>(seams.size());
    if (seams.empty())
        return;
    EnsureQuadIndices(seams.size());
    chunk.seamBuffer = NewGlBuffer();
    glBindBuffer(GL_TEXTURE_BUFFER, chunk.seamBuffer.Get());
    glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(seams.size() * sizeof(std::uint32_t)), seams.data(),
                 GL_STATIC_DRAW);
    chunk.seamTexture = NewGlTexture();
    glActiveTexture(GL_TEXTURE0 + kSeamUnit);
    glBindTexture(GL_TEXTURE_BUFFER, chunk.seamTexture.Get());
    glTexBuffer(GL_TEXTURE_BUFFER, GL_R32UI, chunk.seamBuffer.Get());
    glActiveTexture(GL_TEXTURE0 + kQuadUnit);
}

void EngineRenderer::DrawPass(bool blendedPass, const engine::ObjectTable<engine::Entity>& entities,
                              const engine::ObjectTable<engine::StaticGeometry>& geometries) {
    auto inPass = [&](const engine::Material* material) { return (material != nullptr && material->blended) == blendedPass; };
    // Opaque chunks go first, nearest first, so that what they hide of the ground and of
    // farther chunks fails the depth test before it is shaded; blended ones last.
    if (!blendedPass)
        DrawChunks(false);
    glUseProgram(meshes_.program.Get());
    glActiveTexture(GL_TEXTURE0 + kPictureUnit);
    entities.ForEach([&](const engine::Entity& entity) {
        if (!inPass(entity.material.get()) || !entity.mesh)
            return;
        EnsureOnCard(*entity.mesh);
        if (!entity.mesh->gpu)
            return;
        BindMaterial(meshes_.uniforms, entity.material.get());
        glUniform3fv(meshes_.uniforms.offset, 1, glm::value_ptr(entity.position));
        entity.mesh->gpu->Draw();
    });
    const glm::vec3 origin(0.0f);
    glUniform3fv(meshes_.uniforms.offset, 1, glm::value_ptr(origin));
    geometries.ForEach([&](engine::StaticGeometry& geometry) {
        for (engine::StaticBatch& batch : geometry.batches) {
            if (!inPass(batch.material.get()))
                continue;
            EnsureOnCard(batch);
            BindMaterial(meshes_.uniforms, batch.material.get());
            batch.gpu->Draw();
        }
    });
    if (blendedPass)
        DrawChunks(true);
}

// Chunks farther than the nearest ones are often wholly behind what is drawn already (inside
// a building, or under the top of a solid one). Before such a chunk is drawn, its box is
// drawn into the depth test alone; the chunk is drawn only if some of the box would show.
// The box lies round everything the chunk draws, so whatever of the chunk would show,
// the box in front of it shows too. An eye in or right next to the box sees it from inside
// or through the near plane: such a chunk is drawn without asking.
namespace {

// Asking waits until everything before it is drawn, which costs about as much as drawing a
// thousand quads: smaller chunks are drawn without asking, and in one draw of all their
// directions rather than one for each direction that can face the eye.
constexpr int kQuadsWorthAsking = 1024;

int QuadsToDraw(const EngineRenderer::VisibleChunk& visible, std::size_t group) {
    int quads = 0;
    for (int direction = 0; direction < kCubeDirections; ++direction)
        if ((visible.directions & (1u << direction)) != 0)
            quads += visible.chunk->ranges.count[group][static_cast<std::size_t>(direction)];
    return quads;
}

}  // namespace

bool EngineRenderer::AskWhetherBoxShows(const VisibleChunk& visible) {
    const WorldBox& box = visible.chunk->box;
    const glm::vec3 margin(2.0f * config::kNearClip + 0.01f);
    if (glm::all(glm::greaterThan(eye_, box.low - margin)) && glm::all(glm::lessThan(eye_, box.high + margin)))
        return false;
    glUseProgram(boxes_.Get());
    glUniformMatrix4fv(boxUniforms_.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection_));
    glUniform3fv(boxUniforms_.low, 1, glm::value_ptr(box.low));
    glUniform3fv(boxUniforms_.high, 1, glm::value_ptr(box.high));
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBeginQuery(GL_ANY_SAMPLES_PASSED, query_.Get());
    glDrawArrays(GL_TRIANGLES, 0, 36);
    glEndQuery(GL_ANY_SAMPLES_PASSED);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, PolygonModeOf(renderMode_));
    glUseProgram(chunks_.program.Get());
    return true;
}

void EngineRenderer::DrawChunks(bool blendedPass) {
    if (!blendedPass)
        hidden_ = 0;
    if (visible_.empty())
        return;
    const Uniforms& u = chunks_.uniforms;
    glUseProgram(chunks_.program.Get());
    glBindVertexArray(chunkVertexArray_.Get());
    glUniform1i(u.blended, blendedPass);
    const auto group = static_cast<std::size_t>(blendedPass ? kBlendedGroup : kOpaqueGroup);
    const engine::StaticGeometry* bound = nullptr;
    int drawn = 0;  // quads drawn by this pass so far
    auto draw = [&](VisibleChunk& visible) {
        engine::CubeChunk& chunk = *visible.chunk;
        const ChunkRanges& ranges = chunk.ranges;
        if (std::none_of(ranges.count[group].begin(), ranges.count[group].end(), [](int n) { return n > 0; }))
            return;
        if (visible.geometry != bound) {
            bound = visible.geometry;
            glActiveTexture(GL_TEXTURE0 + kLayerUnit);
            glBindTexture(GL_TEXTURE_2D_ARRAY, bound->kindPictures.Get());
            glUniform1f(u.edge, bound->lattice ? bound->lattice->edge : 0.0f);
        }
        // Blended faces write no depth, so the opaque pass's answer stands for them too.
        const int inView = QuadsToDraw(visible, group);
        if (inView == 0)
            return;  // all its faces of this pass turn away from the eye
        const bool large = inView >= kQuadsWorthAsking;
        bool asked = false;
        if (!blendedPass) {
            // Nothing can hide behind the little drawn so far.
            asked = large && drawn >= kQuadsWorthAsking && AskWhetherBoxShows(visible);
            if (asked) {
                GLuint passed = 0;
                glGetQueryObjectuiv(query_.Get(), GL_QUERY_RESULT, &passed);
                visible.hidden = passed == 0;
                hidden_ += visible.hidden ? 1 : 0;
            } else {
                visible.hidden = false;
            }
        }
        if (visible.hidden)
            return;  // and its quads need not reach the card yet
        glActiveTexture(GL_TEXTURE0 + kQuadUnit);
        UploadChunk(chunk);
        glBindTexture(GL_TEXTURE_BUFFER, chunk.texture.Get());
        glUniform3fv(u.cellZero, 1, glm::value_ptr(chunk.cellZero));
        drawn += inView;
        if (!large) {
            // One draw for all directions: the faces turned away fall to back-face culling.
            const int first = ranges.first[group][0];
            const int count = ranges.first[group][kCubeDirections - 1] + ranges.count[group][kCubeDirections - 1] - first;
            glUniform1i(u.firstQuad, first);
            glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_INT, nullptr);
        } else {
            for (int direction = 0; direction < kCubeDirections; ++direction) {
                const auto d = static_cast<std::size_t>(direction);
                if (ranges.count[group][d] == 0 || (visible.directions & (1u << direction)) == 0)
                    continue;
                glUniform1i(u.firstQuad, ranges.first[group][d]);
                glDrawElements(GL_TRIANGLES, ranges.count[group][d] * 6, GL_UNSIGNED_INT, nullptr);
            }
        }
        if (!blendedPass)
            DrawSkirts(chunk);
    };
    // Opaque chunks nearest first; blended faces are laid over what lies behind them, so
    // the farthest chunk goes first.
    if (blendedPass)
        std::for_each(visible_.rbegin(), visible_.rend(), draw);
    else
        std::for_each(visible_.begin(), visible_.end(), draw);
    glActiveTexture(GL_TEXTURE0 + kPictureUnit);
    glBindVertexArray(0);
}

}  // namespace orbitscope
