#include "preview/app/Controls.h"

#include "preview/PreviewConfig.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/RenderModeCounter.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 2000;
namespace {

constexpr int kCamera = 0;
constexpr int kGroundEntity = 0;

glm::vec3 CameraHome() { return {config::kCameraHomeX, config::kCameraHomeY, config::kCameraHomeZ}; }

}  // namespace

KeyActions ReadKeys(const KeySnapshot& keys) {
    KeyActions actions;
    actions.strafe = keys.Held(PreviewKey::A) ? -1 : keys.Held(PreviewKey::D) ? 1 : 0;
    actions.advance = keys.Held(PreviewKey::W) ? -1 : keys.Held(PreviewKey::S) ? 1 : 0;
    actions.resetCamera = keys.Released(PreviewKey::F1);
    actions.nextRenderMode = keys.Released(PreviewKey::F2);
    actions.endAfterFrame = keys.Held(PreviewKey::Escape);
    return actions;
}

void CreatePreviewCamera(Engine3D& engine) {
    PREVIEW_STEP();
    engine.CreateCamera(kCamera, 0, 0, 100, 100);
    PREVIEW_STEP();
    engine.MoveCamera(kCamera, CameraHome(), Engine3D::Move::Absolute);
    PREVIEW_STEP();
    engine.RotateCamera(kCamera, config::kCameraStartPitch, config::kCameraStartYaw, config::kCameraStartRoll,
                        Engine3D::Move::Absolute);
    PREVIEW_STEP();
    engine.CameraBackColor(kCamera, config::kBackgroundRed, config::kBackgroundGreen, config::kBackgroundBlue);
}

void ResetPreviewCamera(Engine3D& engine) {
    PREVIEW_STEP();
    engine.MoveCamera(kCamera, CameraHome(), Engine3D::Move::Absolute);
    AimPreviewCamera(engine);
}

void AimPreviewCamera(Engine3D& engine) {
    PREVIEW_STEP();
    engine.CameraLookAt(kCamera, {engine.EntityX(kGroundEntity), engine.EntityY(kGroundEntity), engine.EntityZ(kGroundEntity)});
}

bool ApplyFrameInput(Engine3D& engine, RenderModeCounter& renderModes, const KeySnapshot& keys,
                     const MouseSnapshot& mouse) {
    PREVIEW_STEP();
    const KeyActions actions = ReadKeys(keys);
    if (actions.resetCamera)
        ResetPreviewCamera(engine);
    PREVIEW_STEP();
    if (actions.nextRenderMode)
        if (const std::optional<int> mode = renderModes.Step())
            engine.CameraRenderMode(kCamera, *mode);
    PREVIEW_STEP();
    const float degrees = config::kMouseDegreesPerCount;
    engine.RotateCamera(kCamera, -static_cast<float>(mouse.dy) * degrees, -static_cast<float>(mouse.dx) * degrees, 0,
                        Engine3D::Move::Relative);
    PREVIEW_STEP();
    engine.MoveCamera(kCamera,
                      {static_cast<float>(actions.strafe) * config::kCameraSpeed, 0.0f,
                       static_cast<float>(actions.advance) * config::kCameraSpeed},
                      Engine3D::Move::Relative);
    return actions.endAfterFrame;
}

}  // namespace orbitscope
