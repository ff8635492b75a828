#pragma once

#include <sys/resource.h>

namespace stackmason::bench {

// The most memory the process has held resident so far, in megabytes.
inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace stackmason::bench
