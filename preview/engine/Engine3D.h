#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <glm/vec3.hpp>

#include "common/Image.h"
#include "preview/engine/CubeFaces.h"
#include "preview/engine/EngineObjects.h"
#include "preview/engine/FrameFigures.h"
#include "preview/engine/MultisampleFrame.h"

namespace orbitscope {

class EngineRenderer;

// Orbitscope's 3-D engine over OpenGL 3.3 core. Cameras, lights, textures, materials, meshes,
// entities and static geometries are addressed by small numbers of the caller's choosing;
// creating an object under a number in use replaces it, and operations on numbers that
// name nothing do nothing. Everything except RenderWorld works without a graphics context:
// pixels and vertices reach the graphics card at the first frame that draws them.
class Engine3D {
public:
    enum class Move { Absolute, Relative };

    Engine3D();
    ~Engine3D();
    Engine3D(const Engine3D&) = delete;
    Engine3D& operator=(const Engine3D&) = delete;

    // Flag 1 writes the engine's log to logPath. Fails when the OpenGL library cannot be
    // loaded. Non-zero on success.
    int InitEngine3D(int flags, const std::string& logPath);
    void Add3DArchive(const std::string& path, int kind);
    // Mode 4 asks for 4x multisampling; 0 for none. The engine multisamples into a frame of
    // its own, and only where that is affordable: a software renderer draws every sample
    // on the processor, so there the frame is drawn without (see AttachScreen).
    void AntialiasingMode(int mode);
    // The samples per pixel the screen is drawn with; known once the screen is attached.
    int MultisampleSamples() const { return samples_; }
    // For tests only: multisample under a software renderer as well.
    void MultisampleOnSoftwareRenderers(bool allowed) { multisampleOnSoftware_ = allowed; }
    // Called once the screen's OpenGL 3.3 core context is current (a window without samples
    // of its own). False when the shaders or the multisampled frame cannot be made.
    bool AttachScreen(int width, int height);

    void CreateCamera(int camera, float leftPercent, float topPercent, float widthPercent, float heightPercent);
    void MoveCamera(int camera, const glm::vec3& offset, Move move);
    void RotateCamera(int camera, float pitch, float yaw, float roll, Move move);
    void CameraLookAt(int camera, const glm::vec3& target);
    void CameraBackColor(int camera, int red, int green, int blue);
    // 0 filled, 1 wireframe, 2 points; shown from the next frame.
    void CameraRenderMode(int camera, int mode);

    // Kind 2 is a spot light; kinds 0 (point) and 1 (directional) are known as well.
    void CreateLight(int light, int red, int green, int blue, const glm::vec3& position, int kind);
    // The light fades linearly to nothing at range. Constant attenuation 0 makes range the
    // least reach: it stretches so that the farthest point of the scene still gets the share
    // config::kLightFarthestShare of the light (see LightRangeInScene); any other constant
    // keeps range fixed.
    void LightAttenuation(int light, float range, float constant);
    void LightLookAt(int light, const glm::vec3& target);

    // A width x height texture of transparent black pixels.
    void CreateTexture(int texture, int width, int height);
    // The 2-D drawing into a texture: picture at (x, y), clipped to the texture, laid over
    // what is there with its own alpha times opacity / 255 (255 draws it as it is).
    void DrawTextureImage(int texture, const stackmason::Image& picture, int x, int y, int opacity);
    void CreateMaterial(int material, int texture);
    // Mode 3 is alpha blending; any other mode draws the material opaque.
    void MaterialBlendingMode(int material, int mode);

    void CreatePlane(int mesh, float sizeX, float sizeZ, int segmentsX, int segmentsZ, float repeatX, float repeatZ);
    void CreateCube(int mesh, float edge);

    void CreateEntity(int entity, int mesh, int material, const glm::vec3& position = glm::vec3(0.0f));
    float EntityX(int entity) const;
    float EntityY(int entity) const;
    float EntityZ(int entity) const;

