#include "preview/app/ErrorReporter.h"

#include <cstdio>

#include <SDL.h>

namespace orbitscope {

void SdlErrorReporter::ShowError(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text.c_str(), nullptr);
}

}  // namespace orbitscope
