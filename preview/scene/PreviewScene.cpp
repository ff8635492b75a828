#include "preview/scene/PreviewScene.h"

#include "common/ImageDecoding.h"
#include "preview/PreviewConfig.h"
#include "preview/app/PreviewStep.h"
#include "preview/scene/BlockPlacement.h"
#include "preview/scene/BlockTemplates.h"
#include "preview/scene/LayerWalk.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 4000;
namespace {

constexpr int kGround = 0;
constexpr int kLight = 0;
constexpr int kCubeMesh = 1;
constexpr int kBlocks = 0;
constexpr int kOpaque = 255;

glm::vec3 GroundCentre(const Engine3D& engine) {
    return {engine.EntityX(kGround), engine.EntityY(kGround), engine.EntityZ(kGround)};
}

void CreateTemplate(Engine3D& engine, int code, const BlockTemplate& entry, const BlockTemplates& templates) {
    PREVIEW_STEP();
    engine.CreateTexture(code, templates.textureSize, templates.textureSize);
    PREVIEW_STEP();
    if (entry.textured)
        engine.DrawTextureImage(code, entry.missing ? templates.missingPicture : entry.picture, 0, 0,
                                config::kTemplateOpacity);
    PREVIEW_STEP();
    engine.CreateMaterial(code, code);
    PREVIEW_STEP();
    if (entry.blended)
        engine.MaterialBlendingMode(code, config::kBlendingModeAlpha);
    PREVIEW_STEP();
    engine.CreateEntity(code, kCubeMesh, code);
}

void LogLeftOutPictures(Engine3D& engine, const std::string& packName, const BlockTemplates& templates) {
    if (templates.leftOut == 0)
        return;
    engine.LogLine("texture pack '" + packName + "': " + std::to_string(templates.leftOut) + " of " +
                        std::to_string(templates.Count()) +
                        " pictures left out, as decoding them would cost more than a pack of its size may;"
                        " their blocks show a magenta and black checkerboard");
}

}  // namespace

void CreateLightAndGround(Engine3D& engine, const PreviewBuilding& building, std::span<const std::uint8_t> groundPng) {
    const auto x = static_cast<float>(building.grid.Width());
    const auto y = static_cast<float>(building.grid.Length());
    const auto h = static_cast<float>(building.grid.Height());
    PREVIEW_STEP();
    engine.CreateLight(kLight, 255, 255, 255,
                       {2.0f * h + config::kLightOffsetX, 2.0f * y + config::kLightOffsetY, config::kLightZ},
                       config::kLightKindSpot);
    PREVIEW_STEP();
    engine.LightAttenuation(kLight, config::kLightRange, config::kLightConstant);

    PREVIEW_STEP();
    const std::optional<stackmason::Image> grass = stackmason::DecodePng(groundPng);
    PREVIEW_STEP();
    engine.CreateTexture(kGround, config::kGroundTextureSize, config::kGroundTextureSize);
    PREVIEW_STEP();
    if (grass)
        engine.DrawTextureImage(kGround, *grass, 0, 0, kOpaque);
    PREVIEW_STEP();
    engine.CreateMaterial(kGround, kGround);
    PREVIEW_STEP();
    const float margin = static_cast<float>(config::kGroundMargin);
    engine.CreatePlane(kGround, 2.0f * x + margin, 2.0f * y + margin, config::kGroundSegments, config::kGroundSegments, x, y);
    PREVIEW_STEP();
    engine.CreateEntity(kGround, kGround, kGround, glm::vec3(0.0f));
    PREVIEW_STEP();
    engine.LightLookAt(kLight, GroundCentre(engine));
}

BlockFigures BuildBlocks(Engine3D& engine, PreviewBuilding& building, BuildProgress* progress) {
    BlockFigures figures;
    PREVIEW_STEP();
    engine.CreateCube(kCubeMesh, config::kBlockSize);
    PREVIEW_STEP();
    if (progress)
        progress->Begin(BuildStage::Pictures);
    const BlockTemplates templates =
        LoadBlockTemplates(building.packName, config::kGroundTextureSize, config::kMaxTextureSize,
                           [progress] { return progress != nullptr && progress->Cancelled(); });
    figures.templates = templates.Count();
    figures.textureSize = templates.textureSize;
    LogLeftOutPictures(engine, building.packName, templates);
    PREVIEW_STEP();
    const BlockKinds kinds(templates);
    const BuildingCensus census = TakeCensus(engine.Workers(), building.grid, kinds);
    // A template no cell uses is never drawn and is let go with the others: a pack of
    // thousands of entries costs thousands of textures otherwise.
    for (int code = 1; code <= templates.Count(); ++code)
        if (census.codesInUse[static_cast<std::size_t>(code)])
            CreateTemplate(engine, code, templates.templates[static_cast<std::size_t>(code - 1)], templates);

    PREVIEW_STEP();
    if (progress) {
        // What the chunks' progress is shown against. The engine's chunks start at the first
        // block rather than at cell 1, so it may find a few more; it then raises the total.
        progress->Begin(BuildStage::Chunks, census.chunksWithBlocks);
        engine.ReportBuildProgress(progress);
    }
    engine.CreateStaticGeometry(kBlocks, 2.0f * static_cast<float>(building.grid.Length()),
                                2.0f * static_cast<float>(building.grid.Height()), 2.0f * static_cast<float>(building.grid.Width()),
                                false);
    PREVIEW_STEP();
    // Layer by layer, bottom up, which lets the engine mesh the layers left behind meanwhile;
    // the layers are walked on the engine's threads.
    WalkLayersOnPool(engine.Workers(), building.grid, kinds, progress, [&](std::span<const PlacedBlock> blocks) {
        for (const PlacedBlock& block : blocks)
            engine.AddStaticGeometryEntity(kBlocks, block.code, block.position, block.faces);
        figures.instances += static_cast<std::int64_t>(blocks.size());
    });
    PREVIEW_STEP();
    engine.BuildStaticGeometry(kBlocks);
    engine.ReportBuildProgress(nullptr);
    figures.faces = engine.StaticGeometryFaces(kBlocks);
    for (int code = 1; code <= templates.Count(); ++code) {
        PREVIEW_STEP();
        engine.FreeEntity(code);
        PREVIEW_STEP();
        engine.FreeMaterial(code);
        PREVIEW_STEP();
        engine.FreeTexture(code);
    }
    PREVIEW_STEP();
    building.grid = stackmason::Building();
    return figures;
}

}  // namespace orbitscope
