#pragma once

#include "platform/FileSystem.h"
#include "workers/WorkerPool.h"

#include <memory>

namespace hv {

// Runs the jobs of query runs on a worker pool, several at a time. Each run's
// jobs start in index order, runs in the order they were started; job i may
// finish before job i - 1.
//
// A run queues up to `maxThreads` pool jobs that each start the run's next
// query job until none is left. Its answers stay in the run, which the
// caller's thread waits on (QueryRun::waitFor). When the pool has no thread
// to give, waitFor() runs the jobs itself. Destroying a run starts none of
// its jobs any more and waits for those running (the jobs use the caller's
// data); destroying this object waits for nothing, so a run must end first.
class QueryWorkers {
public:
    explicit QueryWorkers(std::size_t maxThreads) : pool_(maxThreads) {}

    std::unique_ptr<QueryRun> start(std::size_t count, QueryJob job);

private:
    WorkerPool pool_;
};

} // namespace hv
