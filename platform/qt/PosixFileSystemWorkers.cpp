#include "PosixFileSystemWorkers.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace hv {

namespace {

constexpr std::chrono::seconds kIdleLife{5};

// One run's jobs. Guarded by the pool's mutex, except `job`, which is set
// before the run is queued and cleared only when no job of it is running and
// none can start any more.
struct RunState {
    RunState(std::size_t jobCount, QueryJob queryJob)
        : count(jobCount),
          job(std::move(queryJob)),
          finished(jobCount, false) {}

    bool hasJobToStart() const { return !stopping && next < count; }

    const std::size_t count;
    QueryJob job;
    std::condition_variable changed; // a job of this run finished
    std::vector<bool> finished;
    std::size_t next = 0; // the first job not started
    std::size_t running = 0;
    bool stopping = false;
};
using RunPtr = std::shared_ptr<RunState>;

} // namespace

struct QueryWorkers::Pool {
    explicit Pool(std::size_t max) : maxThreads(std::max<std::size_t>(max, 1)) {}

    const std::size_t maxThreads;
    std::mutex mutex;
    std::condition_variable wakeUp; // idle workers wait here
    std::deque<RunPtr> runs;        // runs that may have jobs to start
    std::size_t threads = 0;
    std::size_t idle = 0;
    bool closing = false;

    // Starts the next job of `run` and runs it here; `lock` holds `mutex`.
    static void runNext(RunState& run, std::unique_lock<std::mutex>& lock) {
        const std::size_t index = run.next++;
        ++run.running;
        lock.unlock();
        runQueryJob(run.job, index);
        lock.lock();
        run.finished[index] = true;
        --run.running;
        run.changed.notify_all();
    }

    // The first queued run with a job to start; drops the others on the way.
    RunPtr nextRun() {
        while (!runs.empty() && !runs.front()->hasJobToStart()) runs.pop_front();
        return runs.empty() ? nullptr : runs.front();
    }

    static void serve(const std::shared_ptr<Pool>& self) {
        Pool& pool = *self;
        std::unique_lock lock(pool.mutex);
        for (;;) {
            if (const RunPtr run = pool.nextRun()) {
                runNext(*run, lock);
                continue;
            }
            if (pool.closing) break;
            ++pool.idle;
            const bool woken = pool.wakeUp.wait_for(lock, kIdleLife, [&] { return pool.closing || pool.nextRun(); });
            --pool.idle;
            if (!woken) break;
        }
        --pool.threads;
    }

    // Enough workers for `jobs` more jobs, within the limit: the idle ones,
    // and new ones for the rest.
    void hire(const std::shared_ptr<Pool>& self, std::size_t jobs) {
        std::size_t wanted = jobs > idle ? std::min(jobs - idle, maxThreads - threads) : 0;
        for (; wanted > 0; --wanted) {
            try {
                std::thread(&Pool::serve, self).detach();
                ++threads;
            } catch (const std::system_error&) {
                return; // the workers there are, or waitFor(), do the jobs
            }
        }
    }
};

namespace {

class WorkerQueryRun final : public QueryRun {
public:
    WorkerQueryRun(std::shared_ptr<QueryWorkers::Pool> pool, RunPtr run)
        : pool_(std::move(pool)),
          run_(std::move(run)) {}

    ~WorkerQueryRun() override {
        std::unique_lock lock(pool_->mutex);
        run_->stopping = true;
        run_->changed.wait(lock, [&] { return run_->running == 0; });
        run_->job = nullptr;
    }
    WorkerQueryRun(const WorkerQueryRun&) = delete;
    WorkerQueryRun& operator=(const WorkerQueryRun&) = delete;

    bool waitFor(std::size_t index, std::chrono::milliseconds timeout) override {
        RunState& run = *run_;
        std::unique_lock lock(pool_->mutex);
        if (index >= run.count) return true;
        // Without any worker, nobody else would start the job.
        while (!run.finished[index] && pool_->threads == 0 && run.next <= index) QueryWorkers::Pool::runNext(run, lock);
        return run.changed.wait_for(lock, timeout, [&] { return bool(run.finished[index]); });
    }

private:
    std::shared_ptr<QueryWorkers::Pool> pool_;
    RunPtr run_;
};

} // namespace

QueryWorkers::QueryWorkers(std::size_t maxThreads) : pool_(std::make_shared<Pool>(maxThreads)) {}

QueryWorkers::~QueryWorkers() {
    std::lock_guard lock(pool_->mutex);
    pool_->closing = true;
    pool_->wakeUp.notify_all();
}

std::unique_ptr<QueryRun> QueryWorkers::start(std::size_t count, QueryJob job) {
    auto run = std::make_shared<RunState>(count, std::move(job));
    std::lock_guard lock(pool_->mutex);
    if (count > 0) {
        pool_->runs.push_back(run);
        pool_->hire(pool_, count);
        pool_->wakeUp.notify_all();
    }
    return std::make_unique<WorkerQueryRun>(pool_, std::move(run));
}

} // namespace hv
