#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orbitscope {

// A fixed set of threads that run posted jobs in the order they were posted (PostFirst jumps
// the queue). Jobs must not
// throw; the pool only spreads work, it has no error channel.
class WorkerPool {
public:
    // threads 0 means one per core.
    explicit WorkerPool(int threads = 0);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int ThreadCount() const { return static_cast<int>(threads_.size()); }
    void Post(std::function<void()> job);
    // Runs before the jobs already waiting: for work that another thread waits on.
    void PostFirst(std::function<void()> job);
    // Returns once every job posted so far has run.
    void Wait();

private:
    void Serve();

    std::mutex mutex_;
    std::condition_variable jobPosted_;
    std::condition_variable allDone_;
    std::deque<std::function<void()>> jobs_;
    std::size_t running_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace orbitscope
