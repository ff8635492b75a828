#include "preview/engine/Engine3D.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "preview/PreviewConfig.h"
#include "preview/engine/EngineRenderer.h"

namespace orbitscope {
namespace {

constexpr int kLogFlag = 1;
constexpr int kBlendingAlpha = 3;
constexpr int kAntialiasing4x = 4;

std::uint8_t ToByte(float value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f))); }

// The picture's pixel laid over the texture's with straight (not premultiplied) alpha.
stackmason::Rgba Over(stackmason::Rgba top, stackmason::Rgba below, float opacity) {
    const float ta = static_cast<float>(top.a) / 255.0f * opacity;
    const float ba = static_cast<float>(below.a) / 255.0f;
    const float a = ta + ba * (1.0f - ta);
    if (a <= 0.0f)
        return {0, 0, 0, 0};
    auto mix = [&](std::uint8_t t, std::uint8_t b) {
        return ToByte((static_cast<float>(t) * ta + static_cast<float>(b) * ba * (1.0f - ta)) / a);
    };
    return {mix(top.r, below.r), mix(top.g, below.g), mix(top.b, below.b), ToByte(a * 255.0f)};
}

std::int64_t FacesOf(const engine::StaticGeometry& geometry) {
    std::int64_t faces = 0;
    for (const engine::StaticBatch& batch : geometry.batches)
        faces += batch.faces;
    for (const engine::CubeChunk& chunk : geometry.chunks)
        faces += chunk.faces;
    return faces;
}

// A batch draws each face as a quad of its own.
std::int64_t QuadsOf(const engine::StaticGeometry& geometry) {
    std::int64_t quads = 0;
    for (const engine::StaticBatch& batch : geometry.batches)
        quads += batch.faces;
    for (const engine::CubeChunk& chunk : geometry.chunks)
        quads += chunk.quadCount;
    return quads;
}

// The mesh's vertices, and the box round them that the scene's bounds are made of.
void SetMeshData(engine::Mesh& mesh, MeshData data) {
    mesh.data = std::make_shared<MeshData>(std::move(data));
    mesh.bounds = BoundsOf(*mesh.data);
}

}  // namespace

Engine3D::Engine3D() = default;
Engine3D::~Engine3D() = default;

WorkerPool& Engine3D::Workers() {
    // Made with the first geometry: a program that never builds one starts no threads.
    if (!workers_)
        workers_ = std::make_unique<WorkerPool>();
    return *workers_;
}

int Engine3D::InitEngine3D(int flags, const std::string& logPath) {
    if ((flags & kLogFlag) != 0)
        log_.open(logPath, std::ios::trunc);
    Log("Engine3D starting");
    // The engine draws through the system's OpenGL library; without it there is nothing to do.
    void* library = dlopen("libGL.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        Log(std::string("cannot load libGL.so.1: ") + (why ? why : "unknown reason"));
        return 0;
    }
    dlclose(library);
    Log("OpenGL library found");
    return 1;
}

void Engine3D::Add3DArchive(const std::string& path, int kind) {
    Log("resource location '" + path + "' of kind " + std::to_string(kind) + " noted; nothing is loaded from it");
}

void Engine3D::AntialiasingMode(int mode) {
    samplesAsked_ = mode == kAntialiasing4x ? config::kMultisampleSamples : 0;
    Log("anti-aliasing mode " + std::to_string(mode) + ": " + std::to_string(samplesAsked_) + " samples asked for");
}

namespace {

std::string GlText(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "(unknown)";
}

}  // namespace

