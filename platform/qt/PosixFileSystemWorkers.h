#pragma once

#include "platform/FileSystem.h"

#include <memory>

namespace hv {

// Worker threads that run the jobs of query runs, several at a time. Each
// run's jobs start in index order, runs in the order they were started; job
// i may finish before job i - 1.
//
// The threads are made when a run needs them, up to `maxThreads`, and end
// after a few idle seconds or when this object is destroyed. They are
// detached and share only the pool's state with it, so they never hold up
// the end of the process. When no thread can be had, waitFor() runs the jobs
// itself.
class QueryWorkers {
public:
    explicit QueryWorkers(std::size_t maxThreads);
    ~QueryWorkers();
    QueryWorkers(const QueryWorkers&) = delete;
    QueryWorkers& operator=(const QueryWorkers&) = delete;

    std::unique_ptr<QueryRun> start(std::size_t count, QueryJob job);

    struct Pool;

private:
    std::shared_ptr<Pool> pool_;
};

} // namespace hv
