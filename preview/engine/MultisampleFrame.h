#pragma once

#include <string_view>

#include "preview/engine/GlObjects.h"

namespace orbitscope {

// Whether the OpenGL renderer (GL_RENDERER) rasterises on the processor: Mesa's llvmpipe,
// softpipe and swrast, OpenSWR, and the software fallbacks of other systems.
bool IsSoftwareRenderer(std::string_view renderer);

// A frame of its own with samples per pixel, drawn into and then resolved onto the screen.
class MultisampleFrame {
public:
    // Needs a current context; empty (Valid false) when the driver cannot make it.
    static MultisampleFrame Create(int width, int height, int samples);
    bool Valid() const { return framebuffer_.Get() != 0; }
    void BindForDrawing() const;
    // The resolved picture onto the screen's frame, which is bound for drawing afterwards.
    void ResolveToScreen() const;

private:
    GlFramebuffer framebuffer_;
    GlRenderbuffer colour_;
    GlRenderbuffer depth_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orbitscope
