// Orbitscope: shows the building of the preview file named by the first argument in 3-D.
#include <chrono>
#include <string>
#include <string_view>

#include "preview/app/ErrorReporter.h"
#include "preview/app/FatalErrorHandler.h"
#include "preview/app/FrameLoop.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/ProgressWindow.h"
#include "preview/app/SdlPreviewSystem.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"

constexpr int kPreviewStepBase = 0;

// The fatal-error report shows its box by running this program again with kErrorBoxArgument.
constexpr const char* kThisProgram = "/proc/self/exe";

int main(int argc, char** argv) {
    using namespace orbitscope;
    if (argc == 3 && argv[1] == kErrorBoxArgument) {
        ShowErrorBox(argv[2]);
        return 0;
    }
    const auto started = std::chrono::steady_clock::now();
    SdlErrorReporter reporter;
    PREVIEW_STEP();
    InstallFatalErrorHandler(kThisProgram);

    // The engine goes before the screen it draws into.
    SdlScreen screen;
    Engine3D engine;
    SdlPreviewSystem system(engine, screen);
    if (!StartUpPreview(system, reporter))
        return 0;

    // The building is read and built behind a progress screen, so that the window answers
    // from the moment it appears, however large the building.
    PREVIEW_STEP();
    if (!BuildSceneInWindow(engine, screen, argc > 1 ? argv[1] : "")) {
        engine.LogLine("scene build stopped " + MillisecondsSince(started, std::chrono::steady_clock::now()) +
                       " ms after start by a close request or Escape");
        return 0;
    }
    engine.LogLine("scene built " + MillisecondsSince(started, std::chrono::steady_clock::now()) + " ms after start");
    PREVIEW_STEP();
    RunFrameLoop(engine, screen, started);
    return 0;
}
