#pragma once

#include <array>
#include <cstddef>

namespace orbitscope {

class Engine3D;
class RenderModeCounter;

// The keys Orbitscope reads, by their position on a US keyboard.
enum class PreviewKey : std::size_t { A, D, W, S, F1, F2, Escape, Count };

// One look at the keyboard: which keys are down now and which went up since the last look.
struct KeySnapshot {
    std::array<bool, static_cast<std::size_t>(PreviewKey::Count)> held{};
    std::array<bool, static_cast<std::size_t>(PreviewKey::Count)> released{};

    bool Held(PreviewKey key) const { return held[static_cast<std::size_t>(key)]; }
    bool Released(PreviewKey key) const { return released[static_cast<std::size_t>(key)]; }
};

// Mouse movement since the last look, in counts: right and down are positive.
struct MouseSnapshot {
    int dx = 0;
    int dy = 0;
};

// What one frame does with the keyboard.
struct KeyActions {
    int strafe = 0;   // -1 left, +1 right
    int advance = 0;  // -1 forward, +1 back
    bool resetCamera = false;
    bool nextRenderMode = false;
    bool endAfterFrame = false;
};

// A wins over D and W over S; F1 and F2 act on release; Escape held ends the loop.
KeyActions ReadKeys(const KeySnapshot& keys);

// Camera 0 at its home, turned to its start angles, with the background colour.
void CreatePreviewCamera(Engine3D& engine);
// Camera 0 aimed at the ground's centre (entity 0), world y up.
void AimPreviewCamera(Engine3D& engine);
// Camera 0 back home, aimed at the ground's centre (entity 0).
void ResetPreviewCamera(Engine3D& engine);
// Steps 3 to 8 of a frame: keys, camera reset, render mode, mouse-look and flight. True when
// the loop ends after this frame.
bool ApplyFrameInput(Engine3D& engine, RenderModeCounter& renderModes, const KeySnapshot& keys,
                     const MouseSnapshot& mouse);

}  // namespace orbitscope
