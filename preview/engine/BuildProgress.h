#pragma once

#include <atomic>
#include <cstdint>

namespace orbitscope {

// What the scene build is doing, in the order it does it.
enum class BuildStage : int { Starting, Reading, Pictures, Chunks, Uploading, Done };

// How far the scene build has come, shared between the threads that build and the window that
// shows it: the builders count, the window reads, and either side can ask the build to stop.
// Counts are only for showing: a reader may see a count of the stage before or after.
class BuildProgress {
public:
    struct Snapshot {
        BuildStage stage = BuildStage::Starting;
        std::int64_t done = 0;
        std::int64_t total = 0;
    };

    void Begin(BuildStage stage, std::int64_t total = 0) {
        done_.store(0, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
        stage_.store(static_cast<int>(stage), std::memory_order_relaxed);
    }
    void Advance(std::int64_t count = 1) { done_.fetch_add(count, std::memory_order_relaxed); }
    void SetDone(std::int64_t done) { done_.store(done, std::memory_order_relaxed); }
    // The total grows as the build finds out how much there is to do.
    void RaiseTotal(std::int64_t atLeast) {
        std::int64_t total = total_.load(std::memory_order_relaxed);
        while (total < atLeast && !total_.compare_exchange_weak(total, atLeast, std::memory_order_relaxed)) {
        }
    }
    Snapshot Now() const {
        return {static_cast<BuildStage>(stage_.load(std::memory_order_relaxed)), done_.load(std::memory_order_relaxed),
                total_.load(std::memory_order_relaxed)};
    }

    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

private:
    std::atomic<int> stage_{static_cast<int>(BuildStage::Starting)};
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::atomic<bool> cancelled_{false};
};

}  // namespace orbitscope