bool Engine3D::AttachScreen(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
    const std::string rendererName = GlText(GL_RENDERER);
    Log("OpenGL " + GlText(GL_VERSION) + " on " + rendererName);
    std::string why;
    renderer_ = EngineRenderer::Create(why);
    if (!renderer_) {
        Log("shaders failed: " + why);
        return false;
    }
    // Under a software renderer every sample is shaded and blended by the processor: 4
    // samples cost more than twice the frame, so the frame is drawn with one.
    const bool software = IsSoftwareRenderer(rendererName);
    int samples = samplesAsked_;
    if (software && !multisampleOnSoftware_)
        samples = 0;
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    samples = std::min(samples, static_cast<int>(most));
    samples_ = 0;
    frame_.reset();
    if (samples > 1) {
        auto frame = std::make_unique<MultisampleFrame>(MultisampleFrame::Create(width, height, samples));
        if (frame->Valid()) {
            frame_ = std::move(frame);
            samples_ = samples;
        }
    }
    std::string choice = "anti-aliasing: " + std::to_string(samples_) + " samples per pixel (" +
                         std::to_string(samplesAsked_) + " asked for";
    if (samplesAsked_ > 0 && samples_ == 0)
        choice += software && !multisampleOnSoftware_ ? "; off under the software renderer " + rendererName
                                                      : "; the driver offers none";
    Log(choice + ")");
    Log("screen " + std::to_string(width) + " x " + std::to_string(height));
    return true;
}

void Engine3D::CreateCamera(int camera, float leftPercent, float topPercent, float widthPercent, float heightPercent) {
    engine::ViewCamera& view = cameras_.Create(camera);
    view.left = leftPercent;
    view.top = topPercent;
    view.width = widthPercent;
    view.height = heightPercent;
}

void Engine3D::MoveCamera(int camera, const glm::vec3& offset, Move move) {
    if (auto view = cameras_.Find(camera))
        move == Move::Absolute ? view->camera.MoveAbsolute(offset) : view->camera.MoveRelative(offset);
}

void Engine3D::RotateCamera(int camera, float pitch, float yaw, float roll, Move move) {
    if (auto view = cameras_.Find(camera))
        move == Move::Absolute ? view->camera.RotateAbsolute(pitch, yaw, roll)
                               : view->camera.RotateRelative(pitch, yaw, roll);
}

void Engine3D::CameraLookAt(int camera, const glm::vec3& target) {
    if (auto view = cameras_.Find(camera))
        view->camera.LookAt(target);
}

void Engine3D::CameraBackColor(int camera, int red, int green, int blue) {
    if (auto view = cameras_.Find(camera))
        view->background = glm::vec3(red, green, blue) / 255.0f;
}

void Engine3D::CameraRenderMode(int camera, int mode) {
    if (auto view = cameras_.Find(camera))
        view->renderMode = mode;
}

void Engine3D::CreateLight(int light, int red, int green, int blue, const glm::vec3& position, int kind) {
    engine::Light& made = lights_.Create(light);
    made.colour = glm::vec3(red, green, blue) / 255.0f;
    made.position = position;
    made.kind = kind;
}

void Engine3D::LightAttenuation(int light, float range, float constant) {
    if (auto found = lights_.Find(light)) {
        found->range = range;
        found->constant = constant;
    }
}

void Engine3D::LightLookAt(int light, const glm::vec3& target) {
    auto found = lights_.Find(light);
    if (found && glm::length(target - found->position) > 0.0f)
        found->direction = glm::normalize(target - found->position);
}

void Engine3D::CreateTexture(int texture, int width, int height) {
    textures_.Create(texture).pixels = stackmason::Image(std::max(width, 0), std::max(height, 0));
}

void Engine3D::DrawTextureImage(int texture, const stackmason::Image& picture, int x, int y, int opacity) {
    auto target = textures_.Find(texture);
    if (!target)
        return;
    stackmason::Image& pixels = target->pixels;
    const float share = static_cast<float>(std::clamp(opacity, 0, 255)) / 255.0f;
    const int right = std::min(pixels.Width(), x + picture.Width());
    const int bottom = std::min(pixels.Height(), y + picture.Height());
    for (int ty = std::max(y, 0); ty < bottom; ++ty)
        for (int tx = std::max(x, 0); tx < right; ++tx)
            pixels.SetPixel(tx, ty, Over(picture.Pixel(tx - x, ty - y), pixels.Pixel(tx, ty), share));
    target->changed = true;
}

