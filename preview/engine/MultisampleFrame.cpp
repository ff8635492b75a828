#include "preview/engine/MultisampleFrame.h"

#include <array>

namespace orbitscope {

bool IsSoftwareRenderer(std::string_view renderer) {
    constexpr std::array<std::string_view, 7> kSoftware{"llvmpipe", "softpipe", "swrast", "SWR",
                                                        "Software Rasterizer", "GDI Generic", "Basic Render"};
    for (std::string_view name : kSoftware)
        if (renderer.find(name) != std::string_view::npos)
            return true;
    return false;
}

namespace {

GlRenderbuffer MultisampledStorage(GLenum format, int width, int height, int samples) {
    GlRenderbuffer storage = NewGlRenderbuffer();
    glBindRenderbuffer(GL_RENDERBUFFER, storage.Get());
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    return storage;
}

}  // namespace

MultisampleFrame MultisampleFrame::Create(int width, int height, int samples) {
    MultisampleFrame frame;
    frame.width_ = width;
    frame.height_ = height;
    frame.framebuffer_ = NewGlFramebuffer();
    frame.colour_ = MultisampledStorage(GL_RGBA8, width, height, samples);
    frame.depth_ = MultisampledStorage(GL_DEPTH_COMPONENT24, width, height, samples);
    glBindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer_.Get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frame.colour_.Get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, frame.depth_.Get());
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete ? std::move(frame) : MultisampleFrame();
}

void MultisampleFrame::BindForDrawing() const { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.Get()); }

void MultisampleFrame::ResolveToScreen() const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_.Get());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);  // the blit would be clipped by it
    glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace orbitscope
