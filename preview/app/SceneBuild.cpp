#include "preview/app/SceneBuild.h"

#include <algorithm>

#include "preview/app/Controls.h"
#include "preview/app/PixelFont.h"
#include "preview/app/PreviewStep.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewBuilding.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 5000;

BlockFigures BuildScene(Engine3D& engine, const std::string& path, BuildProgress* progress) {
    PREVIEW_STEP();
    PreviewBuilding building = ReadPreviewFile(path, progress);
    PREVIEW_STEP();
    CreatePreviewCamera(engine);
    PREVIEW_STEP();
    CreateLightAndGround(engine, building, GroundImagePng());
    PREVIEW_STEP();
    AimPreviewCamera(engine);
    if (progress && progress->Cancelled())
        return {};
    PREVIEW_STEP();
    return BuildBlocks(engine, building, progress);
}

namespace {

// Where each stage starts on the bar: the chunks take nearly all of a large build.
constexpr double kPicturesStart = 0.15;
constexpr double kChunksStart = 0.2;
constexpr double kUploadStart = 0.95;

double Share(const BuildProgress::Snapshot& now) {
    if (now.total <= 0)
        return 0.0;
    return std::clamp(static_cast<double>(now.done) / static_cast<double>(now.total), 0.0, 1.0);
}

}  // namespace

ProgressView ProgressViewOf(const BuildProgress::Snapshot& now) {
    switch (now.stage) {
    case BuildStage::Starting: return {"Starting", 0.0};
    case BuildStage::Reading: return {"Reading building", kPicturesStart * Share(now)};
    case BuildStage::Pictures: return {"Loading pictures", kPicturesStart};
    case BuildStage::Chunks:
        return {"Building chunks " + GroupedNumber(now.done) + " / " + GroupedNumber(std::max(now.done, now.total)),
                kChunksStart + (kUploadStart - kChunksStart) * Share(now)};
    case BuildStage::Uploading: return {"Uploading", kUploadStart};
    case BuildStage::Done: break;
    }
    return {"Ready", 1.0};
}

}  // namespace orbitscope