void Engine3D::CreateMaterial(int material, int texture) { materials_.Create(material).texture = textures_.Find(texture); }

void Engine3D::MaterialBlendingMode(int material, int mode) {
    if (auto found = materials_.Find(material))
        found->blended = mode == kBlendingAlpha;
}

void Engine3D::CreatePlane(int mesh, float sizeX, float sizeZ, int segmentsX, int segmentsZ, float repeatX,
                           float repeatZ) {
    SetMeshData(meshes_.Create(mesh), MakePlane(sizeX, sizeZ, segmentsX, segmentsZ, repeatX, repeatZ));
}

void Engine3D::CreateCube(int mesh, float edge) { SetMeshData(meshes_.Create(mesh), MakeCube(edge)); }

void Engine3D::CreateEntity(int entity, int mesh, int material, const glm::vec3& position) {
    auto foundMesh = meshes_.Find(mesh);
    if (!foundMesh)
        return;
    engine::Entity& made = entities_.Create(entity);
    made.mesh = std::move(foundMesh);
    made.material = materials_.Find(material);
    made.position = position;
}

float Engine3D::EntityX(int entity) const { auto e = entities_.Find(entity); return e ? e->position.x : 0.0f; }
float Engine3D::EntityY(int entity) const { auto e = entities_.Find(entity); return e ? e->position.y : 0.0f; }
float Engine3D::EntityZ(int entity) const { auto e = entities_.Find(entity); return e ? e->position.z : 0.0f; }

void Engine3D::CreateStaticGeometry(int geometry, float width, float height, float length, bool shadows) {
    engine::StaticGeometry& made = geometries_.Create(geometry);
    made.region = {width, height, length};
    made.mergeCubes = mergeStaticFaces_;
    made.cubes.MeshOn(&Workers(), buildProgress_, buildProgress_ != nullptr);
    Log("static geometry " + std::to_string(geometry) + (shadows ? " with" : " without") + " shadows");
}

int Engine3D::KindOf(engine::StaticGeometry& target, int entity, const engine::Entity& source) {
    // Every block of a building asks this, so the answer is kept per entity number.
    if (static_cast<std::size_t>(entity) >= target.entityKinds.size())
        target.entityKinds.resize(static_cast<std::size_t>(entity) + 1);
    engine::StaticGeometry::EntityKind& known = target.entityKinds[static_cast<std::size_t>(entity)];
    if (known.kind >= 0 && known.mesh == source.mesh.get() && known.material == source.material.get())
        return known.kind;
    known = {source.mesh.get(), source.material.get(), KindOfPair(target, source)};
    return known.kind;
}

int Engine3D::KindOfPair(engine::StaticGeometry& target, const engine::Entity& source) {
    // A kind per mesh and material pair; a handful of kinds, so a scan is enough.
    for (std::size_t k = 0; k < target.kindMeshes.size(); ++k)
        if (target.kindMeshes[k] == source.mesh && target.kindMaterials[k] == source.material)
            return static_cast<int>(k);
    const int kind = target.builder.AddKind(source.mesh->data);
    target.kindMeshes.push_back(source.mesh);
    target.kindMaterials.push_back(source.material);
    return kind;
}

