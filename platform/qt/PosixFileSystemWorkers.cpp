#include "PosixFileSystemWorkers.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace hv {

namespace {

// One run's jobs, shared by the run and the pool jobs serving it. Guarded by
// `mutex`, except `job`, which is set before any pool job is queued and
// cleared only when no job of the run is running and none can start any more.
struct RunState {
    RunState(std::size_t jobCount, QueryJob queryJob)
        : count(jobCount),
          job(std::move(queryJob)),
          finished(jobCount, false) {}

    bool hasJobToStart() const { return !stopping && next < count; }

    // Starts the next job and runs it here; `lock` holds `mutex`.
    void runNext(std::unique_lock<std::mutex>& lock) {
        const std::size_t index = next++;
        ++running;
        lock.unlock();
        runQueryJob(job, index);
        lock.lock();
        finished[index] = true;
        --running;
        changed.notify_all();
    }

    // What each pool job serving the run does.
    static void serve(const std::shared_ptr<RunState>& self) {
        std::unique_lock lock(self->mutex);
        while (self->hasJobToStart()) self->runNext(lock);
    }

    const std::size_t count;
    QueryJob job;
    std::mutex mutex;
    std::condition_variable changed; // a job finished
    std::vector<bool> finished;
    std::size_t next = 0; // the first job not started
    std::size_t running = 0;
    std::size_t servers = 0; // pool jobs queued for the run
    bool stopping = false;
};
using RunPtr = std::shared_ptr<RunState>;

class WorkerQueryRun final : public QueryRun {
public:
    explicit WorkerQueryRun(RunPtr run) : run_(std::move(run)) {}

    ~WorkerQueryRun() override {
        std::unique_lock lock(run_->mutex);
        run_->stopping = true;
        run_->changed.wait(lock, [&] { return run_->running == 0; });
        run_->job = nullptr;
    }
    WorkerQueryRun(const WorkerQueryRun&) = delete;
    WorkerQueryRun& operator=(const WorkerQueryRun&) = delete;

    bool waitFor(std::size_t index, std::chrono::milliseconds timeout) override {
        RunState& run = *run_;
        std::unique_lock lock(run.mutex);
        if (index >= run.count) return true;
        // Without any pool job, nobody else would start the job.
        while (!run.finished[index] && run.servers == 0 && run.next <= index) run.runNext(lock);
        return run.changed.wait_for(lock, timeout, [&] { return bool(run.finished[index]); });
    }

private:
    RunPtr run_;
};

} // namespace

std::unique_ptr<QueryRun> QueryWorkers::start(std::size_t count, QueryJob job) {
    auto run = std::make_shared<RunState>(count, std::move(job));
    const std::size_t servers = std::min(count, pool_.maxThreads());
    std::size_t queued = 0;
    while (queued < servers && pool_.submit([run] { RunState::serve(run); })) ++queued;
    {
        const std::lock_guard lock(run->mutex);
        run->servers = queued;
    }
    return std::make_unique<WorkerQueryRun>(std::move(run));
}

} // namespace hv
