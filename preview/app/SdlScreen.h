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

    // SDL's video and event system, on a driver that shows the window on a display: the
    // offscreen and dummy drivers, SDL's fallbacks without one, count as a failure.
    bool InitVideo();
    bool InitKeyboard();
    bool InitMouse();
    // A centred window with a title bar and a close box; samples > 0 asks for multisampling
    // and falls back to none when the driver has no such screen.
    bool OpenWindow(int width, int height, const std::string& title, int samples);
    // The OpenGL context in the window. Flip mode 1 shows each frame at the display's refresh.
    bool OpenScreen(int flipMode);

    // Step 1 of a frame: every pending event off the queue, waiting at most waitMilliseconds
    // when none is pending. True when one of them asks the window to close.
    bool TakeWindowEvents(int waitMilliseconds);
    KeySnapshot TakeKeyboardSnapshot();
    MouseSnapshot TakeMouseSnapshot();
    void Flip();

    SDL_Window* Window() const { return window_; }

private:
    void NoteKeyRelease(const SDL_Event& event);

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;      // owned; SDL hands out raw handles
    SDL_GLContext context_ = nullptr;   // owned
    std::array<bool, static_cast<std::size_t>(PreviewKey::Count)> releasedSinceSnapshot_{};
};

}  // namespace orbitscope