    void CreateStaticGeometry(int geometry, float width, float height, float length, bool shadows);
    // One instance of the entity's mesh and material at position. For a cube mesh only the
    // faces in faces are drawn.
    void AddStaticGeometryEntity(int geometry, int entity, const glm::vec3& position,
                                 CubeFaceMask faces = kAllCubeFaces);
    // Merges the instances; they stay drawn after their templates are freed. Cube instances
    // that stand on one lattice (the cube's edge apart) are kept in chunks whose coplanar
    // faces of one material are merged into rectangles; each frame draws only the chunks
    // in the camera's view and their faces that can face the camera. Any other instance
    // goes into one batch per material.
    void BuildStaticGeometry(int geometry);
    // Static geometries created from now on merge the faces of their cubes into chunks (the
    // default) or draw every face as a quad of its own in one batch per material, as the
    // engine did before it merged: the same picture, for tests and figures.
    void MergeStaticFaces(bool merge) { mergeStaticFaces_ = merge; }

    void FreeEntity(int entity);
    void FreeMaterial(int material);
    void FreeTexture(int texture);

    // Draws every camera's view into the screen.
    void RenderWorld();

    // What the engine holds, for the program's tests and figures.
    const Camera* CameraOf(int camera) const;
    int RenderModeOf(int camera) const;
    // The distance at which the light fades to nothing in the scene as it stands; 0 when there
    // is no such light.
    float LightRangeOf(int light) const;
    // Faces before merging, quads drawn for them, and the bytes they take on the graphics
    // card (the indices that every chunk shares aside).
    std::int64_t StaticGeometryFaces(int geometry) const;
    std::int64_t StaticGeometryQuads(int geometry) const;
    std::size_t StaticGeometryBytes(int geometry) const;
    // Draw groups: the opaque and the blended faces of each chunk, and one per material of
    // the other instances.
    int StaticGeometryBatchCount(int geometry) const;
    int StaticGeometryChunkCount(int geometry) const;
    // Chunks drawn by the last frame, and on average per frame so far.
    int ChunksDrawnLastFrame() const { return chunksLastFrame_; }
    double ChunksDrawnPerFrame() const;

    // Writes the frame figures line to the log, with what every static geometry holds.
    void LogFrameFigures(const FrameTimes& times);
    // Writes one line about the scene being built to the log.
    void LogSceneNote(const std::string& line) { Log(line); }
    bool HasEntity(int entity) const { return entities_.Find(entity) != nullptr; }

private:
    void Log(const std::string& line);
    // The box round every entity and built static geometry.
    WorldBox SceneBounds() const;
    // The light's range in the scene as it stands (LightRangeInScene).
    float RangeInScene(const engine::Light& light) const;
    std::shared_ptr<engine::Material> MaterialOf(int material) const { return materials_.Find(material); }
    int KindOf(engine::StaticGeometry& target, const engine::Entity& source);
    // The lattice cell of a cube instance at position, if the geometry's cubes stand on a
    // lattice that holds it.
    std::optional<glm::ivec3> LatticeCell(engine::StaticGeometry& target, const MeshData& mesh,
                                          const glm::vec3& position);

    std::ofstream log_;
    int samplesAsked_ = 0;
    int samples_ = 0;
    bool multisampleOnSoftware_ = false;
    bool mergeStaticFaces_ = true;
    int chunksLastFrame_ = 0;
    std::int64_t chunksDrawn_ = 0;
    std::int64_t framesRendered_ = 0;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    engine::ObjectTable<engine::ViewCamera> cameras_;
    engine::ObjectTable<engine::Light> lights_;
    engine::ObjectTable<engine::Texture> textures_;
    engine::ObjectTable<engine::Material> materials_;
    engine::ObjectTable<engine::Mesh> meshes_;
    engine::ObjectTable<engine::Entity> entities_;
    engine::ObjectTable<engine::StaticGeometry> geometries_;
    std::unique_ptr<EngineRenderer> renderer_;
    std::unique_ptr<MultisampleFrame> frame_;  // only while multisampling
};

}  // namespace orbitscope
