// Renders real frames through SDL and OpenGL; run under xvfb-run with Mesa's llvmpipe.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

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
#include "tests/support/TempFolder.h"
#include "tests/support/TestImages.h"

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

// The ground is one-sided, so a camera under it sees the building from below: layer 1's
// undersides close the building there, where the ground itself shows nothing.
TEST_F(RenderTest, ABuildingSeenFromUnderTheGroundIsClosed) {
    BuildScene(10, 10, 3, RedAndBluePack("below.zip", "blue_001.png"), BrickBlock());
    const Pixel background{35, 36, 56};
    // The block spans x and z from -3 to 3 on the ground; the eye looks up at its middle
    // from beyond its side, so that no side face lies on the way.
    engine_->MoveCamera(0, {0, -15, 4}, Engine3D::Move::Absolute);
    engine_->CameraLookAt(0, {0, 0, 0});
    const std::vector<std::uint8_t> frame = RenderAndRead();
    for (const glm::vec3 underside : {glm::vec3(0, 0, 0), glm::vec3(-2.5f, 0, -2.5f), glm::vec3(2.5f, 0, 2.5f)}) {
        const Pixel floor = At(frame, Project(underside));
        EXPECT_NE(floor, background) << underside.x << "," << underside.z;
        EXPECT_GT(floor[0], floor[1] + 10) << floor[0] << "," << floor[1] << "," << floor[2];
        EXPECT_GT(floor[0], floor[2] + 10) << floor[0] << "," << floor[1] << "," << floor[2];
    }
    EXPECT_EQ(At(frame, Project({7, 0, -7})), background);  // the ground, seen from below
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

// Random houses, walls, slabs and scattered blocks of four kinds, one of them glass, so that
// faces merge into rectangles of many shapes across chunk borders.
std::vector<std::vector<std::string>> RandomTown(int width, int length, int height, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::vector<std::string>> layers(static_cast<std::size_t>(height),
                                                 std::vector<std::string>(static_cast<std::size_t>(length),
                                                                          std::string(static_cast<std::size_t>(width), '/')));
    auto set = [&](int x, int y, int h, char c) {
        layers[static_cast<std::size_t>(h)][static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = c;
    };
    std::uniform_int_distribution<int> code(0, 3);
    for (int box = 0; box < 14; ++box) {
        const int x0 = std::uniform_int_distribution<int>(0, width - 4)(random);
        const int y0 = std::uniform_int_distribution<int>(0, length - 4)(random);
        const int x1 = std::min(width - 1, x0 + std::uniform_int_distribution<int>(2, 20)(random));
        const int y1 = std::min(length - 1, y0 + std::uniform_int_distribution<int>(2, 20)(random));
        const int h1 = std::uniform_int_distribution<int>(0, height - 1)(random);
        const char wall = static_cast<char>('0' + code(random));
        const bool hollow = box % 2 == 0;
        for (int h = 0; h <= h1; ++h)
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    if (!hollow || h == h1 || x == x0 || x == x1 || y == y0 || y == y1)
                        set(x, y, h, wall);
    }
    for (int i = 0; i < width * length / 8; ++i)
        set(std::uniform_int_distribution<int>(0, width - 1)(random), std::uniform_int_distribution<int>(0, length - 1)(random),
            std::uniform_int_distribution<int>(0, height - 1)(random), static_cast<char>('0' + code(random)));
    return layers;
}

std::vector<std::vector<std::string>> HalfFilled(int width, int length, int height, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> cell(-3, 3);
    std::vector<std::vector<std::string>> layers(static_cast<std::size_t>(height));
    for (auto& layer : layers)
        for (int y = 0; y < length; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x)
                row += static_cast<char>('/' + std::max(cell(random), 0));
            layer.push_back(row);
        }
    return layers;
}

// The merged chunks draw the picture that the engine drew before it merged (every face a
// quad of its own in one batch per material): the same blocks, textures, orientations and
// light, from the home view, from above, from inside the buildings and along the walls.
// Opaque blocks give the same pixels but for edge rounding. Glass is blended in the same
// way, but farthest first now, where the batches laid it in building order: where glass
// lies behind glass the two orders mix the colours a little differently.
TEST_F(RenderTest, MergedChunksDrawThePictureOfSingleFaces) {
    struct View {
        glm::vec3 eye, target;
    };
    const std::vector<View> views = {{{-30, 30, -40}, {0, 0, 0}},  {{0, 150, 0.1f}, {0, 0, 0}},  {{3, 5, 7}, {40, 2, -20}},
                                      {{-70, 3, -70}, {70, 3, 70}}, {{60, 40, 60}, {-10, 0, 0}}, {{-20, 8, 45}, {-20, 8, -45}}};
    int hiddenChunks = 0;
    for (const bool glass : {false, true}) {
        const std::uint8_t alpha = glass ? 120 : 255;
        const std::string pack = test::WritePack(
            glass ? "glass_town.zip" : "town.zip",
            {{"brick_045.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(16, 16))},
             {"stone_001.png", test::SolidPng(16, 16, {120, 120, 128, 255})},
             {glass ? "t.glass_020.png" : "glass_020.png", test::SolidPng(16, 16, {60, 90, 230, alpha})},
             {"planks_005.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(16, 16))}});
        for (const std::uint32_t seed : {1u, 2u, 3u}) {
            // The third is half filled at random: most of its chunks lie behind nearer ones.
            const auto layers = seed == 3 ? HalfFilled(72, 64, 10, seed) : RandomTown(72, 64, 10, seed);
            std::vector<std::vector<std::uint8_t>> frames[2];
            for (const bool merge : {false, true}) {
                engine_ = std::make_unique<Engine3D>();
                ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
                engine_->MergeStaticFaces(merge);
                BuildScene(72, 64, 10, pack, layers);
                for (const View& view : views) {
                    engine_->MoveCamera(0, view.eye, Engine3D::Move::Absolute);
                    engine_->CameraLookAt(0, view.target);
                    frames[merge ? 1 : 0].push_back(RenderAndRead());
                }
                EXPECT_EQ(engine_->StaticGeometryChunkCount(0) > 0, merge);
                if (merge && seed != 3) {
                    EXPECT_LT(engine_->StaticGeometryQuads(0) * 2, engine_->StaticGeometryFaces(0));
                }
                if (merge && seed == 3) {
                    hiddenChunks += engine_->StaticGeometryChunkCount(0) - engine_->ChunksDrawnLastFrame();
                }
            }
            for (std::size_t v = 0; v < views.size(); ++v) {
                int differing = 0;
                int far = 0;
                for (std::size_t i = 0; i < frames[0][v].size(); i += 3) {
                    int step = 0;
                    for (std::size_t c = i; c < i + 3; ++c)
                        step = std::max(step, std::abs(frames[0][v][c] - frames[1][v][c]));
                    differing += step > 0 ? 1 : 0;
                    far += step > 40 ? 1 : 0;
                }
                // A long edge is rasterised from other end points than the short ones it
                // replaces, and a texture coordinate interpolated across a long quad rounds
                // differently: the odd pixel whose centre lies right on an edge, or whose
                // sample lies right on a texel's border, can fall to the other side. That is
                // a few hundredths of a per cent of the 786,432 pixels, where a wrong texture,
                // orientation or light changes thousands.
                const std::string where = (glass ? "glass, seed " : "seed ") + std::to_string(seed) + ", view " +
                                          std::to_string(v);
                // Glass behind glass mixes a little differently in the other order, but never far.
                EXPECT_LE(differing, kWidth * kHeight / (glass ? 20 : 2000)) << where;
                EXPECT_LE(far, 40) << where;
            }
        }
    }
    EXPECT_GT(hiddenChunks, 0) << "the views must show chunks being skipped behind others";
}

// A closed room, 24 x 20 x 10 cells, whose walls, floor and ceiling are one cell thick and
// made of four kinds: broad stripes of two kinds, dotted with single cells and short runs of
// the other two. Merged, the stripes become long quads whose edges pass the corners of the
// short ones beside them and of the walls they meet.
std::vector<std::vector<std::string>> PatchworkRoom(int width, int length, int height) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> spot(0, 99);
    std::vector<std::vector<std::string>> layers(static_cast<std::size_t>(height));
    for (int h = 0; h < height; ++h)
        for (int y = 0; y < length; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x) {
                const bool shell = h == 0 || h == height - 1 || x == 0 || x == width - 1 || y == 0 || y == length - 1;
                char kind = static_cast<char>('0' + ((x / 5 + y / 3 + h / 4) % 2));
                const int roll = spot(random);
                if (roll < 12)
                    kind = static_cast<char>('2' + roll % 2);
                row += shell ? kind : '/';
            }
            layers[static_cast<std::size_t>(h)].push_back(row);
        }
    return layers;
}

// Seen from inside a closed room, every pixel shows a face of it: where merged quads meet
// smaller ones (a T-junction) their edges must leave no gap through which the background
// shows, no more than the single faces do. The eyes stand at least 3 units inside the walls
// (the near plane stays clear of them) and look at the corners, along the walls and at the
// middles of floor and ceiling.
TEST_F(RenderTest, AClosedRoomShowsNoBackgroundMergedOrNot) {
    constexpr int kRoomWidth = 24, kRoomLength = 20, kRoomHeight = 10;
    const std::string pack = test::WritePack(
        "patchwork.zip", {{"brick_045.png", stackmason::test::EncodePng(stackmason::test::CoordinateImage(16, 16))},
                          {"stone_001.png", test::SolidPng(16, 16, {170, 170, 178, 255})},
                          {"planks_005.png", test::SolidPng(16, 16, {200, 140, 60, 255})},
                          {"leaves_018.png", test::SolidPng(16, 16, {40, 180, 40, 255})}});
    const auto layers = PatchworkRoom(kRoomWidth, kRoomLength, kRoomHeight);
    // The room's inside: x from -21 to 23, y from 2 to 18, z from -17 to 19.
    const glm::vec3 low(-21, 2, -17), high(23, 18, 19);
    std::vector<glm::vec3> eyes;
    for (const float fx : {0.1f, 0.4f, 0.65f, 0.9f})
        for (const float fy : {0.2f, 0.8f})
            for (const float fz : {0.15f, 0.85f})
                eyes.push_back(glm::mix(low + 3.0f, high - 3.0f, glm::vec3(fx, fy, fz)));
    std::vector<glm::vec3> targets;
    for (int corner = 0; corner < 8; ++corner)
        targets.push_back(glm::mix(low, high, glm::vec3(corner & 1, (corner >> 1) & 1, (corner >> 2) & 1)));
    const glm::vec3 middle = (low + high) * 0.5f;
    targets.push_back({middle.x, low.y, middle.z});
    targets.push_back({middle.x, high.y, middle.z});
    targets.push_back({low.x, middle.y, high.z - 1});   // along the far walls
    targets.push_back({high.x, low.y + 1, middle.z});
    struct View {
        glm::vec3 eye, target;
    };
    std::vector<View> views;
    for (std::size_t e = 0; e < eyes.size(); ++e)
        for (std::size_t t = 0; t < 4; ++t)
            views.push_back({eyes[e], targets[(e * 5 + t * 3) % targets.size()]});
    ASSERT_GE(views.size(), 60u);

    const Pixel background{35, 36, 56};
    for (const bool merge : {false, true}) {
        engine_ = std::make_unique<Engine3D>();
        ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
        engine_->MergeStaticFaces(merge);
        BuildScene(kRoomWidth, kRoomLength, kRoomHeight, pack, layers);
        if (merge) {  // the room must merge into quads of many sizes to test their seams
            EXPECT_LT(engine_->StaticGeometryQuads(0) * 2, engine_->StaticGeometryFaces(0));
        }
        int total = 0;
        for (std::size_t v = 0; v < views.size(); ++v) {
            engine_->MoveCamera(0, views[v].eye, Engine3D::Move::Absolute);
            engine_->CameraLookAt(0, views[v].target);
            const std::vector<std::uint8_t> frame = RenderAndRead();
            int shown = 0;
            for (std::size_t i = 0; i < frame.size(); i += 3)
                shown += Pixel{frame[i], frame[i + 1], frame[i + 2]} == background ? 1 : 0;
            EXPECT_EQ(shown, 0) << (merge ? "merged" : "single faces") << ", view " << v;
            total += shown;
        }
        EXPECT_EQ(total, 0) << (merge ? "merged" : "single faces");
    }
}

// The frame loop's figures end the engine's log; the anti-aliasing asked for stays off under
// Mesa's software renderer, and the log says so.
TEST_F(RenderTest, TheLogEndsWithTheFrameFigures) {
    // In the process's folder, which outlives the engine that may still write to its log.
    const std::string log = stackmason::test::ProcessTempFile("engine_frames.log");
    engine_ = std::make_unique<Engine3D>();
    ASSERT_NE(engine_->InitEngine3D(config::kEngineLogFlag, log), 0);
    engine_->AntialiasingMode(config::kAntialiasingMode);
    ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
    EXPECT_EQ(engine_->MultisampleSamples(), 0);
    BuildScene(10, 10, 3, RedAndBluePack("frames.zip", "blue_001.png"), BrickBlock());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    RunFrameLoop(*engine_, screen_);
    const std::int64_t faces = engine_->StaticGeometryFaces(0);
    const std::int64_t quads = engine_->StaticGeometryQuads(0);
    EXPECT_EQ(faces, 9 * 6);       // a 3 x 3 x 3 block, its underside on the ground included
    EXPECT_EQ(quads, 6);           // one quad a side
    engine_.reset();
    std::ifstream in(log);
    std::string line;
    std::string last;
    bool softwareNoted = false;
    while (std::getline(in, line)) {
        softwareNoted = softwareNoted || (line.find("anti-aliasing: 0 samples") == 0 &&
                                          line.find("off under the software renderer") != std::string::npos);
        last = line;
    }
    EXPECT_TRUE(softwareNoted);
    std::istringstream figures(last);
    long long frames = 0, facesLogged = 0, quadsLogged = 0, chunks = 0;
    double mean = 0, p95 = 0;
    char comma = 0;
    std::string word;
    figures >> word >> frames >> comma >> word >> word >> mean >> comma >> word >> word >> p95 >> comma >> word >>
        facesLogged >> comma >> word >> quadsLogged >> comma >> word >> chunks;
    ASSERT_FALSE(figures.fail()) << last;
    EXPECT_EQ(last.rfind("frames: 1, mean ms: ", 0), 0u) << last;
    EXPECT_GT(mean, 0.0);
    EXPECT_EQ(p95, mean);
    EXPECT_EQ(facesLogged, faces);
    EXPECT_EQ(quadsLogged, quads);
    EXPECT_EQ(chunks, 1);
}

// Where multisampling is honoured, the engine draws into a multisampled frame of its own and
// resolves it onto the screen: the same scene, its edges smoothed.
TEST_F(RenderTest, AMultisampledFrameShowsTheSameScene) {
    BuildScene(10, 10, 3, RedAndBluePack("plain.zip", "blue_001.png"), BrickBlock());
    const std::vector<std::uint8_t> plain = RenderAndRead();
    engine_ = std::make_unique<Engine3D>();
    engine_->AntialiasingMode(config::kAntialiasingMode);
    engine_->MultisampleOnSoftwareRenderers(true);
    ASSERT_TRUE(engine_->AttachScreen(kWidth, kHeight));
    EXPECT_EQ(engine_->MultisampleSamples(), config::kMultisampleSamples);
    BuildScene(10, 10, 3, RedAndBluePack("smooth.zip", "blue_001.png"), BrickBlock());
    const std::vector<std::uint8_t> smooth = RenderAndRead();
    EXPECT_EQ(At(smooth, {4, 4}), At(plain, {4, 4}));
    EXPECT_EQ(At(smooth, Project({0, 3, 0})), At(plain, Project({0, 3, 0})));
    const int plainRed = CountReddish(plain);
    EXPECT_NEAR(CountReddish(smooth), plainRed, plainRed / 50);
    EXPECT_NE(smooth, plain);  // the edges differ
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
