#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

namespace hv {

// A few worker threads that run the jobs handed to them, oldest first. No Qt;
// the read-ahead, the folder scan and the documents' pictures each own one.
//
// - Bounds: at most `maxThreads` jobs run at once, one per thread. A thread is
//   made when a job is queued and every thread there is busy, and ends after
//   `idleLife` without work.
// - Detached: destruction returns at once. Jobs not started are dropped (their
//   function objects destroyed, on the destroying thread); jobs running
//   finish on their own. The threads share only the pool's inner state with
//   it, kept alive by a shared_ptr, so neither destruction nor the end of the
//   process ever waits for a running job. A job therefore owns what it uses
//   (a shared_ptr to its owner's state), never a plain pointer to its owner.
// - Results: the pool hands nothing back. A job leaves its result in its
//   owner's state under the owner's lock, and the owner's thread collects it
//   there. That is the one way results reach the window's thread: when it
//   needs one now it waits for it in short slices (the read-ahead, the folder
//   scan); when it does not wait, the owner posts it a call that collects the
//   finished results (the documents' pictures).
// - A job that throws ends there; the thread goes on with the next.
//
// Jobs are queued from the owner's thread, or from a job of the same pool;
// the pool is destroyed by its owner, or by a job that held the last share
// of the owner's state.
class WorkerPool {
public:
    using Job = std::function<void()>;
    static constexpr std::chrono::milliseconds defaultIdleLife{5000};

    explicit WorkerPool(std::size_t maxThreads, std::chrono::milliseconds idleLife = defaultIdleLife);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Queues `job` behind the jobs already queued. False, with the job not
    // queued, when the pool has no thread and none can be made: the caller
    // then runs the work itself or does without.
    bool submit(Job job);

    std::size_t maxThreads() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace hv
