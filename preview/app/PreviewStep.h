#pragma once

#include <csignal>

namespace orbitscope {

// The source line of the program step that is running, for the fatal-error report. A plain
// signal-safe integer, since the report reads it from a signal handler; one per thread, since
// the scene is built on a thread of its own while the window shows its progress, and the
// handler runs on the thread that failed.
extern thread_local volatile std::sig_atomic_t PreviewStep;

}  // namespace orbitscope

// Marks the start of a step of start-up, scene building or the frame loop. The number is
// the file's step base plus the source line, so that a report names file and line at once:
// every file that marks steps defines its own kPreviewStepBase, a multiple of 1000 (no file
// is that long). 0 is the program's main file, 1000 start-up, 2000 the controls, 3000 the
// frame loop and 4000 the scene.
#define PREVIEW_STEP() (::orbitscope::PreviewStep = kPreviewStepBase + __LINE__)
