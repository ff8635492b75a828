#include "preview/app/ErrorReporter.h"

#include <cstdio>
#include <cstdlib>

#include <SDL.h>

namespace orbitscope {

void SdlErrorReporter::ShowError(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", text.c_str());
    // The preview holds the pointer for mouse-look; the box needs it back to be clicked.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        SDL_SetRelativeMouseMode(SDL_FALSE);
    ShowErrorBox(text.c_str());
}

namespace {

// Without a display SDL hands the box to zenity, which cannot open one either, yet the box is
// then reported as shown; so the report would say nothing of the missing box.
bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return true;
    return false;
}

}  // namespace

bool ShowErrorBox(const char* text) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "(no message box: no display)\n");
        return false;
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr) == 0)
        return true;
    std::fprintf(stderr, "(no message box: %s)\n", SDL_GetError());
    return false;
}

}  // namespace orbitscope
