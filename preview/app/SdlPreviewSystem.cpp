#include "preview/app/SdlPreviewSystem.h"

#include "preview/PreviewConfig.h"

namespace orbitscope {

bool SdlPreviewSystem::InitEngine3D(int flags) {
    return engine_.InitEngine3D(flags, std::string(config::kEngineLogFileName)) != 0;
}

bool SdlPreviewSystem::OpenWindow(int width, int height, const std::string& title) {
    // The engine multisamples into a frame of its own where that is affordable; the window
    // itself has one sample per pixel.
    return screen_.OpenWindow(width, height, title, 0);
}

bool SdlPreviewSystem::OpenWindowedScreen(int x, int y, int width, int height, int flipMode) {
    // The screen always fills the window from its top-left corner.
    (void)x;
    (void)y;
    return screen_.OpenScreen(flipMode) && engine_.AttachScreen(width, height);
}

}  // namespace orbitscope
