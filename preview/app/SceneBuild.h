#pragma once

#include <string>

#include "preview/app/ProgressPicture.h"
#include "preview/engine/BuildProgress.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/PreviewScene.h"

namespace orbitscope {

// Everything start-up builds before the first frame, from the preview file at path: the
// building read, the camera, the light and the ground made and aimed, and the blocks built.
// No graphics context is needed, so it runs on a thread of its own while the window shows
// progress; after a cancel it returns early with part of the scene.
BlockFigures BuildScene(Engine3D& engine, const std::string& path, BuildProgress* progress);

// What the progress screen says and how full its bar is at that moment of the build.
ProgressView ProgressViewOf(const BuildProgress::Snapshot& now);

}  // namespace orbitscope
