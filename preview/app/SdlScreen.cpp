#include "preview/app/SdlScreen.h"

#include <cstring>
#include <optional>
#include <span>

namespace orbitscope {
namespace {

constexpr std::array<SDL_Scancode, static_cast<std::size_t>(PreviewKey::Count)> kScancodes{
    SDL_SCANCODE_A, SDL_SCANCODE_D, SDL_SCANCODE_W, SDL_SCANCODE_S, SDL_SCANCODE_F1, SDL_SCANCODE_F2, SDL_SCANCODE_ESCAPE};

std::optional<std::size_t> KeyOf(SDL_Scancode scancode) {
    for (std::size_t i = 0; i < kScancodes.size(); ++i)
        if (kScancodes[i] == scancode)
            return i;
    return std::nullopt;
}

// SDL falls back to drivers that show nothing when there is no display; the preview would
// then draw unseen until it is killed.
bool ShowsOnAScreen(const char* driver) {
    return driver != nullptr && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

bool IsCloseRequest(const SDL_Event& event) {
    return event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
}

void AskForContext(int samples) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
}

}  // namespace

SdlScreen::~SdlScreen() {
    if (context_)
        SDL_GL_DeleteContext(context_);
    if (window_)
        SDL_DestroyWindow(window_);
    if (videoStarted_)
        SDL_Quit();
}

bool SdlScreen::InitVideo() {
    videoStarted_ = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (videoStarted_ && !ShowsOnAScreen(SDL_GetCurrentVideoDriver())) {
        SDL_Quit();
        videoStarted_ = false;
    }
    return videoStarted_;
}

bool SdlScreen::InitKeyboard() { return videoStarted_ && SDL_GetKeyboardState(nullptr) != nullptr; }

bool SdlScreen::InitMouse() { return videoStarted_ && SDL_WasInit(SDL_INIT_EVENTS) != 0; }

bool SdlScreen::OpenWindow(int width, int height, const std::string& title, int samples) {
    if (!videoStarted_)
        return false;
    constexpr Uint32 kFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    AskForContext(samples);
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, kFlags);
    if (!window_ && samples > 0) {
        AskForContext(0);
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, kFlags);
    }
    return window_ != nullptr;
}

bool SdlScreen::OpenScreen(int flipMode) {
    if (!window_)
        return false;
    context_ = SDL_GL_CreateContext(window_);
    if (!context_)
        return false;
    SDL_GL_MakeCurrent(window_, context_);
    SDL_GL_SetSwapInterval(flipMode == 1 ? 1 : 0);
    // Relative mode hides the pointer and holds it in the window while it has the focus.
    SDL_SetRelativeMouseMode(SDL_TRUE);
    return true;
}

bool SdlScreen::TakeWindowEvents(int waitMilliseconds) {
    SDL_PumpEvents();
    if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        SDL_Delay(static_cast<Uint32>(waitMilliseconds));
        SDL_PumpEvents();
    }
    // Everything queued goes, not one event a frame: events that no step takes would pile up
    // until SDL's queue is full and drops new ones, the close request among them. Key releases
    // are kept for the keyboard snapshot.
    bool closeRequested = false;
    std::array<SDL_Event, 64> batch;
    for (int taken; (taken = SDL_PeepEvents(batch.data(), static_cast<int>(batch.size()), SDL_GETEVENT, SDL_FIRSTEVENT,
                                            SDL_LASTEVENT)) > 0;)
        for (const SDL_Event& event : std::span(batch.data(), static_cast<std::size_t>(taken))) {
            closeRequested = IsCloseRequest(event) || closeRequested;
            NoteKeyRelease(event);
        }
    return closeRequested;
}

void SdlScreen::NoteKeyRelease(const SDL_Event& event) {
    if (event.type == SDL_KEYUP)
        if (const auto key = KeyOf(event.key.keysym.scancode))
            releasedSinceSnapshot_[*key] = true;
}

KeySnapshot SdlScreen::TakeKeyboardSnapshot() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYMAPCHANGED) > 0)
        NoteKeyRelease(event);
    KeySnapshot snapshot;
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    for (std::size_t i = 0; i < kScancodes.size(); ++i)
        snapshot.held[i] = state[kScancodes[i]] != 0;
    snapshot.released = releasedSinceSnapshot_;
    releasedSinceSnapshot_ = {};
    return snapshot;
}

MouseSnapshot SdlScreen::TakeMouseSnapshot() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_MOUSEMOTION, SDL_MOUSEWHEEL);
    MouseSnapshot snapshot;
    SDL_GetRelativeMouseState(&snapshot.dx, &snapshot.dy);
    return snapshot;
}

void SdlScreen::Flip() { SDL_GL_SwapWindow(window_); }

}  // namespace orbitscope
