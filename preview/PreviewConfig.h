#pragma once

#include <string_view>

// Every number that shapes how Orbitscope looks, moves and draws, in one place.
namespace orbitscope::config {

// The window and its 3-D screen.
inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;
inline constexpr std::string_view kWindowTitle = "Orbitscope";
inline constexpr int kFlipMode = 1;             // shown in step with the display's refresh
inline constexpr int kAntialiasingMode = 4;     // asks for kMultisampleSamples samples
inline constexpr int kMultisampleSamples = 4;
inline constexpr int kEngineLogFlag = 1;
inline constexpr std::string_view kEngineLogFileName = "Engine3D.log";
inline constexpr std::string_view kArchivePath = "\\";
inline constexpr int kArchiveKindFileSystem = 0;

// The scene.
inline constexpr float kBlockSize = 2.0f;
inline constexpr int kGroundTextureSize = 64;   // also T until the pack's first image is read
inline constexpr int kGroundMargin = 10;        // world units the ground reaches past the building
inline constexpr int kGroundSegments = 50;
// T follows the pack's first picture up to this side; a larger first picture would make
// every one of the pack's textures that large.
inline constexpr int kMaxTextureSize = 512;
inline constexpr int kTemplateOpacity = 130;    // of 255, when a block image is drawn into its texture
inline constexpr int kBlendingModeAlpha = 3;
inline constexpr int kLightKindSpot = 2;
inline constexpr float kLightRange = 900.0f;
inline constexpr float kLightConstant = 0.0f;
inline constexpr float kLightOffsetX = 50.0f;   // light at (2H + 50, 2Y + 40, -60)
inline constexpr float kLightOffsetY = 40.0f;
inline constexpr float kLightZ = -60.0f;

// The camera and the controls.
inline constexpr float kCameraHomeX = -30.0f;
inline constexpr float kCameraHomeY = 30.0f;
inline constexpr float kCameraHomeZ = -40.0f;
inline constexpr float kCameraStartPitch = -90.0f;
inline constexpr float kCameraStartYaw = 0.0f;
inline constexpr float kCameraStartRoll = 180.0f;
inline constexpr float kCameraSpeed = 1.0f;     // world units per frame
inline constexpr float kMouseDegreesPerCount = 1.0f;
inline constexpr int kBackgroundRed = 35;
inline constexpr int kBackgroundGreen = 36;
inline constexpr int kBackgroundBlue = 56;
inline constexpr int kEventWaitMilliseconds = 1;

// The engine's own defaults.
inline constexpr float kFieldOfViewDegrees = 45.0f;  // vertical
inline constexpr float kNearClip = 0.5f;
inline constexpr float kFarClip = 8000.0f;
inline constexpr float kAmbientLight = 0.38f;       // share of a texel's colour lit without any light
// A light with constant attenuation 0 reaches far enough that the scene's farthest point
// still gets this share of it; scenes up to about 45 cells wide lie within range 900 anyway.
inline constexpr float kLightFarthestShare = 0.75f;
inline constexpr float kSpotInnerDegrees = 50.0f;   // half-angles of the spot light's cone
inline constexpr float kSpotOuterDegrees = 75.0f;
inline constexpr float kPointSize = 3.0f;           // render mode 2
inline constexpr int kRenderModeFilled = 0;
inline constexpr int kRenderModeWireframe = 1;
inline constexpr int kRenderModePoints = 2;

}  // namespace orbitscope::config
