#pragma once

#include <string>

#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {

// Builds the scene of the preview file at path (BuildScene) on a thread of its own, on every
// core, while the window keeps taking its events and shows how far the build has come, then
// shows "Uploading" for the first frame to come. False when the window was asked to close or
// Escape was held meanwhile: the build has then been stopped and the program is to end.
// A failure of the build is thrown here, on the calling thread.
bool BuildSceneInWindow(Engine3D& engine, SdlScreen& screen, const std::string& path);

}  // namespace orbitscope
