#include "ReadAhead.h"

#include "workers/WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <numeric>
#include <optional>
#include <utility>

namespace hv::psd {

namespace {

// One read handed to a worker. The pool's tables and the worker reading it
// share it, so a dropped read can finish without anyone waiting for it.
struct Job {
    std::string path;
    bool started = false;
    std::optional<ReadResult> result; // set when the read has finished
};
using JobPtr = std::shared_ptr<Job>;

ReadResult readSafely(const ReadAhead::Reader& reader, const std::string& path) {
    try {
        return reader(path);
    } catch (const std::exception& e) {
        return ReadError{0, std::string("The document could not be read: ") + e.what()};
    } catch (...) {
        return ReadError{0, "The document could not be read."};
    }
}

} // namespace

// Everything the workers share with the pool; it lives as long as the last
// of them. Every member is guarded by `mutex`.
struct ReadAhead::State : std::enable_shared_from_this<State> {
    State(std::size_t readsInFlight, Reader r)
        : k(readsInFlight),
          batch(std::max<std::size_t>(readsInFlight / 4, 1)),
          reader(std::move(r)),
          pool(readsInFlight) {}

    const std::size_t k;
    const std::size_t batch; // reads ahead the caller lets pile up before it wakes a worker
    const Reader reader;
    WorkerPool pool; // each of its threads runs one worker loop

    std::mutex mutex;
    std::condition_variable work;  // idle workers wait here
    std::condition_variable ready; // the caller waits here for a read to finish
    bool stopping = false;
    std::size_t workers = 0;
    std::size_t idle = 0;
    std::size_t busy = 0; // reads in flight, the caller's own included

    std::vector<std::string> paths;     // the announcement
    std::vector<std::size_t> byPath;    // its entries ordered by path, then position
    std::size_t cursor = 0;             // the first entry neither taken nor skipped
    std::optional<std::size_t> asked;   // the announced entry being waited for
    std::map<std::size_t, JobPtr> jobs; // started entries at or after the cursor
    JobPtr extra;                       // a path waited for that has no entry at or after the cursor

