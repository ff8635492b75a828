#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include "preview/app/Controls.h"
#include "preview/app/RenderModeCounter.h"
#include "preview/engine/Camera.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {
namespace {

constexpr float kTolerance = 1e-4f;

void ExpectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
    EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

KeySnapshot Keys(std::initializer_list<PreviewKey> held, std::initializer_list<PreviewKey> released = {}) {
    KeySnapshot keys;
    for (PreviewKey key : held)
        keys.held[static_cast<std::size_t>(key)] = true;
    for (PreviewKey key : released)
        keys.released[static_cast<std::size_t>(key)] = true;
    return keys;
}

// Camera 0 as start-up leaves it, with the ground entity at the origin.
struct PreviewCameraEngine {
    Engine3D engine;
    PreviewCameraEngine() {
        engine.CreateCube(0, 2.0f);
        engine.CreateEntity(0, 0, 0);
        CreatePreviewCamera(engine);
        AimPreviewCamera(engine);
    }
    const Camera& camera() const { return *engine.CameraOf(0); }
};

TEST(Camera, LooksAtTargetsAndMovesAlongItsOwnAxes) {
    Camera camera;
    camera.MoveAbsolute({-30, 30, -40});
    camera.LookAt({0, 0, 0});
    const glm::vec3 towardsOrigin = glm::normalize(glm::vec3(30, -30, 40));
    ExpectNear(camera.Forward(), towardsOrigin);
    EXPECT_NEAR(camera.Right().y, 0.0f, kTolerance);  // no roll: the horizon stays level
    EXPECT_GT(camera.Up().y, 0.0f);
    ExpectNear(glm::vec3(camera.ViewMatrix() * glm::vec4(0, 0, 0, 1)), {0, 0, -glm::length(glm::vec3(30, 30, 40))});

    camera.MoveRelative({0, 0, -1});
    ExpectNear(camera.Position(), glm::vec3(-30, 30, -40) + towardsOrigin);
    camera.MoveRelative({-1, 0, 1});
    ExpectNear(camera.Position(), glm::vec3(-30, 30, -40) - camera.Right());

    Camera straightDown;
    straightDown.MoveAbsolute({0, 10, 0});
    straightDown.LookAt({0, 0, 0});
    ExpectNear(straightDown.Forward(), {0, -1, 0});
    straightDown.LookAt({0, 10, 0});  // its own position: nothing changes
    ExpectNear(straightDown.Forward(), {0, -1, 0});

    Camera turned;
    turned.RotateAbsolute(-90, 0, 180);
    ExpectNear(turned.Forward(), {0, -1, 0});
}

TEST(Controls, KeysMouseLookResetAndEscape) {
    EXPECT_EQ(ReadKeys(Keys({PreviewKey::A, PreviewKey::D})).strafe, -1);
    EXPECT_EQ(ReadKeys(Keys({PreviewKey::D})).strafe, 1);
    EXPECT_EQ(ReadKeys(Keys({PreviewKey::W, PreviewKey::S})).advance, -1);
    EXPECT_EQ(ReadKeys(Keys({PreviewKey::S})).advance, 1);
    EXPECT_EQ(ReadKeys(Keys({})).advance, 0);
    EXPECT_FALSE(ReadKeys(Keys({PreviewKey::F1, PreviewKey::F2})).resetCamera);  // held is not released
    EXPECT_FALSE(ReadKeys(Keys({PreviewKey::F1, PreviewKey::F2})).nextRenderMode);
    EXPECT_TRUE(ReadKeys(Keys({}, {PreviewKey::F1})).resetCamera);
    EXPECT_TRUE(ReadKeys(Keys({PreviewKey::Escape})).endAfterFrame);
    EXPECT_FALSE(ReadKeys(Keys({}, {PreviewKey::Escape})).endAfterFrame);  // a tap between snapshots is missed

    PreviewCameraEngine rig;
    RenderModeCounter modes;
    const glm::vec3 home(-30, 30, -40);
    ExpectNear(rig.camera().Position(), home);
    const glm::vec3 startForward = rig.camera().Forward();

    // W and S together fly forward one unit; A and D together strafe left.
    EXPECT_FALSE(ApplyFrameInput(rig.engine, modes, Keys({PreviewKey::W, PreviewKey::S}), {}));
    ExpectNear(rig.camera().Position(), home + startForward);
    ApplyFrameInput(rig.engine, modes, Keys({PreviewKey::A, PreviewKey::D}), {});
    ExpectNear(rig.camera().Position(), home + startForward - rig.camera().Right());

    // Mouse right turns the view right, mouse down tilts it down, a degree a count.
    const glm::vec3 before = rig.camera().Forward();
    ApplyFrameInput(rig.engine, modes, {}, {10, 0});
    EXPECT_GT(glm::dot(rig.camera().Forward() - before, glm::cross(before, glm::vec3(0, 1, 0))), 0.0f);
    auto heading = [](glm::vec3 v) { return glm::degrees(std::atan2(v.x, -v.z)); };
    EXPECT_NEAR(heading(rig.camera().Forward()) - heading(before), 10.0f, 1e-2f);  // yaw turns about world up
    EXPECT_NEAR(rig.camera().Forward().y, before.y, kTolerance);
    const float heightBefore = rig.camera().Forward().y;
    ApplyFrameInput(rig.engine, modes, {}, {0, 5});
    EXPECT_LT(rig.camera().Forward().y, heightBefore);

    // Holding F1 does nothing; its release brings the camera home, aimed at the ground.
    ApplyFrameInput(rig.engine, modes, Keys({PreviewKey::F1}), {});
    EXPECT_GT(glm::length(rig.camera().Position() - home), 0.5f);
    ApplyFrameInput(rig.engine, modes, Keys({}, {PreviewKey::F1}), {});
    ExpectNear(rig.camera().Position(), home);
    ExpectNear(rig.camera().Forward(), startForward);

    EXPECT_TRUE(ApplyFrameInput(rig.engine, modes, Keys({PreviewKey::Escape}), {}));
}

TEST(Controls, RenderModesCycleOnF2Release) {
    RenderModeCounter counter;
    EXPECT_EQ(counter.Step(), 1);
    EXPECT_EQ(counter.Step(), 2);
    EXPECT_EQ(counter.Value(), -1);
    EXPECT_EQ(counter.Step(), 0);
    EXPECT_EQ(counter.Step(), 1);

    PreviewCameraEngine rig;
    RenderModeCounter modes;
    EXPECT_EQ(rig.engine.RenderModeOf(0), 0);
    ApplyFrameInput(rig.engine, modes, Keys({PreviewKey::F2}), {});
    EXPECT_EQ(rig.engine.RenderModeOf(0), 0);
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) {
        ApplyFrameInput(rig.engine, modes, Keys({}, {PreviewKey::F2}), {});
        seen.push_back(rig.engine.RenderModeOf(0));
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1, 2, 0}));
}

}  // namespace
}  // namespace orbitscope
