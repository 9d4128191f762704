#include "WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace hv {

// What the threads share with the pool; it lives as long as the last of
// them. Every member but the constants is guarded by `mutex`.
struct WorkerPool::State {
    State(std::size_t max, std::chrono::milliseconds life)
        : maxThreads(std::max<std::size_t>(max, 1)),
          idleLife(life) {}

    const std::size_t maxThreads;
    const std::chrono::milliseconds idleLife;

    std::mutex mutex;
    std::condition_variable wakeUp; // idle threads wait here
    std::deque<Job> queued;
    std::size_t threads = 0;
    std::size_t idle = 0;
    bool closing = false;

    static void serve(std::shared_ptr<State> self);
};

void WorkerPool::State::serve(std::shared_ptr<State> self) {
    State& s = *self;
    std::unique_lock lock(s.mutex);
    for (;;) {
        if (s.closing) break;
        if (s.queued.empty()) {
            ++s.idle;
            const bool woken = s.wakeUp.wait_for(lock, s.idleLife, [&] { return s.closing || !s.queued.empty(); });
            --s.idle;
            if (!woken) break;
            continue;
        }
        Job job = std::move(s.queued.front());
        s.queued.pop_front();
        lock.unlock();
        try {
            job();
        } catch (...) {
        }
        job = nullptr; // what it holds goes before the next job starts
        lock.lock();
    }
    --s.threads;
}

WorkerPool::WorkerPool(std::size_t maxThreads, std::chrono::milliseconds idleLife)
    : state_(std::make_shared<State>(maxThreads, idleLife)) {}

WorkerPool::~WorkerPool() {
    std::deque<Job> dropped;
    {
        std::lock_guard lock(state_->mutex);
        state_->closing = true;
        dropped.swap(state_->queued);
    }
    state_->wakeUp.notify_all();
    // `dropped` goes here, outside the lock: a job's captures may own the
    // state of whoever destroys this pool.
}

bool WorkerPool::submit(Job job) {
    State& s = *state_;
    std::lock_guard lock(s.mutex);
    if (s.idle <= s.queued.size() && s.threads < s.maxThreads) {
        try {
            std::thread(&State::serve, state_).detach();
            ++s.threads;
        } catch (const std::system_error&) {
            // The threads there are take the job, if there are any.
        }
    }
    if (s.threads == 0) return false;
    s.queued.push_back(std::move(job));
    s.wakeUp.notify_one();
    return true;
}

std::size_t WorkerPool::maxThreads() const {
    return state_->maxThreads;
}

} // namespace hv