    std::optional<std::size_t> match(const std::string& path) const;
    bool isReady(const std::string& path) const;
    void ask(const std::string& path);
    JobPtr claim();
    bool canStart();
    void wakeOne();
    void wakeFromCaller();
    static void runWorker(std::shared_ptr<State> self);
};

std::optional<std::size_t> ReadAhead::State::match(const std::string& path) const {
    const auto first = std::lower_bound(byPath.begin(), byPath.end(), path,
                                        [&](std::size_t i, const std::string& p) { return paths[i] < p; });
    const auto last =
        std::upper_bound(first, byPath.end(), path, [&](const std::string& p, std::size_t i) { return p < paths[i]; });
    const auto entry = std::lower_bound(first, last, cursor);
    if (entry == last) return std::nullopt;
    return *entry;
}

bool ReadAhead::State::isReady(const std::string& path) const {
    if (const std::optional<std::size_t> entry = match(path)) {
        const auto job = jobs.find(*entry);
        return job != jobs.end() && job->second->result.has_value();
    }
    return extra && extra->path == path && extra->result.has_value();
}

void ReadAhead::State::ask(const std::string& path) {
    if (const std::optional<std::size_t> entry = match(path)) {
        asked = entry;
        extra.reset();
    } else {
        asked.reset();
        if (!extra || extra->path != path) extra = std::make_shared<Job>(Job{path, false, std::nullopt});
    }
    wakeFromCaller();
}

// The next read a free worker should start, marked started; null when none
// may start now.
JobPtr ReadAhead::State::claim() {
    if (stopping || busy >= k) return nullptr;
    if (extra && !extra->started) {
        extra->started = true;
        return extra;
    }
    const std::size_t first = asked ? *asked : cursor;
    const std::size_t end = std::min(paths.size(), first + (asked ? k : k - 1));
    for (std::size_t i = first; i < end; ++i) {
        if (jobs.contains(i)) continue;
        // Reading ahead stops while K results are held or in flight; the
        // entry asked for always gets its read.
        if (i != asked && jobs.size() >= k) return nullptr;
        JobPtr job = std::make_shared<Job>(Job{paths[i], true, std::nullopt});
        jobs.emplace(i, job);
        return job;
    }
    return nullptr;
}

// Whether claim() would give a read, without claiming it.
bool ReadAhead::State::canStart() {
    if (stopping || busy >= k) return false;
    if (extra && !extra->started) return true;
    const std::size_t first = asked ? *asked : cursor;
    const std::size_t end = std::min(paths.size(), first + (asked ? k : k - 1));
    for (std::size_t i = first; i < end; ++i)
        if (!jobs.contains(i)) return i == asked || jobs.size() < k;
    return false;
}

// Gets one worker going when a read may start: an idle one, or a new one
// while there are fewer than K.
void ReadAhead::State::wakeOne() {
    if (!canStart()) return;
    if (idle > 0) {
        work.notify_one();
        return;
    }
    if (workers >= k) return;
    // With no thread to be had, the running workers, or take(), do the reads.
    if (pool.submit([self = shared_from_this()] { runWorker(self); })) ++workers;
}

// The caller's thread wakes a worker at once for the read it waits for, but
// for reading ahead only once a batch of reads may start: each wake-up costs
// the caller a system call, and a worker that wakes gets the next one going.
void ReadAhead::State::wakeFromCaller() {
    const bool waitedForUnstarted = (extra && !extra->started) || (asked && !jobs.contains(*asked));
    if (waitedForUnstarted || jobs.size() + batch <= k) wakeOne();
}

void ReadAhead::State::runWorker(std::shared_ptr<State> self) {
    State& s = *self;
    std::unique_lock lock(s.mutex);
    while (!s.stopping) {
        JobPtr job = s.claim();
        if (!job) {
            ++s.idle;
            s.work.wait(lock);
            --s.idle;
            continue;
        }
        ++s.busy;
        s.wakeOne();
        lock.unlock();
        ReadResult result = readSafely(s.reader, job->path);
        lock.lock();
        job->result.emplace(std::move(result));
        --s.busy;
        s.ready.notify_all();
    }
    --s.workers;
}

ReadAhead::ReadAhead(std::size_t readsInFlight, Reader reader)
    : state_(std::make_shared<State>(std::clamp<std::size_t>(readsInFlight, 1, maxReadsInFlight), std::move(reader))) {}

ReadAhead::~ReadAhead() {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
    state_->jobs.clear();
    state_->extra.reset();
    state_->work.notify_all();
}

ReadAhead::Reader ReadAhead::layerReader() {
    return [](const std::string& path) { return readLayerItems(path); };
}

void ReadAhead::announce(std::vector<std::string> paths) {
    std::vector<std::size_t> byPath(paths.size());
    std::iota(byPath.begin(), byPath.end(), std::size_t{0});
    std::stable_sort(byPath.begin(), byPath.end(), [&](std::size_t a, std::size_t b) { return paths[a] < paths[b]; });

    State& s = *state_;
    std::lock_guard lock(s.mutex);
    s.paths = std::move(paths);
    s.byPath = std::move(byPath);
    s.cursor = 0;
    s.asked.reset();
    s.jobs.clear();
    s.extra.reset();
    s.wakeFromCaller();
}

bool ReadAhead::waitReady(const std::string& path, std::chrono::milliseconds timeout) {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    s.ask(path);
    // Without any worker take() reads it itself, and waiting would not help.
    return s.ready.wait_for(lock, timeout, [&] { return s.isReady(path) || s.workers == 0; });
}

ReadResult ReadAhead::take(const std::string& path) {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    JobPtr job;
    if (const std::optional<std::size_t> entry = s.match(path)) {
        s.jobs.erase(s.jobs.begin(), s.jobs.lower_bound(*entry));
        if (const auto found = s.jobs.find(*entry); found != s.jobs.end()) {
            job = std::move(found->second);
            s.jobs.erase(found);
        }
        s.cursor = *entry + 1;
    } else if (s.extra && s.extra->path == path && s.extra->started) {
        job = s.extra;
    }
    s.extra.reset();
    s.asked.reset();
    if (!job) ++s.busy; // read here, below
    s.wakeFromCaller();

    if (job) {
        s.ready.wait(lock, [&] { return job->result.has_value(); });
        return std::move(*job->result);
    }
    lock.unlock();
    ReadResult result = readSafely(s.reader, path);
    lock.lock();
    --s.busy;
    s.wakeFromCaller();
    return result;
}

} // namespace hv::psd
