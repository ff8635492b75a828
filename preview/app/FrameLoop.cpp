#include "preview/app/FrameLoop.h"

#include "preview/PreviewConfig.h"
#include "preview/app/Controls.h"
#include "preview/app/RenderModeCounter.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 3000;

void RunFrameLoop(Engine3D& engine, SdlScreen& screen) {
    RenderModeCounter renderModes;
    bool quit = false;
    for (bool end = false; !end;) {
        PREVIEW_STEP();
        quit = screen.TakeWindowEvents(config::kEventWaitMilliseconds) || quit;
        PREVIEW_STEP();
        const KeySnapshot keys = screen.TakeKeyboardSnapshot();
        PREVIEW_STEP();
        const MouseSnapshot mouse = screen.TakeMouseSnapshot();
        const bool escape = ApplyFrameInput(engine, renderModes, keys, mouse);
        PREVIEW_STEP();
        engine.RenderWorld();
        PREVIEW_STEP();
        screen.Flip();
        end = escape || quit;
    }
}

}  // namespace orbitscope
