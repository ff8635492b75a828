// Orbitscope: shows the building of the preview file named by the first argument in 3-D.
#include <string>
#include <string_view>

#include "preview/app/ErrorReporter.h"
#include "preview/app/FatalErrorHandler.h"
#include "preview/app/FrameLoop.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/SdlPreviewSystem.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/GroundImage.h"
#include "preview/scene/PreviewBuilding.h"
#include "preview/scene/PreviewScene.h"

constexpr int kPreviewStepBase = 0;

// The fatal-error report shows its box by running this program again with kErrorBoxArgument.
constexpr const char* kThisProgram = "/proc/self/exe";

int main(int argc, char** argv) {
    using namespace orbitscope;
    if (argc == 3 && argv[1] == kErrorBoxArgument) {
        ShowErrorBox(argv[2]);
        return 0;
    }
    SdlErrorReporter reporter;
    PREVIEW_STEP();
    InstallFatalErrorHandler(kThisProgram);
    PREVIEW_STEP();
    PreviewBuilding building = ReadPreviewFile(argc > 1 ? argv[1] : "");

    // The engine goes before the screen it draws into.
    SdlScreen screen;
    Engine3D engine;
    SdlPreviewSystem system(engine, screen);
    if (!StartUpPreview(system, reporter))
        return 0;

    PREVIEW_STEP();
    CreatePreviewCamera(engine);
    PREVIEW_STEP();
    CreateLightAndGround(engine, building, GroundImagePng());
    PREVIEW_STEP();
    AimPreviewCamera(engine);
    PREVIEW_STEP();
    BuildBlocks(engine, building);
    PREVIEW_STEP();
    RunFrameLoop(engine, screen);
    return 0;
}
