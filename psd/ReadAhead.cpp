#include "ReadAhead.h"

#include "psd/SlowCalls.h"
#include "workers/BriefLock.h"
#include "workers/WorkerPool.h"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <numeric>
#include <optional>
#include <thread>
#include <utility>

namespace hv::psd {

namespace {

// One read handed to a worker. The pool's tables and the worker reading it
// share it, so a dropped read can finish without anyone waiting for it.
struct Job {
    std::string path;
    bool started = false;
    std::optional<ReadResult> result; // set when the read has finished
    std::uint64_t bytes = 0;          // of the budget, while the pool holds it
    enum { Held, Taken, Dropped } hold = Held;
};
using JobPtr = std::shared_ptr<Job>;

JobPtr newJob(std::string path, bool started) {
    return std::make_shared<Job>(Job{std::move(path), started, std::nullopt, 0, Job::Held});
}

// What a finished result holds, roughly.
std::uint64_t resultBytes(const ReadResult& result) {
    if (!result.ok()) return sizeof(ReadResult) + result.error().message.capacity();
    std::uint64_t bytes = sizeof(ReadResult) + result.document().items.capacity() * sizeof(LayerItem);
    for (const LayerItem& item : result.document().items)
        bytes += 2 * (item.name.capacity() + item.text.capacity()) + item.detailError.capacity();
    return bytes;
}

ReadResult readSafely(const ReadAhead::MeteredReader& reader, const std::string& path, ReadMeter& meter) {
    try {
        return reader(path, meter);
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
    State(const ReadAheadPolicy& policy, MeteredReader r)
        : k(std::clamp<std::size_t>(policy.readsInFlight, 1, maxReadsInFlight)),
          batch(std::max<std::size_t>(k / 4, 1)),
          busyReads(std::min<std::size_t>(k, std::max(1U, std::thread::hardware_concurrency()))),
          budget(std::max<std::uint64_t>(policy.byteBudget, 1)),
          reader(std::move(r)),
          pool(k) {}

    const std::size_t k;
    const std::size_t batch;     // reads ahead the caller lets pile up before it wakes a worker
    const std::size_t busyReads; // reads in flight while none waits: one per core
    const std::uint64_t budget;
    const MeteredReader reader;
    WorkerPool pool; // each of its threads runs one worker loop

    std::mutex mutex;
    std::condition_variable work;  // idle workers wait here
    std::condition_variable ready; // the caller waits here for a read to finish
    std::condition_variable room;  // reads wait here for room in the budget
    std::uint64_t held = 0;        // bytes of the jobs below
    bool stopping = false;
    std::size_t workers = 0;
    std::size_t idle = 0;
    std::size_t busy = 0; // reads in flight, the caller's own included
    // One bit for each of the last sixteen reads finished, newest lowest:
    // set when it made a slow call (psd/SlowCalls.h). A run starts as if
    // they all had.
    std::uint32_t waited = 0xFFFF;
    const std::string* awaited = nullptr; // the path the caller waits for: it is woken for that one only

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
    std::size_t firstUnstarted() const;
    bool charge(Job& job, std::uint64_t bytes);
    bool neverWaits(const Job& job) const;
    void release(JobPtr& job, bool taken = false);
    void releaseAll();
    void finish(Job& job, ReadResult result, std::uint64_t bytes);
    bool callerWaitsForUnstarted() const;
    bool mayRunAnother() const;
    void wakeOne();
    void wakeFromCaller();
    static void runWorker(std::shared_ptr<State> self);
};

std::optional<std::size_t> ReadAhead::State::match(const std::string& path) const {
    // The caller mostly asks in the announced order.
    if (cursor < paths.size() && paths[cursor] == path) return cursor;
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
        release(extra);
    } else {
        asked.reset();
        if (!extra || extra->path != path) {
            release(extra);
            extra = newJob(path, false);
        }
    }
    room.notify_all(); // the read asked for may go past the budget
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
    const std::size_t i = firstUnstarted();
    if (i == paths.size()) return nullptr;
    // Reading ahead stops while K results are held or in flight, or the
    // budget is spent; the entry asked for always gets its read.
    if (i != asked && (jobs.size() >= k || held >= budget)) return nullptr;
    JobPtr job = newJob(paths[i], true);
    jobs.emplace_hint(jobs.end(), i, job);
    return job;
}

// Whether claim() would give a read, without claiming it.
bool ReadAhead::State::canStart() {
    if (stopping || busy >= k) return false;
    if (extra && !extra->started) return true;
    const std::size_t i = firstUnstarted();
    return i != paths.size() && (i == asked || (jobs.size() < k && held < budget));
}

// The first entry not started among those reads may start at (the K from the
// entry asked for, else the K - 1 from the cursor); paths.size() if none.
std::size_t ReadAhead::State::firstUnstarted() const {
    const std::size_t first = asked ? *asked : cursor;
    const std::size_t end = std::min(paths.size(), first + (asked ? k : k - 1));
    // Mostly the started entries run unbroken from `first`: no need to walk them.
    const bool unbroken =
        !jobs.empty() && jobs.begin()->first == first && jobs.rbegin()->first == first + jobs.size() - 1;
    std::size_t i = unbroken ? first + jobs.size() : first;
    for (auto job = jobs.lower_bound(i); i < end && job != jobs.end() && job->first == i; ++job) ++i;
    return i < end ? i : paths.size();
}

// Waits until `bytes` more fit in the budget, or the job may pass it; false
// when the job is no longer wanted. A taken job is the caller's own.
bool ReadAhead::State::charge(Job& job, std::uint64_t bytes) {
    auto lock = lockedBriefly(mutex);
    room.wait(lock, [&] { return job.hold != Job::Held || held + bytes <= budget || neverWaits(job); });
    if (job.hold != Job::Held) return job.hold == Job::Taken;
    job.bytes += bytes;
    held += bytes;
    return true;
}

// The extra path, the entry asked for and the first entry held; and every
// read while the one asked for cannot start for want of a free worker.
bool ReadAhead::State::neverWaits(const Job& job) const {
    if (&job == extra.get() || (!jobs.empty() && &job == jobs.begin()->second.get())) return true;
    if (busy >= k && ((extra && !extra->started) || (asked && !jobs.contains(*asked)))) return true;
    if (!asked) return false;
    const auto found = jobs.find(*asked);
    return found != jobs.end() && &job == found->second.get();
}

// Lets go of a job the pool held: taken by the caller, or dropped.
void ReadAhead::State::release(JobPtr& job, bool taken) {
    if (!job) return;
    held -= job->bytes;
    job->bytes = 0;
    job->hold = taken ? Job::Taken : Job::Dropped;
    job.reset();
    room.notify_all();
}

void ReadAhead::State::releaseAll() {
    for (auto& [entry, job] : jobs) release(job);
    jobs.clear();
    release(extra);
}

// A worker's read is done: its result (of resultBytes) replaces its charges.
void ReadAhead::State::finish(Job& job, ReadResult result, std::uint64_t bytes) {
    if (job.hold == Job::Held) {
        bytes = std::max(job.bytes, bytes);
        held += bytes - job.bytes;
        job.bytes = bytes;
    }
    job.result.emplace(std::move(result));
    if (awaited && *awaited == job.path) ready.notify_all();
}

// Whether the caller waits for a read that has not started.
bool ReadAhead::State::callerWaitsForUnstarted() const {
    return (extra && !extra->started) || (asked && !jobs.contains(*asked));
}

// Whether one more read may run now. While the recent reads waited for
// nothing (documents in the page cache, the layer cache's entries), more
// threads than cores gain nothing and lose time to hand-offs: one read per
// core runs. Two reads that waited among the last sixteen let the K run
// again (one alone may be a thread the system set aside for a moment). The
// read the caller waits for always gets a worker.
bool ReadAhead::State::mayRunAnother() const {
    return std::popcount(waited) >= 2 || busy < busyReads || callerWaitsForUnstarted();
}

// Gets one worker going when a read may start: an idle one, or a new one
// while there are fewer than K.
void ReadAhead::State::wakeOne() {
    if (!canStart() || !mayRunAnother()) return;
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
    if (callerWaitsForUnstarted() || jobs.size() + batch <= k) wakeOne();
}

void ReadAhead::State::runWorker(std::shared_ptr<State> self) {
    State& s = *self;
    auto lock = lockedBriefly(s.mutex);
    while (!s.stopping) {
        JobPtr job = s.mayRunAnother() ? s.claim() : nullptr;
        if (!job) {
            ++s.idle;
            s.work.wait(lock);
            --s.idle;
            continue;
        }
        ++s.busy;
        s.wakeOne();
        lock.unlock();
        struct JobMeter final : ReadMeter {
            State& state;
            Job& job;
            JobMeter(State& s, Job& j) : state(s), job(j) {}
            bool charge(std::uint64_t bytes) override { return state.charge(job, bytes); }
        } meter(s, *job);
        const WaitProbe probe;
        ReadResult result = readSafely(s.reader, job->path, meter);
        const bool slow = probe.waited();
        const std::uint64_t bytes = resultBytes(result);
        lockBriefly(lock);
        s.waited = ((s.waited << 1) | (slow ? 1U : 0U)) & 0xFFFFU;
        s.finish(*job, std::move(result), bytes);
        --s.busy;
    }
    if (--s.workers == 0) s.ready.notify_all(); // take() now reads itself
}

ReadAhead::ReadAhead(ReadAheadPolicy policy, MeteredReader reader)
    : state_(std::make_shared<State>(policy, std::move(reader))) {}

ReadAhead::ReadAhead(ReadAheadPolicy policy, Reader reader)
    : ReadAhead(policy, [plain = std::move(reader)](const std::string& path, ReadMeter&) { return plain(path); }) {}

ReadAhead::ReadAhead(std::size_t readsInFlight) : ReadAhead(ReadAheadPolicy{readsInFlight}) {}

ReadAhead::ReadAhead(std::size_t readsInFlight, Reader reader)
    : ReadAhead(ReadAheadPolicy{readsInFlight}, std::move(reader)) {}

ReadAhead::~ReadAhead() {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
    state_->releaseAll();
    state_->work.notify_all();
}

ReadAhead::Reader ReadAhead::layerReader() {
    return [](const std::string& path) { return readLayerItems(path); };
}

ReadAhead::MeteredReader ReadAhead::meteredLayerReader() {
    return [](const std::string& path, ReadMeter& meter) {
        FileReads reads;
        return readLayerItems(path, reads, meter);
    };
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
    s.releaseAll();
    s.wakeFromCaller();
}

bool ReadAhead::waitReady(const std::string& path, std::chrono::milliseconds timeout) {
    State& s = *state_;
    auto lock = lockedBriefly(s.mutex);
    s.ask(path);
    // Without any worker take() reads it itself, and waiting would not help.
    s.awaited = &path;
    const bool ready = s.ready.wait_for(lock, timeout, [&] { return s.isReady(path) || s.workers == 0; });
    s.awaited = nullptr;
    return ready;
}

ReadResult ReadAhead::take(const std::string& path) {
    State& s = *state_;
    auto lock = lockedBriefly(s.mutex);
    JobPtr job;
    if (const std::optional<std::size_t> entry = s.match(path)) {
        const auto skipped = s.jobs.lower_bound(*entry);
        for (auto it = s.jobs.begin(); it != skipped; ++it) s.release(it->second);
        s.jobs.erase(s.jobs.begin(), skipped);
        if (const auto found = s.jobs.find(*entry); found != s.jobs.end()) {
            job = found->second;
            s.release(found->second, true);
            s.jobs.erase(found);
        }
        s.cursor = *entry + 1;
    } else if (s.extra && s.extra->path == path && s.extra->started) {
        job = s.extra;
    }
    s.release(s.extra, job && job == s.extra);
    s.asked.reset();
    if (!job) ++s.busy; // read here, below
    s.wakeFromCaller();

    if (job) {
        s.awaited = &job->path;
        s.ready.wait(lock, [&] { return job->result.has_value(); });
        s.awaited = nullptr;
        return std::move(*job->result);
    }
    lock.unlock();
    Unmetered unmetered; // the pool does not hold the caller's own reads
    ReadResult result = readSafely(s.reader, path, unmetered);
    lockBriefly(lock);
    --s.busy;
    s.wakeFromCaller();
    return result;
}

} // namespace hv::psd
