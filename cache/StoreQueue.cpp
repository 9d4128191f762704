#include "cache/LayerCache.h"

#include "cache/DocumentCodec.h"

#include <future>

#include <pthread.h>
#include <sched.h>

// The write side of the cache: stores wait in a queue that a thread of the
// cache's own writes at idle priority.

namespace hv::cache {

namespace {

constexpr std::size_t kStoresPerWrite = 64;
constexpr std::uint64_t kStoreBytesPerWrite = std::uint64_t{8} << 20;
constexpr auto kStoreDelay = std::chrono::seconds(1);
constexpr std::uint64_t kQueueBytes = std::uint64_t{32} << 20;

// The calling thread runs only when a core would otherwise be idle.
void runAtIdlePriority() {
#ifdef SCHED_IDLE
    const sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
#endif
}

} // namespace

void LayerCache::store(const std::string& path, const FileStamp& stamp, const psd::Document& document) {
    std::string form = encodeDocument(document);
    if (form.empty()) return;
    std::vector<Store> overflow;
    std::weak_ptr<LayerCache> self = weak_from_this();
    {
        std::unique_lock queueLock(queueMutex_);
        if (off_) return;
        // Noted here rather than once written, so that the writer, at idle
        // priority, holds this lock only to take the queue: a thread that
        // is set aside as soon as a search's thread wants a core must not
        // hold up that thread.
        if (startedEmpty_) writtenHere_.insert(path);
        if (queue_.empty()) firstQueued_ = std::chrono::steady_clock::now();
        queueBytes_ += form.size();
        queue_.push_back({path, stamp, std::move(form)});
        if (queueBytes_ >= kQueueBytes || (self.expired() && batchDue())) {
            overflow = takeQueue(queueLock);
        } else if (!writerRunning_ && !self.expired()) {
            writerRunning_ = writer_.submit([self = self.lock()] { self->runWriter(); });
            if (!writerRunning_ && batchDue()) overflow = takeQueue(queueLock);
        } else if (batchDue()) {
            queueChanged_.notify_all();
        }
    }
    write(std::move(overflow));
}

bool LayerCache::batchDue() const {
    return queue_.size() >= kStoresPerWrite || queueBytes_ >= kStoreBytesPerWrite
           || std::chrono::steady_clock::now() - firstQueued_ >= kStoreDelay;
}

std::vector<Store> LayerCache::takeQueue(std::unique_lock<std::mutex>&) {
    std::vector<Store> entries = std::move(queue_);
    queue_.clear();
    queueBytes_ = 0;
    return entries;
}

void LayerCache::write(std::vector<Store> entries) {
    if (entries.empty()) return;
    const std::lock_guard lock(mutex_);
    if (ready()) writeStores(std::move(entries));
}

// The writer thread: writes the queue a batch at a time until it is empty.
void LayerCache::runWriter() {
    runAtIdlePriority();
    std::unique_lock queueLock(queueMutex_);
    while (!queue_.empty()) {
        queueChanged_.wait_until(queueLock, firstQueued_ + kStoreDelay,
                                 [this] { return queue_.empty() || batchDue(); });
        if (queue_.empty()) break;
        std::vector<Store> entries = takeQueue(queueLock);
        writing_ = true;
        queueLock.unlock();
        write(std::move(entries));
        queueLock.lock();
        writing_ = false;
        queueChanged_.notify_all();
    }
    writerRunning_ = false;
}

void LayerCache::flushBeforeExit(const std::shared_ptr<LayerCache>& cache, std::chrono::milliseconds wait) {
    if (!cache) return;
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> flushed = done->get_future();
    // The pool's thread is left behind when the wait runs out: the end of
    // the program does not wait for a share that hangs.
    WorkerPool pool(1);
    if (!pool.submit([cache, done] {
            cache->flush();
            done->set_value();
        }))
        return;
    flushed.wait_for(wait);
}

} // namespace hv::cache
