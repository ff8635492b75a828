#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orbitscope {

// The wall time of each pass of the frame loop, for the figures the engine's log ends with.
class FrameTimes {
public:
    void Add(double milliseconds) { times_.push_back(milliseconds); }
    std::int64_t Count() const { return static_cast<std::int64_t>(times_.size()); }
    // 0 without frames.
    double MeanMilliseconds() const;
    // The nearest-rank 95th percentile: no more than 5 % of the frames took longer.
    double P95Milliseconds() const;

private:
    std::vector<double> times_;
};

// What the static geometry holds and draws: faces before merging, merged quads and the
// chunks drawn in an average frame.
struct GeometryFigures {
    std::int64_t faces = 0;
    std::int64_t quads = 0;
    double chunksPerFrame = 0.0;
};

// "frames: N, mean ms: M, p95 ms: P, faces: F, quads: Q, chunks: C"
std::string FrameFiguresLine(const FrameTimes& times, const GeometryFigures& geometry);

}  // namespace orbitscope
