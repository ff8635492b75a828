#include "preview/app/PreviewSystem.h"

#include "preview/PreviewConfig.h"
#include "preview/app/PreviewStep.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 1000;
namespace {

bool Fail(ErrorReporter& reporter, const char* message) {
    reporter.ShowError(message);
    return false;
}

}  // namespace

bool StartUpPreview(PreviewSystem& system, ErrorReporter& reporter) {
    PREVIEW_STEP();
    if (!system.InitEngine3D(config::kEngineLogFlag))
        return Fail(reporter, "InitEngine3D() failure! Please sent logfile!");
    PREVIEW_STEP();
    if (!system.InitSprite())
        return Fail(reporter, "InitSprite() failure!");
    PREVIEW_STEP();
    if (!system.InitKeyboard())
        return Fail(reporter, "InitKeyboard() failure!");
    PREVIEW_STEP();
    if (!system.InitMouse())
        return Fail(reporter, "InitMouse() failure!");
    PREVIEW_STEP();
    system.Add3DArchive(std::string(config::kArchivePath), config::kArchiveKindFileSystem);
    PREVIEW_STEP();
    system.AntialiasingMode(config::kAntialiasingMode);
    PREVIEW_STEP();
    if (!system.OpenWindow(config::kScreenWidth, config::kScreenHeight, std::string(config::kWindowTitle)))
        return Fail(reporter, "Could not Open Window!");
    PREVIEW_STEP();
    if (!system.OpenWindowedScreen(0, 0, config::kScreenWidth, config::kScreenHeight, config::kFlipMode))
        return Fail(reporter, "Could not Open WindowedScreen!");
    PREVIEW_STEP();
    system.UsePngDecoder();
    return true;
}

}  // namespace orbitscope
