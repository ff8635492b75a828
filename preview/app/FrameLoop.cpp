#include "preview/app/FrameLoop.h"

#include <chrono>
#include <string>

#include "preview/PreviewConfig.h"
#include "preview/app/Controls.h"
#include "preview/app/RenderModeCounter.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 3000;

std::string MillisecondsSince(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
}

void RunFrameLoop(Engine3D& engine, SdlScreen& screen, std::optional<std::chrono::steady_clock::time_point> started) {
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
        const auto shown = std::chrono::steady_clock::now();
        times.Add(std::chrono::duration<double, std::milli>(shown - start).count());
        if (started && times.Count() == 1)
            engine.LogLine("first frame shown " + MillisecondsSince(*started, shown) + " ms after start");
        end = escape || quit;
    }
    engine.LogFrameFigures(times);
}

}  // namespace orbitscope