std::optional<glm::ivec3> Engine3D::LatticeCell(engine::StaticGeometry& target, const MeshData& mesh,
                                                const glm::vec3& position) {
    if (mesh.cubeEdge <= 0.0f)
        return std::nullopt;
    if (!target.lattice)
        target.lattice = engine::CubeLattice{position, mesh.cubeEdge};
    if (target.lattice->edge != mesh.cubeEdge)
        return std::nullopt;
    const glm::vec3 steps = (position - target.lattice->origin) / target.lattice->edge;
    const glm::vec3 rounded = glm::round(steps);
    // Off the lattice (or too far to count cells in a float): drawn as a batch instance.
    if (glm::any(glm::greaterThan(glm::abs(steps - rounded), glm::vec3(1e-4f))) ||
        glm::any(glm::greaterThan(glm::abs(rounded), glm::vec3(1 << 22))))
        return std::nullopt;
    return glm::ivec3(rounded);
}

void Engine3D::AddStaticGeometryEntity(int geometry, int entity, const glm::vec3& position, CubeFaceMask faces) {
    engine::StaticGeometry* target = geometries_.Get(geometry);
    const engine::Entity* source = entities_.Get(entity);
    if (!target || !source || target->built || !source->mesh->data)
        return;
    const int kind = KindOf(*target, entity, *source);
    const std::optional<glm::ivec3> cell =
        target->mergeCubes && kind < CubeChunkBuilder::kMaxKinds ? LatticeCell(*target, *source->mesh->data, position)
                                                                : std::nullopt;
    if (cell)
        target->cubes.Add(*cell, kind, source->material && source->material->blended, faces);
    else
        target->builder.AddInstance(kind, position, faces);
}

void Engine3D::BuildStaticGeometry(int geometry) {
    auto target = geometries_.Find(geometry);
    if (!target || target->built)
        return;
    for (StaticBatchData& data : target->builder.Build()) {
        engine::StaticBatch& batch = target->batches.emplace_back();
        batch.material = target->kindMaterials[static_cast<std::size_t>(data.kind)];
        batch.faces = data.FaceCount();
        batch.bytes = data.ByteSize();
        for (const StaticVertex& vertex : data.vertices)
            target->bounds.Add(glm::vec3(vertex.position[0], vertex.position[1], vertex.position[2]));
        batch.data = std::move(data);
    }
    if (target->lattice) {
        const engine::CubeLattice lattice = *target->lattice;
        const float half = lattice.edge / 2.0f;
        for (CubeChunkData& data : target->cubes.Build()) {
            engine::CubeChunk& chunk = target->chunks.emplace_back();
            chunk.cellZero = lattice.origin + lattice.edge * glm::vec3(data.origin);
            chunk.box.Add(chunk.cellZero + lattice.edge * glm::vec3(data.low) - half);
            chunk.box.Add(chunk.cellZero + lattice.edge * glm::vec3(data.high) + half);
            chunk.faces = data.faces;
            chunk.quadCount = data.QuadCount();
            chunk.ranges = data.ranges;
            chunk.quads = std::move(data.quads);
            target->bounds.Add(chunk.box);
        }
    }
    target->kindMeshes.clear();
    target->built = true;
    Log("static geometry " + std::to_string(geometry) + " built: " + std::to_string(StaticGeometryFaces(geometry)) +
        " faces as " + std::to_string(StaticGeometryQuads(geometry)) + " quads in " +
        std::to_string(target->chunks.size()) + " chunks and " + std::to_string(target->batches.size()) + " batches");
}

void Engine3D::FreeEntity(int entity) { entities_.Free(entity); }
void Engine3D::FreeMaterial(int material) { materials_.Free(material); }
void Engine3D::FreeTexture(int texture) {
    if (auto found = textures_.Find(texture)) {
        // Materials may still show it, but nothing can draw into it any more: once on the
        // card its pixels are not needed here.
        found->freed = true;
        if (found->gpu.Get() != 0 && !found->changed)
            found->pixels = stackmason::Image();
    }
    textures_.Free(texture);
}

