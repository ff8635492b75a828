// Renders real frames through SDL and OpenGL; run under xvfb-run with Mesa's llvmpipe.
#include <gtest/gtest.h>

#include <array>

#include <epoxy/gl.h>
#include <glm/gtc/matrix_transform.hpp>

#include "preview/PreviewConfig.h"
#include "preview/app/Controls.h"
#include "preview/app/FrameLoop.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewScene.h"
#include "tests/preview/PreviewTestFiles.h"

namespace orbitscope {
namespace {

using Pixel = std::array<int, 3>;

constexpr int kWidth = config::kScreenWidth;
constexpr int kHeight = config::kScreenHeight;

class RenderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen_.InitVideo()) << SDL_GetError();
        ASSERT_TRUE(screen_.OpenWindow(kWidth, kHeight, "Orbitscope test", 0)) << SDL_GetError();
        ASSERT_TRUE(screen_.OpenScreen(0)) << SDL_GetError();
        engine_ = std::make_unique<Engine3D>();
        ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
    }
    void TearDown() override { engine_.reset(); }

    // The start-up scene of the program for this building and pack.
    void BuildScene(int width, int length, int height, const std::string& pack,
                    const std::vector<std::vector<std::string>>& layers) {
        PreviewBuilding building =
            ReadPreviewFile(test::WritePreviewFile("render.tmp", width, length, height, pack, layers));
        CreatePreviewCamera(*engine_);
        CreateLightAndGround(*engine_, building, GroundImagePng());
        AimPreviewCamera(*engine_);
        BuildBlocks(*engine_, building);
    }

    // Where a world point lands on the screen, in rows from the top.
    glm::ivec2 Project(const glm::vec3& point) const {
        const glm::mat4 projection = glm::perspective(glm::radians(config::kFieldOfViewDegrees),
                                                      static_cast<float>(kWidth) / kHeight, config::kNearClip, config::kFarClip);
        const glm::vec3 window = glm::project(point, engine_->CameraOf(0)->ViewMatrix(), projection,
                                              glm::vec4(0, 0, kWidth, kHeight));
        return {static_cast<int>(window.x), kHeight - 1 - static_cast<int>(window.y)};
    }

    std::vector<std::uint8_t> RenderAndRead() {
        engine_->RenderWorld();
        glFinish();
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    static Pixel At(const std::vector<std::uint8_t>& rgb, glm::ivec2 p) {
        const std::size_t i = (static_cast<std::size_t>(kHeight - 1 - p.y) * kWidth + p.x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }

    static int CountReddish(const std::vector<std::uint8_t>& rgb) {
        int count = 0;
        for (std::size_t i = 0; i < rgb.size(); i += 3)
            count += rgb[i] > rgb[i + 1] + 40 && rgb[i] > rgb[i + 2] + 40 ? 1 : 0;
        return count;
    }

    SdlScreen screen_;
    std::unique_ptr<Engine3D> engine_;
};

std::string RedAndBluePack(const std::string& name, const std::string& blueName) {
    return test::WritePack(name, {{"brick_045.png", test::SolidPng(16, 16, {220, 40, 30, 255})},
                                  {blueName, test::SolidPng(16, 16, {20, 40, 230, 255})}});
}

// A 3 x 3 x 3 block of brick in the middle of a 10 x 10 building.
std::vector<std::vector<std::string>> BrickBlock() {
    const std::vector<std::string> layer = {"//////////", "//////////", "//////////", "///000////", "///000////",
                                            "///000////", "//////////", "//////////", "//////////", "//////////"};
    return {layer, layer, layer};
}

TEST_F(RenderTest, ShowsBackgroundGroundAndBlocksInEveryRenderMode) {
    BuildScene(10, 10, 3, RedAndBluePack("render.zip", "blue_001.png"), BrickBlock());
    EXPECT_FALSE(engine_->HasEntity(1));  // the templates are gone, their geometry is not
    const std::vector<std::uint8_t> filled = RenderAndRead();

    const Pixel background = At(filled, {4, 4});
    EXPECT_EQ(background, (Pixel{35, 36, 56}));
    const Pixel block = At(filled, Project({0, 3, 0}));
    EXPECT_GT(block[0], block[1] + 60) << block[0] << "," << block[1] << "," << block[2];
    EXPECT_GT(block[0], block[2] + 60);
    const Pixel ground = At(filled, Project({-12, 0, -12}));
    EXPECT_GT(ground[1], ground[0] + 20) << ground[0] << "," << ground[1] << "," << ground[2];
    EXPECT_GT(ground[1], ground[2] + 20);
    const Pixel outsideGround = At(filled, Project({0, 0, 30}));
    EXPECT_EQ(outsideGround, background);

    const int filledRed = CountReddish(filled);
    EXPECT_GT(filledRed, 5000);
    engine_->CameraRenderMode(0, config::kRenderModeWireframe);
    const int wireRed = CountReddish(RenderAndRead());
    engine_->CameraRenderMode(0, config::kRenderModePoints);
    const int pointRed = CountReddish(RenderAndRead());
    EXPECT_GT(wireRed, 50);
    EXPECT_LT(wireRed, filledRed / 2);
    EXPECT_GT(pointRed, 0);
    EXPECT_LT(pointRed, wireRed);
    engine_->CameraRenderMode(0, config::kRenderModeFilled);
    EXPECT_EQ(CountReddish(RenderAndRead()), filledRed);
}

TEST_F(RenderTest, BlendedBlocksLetTheBackgroundThrough) {
    // One block high above the ground's centre, with only background behind it.
    std::vector<std::vector<std::string>> layers(8, std::vector<std::string>(10, "//////////"));
    layers[7][4] = "////1/////";
    BuildScene(10, 10, 8, RedAndBluePack("opaque.zip", "blue_001.png"), layers);
    const glm::ivec2 where = Project({0, 15, 0});
    const Pixel opaque = At(RenderAndRead(), where);

    engine_ = std::make_unique<Engine3D>();
    ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
    BuildScene(10, 10, 8, RedAndBluePack("glass.zip", "t.blue_001.png"), layers);
    const Pixel glass = At(RenderAndRead(), where);
    const Pixel background{35, 36, 56};
    const float share = config::kTemplateOpacity / 255.0f;
    for (std::size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(glass[c], share * static_cast<float>(opaque[c]) + (1 - share) * static_cast<float>(background[c]), 6.0f)
            << "channel " << c;
}

// A slab 512 cells wide and long: its far corners lie about 1300 units from the light. They
// must be lit like the cells under the light, not left with the ambient light alone.
TEST_F(RenderTest, AWideSlabIsLitToItsFarCorners) {
    const std::string pack = test::WritePack("grey.zip", {{"grey_001.png", test::SolidPng(16, 16, {200, 200, 200, 255})}});
    BuildScene(512, 512, 1, pack, {std::vector<std::string>(512, std::string(512, '0'))});
    // The brightness of the top face at this point, seen from close above it.
    auto brightness = [&](const glm::vec3& top) {
        engine_->MoveCamera(0, top + glm::vec3(0, 20, -12), Engine3D::Move::Absolute);
        engine_->CameraLookAt(0, top);
        return At(RenderAndRead(), Project(top))[0];
    };
    const int underLight = brightness({52, 2, -60});  // the light stands at (52, 1064, -60)
    const float ambientOnly = config::kAmbientLight * 200.0f;
    EXPECT_GT(static_cast<float>(underLight), 2.0f * ambientOnly) << underLight;
    // The centres of the corner cells' tops: cell (x, y) is centred on (2x - 512, 2y - 512).
    for (const glm::vec3 corner : {glm::vec3(-510, 2, -510), glm::vec3(512, 2, -510), glm::vec3(-510, 2, 512),
                                   glm::vec3(512, 2, 512)}) {
        const int far = brightness(corner);
        EXPECT_GT(static_cast<float>(far), 1.6f * ambientOnly) << corner.x << "," << corner.z << ": " << far;
        EXPECT_GT(far, underLight * 4 / 5) << corner.x << "," << corner.z << ": " << far << " against " << underLight;
    }
}

TEST_F(RenderTest, FrameLoopEndsAfterTheFrameThatTakesTheCloseRequest) {
    BuildScene(0, 0, 0, "", {});
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    RunFrameLoop(*engine_, screen_);  // returns instead of running on
    SUCCEED();
}

// Step 1 of a frame takes everything queued: a burst of window events ahead of the close
// request does not hide it, and events of kinds no step reads do not pile up frame after frame
// until SDL's queue is full and the close request can no longer be queued.
TEST_F(RenderTest, EveryPendingEventLeavesTheQueueSoTheCloseRequestIsSeen) {
    auto push = [](Uint32 type) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_WINDOWEVENT)
            event.window.event = SDL_WINDOWEVENT_EXPOSED;
        return SDL_PushEvent(&event) == 1;
    };
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(push(SDL_WINDOWEVENT));
    ASSERT_TRUE(push(SDL_QUIT));
    EXPECT_TRUE(screen_.TakeWindowEvents(0));
    EXPECT_FALSE(screen_.TakeWindowEvents(0));

    for (int frame = 0; frame < 200; ++frame) {
        for (int i = 0; i < 500; ++i)
            ASSERT_TRUE(push(SDL_USEREVENT)) << "the queue is full in frame " << frame;
        ASSERT_FALSE(screen_.TakeWindowEvents(0));
    }
    ASSERT_TRUE(push(SDL_QUIT));
    EXPECT_TRUE(screen_.TakeWindowEvents(0));

    // A key released before step 1 still counts as released at the frame's keyboard snapshot.
    SDL_Event release{};
    release.type = SDL_KEYUP;
    release.key.keysym.scancode = SDL_SCANCODE_F1;
    ASSERT_EQ(SDL_PushEvent(&release), 1);
    EXPECT_FALSE(screen_.TakeWindowEvents(0));
    EXPECT_TRUE(screen_.TakeKeyboardSnapshot().Released(PreviewKey::F1));
}

}  // namespace
}  // namespace orbitscope
