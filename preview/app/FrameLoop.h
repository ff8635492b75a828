#pragma once

namespace orbitscope {

class Engine3D;
class SdlScreen;

// Frames until Escape is held at a keyboard snapshot or the window is asked to close; the
// frame in which that happens is still drawn and shown. At the end the engine's log gets the
// frame figures: each pass of the loop timed from its start to the end of its flip.
void RunFrameLoop(Engine3D& engine, SdlScreen& screen);

}  // namespace orbitscope
