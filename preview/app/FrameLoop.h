#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace orbitscope {

class Engine3D;
class SdlScreen;

// Frames until Escape is held at a keyboard snapshot or the window is asked to close; the
// frame in which that happens is still drawn and shown. At the end the engine's log gets the
// frame figures: each pass of the loop timed from its start to the end of its flip.
std::string MillisecondsSince(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to);

// With started, the log also tells how long after it the first frame was shown.
void RunFrameLoop(Engine3D& engine, SdlScreen& screen,
                  std::optional<std::chrono::steady_clock::time_point> started = std::nullopt);

}  // namespace orbitscope
