#include "preview/app/ErrorReporter.h"

#include <cstdio>

#include <SDL.h>

namespace orbitscope {

void SdlErrorReporter::ShowError(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", text.c_str());
    // The preview holds the pointer for mouse-look; the box needs it back to be clicked.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        SDL_SetRelativeMouseMode(SDL_FALSE);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text.c_str(), nullptr) != 0)
        std::fprintf(stderr, "(no message box: %s)\n", SDL_GetError());
}

}  // namespace orbitscope
