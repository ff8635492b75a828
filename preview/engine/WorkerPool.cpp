#include "preview/engine/WorkerPool.h"

#include <algorithm>

namespace orbitscope {

WorkerPool::WorkerPool(int threads) {
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads_.reserve(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this] { Serve(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    jobPosted_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkerPool::Post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    jobPosted_.notify_one();
}

void WorkerPool::PostFirst(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_front(std::move(job));
    }
    jobPosted_.notify_one();
}

void WorkerPool::Wait() {
    std::unique_lock lock(mutex_);
    allDone_.wait(lock, [this] { return jobs_.empty() && running_ == 0; });
}

void WorkerPool::Serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        jobPosted_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;  // stopping, with nothing left to run
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        ++running_;
        lock.unlock();
        job();
        job = nullptr;  // what the job holds goes before the pool counts it done
        lock.lock();
        --running_;
        if (jobs_.empty() && running_ == 0)
            allDone_.notify_all();
    }
}

}  // namespace orbitscope