void Engine3D::RenderWorld() {
    if (!renderer_)
        return;
    const engine::Light* first = nullptr;
    lights_.ForEach([&](const engine::Light& l) { first = first ? first : &l; });
    std::optional<engine::Light> light;
    if (first) {
        light = *first;
        light->range = RangeInScene(*first);
    }
    if (frame_)
        frame_->BindForDrawing();
    int chunks = 0;
    cameras_.ForEach([&](engine::ViewCamera& view) {
        chunks += renderer_->Render(view, light ? &*light : nullptr, entities_, geometries_, screenWidth_, screenHeight_);
    });
    if (frame_)
        frame_->ResolveToScreen();
    chunksLastFrame_ = chunks;
    chunksDrawn_ += chunks;
    ++framesRendered_;
}

double Engine3D::ChunksDrawnPerFrame() const {
    return framesRendered_ == 0 ? 0.0 : static_cast<double>(chunksDrawn_) / static_cast<double>(framesRendered_);
}

void Engine3D::LogFrameFigures(const FrameTimes& times) {
    GeometryFigures figures;
    figures.chunksPerFrame = ChunksDrawnPerFrame();
    geometries_.ForEach([&](const engine::StaticGeometry& geometry) {
        figures.faces += FacesOf(geometry);
        figures.quads += QuadsOf(geometry);
    });
    Log(FrameFiguresLine(times, figures));
}

WorldBox Engine3D::SceneBounds() const {
    WorldBox scene;
    entities_.ForEach([&](const engine::Entity& entity) {
        if (entity.mesh && !entity.mesh->bounds.IsEmpty())
            scene.Add(WorldBox{entity.mesh->bounds.low + entity.position, entity.mesh->bounds.high + entity.position});
    });
    geometries_.ForEach([&](const engine::StaticGeometry& geometry) { scene.Add(geometry.bounds); });
    return scene;
}

float Engine3D::LightRangeOf(int light) const {
    auto found = lights_.Find(light);
    if (!found)
        return 0.0f;
    return RangeInScene(*found);
}

float Engine3D::RangeInScene(const engine::Light& light) const {
    return LightRangeInScene(light.range, light.constant, light.position, SceneBounds(), config::kLightFarthestShare);
}

const Camera* Engine3D::CameraOf(int camera) const {
    auto view = cameras_.Find(camera);
    return view ? &view->camera : nullptr;
}

int Engine3D::RenderModeOf(int camera) const {
    auto view = cameras_.Find(camera);
    return view ? view->renderMode : 0;
}

std::int64_t Engine3D::StaticGeometryFaces(int geometry) const {
    auto target = geometries_.Find(geometry);
    return target ? FacesOf(*target) : 0;
}

std::int64_t Engine3D::StaticGeometryQuads(int geometry) const {
    auto target = geometries_.Find(geometry);
    return target ? QuadsOf(*target) : 0;
}

std::size_t Engine3D::StaticGeometryBytes(int geometry) const {
    std::size_t bytes = 0;
    if (auto target = geometries_.Find(geometry)) {
        for (const engine::StaticBatch& batch : target->batches)
            bytes += batch.bytes;
        for (const engine::CubeChunk& chunk : target->chunks)
            bytes += static_cast<std::size_t>(chunk.quadCount) * kWordsPerQuad * sizeof(std::uint32_t);
    }
    return bytes;
}

int Engine3D::StaticGeometryBatchCount(int geometry) const {
    auto target = geometries_.Find(geometry);
    if (!target)
        return 0;
    std::size_t count = target->batches.size();
    for (const engine::CubeChunk& chunk : target->chunks)
        for (const auto& group : chunk.ranges.count)
            count += std::any_of(group.begin(), group.end(), [](int quads) { return quads > 0; }) ? 1 : 0;
    return static_cast<int>(count);
}

int Engine3D::StaticGeometryChunkCount(int geometry) const {
    auto target = geometries_.Find(geometry);
    return target ? static_cast<int>(target->chunks.size()) : 0;
}

void Engine3D::Log(const std::string& line) {
    if (log_.is_open())
        log_ << line << '\n' << std::flush;
}

}  // namespace orbitscope
