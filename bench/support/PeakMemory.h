#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace stackmason::bench {

// The most memory the process has held resident so far, in megabytes.
inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The memory the process holds resident now, in megabytes.
inline double ResidentMegabytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    unsigned long pages = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20) : 0;
}

}  // namespace stackmason::bench
