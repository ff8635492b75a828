#pragma once

namespace stackmason {

// Mirrored drawing: what the canvas tools write is also written mirrored across the building's
// left-right centre (x to X + 1 - x), its front-back centre (y to Y + 1 - y), or both (the three
// other images). The canvas side (editor/canvas/Mirroring.h) works the images out.
enum class MirrorMode { Off, LeftRight, FrontBack, Both };

}  // namespace stackmason
