#pragma once

#include <string>

#include <SDL.h>

#include "preview/app/Controls.h"

namespace orbitscope {

// The window, its OpenGL 3.3 core screen and the input devices, through SDL. Ends SDL when
// destroyed, so it must outlive everything that draws into the screen.
class SdlScreen {
public:
    SdlScreen() = default;
    ~SdlScreen();
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

    // SDL's video and event system.
    bool InitVideo();
    bool InitKeyboard();
    bool InitMouse();
    // A centred window with a title bar and a close box; samples > 0 asks for multisampling
    // and falls back to none when the driver has no such screen.
    bool OpenWindow(int width, int height, const std::string& title, int samples);
    // The OpenGL context in the window. Flip mode 1 shows each frame at the display's refresh.
    bool OpenScreen(int flipMode);

    // Step 1 of a frame: at most one pending window event, waiting at most waitMilliseconds.
    // True when it asks the window to close.
    bool TakeWindowEvent(int waitMilliseconds);
    KeySnapshot TakeKeyboardSnapshot();
    MouseSnapshot TakeMouseSnapshot();
    void Flip();

    SDL_Window* Window() const { return window_; }

private:
    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;      // owned; SDL hands out raw handles
    SDL_GLContext context_ = nullptr;   // owned
    std::array<bool, static_cast<std::size_t>(PreviewKey::Count)> releasedSinceSnapshot_{};
};

}  // namespace orbitscope
