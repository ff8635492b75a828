#pragma once

#include <csignal>

namespace orbitscope {

// The source line of the program step that is running, for the fatal-error report. A plain
// signal-safe integer, since the report reads it from a signal handler.
extern volatile std::sig_atomic_t PreviewStep;

}  // namespace orbitscope

// Marks the start of a step of start-up, scene building or the frame loop.
#define PREVIEW_STEP() (::orbitscope::PreviewStep = __LINE__)
