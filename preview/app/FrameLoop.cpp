#include "preview/app/FrameLoop.h"

#include <chrono>

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
    FrameTimes times;
    bool quit = false;
    for (bool end = false; !end;) {
        const auto start = std::chrono::steady_clock::now();
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
        times.Add(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        end = escape || quit;
    }
    engine.LogFrameFigures(times);
}

}  // namespace orbitscope
