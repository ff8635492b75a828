#pragma once

namespace orbitscope {

class Engine3D;
class SdlScreen;

// Frames until Escape is held at a keyboard snapshot or the window is asked to close; the
// frame in which that happens is still drawn and shown.
void RunFrameLoop(Engine3D& engine, SdlScreen& screen);

}  // namespace orbitscope
