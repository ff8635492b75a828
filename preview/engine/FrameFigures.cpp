#include "preview/engine/FrameFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace orbitscope {

double FrameTimes::MeanMilliseconds() const {
    if (times_.empty())
        return 0.0;
    return std::accumulate(times_.begin(), times_.end(), 0.0) / static_cast<double>(times_.size());
}

double FrameTimes::P95Milliseconds() const {
    if (times_.empty())
        return 0.0;
    std::vector<double> sorted = times_;
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(sorted.size())));
    const auto index = std::clamp<std::size_t>(rank, 1, sorted.size()) - 1;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(index), sorted.end());
    return sorted[index];
}

std::string FrameFiguresLine(const FrameTimes& times, const GeometryFigures& geometry) {
    char line[256];
    std::snprintf(line, sizeof line, "frames: %lld, mean ms: %.2f, p95 ms: %.2f, faces: %lld, quads: %lld, chunks: %lld",
                  static_cast<long long>(times.Count()), times.MeanMilliseconds(), times.P95Milliseconds(),
                  static_cast<long long>(geometry.faces), static_cast<long long>(geometry.quads),
                  static_cast<long long>(std::llround(geometry.chunksPerFrame)));
    return line;
}

}  // namespace orbitscope
