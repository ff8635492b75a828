#include "preview/app/ProgressWindow.h"

#include <atomic>
#include <exception>
#include <string>
#include <thread>

#include <epoxy/gl.h>

#include "preview/PreviewConfig.h"
#include "preview/app/PreviewStep.h"
#include "preview/app/ProgressPicture.h"
#include "preview/app/SceneBuild.h"
#include "preview/engine/GlObjects.h"

namespace orbitscope {

constexpr int kPreviewStepBase = 6000;

namespace {

// About 30 pictures a second: the wait for window events paces them, so a close request is
// taken at once and the building threads keep the cores.
constexpr int kProgressWaitMilliseconds = 33;

// Shows a picture of the screen's size by copying it into the window's frame: no shader, and
// nothing of the engine's drawing state is touched.
class ProgressScreen {
public:
    ProgressScreen(int width, int height) : width_(width), height_(height), frame_(NewGlFramebuffer()) {}

    // False when the screen shows that already: a picture costs the building threads a few
    // milliseconds to draw, and mostly nothing has moved since the last one.
    bool Show(const ProgressView& view) {
        const auto step = static_cast<int>(view.fraction * kFractionSteps);
        if (shown_ && view.text == shownText_ && step == shownStep_)
            return false;
        shown_ = true;
        shownText_ = view.text;
        shownStep_ = step;
        const stackmason::Image picture = DrawProgressPicture(width_, height_, view);
        texture_ = UploadTexture(picture);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frame_.Get());
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_.Get(), 0);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        // The picture's first row is its top; the window's is its bottom.
        glBlitFramebuffer(0, 0, width_, height_, 0, height_, width_, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return true;
    }

private:
    // Finer than the bar's pixels.
    static constexpr int kFractionSteps = 2000;
    bool shown_ = false;
    std::string shownText_;
    int shownStep_ = 0;
    int width_;
    int height_;
    GlFramebuffer frame_;
    GlTexture texture_;
};

bool StopAsked(SdlScreen& screen) {
    const bool closing = screen.TakeWindowEvents(kProgressWaitMilliseconds);
    // The mouse moved while waiting does not turn the first frame's camera away from home.
    screen.TakeMouseSnapshot();
    return closing || screen.TakeKeyboardSnapshot().Held(PreviewKey::Escape);
}

}  // namespace

bool BuildSceneInWindow(Engine3D& engine, SdlScreen& screen, const std::string& path) {
    PREVIEW_STEP();
    BuildProgress progress;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread builder([&] {
        try {
            BuildScene(engine, path, &progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true, std::memory_order_release);
    });
    PREVIEW_STEP();
    ProgressScreen shown(config::kScreenWidth, config::kScreenHeight);
    bool stopped = false;
    while (!finished.load(std::memory_order_acquire)) {
        if (shown.Show(ProgressViewOf(progress.Now())))
            screen.Flip();
        if (StopAsked(screen)) {
            progress.Cancel();
            stopped = true;
            break;
        }
    }
    PREVIEW_STEP();
    builder.join();
    if (failure)
        std::rethrow_exception(failure);
    if (stopped)
        return false;
    PREVIEW_STEP();
    shown.Show(ProgressViewOf({BuildStage::Uploading, 0, 0}));
    screen.Flip();
    return true;
}

}  // namespace orbitscope
