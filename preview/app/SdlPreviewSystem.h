#pragma once

#include "preview/app/PreviewSystem.h"
#include "preview/app/SdlScreen.h"
#include "preview/engine/Engine3D.h"

namespace orbitscope {

// Start-up's services for real: Engine3D for the engine, SDL for the rest.
class SdlPreviewSystem final : public PreviewSystem {
public:
    SdlPreviewSystem(Engine3D& engine, SdlScreen& screen) : engine_(engine), screen_(screen) {}

    bool InitEngine3D(int flags) override;
    bool InitSprite() override { return screen_.InitVideo(); }
    bool InitKeyboard() override { return screen_.InitKeyboard(); }
    bool InitMouse() override { return screen_.InitMouse(); }
    void Add3DArchive(const std::string& path, int kind) override { engine_.Add3DArchive(path, kind); }
    void AntialiasingMode(int mode) override { engine_.AntialiasingMode(mode); }
    bool OpenWindow(int width, int height, const std::string& title) override;
    bool OpenWindowedScreen(int x, int y, int width, int height, int flipMode) override;
    // Decoding PNG pictures is always at hand in the shared core.
    void UsePngDecoder() override {}

private:
    Engine3D& engine_;
    SdlScreen& screen_;
};

}  // namespace orbitscope
