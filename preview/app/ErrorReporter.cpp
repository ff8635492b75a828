#include "preview/app/ErrorReporter.h"

#include <cstdio>

#include <SDL.h>

namespace orbitscope {

void SdlErrorReporter::ShowError(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", text.c_str());
    // The preview holds the pointer for mouse-look; the box needs it back to be clicked.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        SDL_SetRelativeMouseMode(SDL_FALSE);
    ShowErrorBox(text.c_str());
}

bool ShowErrorBox(const char* text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr) == 0)
        return true;
    std::fprintf(stderr, "(no message box: %s)\n", SDL_GetError());
    return false;
}

}  // namespace orbitscope
