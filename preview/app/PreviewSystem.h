#pragma once

#include <string>

#include "preview/app/ErrorReporter.h"

namespace orbitscope {

// The services start-up initialises, in the order it calls them. Each Init and Open gives
// false when it fails.
class PreviewSystem {
public:
    virtual ~PreviewSystem() = default;
    virtual bool InitEngine3D(int flags) = 0;
    virtual bool InitSprite() = 0;
    virtual bool InitKeyboard() = 0;
    virtual bool InitMouse() = 0;
    virtual void Add3DArchive(const std::string& path, int kind) = 0;
    virtual void AntialiasingMode(int mode) = 0;
    virtual bool OpenWindow(int width, int height, const std::string& title) = 0;
    virtual bool OpenWindowedScreen(int x, int y, int width, int height, int flipMode) = 0;
    virtual void UsePngDecoder() = 0;
};

// Initialises engine, sprites, keyboard, mouse, window and screen in that order. The first
// failure is shown through reporter with its own message and nothing after it runs; then
// the result is false.
bool StartUpPreview(PreviewSystem& system, ErrorReporter& reporter);

}  // namespace orbitscope
